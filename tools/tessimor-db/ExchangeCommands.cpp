#include "Clock.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ExchangeError.h"
#include "NotebookFile.h"
#include "StoreError.h"
#include "TextDecoder.h"
#include "WordExporter.h"
#include "WordFileReader.h"
#include "WordImporter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const char kExportHelp[] =
    "Usage: tessimor-db export [--format anki|csv|tsv] [--force] [FILE]\n"
    "\n"
    "Writes every pair of the notebook, newest first, to FILE, or to standard output\n"
    "when FILE is left out. FILE appears only once it is complete.\n"
    "\n"
    "  --format anki   (the default) a deck for flashcard programs: UTF-8, the header\n"
    "                  lines #separator:tab and #html:false, then English<TAB>Japanese\n"
    "  --format csv    for spreadsheets: UTF-8 with a byte-order mark, CRLF line ends,\n"
    "                  the header UpDay,English,Japanese\n"
    "  --format tsv    UTF-8, the header UpDay<TAB>English<TAB>Japanese\n"
    "  --force         replace FILE if it exists\n"
    "  -h, --help      show this help\n"
    "\n"
    "A field holding the separator, a line break or a double quote, or starting with #,\n"
    "is double-quoted with its quotes doubled.\n";

const char kImportHelp[] =
    "Usage: tessimor-db import [--dry-run] [--encoding NAME] FILE\n"
    "\n"
    "Adds the pairs of FILE to the notebook. FILE may be anything export writes, a plain\n"
    "list of English and Japanese separated by a tab or a comma (a first line naming the\n"
    "columns is passed over), or a CSV file saved by a Japanese spreadsheet. UTF-8, with\n"
    "or without a byte-order mark, and Shift_JIS (CP932) are told apart by themselves.\n"
    "\n"
    "Pairs the notebook already holds, and repeats inside the file, are skipped by the\n"
    "rule Register uses: both texts equal, the English ignoring case. A valid UpDay in\n"
    "the file is kept; other pairs get the time of the import. The pairs are added in one\n"
    "step: a line that cannot be read stops the import with its number, and nothing is\n"
    "added. Lines starting with # are comments.\n"
    "\n"
    "  --dry-run         report what the import would add, and add nothing\n"
    "  --encoding NAME   read FILE as utf-8 or shift_jis (also sjis, cp932)\n"
    "  -h, --help        show this help\n";

// Far beyond any word list; keeps a wrong file from being read whole into memory.
constexpr qint64 kLargestFile = qint64(1) << 30;

std::optional<ExchangeFormat> formatOf(const CommandLine& line)
{
    return line.has(QStringLiteral("--format")) ? exchangeFormatNamed(line.value(QStringLiteral("--format")))
                                                : ExchangeFormat::Anki;
}

int exportToStandardOutput(Connection& notebook, ExchangeFormat format)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return refuse(QStringLiteral("標準出力に書き込めません (cannot write to standard output)"));
    WordExporter::write(notebook, out, format);
    if (!out.flush() || std::fflush(stdout) != 0)
        return refuse(QStringLiteral("標準出力に書き込めません (cannot write to standard output)"));
    return Exit::kOk;
}

int exportToFile(Connection& notebook, ExchangeFormat format, const QString& path, bool force)
{
    if (QFileInfo::exists(path) && !force)
        return refuse(QStringLiteral("%1 は既にあります。--force で上書きします (%1 exists already; --force "
                                     "replaces it)")
                          .arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return refuse(
            QStringLiteral("%1 に書き込めません (cannot write %1): %2").arg(path, file.errorString()));
    const int pairs = WordExporter::write(notebook, file, format);
    if (!file.commit())
        return refuse(
            QStringLiteral("%1 に書き込めません (cannot write %1): %2").arg(path, file.errorString()));
    print(stdout, QStringLiteral("exported %1 pairs to %2\n").arg(pairs).arg(path));
    return Exit::kOk;
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw ExchangeError(QStringLiteral("読めません: %1").arg(file.errorString()),
                            QStringLiteral("cannot read it: %1").arg(file.errorString()));
    if (file.size() > kLargestFile)
        throw ExchangeError(QStringLiteral("大きすぎます"), QStringLiteral("the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ExchangeError(QStringLiteral("読めません: %1").arg(file.errorString()),
                            QStringLiteral("cannot read it: %1").arg(file.errorString()));
    return bytes;
}

void printReport(const ImportReport& report, bool dryRun, int commentLines)
{
    const QString verb = dryRun ? QStringLiteral("would add") : QStringLiteral("added");
    print(stdout, QStringLiteral("%1 %2, skipped %3 (%4 already in the notebook, %5 repeated in the file)\n")
                      .arg(verb)
                      .arg(report.added)
                      .arg(report.skipped())
                      .arg(report.alreadyInNotebook)
                      .arg(report.repeatedInFile));
    print(stdout, QStringLiteral("%1 %2件、スキップ %3件 (登録済み %4件、ファイル内の重複 %5件)\n")
                      .arg(dryRun ? QStringLiteral("追加予定") : QStringLiteral("追加"))
                      .arg(report.added)
                      .arg(report.skipped())
                      .arg(report.alreadyInNotebook)
                      .arg(report.repeatedInFile));
    if (report.stamped > 0)
        print(stdout, QStringLiteral("%1 of them without a valid UpDay: stamped with the time of the import\n"
                                     "うち %1件は UpDay がないため取り込み時刻を記録\n")
                          .arg(report.stamped));
    // A plain list's line starting with '#' is taken for a comment; say so, so no pair goes unnoticed.
    if (commentLines > 0)
        print(stdout, QStringLiteral("passed over %1 comment lines starting with #\n"
                                     "# で始まるコメント行 %1行を読み飛ばしました\n")
                          .arg(commentLines));
}
} // namespace

int exportCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("export"), {QStringLiteral("--force")}, {QStringLiteral("--format")});
    if (const int status = line.read(args, kExportHelp, 0, 1); status != CommandLine::kGoOn)
        return status;
    const std::optional<ExchangeFormat> format = formatOf(line);
    if (!format)
        return usageError(line.command(), QStringLiteral("the format is anki, csv or tsv, not '%1'")
                                              .arg(line.value(QStringLiteral("--format"))));
    try {
        auto notebook = NotebookFile::open(Connection::Access::ReadOnly);
        if (line.positional().isEmpty())
            return exportToStandardOutput(*notebook, *format);
        return exportToFile(*notebook, *format, line.positional().constFirst(),
                            line.has(QStringLiteral("--force")));
    } catch (const ExchangeError& error) {
        return NotebookFile::refuse(error);
    } catch (const StoreError& error) {
        return NotebookFile::refuse(error);
    }
}

int importCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("import"), {QStringLiteral("--dry-run")}, {QStringLiteral("--encoding")});
    if (const int status = line.read(args, kImportHelp, 1, 1); status != CommandLine::kGoOn)
        return status;
    std::optional<TextDecoder::Encoding> encoding;
    if (line.has(QStringLiteral("--encoding"))) {
        encoding = TextDecoder::encodingNamed(line.value(QStringLiteral("--encoding")));
        if (!encoding)
            return usageError(line.command(), QStringLiteral("the encoding is utf-8 or shift_jis, not '%1'")
                                                  .arg(line.value(QStringLiteral("--encoding"))));
    }
    const QString path = line.positional().constFirst();
    QVector<WordRecord> words;
    int commentLines = 0;
    try {
        WordFileReader reader(TextDecoder::decode(readWhole(path), encoding).text);
        words = reader.read();
        commentLines = reader.commentLines();
    } catch (const ExchangeError& error) {
        NotebookFile::refuse(error, path);
        print(stderr, QStringLiteral("何も追加していません (nothing was added)\n"));
        return Exit::kRefused;
    }
    try {
        auto notebook = NotebookFile::open(Connection::Access::ReadWrite);
        const SystemClock clock;
        const bool dryRun = line.has(QStringLiteral("--dry-run"));
        printReport(WordImporter(*notebook, clock).import(words, dryRun), dryRun, commentLines);
    } catch (const ExchangeError& error) {
        return NotebookFile::refuse(error);
    } catch (const StoreError& error) {
        return NotebookFile::refuse(error);
    }
    return Exit::kOk;
}
