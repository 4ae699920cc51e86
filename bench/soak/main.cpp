#include "Offscreen.h"
#include "Soak.h"
#include "SoakOptions.h"
#include "SoakReport.h"
#include "Writer.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {
int reported(const std::function<int()>& work)
{
    try {
        return work();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessimor-soak: %s\n", error.what());
        return 1;
    }
}

int soak(const SoakOptions& options)
{
    std::fprintf(stderr, "Soaking %d pairs with %d operations, seed %llu...\n", options.pairs,
                 options.operations, static_cast<unsigned long long>(options.seed));
    Soak soak(options);
    const SoakFigures figures = soak.run();
    std::fputs(qPrintable(SoakReport(figures).text()), stdout);
    if (!figures.failures.isEmpty())
        return 1;
    // A clean run leaves nothing behind; a failed one keeps the notebook to look at.
    QFile::remove(figures.notebook);
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    if (SoakOptions::writerMode(argc, argv)) {
        // The writer needs no window.
        QCoreApplication app(argc, argv);
        const SoakOptions options = SoakOptions::parse(QCoreApplication::arguments());
        return reported([&options] { return Writer(options.writer, options.progress, options.seed).run(); });
    }
    Offscreen::prepare();
    QApplication app(argc, argv);
    const SoakOptions options = SoakOptions::parse(QCoreApplication::arguments());
    return reported([&options] { return soak(options); });
}
