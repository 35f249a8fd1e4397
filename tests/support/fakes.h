#pragma once

// Stand-ins for the outside world: they record what the program asked for
// and answer on cue.

#include "foundation/platform.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <vector>

namespace yubin::test {

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
    MessageButtons buttons;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    bool show(MessageIcon icon, const QString& title, const QString& text,
              MessageButtons buttons) override;
    std::vector<ShownMessage> shown;
    std::deque<bool> answers; // next answers; OK when empty
};

class RecordingWebOpener final : public WebPageOpener {
public:
    bool OpenWebPage(const QString& url) override {
        opened << url;
        return opens;
    }
    QStringList opened;
    bool opens = true; // false: as if no browser were installed
};

class ScriptedFolderBrowser final : public FolderBrowser {
public:
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    QStringList titles;
    QString next; // empty: the user cancels
};

// Answers the file dialogs with the next of the given paths ("" cancels).
class ScriptedFileChooser final : public FileChooser {
public:
    QString openFile(const QString& title, const QString&) override { return answer(title); }
    QString saveFile(const QString& title, const QString&, const QString&) override {
        return answer(title);
    }
    QStringList titles;
    std::deque<QString> next;

private:
    QString answer(const QString& title) {
        titles << title;
        if (next.empty())
            return {};
        QString path = next.front();
        next.pop_front();
        return path;
    }
};

class FixedScreen final : public ScreenMetrics {
public:
    int heightTwips() const override { return height; }
    int widthTwips() const override { return width; }
    int width = 19200;  // 1280 px
    int height = 15360; // 1024 px
};

// A clock that moves only when told, or by a fixed step at every reading.
class ManualClock final : public Clock {
public:
    qint64 nowMs() override {
        now += stepPerRead;
        return now;
    }
    qint64 now = 0;
    qint64 stepPerRead = 0;
};

#ifdef YUBIN_TEST_WINDOWS
// Answers the print dialog: accepted, it sends each job to a new PDF file at
// the given resolution; refused, it is the user cancelling. Printing needs
// the widgets, so only the window tests have it.
class ScriptedPrintDialog final : public PrintDialog {
public:
    bool choosePrinter(QPrinter& printer) override;
    bool accept = true;
    int resolution = 300;
    int shown = 0;
    QStringList files; // one per accepted dialog, in order

private:
    QTemporaryDir folder;
};
#endif

// All stand-ins together, with a fresh program folder.
class TestPlatform {
public:
    TestPlatform();
    Platform platform() const;
    QString programFolder() const { return folder.path(); }
    QString dataFolder() const { return folder.path() + QStringLiteral("/DATA/"); }

    RecordingMessageBoxes messages;
    RecordingWebOpener web;
    ScriptedFolderBrowser folders;
    ScriptedFileChooser files;
    FixedScreen screen;
    ManualClock clock;
#ifdef YUBIN_TEST_WINDOWS
    ScriptedPrintDialog printing;
#endif

private:
    QTemporaryDir folder;
};

// Runs the check in a child process as an unprivileged user when the tests
// run as root, so that file permissions hold; directly otherwise. True when
// the check returned true.
bool runUnprivileged(const std::function<bool()>& check);

// Opens a folder for the unprivileged user of runUnprivileged (mode 0755).
void openToEveryone(const QString& folder);

} // namespace yubin::test
