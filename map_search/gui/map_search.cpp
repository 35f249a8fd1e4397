#include "map_search/gui/map_search.h"

#include "foundation/gui/desktop_platform.h"
#include "foundation/settings.h"
#include "foundation/text.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace yubin {

// ---- the address box ----------------------------------------------------

MapAddressEdit::MapAddressEdit(QWidget* parent) : QLineEdit(parent) {}

void MapAddressEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Tabbing in would select the whole address; the user edits its end.
    deselect();
    end(false);
}

void MapAddressEdit::keyPressEvent(QKeyEvent* event) {
    // A key that types a character leaves the blanks alone: trimming before
    // it goes in would swallow the blank the user has just typed between
    // two words. Every other key, Enter among them, trims.
    const QString typed = event->text();
    const bool typesCharacter =
        !typed.isEmpty() && typed.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!typesCharacter)
        trimKeepingCaret();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // the dialog must not treat it as a default button press
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MapAddressEdit::trimKeepingCaret() {
    const QString current = text();
    const QStringView kept = text::trimBlanks(current);
    if (kept.size() == current.size())
        return;
    const qsizetype leading = kept.data() - current.constData();
    const qsizetype caret = cursorPosition() - leading;
    setText(kept.toString());
    setCursorPosition(int(qBound<qsizetype>(0, caret, kept.size())));
}

// ---- the window ---------------------------------------------------------

MAP_Search::MAP_Search(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("MAP_Search"));
    setWindowTitle(QStringLiteral(" インターネット地図・WEB検索"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // Outside the window: it takes the first focus, so no visible control is
    // active when the window opens and a stray Enter searches nothing.
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(-400, -400, 40, 20);

    Text1 = new MapAddressEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(makeGothicFont(11));
    Text1->setMinimumWidth(420);

    Command2 = new QPushButton(QStringLiteral("閉"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    Frame1 = new QGroupBox(QStringLiteral("地図検索サイト"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Option1[0] = new QRadioButton(MapSiteNames[0], Frame1);
    Option1[1] = new QRadioButton(MapSiteNames[1], Frame1);
    Command1 = new QPushButton(QStringLiteral("検索"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));

    Frame2 = new QGroupBox(QStringLiteral("WEB検索"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Option2[0] = new QRadioButton(QStringLiteral("Google"), Frame2);
    Option2[1] = new QRadioButton(QStringLiteral("Yahoo"), Frame2);
    Command3 = new QPushButton(QStringLiteral("検索"), Frame2);
    Command3->setObjectName(QStringLiteral("Command3"));

    for (QPushButton* button : {Command1, Command2, Command3})
        button->setAutoDefault(false);
    for (int i = 0; i < 2; ++i) {
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option2[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
    }

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(Text1, 1);
    addressRow->addWidget(Command2);

    auto* mapRow = new QHBoxLayout(Frame1);
    mapRow->addWidget(Option1[0]);
    mapRow->addWidget(Option1[1]);
    mapRow->addStretch(1);
    mapRow->addWidget(Command1);

    auto* webRow = new QHBoxLayout(Frame2);
    webRow->addWidget(Option2[0]);
    webRow->addWidget(Option2[1]);
    webRow->addStretch(1);
    webRow->addWidget(Command3);

    auto* groups = new QHBoxLayout;
    groups->addWidget(Frame1, 1);
    groups->addWidget(Frame2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(addressRow);
    layout->addLayout(groups);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Text3, Text1);
    setTabOrder(Text1, Command2);
    setTabOrder(Command2, Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Command1);
    setTabOrder(Command1, Option2[0]);
    setTabOrder(Option2[0], Option2[1]);
    setTabOrder(Option2[1], Command3);

    connect(Command1, &QPushButton::clicked, this, &MAP_Search::mapSearch);
    connect(Command3, &QPushButton::clicked, this, &MAP_Search::webSearch);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    connect(Text1, &MapAddressEdit::enterPressed, this, [this] {
        // Enter searches the map even when its controls are greyed out.
        if (Text1->text().size() > 2)
            mapSearch();
    });
}

void MAP_Search::load() {
    Text1->clear();
    shared.MapAddress = rewriteMapAddress(shared.MapAddress);
    Text1->setText(shared.MapAddress);

    Option1[0]->setChecked(true);
    Option2[0]->setChecked(true);
    Option1[settingAsChoice(readSetting(SettingKey::MapSite))]->setChecked(true);
    Option2[settingAsChoice(readSetting(SettingKey::WebSite))]->setChecked(true);

    const bool mapAllowed = mapSearchOffered(shared.MapMode);
    Option1[0]->setEnabled(mapAllowed);
    Option1[1]->setEnabled(mapAllowed);
    Command1->setEnabled(mapAllowed);

    Text3->setFocus();
}

QString MAP_Search::SJIStoJIS(const QString& strSJISCODE) const {
    return yubin::SJIStoJIS(strSJISCODE);
}

bool MAP_Search::queryUnload() {
    writeSetting(SettingKey::MapSite,
                 Option1[1]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    writeSetting(SettingKey::WebSite,
                 Option2[1]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    return true;
}

void MAP_Search::keyPressEvent(QKeyEvent* event) {
    // No button is a default one: Enter searches from the address box,
    // presses a focused button, and elsewhere (the off-screen box above all)
    // does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        return;
    }
    LoadableDialog::keyPressEvent(event);
}

QString MAP_Search::searchText() {
    const QString text = text::trimmed(Text1->text());
    if (text != Text1->text())
        Text1->setText(text);
    return text;
}

void MAP_Search::mapSearch() {
    const MapSite site = Option1[0]->isChecked() ? MapSite::GoogleMaps : MapSite::OpenStreetMap;
    openAndClose(mapSearchUrl(site, searchText()));
}

void MAP_Search::webSearch() {
    const WebEngine engine = Option2[1]->isChecked() ? WebEngine::Yahoo : WebEngine::Google;
    openAndClose(webSearchUrl(engine, searchText()));
}

void MAP_Search::openAndClose(const QString& url) {
    // A page that did not open has been reported with its address; the
    // window stays, so the user can change the service or the text and try
    // again.
    bool opened = false;
    try {
        opened = platform.web && platform.web->OpenWebPage(url);
    } catch (...) {
    }
    if (opened)
        close();
}

} // namespace yubin
