#include "BenchOptions.h"
#include "NotebookCache.h"
#include "Offscreen.h"
#include "Report.h"
#include "SizeBench.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include <cstdio>
#include <stdexcept>

namespace {
// Measures one size in this process and hands the figures to the parent on standard output.
int measureOne(const BenchOptions& options)
{
    SizeBench bench(options.childNotebook, options.childSize, options.runs);
    const QByteArray json = QJsonDocument(bench.run().toJson()).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

// Each size in a process of its own, so its memory figure holds nothing of the sizes before it.
SizeResult measureInChild(const BenchOptions& options, const QString& notebook, int size)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child-size"), QString::number(size), QStringLiteral("--child-notebook"),
                 notebook, QStringLiteral("--runs"), QString::number(options.runs)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("measuring " + std::to_string(size) + " pairs failed");
    const QJsonDocument json = QJsonDocument::fromJson(child.readAllStandardOutput());
    if (!json.isObject())
        throw std::runtime_error("no figures came back for " + std::to_string(size) + " pairs");
    return SizeResult::fromJson(json.object());
}

int measureAll(const BenchOptions& options)
{
    NotebookCache cache(options.cache);
    for (int size : options.sizes)
        cache.notebook(size);
    std::vector<SizeResult> results;
    for (int size : options.sizes) {
        std::fprintf(stderr, "Measuring %d pairs, %d runs each...\n", size, options.runs);
        const QString notebook = cache.workingCopy(size, QStringLiteral("working"));
        results.push_back(measureInChild(options, notebook, size));
        QFile::remove(notebook);
    }
    const Report report(results, options.runs);
    std::fputs(qPrintable(report.markdown()), stdout);
    report.write(options.out);
    std::fprintf(stderr, "Figures written to %s\n", qPrintable(options.out));
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    Offscreen::prepare();
    QApplication app(argc, argv);
    const BenchOptions options = BenchOptions::parse(QCoreApplication::arguments());
    try {
        return options.childSize > 0 ? measureOne(options) : measureAll(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessimor-bench: %s\n", error.what());
        return 1;
    }
}
