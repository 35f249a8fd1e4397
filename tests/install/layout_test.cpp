// The folders tell a window from the core: window files lie in gui/
// folders, the core includes none of them, and a window reaches another
// subsystem's window only through the frame in foundation/gui (the owner).

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace yubin {
namespace {

const QString Source = QStringLiteral(YUBIN_SOURCE_DIR) + u'/';

const QStringList Subsystems = {"foundation", "main_window", "search",    "data_prep", "address",
                                "barcode",    "labels",      "postcards", "map_search"};

// The subsystem of a path ("search/gui/ubin_sort.h": search), and whether
// it is a window file.
QString subsystemOf(const QString& path) {
    return path.section(u'/', 0, 0);
}
bool isWindowFile(const QString& path) {
    return path.contains(QStringLiteral("/gui/"));
}

struct Include {
    QString from;
    QString to;
};

std::vector<Include> projectIncludes() {
    static const QRegularExpression include(QStringLiteral(R"re(^#include "([a-z_]+/[^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    std::vector<Include> found;
    for (const QString& subsystem : Subsystems) {
        QDirIterator files(Source + subsystem, {"*.h", "*.cpp"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& m : include.globalMatch(text))
                found.push_back({path.mid(Source.size()), m.captured(1)});
        }
    }
    return found;
}

// Who may include what: nullptr when allowed, else the rule broken.
const char* brokenRule(const Include& i) {
    const QString from = subsystemOf(i.from);
    const QString to = subsystemOf(i.to);
    if (!isWindowFile(i.from) && isWindowFile(i.to))
        return "the core includes a window";
    if (isWindowFile(i.to) && to != from && to != QStringLiteral("foundation") &&
        i.from != QStringLiteral("foundation/gui/window_owner.cpp"))
        return "a window includes another subsystem's window";
    const QStringList leaves = {"barcode", "data_prep", "labels", "postcards", "map_search"};
    if (leaves.contains(from) && to == QStringLiteral("main_window"))
        return "a subsystem includes the main window's folder";
    return nullptr;
}

TEST(Layout, RuleTellsEachBrokenInclude) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"search/scan.cpp", "search/gui/ubin_sort.h", "the core includes a window"},
        {"search/gui/zen_kensaku.cpp", "barcode/gui/bar_print.h",
         "a window includes another subsystem's window"},
        {"labels/label_run.cpp", "main_window/browse.h",
         "a subsystem includes the main window's folder"},
        {"search/gui/zen_kensaku.cpp", "search/gui/ubin_sort.h", nullptr},
        {"barcode/gui/bar_print.h", "foundation/gui/loadable_dialog.h", nullptr},
        {"foundation/gui/window_owner.cpp", "labels/gui/atena_label.h", nullptr},
    };
    for (const auto& [from, to, rule] : cases) {
        const char* broken = brokenRule({QString::fromLatin1(from), QString::fromLatin1(to)});
        EXPECT_STREQ(broken, rule) << from << " -> " << to;
    }
}

TEST(Layout, NoIncludeBreaksTheRule) {
    const std::vector<Include> includes = projectIncludes();
    const auto windows = std::count_if(includes.begin(), includes.end(),
                                       [](const Include& i) { return isWindowFile(i.to); });
    EXPECT_GT(windows, 20) << "the windows and their includes are found";
    for (const Include& i : includes)
        if (const char* rule = brokenRule(i))
            ADD_FAILURE() << rule << ": " << i.from.toStdString() << " -> " << i.to.toStdString();
}

} // namespace
} // namespace yubin
