#include "foundation/settings.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(Settings, StoredUnderZunelkaInGroupPostYuNo) {
    EXPECT_EQ(readSetting(QStringLiteral("NO_SUCH_KEY")), QString());
    writeSetting(SettingKey::DataDir, QStringLiteral("/home/user/ダウンロード/"));
    EXPECT_EQ(readSetting(SettingKey::DataDir), QStringLiteral("/home/user/ダウンロード/"));

    QSettings direct(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zunelka"),
                     QStringLiteral("Zunelka"));
    EXPECT_EQ(direct.value(QStringLiteral("POST_YU_NO/DATA_DIR")).toString(),
              QStringLiteral("/home/user/ダウンロード/"));
    EXPECT_EQ(SettingKey::MapSite, QStringLiteral("MAP_SGT"));
    EXPECT_EQ(SettingKey::WebSite, QStringLiteral("MAP_SGT_W"));
}

TEST(Settings, SiteChoiceOtherThanOneReadsAsZero) {
    for (const auto& [stored, choice] :
         {std::pair{"1", 1}, {"0", 0}, {"", 0}, {"2", 0}, {"yes", 0}})
        EXPECT_EQ(settingAsChoice(QString::fromLatin1(stored)), choice) << stored;
}

} // namespace
} // namespace yubin
