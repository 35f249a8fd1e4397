#include "foundation/gui/loadable_dialog.h"

namespace yubin {

LoadableDialog::LoadableDialog(WindowOwner& windowOwner)
    : QDialog(nullptr), owner(windowOwner), platform(windowOwner.platform()),
      shared(windowOwner.shared()) {}

void LoadableDialog::closeEvent(QCloseEvent* event) {
    if (!queryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (isVisible())
        QDialog::done(QDialog::Rejected); // ends a running exec()
    finish();
}

void LoadableDialog::done(int result) {
    // Escape and accept() end here without a close event.
    if (!finished && !queryUnload())
        return;
    QDialog::done(result);
    finish();
}

void LoadableDialog::finish() {
    if (finished)
        return;
    finished = true;
    unload();
    owner.forget(this);
}

} // namespace yubin
