#include "postcards/gui/postcard_panel.h"

#include "foundation/gui/widgets.h"
#include "postcards/card_painter.h"
#include "postcards/postcard_settings.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>

namespace yubin {

namespace {

const QString CardsTitle = QStringLiteral("はがき・封筒");
const QString CustomPaper = QStringLiteral("指定（mm）");
constexpr int PreviewHeight = 300;
constexpr double CardPreviewDotsPerInch = 2 * PreviewHeight / (148 / 25.4);

} // namespace

PostcardPanel::PostcardPanel(const Platform& p, QWidget* parent)
    : QWidget(parent), platform(p), data(DataFolder::atPath(QString())) {
    createControls();
}

PostcardPanel::~PostcardPanel() = default;

void PostcardPanel::createControls() {
    cmbPaper = new QComboBox(this);
    for (const postcards::Paper& paper : postcards::builtInPapers())
        cmbPaper->addItem(paper.name, paper.key);
    cmbPaper->addItem(CustomPaper);
    txtPaper = new QLineEdit(QStringLiteral("110x220"), this);
    txtPaper->setToolTip(QStringLiteral("幅x高さ（mm）"));
    cmbWriting = new QComboBox(this);
    cmbWriting->addItems({QStringLiteral("縦書き"), QStringLiteral("横書き")});
    cmbNumerals = new QComboBox(this);
    cmbNumerals->addItems({QStringLiteral("一二〇三"), QStringLiteral("千二百三")});
    chkBoxes = new QCheckBox(QStringLiteral("郵便番号の枠も印刷"), this);
    chkBarcode = new QCheckBox(QStringLiteral("バーコード"), this);
    chkKeep = new QCheckBox(QStringLiteral("エラーの行も印刷する"), this);
    const postcards::Sender sender = postcards::savedSender();
    txtSenderName = new QLineEdit(sender.name, this);
    txtSenderCode = new QLineEdit(sender.postalCode, this);
    txtSenderCode->setPlaceholderText(QStringLiteral("123-4567"));
    txtSenderAddress = new QLineEdit(sender.address, this);
    spnOffsetX = new QDoubleSpinBox(this);
    spnOffsetY = new QDoubleSpinBox(this);
    for (QDoubleSpinBox* s : {spnOffsetX, spnOffsetY}) {
        s->setRange(-postcards::MaxOffsetMm, postcards::MaxOffsetMm);
        s->setDecimals(1);
        s->setSingleStep(0.5);
        s->setSuffix(QStringLiteral(" mm"));
    }
    cmdCalibrate = new QPushButton(QStringLiteral("位置合わせ印刷(&A)…"), this);
    lblProblem = new QLabel(this);
    lblProblem->setWordWrap(true);
    lblProblem->setStyleSheet(QStringLiteral("color: #D00000"));

    auto* paper = new QHBoxLayout;
    paper->addWidget(cmbPaper, 1);
    paper->addWidget(txtPaper, 1);
    auto* writing = new QHBoxLayout;
    writing->addWidget(cmbWriting);
    writing->addWidget(cmbNumerals);
    auto* marks = new QHBoxLayout;
    marks->addWidget(chkBoxes);
    marks->addWidget(chkBarcode);
    auto* offset = new QHBoxLayout;
    offset->addWidget(new QLabel(QStringLiteral("右"), this));
    offset->addWidget(spnOffsetX);
    offset->addWidget(new QLabel(QStringLiteral("下"), this));
    offset->addWidget(spnOffsetY);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用紙"), paper);
    form->addRow(QStringLiteral("書き方"), writing);
    form->addRow(QString(), marks);
    form->addRow(QString(), chkKeep);
    form->addRow(QStringLiteral("差出人"), txtSenderName);
    form->addRow(QStringLiteral("〒"), txtSenderCode);
    form->addRow(QStringLiteral("住所"), txtSenderAddress);
    form->addRow(QStringLiteral("オフセット"), offset);
    form->addRow(QString(), cmdCalibrate);
    auto* options = new QVBoxLayout;
    options->addLayout(form);
    options->addWidget(lblProblem);
    options->addStretch(1);

    const PagePreview pagePreview =
        makePagePreview(this, QSize(int(PreviewHeight * 120 / 235.0) + 40, PreviewHeight));
    picCard = pagePreview.picture;
    cmdPrev = pagePreview.previous;
    cmdNext = pagePreview.next;
    lblPage = pagePreview.page;
    cmdPrint = new QPushButton(QStringLiteral("はがき印刷(&H)…"), this);
    cmdPdf = new QPushButton(QStringLiteral("はがきPDF(&D)…"), this);
    auto* outputs = new QHBoxLayout;
    outputs->addWidget(cmdPrint);
    outputs->addWidget(cmdPdf);
    lblCounts = new QLabel(this);
    lblCounts->setWordWrap(true);
    auto* preview = new QVBoxLayout;
    preview->addWidget(picCard, 0, Qt::AlignHCenter);
    preview->addLayout(pagePreview.buttons);
    preview->addWidget(lblCounts);
    preview->addLayout(outputs);
    preview->addStretch(1);

    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(0, 0, 0, 0);
    all->addLayout(options, 1);
    all->addLayout(preview);

    connect(cmbPaper, &QComboBox::currentIndexChanged, this, &PostcardPanel::paperChosen);
    connect(txtPaper, &QLineEdit::editingFinished, this, &PostcardPanel::paperChosen);
    for (QComboBox* c : {cmbWriting, cmbNumerals})
        connect(c, &QComboBox::currentIndexChanged, this, &PostcardPanel::check);
    for (QCheckBox* c : {chkBoxes, chkBarcode, chkKeep})
        connect(c, &QCheckBox::toggled, this, &PostcardPanel::check);
    // The sender and the offset are kept as they are set.
    for (QLineEdit* e : {txtSenderName, txtSenderCode, txtSenderAddress})
        connect(e, &QLineEdit::editingFinished, this, [this] {
            if (const std::optional<postcards::PostcardOptions> o = currentOptions())
                postcards::saveSender(o->card.sender);
            check();
        });
    for (QDoubleSpinBox* s : {spnOffsetX, spnOffsetY})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] {
            if (const std::optional<postcards::PostcardOptions> o = currentOptions())
                postcards::saveOffset(o->card.paper, o->card.offsetMm);
            check();
        });
    connect(cmdCalibrate, &QPushButton::clicked, this, [this] { printCards(true); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { showPage(page - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(page + 1); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { printCards(false); });
    connect(cmdPdf, &QPushButton::clicked, this, &PostcardPanel::savePdf);
    paperChosen();
}

void PostcardPanel::tell(const QString& message) {
    platform.messages->show(MessageIcon::Exclamation, CardsTitle, message, MessageButtons::Ok);
}

void PostcardPanel::setList(const QString& path, const labels::AddressList& addressList,
                            const DataFolder& dataFolder) {
    listPath = path;
    list = &addressList;
    data = dataFolder;
    // A check of the list that was is dropped.
    ++generation;
    checker.reset();
    stale = true;
    if (isVisible())
        check();
}

void PostcardPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale)
        check();
}

std::optional<postcards::PostcardOptions> PostcardPanel::currentOptions() {
    postcards::PostcardOptions o;
    QString problem;
    const bool custom = cmbPaper->currentText() == CustomPaper;
    const std::optional<postcards::Paper> paper = postcards::parsePaper(
        custom ? txtPaper->text() : cmbPaper->currentData().toString(), &problem);
    if (paper)
        o.card.paper = *paper;
    o.card.writing = cmbWriting->currentIndex() == 1 ? postcards::Writing::Horizontal
                                                     : postcards::Writing::Vertical;
    o.card.numerals = cmbNumerals->currentIndex() == 1 ? text::KanjiNumerals::WithPlaces
                                                       : text::KanjiNumerals::DigitByDigit;
    o.card.drawBoxes = chkBoxes->isChecked();
    o.card.barcode = chkBarcode->isChecked();
    o.keepUnresolved = chkKeep->isChecked();
    o.card.offsetMm = QPointF(spnOffsetX->value(), spnOffsetY->value());
    o.card.sender.name = text::trimmed(txtSenderName->text());
    o.card.sender.address = text::trimmed(txtSenderAddress->text());
    if (const QString code = text::trimmed(txtSenderCode->text()); !code.isEmpty()) {
        const std::optional<QString> digits = labels::givenPostalCode(code);
        if (digits && code.size() >= 7)
            o.card.sender.postalCode = *digits;
        else if (problem.isEmpty())
            problem = QStringLiteral("差出人の郵便番号は 7 桁の数字です：%1").arg(code);
    }
    lblProblem->setText(problem);
    if (!problem.isEmpty())
        return std::nullopt;
    return o;
}

void PostcardPanel::paperChosen() {
    txtPaper->setEnabled(cmbPaper->currentText() == CustomPaper);
    chkBoxes->setEnabled(cmbPaper->currentIndex() != 0);
    // Each paper brings back its own offset.
    if (const std::optional<postcards::PostcardOptions> o = currentOptions()) {
        const QPointF offset = postcards::savedOffset(o->card.paper);
        const QSignalBlocker quietX(spnOffsetX);
        const QSignalBlocker quietY(spnOffsetY);
        spnOffsetX->setValue(offset.x());
        spnOffsetY->setValue(offset.y());
    }
    check();
}

void PostcardPanel::check() {
    stale = false;
    ++generation;
    cardRows.clear();
    cards.clear();
    checker.reset();
    lblCounts->clear();
    const std::optional<postcards::PostcardOptions> o = currentOptions();
    if (o && list && !list->rows.empty()) {
        checker = std::make_unique<postcards::PostcardChecker>(*list, data, *o);
        nextRow = 0;
        cardRows.reserve(list->rows.size());
        scheduleSlice();
    }
    cmdCalibrate->setEnabled(o.has_value());
    enableOutputs();
    showPage(0);
}

void PostcardPanel::scheduleSlice() {
    QTimer::singleShot(0, this, [this, run = generation] {
        if (run == generation)
            checkSlice();
    });
}

void PostcardPanel::checkSlice() {
    if (!running())
        return;
    // As the labels' check: slices of 15 ms, so a long list never freezes
    // the window.
    QElapsedTimer slice;
    slice.start();
    while (nextRow < list->rows.size() && slice.elapsed() < 15)
        cardRows.push_back(checker->check(list->rows[nextRow++]));
    if (nextRow < list->rows.size()) {
        lblCounts->setText(QStringLiteral("確認中 %1 / %2 行").arg(nextRow).arg(list->rows.size()));
        scheduleSlice();
        return;
    }
    cards = postcards::printedCards(cardRows);
    lblCounts->setText(postcards::cardCountsLine(cardRows));
    enableOutputs();
    showPage(0);
}

void PostcardPanel::enableOutputs() {
    const bool ready = !running() && !cards.empty();
    cmdPrint->setEnabled(ready);
    cmdPdf->setEnabled(ready);
}

void PostcardPanel::showPage(int wanted) {
    page = std::clamp(wanted, 0, std::max(0, cardCount() - 1));
    cmdPrev->setEnabled(page > 0);
    cmdNext->setEnabled(page + 1 < cardCount());
    lblPage->setText(cards.empty() ? QString()
                                   : QStringLiteral("%1 / %2 枚").arg(page + 1).arg(cardCount()));
    if (cards.empty() || !checker) {
        picCard->clear();
        return;
    }
    const QImage card = postcards::cardPicture(cards[std::size_t(page)], checker->composer(),
                                               CardPreviewDotsPerInch);
    picCard->setPixmap(QPixmap::fromImage(card.scaled(
        picCard->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void PostcardPanel::printCards(bool calibration) {
    const std::optional<postcards::PostcardOptions> o = currentOptions();
    if (!o || (!calibration && (cards.empty() || running())) || !platform.printDialog)
        return;
    QPrinter printer(QPrinter::HighResolution);
    // Positions are measured from the piece's corner.
    printer.setFullPage(true);
    postcards::setUpPage(printer, o->card.paper);
    if (!platform.printDialog->choosePrinter(printer))
        return;
    postcards::CardComposer composer(o->card);
    const QString error = calibration ? postcards::paintCalibrationPage(printer, composer)
                                      : postcards::paintCards(printer, cards, checker->composer());
    if (!error.isEmpty())
        tell(error);
}

void PostcardPanel::savePdf() {
    if (cards.empty() || !checker || running())
        return;
    const QFileInfo in(listPath);
    const QString path = platform.files->saveFile(
        QStringLiteral("PDFを保存"), in.path() + u'/' + in.completeBaseName() + u"_はがき.pdf"_qs,
        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QByteArray pdf;
    QString error = postcards::cardsPdf(pdf, cards, checker->composer());
    if (error.isEmpty())
        error = labels::saveOutputs(listPath, path, pdf, {}, {});
    if (!error.isEmpty())
        tell(error);
}

} // namespace yubin
