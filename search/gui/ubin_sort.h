#pragma once

#include "foundation/gui/loadable_dialog.h"
#include "search/scan.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace yubin {

// The modal progress window of one full search pass: it names the source
// being read, offers the stop button, counts the rows found as it goes,
// and gives back what the pass found when it ends.
class UBIN_Sort : public LoadableDialog, private ScanObserver {
    Q_OBJECT
public:
    explicit UBIN_Sort(WindowOwner& owner);
    void load() override;

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
    QTimer* Timer1;

    qint16 AbortFlag = 0;

    // Shows the window modally, runs the pass once it is on screen, and
    // returns what it found (nothing when the window closed before the
    // pass began).
    ScanResult run(const ScanRequest& request);

signals:
    // The running count of rows, at each yield of the pass.
    void rowsCounted(qsizetype rows);
    // The pass let the window breathe: it repainted and took a stop request.
    void passYielded();

protected:
    bool event(QEvent* event) override;
    bool queryUnload() override;

private:
    void runPass();
    void sourceStarted(const QString& caption) override;
    void yieldNow(qsizetype rowsSoFar) override;
    bool stopRequested() override { return AbortFlag == FlagSet; }

    ScanRequest pending;
    ScanResult found;
    bool passRunning = false;
    bool passDone = false;
};

} // namespace yubin
