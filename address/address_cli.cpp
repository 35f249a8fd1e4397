#include "address/address_cli.h"

#include "address/address_number.h"
#include "address/resolver.h"
#include "foundation/data_file.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace yubin {

int runResolveVerb(const CliRequest& request) {
    address::AddressResolver resolver(request.data);
    bool all = true;
    auto one = [&](QStringView addressText) {
        const address::Resolution r = resolver.resolve(addressText);
        all = all && r.resolved();
        *request.out << address::resolutionLine(r) << '\n';
    };
    if (!request.positional.isEmpty()) {
        for (const QString& a : request.positional)
            one(a);
        return all ? ExitCode::Ok : ExitCode::NothingFound;
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return usageError(*request.err, QStringLiteral("yubin-cli: cannot read standard input"));
    const QByteArray bytes = in.readAll();
    // Each line decoded on its own, so one damaged line cannot spill into
    // the next; what is not UTF-8 becomes U+FFFD and is refused as such.
    forEachLine(QByteArrayView(bytes), [&](QByteArrayView line) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(line);
        one(decoded);
    });
    return all ? ExitCode::Ok : ExitCode::NothingFound;
}

int runAddressNumberVerb(const CliRequest& request) {
    if (request.positional.size() != 1)
        return usageError(*request.err, QStringLiteral("usage: yubin-cli address-number TEXT"));
    *request.out << address::addressNumber(request.positional[0]).number << '\n';
    return ExitCode::Ok;
}

} // namespace yubin
