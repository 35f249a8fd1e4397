#include "main_window/gui/yubin_main.h"

#include "foundation/data_file.h"
#include "foundation/gui/desktop_platform.h"
#include "foundation/single_instance.h"
#include "foundation/text.h"
#include "foundation/utilities.h"
#include "main_window/list_actions.h"
#include "main_window/main_layout.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTimer>

namespace yubin {

namespace {

// The outer frame the twips sizes include: a sizable border and a caption.
constexpr int FrameWidthPx = 8;
constexpr int FrameHeightPx = 30;

} // namespace

Yubin_Main::Yubin_Main(WindowOwner& windowOwner) : QWidget(nullptr), owner(windowOwner) {
    setObjectName(QStringLiteral("Yubin_Main"));
    setWindowTitle(QStringLiteral("〒　郵便番号検索"));
    setWindowIcon(QIcon(QStringLiteral(":/yubin/icon.svg")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    createControls();
}

Yubin_Main::~Yubin_Main() = default;

void Yubin_Main::createControls() {
    auto list = [this](const char* name, QRect geometry) {
        auto* l = new ExtentListWidget(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(geometry);
        l->setFont(makeGothicFont(9.75));
        return l;
    };
    List1 = list("List1", twipsRect(120, 720, 1335, 8835));
    List2 = list("List2", twipsRect(1560, 720, 4695, 8835));
    List3 = list("List3", twipsRect(6360, 720, 6600, 8805));

    Option1[0] = new QRadioButton(QStringLiteral("都道府県"), this);
    Option1[0]->setObjectName(QStringLiteral("Option1_0"));
    Option1[0]->setGeometry(twipsRect(240, 240, 1095, 255));
    Option1[1] = new QRadioButton(QStringLiteral("大口事業所"), this);
    Option1[1]->setObjectName(QStringLiteral("Option1_1"));
    Option1[1]->setGeometry(twipsRect(1440, 240, 1335, 255));

    Command2 = new QPushButton(QStringLiteral("全検索"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(3240, 160, 1095, 350));

    Label2 = new QLabel(QStringLiteral("検索中"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(twipsRect(3240, 240, 1515, 270));
    Label2->setFont(makeGothicFont(12, true));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFrameShape(QFrame::Box);
    setColours(*Label2, QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0xFF, 0xC0));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(6360, 120, 1815, 270));
    Text1->setFont(makeGothicFont(9));

    Command1 = new QPushButton(QStringLiteral("検索"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(8160, 120, 615, 255));

    auto label = [this](const char* name, QRect geometry, double points) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(geometry);
        if (points > 0)
            l->setFont(makeGothicFont(points));
        return l;
    };
    Label1[0] = label("Label1_0", twipsRect(5520, 480, 540, 180), 9);
    Label1[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setColours(*Label1[0], QColor(0x00, 0x00, 0xFF));
    Label1[1] = label("Label1_1", twipsRect(12360, 480, 450, 180), 9);
    setColours(*Label1[1], QColor(0x00, 0x00, 0xFF));
    Label3 = label("Label3", twipsRect(5880, 120, 720, 195), 0);
    Label3->setFont(makeGothicFont(9.75, true));
    setColours(*Label3, QColor(0xFF, 0x00, 0x00));
    Label4 = label("Label4", twipsRect(10800, 180, 540, 180), 9);

    // Labels that act as buttons: blue on light yellow in a box.
    auto buttonLabel = [this](const char* name, const QString& text, const QRect& rect) {
        auto* l = new ClickableLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setText(text);
        l->setGeometry(rect);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        l->setCursor(Qt::PointingHandCursor);
        setColours(*l, QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0xFF, 0xC0));
        return l;
    };
    Label5 =
        buttonLabel("Label5", QStringLiteral("郵便番号ﾀﾞｳﾝﾛｰﾄﾞ"), twipsRect(9120, 165, 1575, 210));

    Label6 = label("Label6", twipsRect(6360, 480, 5940, 195), 9);

    // In the gap between 全検索 (with 検索中 in its place while a file loads)
    // and the missing-file message, above the municipality count: it moves
    // none of the window's other controls.
    Label8 = buttonLabel("Label8", QStringLiteral("宛名ラベル"), twipsRect(4800, 165, 1035, 210));

    Label7 = new ClickableLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(twipsRect(12960, 9560, 800, 200));

    // Lies outside the window: it takes the focus while a file loads.
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twipsRect(52800, 15000, 150, 270));

    setTabOrder(List1, List2);
    setTabOrder(List2, List3);
    setTabOrder(List3, Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Command2);
    setTabOrder(Command2, Text1);
    setTabOrder(Text1, Command1);

    connect(Option1[0], &QRadioButton::clicked, this, &Yubin_Main::onOptionClicked);
    connect(Option1[1], &QRadioButton::clicked, this, &Yubin_Main::onOptionClicked);
    connect(Command2, &QPushButton::clicked, this, &Yubin_Main::onSearchAllClicked);
    connect(Label5, &ClickableLabel::clicked, this, &Yubin_Main::onDownloadClicked);
    connect(Label8, &ClickableLabel::clicked, this, &Yubin_Main::onAddressLabelsClicked);
    connect(Label7, &ClickableLabel::doubleClicked, this,
            &Yubin_Main::onSampleBarcodeDoubleClicked);
    connect(List1, &ExtentListWidget::chosen, this, &Yubin_Main::onPrefectureChosen);
    connect(List2, &ExtentListWidget::chosen, this, &Yubin_Main::onMunicipalityChosen);
    for (ExtentListWidget* list : {List2, List3})
        connect(list, &ExtentListWidget::mousePressed, this,
                [this, list](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                    onListMousePressed(list, button, modifiers);
                });
    connect(List2, &QListWidget::doubleClicked, this, &Yubin_Main::onMunicipalityDoubleClicked);
    connect(List3, &QListWidget::doubleClicked, this, &Yubin_Main::onTownDoubleClicked);
    connect(List3, &ExtentListWidget::keyPressed, this, &Yubin_Main::onTownKeyPressed);
    connect(Command1, &QPushButton::clicked, this, &Yubin_Main::onTownSearch);
    connect(Text1, &QLineEdit::returnPressed, this, [this] {
        if (!Text1->text().isEmpty())
            onTownSearch();
    });
    Text1->installEventFilter(this);
}

bool Yubin_Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, Text1, &QLineEdit::selectAll); // after the click places the caret
    return QWidget::eventFilter(watched, event);
}

bool Yubin_Main::tallScreen() const {
    return owner.platform().screen->heightTwips() > CompactScreenBelowTwips;
}

void Yubin_Main::onPrefectureChosen() {
    const QListWidgetItem* item = List1->currentItem();
    if (!item)
        return;
    const SharedValues& values = owner.shared();
    SelectedPrefecture = qint16(values.PrefectureNames.indexOf(item->text(), 1));
    if (SelectedPrefecture < 1)
        return;
    for (QLabel* label : {Label1[0], Label1[1], Label3, Label4, Label6})
        label->clear();
    List2->clear();
    List3->clear();
    List2->setEnabled(true);
    List3->setEnabled(true);
    Text1->hide();
    Command1->hide();
    Command2->hide();
    CurrentMunicipality.clear();

    const BrowseMode browseMode = mode();
    QString path = browseFilePath(owner.dataFolder(), browseMode, SelectedPrefecture);
    if (!FileExists(path)) {
        setAutoSizedCaption(*Label3, MissingDataFile);
        return;
    }
    if (tallScreen())
        setAutoSizedCaption(*Label4, dataDateText(QFileInfo(path).lastModified()));

    // The busy label stands where the hidden "全検索" button was while the
    // file is read; the focus waits in the hidden box.
    Text2->setFocus();
    Label2->show();
    Label2->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const std::optional<QString> text = readDecodedFile(path);
    if (!text) {
        // A file that vanished or cannot be read ends the load silently.
        endLoad();
        return;
    }
    LoadedRecords loaded =
        loadRecords(*text, browseMode, values.PrefectureNames.at(SelectedPrefecture), CsvReader);
    const QStringList lines = municipalityListLines(loaded, browseMode);
    RecordTable = std::move(loaded.records);
    MunicipalityTable = std::move(loaded.municipalities);

    List2->setFont(makeGothicFont(browseMode == BrowseMode::Prefecture ? 10 : 9));
    List2->addItems(lines);
    SetListHorizontalExtent(*List2);
    endLoad();
    setAutoSizedCaption(*Label1[0], countCaption(List2->count()));
}

void Yubin_Main::endLoad() {
    List1->setEnabled(true);
    QApplication::restoreOverrideCursor();
    Label2->hide();
    Command2->show();
}

void Yubin_Main::onMunicipalityChosen() {
    if (List2->count() == 0)
        return;
    CurrentMunicipality.clear();
    const QListWidgetItem* item = List2->currentItem();
    if (!item)
        return;
    if (mode() == BrowseMode::BusinessOffice) {
        List3->clear();
        const OfficeList offices = officesNamed(RecordTable, officeOfLine(item->text()));
        if (offices.lines.isEmpty())
            return;
        List3->addItems(offices.lines);
        setAutoSizedCaption(*Label1[1], countCaption(List3->count()));
        SetListHorizontalExtent(*List3);
        Label6->setFont(makeGothicFont(officeHeadingPointSize(offices.reading.size())));
        const QString heading = tallScreen() ? offices.reading : QString();
        setAutoSizedCaption(*Label6, heading);
        Label6->setToolTip(heading);
        return;
    }
    const QString municipality = municipalityOfLine(item->text());
    Label1[1]->clear();
    List3->clear();
    const TownList towns = townsOfMunicipality(RecordTable, municipality);
    List3->addItems(towns.lines);
    CurrentMunicipality = towns.currentMunicipality;
    Label6->setToolTip(QString());
    Label6->setFont(makeGothicFont(9));
    setAutoSizedCaption(*Label6,
                        owner.shared().PrefectureNames.at(SelectedPrefecture) + towns.heading);
    Text1->setVisible(List3->count() > 1);
    Command1->setVisible(List3->count() > 1);
    SetListHorizontalExtent(*List3);
    setAutoSizedCaption(*Label1[1], countCaption(List3->count()));
}

void Yubin_Main::onTownSearch() {
    const QString searchText = text::trimmed(Text1->text());
    Text1->setText(searchText);
    if (searchText.isEmpty()) {
        Text1->setFocus();
        return;
    }
    CurrentMunicipality = text::trimmed(CurrentMunicipality);
    if (CurrentMunicipality.isEmpty())
        return;
    List3->clear();
    List3->addItems(searchTowns(RecordTable, CurrentMunicipality, searchText));
    SetListHorizontalExtent(*List3);
    setAutoSizedCaption(*Label1[1], countCaption(List3->count()));
}

void Yubin_Main::onListMousePressed(ExtentListWidget* list, Qt::MouseButton button,
                                    Qt::KeyboardModifiers modifiers) {
    pressedButton = button;
    LastShift = shiftState(modifiers);
    if (list != List3 || button != Qt::RightButton || !isGestureShift(LastShift))
        return;
    // Shift or Ctrl with the right button: the barcode of the line selected
    // before the click.
    SharedValues& values = owner.shared();
    values.BarZipCode = townBarZipCode(List3->selectedLine().value_or(QString()));
    if (values.BarZipCode.isEmpty())
        return;
    // The line's address, so that only the block and lot remain to be added.
    owner.openBarcode(values.BarZipCode,
                      townMapAddress(List3->selectedLine().value_or(QString()),
                                     values.PrefectureNames.value(SelectedPrefecture))
                          .value_or(QString()));
}

void Yubin_Main::onMunicipalityDoubleClicked() {
    SharedValues& values = owner.shared();
    values.MapMode = MapModeAddress;
    if (!takeDoubleClickGesture(LastShift) || pressedButton != Qt::LeftButton)
        return;
    values.MapAddress.clear();
    const std::optional<MapRequest> request =
        municipalityMapRequest(List2->selectedLine().value_or(QString()), mode());
    if (request)
        openMapSearch(request->address, request->mode);
}

void Yubin_Main::onTownDoubleClicked() {
    owner.shared().MapMode = MapModeAddress;
    if (!takeDoubleClickGesture(LastShift) || pressedButton != Qt::LeftButton)
        return;
    const std::optional<QString> address =
        townMapAddress(List3->selectedLine().value_or(QString()),
                       owner.shared().PrefectureNames.value(SelectedPrefecture));
    if (address)
        openMapSearch(*address, MapModeAddress);
}

void Yubin_Main::openMapSearch(const QString& address, int mapMode) {
    owner.openMapSearch(address, mapMode);
}

void Yubin_Main::onTownKeyPressed(QKeyEvent* event) {
    if (!takeKeyGesture(event->key(), event->modifiers(), event->text(), LastShift, LastKeyCode))
        return;
    const std::optional<QString> copied =
        townCopyText(List3->selectedLine().value_or(QString()), mode());
    if (!copied)
        return; // the clipboard keeps what it held
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(*copied);
    owner.platform().messages->show(MessageIcon::Exclamation, CopyMessageTitle,
                                    copyConfirmationText(*copied), MessageButtons::Ok);
}

void Yubin_Main::applyLayout() {
    const Platform& env = owner.platform();
    const MainLayout l = mainLayout(env.screen->widthTwips(), env.screen->heightTwips(),
                                    VersionMajor, VersionMinor, VersionRevision);
    setWindowTitle(l.caption);
    defaultSize = QSize();
    setMinimumSize(0, 0);
    resize(twipsToPixels(l.windowWidth) - FrameWidthPx,
           twipsToPixels(l.windowHeight) - FrameHeightPx);
    move(twipsToPixels(l.windowLeft), twipsToPixels(l.windowTop));
    List1->resize(List1->width(), twipsToPixels(l.list1Height));
    List2->resize(List2->width(), twipsToPixels(l.list1Height));
    List3->resize(twipsToPixels(l.list3Width), twipsToPixels(l.list3Height));
    defaultSize = size();
    extraApplied = QSize(0, 0);
    setMinimumSize(defaultSize);
}

void Yubin_Main::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!defaultSize.isValid())
        return;
    const QSize extra = (size() - defaultSize).expandedTo(QSize(0, 0));
    const int dw = extra.width() - extraApplied.width();
    const int dh = extra.height() - extraApplied.height();
    const int dw2 = extra.width() / 3 - extraApplied.width() / 3; // List2's share
    extraApplied = extra;
    if (dw == 0 && dh == 0)
        return;
    auto grow = [](QWidget* w, int x, int width, int height) {
        w->setGeometry(w->x() + x, w->y(), w->width() + width, w->height() + height);
    };
    grow(List1, 0, 0, dh);
    grow(List2, 0, dw2, dh);
    grow(List3, dw2, dw - dw2, dh);
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Command1, Label1[0], Label3, Label4,
                                                      Label5, Label6})
        w->move(w->x() + dw2, w->y());
    Label1[1]->move(Label1[1]->x() + dw, Label1[1]->y());
    Label7->move(Label7->x() + dw, Label7->y() + dh);
}

bool Yubin_Main::load(const QString& lockPath) {
    // 1. One running program per user. A second start asks the running one
    // to bring its window back, for a user who lost it, and ends.
    instance = std::make_unique<SingleInstance>(lockPath);
    if (!instance->acquire()) {
        SingleInstance::askToRaise(lockPath);
        return false;
    }
    instance->listenForRaise([this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    });
    // 2, 3. Caption and layout for the screen.
    applyLayout();
    // 4. Prefecture mode; its click puts the lists into the idle state.
    Option1[0]->setChecked(true);
    onOptionClicked();
    // 5.
    SharedValues& shared = owner.shared();
    shared.LastSearchText.clear();
    shared.LastSearchZip.clear();
    // 6.
    Label1[0]->clear();
    Label1[1]->clear();
    Label2->hide();
    Label3->clear();
    Label4->clear();
    Label6->clear();
    Text1->clear();
    Text1->hide();
    Command1->hide();
    LastShift = 0;
    LastKeyCode = 0;
    CurrentMunicipality.clear();
    // 7. Loads the data preparation window without showing it; its load
    // empties the download-folder label and creates the work folders.
    owner.loadDataPreparation();
    // 8, 9.
    shared.PrefectureNames = makePrefectureNames();
    List1->clear();
    for (int i = 1; i <= PrefectureCount; ++i)
        List1->addItem(shared.PrefectureNames.at(i));
    // 10. A failure leaves every lookup without a file; nothing more.
    owner.dataFolder().ensureExists();
    // 11. Loads the full search window without showing it; its load
    // empties its search box from the LastSearchText cleared above.
    owner.loadFullSearch();
    return true;
}

void Yubin_Main::resetToIdle() {
    for (ExtentListWidget* list : {List2, List3}) {
        list->clear();
        list->addItem(IdleListLine);
        list->setEnabled(false);
    }
    Text1->hide();
    Command1->hide();
    Label1[0]->clear();
    Label1[1]->clear();
    Label3->clear();
    Label4->clear();
    Label6->clear();
    Label6->setToolTip(QString());
}

void Yubin_Main::onOptionClicked() {
    resetToIdle();
}

void Yubin_Main::onSearchAllClicked() {
    owner.openFullSearch();
}

void Yubin_Main::onDownloadClicked() {
    owner.openDataPreparation();
}

void Yubin_Main::onSampleBarcodeDoubleClicked() {
    owner.openBarcode(SampleBarZipCode, QString(), SampleAddressNumber);
}

void Yubin_Main::onAddressLabelsClicked() {
    owner.openAddressLabels();
}

void Yubin_Main::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever else is open.
    owner.closeAll();
    event->accept();
    QApplication::quit();
}

} // namespace yubin
