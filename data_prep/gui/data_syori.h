#pragma once

#include "data_prep/monthly_update.h"
#include "data_prep/postal_links.h"
#include "data_prep/prep_runs.h"
#include "data_prep/work_folders.h"
#include "foundation/gui/loadable_dialog.h"
#include "foundation/gui/widgets.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace yubin {

inline const QString FolderBrowserTitle =
    QStringLiteral("郵便番号(ZIP/LZH)フォルダを選択してください");

// The data preparation window: download links, the download folder, and the
// runs that turn downloaded archives into data files.
class Data_Syori : public LoadableDialog {
    Q_OBJECT
public:
    explicit Data_Syori(WindowOwner& owner);
    ~Data_Syori() override;
    void load() override;

    // Controls, under their names.
    std::array<QLabel*, 2> Label2;
    ClickableLabel* Image1;
    std::array<ClickableLabel*, 2> Label5; // click areas over the picture
    std::array<ClickableLabel*, 2> Label4; // "◎": the archives themselves
    QLabel* Label3;                        // progress caption
    std::array<QFrame*, 2> Line1;
    QPushButton* Command1; // 参照
    QLabel* Label1;        // the download folder
    QPushButton* Command4; // 全国一括
    QPushButton* Command5; // 中止
    QPushButton* Command2; // 都道府県
    QPushButton* Command3; // 閉じる
    QPushButton* Command6; // 更新: the monthly difference files
    QLineEdit* Text1;      // holds the focus while a run lasts

    qint16 BusyFlag = 0;  // 1 while a run is in progress
    qint16 AbortFlag = 0; // 99 once 中止 was pressed
    QStringList DataDateParts;

    const WorkFolders& workFolders() const { return work; }
    // Work somewhere else (tests); the folders are created.
    void setWorkFolders(const WorkFolders& folders);

signals:
    // New files reached the data folder: whatever shows the old ones must
    // read them anew.
    void dataReplaced();

protected:
    void showEvent(QShowEvent* event) override;
    bool queryUnload() override;
    void unload() override;

private:
    class Host;
    void createControls();
    void chooseFolder();
    void startPrefectures();
    void startNationwide();
    void startUpdate();
    void finishRun(RunKind kind, const RunOutcome& outcome);
    void restoreIdle();
    void setBusyCursor(bool busy);
    PrepFolders prepFolders() const;
    QStringList prefectureNames() const;
    void openPage(const QString& path);

    WorkFolders work;
    bool busyCursor = false;
};

} // namespace yubin
