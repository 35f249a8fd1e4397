#pragma once

#include "foundation/fonts.h"
#include "foundation/platform.h"
#include "foundation/utilities.h"

#include <QFont>
#include <QTranslator>

#include <memory>

namespace yubin {

// The real outside world: Qt message boxes, the desktop's default browser,
// Qt's folder dialog, the primary screen and the steady clock.
class DesktopPlatform {
public:
    DesktopPlatform();
    ~DesktopPlatform();
    Platform platform(const QString& programFolder);

private:
    struct Services;
    std::unique_ptr<Services> services;
};

// Qt's own dialogs and buttons (print dialog, folder chooser, OK and Cancel)
// in Japanese, as every text of the program is: Qt's qtbase_ja translation,
// installed on the application. nullptr when the translation is missing.
QTranslator* installJapaneseQtTranslation();

} // namespace yubin
