#include "main_window/main_layout.h"

namespace yubin {

namespace {
const QString Title = QStringLiteral("〒　郵便番号検索 (Q&O)       Ver");
const QString ClosingNotice = QStringLiteral("(C) Zunelka");
} // namespace

QString mainCaption(int major, int minor, int revision, bool compact) {
    // The revision is written straight after the minor version: 1.2.7 reads Ver1.27.
    return Title + QString::number(major) + u'.' + QString::number(minor) +
           QString::number(revision) + QString(compact ? 38 : 50, u' ') + ClosingNotice;
}

MainLayout mainLayout(int screenWidthTwips, int screenHeightTwips, int major, int minor,
                      int revision) {
    MainLayout l;
    l.compact = screenHeightTwips < CompactScreenBelowTwips;
    l.caption = mainCaption(major, minor, revision, l.compact);
    if (l.compact) {
        l.windowHeight = 8895;
        l.windowWidth = 12000;
        l.list1Height = 7470;
        l.list3Height = 7440;
        l.list3Width = 5400;
        l.windowTop = screenHeightTwips / 2 - l.windowHeight / 2 - 150;
    } else {
        l.windowHeight = 10185;
        l.windowWidth = 13200;
        l.list1Height = 8835;
        l.list3Height = 8805;
        l.list3Width = 6600;
        l.windowTop = screenHeightTwips / 2 - l.windowHeight / 2 - 200;
    }
    l.windowLeft = screenWidthTwips / 2 - l.windowWidth / 2;
    return l;
}

} // namespace yubin
