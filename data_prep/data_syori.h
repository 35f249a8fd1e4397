#pragma once

#include "data_prep/work_folders.h"
#include "main_window/loadable_dialog.h"

#include <QLabel>

namespace yubin {

// The data preparation window: download links, the download folder, and the
// runs that turn downloaded archives into data files.
class Data_Syori : public LoadableDialog {
    Q_OBJECT
public:
    explicit Data_Syori(WindowOwner& owner);
    void load() override;

    QLabel* Label1; // the download folder

    const WorkFolders& workFolders() const { return work; }

protected:
    void unload() override;

private:
    WorkFolders work;
};

} // namespace yubin
