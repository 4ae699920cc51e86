#include "SoakOptions.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
[[noreturn]] void refuse(const QString& problem)
{
    std::fprintf(stderr, "tessimor-soak: %s\n", qPrintable(problem));
    std::exit(2);
}

int atLeast(const QCommandLineParser& parser, const QCommandLineOption& option, int least)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < least)
        refuse(QStringLiteral("--%1 needs a whole number of at least %2")
                   .arg(option.names().first())
                   .arg(least));
    return value;
}
} // namespace

SoakOptions SoakOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Mixed operations through Tessimor's window on a large notebook while a second "
                       "process writes to it; checks messages, the list, the journal, memory and the file."));
    parser.addHelpOption();
    const QCommandLineOption operations(QStringLiteral("operations"), QStringLiteral("Operations to run."),
                                        QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption pairs(QStringLiteral("pairs"), QStringLiteral("Pairs in the notebook."),
                                   QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the operations' choices."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption cache(QStringLiteral("cache"),
                                   QStringLiteral("Folder of the generated notebooks."),
                                   QStringLiteral("DIR"), QStringLiteral(TESSIMOR_BENCH_CACHE));
    QCommandLineOption writer(QStringLiteral("writer"), QString(), QStringLiteral("FILE"));
    QCommandLineOption progress(QStringLiteral("progress"), QString(), QStringLiteral("FILE"));
    writer.setFlags(QCommandLineOption::HiddenFromHelp);
    progress.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({operations, pairs, seed, cache, writer, progress});
    parser.process(arguments);

    SoakOptions options;
    options.operations = atLeast(parser, operations, 1);
    options.pairs = atLeast(parser, pairs, 1000);
    bool ok = false;
    options.seed = parser.value(seed).toULongLong(&ok);
    if (!ok)
        refuse(QStringLiteral("--seed needs a whole number"));
    options.cache = parser.value(cache);
    options.writer = parser.value(writer);
    options.progress = parser.value(progress);
    return options;
}

bool SoakOptions::writerMode(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--writer") == 0)
            return true;
    }
    return false;
}
