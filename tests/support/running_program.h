#pragma once

// The program as the window tests drive it: the stand-ins, the shared
// values, a private instance lock and the windows, started like the desktop
// program starts.

#include "foundation/gui/window_owner.h"
#include "main_window/gui/yubin_main.h"
#include "search/gui/ubin_sort.h"
#include "search/gui/zen_kensaku.h"
#include "support/data_files.h"
#include "support/fakes.h"
#include "support/list_gestures.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace yubin::test {

// The texts of a list's lines, top to bottom.
inline QStringList linesOf(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

// Runs the action, which shows the scan window modally, and starts the
// window's pass once it is up: offscreen a window is not activated by
// itself, so the activation is sent. `up` sees the window first. True when
// the scan window came up.
inline bool runThroughScanWindow(const std::function<void()>& action,
                                 const std::function<void(UBIN_Sort&)>& up = {}) {
    return onModal<UBIN_Sort>(action, [&](UBIN_Sort& scan) {
        if (up)
            up(scan);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&scan, &activate);
    });
}

class RunningProgram : public testing::Test {
protected:
    // Runs the main window's start-up; `show` puts it on screen as well.
    Yubin_Main& start(bool show = true) {
        owner = std::make_unique<WindowOwner>(env.platform(), shared);
        EXPECT_TRUE(owner->main().load(lockPath()));
        if (show)
            owner->main().show();
        return owner->main();
    }
    QString lockPath() const { return locks.path() + QStringLiteral("/yubin.lock"); }
    // Opens the full search from the started main window, as the active one.
    Zen_Kensaku& openFullSearch() {
        QTest::mouseClick(owner->main().Command2, Qt::LeftButton);
        Zen_Kensaku& w = owner->zenKensaku();
        w.activateWindow();
        QApplication::processEvents();
        return w;
    }

    // 北海道, dated 2025/09/30: 札幌市中央区 with its catch-all (060-0000),
    // 大通西 (060-0042) and 旭ケ丘 (064-0941), and 旭川市 with its catch-all
    // (070-0000), listed first among the municipalities.
    void writeHokkaido() {
        const auto town = [](const char* code, const char* cityReading, const char* townReading,
                             const char* city, const char* town) {
            return addressRecord("01101", code, "ﾎﾂｶｲﾄﾞｳ", cityReading, townReading, "北海道", city,
                                 town);
        };
        const QString path = env.dataFolder() + QStringLiteral("01hokkai.CSV");
        writeFile(path, sjisLines({
                            town("0600000", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "札幌市中央区",
                                 "以下に掲載がない場合"),
                            town("0600042", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ", "札幌市中央区", "大通西"),
                            town("0640941", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "札幌市中央区", "旭ケ丘"),
                            town("0700000", "ｱｻﾋｶﾜｼ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "旭川市",
                                 "以下に掲載がない場合"),
                        }));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 9, 30), QTime(0, 0)),
                                     QFileDevice::FileModificationTime));
    }
    // 東京都千代田区: its catch-all (100-0000) and 千代田 (100-0001).
    void writeTokyo() {
        writeFile(env.dataFolder() + QStringLiteral("13tokyo.CSV"),
                  sjisLines({addressRecord("13101", "1000000", "ﾄｳｷｮｳﾄ", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                                           "東京都", "千代田区", "以下に掲載がない場合"),
                             addressRecord("13101", "1000001", "ﾄｳｷｮｳﾄ", "ﾁﾖﾀﾞｸ", "ﾁﾖﾀﾞ", "東京都",
                                           "千代田区", "千代田")}));
    }
    // One business office: 日本商事株式会社 at 東京都千代田区丸の内１－１, 100-8799.
    void writeOffices() {
        writeFile(env.dataFolder() + QStringLiteral("JIGYOSYO.CSV"),
                  sjisLines({officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都",
                                          "千代田区", "丸の内", "１－１", "1008799")}));
    }

    TestPlatform env;
    SharedValues shared;
    QTemporaryDir locks;
    std::unique_ptr<WindowOwner> owner;
};

} // namespace yubin::test
