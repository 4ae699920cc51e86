#include "Kit.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    // The real window with no screen: it paints into an image.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({{"sizes", "Notebook sizes, comma-separated.", "N,N", "10000,100000,1000000"},
                       {"runs", "Measured runs a figure (median).", "N", "15"},
                       {"cache", "Folder of the generated notebooks.", "DIR", TESSIMOR_BENCH_CACHE},
                       {"soak", "Run the soak instead of the benchmark."},
                       {"operations", "Soak: operations to run.", "N", "2000"},
                       {"pairs", "Soak: pairs in the notebook.", "N", "100000"},
                       {"measure", "One size, in this process.", "NOTEBOOK"},
                       {"writer", "The soak's writer on this notebook.", "NOTEBOOK"}});
    parser.process(app);
    const int runs = parser.value("runs").toInt();
    try {
        traceEveryConnection();
        if (parser.isSet("writer"))
            return runWriter(parser.value("writer"));
        if (parser.isSet("measure"))
            return measureSize(parser.value("measure"), parser.value("sizes").toInt(), runs);
        if (parser.isSet("soak"))
            return runSoak(parser.value("operations").toInt(), parser.value("pairs").toInt(),
                           parser.value("cache"));
        return runBenchmark(parser.value("sizes").split(','), runs, parser.value("cache"));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessimor-bench: %s\n", error.what());
        return 2;
    }
}
