#include "address/address_cli.h"

#include "address/address_number.h"
#include "address/resolver.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace yubin {

int runResolveVerb(const CliRequest& request) {
    address::AddressResolver resolver(request.data);
    bool all = true;
    size_t rows = 0;
    beginTable(request);
    // Each result goes out as soon as it is known, so that the verb works
    // as a filter in a pipe and holds one line at a time.
    auto one = [&](QStringView addressText) {
        const address::Resolution r = resolver.resolve(addressText);
        all = all && r.resolved();
        if (request.format == OutputFormat::Text)
            *request.out << address::resolutionLine(r) << '\n';
        else
            printTableRow(request, address::resolutionFields(r), rows);
        ++rows;
        request.out->flush();
    };
    auto finish = [&] {
        endTable(request, rows);
        return all ? ExitCode::Ok : ExitCode::NothingFound;
    };
    if (!request.positional.isEmpty()) {
        for (const QString& a : request.positional)
            one(a);
        return finish();
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        *request.err << QStringLiteral("yubin-cli: cannot read standard input") << '\n';
        return ExitCode::NothingFound;
    }
    // Each line decoded on its own, so one damaged line cannot spill into
    // the next; what is not UTF-8 becomes U+FFFD and is refused as such. A
    // line longer than any address is read in pieces and refused whole.
    constexpr qint64 Piece = 64 * 1024;
    QByteArray line;
    bool tooLong = false;
    while (true) {
        QByteArray piece = in.readLine(Piece);
        if (piece.isEmpty() && (in.atEnd() || in.error() != QFileDevice::NoError))
            break;
        const bool ended = piece.endsWith('\n');
        if (!tooLong)
            line += piece;
        if (line.size() > Piece) {
            tooLong = true;
            line.clear();
        }
        if (!ended && piece.size() >= Piece - 1)
            continue;
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (tooLong) {
            one(QString(address::MaxAddressLength + 1, u'?'));
        } else {
            QStringDecoder utf8(QStringDecoder::Utf8);
            one(QString(utf8.decode(line)));
        }
        line.clear();
        tooLong = false;
    }
    return finish();
}

int runAddressNumberVerb(const CliRequest& request) {
    *request.out << address::addressNumber(request.positional[0]).number << '\n';
    return ExitCode::Ok;
}

} // namespace yubin
