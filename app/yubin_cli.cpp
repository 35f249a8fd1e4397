#include "address/address_cli.h"
#include "barcode/barcode_cli.h"
#include "data_prep/prepare_cli.h"
#include "foundation/cli.h"
#include "foundation/utilities.h"
#include "labels/labels_cli.h"
#include "main_window/browse_cli.h"
#include "map_search/map_cli.h"
#include "search/search_cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

struct Verb {
    const char* name;
    yubin::VerbOptions options;
    std::function<int(const yubin::CliRequest&)> run;
};

} // namespace

int main(int argc, char* argv[]) {
    yubin::reportFileSizeLimitAsWriteError();
    // Only the label sheets need fonts; they are drawn off any screen.
    std::unique_ptr<QCoreApplication> application;
    if (yubin::cliDrawsText(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    const std::vector<Verb> verbs = {
        {"prefectures", {}, yubin::runPrefecturesVerb},
        {"data-folder", {}, yubin::runDataFolderVerb},
        {"municipalities", {{}, {QStringLiteral("offices")}}, yubin::runMunicipalitiesVerb},
        {"towns", {{}, {QStringLiteral("offices")}}, yubin::runTownsVerb},
        {"town-search", {}, yubin::runTownSearchVerb},
        {"search",
         {{}, {QStringLiteral("fold"), QStringLiteral("no-offices")}},
         yubin::runSearchVerb},
        {"code", {{}, {QStringLiteral("no-offices")}}, yubin::runCodeVerb},
        {"map-url", {{QStringLiteral("site")}, {QStringLiteral("office")}}, yubin::runMapUrlVerb},
        {"web-url", {{QStringLiteral("engine")}, {}}, yubin::runWebUrlVerb},
        {"barcode", yubin::BarcodeVerbOptions, yubin::runBarcodeVerb},
        {"prepare", {}, yubin::runPrepareVerb},
        {"resolve", {}, yubin::runResolveVerb},
        {"address-number", {}, yubin::runAddressNumberVerb},
        {"labels", yubin::LabelsVerbOptions, yubin::runLabelsVerb},
    };

    QStringList args = app.arguments().mid(1);
    yubin::DataFolder data(QCoreApplication::applicationDirPath());
    if (args.size() >= 2 && args[0] == QLatin1String("--data")) {
        data = yubin::DataFolder::atPath(args[1]);
        args = args.mid(2);
    }
    if (args.isEmpty())
        return yubin::usageError(err, QStringLiteral("usage: yubin-cli [--data DIR] VERB ..."));

    for (const Verb& verb : verbs) {
        if (args[0] != QLatin1String(verb.name))
            continue;
        QString error;
        auto request = yubin::parseVerbArguments(args.mid(1), verb.options, data, &error);
        if (!request)
            return yubin::usageError(err, error);
        request->out = &out;
        request->err = &err;
        const int code = verb.run(*request);
        out.flush();
        err.flush();
        return code;
    }
    return yubin::usageError(err, QStringLiteral("unknown verb %1").arg(args[0]));
}
