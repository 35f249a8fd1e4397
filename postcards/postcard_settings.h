#pragma once

// What the postcards keep between runs in the per-user settings: the
// sender, set once, and each paper's printer offset.

#include "postcards/card_layout.h"

#include <QPointF>
#include <QString>

#include <optional>

namespace yubin::postcards {

namespace SettingKey {
inline const QString SenderName = QStringLiteral("SENDER_NAME");
inline const QString SenderCode = QStringLiteral("SENDER_CODE");
inline const QString SenderAddress = QStringLiteral("SENDER_ADDRESS");
// Followed by the paper's key: "CARD_OFFSET_postcard"; one for all custom
// sizes, "CARD_OFFSET_custom", as they go through the same feeder.
inline const QString OffsetPrefix = QStringLiteral("CARD_OFFSET_");
} // namespace SettingKey

// The offset's limit either way: a printer further off needs mending.
inline constexpr double MaxOffsetMm = 20;

// "X,Y" in millimetres, right and down, each within the limit; nullopt
// otherwise.
std::optional<QPointF> parseOffset(QStringView text);
QString offsetText(QPointF offset);

Sender savedSender();
void saveSender(const Sender& sender);
// A paper's saved offset; 0,0 when none is saved or it does not read.
QPointF savedOffset(const Paper& paper);
void saveOffset(const Paper& paper, QPointF offset);

} // namespace yubin::postcards
