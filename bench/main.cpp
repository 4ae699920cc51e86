#include "Kit.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {
Options parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times Tessimor's commands on notebooks of many pairs beside raw SQLite; with --soak, runs mixed "
        "operations through the window while a second process writes to the notebook, and checks it all."));
    parser.addHelpOption();
    QList<QCommandLineOption> options = {
        {"sizes", "Notebook sizes, comma-separated.", "N,N,...", "10000,100000,1000000"},
        {"runs", "Measured runs per figure (median).", "N", "15"},
        {"only", "Time only these commands (ids as in the JSON), comma-separated.", "ID,ID,..."},
        {"out", "Where the figures go as JSON.", "FILE", TESSIMOR_BENCH_RESULTS},
        {"cache", "Folder of the generated notebooks.", "DIR", TESSIMOR_BENCH_CACHE},
        {"soak", "Run the soak instead of the benchmark."},
        {"operations", "Soak: operations to run.", "N", "10000"},
        {"pairs", "Soak: pairs in the notebook.", "N", "100000"},
        {"seed", "Soak: seed of the operations' choices.", "N", "1"},
        {"child", "", "FILE"},
        {"writer", "", "FILE"},
        {"progress", "", "FILE"}};
    for (QCommandLineOption& option : options)
        option.setFlags(option.description().isEmpty() ? QCommandLineOption::HiddenFromHelp : option.flags());
    parser.addOptions(options);
    parser.process(arguments);
    const auto number = [](const QString& text, const char* name, qint64 least) {
        bool ok = false;
        const qint64 value = text.trimmed().toLongLong(&ok);
        require(ok && value >= least,
                QStringLiteral("--%1 takes whole numbers of at least %2").arg(name).arg(least));
        return value;
    };
    Options chosen;
    for (const QString& size : parser.value("sizes").split(',', Qt::SkipEmptyParts))
        chosen.sizes.push_back(int(number(size, "sizes", 1000)));
    require(!chosen.sizes.empty(), QStringLiteral("--sizes needs at least one size"));
    chosen.soak = parser.isSet("soak");
    chosen.only = parser.value("only").split(',', Qt::SkipEmptyParts);
    chosen.runs = int(number(parser.value("runs"), "runs", 1));
    chosen.operations = int(number(parser.value("operations"), "operations", 1));
    chosen.pairs = int(number(parser.value("pairs"), "pairs", 1000));
    chosen.seed = quint64(number(parser.value("seed"), "seed", 0));
    for (const char* path : {"out", "cache", "child", "writer", "progress"})
        chosen.paths[path] = parser.value(path);
    return chosen;
}

} // namespace

int main(int argc, char* argv[])
{
    // The real window with no screen: it paints into an image.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform and a missing runtime folder say so on every window; nothing to act on, and
    // it would bury the progress lines.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.contains("propagateSizeHints") && !message.contains("XDG_RUNTIME_DIR"))
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    });
    QApplication app(argc, argv);
    try {
        const Options options = parse(QCoreApplication::arguments());
        if (!options.paths.value("writer").isEmpty())
            return runWriter(options);
        if (!options.paths.value("child").isEmpty())
            return measureChild(options);
        return options.soak ? runSoak(options) : runBenchmark(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessimor-bench: %s\n", error.what());
        return 1;
    }
}
