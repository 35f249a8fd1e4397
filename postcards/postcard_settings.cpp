#include "postcards/postcard_settings.h"

#include "foundation/settings.h"

#include <QRegularExpression>

#include <cmath>

namespace yubin::postcards {

namespace {

QString offsetKey(const Paper& paper) {
    for (const Paper& p : builtInPapers())
        if (p.key == paper.key)
            return SettingKey::OffsetPrefix + p.key;
    return SettingKey::OffsetPrefix + QStringLiteral("custom");
}

} // namespace

std::optional<QPointF> parseOffset(QStringView text) {
    static const QRegularExpression pair(
        QStringLiteral(R"(^\s*([-+]?\d+(?:\.\d+)?)\s*,\s*([-+]?\d+(?:\.\d+)?)\s*$)"));
    const QRegularExpressionMatch m = pair.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    const QPointF p(m.captured(1).toDouble(), m.captured(2).toDouble());
    if (std::abs(p.x()) > MaxOffsetMm || std::abs(p.y()) > MaxOffsetMm)
        return std::nullopt;
    return p;
}

QString offsetText(QPointF offset) {
    return QStringLiteral("%1,%2").arg(offset.x(), 0, 'f', 1).arg(offset.y(), 0, 'f', 1);
}

Sender savedSender() {
    return {readSetting(SettingKey::SenderName), readSetting(SettingKey::SenderCode),
            readSetting(SettingKey::SenderAddress)};
}

void saveSender(const Sender& sender) {
    writeSetting(SettingKey::SenderName, sender.name);
    writeSetting(SettingKey::SenderCode, sender.postalCode);
    writeSetting(SettingKey::SenderAddress, sender.address);
}

QPointF savedOffset(const Paper& paper) {
    return parseOffset(readSetting(offsetKey(paper))).value_or(QPointF());
}

void saveOffset(const Paper& paper, QPointF offset) {
    writeSetting(offsetKey(paper), offsetText(offset));
}

} // namespace yubin::postcards
