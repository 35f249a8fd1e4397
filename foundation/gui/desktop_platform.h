#pragma once

#include "foundation/fonts.h"
#include "foundation/platform.h"
#include "foundation/utilities.h"

#include <QDialog>
#include <QFont>
#include <QTranslator>

class QLabel;
class QPushButton;

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

// Says that a page could not be opened, with its address selectable and a
// button that copies it, so that the user can open it by hand.
class UnopenedPageBox : public QDialog {
    Q_OBJECT
public:
    UnopenedPageBox(const QString& url, QWidget* parent);
    QLabel* address;
    QPushButton* copy;
    QPushButton* ok;
};

// Qt's own dialogs and buttons (print dialog, folder chooser, OK and Cancel)
// in Japanese, as every text of the program is: Qt's qtbase_ja translation,
// installed on the application. nullptr when the translation is missing.
QTranslator* installJapaneseQtTranslation();

} // namespace yubin
