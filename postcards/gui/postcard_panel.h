#pragma once

#include "foundation/platform.h"
#include "postcards/postcard_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <vector>

namespace yubin {

// The 「はがき・封筒」 part of the address label window: the paper, the
// writing, the numerals, the sender (kept in the settings), the printer's
// offset for each paper (kept too) and its calibration page, a preview of
// each card with page buttons, and printing or saving the cards as a PDF.
// The rows go through the same check as the labels; rows in error are
// printed only when 「エラーの行も印刷する」 is ticked.
class PostcardPanel : public QWidget {
    Q_OBJECT
public:
    PostcardPanel(const Platform& platform, QWidget* parent);
    ~PostcardPanel() override;

    // The list the window has read, and the data to check it against. The
    // rows are checked when the panel is shown, and again whenever an
    // option changes.
    void setList(const QString& path, const labels::AddressList& list, const DataFolder& data);

    QComboBox* cmbPaper;   // the papers, then 指定 for a size in mm
    QLineEdit* txtPaper;   // the size, WxH
    QComboBox* cmbWriting; // 縦書き, 横書き
    QComboBox* cmbNumerals;
    QCheckBox* chkBoxes;
    QCheckBox* chkBarcode;
    QCheckBox* chkKeep;
    QLineEdit* txtSenderName;
    QLineEdit* txtSenderCode;
    QLineEdit* txtSenderAddress;
    QDoubleSpinBox* spnOffsetX;
    QDoubleSpinBox* spnOffsetY;
    QPushButton* cmdCalibrate;
    QLabel* lblProblem;
    QLabel* picCard;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QLabel* lblPage;
    QLabel* lblCounts;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;

    int cardCount() const { return int(cards.size()); }
    // Rows are being checked, a slice at a time between the window's events.
    bool running() const { return checker && list && nextRow < list->rows.size(); }
    const std::vector<postcards::CardRow>& rows() const { return cardRows; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    // The options from the controls; nullopt, with the reason shown, when
    // they cannot be used.
    std::optional<postcards::PostcardOptions> currentOptions();
    void paperChosen();
    void check();
    void scheduleSlice();
    void checkSlice();
    void enableOutputs();
    void showPage(int page);
    void printCards(bool calibration);
    void savePdf();
    void tell(const QString& message);

    const Platform& platform;
    QString listPath;
    const labels::AddressList* list = nullptr;
    DataFolder data;
    std::unique_ptr<postcards::PostcardChecker> checker;
    std::vector<postcards::CardRow> cardRows;
    std::vector<postcards::ComposedCard> cards;
    int page = 0;
    std::size_t nextRow = 0;
    int generation = 0;
    bool stale = false; // the list changed while the panel was hidden
};

} // namespace yubin
