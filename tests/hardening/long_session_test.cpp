// A long day at the desk in one process: a thousand full searches and two
// hundred prefecture loads. Resident memory may grow by what the decoded
// files the full search keeps take, and not further; LeakSanitizer checks
// the end.

#include "support/running_program.h"
#include "support/sanitizer_options.h"

#include <unistd.h>

// Freed memory that AddressSanitizer holds back would read as growth; a
// small quarantine still catches a use after free.
extern "C" const char* __asan_default_options() {
    return YUBIN_TEST_ASAN_OPTIONS ":quarantine_size_mb=1";
}

namespace yubin {
namespace {

using test::linesOf;

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

// Deleted windows go at the next turn of the event loop, which the tests
// drive themselves.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// How much more than at the end of the warm-up the rest of the session may
// hold. The decoded files are all cached by then; what remains is
// allocator slack, far below the per-pass garbage a leak would leave
// (a thousand passes of even 1 KiB each are 1 MiB).
constexpr qint64 AllowedGrowth = 4 << 20;

// Runs the rounds, settling after each; resident memory at the end may
// exceed what it was after the warm-up rounds by the allowed growth only.
void expectNoGrowth(int rounds, int warmUp, const std::function<void(int)>& round) {
    qint64 warm = 0;
    for (int i = 0; i < rounds && !testing::Test::HasFatalFailure(); ++i) {
        round(i);
        settle();
        if (i == warmUp - 1)
            warm = residentBytes();
    }
    const qint64 end = residentBytes();
    ASSERT_GT(warm, 0);
    EXPECT_LT(end - warm, AllowedGrowth) << "warm " << warm << " end " << end;
}

class LongSession : public test::RunningProgram {
protected:
    void SetUp() override {
        QStringList sapporo; // 町0 to 町499, alternately of 旭川市 and 札幌市
        for (int i = 0; i < 500; ++i)
            sapporo << test::addressRecord(
                "01101", QStringLiteral("06%1").arg(i, 5, 10, QChar(u'0')), "ﾎﾂｶｲﾄﾞｳ",
                i % 2 ? "ｻﾂﾎﾟﾛｼ" : "ｱｻﾋｶﾜｼ", "ﾁﾖｳ", "北海道", i % 2 ? "札幌市" : "旭川市",
                QStringLiteral("町%1").arg(i));
        test::writeFile(env.dataFolder() + QStringLiteral("01hokkai.CSV"),
                        test::sjisLines(sapporo));
        // 本町0丁目 to 本町499丁目 of 中央市.
        test::writeFile(env.dataFolder() + QStringLiteral("02aomori.CSV"),
                        test::recordBytes(2, 500));
        writeOffices();
    }
};

TEST_F(LongSession, AThousandFullSearchesHoldNoMoreThanTheCachedFiles) {
    start();
    Zen_Kensaku& w = openFullSearch();
    // Exact and folding, one and two words, text and postal code: every
    // kind of pass, in turn.
    const QString sapporo = QStringLiteral("[A] 060-0499 北海道札幌市町499 (ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾖｳ)");
    const QString aomori = QStringLiteral("[A] 020-0499 青森県中央市本町499丁目 (ｹﾝｼﾁｮｳ499)");
    const struct {
        const char* text; // empty: the postal code 020-0499
        bool fold;
        QStringList rows;
    } passes[] = {
        {"町499", false, {sapporo, aomori}},
        {"さつぽろ 町４９９", true, {sapporo}},
        {"にほんしようじ", true, {"[*] 100-8799 日本商事株式会社 東京都千代田区丸の内１－１"}},
        {"", false, {aomori}},
    };
    const auto search = [&](int i) {
        const auto& pass = passes[i % 4];
        if (!*pass.text) {
            w.Text2->setText(QStringLiteral("020-0499"));
            return QTest::mouseClick(w.Command3, Qt::LeftButton);
        }
        w.Check2->setChecked(!pass.fold);
        w.Text1->setText(QString::fromUtf8(pass.text));
        QTest::mouseClick(w.Command1, Qt::LeftButton);
    };
    // AddressSanitizer's allocator takes a few hundred passes to settle
    // (about 4 MiB after a hundred, 1 MiB after four hundred); what follows
    // must hold no more.
    expectNoGrowth(1000, 400, [&](int i) {
        ASSERT_TRUE(test::runThroughScanWindow([&] { search(i); })) << i;
        ASSERT_EQ(linesOf(*w.List1), passes[i % 4].rows) << i;
    });
    EXPECT_EQ(owner->scanCache().entryCount(), 3);
}

TEST_F(LongSession, TwoHundredPrefectureLoadsHoldNoMoreThanOne) {
    Yubin_Main& w = start();
    // The allocator settles over the first hundred loads (about 4 MiB under
    // AddressSanitizer); two hundred more must then hold nothing more.
    expectNoGrowth(300, 100, [&](int i) {
        test::clickLine(*w.List1, i % 2);
        test::clickLine(*w.List2, 0);
        ASSERT_EQ(w.List3->count(), i % 2 ? 500 : 250) << i;
    });
}

} // namespace
} // namespace yubin
