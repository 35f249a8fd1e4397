#include "search/gui/zen_kensaku.h"

#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/widgets.h"
#include "foundation/list_gestures.h"
#include "foundation/postal_code_validator.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "search/gui/ubin_sort.h"
#include "search/result_actions.h"
#include "search/search_input.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

namespace yubin {

Zen_Kensaku::Zen_Kensaku(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("Zen_Kensaku"));
    setWindowTitle(QStringLiteral("〒　郵便番号検索 (Q&O)　   全ﾃﾞｰﾀ検索"));
    setWindowIcon(QIcon(QStringLiteral(":/yubin/icon.svg")));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(12255), twipsToPixels(8100));

    auto label = [this](const char* name, const QString& caption, QRect geometry) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(geometry);
        return l;
    };
    Label2 = label("Label2", QStringLiteral("文字列検索"), twipsRect(120, 320, 900, 180));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(1080, 240, 2535, 330));
    Text1->setFont(makeGothicFont(11.25));
    Command1 = new QPushButton(QStringLiteral("検索"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3600, 240, 855, 330));
    Check2 = new QCheckBox(QStringLiteral("完全な一致単語"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setGeometry(twipsRect(4560, 250, 1695, 255));
    Check1 = new QCheckBox(QStringLiteral("事業所含む"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(6360, 250, 1260, 255));
    Label1 = label("Label1", QStringLiteral("郵便番号"), twipsRect(7800, 285, 720, 180));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twipsRect(8640, 240, 975, 285));
    Text2->setFont(makeGothicFont(9.75));
    Text2->setMaxLength(8);
    Text2->setAttribute(Qt::WA_InputMethodEnabled, false);
    Text2->setValidator(new PostalCodeValidator(HyphenRule::AfterThirdDigit, Text2));
    Label4 = label("Label4", QString(), twipsRect(9000, 45, 540, 180));
    Label4->setFont(makeGothicFont(9));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Command3 = new QPushButton(QStringLiteral("検索"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(twipsRect(9600, 240, 855, 330));
    Command2 = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(11160, 120, 975, 300));
    Label3 = label("Label3", QString(), twipsRect(10800, 480, 540, 180));
    Label3->setFont(makeGothicFont(9));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    List1 = new ExtentListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(twipsRect(120, 720, 11355, 7260));
    List1->setFont(makeGothicFont(11.25));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Check2);
    setTabOrder(Check2, Check1);
    setTabOrder(Check1, Text2);
    setTabOrder(Text2, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, List1);

    // No button is the default: Enter belongs to the boxes.
    for (QPushButton* b : {Command1, Command2, Command3})
        b->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Zen_Kensaku::textSearch);
    connect(Command3, &QPushButton::clicked, this, &Zen_Kensaku::postalCodeSearch);
    connect(Command2, &QPushButton::clicked, this, &Zen_Kensaku::close);
    connect(Text2, &QLineEdit::textChanged, this,
            [this](const QString& t) { Label4->setText(digitCounterText(t)); });
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    connect(List1, &ExtentListWidget::mousePressed, this, &Zen_Kensaku::onResultMousePressed);
    connect(List1, &QListWidget::doubleClicked, this, &Zen_Kensaku::onResultDoubleClicked);
    connect(List1, &ExtentListWidget::keyPressed, this, &Zen_Kensaku::onResultKeyPressed);
}

void Zen_Kensaku::load() {
    // Centred; on a small screen a little higher.
    const int screenHeight = platform.screen->heightTwips();
    int top = twipsToPixels(screenHeight) / 2 - height() / 2;
    if (screenHeight < CompactScreenBelowTwips)
        top -= twipsToPixels(150);
    move(twipsToPixels(platform.screen->widthTwips()) / 2 - width() / 2, top);

    Text1->clear();
    Text2->clear();
    Text1->setText(shared.LastSearchText);
    if (shared.LastSearchZip.size() <= 8)
        Text2->setText(shared.LastSearchZip);
    shared.LastSearchZip = Text2->text();
    Label3->clear();
    Label4->clear();
    Check1->setChecked(true);
    Check2->setChecked(true);
    showIdleLine();
    LastShift = 0;
    LastKeyCode = 0;
}

void Zen_Kensaku::showIdleLine() {
    List1->clear();
    List1->addItem(SearchIdleLine);
    List1->setEnabled(false);
}

bool Zen_Kensaku::event(QEvent* e) {
    // Only while this window is shown: an activation that arrives after its
    // close would leave no window on screen.
    if (e->type() == QEvent::WindowActivate && isVisible())
        owner.setMainWindowShown(false);
    return LoadableDialog::event(e);
}

void Zen_Kensaku::keyPressEvent(QKeyEvent* event) {
    // No Escape key here: as a dialog's it would close the window and throw
    // the results away.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    LoadableDialog::keyPressEvent(event);
}

void Zen_Kensaku::trimBox(QLineEdit& box) {
    // Rewritten only when there is something to trim: setText would move the
    // caret to the end and drop the selection the next key acts on.
    const QString trimmedText = text::trimmed(box.text());
    if (trimmedText != box.text())
        box.setText(trimmedText);
}

bool Zen_Kensaku::eventFilter(QObject* watched, QEvent* e) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return LoadableDialog::eventFilter(watched, e);
    if (e->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    } else if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (box == Text2) {
            trimBox(*Text2);
            if (enter) {
                if (Text2->text().size() > 6)
                    postalCodeSearch();
                return true;
            }
            // What may be typed or pasted is the validator's business.
        } else if (enter) {
            if (!Text1->text().isEmpty())
                textSearch();
            return true;
        }
    }
    return LoadableDialog::eventFilter(watched, e);
}

void Zen_Kensaku::textSearch() {
    const QString searchText = text::trimmed(Text1->text());
    Text1->setText(searchText);
    switch (checkSearchText(searchText)) {
    case TextSearchCheck::Empty:
        Text1->setFocus();
        return;
    case TextSearchCheck::TooManyWords:
        return;
    case TextSearchCheck::Ok:
        break;
    }
    shared.FoldMatch = Check2->isChecked() ? 0 : FlagSet;
    shared.SearchZipCode.clear();
    runSearch();
}

void Zen_Kensaku::postalCodeSearch() {
    trimBox(*Text2);
    const std::optional<QString> key = postalCodeKey(Text2->text());
    if (!key) {
        Text2->setFocus();
        return;
    }
    shared.SearchZipCode = *key;
    runSearch();
}

void Zen_Kensaku::runSearch() {
    Label3->clear();
    List1->clear();
    found = ScanResult();
    // What the pass searches for, trimmed as it is taken.
    trimBox(*Text1);
    shared.SearchZipCode = text::trimmed(shared.SearchZipCode);
    ScanRequest request;
    request.text = Text1->text();
    request.zipKey = shared.SearchZipCode;
    request.fold = shared.FoldMatch == FlagSet;
    request.includeOffices = Check1->isChecked();
    UBIN_Sort& scan = owner.ubinSort();
    const QMetaObject::Connection counting =
        connect(&scan, &UBIN_Sort::rowsCounted, this, [this](qsizetype rows) {
            setAutoSizedCaption(*Label3, countCaption(rows));
            Label3->repaint();
        });
    found = scan.run(request);
    disconnect(counting);
    List1->addItems(found.rows);
    SetListHorizontalExtent(*List1);
    setAutoSizedCaption(*Label3, countCaption(List1->count()));
    if (List1->count() > 0) {
        List1->setEnabled(true);
    } else {
        List1->setPalette(QPalette());
        showIdleLine();
    }
}

const PostalRecord* Zen_Kensaku::selectedRecord() const {
    const std::optional<int> row = List1->selectedRow();
    return row ? found.recordOf(*row) : nullptr;
}

void Zen_Kensaku::onResultMousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    pressedButton = button;
    shared.BarZipCode.clear();
    LastShift = shiftState(modifiers);
    if (button != Qt::RightButton || !isGestureShift(LastShift))
        return;
    // The barcode of the row selected before the click.
    const PostalRecord* record = selectedRecord();
    if (!record)
        return;
    owner.openBarcode(resultBarZipCode(*record), resultMapAddress(*record).value_or(QString()));
}

void Zen_Kensaku::onResultDoubleClicked() {
    if (!takeDoubleClickGesture(LastShift) || pressedButton != Qt::LeftButton)
        return;
    // Rows are addresses whatever the main window handed over last.
    shared.MapAddress.clear();
    shared.MapMode = MapModeAddress;
    const PostalRecord* record = selectedRecord();
    const std::optional<QString> address = record ? resultMapAddress(*record) : std::nullopt;
    if (!address)
        return;
    owner.openMapSearch(*address, MapModeAddress);
}

void Zen_Kensaku::onResultKeyPressed(QKeyEvent* event) {
    if (!takeKeyGesture(event->key(), event->modifiers(), event->text(), LastShift, LastKeyCode))
        return;
    const PostalRecord* record = selectedRecord();
    if (!record)
        return; // the clipboard keeps what it held
    const QString copied = resultCopyText(*record);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(copied);
    platform.messages->show(MessageIcon::Exclamation, CopyMessageTitle,
                            copyConfirmationText(copied), MessageButtons::Ok);
}

bool Zen_Kensaku::queryUnload() {
    shared.LastSearchText = text::trimmed(Text1->text());
    shared.LastSearchZip = text::trimmed(Text2->text());
    return true;
}

void Zen_Kensaku::unload() {
    owner.setMainWindowShown(true);
}

} // namespace yubin
