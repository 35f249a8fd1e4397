#pragma once

#include "foundation/gui/window_owner.h"

#include <QCloseEvent>
#include <QDialog>

namespace yubin {

// A window of the program other than the main window. Its load runs once
// when the owner creates it; closing it in any way unloads it.
class LoadableDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadableDialog(WindowOwner& owner);
    virtual void load() {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    // Asked before any close; false keeps the window open.
    virtual bool queryUnload() { return true; }
    virtual void unload() {}

    WindowOwner& owner;
    const Platform& platform;
    SharedValues& shared;

private:
    void finish();
    bool finished = false;
};

} // namespace yubin
