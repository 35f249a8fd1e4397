#include "foundation/gui/desktop_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

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
        const QMessageBox::Icon shown = icon == MessageIcon::Question ? QMessageBox::Question
                                        : icon == MessageIcon::Information
                                            ? QMessageBox::Information
                                            : QMessageBox::Warning;
        QMessageBox box(shown, title, withLineBreaks(text),
                        buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                            : QMessageBox::Ok,
                        QApplication::activeWindow());
        return box.exec() == QMessageBox::Ok;
    }
};

class DesktopBrowser final : public WebPageOpener {
public:
    bool OpenWebPage(const QString& url) override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool opened = QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
        QApplication::restoreOverrideCursor();
        if (!opened) {
            // No browser, or nothing registered for the scheme: a page that
            // silently never appears would leave the user waiting.
            UnopenedPageBox box(url, QApplication::activeWindow());
            box.exec();
        }
        return opened;
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

UnopenedPageBox::UnopenedPageBox(const QString& url, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("UnopenedPageBox"));
    setWindowTitle(UnopenedPageTitle);
    auto* text = new QLabel(UnopenedPageText, this);
    text->setWordWrap(true);
    address = new QLabel(url, this);
    address->setObjectName(QStringLiteral("address"));
    address->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    address->setWordWrap(true);
    address->setFrameShape(QFrame::StyledPanel);
    auto* buttons = new QDialogButtonBox(this);
    copy = buttons->addButton(QStringLiteral("アドレスをコピー"), QDialogButtonBox::ActionRole);
    ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setDefault(true);
    connect(copy, &QPushButton::clicked, this,
            [url] { QGuiApplication::clipboard()->setText(url); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    layout->addLayout(top);
    layout->addWidget(address);
    layout->addWidget(buttons);
    setMinimumWidth(460);
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
