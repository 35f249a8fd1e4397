#include "labels/gui/atena_label.h"

#include "barcode/barcode_code.h"
#include "barcode/barcode_input.h"
#include "foundation/gui/widgets.h"
#include "foundation/postal_code.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>

namespace yubin {

namespace {

const QString Title = QStringLiteral("宛名ラベル");
const QString CustomLayout = QStringLiteral("指定（mm）");
const QColor WarningColour(0xFF, 0xF2, 0xB3);
const QColor ErrorColour(0xFF, 0xD0, 0xD0);
// The preview shows the sheet this size, drawn at twice its resolution.
constexpr int PreviewWidth = 330;
constexpr double PreviewDotsPerInch = 2 * PreviewWidth / (labels::A4WidthMm / 25.4);
// A slice of the check, and the longest the events wait while sheets are
// drawn.
constexpr int SliceMs = 15;

} // namespace

// Serves the window's events while sheets are drawn, every 15 ms, and
// passes 中止 on.
class Atena_Label::DrawProgress final : public labels::RunProgress {
public:
    explicit DrawProgress(Atena_Label& w) : window(w) { timer.start(); }
    bool keepGoing(int done, int total) override {
        if (timer.elapsed() >= SliceMs) {
            window.prgRun->setRange(0, total);
            window.prgRun->setValue(done);
            QApplication::processEvents();
            timer.restart();
        }
        return !window.stopRequested;
    }

private:
    Atena_Label& window;
    QElapsedTimer timer;
};

Atena_Label::Atena_Label(WindowOwner& owner) : LoadableDialog(owner) {
    createControls();
}

Atena_Label::~Atena_Label() = default;

void Atena_Label::createControls() {
    setWindowTitle(Title);
    resize(1000, 640); // within a 1024×768 screen, frame and panel included
    auto* top = new QGridLayout;
    txtFile = new QLineEdit(this);
    txtFile->setReadOnly(true);
    txtFile->setPlaceholderText(
        QStringLiteral("CSV・TSV（UTF-8 または Shift_JIS）、Excel（.xlsx）"));
    cmdFile = new QPushButton(QStringLiteral("開く(&O)…"), this);
    top->addWidget(new QLabel(QStringLiteral("宛名リスト"), this), 0, 0);
    top->addWidget(txtFile, 0, 1, 1, 7);
    top->addWidget(cmdFile, 0, 8);

    cmbLayout = new QComboBox(this);
    for (const labels::SheetLayout& l : labels::builtInLayouts())
        cmbLayout->addItem(l.name, l.key);
    cmbLayout->addItem(CustomLayout);
    txtLayout = new QLineEdit(QStringLiteral("2x6:86.4x42.3:21.5,18.6:86.4,42.3"), this);
    txtLayout->setToolTip(QStringLiteral("列x行:幅x高さ:上余白,左余白:横ピッチ,縦ピッチ（mm）"));
    cmbBlock = new QComboBox(this);
    for (int size = barcode::SmallestCodeSize; size <= barcode::LargestCodeSize; ++size)
        cmbBlock->addItem(
            QStringLiteral("%1（%2 pt）").arg(size).arg(barcode::pointSize(size), 0, 'g', 3));
    cmbBlock->setCurrentIndex(barcode::DefaultCodeSize - 1);
    spnStart = new QSpinBox(this);
    spnStart->setRange(1, 12);
    chkSkip = new QCheckBox(QStringLiteral("エラーの行は印刷しない"), this);
    chkCatchAll = new QCheckBox(QStringLiteral("町域不明でも「以下に掲載がない場合」で印刷"), this);
    chkCatchAll->setToolTip(
        QStringLiteral("町域を確かめられなかった行にも、市区町村の「以下に掲載がない場合」の"
                       "郵便番号でバーコードを印刷します"));
    top->addWidget(new QLabel(QStringLiteral("ラベル用紙"), this), 1, 0);
    top->addWidget(cmbLayout, 1, 1);
    top->addWidget(txtLayout, 1, 2);
    top->addWidget(new QLabel(QStringLiteral("ｺｰﾄﾞｻｲｽﾞ"), this), 1, 3);
    top->addWidget(cmbBlock, 1, 4);
    top->addWidget(new QLabel(QStringLiteral("開始位置"), this), 1, 5);
    top->addWidget(spnStart, 1, 6);
    top->addWidget(chkSkip, 1, 7, 1, 2);
    top->addWidget(chkCatchAll, 2, 7, 1, 2);
    top->setColumnStretch(2, 1);

    lblUnused = new QLabel(this);
    lblUnused->setWordWrap(true);
    lblUnused->hide();
    lblProblem = new QLabel(this);
    lblProblem->setWordWrap(true);
    lblProblem->setStyleSheet(QStringLiteral("color: #D00000"));

    grdRows = new QTableWidget(0, 7, this);
    grdRows->setHorizontalHeaderLabels({QStringLiteral("行"), QStringLiteral("状態"),
                                        QStringLiteral("郵便番号"), QStringLiteral("番号"),
                                        QStringLiteral("住所"), QStringLiteral("宛名"),
                                        QStringLiteral("理由")});
    grdRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRows->verticalHeader()->hide();
    grdRows->horizontalHeader()->setStretchLastSection(true);
    lblCounts = new QLabel(this);
    auto* left = new QVBoxLayout;
    left->addWidget(grdRows, 1);
    left->addWidget(lblCounts);

    const PagePreview preview = makePagePreview(
        this, QSize(PreviewWidth, int(PreviewWidth * labels::A4HeightMm / labels::A4WidthMm)));
    picSheet = preview.picture;
    cmdPrev = preview.previous;
    cmdNext = preview.next;
    lblPage = preview.page;
    auto* right = new QVBoxLayout;
    right->addWidget(picSheet);
    right->addLayout(preview.buttons);
    right->addStretch(1);
    // Label sheets or postcards and envelopes from the same checked list.
    auto* labelPage = new QWidget(this);
    labelPage->setLayout(right);
    tabKind = new QTabWidget(this);
    tabKind->addTab(labelPage, QStringLiteral("宛名ラベル"));
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addWidget(tabKind);

    prgRun = new QProgressBar(this);
    cmdStop = new QPushButton(QStringLiteral("中止"), this);
    cmdPrint = new QPushButton(QStringLiteral("印刷(&P)…"), this);
    cmdPdf = new QPushButton(QStringLiteral("PDF保存(&S)…"), this);
    cmdReport = new QPushButton(QStringLiteral("報告保存(&R)…"), this);
    cmdClose = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(prgRun, 1);
    bottom->addWidget(cmdStop);
    bottom->addSpacing(20);
    for (QPushButton* b : {cmdPrint, cmdPdf, cmdReport, cmdClose})
        bottom->addWidget(b);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(lblUnused);
    all->addWidget(lblProblem);
    all->addLayout(middle, 1);
    all->addLayout(bottom);

    connect(cmdFile, &QPushButton::clicked, this, &Atena_Label::chooseFile);
    // A new sheet starts at the largest code size its labels hold, as
    // yubin-cli labels does; the size can then be chosen smaller.
    const auto layoutChosen = [this] {
        const bool custom = cmbLayout->currentText() == CustomLayout;
        if (const std::optional<labels::SheetLayout> layout = labels::parseLayout(
                custom ? txtLayout->text() : cmbLayout->currentData().toString(), nullptr)) {
            // The box shows the chosen sheet's figures, a start for a custom one.
            if (!custom)
                txtLayout->setText(labels::layoutText(*layout));
            const QSignalBlocker quiet(cmbBlock);
            cmbBlock->setCurrentIndex(labels::fittingCodeSize(*layout) - 1);
        }
        startCheck();
    };
    connect(cmbLayout, &QComboBox::currentIndexChanged, this, layoutChosen);
    connect(txtLayout, &QLineEdit::editingFinished, this, layoutChosen);
    connect(cmbBlock, &QComboBox::currentIndexChanged, this, &Atena_Label::startCheck);
    connect(chkSkip, &QCheckBox::toggled, this, &Atena_Label::startCheck);
    connect(chkCatchAll, &QCheckBox::toggled, this, &Atena_Label::startCheck);
    connect(spnStart, &QSpinBox::valueChanged, this, [this] {
        options.start = spnStart->value();
        arrange();
    });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { showPage(page - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(page + 1); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { stopRequested = true; });
    connect(cmdPrint, &QPushButton::clicked, this, &Atena_Label::printSheets);
    connect(cmdPdf, &QPushButton::clicked, this, &Atena_Label::savePdf);
    connect(cmdReport, &QPushButton::clicked, this, &Atena_Label::saveReport);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void Atena_Label::load() {
    prgRun->setValue(0);
    currentOptions();
    enableOutputs();
    showPage(0);
}

bool Atena_Label::queryUnload() {
    // Sheets being drawn are inside this window's own call: they stop first.
    stopRequested = true;
    return !drawing;
}

void Atena_Label::tell(const QString& message) {
    platform.messages->show(MessageIcon::Exclamation, Title, message, MessageButtons::Ok);
}

void Atena_Label::tellSaved(const QString& path) {
    platform.messages->show(
        MessageIcon::Information, Title,
        QStringLiteral("保存しました：\n%1").arg(QDir::toNativeSeparators(path)),
        MessageButtons::Ok);
}

void Atena_Label::chooseFile() {
    const QString path = platform.files->openFile(
        QStringLiteral("宛名リストを開く"),
        QStringLiteral("宛名リスト (*.csv *.tsv *.txt *.xlsx);;すべてのファイル (*)"));
    if (!path.isEmpty())
        readList(path);
}

void Atena_Label::readList(const QString& path) {
    checker.reset();
    listPath = path;
    txtFile->setText(QFileInfo(path).fileName());
    list = labels::readAddressList(path);
    lblUnused->setText(list.unusedNote());
    lblUnused->setVisible(!lblUnused->text().isEmpty());
    if (!list.error.isEmpty()) {
        list.rows.clear();
        startCheck();
        emit listRead(path, list);
        tell(list.error);
        return;
    }
    startCheck();
    emit listRead(path, list);
}

void Atena_Label::addKindPage(QWidget* page, const QString& title) {
    tabKind->addTab(page, title);
}

std::optional<labels::LabelOptions> Atena_Label::currentOptions() {
    labels::LabelOptions o;
    QString problem;
    const bool custom = cmbLayout->currentText() == CustomLayout;
    const std::optional<labels::SheetLayout> layout = labels::parseLayout(
        custom ? txtLayout->text() : cmbLayout->currentData().toString(), &problem);
    o.codeSize = cmbBlock->currentIndex() + 1;
    o.skipUnresolved = chkSkip->isChecked();
    o.allowCatchAll = chkCatchAll->isChecked();
    if (layout) {
        o.layout = *layout;
        if (const std::optional<QString> p = labels::printProblem(o.layout, o.codeSize))
            problem = *p;
        spnStart->blockSignals(true);
        spnStart->setMaximum(o.layout.labelsPerSheet());
        spnStart->blockSignals(false);
    }
    o.start = spnStart->value();
    lblProblem->setText(problem);
    if (!problem.isEmpty())
        return std::nullopt;
    return o;
}

void Atena_Label::startCheck() {
    complete = false;
    rowResults.clear();
    sheets.clear();
    grdRows->setRowCount(0);
    lblCounts->clear();
    const std::optional<labels::LabelOptions> o = currentOptions();
    checker.reset();
    if (o && !list.rows.empty()) {
        options = *o;
        checker = std::make_unique<labels::RowChecker>(list, owner.dataFolder(), options);
        nextRow = 0;
        stopRequested = false;
        checking = true;
        rowResults.reserve(list.rows.size());
        prgRun->setRange(0, int(list.rows.size()));
        scheduleSlice();
    }
    enableOutputs();
    showPage(0);
}

void Atena_Label::scheduleSlice() {
    // A slice of an earlier check, still queued, is dropped.
    QTimer::singleShot(0, this, [this, run = ++generation] {
        if (run == generation)
            checkSlice();
    });
}

void Atena_Label::checkSlice() {
    if (!checking || !checker)
        return;
    sliceTimer.start();
    while (nextRow < list.rows.size() && sliceTimer.elapsed() < SliceMs)
        rowResults.push_back(checker->check(list.rows[nextRow++]));
    prgRun->setValue(int(nextRow));
    if (stopRequested) {
        checking = false;
        lblCounts->setText(
            QStringLiteral("中止しました（%1 / %2 行）").arg(nextRow).arg(list.rows.size()));
        enableOutputs();
        return;
    }
    if (nextRow < list.rows.size())
        scheduleSlice();
    else
        finishCheck();
}

void Atena_Label::finishCheck() {
    checking = false;
    complete = true;
    grdRows->setUpdatesEnabled(false);
    grdRows->setRowCount(int(rowResults.size()));
    for (int i = 0; i < int(rowResults.size()); ++i) {
        const labels::RowResult& r = rowResults[std::size_t(i)];
        const labels::Record& row = list.rows[std::size_t(i)];
        const QString name = list.field(row, labels::Column::Name);
        const QString cells[] = {
            QString::number(r.line),
            labels::statusName(r.status),
            postalCodeText(r.printedCode),
            r.addressNumber,
            list.address(row).left(80),
            (name.isEmpty() ? list.field(row, labels::Column::Company) : name).left(40),
            r.reasons.join(u'；')};
        for (int c = 0; c < 7; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (r.status != labels::RowStatus::Ok)
                item->setBackground(r.status == labels::RowStatus::Error ? ErrorColour
                                                                         : WarningColour);
            grdRows->setItem(i, c, item);
        }
    }
    grdRows->resizeColumnsToContents();
    grdRows->setUpdatesEnabled(true);
    arrange();
}

void Atena_Label::arrange() {
    if (!complete || drawing)
        return;
    sheets = labels::arrangeSheets(rowResults, options);
    lblCounts->setText(labels::countsLine(labels::countRun(rowResults, options)));
    enableOutputs();
    showPage(0);
}

void Atena_Label::showPage(int wanted) {
    page = std::clamp(wanted, 0, std::max(0, sheetCount() - 1));
    cmdPrev->setEnabled(page > 0);
    cmdNext->setEnabled(page + 1 < sheetCount());
    lblPage->setText(sheets.empty()
                         ? QString()
                         : QStringLiteral("%1 / %2 シート").arg(page + 1).arg(sheetCount()));
    if (sheets.empty() || !checker) {
        picSheet->clear();
        return;
    }
    const QImage sheet = labels::sheetPicture(options.layout, options.codeSize, checker->composer(),
                                              sheets[std::size_t(page)], PreviewDotsPerInch);
    picSheet->setPixmap(QPixmap::fromImage(sheet.scaled(
        picSheet->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void Atena_Label::enableOutputs() {
    const bool ready = complete && !drawing && !checking;
    cmdPrint->setEnabled(ready && !sheets.empty());
    cmdPdf->setEnabled(ready && !sheets.empty());
    cmdReport->setEnabled(ready);
    cmdStop->setEnabled(checking || drawing);
    // The sheets being drawn stay as they are until the drawing ends.
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdFile, cmbLayout, cmbBlock, chkSkip, spnStart})
        w->setEnabled(!drawing);
    txtLayout->setEnabled(!drawing && cmbLayout->currentText() == CustomLayout);
}

void Atena_Label::printSheets() {
    if (!cmdPrint->isEnabled())
        return;
    QPrinter printer(QPrinter::HighResolution);
    // Label positions are measured from the paper's corner.
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    if (!platform.printDialog || !platform.printDialog->choosePrinter(printer))
        return;
    drawSheets([&](labels::RunProgress& progress) {
        return labels::paintSheets(printer, sheets, options, checker->composer(), &progress);
    });
}

bool Atena_Label::drawSheets(const std::function<QString(labels::RunProgress&)>& draw) {
    drawing = true;
    stopRequested = false;
    enableOutputs();
    DrawProgress progress(*this);
    const QString error = draw(progress);
    drawing = false;
    enableOutputs();
    if (!error.isEmpty())
        tell(error);
    return error.isEmpty();
}

QString Atena_Label::chooseOutput(const QString& title, const QString& ending,
                                  const QString& filter) {
    // Suggested beside the list, named after it.
    const QFileInfo in(listPath);
    return platform.files->saveFile(title, in.path() + u'/' + in.completeBaseName() + ending,
                                    filter);
}

void Atena_Label::savePdf() {
    if (!cmdPdf->isEnabled())
        return;
    const QString path = chooseOutput(QStringLiteral("PDFを保存"), QStringLiteral(".pdf"),
                                      QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const bool saved = drawSheets([&](labels::RunProgress& progress) {
        QByteArray pdf;
        const QString error =
            labels::sheetsPdf(pdf, sheets, options, checker->composer(), &progress);
        return error.isEmpty() ? labels::saveOutputs(listPath, path, pdf, {}, {}) : error;
    });
    if (saved)
        tellSaved(path);
}

void Atena_Label::saveReport() {
    if (!cmdReport->isEnabled())
        return;
    const QString path = chooseOutput(QStringLiteral("報告を保存"), QStringLiteral("_報告.csv"),
                                      QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString error =
            labels::saveOutputs(listPath, {}, {}, path, labels::reportCsv(list, rowResults));
        !error.isEmpty())
        tell(error);
    else
        tellSaved(path);
}

} // namespace yubin
