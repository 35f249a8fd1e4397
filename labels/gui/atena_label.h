#pragma once

#include "foundation/gui/loadable_dialog.h"
#include "labels/label_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <functional>
#include <memory>
#include <vector>

namespace yubin {

class PostcardPanel;

// The address label window (宛名ラベル): an address list is read, every row
// checked against the postal data and shown with its status, and the label
// sheets previewed, printed or saved as a PDF with the report beside them.
// Rows are checked in slices between the window's events and the sheets
// are drawn with the events served every 15 ms, so a long list never
// freezes the window and 中止 is heard.
class Atena_Label : public LoadableDialog {
    Q_OBJECT
public:
    explicit Atena_Label(WindowOwner& owner);
    ~Atena_Label() override;
    void load() override;

    QLineEdit* txtFile;
    QPushButton* cmdFile; // choose and read a list
    QComboBox* cmbLayout; // the sheets, then 指定 for a custom layout
    QLineEdit* txtLayout; // the custom layout in millimetres
    QComboBox* cmbBlock;  // code size 1-3
    QSpinBox* spnStart;   // the first label used on the first sheet
    QCheckBox* chkSkip;   // leave rows in error out
    // Print the catch-all code's barcode where the town was not recognised.
    QCheckBox* chkCatchAll;
    QLabel* lblUnused;  // the list's columns no rule reads
    QLabel* lblProblem; // why the sheets cannot be printed
    QTableWidget* grdRows;
    QLabel* lblCounts;
    QLabel* picSheet; // one sheet as it will be printed
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QLabel* lblPage;
    QProgressBar* prgRun;
    QPushButton* cmdStop;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdReport;
    QPushButton* cmdClose;
    QTabWidget* tabKind; // 宛名ラベル, はがき・封筒
    // The postcards' own options, preview and outputs: a page of their own
    // subsystem, which the window owner adds and tells of every list read.
    PostcardPanel* pnlCards = nullptr;
    void addKindPage(QWidget* page, const QString& title);

    // Reads a list and checks its rows, as choosing it does.
    void readList(const QString& path);

    // The list's rows and the sheets of the last finished check.
    const std::vector<labels::RowResult>& results() const { return rowResults; }
    int sheetCount() const { return int(sheets.size()); }
    bool running() const { return checking || drawing; }

signals:
    // A list was read (with its error, if any, and then no rows).
    void listRead(const QString& path, const labels::AddressList& list);

protected:
    bool queryUnload() override;

private:
    class DrawProgress;
    void createControls();
    void chooseFile();
    // Options from the controls; nullopt, with the reason shown, when the
    // sheets cannot be printed so.
    std::optional<labels::LabelOptions> currentOptions();
    void startCheck();
    void scheduleSlice();
    void checkSlice();
    void finishCheck();
    void arrange();
    void showPage(int page);
    void enableOutputs();
    // Runs a drawing of the sheets with the window's events served and
    // 中止 heard; tells its failure.
    // True when the drawing ended without a failure (told to the user).
    bool drawSheets(const std::function<QString(labels::RunProgress&)>& draw);
    void printSheets();
    QString chooseOutput(const QString& title, const QString& ending, const QString& filter);
    void savePdf();
    void saveReport();
    void tell(const QString& message);
    // Where a PDF or report went, so that the user can find it.
    void tellSaved(const QString& path);

    QString listPath;
    labels::AddressList list;
    labels::LabelOptions options;
    std::unique_ptr<labels::RowChecker> checker;
    std::vector<labels::RowResult> rowResults;
    std::vector<std::vector<labels::SheetLabel>> sheets;
    int page = 0;
    std::size_t nextRow = 0;
    int generation = 0;
    bool checking = false;
    bool drawing = false;
    bool stopRequested = false;
    bool complete = false; // every row checked with the current options
    QElapsedTimer sliceTimer;
};

} // namespace yubin
