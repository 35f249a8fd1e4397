#include "foundation/settings.h"

#include <QSettings>

namespace yubin {

namespace {
const QString Organization = QStringLiteral("Zunelka");
const QString Group = QStringLiteral("POST_YU_NO");
} // namespace

QString readSetting(const QString& key) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organization, Organization);
    settings.beginGroup(Group);
    return settings.value(key, QString()).toString();
}

void writeSetting(const QString& key, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organization, Organization);
    settings.beginGroup(Group);
    settings.setValue(key, value);
}

int settingAsChoice(const QString& stored) {
    return stored.trimmed() == QLatin1String("1") ? 1 : 0;
}

} // namespace yubin
