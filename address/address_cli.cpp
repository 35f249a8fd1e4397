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
    std::vector<QStringList> fields;
    auto one = [&](QStringView addressText) {
        const address::Resolution r = resolver.resolve(addressText);
        all = all && r.resolved();
        // Text goes out line by line, as a long input is read.
        if (request.format == OutputFormat::Text)
            *request.out << address::resolutionLine(r) << '\n';
        else
            fields.push_back(address::resolutionFields(r));
    };
    auto finish = [&] {
        if (request.format != OutputFormat::Text)
            printTable(request, {}, fields);
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
    const QByteArray bytes = in.readAll();
    // Each line decoded on its own, so one damaged line cannot spill into
    // the next; what is not UTF-8 becomes U+FFFD and is refused as such.
    forEachLine(QByteArrayView(bytes), [&](QByteArrayView line) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(line);
        one(decoded);
    });
    return finish();
}

int runAddressNumberVerb(const CliRequest& request) {
    *request.out << address::addressNumber(request.positional[0]).number << '\n';
    return ExitCode::Ok;
}

} // namespace yubin
