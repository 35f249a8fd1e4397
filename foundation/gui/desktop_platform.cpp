#include "foundation/gui/desktop_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>

namespace yubin {

namespace {

// The desktop the messages were written for breaks a line at a carriage
// return; a Qt label shows it as a blank.
QString withLineBreaks(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

class QtMessageBoxes final : public MessageBoxes {
public:
    bool show(MessageIcon icon, const QString& title, const QString& text,
              MessageButtons buttons) override {
        QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question
                                                      : QMessageBox::Warning,
                        title, withLineBreaks(text),
                        buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                            : QMessageBox::Ok,
                        QApplication::activeWindow());
        return box.exec() == QMessageBox::Ok;
    }
};

class DesktopBrowser final : public WebPageOpener {
public:
    void OpenWebPage(const QString& url) override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
        QApplication::restoreOverrideCursor();
    }
};

class QtFolderBrowser final : public FolderBrowser {
public:
    QString chooseFolder(const QString& title, const QString& startFolder) override {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                                 QFileDialog::ShowDirsOnly);
    }
};

class QtFileChooser final : public FileChooser {
public:
    QString openFile(const QString& title, const QString& filter) override {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter);
    }
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filter);
    }
};

class QtPrintDialog final : public PrintDialog {
public:
    bool choosePrinter(QPrinter& printer) override {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }
};

class PrimaryScreen final : public ScreenMetrics {
public:
    int heightTwips() const override { return available().height() * TwipsPerPixel; }
    int widthTwips() const override { return available().width() * TwipsPerPixel; }

private:
    static QRect available() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
};

} // namespace

struct DesktopPlatform::Services {
    QtMessageBoxes messages;
    DesktopBrowser web;
    QtFolderBrowser folders;
    PrimaryScreen screen;
    SteadyClock clock;
    QtPrintDialog printDialog;
    QtFileChooser files;
};

DesktopPlatform::DesktopPlatform() : services(std::make_unique<Services>()) {}
DesktopPlatform::~DesktopPlatform() = default;

Platform DesktopPlatform::platform(const QString& programFolder) {
    Platform p;
    p.messages = &services->messages;
    p.web = &services->web;
    p.folders = &services->folders;
    p.screen = &services->screen;
    p.clock = &services->clock;
    p.programFolder = programFolder;
    p.printDialog = &services->printDialog;
    p.files = &services->files;
    return p;
}

QTranslator* installJapaneseQtTranslation() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace yubin
