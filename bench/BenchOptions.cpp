#include "BenchOptions.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kSmallestSize = 1000;

[[noreturn]] void refuse(const QString& problem)
{
    std::fprintf(stderr, "tessimor-bench: %s\n", qPrintable(problem));
    std::exit(2);
}

std::vector<int> sizesFrom(const QString& text)
{
    std::vector<int> sizes;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int size = part.trimmed().toInt(&ok);
        if (!ok || size < kSmallestSize)
            refuse(QStringLiteral("a size is a whole number of at least %1 pairs, not '%2'")
                       .arg(kSmallestSize)
                       .arg(part));
        sizes.push_back(size);
    }
    if (sizes.empty())
        refuse(QStringLiteral("--sizes needs at least one size"));
    return sizes;
}
} // namespace

BenchOptions BenchOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times Tessimor's commands on notebooks of many pairs, beside raw SQLite."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"),
                                   QStringLiteral("Notebook sizes, comma-separated."),
                                   QStringLiteral("N,N,..."), QStringLiteral("10000,100000,1000000"));
    const QCommandLineOption runs(QStringLiteral("runs"),
                                  QStringLiteral("Measured runs per figure (median)."), QStringLiteral("N"),
                                  QStringLiteral("5"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Where the JSON goes."),
                                 QStringLiteral("FILE"), QStringLiteral(TESSIMOR_BENCH_RESULTS));
    const QCommandLineOption cache(QStringLiteral("cache"),
                                   QStringLiteral("Folder of the generated notebooks."),
                                   QStringLiteral("DIR"), QStringLiteral(TESSIMOR_BENCH_CACHE));
    QCommandLineOption childSize(QStringLiteral("child-size"), QString(), QStringLiteral("N"));
    QCommandLineOption childNotebook(QStringLiteral("child-notebook"), QString(), QStringLiteral("FILE"));
    childSize.setFlags(QCommandLineOption::HiddenFromHelp);
    childNotebook.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({sizes, runs, out, cache, childSize, childNotebook});
    parser.process(arguments);

    BenchOptions options;
    options.sizes = sizesFrom(parser.value(sizes));
    bool ok = false;
    options.runs = parser.value(runs).toInt(&ok);
    if (!ok || options.runs < 1)
        refuse(QStringLiteral("--runs needs a whole number of at least 1"));
    options.out = parser.value(out);
    options.cache = parser.value(cache);
    options.childSize = parser.value(childSize).toInt();
    options.childNotebook = parser.value(childNotebook);
    return options;
}
