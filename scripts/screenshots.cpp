// Opens every window of the program in a realistic state on the data of a
// program folder and saves a picture of each: the pictures of the user guide.
//
//   yubin-screenshots OUTDIR PROGRAMFOLDER     (scripts/screenshots.sh runs it)

#include "barcode/gui/bar_print.h"
#include "data_prep/gui/data_syori.h"
#include "data_prep/monthly_update.h"
#include "data_prep/prep_runs.h"
#include "data_prep/record_lines.h"
#include "foundation/data_file.h"
#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/window_owner.h"
#include "foundation/text.h"
#include "labels/gui/atena_label.h"
#include "labels/label_run.h"
#include "main_window/gui/yubin_main.h"
#include "map_search/gui/map_search.h"
#include "postcards/card_painter.h"
#include "postcards/gui/postcard_panel.h"
#include "search/gui/ubin_sort.h"
#include "search/gui/zen_kensaku.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <archive.h>
#include <archive_entry.h>

#include <cstdio>

namespace {

using namespace yubin;

void settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

void activate(QWidget& w) {
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &e);
}

bool save(QWidget& w, const QString& path) {
    settle();
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

void choose(ExtentListWidget& list, const QString& startingWith) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->text().contains(startingWith)) {
            list.setCurrentRow(i);
            emit list.chosen();
            return;
        }
    }
}

// A ZIP archive of one file, as the postal service publishes them.
bool writeZip(const QString& path, const QByteArray& entryName, const QByteArray& data) {
    struct archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    if (ok) {
        struct archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, entryName.constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, data.size());
        archive_entry_set_mtime(e, QDateTime(QDate(2025, 10, 31), QTime(0, 0)).toSecsSinceEpoch(),
                                0);
        ok = archive_write_header(a, e) == ARCHIVE_OK &&
             archive_write_data(a, data.constData(), size_t(data.size())) == data.size();
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    return ok;
}

class QuietHost final : public RunHost {
public:
    void progress(const QString&, qint64) override {}
    bool shouldStop() override { return false; }
};

class YesBoxes final : public MessageBoxes {
public:
    bool show(MessageIcon, const QString&, const QString&, MessageButtons) override { return true; }
};

// A month of difference files made from the data itself: a few towns of
// three prefectures abolished and given again under the next code, as a
// month of renumbering is published; then the update's report as the
// window shows it.
bool saveUpdateReport(const DataFolder& data, const QString& work, const QString& path) {
    const QString download = work + QStringLiteral("/differences/");
    QDir().mkpath(download);
    QByteArray del;
    QByteArray add;
    const QStringList files = data.prefectureFileNames();
    for (const int prefecture : {1, 13, 27}) {
        const QByteArray bytes =
            readFileBytes(data.path() + files.value(prefecture)).value_or(QByteArray());
        QList<QByteArray> lines;
        forEachLine(QByteArrayView(bytes), [&](QByteArrayView l) { lines << l.toByteArray(); });
        for (qsizetype i = 20; i < lines.size() && i < (prefecture == 13 ? 24 : 22); ++i) {
            del += lines[i] + "\r\n";
            const ColumnRanges r = columnRanges(lines[i]);
            QByteArray renumbered = lines[i];
            renumbered[r[2].to - 1] = renumbered[r[2].to - 1] == '9' ? '8' : '9';
            add += renumbered + "\r\n";
        }
    }
    if (!writeZip(download + QStringLiteral("del_2510.zip"), "DEL_2510.CSV", del) ||
        !writeZip(download + QStringLiteral("add_2510.zip"), "ADD_2510.CSV", add))
        return false;
    QuietHost host;
    YesBoxes yes;
    const UpdateOutcome outcome =
        runUpdate({download, data.path(), WorkFolders::under(work + QStringLiteral("/cache"))},
                  makePrefectureNames(), host, yes);
    if (outcome.status != UpdateOutcome::Status::Completed)
        return false;
    QMessageBox box(QMessageBox::Warning, UpdateTitle, outcome.report, QMessageBox::Ok);
    box.show();
    return save(box, path);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: yubin-screenshots OUTDIR PROGRAMFOLDER\n");
        return 2;
    }
    installJapaneseFontSubstitutes();
    installJapaneseQtTranslation();
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir lockFolder;

    DesktopPlatform desktop;
    SharedValues shared;
    const Platform platform = desktop.platform(QString::fromLocal8Bit(argv[2]));
    WindowOwner owner(platform, shared);
    Yubin_Main& main = owner.main();
    if (!main.load(lockFolder.path() + QStringLiteral("/lock")))
        return 1;
    main.show();
    settle();
    bool ok = true;

    // A prefecture and a municipality chosen.
    choose(*main.List1, QStringLiteral("東京都"));
    choose(*main.List2, QStringLiteral("千代田区"));
    ok &= save(main, out + QStringLiteral("/main_window.png"));

    // The town list scrolled to the end of a line wider than the list.
    const QList<QListWidgetItem*> longLines = main.List3->findItems(
        QStringLiteral("プレイス丸の内（地階・階層不明）"), Qt::MatchContains);
    if (!longLines.isEmpty()) {
        main.List3->setCurrentItem(longLines.first());
        main.List3->scrollToItem(longLines.first(), QAbstractItemView::PositionAtCenter);
    }
    main.List3->horizontalScrollBar()->setValue(main.List3->horizontalScrollBar()->maximum());
    ok &= save(main, out + QStringLiteral("/main_window_scrolled.png"));
    main.List3->horizontalScrollBar()->setValue(0);

    // A question as every window asks it, with Qt's buttons in Japanese.
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ok &= save(*box, out + QStringLiteral("/question.png"));
            box->close();
        }
    });
    platform.messages->show(MessageIcon::Question, NationwideTitle,
                            askNationwideText(QStringLiteral("ZIP")), MessageButtons::OkCancel);

    // The full search for 川崎; the scan window runs it modally.
    Zen_Kensaku& search = owner.zenKensaku();
    search.show();
    search.Text1->setText(QStringLiteral("川崎"));
    QTimer::singleShot(0, [] {
        if (auto* scan = qobject_cast<UBIN_Sort*>(QApplication::activeModalWidget()))
            activate(*scan);
    });
    search.textSearch();
    ok &= save(search, out + QStringLiteral("/full_search.png"));
    search.close();
    settle();

    // The barcode of 100-0001, 千代田 in 千代田区.
    shared.BarZipCode = QStringLiteral("1000001");
    BAR_Print& barcode = owner.barPrint();
    barcode.txtData2->setText(QStringLiteral("1-1"));
    barcode.show();
    activate(barcode);
    QElapsedTimer drawTimer; // lets the window's draw timer run
    drawTimer.start();
    while (drawTimer.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ok &= save(barcode, out + QStringLiteral("/barcode.png"));
    // The same window made from an address.
    barcode.txtAddress->setText(QStringLiteral("東京都千代田区霞が関1丁目3番2号　郵便プラザ503室"));
    barcode.cmdAddress_Click();
    settle();
    ok &= save(barcode, out + QStringLiteral("/barcode_address.png"));
    barcode.close();

    // The map and web search window for an address.
    shared.MapAddress = QStringLiteral("東京都千代田区千代田");
    shared.MapMode = 0;
    MAP_Search& map = owner.mapSearch();
    map.show();
    ok &= save(map, out + QStringLiteral("/map_search.png"));
    map.hide();

    // The data preparation window with a download folder chosen.
    Data_Syori& prep = owner.dataSyori();
    prep.show();
    settle();
    prep.Label1->setText(QDir::homePath() + QStringLiteral("/ダウンロード/"));
    ok &= save(prep, out + QStringLiteral("/data_preparation.png"));
    prep.hide();

    // An address list as a spreadsheet exports it, with a row whose code
    // disagrees with its address and one without a code.
    const QString list = lockFolder.path() + QStringLiteral("/得意先.csv");
    QFile listFile(list);
    ok &= listFile.open(QIODevice::WriteOnly) &&
          listFile.write(
              QStringLiteral("郵便番号,住所1,住所2,建物,会社名,部署,氏名,電話番号\r\n"
                             "100-0013,東京都千代田区霞が関,1丁目3番2号,郵便プラザ503室,"
                             "日本郵便株式会社,総務部,山田 太郎\r\n"
                             "100-0001,東京都千代田区千代田1-1,,,宮内庁,,\r\n"
                             "060-0042,北海道札幌市中央区大通西4丁目1,,,,,佐藤 花子\r\n"
                             "530-0001,大阪府大阪市北区梅田3-1-1,,,株式会社梅田商会,営業部,"
                             "田中 一郎\r\n"
                             "460-0008,愛知県名古屋市中区栄3-4-5,,,,,鈴木 次郎\r\n"
                             ",神奈川県横浜市中区本町1-1,,,,,高橋 三郎\r\n"
                             "810-0001,福岡県福岡市中央区天神2丁目1番1号,,天神ビル12階,,,伊藤 "
                             "美咲\r\n"
                             "980-0811,宮城県仙台市青葉区一番町3-1-1,,,,,渡辺 健\r\n"
                             "730-0011,広島県広島市中区基町6-78,,,,,中村 由美\r\n"
                             "100-0014,東京都千代田区霞が関2-1-2,,,,,小林 誠\r\n")
                  .toUtf8()) > 0;
    listFile.close();
    Atena_Label& labelsWindow = owner.atenaLabel();
    labelsWindow.show();
    labelsWindow.readList(list);
    while (labelsWindow.running())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ok &= save(labelsWindow, out + QStringLiteral("/address_labels.png"));
    labelsWindow.hide();

    // The first sheet as it prints, drawn by the printing's own painter.
    labels::LabelOptions options;
    const labels::AddressList rows = labels::readAddressList(list);
    labels::RowChecker checker(rows, owner.dataFolder(), options);
    std::vector<labels::RowResult> results;
    for (const labels::Record& r : rows.rows)
        results.push_back(checker.check(r));
    const auto sheets = labels::arrangeSheets(results, options);
    const QString sheetPath = out + QStringLiteral("/label_sheet.png");
    const bool sheetSaved =
        !sheets.empty() && labels::sheetPicture(options.layout, options.codeSize,
                                                checker.composer(), sheets.front(), 130)
                               .save(sheetPath);
    std::printf("%s %s\n", sheetSaved ? "wrote" : "could not write", qPrintable(sheetPath));
    ok &= sheetSaved;

    // The same list as postcards, with a sender, and the first card as it
    // prints, its printed boxes shown pale.
    labelsWindow.show();
    labelsWindow.tabKind->setCurrentWidget(labelsWindow.pnlCards);
    PostcardPanel& cards = *labelsWindow.pnlCards;
    cards.txtSenderName->setText(QStringLiteral("鈴木 一郎"));
    cards.txtSenderCode->setText(QStringLiteral("210-0001"));
    cards.txtSenderAddress->setText(QStringLiteral("神奈川県川崎市川崎区本町1-2-3"));
    emit cards.txtSenderAddress->editingFinished();
    while (cards.running())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    settle();
    ok &= save(labelsWindow, out + QStringLiteral("/postcards.png"));
    labelsWindow.hide();
    postcards::PostcardOptions cardOptions;
    cardOptions.card.sender = {QStringLiteral("鈴木 一郎"), QStringLiteral("2100001"),
                               QStringLiteral("神奈川県川崎市川崎区本町1-2-3")};
    postcards::PostcardChecker cardChecker(rows, owner.dataFolder(), cardOptions);
    const postcards::CardRow first = cardChecker.check(rows.rows.front());
    const QString cardPath = out + QStringLiteral("/postcard.png");
    const bool cardSaved =
        postcards::cardPicture(first.card, cardChecker.composer(), 200).save(cardPath);
    std::printf("%s %s\n", cardSaved ? "wrote" : "could not write", qPrintable(cardPath));
    ok &= cardSaved;
    // Last, as it changes the data: a month of differences applied, and the
    // report the 更新 button ends with.
    ok &= saveUpdateReport(owner.dataFolder(), lockFolder.path(),
                           out + QStringLiteral("/update_report.png"));
    return ok ? 0 : 1;
}
