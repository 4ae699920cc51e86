#include "Kit.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void refuse(const QString& problem)
{
    std::fprintf(stderr, "tessimor-bench: %s\n", qPrintable(problem));
    std::exit(2);
}

qint64 atLeast(const QCommandLineParser& parser, const QString& name, qint64 least)
{
    bool ok = false;
    const qint64 value = parser.value(name).toLongLong(&ok);
    if (!ok || value < least)
        refuse(QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(least));
    return value;
}

Options parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times Tessimor's commands on notebooks of many pairs beside raw SQLite; with --soak, runs mixed "
        "operations through the window while a second process writes to the notebook, and checks it all."));
    parser.addHelpOption();
    const auto option = [&parser](const char* name, const char* help, const char* value = nullptr,
                                  const char* preset = nullptr, bool hidden = false) {
        QCommandLineOption added{QLatin1String(name), QLatin1String(help)};
        if (value)
            added.setValueName(QLatin1String(value));
        if (preset)
            added.setDefaultValue(QLatin1String(preset));
        if (hidden)
            added.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(added);
    };
    option("sizes", "Notebook sizes, comma-separated.", "N,N,...", "10000,100000,1000000");
    option("runs", "Measured runs per figure (median).", "N", "5");
    option("out", "Where the figures go as JSON.", "FILE", TESSIMOR_BENCH_RESULTS);
    option("cache", "Folder of the generated notebooks.", "DIR", TESSIMOR_BENCH_CACHE);
    option("soak", "Run the soak instead of the benchmark.");
    option("operations", "Soak: operations to run.", "N", "10000");
    option("pairs", "Soak: pairs in the notebook.", "N", "100000");
    option("seed", "Soak: seed of the operations' choices.", "N", "1");
    option("child", "", "FILE", nullptr, true);
    option("writer", "", "FILE", nullptr, true);
    option("progress", "", "FILE", nullptr, true);
    parser.process(arguments);

    Options options;
    for (const QString& part :
         parser.value(QStringLiteral("sizes")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        options.sizes.push_back(part.trimmed().toInt(&ok));
        if (!ok || options.sizes.back() < 1000)
            refuse(QStringLiteral("a size is a whole number of at least 1000 pairs, not '%1'").arg(part));
    }
    if (options.sizes.empty())
        refuse(QStringLiteral("--sizes needs at least one size"));
    options.runs = int(atLeast(parser, QStringLiteral("runs"), 1));
    options.operations = int(atLeast(parser, QStringLiteral("operations"), 1));
    options.pairs = int(atLeast(parser, QStringLiteral("pairs"), 1000));
    options.seed = quint64(atLeast(parser, QStringLiteral("seed"), 0));
    options.out = parser.value(QStringLiteral("out"));
    options.cache = parser.value(QStringLiteral("cache"));
    options.child = parser.value(QStringLiteral("child"));
    options.writer = parser.value(QStringLiteral("writer"));
    options.progress = parser.value(QStringLiteral("progress"));
    if (parser.isSet(QStringLiteral("soak")))
        options.sizes.clear();
    return options;
}

// The offscreen platform and a missing runtime folder say so on every window; nothing to act on, and it
// would bury the progress lines.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")) &&
        !message.contains(QLatin1String("XDG_RUNTIME_DIR")))
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
