#pragma once

#include "foundation/access_csv.h"
#include "foundation/gui/widgets.h"
#include "foundation/gui/window_owner.h"
#include "main_window/browse.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <memory>

namespace yubin {

class SingleInstance;

// The program's first window and hub: prefectures, municipalities (or
// business offices) and town areas side by side.
class Yubin_Main : public QWidget {
    Q_OBJECT
public:
    explicit Yubin_Main(WindowOwner& owner);
    ~Yubin_Main() override;

    // The start-up sequence. False when another instance already runs; the
    // program then ends silently.
    bool load(const QString& lockPath);

    // No prefecture chosen: both lists show the idle line and are disabled.
    void resetToIdle();

    // Controls, under their names.
    ExtentListWidget* List1;
    ExtentListWidget* List2;
    ExtentListWidget* List3;
    std::array<QRadioButton*, 2> Option1;
    QPushButton* Command2;
    QLabel* Label2;
    QLineEdit* Text1;
    QPushButton* Command1;
    std::array<QLabel*, 2> Label1;
    QLabel* Label3;
    QLabel* Label4;
    ClickableLabel* Label5;
    QLabel* Label6;
    ClickableLabel* Label7;
    ClickableLabel* Label8; // opens the address label window
    QLineEdit* Text2;

    // State kept between events.
    std::vector<RecordRow> RecordTable;
    std::vector<MunicipalityRow> MunicipalityTable;
    qsizetype RecordCount() const { return qsizetype(RecordTable.size()); }
    qint16 SelectedPrefecture = 0;
    qint16 LastShift = 0;
    qint16 LastKeyCode = 0;
    QString CurrentMunicipality;
    Access_CSV CsvReader;

    BrowseMode mode() const {
        return Option1[1]->isChecked() ? BrowseMode::BusinessOffice : BrowseMode::Prefecture;
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Beyond the default size the lists take the room: all grow in height,
    // the municipality and town lists share the width (a third and the
    // rest), and what stands over or beside them moves along.
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void applyLayout();
    QSize defaultSize;  // the layout's size, the smallest the window takes
    QSize extraApplied; // room beyond it the controls have been given
    void onOptionClicked();
    void onSearchAllClicked();
    void onDownloadClicked();
    void onSampleBarcodeDoubleClicked();
    void onAddressLabelsClicked();
    void onPrefectureChosen();
    void onMunicipalityChosen();
    void onTownSearch();
    // The gestures on the result lists.
    void onListMousePressed(ExtentListWidget* list, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers);
    void onMunicipalityDoubleClicked();
    void onTownDoubleClicked();
    void onTownKeyPressed(QKeyEvent* event);
    void openMapSearch(const QString& address, int mapMode);
    void endLoad();
    bool tallScreen() const;

    WindowOwner& owner;
    std::unique_ptr<SingleInstance> instance;
    // The button of the last mouse-down on List2 or List3: only the left one
    // double-clicks.
    Qt::MouseButton pressedButton = Qt::NoButton;
};

} // namespace yubin
