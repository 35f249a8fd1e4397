#include "address/address_cli.h"

#include "address/address_number.h"
#include "address/resolver.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace yubin {

int runResolveVerb(const CliRequest& request) {
    address::AddressResolver resolver(request.data);
    bool all = true;
    size_t rows = 0;
    // Into a pipe or a terminal each line goes at once; into a file the
    // stream's buffer saves a write per line.
    struct stat target {};
    const bool flushEachLine =
        isatty(STDOUT_FILENO) || (fstat(STDOUT_FILENO, &target) == 0 &&
                                  (S_ISFIFO(target.st_mode) || S_ISSOCK(target.st_mode)));
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
        if (flushEachLine)
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
    // Each line decoded on its own, so one damaged line cannot spill into
    // the next; what is not UTF-8 becomes U+FFFD and is refused as such. A
    // line longer than any address is read in pieces and refused whole.
    constexpr qsizetype Piece = 64 * 1024;
    auto decoded = [&](const QByteArray& bytes) {
        QByteArray line = bytes;
        while (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > Piece)
            return QString(address::MaxAddressLength + 1, u'?');
        QStringDecoder utf8(QStringDecoder::Utf8);
        return QString(utf8.decode(line));
    };
    std::vector<char> buffer(static_cast<size_t>(Piece));
    QByteArray line; // held to Piece + 1 bytes: a longer line is refused whole
    bool pending = false;
    // read() gives what the pipe holds without waiting for a full buffer:
    // an engine that sends a line and waits for its answer is answered.
    while (true) {
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        QByteArrayView chunk(buffer.data(), qsizetype(got));
        while (!chunk.isEmpty()) {
            const qsizetype end = chunk.indexOf('\n');
            const QByteArrayView part = end < 0 ? chunk : chunk.first(end);
            if (line.size() <= Piece)
                line += part.first(std::min(part.size(), Piece + 1 - line.size()));
            pending = true;
            if (end < 0)
                break;
            one(decoded(line));
            line.clear();
            pending = false;
            chunk = chunk.sliced(end + 1);
        }
    }
    if (pending)
        one(decoded(line));
    return finish();
}

int runAddressNumberVerb(const CliRequest& request) {
    *request.out << address::addressNumber(request.positional[0]).number << '\n';
    return ExitCode::Ok;
}

} // namespace yubin
