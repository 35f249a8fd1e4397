<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>yubin-cli</name>
    <message>
        <source>the 47 prefecture codes and names</source>
        <translation>47 都道府県のコードと名前</translation>
    </message>
    <message>
        <source>the data folder; exit 1 while it holds no prefecture file</source>
        <translation>データフォルダー（都道府県のファイルがなければ終了コード 1）</translation>
    </message>
    <message>
        <source>the municipality list of a prefecture, or its business offices</source>
        <translation>都道府県の市区町村のリスト、またはその大口事業所</translation>
    </message>
    <message>
        <source>prefecture: its code 01-47 or its name</source>
        <translation>都道府県：コード 01～47 または名前</translation>
    </message>
    <message>
        <source>list the prefecture&apos;s business offices instead</source>
        <translation>市区町村の代わりに大口事業所を並べる</translation>
    </message>
    <message>
        <source>the town lines of a municipality, or the lines of an office</source>
        <translation>市区町村の町域の行、または事業所の行</translation>
    </message>
    <message>
        <source>municipality, or office name with --offices</source>
        <translation>市区町村（--offices のときは事業所名）</translation>
    </message>
    <message>
        <source>NAME is a business office of the prefecture</source>
        <translation>NAME はその都道府県の大口事業所</translation>
    </message>
    <message>
        <source>the towns of a municipality whose name or reading holds TEXT</source>
        <translation>名前か読みに TEXT を含む、市区町村の町域</translation>
    </message>
    <message>
        <source>municipality</source>
        <translation>市区町村</translation>
    </message>
    <message>
        <source>part of a town name, or of its reading in katakana or hiragana</source>
        <translation>町域名の一部、またはカタカナかひらがなの読みの一部</translation>
    </message>
    <message>
        <source>search all data for one word or two (the count goes to stderr)</source>
        <translation>全データから一語か二語を検索（件数は標準エラー）</translation>
    </message>
    <message>
        <source>one word, or two separated by a blank (quote them)</source>
        <translation>一語、または空白で区切った二語（引用符で囲む）</translation>
    </message>
    <message>
        <source>also match in the full-width and hiragana forms of a line</source>
        <translation>行の全角・ひらがなの形でも一致を探す</translation>
    </message>
    <message>
        <source>leave out the business offices</source>
        <translation>大口事業所を除く</translation>
    </message>
    <message>
        <source>search all data for a postal code</source>
        <translation>全データから郵便番号を検索</translation>
    </message>
    <message>
        <source>7 digits, or 3 digits, &quot;-&quot; and 4</source>
        <translation>7 桁、または 3 桁・「-」・4 桁</translation>
    </message>
    <message>
        <source>the address of the map search for an address</source>
        <translation>住所の地図検索の URL</translation>
    </message>
    <message>
        <source>the address (quote an address with blanks)</source>
        <translation>住所（空白を含むときは引用符で囲む）</translation>
    </message>
    <message>
        <source>the map site: 0 Google Maps (the default), 1 OpenStreetMap</source>
        <translation>地図サイト：0 Googleマップ（既定）、1 OpenStreetMap</translation>
    </message>
    <message>
        <source>TEXT is a business-office name, which has no map search</source>
        <translation>TEXT は事業所名（地図検索はできません）</translation>
    </message>
    <message>
        <source>the address of the web search for a text</source>
        <translation>テキストの WEB 検索の URL</translation>
    </message>
    <message>
        <source>the text (quote a text with blanks)</source>
        <translation>テキスト（空白を含むときは引用符で囲む）</translation>
    </message>
    <message>
        <source>the search engine: 0 Google (the default), 1 Yahoo! JAPAN</source>
        <translation>検索エンジン：0 Google（既定）、1 Yahoo! JAPAN</translation>
    </message>
    <message>
        <source>the customer barcode&apos;s check value and bar pattern, or its picture</source>
        <translation>カスタマバーコードのチェックデジットとバーの並び、またはその画像</translation>
    </message>
    <message>
        <source>postal code, 7 digits (not with --address)</source>
        <translation>郵便番号 7 桁（--address とは併用しない）</translation>
    </message>
    <message>
        <source>address number, as 1-3-2 or 1丁目3番2号</source>
        <translation>住所表示番号（1-3-2 や 1丁目3番2号）</translation>
    </message>
    <message>
        <source>take the postal code and address number from an address</source>
        <translation>住所から郵便番号と住所表示番号を求める</translation>
    </message>
    <message>
        <source>code size: 8, 10 or 11.5 point (default 2)</source>
        <translation>コードサイズ：8・10・11.5 ポイント（既定 2）</translation>
    </message>
    <message>
        <source>write the window&apos;s preview picture</source>
        <translation>画面のプレビュー画像を書き出す</translation>
    </message>
    <message>
        <source>write the barcode alone at its printed size</source>
        <translation>バーコードだけを印刷の大きさで書き出す</translation>
    </message>
    <message>
        <source>write an A4 page with the barcode at --top and --left</source>
        <translation>--top と --left の位置にバーコードを置いた A4 のページを書き出す</translation>
    </message>
    <message>
        <source>millimetres from the paper&apos;s top edge (default 35)</source>
        <translation>用紙の上端からのミリメートル（既定 35）</translation>
    </message>
    <message>
        <source>millimetres from the paper&apos;s left edge (default 15)</source>
        <translation>用紙の左端からのミリメートル（既定 15）</translation>
    </message>
    <message>
        <source>the folder holding the downloaded archives</source>
        <translation>ダウンロードしたアーカイブのあるフォルダー</translation>
    </message>
    <message>
        <source>postal code, address number and record of addresses</source>
        <translation>住所の郵便番号・住所表示番号・該当する記録</translation>
    </message>
    <message>
        <source>addresses; without one, one address per line of stdin</source>
        <translation>住所（なければ標準入力の一行に一件）</translation>
    </message>
    <message>
        <source>the address number of the part after the town</source>
        <translation>町域より後ろの部分の住所表示番号</translation>
    </message>
    <message>
        <source>as 3丁目30-8&#x3000;郵便ビル403号</source>
        <translation>3丁目30-8&#x3000;郵便ビル403号 など</translation>
    </message>
    <message>
        <source>the A4 sheet (default 12); CUSTOM is COLSxROWS:WIDTHxHEIGHT:TOP,LEFT:HPITCH,VPITCH in millimetres</source>
        <translation>A4 のラベル用紙（既定 12）。CUSTOM は 列x行:幅x高さ:上余白,左余白:横ピッチ,縦ピッチ（mm）</translation>
    </message>
    <message>
        <source>code size: 8, 10 or 11.5 point (default 2, or 1 where 2 does not fit)</source>
        <translation>コードサイズ：8・10・11.5 ポイント（既定 2、入らない用紙では 1）</translation>
    </message>
    <message>
        <source>the first label used on the first sheet (default 1)</source>
        <translation>最初のシートで使い始めるラベルの番号（既定 1）</translation>
    </message>
    <message>
        <source>write the sheets as an A4 PDF</source>
        <translation>シートを A4 の PDF に書き出す</translation>
    </message>
    <message>
        <source>write every row&apos;s status and reason as CSV</source>
        <translation>各行の状態と理由を CSV に書き出す</translation>
    </message>
    <message>
        <source>leave rows in error out instead of printing them without a barcode</source>
        <translation>エラーの行をバーコードなしで印刷せず、除く</translation>
    </message>
    <message>
        <source>read the data files in DIR instead of the data folder</source>
        <translation>データフォルダーの代わりに DIR のデータファイルを読む</translation>
    </message>
    <message>
        <source>the lines (text, the default), tab-separated fields under a header row (tsv) or a JSON array of objects (json)</source>
        <translation>行のまま（text、既定）、見出し行の下にタブ区切りの項目（tsv）、またはオブジェクトの JSON 配列（json）</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>このヘルプを表示する</translation>
    </message>
    <message>
        <source>usage:</source>
        <translation>使い方:</translation>
    </message>
    <message>
        <source>Looks up Japanese postal codes in the postal data, as the desktop program yubin does.</source>
        <translation>デスクトップ・プログラム yubin と同じように、郵便番号データから郵便番号を調べます。</translation>
    </message>
    <message>
        <source>Verbs:</source>
        <translation>動詞:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>オプション:</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>版を表示する</translation>
    </message>
    <message>
        <source>&apos;yubin-cli VERB --help&apos; shows a verb&apos;s arguments and options.</source>
        <translation>&apos;yubin-cli 動詞 --help&apos; でその動詞の引数とオプションを表示します。</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>引数:</translation>
    </message>
    <message>
        <source>Fields (tsv, json):</source>
        <translation>項目 (tsv, json):</translation>
    </message>
    <message>
        <source>User Commands</source>
        <translation>ユーザーコマンド</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>look up Japanese postal codes (郵便番号)</source>
        <translation>郵便番号を調べる</translation>
    </message>
    <message>
        <source>SYNOPSIS</source>
        <translation>書式</translation>
    </message>
    <message>
        <source>DESCRIPTION</source>
        <translation>説明</translation>
    </message>
    <message>
        <source>The command-line companion of the desktop program yubin: it reads the same postal data files (Japan Post&apos;s KEN_ALL.CSV split by prefecture, and JIGYOSYO.CSV) and prints the same lines as the program&apos;s lists, in UTF-8.</source>
        <translation>デスクトップ・プログラム yubin のコマンドライン版です。同じ郵便番号データ（日本郵便の KEN_ALL.CSV を都道府県ごとに分けたものと JIGYOSYO.CSV）を読み、プログラムのリストと同じ行を UTF-8 で出力します。</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>オプション</translation>
    </message>
    <message>
        <source>VERBS</source>
        <translation>動詞</translation>
    </message>
    <message>
        <source>Fields:</source>
        <translation>項目:</translation>
    </message>
    <message>
        <source>OUTPUT FORMATS</source>
        <translation>出力の形式</translation>
    </message>
    <message>
        <source>With --format tsv the first line names the fields and each further line holds one record, its fields separated by tabs. With --format json the output is one JSON array of objects, one object per record, every value a string. Readings are in full-width katakana, postal codes seven digits without the hyphen; kind is municipality, town or office.</source>
        <translation>--format tsv では一行目が項目名で、以下一件一行、項目はタブ区切りです。--format json では一件を一つのオブジェクトにした JSON の配列で、値はすべて文字列です。読みは全角カタカナ、郵便番号はハイフンなしの 7 桁、kind は municipality・town・office のどれかです。</translation>
    </message>
    <message>
        <source>EXIT STATUS</source>
        <translation>終了コード</translation>
    </message>
    <message>
        <source>0 when the verb found or did what was asked, 1 when it found nothing or failed (for example without data files), 2 on a misuse, after the verb&apos;s usage.</source>
        <translation>求めたものが見つかったか、求めたことができたときは 0、何も見つからないか失敗したとき（データファイルがないときなど）は 1、使い方の誤りは動詞の使い方を示したうえで 2 です。</translation>
    </message>
    <message>
        <source>FILES</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>the data folder of an installed copy; on the first start the desktop program, and yubin-cli on its first lookup, fill it from /usr/share/yubin/data/.</source>
        <translation>インストールしたもののデータフォルダー。デスクトップ・プログラムは初めての起動で、yubin-cli は初めての検索で、/usr/share/yubin/data/ の同梱データでここを満たします。</translation>
    </message>
    <message>
        <source>EXAMPLES</source>
        <translation>例</translation>
    </message>
    <message>
        <source>SEE ALSO</source>
        <translation>関連項目</translation>
    </message>
    <message>
        <source>the desktop program.</source>
        <translation>デスクトップ・プログラム</translation>
    </message>
    <message>
        <source>no arguments</source>
        <translation>引数なし</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>不明なオプション &apos;%1&apos; です。</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>不明なオプションです: %1。</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; の後に値がありません。</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; は値を取りません。</translation>
    </message>
    <message>
        <source>--format takes text, tsv or json</source>
        <translation>--format は text・tsv・json のどれかです</translation>
    </message>
    <message>
        <source>%1 takes %2</source>
        <translation>%1 の引数は %2 です</translation>
    </message>
    <message>
        <source>no verb given (&apos;yubin-cli --help&apos; lists them)</source>
        <translation>動詞がありません（&apos;yubin-cli --help&apos; で一覧が出ます）</translation>
    </message>
    <message>
        <source>unknown verb %1</source>
        <translation>不明な動詞 %1 です</translation>
    </message>
    <message>
        <source>--%1 takes 0 or 1</source>
        <translation>--%1 は 0 か 1 です</translation>
    </message>
    <message>
        <source>the search text is empty</source>
        <translation>検索する語がありません</translation>
    </message>
    <message>
        <source>a search takes one word or two words</source>
        <translation>検索する語は一語か二語です</translation>
    </message>
    <message>
        <source>a postal code is 7 digits, or 3 digits, &quot;-&quot; and 4</source>
        <translation>郵便番号は 7 桁、または 3 桁・「-」・4 桁です</translation>
    </message>
    <message>
        <source>unknown prefecture %1</source>
        <translation>都道府県 %1 がわかりません</translation>
    </message>
    <message>
        <source>barcode takes ZIP [ADDRESS], or --address ADDRESS alone</source>
        <translation>barcode の引数は ZIP [ADDRESS]、または --address ADDRESS だけです</translation>
    </message>
    <message>
        <source>--size must be 1, 2 or 3</source>
        <translation>--size は 1・2・3 のどれかです</translation>
    </message>
    <message>
        <source>--%1 must be a whole number of millimetres</source>
        <translation>--%1 はミリメートルの整数です</translation>
    </message>
    <message>
        <source>not a folder: %1</source>
        <translation>フォルダーではありません: %1</translation>
    </message>
    <message>
        <source>no download folder: %1</source>
        <translation>ダウンロードフォルダーがありません: %1</translation>
    </message>
    <message>
        <source>turn downloaded archives into the data files, or apply the monthly differences</source>
        <translation>ダウンロードしたアーカイブからデータファイルを作る、または毎月の差分を適用する</translation>
    </message>
    <message>
        <source>the per-prefecture archives, the nationwide one (ken_all or utf_ken_all), or the monthly difference files (add_YYMM, del_YYMM, utf_add_YYMM, utf_del_YYMM, jaddYYMM, jdelYYMM)</source>
        <translation>都道府県別のアーカイブ、全国一括のアーカイブ（ken_all または utf_ken_all）、または毎月の差分ファイル（add_YYMM、del_YYMM、utf_add_YYMM、utf_del_YYMM、jaddYYMM、jdelYYMM）</translation>
    </message>
    <message>
        <source>what the applied monthly differences added and abolished</source>
        <translation>適用した毎月の差分で追加・廃止された郵便番号</translation>
    </message>
    <message>
        <source>only the months from YYMM on (2603: March 2026)</source>
        <translation>YYMM 以降の月だけ（2603 は 2026年3月）</translation>
    </message>
    <message>
        <source>label sheets with customer barcodes from an address list (CSV, TSV or .xlsx)</source>
        <translation>宛名リスト（CSV、TSV、.xlsx）からカスタマバーコード付きのラベルシートを作る</translation>
    </message>
    <message>
        <source>the address list: CSV or TSV in UTF-8 or Shift_JIS, or an .xlsx workbook</source>
        <translation>宛名リスト：UTF-8 または Shift_JIS の CSV・TSV、または .xlsx ブック</translation>
    </message>
    <message>
        <source>print the barcode of a municipality&apos;s catch-all code where the town was not recognised</source>
        <translation>町域を確かめられなかった行にも、市区町村の「以下に掲載がない場合」の郵便番号でバーコードを印刷する</translation>
    </message>
    <message>
        <source>the address side of postcards or envelopes from an address list, checked row by row</source>
        <translation>宛名リストから、はがき・封筒の宛名面を作る（行ごとに確認）</translation>
    </message>
    <message>
        <source>the address list, as for labels (not with --calibration)</source>
        <translation>宛名リスト（labels と同じ。--calibration とは使えない）</translation>
    </message>
    <message>
        <source>postcard (100x148, the default), naga3 (120x235) or naga4 (90x205) envelope, or WIDTHxHEIGHT in mm</source>
        <translation>postcard（はがき 100x148、既定）、naga3（長形3号 120x235）、naga4（長形4号 90x205）、または 幅x高さ（mm）</translation>
    </message>
    <message>
        <source>write across instead of down (縦書き is the default)</source>
        <translation>横書きにする（既定は縦書き）</translation>
    </message>
    <message>
        <source>numbers in vertical writing: 一二〇三 (digits, the default) or 千二百三 (kanji)</source>
        <translation>縦書きの数字：一二〇三（一字ずつ、既定）または 千二百三（位取り）</translation>
    </message>
    <message>
        <source>the sender&apos;s name</source>
        <translation>差出人の氏名</translation>
    </message>
    <message>
        <source>the sender&apos;s postal code, 7 digits</source>
        <translation>差出人の郵便番号（7桁）</translation>
    </message>
    <message>
        <source>the sender&apos;s address</source>
        <translation>差出人の住所</translation>
    </message>
    <message>
        <source>the printer&apos;s offset in millimetres, right and down (default 0,0)</source>
        <translation>プリンターのずれの補正（mm、右と下。既定 0,0）</translation>
    </message>
    <message>
        <source>add the customer barcode (bulk mail)</source>
        <translation>カスタマバーコードを付ける（大量差出）</translation>
    </message>
    <message>
        <source>draw the red postal-code boxes (envelopes printed without them)</source>
        <translation>赤い郵便番号枠も印刷する（枠のない封筒に）</translation>
    </message>
    <message>
        <source>print rows in error too, with the postal code as given</source>
        <translation>エラーの行も、入力の郵便番号のまま印刷する</translation>
    </message>
    <message>
        <source>write the calibration page alone to --pdf</source>
        <translation>位置合わせ用のページだけを --pdf に書く</translation>
    </message>
    <message>
        <source>write the pieces as a PDF, one a page</source>
        <translation>1 ページに 1 枚ずつ PDF に書く</translation>
    </message>
    <message>
        <source>prepare prefectures, nationwide or update</source>
        <translation>prepare は prefectures、nationwide、update のどれかです</translation>
    </message>
</context>
</TS>
