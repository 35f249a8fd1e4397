#pragma once

#include "foundation/gui/loadable_dialog.h"
#include "map_search/map_query.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace yubin {

// The address box: the caret goes to the end when it takes the focus, the
// blanks around the text go on a key, and Enter asks for the map search.
class MapAddressEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MapAddressEdit(QWidget* parent);

signals:
    void enterPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void trimKeepingCaret();
};

// Opens a chosen address in a map or web search, then closes. An opener asks
// for it with owner.openMapSearch(address, mode), which hands both over in
// MapAddress and MapMode: the window takes them over as the owner creates it.
class MAP_Search : public LoadableDialog {
    Q_OBJECT
public:
    explicit MAP_Search(WindowOwner& owner);
    void load() override;

    // The JIS code of a double-byte Shift_JIS code, both as four hex digits.
    QString SJIStoJIS(const QString& strSJISCODE) const;

    MapAddressEdit* Text1;
    QGroupBox* Frame1;
    QRadioButton* Option1[2]; // map site: Google Maps, OpenStreetMap
    QPushButton* Command1;    // map search
    QGroupBox* Frame2;
    QRadioButton* Option2[2]; // web search: Google, Yahoo
    QPushButton* Command3;    // web search
    QPushButton* Command2;    // close
    QLineEdit* Text3;         // off-screen holder of the first focus

protected:
    bool queryUnload() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void mapSearch();
    void webSearch();
    QString searchText();
    void openAndClose(const QString& url);
};

} // namespace yubin
