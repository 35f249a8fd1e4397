#include "barcode/gui/bar_print.h"

#include "address/resolver.h"

#include "barcode/barcode_input.h"
#include "barcode/cbarcode.h"
#include "foundation/gui/desktop_platform.h"
#include "foundation/postal_code_validator.h"
#include "foundation/text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPrinter>

namespace yubin {

namespace {

// Caret to the end whenever the box gets the focus.
class CaretAtEndLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        deselect();
        end(false);
    }
};

// Digit-only boxes discard every character key but 0-9 and Backspace;
// keys that type nothing (arrows, Delete, Tab) and editing shortcuts other
// than paste and cut pass.
bool digitBoxAccepts(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste) || key.matches(QKeySequence::Cut))
        return false;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    default:
        break;
    }
    if (key.modifiers() & Qt::ControlModifier)
        return true;
    const QString typed = key.text();
    if (typed.isEmpty())
        return true;
    return typed.size() == 1 && typed[0] >= u'0' && typed[0] <= u'9';
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// True for a window opened on behalf of `owner`: a message box or dialog
// whose parent chain leads to it.
bool belongsTo(const QWidget* window, const QWidget* owner) {
    for (const QWidget* w = window ? window->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w == owner)
            return true;
    return false;
}

} // namespace

BAR_Print::BAR_Print(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("BAR_Print"));
    setWindowTitle(QStringLiteral(" 郵便ｶｽﾀﾏｰﾊﾞｰｺｰﾄﾞ"));
    createControls();
}

void BAR_Print::createControls() {
    auto label = [](QWidget* parent, const char* name, const QString& caption, int x, int y) {
        auto* l = new QLabel(caption, parent);
        l->setObjectName(QLatin1String(name));
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    auto box = [](QLineEdit* edit, const char* name, QRect geometry, double points) {
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(geometry);
        edit->setFont(makeGothicFont(points));
        // Half-width input only: no input method on these boxes.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
        return edit;
    };

    Frame1 = new QGroupBox(QStringLiteral("郵便番号"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 6, 464, 112);
    Label2[0] = label(Frame1, "Label2_0", QStringLiteral("郵便番号(7桁)"), 12, 24);
    txtData1 = box(new CaretAtEndLineEdit(QStringLiteral("1234567"), Frame1), "txtData1",
                   QRect(12, 44, 96, 26), 12);
    txtData1->setMaxLength(7);
    txtData1->setValidator(new PostalCodeValidator(HyphenRule::Refused, txtData1));
    Label4[0] = label(Frame1, "Label4_0", QStringLiteral("住所表示(番地)または整理番号"), 120, 24);
    Label4[1] = label(Frame1, "Label4_1", QStringLiteral("※ 通常は空白で可"), 120, 74);
    txtData2 = box(new CaretAtEndLineEdit(Frame1), "txtData2", QRect(120, 44, 200, 26), 12);
    txtData2->setMaxLength(13);
    Label2[1] = label(Frame1, "Label2_1", QStringLiteral("CD"), 336, 24);
    lblDeg = new QLabel(Frame1);
    lblDeg->setObjectName(QStringLiteral("lblDeg"));
    lblDeg->setGeometry(336, 44, 44, 26);
    lblDeg->setAlignment(Qt::AlignCenter);
    lblDeg->setFont(makeGothicFont(12, true));
    setColours(*lblDeg, Qt::white, QColor(128, 128, 128));
    Label1 = new ClickableLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("ﾊﾞｰｺｰﾄﾞ資料(PDF)"));
    Label1->setGeometry(336, 80, 118, 20);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setCursor(Qt::PointingHandCursor);
    setColours(*Label1, QColor(0, 0, 255), QColor(255, 255, 192));

    Frame2 = new QGroupBox(QStringLiteral("設 定"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(8, 124, 464, 92);
    Label5 = label(Frame2, "Label5", QStringLiteral("出力方法"), 12, 24);
    Option1[0] = new QRadioButton(QStringLiteral("画像"), Frame2);
    Option1[0]->setObjectName(QStringLiteral("Option1_0"));
    Option1[0]->setGeometry(12, 46, 60, 22);
    Option1[1] = new QRadioButton(QStringLiteral("印刷"), Frame2);
    Option1[1]->setObjectName(QStringLiteral("Option1_1"));
    Option1[1]->setGeometry(72, 46, 60, 22);
    Label8 = label(Frame2, "Label8", QStringLiteral("ｺｰﾄﾞｻｲｽﾞ"), 144, 24);
    cmbBlock = new QComboBox(Frame2);
    cmbBlock->setObjectName(QStringLiteral("cmbBlock"));
    cmbBlock->setGeometry(144, 44, 64, 26);
    cmbBlock->setFont(makeGothicFont(11));
    Label6 = label(Frame2, "Label6", QStringLiteral("印刷・上端位置"), 228, 24);
    txtStartY = box(new QLineEdit(barcode::DefaultTopText, Frame2), "txtStartY",
                    QRect(228, 44, 96, 26), 11);
    txtStartY->setAlignment(Qt::AlignCenter);
    Label7[0] = label(Frame2, "Label7_0", QStringLiteral("印刷・左端位置"), 340, 24);
    txtStartX = box(new QLineEdit(barcode::DefaultLeftText, Frame2), "txtStartX",
                    QRect(340, 44, 96, 26), 11);
    txtStartX->setAlignment(Qt::AlignCenter);
    Label7[1] = label(Frame2, "Label7_1", QStringLiteral("※ 余白 5㎜"), 228, 72);

    picTarget = new PictureBox(barcode::PreviewImageSize, this);
    picTarget->setObjectName(QStringLiteral("picTarget"));
    picTarget->move(8 + (464 - picTarget->width()) / 2, 224);

    const int buttonsY = picTarget->geometry().bottom() + 10;
    cmdExecute = new QPushButton(QStringLiteral("実行(&E)"), this);
    cmdExecute->setObjectName(QStringLiteral("cmdExecute"));
    cmdExecute->setGeometry(268, buttonsY, 98, 30);
    Command1 = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(374, buttonsY, 98, 30);
    // The address group stands to the right of the original controls, which
    // keep their places.
    Frame3 = new QGroupBox(QStringLiteral("住所"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(480, 6, 300, buttonsY + 30 - 6);
    label(Frame3, "Label9", QStringLiteral("住所（都道府県から番地・建物まで）"), 12, 24);
    txtAddress = new QLineEdit(Frame3);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setGeometry(12, 44, 276, 26);
    txtAddress->setMaxLength(int(address::MaxAddressLength));
    cmdAddress = new QPushButton(QStringLiteral("住所から作成"), Frame3);
    cmdAddress->setObjectName(QStringLiteral("cmdAddress"));
    cmdAddress->setGeometry(12, 78, 130, 30);
    cmdAddress->setAutoDefault(false);
    lblAddress = new QLabel(Frame3);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setGeometry(12, 116, 276, Frame3->height() - 124);
    lblAddress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAddress->setWordWrap(true);
    lblAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFixedSize(788, buttonsY + 40);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setSingleShot(true);

    for (QLineEdit* edit : {txtData1, txtData2, txtStartY, txtStartX, txtAddress})
        edit->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        cmdExecute_Click();
    });
    connect(cmdExecute, &QPushButton::clicked, this, &BAR_Print::cmdExecute_Click);
    connect(Command1, &QPushButton::clicked, this, &BAR_Print::close);
    connect(cmdAddress, &QPushButton::clicked, this, &BAR_Print::cmdAddress_Click);
    connect(Label1, &ClickableLabel::clicked, this,
            [this] { platform.web->OpenWebPage(barcode::ManualUrl); });
}

BAR_Print::~BAR_Print() = default;

void BAR_Print::load() {
    Timer1->stop();
    Option1[0]->setChecked(true);
    txtData1->setText(text::trimmed(shared.BarZipCode));
    cmbBlock->clear();
    for (int size = barcode::SmallestCodeSize; size <= barcode::LargestCodeSize; ++size)
        cmbBlock->addItem(QString::number(size));
    cmbBlock->setCurrentIndex(barcode::DefaultCodeSize - 1);
}

int BAR_Print::openFor(const QString& code, const QString& address, const QString& addressNumber) {
    txtData1->setText(text::trimmed(code));
    txtData2->setText(addressNumber);
    txtAddress->setText(address);
    return exec();
}

void BAR_Print::unload() {
    Timer1->stop();
    resolver.reset();
}

bool BAR_Print::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        if (redrawOnActivation)
            Timer1->start();
    } else if (e->type() == QEvent::WindowDeactivate) {
        // By now the application's active window is the one taking over.
        const QWidget* next = QApplication::activeWindow();
        redrawOnActivation = next && next != this && !belongsTo(next, this);
    }
    return LoadableDialog::event(e);
}

bool BAR_Print::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress)
        return LoadableDialog::eventFilter(watched, e);
    const auto& key = *static_cast<QKeyEvent*>(e);
    // Enter never reaches the dialog's default button from these boxes.
    if (watched == txtData1) {
        if (isEnter(key)) {
            if (txtData1->text().size() == 7)
                txtData2->setFocus();
            return true;
        }
        return false; // typing and pasting are judged by its validator
    }
    if (watched == txtData2) {
        if (isEnter(key)) {
            cmdExecute->setFocus();
            return true;
        }
        return false;
    }
    if (watched == txtAddress) {
        if (isEnter(key)) {
            cmdAddress_Click();
            return true;
        }
        return false;
    }
    if (watched == txtStartY || watched == txtStartX) {
        if (isEnter(key)) {
            (watched == txtStartY ? static_cast<QWidget*>(txtStartX) : cmdExecute)->setFocus();
            return true;
        }
        return !digitBoxAccepts(key);
    }
    return LoadableDialog::eventFilter(watched, e);
}

void BAR_Print::cmdExecute_Click() {
    draw(true);
}

void BAR_Print::draw(bool printWhenChosen) {
    auto writeBack = [](QLineEdit* edit, const QString& value) {
        if (edit->text() != value)
            edit->setText(value);
    };
    lblDeg->clear();
    writeBack(txtData1, text::trimmed(txtData1->text()));
    writeBack(txtData2, text::trimmed(txtData2->text()));
    if (const std::optional<QString> problem = barcode::postalCodeProblem(txtData1->text())) {
        platform.messages->show(MessageIcon::Exclamation, barcode::MessageTitle, *problem,
                                MessageButtons::Ok);
        txtData1->setFocus();
        return;
    }
    lblDeg->clear();
    writeBack(txtData2, barcode::addressNumberForBarcode(txtData2->text()));
    const QString data = barcode::barcodeData(txtData1->text(), txtData2->text());

    // From here a failure ends the action silently, leaving what was shown.
    const int size = cmbBlock->currentIndex() + 1;
    cBarcode encoder(shared);
    encoder.setBlock(size);
    const std::optional<qint32> left = barcode::parsePosition(txtStartX->text());
    if (!left)
        return;
    encoder.setLeft(*left);
    const std::optional<qint32> top = barcode::parsePosition(txtStartY->text());
    if (!top)
        return;
    encoder.setTop(*top);
    encoder.setCode(data);
    shared.BarCodeSize = size;

    picTarget->clear();
    BarcodeSurface picture = BarcodeSurface::picture(picTarget->image());
    encoder.setTarget(&picture);
    const BarcodeError previewed = encoder.PrintBarZip();
    picTarget->update();
    if (previewed != BarcodeError::None)
        return;
    lblDeg->setText(barcode::checkValueText(encoder.Deg()));

    if (printWhenChosen && Option1[1]->isChecked())
        printBarcode(encoder, *top, *left, data, size);
}

void BAR_Print::cmdAddress_Click() {
    if (!resolver)
        resolver = std::make_unique<address::AddressResolver>(owner.dataFolder());
    const address::Resolution r = resolver->resolve(txtAddress->text());
    QStringList account;
    if (r.resolved()) {
        account << QStringLiteral("該当：") + r.record;
        for (const QString& warning : r.warnings)
            account << QStringLiteral("※ ") + warning;
    } else {
        account << QStringLiteral("※ ") + r.failure;
    }
    lblAddress->setText(account.join(u'\n'));
    if (!r.resolved())
        return;
    txtData1->setText(r.postalCode);
    txtData2->setText(r.addressNumber);
    // Filling the boxes is no order to print: the user checks the preview
    // and prints with the window's own button.
    draw(false);
}

void BAR_Print::printBarcode(cBarcode& encoder, qint32 top, qint32 left, const QString& data,
                             int size) {
    encoder.setBlock(size);
    encoder.setLeft(left);
    encoder.setTop(top);
    encoder.setCode(data);
    QPrinter printer(QPrinter::HighResolution);
    // Positions are measured from the paper's corner, not the printable area's.
    printer.setFullPage(true);
    if (!platform.printDialog || !platform.printDialog->choosePrinter(printer))
        return; // cancelled: nothing is printed
    BarcodeSurface page = BarcodeSurface::printer(printer);
    encoder.setTarget(&page);
    encoder.setBlock(size * barcode::PrinterBlockPerCodeSize);
    // The drawer ends its painter, which ends the document and sends the page.
    encoder.PrintBarZip();
}

} // namespace yubin
