#include "Kit.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {
[[noreturn]] void refuse(const QString& problem)
{
    std::fprintf(stderr, "tessimor-bench: %s\n", qPrintable(problem));
    std::exit(2);
}

Options parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times Tessimor's commands on notebooks of many pairs beside raw SQLite; with --soak, runs mixed "
        "operations through the window while a second process writes to the notebook, and checks it all."));
    parser.addHelpOption();
    QList<QCommandLineOption> options = {
        {"sizes", "Notebook sizes, comma-separated.", "N,N,...", "10000,100000,1000000"},
        {"runs", "Measured runs per figure (median).", "N", "5"},
        {"out", "Where the figures go as JSON.", "FILE", TESSIMOR_BENCH_RESULTS},
        {"cache", "Folder of the generated notebooks.", "DIR", TESSIMOR_BENCH_CACHE},
        {"soak", "Run the soak instead of the benchmark."},
        {"operations", "Soak: operations to run.", "N", "10000"},
        {"pairs", "Soak: pairs in the notebook.", "N", "100000"},
        {"seed", "Soak: seed of the operations' choices.", "N", "1"},
        {"child", "", "FILE"},
        {"writer", "", "FILE"},
        {"progress", "", "FILE"}};
    for (QCommandLineOption& option : options) {
        if (option.description().isEmpty())
            option.setFlags(QCommandLineOption::HiddenFromHelp);
    }
    parser.addOptions(options);
    parser.process(arguments);
    const auto atLeast = [&parser](const char* name, qint64 least) {
        bool ok = false;
        const qint64 value = parser.value(name).toLongLong(&ok);
        if (!ok || value < least)
            refuse(QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(least));
        return value;
    };

    Options chosen;
    for (const QString& part : parser.value("sizes").split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        chosen.sizes.push_back(part.trimmed().toInt(&ok));
        if (!ok || chosen.sizes.back() < 1000)
            refuse(QStringLiteral("a size is a whole number of at least 1000 pairs, not '%1'").arg(part));
    }
    if (chosen.sizes.empty())
        refuse(QStringLiteral("--sizes needs at least one size"));
    if (parser.isSet("soak"))
        chosen.sizes.clear();
    chosen.runs = int(atLeast("runs", 1));
    chosen.operations = int(atLeast("operations", 1));
    chosen.pairs = int(atLeast("pairs", 1000));
    chosen.seed = quint64(atLeast("seed", 0));
    chosen.out = parser.value("out");
    chosen.cache = parser.value("cache");
    chosen.child = parser.value("child");
    chosen.writer = parser.value("writer");
    chosen.progress = parser.value("progress");
    return chosen;
}

// The offscreen platform and a missing runtime folder say so on every window; nothing to act on, and it
// would bury the progress lines.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains("propagateSizeHints") && !message.contains("XDG_RUNTIME_DIR"))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

int main(int argc, char* argv[])
{
    // The real window with no screen: it paints into an image.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    try {
        if (!options.writer.isEmpty())
            return runWriter(options);
        if (!options.child.isEmpty())
            return measureChild(options);
        return options.sizes.empty() ? runSoak(options) : runBenchmark(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessimor-bench: %s\n", error.what());
        return 1;
    }
}
