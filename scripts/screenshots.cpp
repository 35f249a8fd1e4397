// Opens every window of the program in a realistic state on the data of a
// program folder and saves a picture of each: the pictures of the user guide.
//
//   yubin-screenshots OUTDIR PROGRAMFOLDER     (scripts/screenshots.sh runs it)

#include "barcode/bar_print.h"
#include "data_prep/data_syori.h"
#include "data_prep/prep_runs.h"
#include "foundation/gui/desktop_platform.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "map_search/map_search.h"
#include "search/ubin_sort.h"
#include "search/zen_kensaku.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

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
    platform.messages->show(MessageIcon::Question, NationwideTitle, AskNationwideText,
                            MessageButtons::OkCancel);

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
    return ok ? 0 : 1;
}
