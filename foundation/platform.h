#pragma once

// The outside effects of the program, each behind one small interface: the
// windows and engines call these, the desktop build passes the real ones and
// the tests pass stand-ins that record what happened and answer on cue.

#include <QString>
#include <QtGlobal>

class QPrinter;

namespace yubin {

enum class MessageIcon { Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a message and waits for the answer; true when it was OK.
    virtual bool show(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) = 0;
};

class WebPageOpener {
public:
    virtual ~WebPageOpener() = default;
    // Opens the URL in a new browser window; false when no browser took it
    // (the desktop's opener has then said so, with the address to copy), so
    // that the caller stays where the user can try again.
    virtual bool OpenWebPage(const QString& url) = 0;
};

// What the user reads when a page could not be opened; the address itself
// is shown below it, selectable, with a button that copies it.
inline const QString UnopenedPageTitle = QStringLiteral("ページを開けません");
inline const QString UnopenedPageText =
    QStringLiteral("ブラウザーでページを開けませんでした。"
                   "次のアドレスをコピーして、ブラウザーに貼り付けてください。");

class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // The chosen folder, or an empty string when the user cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The file the user chose to read, or "" when cancelled.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    // The file the user chose to write (asked before one is replaced), or
    // "" when cancelled.
    virtual QString saveFile(const QString& title, const QString& suggested,
                             const QString& filter) = 0;
};

// Windows take their compact layout on screens lower than this.
inline constexpr int CompactScreenBelowTwips = 10000;

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual int heightTwips() const = 0;
    virtual int widthTwips() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic clock; only differences are meaningful.
    virtual qint64 nowMs() = 0;
};

class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
};

// 15 twips to a pixel at 96 dpi.
inline constexpr int TwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) {
    return twips / TwipsPerPixel;
}

// Everything outside the program that a window or engine may touch.
struct Platform {
    MessageBoxes* messages = nullptr;
    WebPageOpener* web = nullptr;
    FolderBrowser* folders = nullptr;
    ScreenMetrics* screen = nullptr;
    Clock* clock = nullptr;
    QString programFolder; // folder of the executable
    PrintDialog* printDialog = nullptr;
    FileChooser* files = nullptr;
};

} // namespace yubin
