#include "barcode/barcode_cli.h"

#include "address/resolver.h"
#include "barcode/barcode_input.h"
#include "barcode/cbarcode.h"
#include "foundation/text.h"
#include "foundation/whole_files.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace yubin {

namespace {

// The SVG is written in hundredths of a millimetre, which every printed
// size is a whole number of.
constexpr int SvgDotsPerInch = 2540;
// The PDF page at the resolution a printer is usually driven at.
constexpr int PdfDotsPerInch = 1200;

struct BarcodeJob {
    QString data;
    int codeSize = barcode::DefaultCodeSize;
    qint32 top = 0;
    qint32 left = 0;
};

bool drawOn(BarcodeSurface surface, const BarcodeJob& job, int block, qint32 top, qint32 left) {
    SharedValues shared;
    shared.BarCodeSize = job.codeSize;
    cBarcode encoder(shared);
    encoder.setCode(job.data);
    encoder.setBlock(block);
    encoder.setTop(top);
    encoder.setLeft(left);
    encoder.setTarget(&surface);
    return encoder.PrintBarZip() == BarcodeError::None;
}

bool writePng(QIODevice& file, const BarcodeJob& job) {
    QImage picture(barcode::PreviewImageSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return drawOn(BarcodeSurface::picture(picture), job, job.codeSize, 0, 0) &&
           picture.save(&file, "PNG");
}

bool writeSvg(QIODevice& file, const BarcodeJob& job) {
    const QSizeF mm = barcode::printedSizeMm(job.codeSize);
    const QSize px(int(std::lround(mm.width() * SvgDotsPerInch / 25.4)),
                   int(std::lround(mm.height() * SvgDotsPerInch / 25.4)));
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(SvgDotsPerInch);
    svg.setSize(px);
    svg.setViewBox(QRect(QPoint(0, 0), px));
    svg.setTitle(QStringLiteral("カスタマバーコード ") + job.data);
    return drawOn(BarcodeSurface::printer(svg), job,
                  job.codeSize * barcode::PrinterBlockPerCodeSize, 0, 0);
}

bool writePdf(QIODevice& file, const BarcodeJob& job) {
    QPdfWriter pdf(&file);
    pdf.setResolution(PdfDotsPerInch);
    // Positions are from the paper's corner: no margins.
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    pdf.setTitle(QStringLiteral("カスタマバーコード ") + job.data);
    return drawOn(BarcodeSurface::printer(pdf), job,
                  job.codeSize * barcode::PrinterBlockPerCodeSize, job.top, job.left);
}

// The picture is drawn in memory, written whole beside its file and takes
// the file's place only when complete: a failed write (a full disk, a size
// limit) leaves a file of the same name as it was.
bool writeWhole(const QString& file, const BarcodeJob& job,
                bool (*write)(QIODevice&, const BarcodeJob&)) {
    QBuffer picture;
    if (!picture.open(QIODevice::WriteOnly) || !write(picture, job))
        return false;
    StagedFiles staged;
    return staged.add(file, picture.data()).isEmpty() && staged.commit().isEmpty();
}

} // namespace

int runBarcodeVerb(const CliRequest& request) {
    QTextStream& err = *request.err;
    const bool fromAddress = request.values.contains(QStringLiteral("address"));
    if (fromAddress ? !request.positional.isEmpty()
                    : request.positional.isEmpty() || request.positional.size() > 2)
        return usageError(
            request, QT_TRANSLATE_NOOP("yubin-cli",
                                       "barcode takes ZIP [ADDRESS], or --address ADDRESS alone"));
    BarcodeJob job;
    const QString sizeText = request.value(QStringLiteral("size"), QStringLiteral("2"));
    if (sizeText != u"1" && sizeText != u"2" && sizeText != u"3")
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "--size must be 1, 2 or 3"));
    job.codeSize = sizeText.toInt();
    for (const auto& [name, fallback, field] :
         {std::tuple{QStringLiteral("top"), barcode::DefaultTopText, &job.top},
          std::tuple{QStringLiteral("left"), barcode::DefaultLeftText, &job.left}}) {
        const std::optional<qint32> mm = barcode::parsePosition(request.value(name, fallback));
        if (!mm)
            return usageError(
                request,
                QT_TRANSLATE_NOOP("yubin-cli", "--%1 must be a whole number of millimetres"),
                {name});
        *field = *mm;
    }

    QStringList given = request.positional;
    if (fromAddress) {
        address::AddressResolver resolver(request.data);
        const address::Resolution r = resolver.resolve(request.value(QStringLiteral("address")));
        if (!r.resolved()) {
            err << r.failure << '\n';
            return ExitCode::NothingFound;
        }
        for (const QString& warning : r.warnings)
            err << warning << '\n';
        given = {r.postalCode, r.addressNumber};
    }
    const QString zip = text::trimmed(given[0]);
    if (const std::optional<QString> problem = barcode::postalCodeProblem(zip)) {
        err << *problem << '\n';
        return ExitCode::NothingFound;
    }
    job.data = barcode::barcodeData(zip, text::trimmed(given.value(1)));
    barcode::UnencodableCharacter failure;
    const std::optional<barcode::Barcode> built = barcode::encodeBarcode(job.data, &failure);
    if (!built) {
        err << QStringLiteral("yubin-cli: \"%1\" cannot be encoded in the customer barcode")
                   .arg(failure.character)
            << '\n';
        return ExitCode::NothingFound;
    }

    const std::pair<QString, bool (*)(QIODevice&, const BarcodeJob&)> outputs[] = {
        {QStringLiteral("png"), writePng},
        {QStringLiteral("svg"), writeSvg},
        {QStringLiteral("pdf"), writePdf},
    };
    for (const auto& [option, write] : outputs) {
        const QString file = request.value(option);
        if (!request.values.contains(option))
            continue;
        if (file.isEmpty() || !writeWhole(file, job, write)) {
            err << QStringLiteral("yubin-cli: cannot write %1").arg(file) << '\n';
            return ExitCode::NothingFound;
        }
    }

    *request.out << barcode::checkValueText(built->check) << '\n' << built->pattern << '\n';
    return ExitCode::Ok;
}

} // namespace yubin
