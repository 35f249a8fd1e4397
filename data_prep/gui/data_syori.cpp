#include "data_prep/gui/data_syori.h"

#include "foundation/settings.h"
#include "foundation/text.h"
#include "foundation/utilities.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace yubin {

namespace {

const QColor LinkBlue(0, 0, 255);
const QColor LightYellow(255, 255, 192);

} // namespace

// The window as the runs see it: the busy controls, the caption over the
// picture, the yields and the abort button.
class Data_Syori::Host final : public RunHost {
public:
    explicit Host(Data_Syori& window) : w(window) {}
    void started(RunKind kind) override {
        w.Command1->setEnabled(false);
        w.Command2->setEnabled(false);
        w.Command3->setEnabled(false);
        w.Command6->setEnabled(false);
        if (kind == RunKind::Nationwide) {
            w.Command4->hide();
            w.Command5->show();
        } else {
            w.Command4->setEnabled(false);
        }
        w.Label3->show();
        w.Text1->setFocus();
        w.BusyFlag = 1;
        w.setBusyCursor(true);
    }
    void progress(const QString& caption, qint64) override {
        if (w.Label3->text() == caption)
            return;
        w.Label3->setText(caption);
        w.Label3->repaint();
    }
    void writing() override {
        w.Command5->hide();
        w.Command4->setEnabled(false);
        w.Command4->show();
    }
    bool shouldStop() override {
        QCoreApplication::processEvents();
        return w.AbortFlag == FlagSet;
    }
    void pause(double seconds) override { WaitSeconds(float(seconds), *w.platform.clock); }

private:
    Data_Syori& w;
};

Data_Syori::Data_Syori(WindowOwner& windowOwner)
    : LoadableDialog(windowOwner), work(WorkFolders::standard()) {
    setObjectName(QStringLiteral("Data_Syori"));
    setWindowTitle(QStringLiteral(" 郵便番号ﾃﾞｰﾀ処理"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(5520), twipsToPixels(5580));
    createControls();
}

Data_Syori::~Data_Syori() {
    setBusyCursor(false);
}

void Data_Syori::createControls() {
    Label2[1] = new QLabel(QStringLiteral("ｲﾝﾀｰﾈｯﾄでﾀﾞｳﾝﾛｰﾄﾞ (ZIPﾌｧｲﾙ)"), this);
    Label2[1]->setGeometry(twipsRect(360, 240, 2520, 180));

    Image1 = new ClickableLabel(this);
    Image1->setGeometry(twipsRect(360, 480, 4860, 2940));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/yubin/download_menu.png")));
    Image1->setCursor(Qt::PointingHandCursor);
    connect(Image1, &ClickableLabel::clicked, this, [this] { openPage(DownloadPagePath); });

    const QRect label5Places[2] = {twipsRect(720, 1800, 1935, 375),
                                   twipsRect(600, 2280, 2295, 375)};
    const QString label5Pages[2] = {AddressPagePath, OfficePagePath};
    const QRect label4Places[2] = {twipsRect(120, 1920, 210, 195), twipsRect(120, 2400, 210, 195)};
    const QString label4Archives[2] = {NationwideArchivePath, OfficeArchivePath};
    for (int i = 0; i < 2; ++i) {
        Label5[i] = new ClickableLabel(this); // no caption: transparent over the picture
        Label5[i]->setGeometry(label5Places[i]);
        Label5[i]->setCursor(Qt::PointingHandCursor);
        const QString page = label5Pages[i];
        connect(Label5[i], &ClickableLabel::clicked, this, [this, page] { openPage(page); });

        Label4[i] = new ClickableLabel(this);
        Label4[i]->setText(QStringLiteral("◎"));
        Label4[i]->setGeometry(label4Places[i]);
        Label4[i]->setToolTip(PostalServiceHost + label4Archives[i]);
        Label4[i]->setCursor(Qt::PointingHandCursor);
        setColours(*Label4[i], LinkBlue);
        const QString archive = label4Archives[i];
        connect(Label4[i], &ClickableLabel::clicked, this, [this, archive] { openPage(archive); });
    }

    Label3 = new QLabel(QStringLiteral("解凍中 01"), this);
    Label3->setGeometry(twipsRect(720, 1680, 4275, 555));
    Label3->setAlignment(Qt::AlignCenter);
    setColours(*Label3, LinkBlue, LightYellow);
    Label3->hide();

    // An etched separator: a dark line with a light one below it.
    const QColor lineColours[2] = {QColor(128, 128, 128), QColor(255, 255, 255)};
    const int lineTops[2] = {3600, 3615};
    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setGeometry(twipsToPixels(120), twipsToPixels(lineTops[i]),
                              twipsToPixels(5400 - 120), 1);
        setColours(*Line1[i], QColor(), lineColours[i]);
    }

    Label2[0] = new QLabel(QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙ(ZIP/LZH)のﾌｫﾙﾀﾞ名"), this);
    Label2[0]->setGeometry(twipsRect(240, 3840, 3780, 180)); // room for "ZIP/LZH"

    Command1 = new QPushButton(QStringLiteral("参照"), this);
    Command1->setGeometry(twipsRect(4080, 3780, 975, 300));
    connect(Command1, &QPushButton::clicked, this, &Data_Syori::chooseFolder);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 4080, 5100, 225));
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setAutoFillBackground(true);

    Command4 = new QPushButton(QStringLiteral("全国一括"), this);
    // Four buttons share the row the three of the first version had.
    Command4->setGeometry(twipsRect(360, 4560, 1215, 735));
    Command4->setToolTip(QStringLiteral("「全国一括」、「事業所」ﾌｧｲﾙを解凍して分割ﾃﾞｰﾀ化"));
    connect(Command4, &QPushButton::clicked, this, &Data_Syori::startNationwide);

    Command5 = new QPushButton(QStringLiteral("中止"), this);
    Command5->setGeometry(twipsRect(360, 4560, 1215, 735));
    connect(Command5, &QPushButton::clicked, this, [this] { AbortFlag = FlagSet; });

    Command2 = new QPushButton(QStringLiteral("都道府県"), this);
    Command2->setGeometry(twipsRect(1620, 4560, 1215, 735));
    Command2->setToolTip(QStringLiteral("「都道府県」別、「事業所」ﾌｧｲﾙを解凍してﾃﾞｰﾀ化"));
    connect(Command2, &QPushButton::clicked, this, &Data_Syori::startPrefectures);

    Command6 = new QPushButton(QStringLiteral("更新"), this);
    Command6->setGeometry(twipsRect(2880, 4560, 1215, 735));
    Command6->setToolTip(QStringLiteral("毎月の差分ﾌｧｲﾙ（add・del）でﾃﾞｰﾀを更新"));
    connect(Command6, &QPushButton::clicked, this, &Data_Syori::startUpdate);

    Command3 = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    Command3->setGeometry(twipsRect(4140, 4560, 1035, 735));
    Command3->setToolTip(QStringLiteral("閉じる"));
    connect(Command3, &QPushButton::clicked, this, &QWidget::close);

    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipsRect(4560, 12000, 150, 270));

    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5, Command6})
        button->setAutoDefault(false);
}

void Data_Syori::load() {
    Label1->clear();
    Label3->hide();
    BusyFlag = 0;
    AbortFlag = 0;
    DataDateParts = QStringList(8);
    Command5->move(Command5->x(), twipsToPixels(4560));
    Command5->hide();
    work.create();
}

void Data_Syori::setWorkFolders(const WorkFolders& folders) {
    work = folders;
    work.create();
}

void Data_Syori::showEvent(QShowEvent* event) {
    // Each opening shows the folder last saved. (Not on every activation:
    // returning from a message box or the folder dialog must keep the
    // caption the user just chose.)
    Label1->setText(readSetting(SettingKey::DataDir));
    LoadableDialog::showEvent(event);
}

bool Data_Syori::queryUnload() {
    return BusyFlag == 0;
}

void Data_Syori::unload() {
    setBusyCursor(false);
    writeSetting(SettingKey::DataDir, Label1->text());
    work.removeEmpty();
}

void Data_Syori::openPage(const QString& path) {
    platform.web->OpenWebPage(PostalServiceHost + path);
}

void Data_Syori::chooseFolder() {
    const QString current = text::trimmed(Label1->text());
    const QString start = current.isEmpty() ? QDir::homePath() : current;
    QString chosen = platform.folders->chooseFolder(FolderBrowserTitle, start);
    if (chosen.isEmpty())
        return;
    chosen = QDir::toNativeSeparators(text::trimmed(chosen));
    if (!chosen.endsWith(QDir::separator()))
        chosen += QDir::separator();
    Label1->setText(chosen);
}

PrepFolders Data_Syori::prepFolders() const {
    return {Label1->text(), owner.dataFolder().path(), work};
}

QStringList Data_Syori::prefectureNames() const {
    return shared.PrefectureNames.size() > PrefectureCount ? shared.PrefectureNames
                                                           : makePrefectureNames();
}

void Data_Syori::startPrefectures() {
    BusyFlag = 0;
    Label1->setText(text::trimmed(Label1->text()));
    Host host(*this);
    const RunOutcome outcome =
        runPrefectures(prepFolders(), prefectureNames(), host, *platform.messages);
    finishRun(RunKind::Prefectures, outcome);
}

void Data_Syori::startNationwide() {
    BusyFlag = 0;
    AbortFlag = 0;
    Label1->setText(text::trimmed(Label1->text()));
    DataDateParts = QStringList(8);
    Host host(*this);
    const RunOutcome outcome =
        runNationwide(prepFolders(), prefectureNames(), host, *platform.messages, *platform.clock);
    finishRun(RunKind::Nationwide, outcome);
}

void Data_Syori::startUpdate() {
    using Status = UpdateOutcome::Status;
    BusyFlag = 0;
    Label1->setText(text::trimmed(Label1->text()));
    Host host(*this);
    const UpdateOutcome outcome =
        runUpdate(prepFolders(), prefectureNames(), host, *platform.messages);
    switch (outcome.status) {
    case Status::NoFolder:
        Command1->setFocus(); // a folder has to be chosen first
        return;
    case Status::Cancelled:
        return;
    case Status::Refused:
        platform.messages->show(MessageIcon::Exclamation, UpdateTitle, outcome.message,
                                MessageButtons::Ok);
        return;
    case Status::Failed:
        restoreIdle();
        platform.messages->show(MessageIcon::Exclamation, UpdateTitle, ErrorPrefix + outcome.error,
                                MessageButtons::Ok);
        BusyFlag = 0;
        return;
    case Status::Completed:
        break;
    }
    restoreIdle();
    platform.messages->show(MessageIcon::Exclamation, UpdateTitle, outcome.report,
                            MessageButtons::Ok);
    emit dataReplaced();
    BusyFlag = 0;
    close();
}

void Data_Syori::setBusyCursor(bool busy) {
    if (busy == busyCursor)
        return;
    busyCursor = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Data_Syori::restoreIdle() {
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command6})
        button->setEnabled(true);
    Command4->show();
    Command5->hide();
    Label3->hide();
    setBusyCursor(false);
}

void Data_Syori::finishRun(RunKind kind, const RunOutcome& outcome) {
    using Status = RunOutcome::Status;
    switch (outcome.status) {
    case Status::NoFolder:
        Command1->setFocus(); // a folder has to be chosen first
        return;
    case Status::Cancelled:
        return;
    case Status::Aborted:
    case Status::CsvMissing:
        restoreIdle();
        BusyFlag = 0;
        return;
    case Status::Failed:
    case Status::Completed:
        break;
    }
    restoreIdle();
    if (kind == RunKind::Nationwide && outcome.status == Status::Completed)
        Command4->setFocus();
    for (const FinalMessage& message : finalMessages(kind, outcome))
        platform.messages->show(MessageIcon::Exclamation, message.title, message.text,
                                MessageButtons::Ok);
    // Whatever reached the data folder, even before a failure, must be read
    // anew: the lists would otherwise keep showing the old data.
    if (placedAnything(outcome))
        emit dataReplaced();
    BusyFlag = 0;
    if (outcome.status == Status::Failed)
        return;
    if (outcome.placed < 1)
        Command3->setFocus();
    else
        close();
}

} // namespace yubin
