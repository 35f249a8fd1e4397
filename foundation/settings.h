#pragma once

#include <QString>

namespace yubin {

// Per-user settings: organization and application "Zunelka", group
// "POST_YU_NO", values stored as strings. An absent key reads as "".
namespace SettingKey {
inline const QString DataDir = QStringLiteral("DATA_DIR");  // download folder
inline const QString MapSite = QStringLiteral("MAP_SGT");   // "0" or "1"
inline const QString WebSite = QStringLiteral("MAP_SGT_W"); // "0" or "1"
} // namespace SettingKey

QString readSetting(const QString& key);
void writeSetting(const QString& key, const QString& value);

// A stored site choice: "1" selects the second site; anything else, absent
// or unexpected, reads as the first.
int settingAsChoice(const QString& stored);

} // namespace yubin
