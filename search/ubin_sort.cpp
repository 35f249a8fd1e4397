#include "search/ubin_sort.h"

#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/widgets.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"
#include "search/zen_kensaku.h"

#include <QApplication>

namespace yubin {

UBIN_Sort::UBIN_Sort(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("UBIN_Sort"));
    setWindowTitle(QStringLiteral(" 検索中"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(3195), twipsToPixels(1515));

    Label1 = new QLabel(QStringLiteral("神奈川県　検索中"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(360, 240, 2415, 270));
    Label1->setFont(makeGothicFont(12, true));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameShape(QFrame::Box);
    setColours(*Label1, ColourBlue, ColourLightYellow);

    Label2 = new QLabel(QStringLiteral("MAX 10000件"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(twipsRect(1080, 600, 1050, 180));
    Label2->resize(Label2->size().expandedTo(Label2->sizeHint())); // its 件 too

    Command1 = new QPushButton(QStringLiteral("検索中止"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(840, 840, 1455, 495));
    connect(Command1, &QPushButton::clicked, this, [this] { AbortFlag = FlagSet; });

    // The pass starts a moment after the window is on screen.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &UBIN_Sort::runPass);
}

void UBIN_Sort::load() {
    AbortFlag = 0;
    Timer1->stop();
}

bool UBIN_Sort::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !passRunning && !passDone)
        Timer1->start();
    return LoadableDialog::event(e);
}

bool UBIN_Sort::queryUnload() {
    // Closing the window while the pass runs acts as the stop button; the
    // pass then closes it with the rows found so far.
    if (passRunning) {
        AbortFlag = FlagSet;
        return false;
    }
    return true;
}

void UBIN_Sort::sourceStarted(const QString& caption) {
    Label1->setText(caption);
}

void UBIN_Sort::yieldNow(qsizetype rowsSoFar) {
    Zen_Kensaku& search = owner.zenKensaku();
    setAutoSizedCaption(*search.Label3, countCaption(rowsSoFar));
    search.Label3->repaint();
    emit passYielded();
    QCoreApplication::processEvents();
}

void UBIN_Sort::runPass() {
    if (passRunning || passDone)
        return;
    passRunning = true;
    Timer1->stop();
    Zen_Kensaku& search = owner.zenKensaku();
    search.Text1->setText(text::trimmed(search.Text1->text()));
    shared.SearchZipCode = text::trimmed(shared.SearchZipCode);

    ScanRequest request;
    request.text = search.Text1->text();
    request.zipKey = shared.SearchZipCode;
    request.fold = shared.FoldMatch == FlagSet;
    request.includeOffices = search.Check1->isChecked();

    AbortFlag = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ScanResult result =
        runScan(request, owner.dataFolder(), owner.scanCache(), *platform.clock, *this);
    search.List1->addItems(result.rows);
    AbortFlag = 0;
    QApplication::restoreOverrideCursor();
    passRunning = false;
    passDone = true;
    close();
}

} // namespace yubin
