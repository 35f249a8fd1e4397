#pragma once

#include "main_window/loadable_dialog.h"
#include "search/scan.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace yubin {

// The modal progress window of one full search pass: it names the source
// being read, offers the stop button, and hands the rows to the search
// window when the pass ends.
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

signals:
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

    bool passRunning = false;
    bool passDone = false;
};

} // namespace yubin
