#include "AccessReader.h"
#include "Clock.h"
#include "Commands.h"
#include "Connection.h"
#include "ExchangeError.h"
#include "Notebook.h"
#include "ReplaceFile.h"
#include "TextDecoder.h"
#include "TextLimits.h"
#include "WordExporter.h"
#include "WordFileReader.h"
#include "WordImporter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {
const char kExportHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Writes every pair of the notebook, newest first, to FILE, or to standard output\n"
                  "when FILE is left out. FILE appears only once it is complete.\n"
                  "\n"
                  "The formats:\n"
                  "  anki   (the default) a deck for flashcard programs: UTF-8, the header lines\n"
                  "         #separator:tab and #html:false, then English<TAB>Japanese\n"
                  "  csv    for spreadsheets: UTF-8 with a byte-order mark, CRLF line ends,\n"
                  "         the header UpDay,English,Japanese\n"
                  "  tsv    UTF-8, the header UpDay<TAB>English<TAB>Japanese\n"
                  "  mnemosyne  for Mnemosyne's \"Tab-separated text file\" import, English on\n"
                  "         the front: UTF-8, no header, English<TAB>Japanese, each side as HTML\n"
                  "         (& < \" as entities, line breaks and trailing spaces as &#N;). A tab\n"
                  "         is written as a space and a pair with an empty side is left out;\n"
                  "         both are named on standard error. For Mnemosyne only: import reads\n"
                  "         its references as they stand.\n"
                  "\n"
                  "In anki, csv and tsv, a field holding the separator, a line break or a double\n"
                  "quote, or starting with #, is double-quoted with its quotes doubled.");

const char kImportHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Adds the pairs of FILE to the notebook. FILE may be anything export writes, a plain\n"
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
                  "FILE may also be an Access database (.mdb) holding the table wordDB. Rows with an\n"
                  "empty English or Japanese are skipped and named. A character outside the Basic\n"
                  "Multilingual Plane (such as 𠮟 or an emoji) cannot be read from it and\n"
                  "comes back as \"?\": the import names those rows and adds nothing unless\n"
                  "--accept-replacements is given.");

const char kConvertHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Turns an Access database left where the notebook lives (the table wordDB of the\n"
                  "notebook's old design) into a notebook at that place, and keeps the Access file\n"
                  "beside it as word.mdb.access, unchanged. The pairs are read as import reads an\n"
                  "Access file; the new notebook appears only once it is complete. A conversion cut\n"
                  "short (the Access file already kept, the new notebook not yet in place) is\n"
                  "finished by the next one. With --if-access, it succeeds quietly when there is\n"
                  "neither an Access file nor a conversion to finish.");

// Far beyond any word list; keeps a wrong file from being read whole into memory.
constexpr qint64 kLargestFile = qint64(1) << 30;

// Names, on standard error so that an export to standard output stays clean, the pairs the layout could
// not carry as they are.
void printUncarried(const WordExporter::Report& report)
{
    const auto list = [](const QString& what, const QVector<WordRecord>& words) {
        if (words.isEmpty())
            return;
        print(stderr, what.arg(words.size()) + QLatin1Char('\n'));
        for (const WordRecord& word : words)
            print(stderr, QStringLiteral("  \"%1\" \"%2\"\n")
                              .arg(QString(word.english).replace(QChar::Null, QStringLiteral("\\0")),
                                   QString(word.japanese).replace(QChar::Null, QStringLiteral("\\0"))));
    };
    list(TessimorDb::tr("%1 pairs written with a space for each tab:"), report.tabsAsSpaces);
    list(TessimorDb::tr("%1 pairs left out, one side empty:"), report.leftOut);
    list(TessimorDb::tr("%1 pairs written with U+FFFD for each NUL:"), report.nulsReplaced);
}

int exportToStandardOutput(Connection& notebook, ExchangeFormat format)
{
    const QString failure = TessimorDb::tr("cannot write to standard output");
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return refuse(failure);
    const WordExporter::Report report = WordExporter::write(notebook, out, format);
    if (!out.flush() || std::fflush(stdout) != 0)
        return refuse(failure);
    printUncarried(report);
    return Exit::kOk;
}

int exportToFile(Connection& notebook, ExchangeFormat format, const QString& path, bool force)
{
    if (QFileInfo::exists(path) && !force)
        return refuse(TessimorDb::tr("%1 exists already; --force replaces it").arg(path));
    QSaveFile file(path);
    const QString failure = TessimorDb::tr("cannot write %1: %2");
    if (!file.open(QIODevice::WriteOnly))
        return refuse(failure.arg(path, file.errorString()));
    const WordExporter::Report report = WordExporter::write(notebook, file, format);
    if (!file.commit())
        return refuse(failure.arg(path, file.errorString()));
    print(stdout,
          TessimorDb::tr("exported %1 pairs to %2").arg(report.written).arg(path) + QLatin1Char('\n'));
    printUncarried(report);
    return Exit::kOk;
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(ExchangeError::tr("cannot read it: %1").arg(file.errorString()));
    if (file.size() > kLargestFile)
        throw ExchangeError(ExchangeError::tr("the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ExchangeError(ExchangeError::tr("cannot read it: %1").arg(file.errorString()));
    return bytes;
}

void printReport(const ImportReport& report, WordImporter::Mode mode, int commentLines)
{
    const bool dryRun = mode == WordImporter::Mode::DryRun;
    const QString counts =
        dryRun ? TessimorDb::tr("would add %1, skipped %2 (%3 already in the notebook, %4 "
                                "repeated in the file)")
               : TessimorDb::tr("added %1, skipped %2 (%3 already in the notebook, %4 repeated "
                                "in the file)");
    print(stdout, counts.arg(report.added)
                          .arg(report.skipped())
                          .arg(report.alreadyInNotebook)
                          .arg(report.repeatedInFile) +
                      QLatin1Char('\n'));
    if (report.stamped > 0)
        print(stdout, TessimorDb::tr("%1 of them without a valid UpDay: stamped with the time of the import")
                              .arg(report.stamped) +
                          QLatin1Char('\n'));
    // A plain list's line starting with '#' is taken for a comment; say so, so no pair goes unnoticed.
    if (commentLines > 0)
        print(stdout, TessimorDb::tr("passed over %1 comment lines starting with #").arg(commentLines) +
                          QLatin1Char('\n'));
}
QString rowNumbers(const QVector<int>& rows)
{
    QStringList numbers;
    for (const int row : rows)
        numbers << QString::number(row);
    return numbers.join(QStringLiteral(", "));
}

ExchangeError replacementsRefused(const QVector<int>& rows)
{
    return ExchangeError(
        ExchangeError::tr("rows %1 hold characters outside the Basic Multilingual Plane (such "
                          "as 𠮟 or an emoji), which read as \"?\"; --accept-replacements "
                          "takes them so")
            .arg(rowNumbers(rows)));
}

// Refuses a file whose texts the library could not carry whole, unless "?" in their place is accepted.
AccessWords readAccess(const QString& path, bool acceptReplacements)
{
    AccessWords access = readAccessWords(path);
    if (!access.replacedRows.isEmpty() && !acceptReplacements)
        throw replacementsRefused(access.replacedRows);
    return access;
}

// The menu's launcher offers a way out of two of convert's refusals: each has an exit status of its own and
// a line on standard output, in words never translated, for the launcher to read.
int refuseForLauncher(int status, const QString& line, const QString& path, const ExchangeError& error)
{
    print(stdout, line + QLatin1Char('\n'));
    refuse(path + QStringLiteral(": ") + error.message());
    return status;
}

void printAccessNotes(const AccessWords& access)
{
    if (!access.emptyRows.isEmpty())
        print(stdout, TessimorDb::tr("skipped rows %1 of wordDB: an empty English or Japanese")
                              .arg(rowNumbers(access.emptyRows)) +
                          QLatin1Char('\n'));
    if (!access.replacedRows.isEmpty())
        print(stdout, TessimorDb::tr("rows %1 of wordDB taken with \"?\" for characters outside the Basic "
                                     "Multilingual Plane")
                              .arg(rowNumbers(access.replacedRows)) +
                          QLatin1Char('\n'));
    if (access.longPairs > 0)
        print(stdout, TessimorDb::tr("%1 pairs longer than the window's boxes (English %2, Japanese %3 "
                                     "characters) are taken whole")
                              .arg(access.longPairs)
                              .arg(TextLimits::kEnglish)
                              .arg(TextLimits::kJapanese) +
                          QLatin1Char('\n'));
}

// Made by each command, not kept as a constant: its text is translated, and the translation is installed
// only once main runs.
QCommandLineOption acceptReplacements()
{
    return {QStringLiteral("accept-replacements"),
            TessimorDb::tr("take \"?\" for the characters of an Access file that cannot be read")};
}
} // namespace

int exportCommand(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("format"), TessimorDb::tr("anki (the default), csv, tsv or mnemosyne"),
                        QStringLiteral("FORMAT"), QStringLiteral("anki")},
                       {QStringLiteral("force"), TessimorDb::tr("replace FILE if it exists")}});
    parser.addPositionalArgument(QStringLiteral("FILE"), TessimorDb::tr("where the pairs go"),
                                 QStringLiteral("[FILE]"));
    if (const auto status = parse(parser, args, kExportHelp, 0, 1))
        return *status;
    const std::optional<ExchangeFormat> format = exchangeFormatNamed(parser.value(QStringLiteral("format")));
    if (!format)
        return usageError(args.constFirst(),
                          TessimorDb::tr("the format is anki, csv, tsv or mnemosyne, not '%1'")
                              .arg(parser.value(QStringLiteral("format"))));
    return refusing([&] {
        Connection notebook(existingNotebook(), Connection::Access::ReadOnly);
        if (parser.positionalArguments().isEmpty())
            return exportToStandardOutput(notebook, *format);
        return exportToFile(notebook, *format, parser.positionalArguments().constFirst(),
                            parser.isSet(QStringLiteral("force")));
    });
}

int importCommand(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption accept = acceptReplacements();
    parser.addOptions(
        {{QStringLiteral("dry-run"), TessimorDb::tr("report what the import would add, and add nothing")},
         {QStringLiteral("encoding"), TessimorDb::tr("read FILE as utf-8 or shift_jis (also sjis, cp932)"),
          QStringLiteral("NAME")},
         accept});
    parser.addPositionalArgument(QStringLiteral("FILE"), TessimorDb::tr("the word file"));
    if (const auto status = parse(parser, args, kImportHelp, 1, 1))
        return *status;
    const std::optional<TextDecoder::Encoding> encoding =
        TextDecoder::encodingNamed(parser.value(QStringLiteral("encoding")));
    if (parser.isSet(QStringLiteral("encoding")) && !encoding)
        return usageError(args.constFirst(), TessimorDb::tr("the encoding is utf-8 or shift_jis, not '%1'")
                                                 .arg(parser.value(QStringLiteral("encoding"))));
    const QString path = parser.positionalArguments().constFirst();
    QVector<WordRecord> words;
    int commentLines = 0;
    AccessWords access;
    const int read = refusing(
        [&] {
            if (AccessReader::recognises(path)) {
                access = readAccess(path, parser.isSet(accept));
                words = access.words;
                return Exit::kOk;
            }
            WordFileReader reader(TextDecoder::decode(readWhole(path), encoding));
            words = reader.read();
            commentLines = reader.commentLines();
            return Exit::kOk;
        },
        path);
    if (read != Exit::kOk) {
        print(stderr, TessimorDb::tr("nothing was added") + QLatin1Char('\n'));
        return read;
    }
    return refusing([&] {
        Connection notebook(existingNotebook(), Connection::Access::ReadWrite);
        const SystemClock clock;
        const auto mode =
            parser.isSet(QStringLiteral("dry-run")) ? WordImporter::Mode::DryRun : WordImporter::Mode::Add;
        printReport(WordImporter(notebook, clock).import(words, mode), mode, commentLines);
        printAccessNotes(access);
        return Exit::kOk;
    });
}

int convertCommand(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption accept = acceptReplacements();
    const QCommandLineOption ifAccess(QStringLiteral("if-access"),
                                      TessimorDb::tr("do nothing, quietly, when no Access file is there"));
    parser.addOptions({accept, ifAccess});
    if (const auto status = parse(parser, args, kConvertHelp, 0, 0))
        return *status;
    const QString path = Notebook::defaultPath();
    const QString kept = path + QStringLiteral(".access");
    const QString fresh = path + QStringLiteral(".converting");
    return refusing(
        [&] {
            // A rename cut short between linking the new name and unlinking the old leaves the Access file
            // under both names, the notebook beside them complete: without the notebook's name, the step
            // below finishes the conversion.
            if (sameFile(path, kept) && QFileInfo::exists(fresh))
                QFile::remove(path);
            // Cut short after the Access file went aside: the notebook beside it is complete, as the Access
            // file moves only then.
            if (!QFileInfo::exists(path) && QFileInfo::exists(fresh) && AccessReader::recognises(kept)) {
                if (!replaceFile(fresh, path))
                    throw ExchangeError(ExchangeError::tr("cannot finish converting it"));
                print(stdout, TessimorDb::tr("converted %1; the Access file is kept as %2").arg(path, kept) +
                                  QLatin1Char('\n'));
                return Exit::kOk;
            }
            if (!AccessReader::recognises(path)) {
                if (parser.isSet(ifAccess))
                    return Exit::kOk;
                throw ExchangeError(ExchangeError::tr("it is not an Access file"));
            }
            if (QFileInfo::exists(kept))
                throw ExchangeError(ExchangeError::tr("%1 exists already").arg(kept));
            const QStringList tables = AccessReader::tables(path);
            if (!tables.contains(QStringLiteral("wordDB"), Qt::CaseInsensitive))
                return refuseForLauncher(
                    Exit::kNoWordTable, QStringLiteral("tables: ") + tables.join(QLatin1Char('\t')), path,
                    ExchangeError(ExchangeError::tr("there is no table %1").arg("wordDB")));
            const AccessWords access = readAccessWords(path);
            if (!access.replacedRows.isEmpty() && !parser.isSet(accept))
                return refuseForLauncher(Exit::kReplacements,
                                         QStringLiteral("replaced rows: %1").arg(access.replacedRows.size()),
                                         path, replacementsRefused(access.replacedRows));
            // A notebook left half-built by an earlier run is made anew.
            QFile::remove(fresh);
            ImportReport report;
            try {
                Notebook::create(fresh);
                Connection notebook(fresh, Connection::Access::ReadWrite);
                report = WordImporter(notebook, SystemClock()).import(access.words, WordImporter::Mode::Add);
            } catch (...) {
                QFile::remove(fresh);
                throw;
            }
            // The Access file moves aside only once the notebook beside it is complete, so a run cut short
            // at any point leaves the Access file at the notebook's path, or what the run above finishes.
            const bool keptAside = QFile::rename(path, kept);
            if (!keptAside || !replaceFile(fresh, path)) {
                if (keptAside)
                    QFile::rename(kept, path);
                QFile::remove(fresh);
                throw ExchangeError(ExchangeError::tr("cannot convert it: cannot replace %1").arg(path));
            }
            printReport(report, WordImporter::Mode::Add, 0);
            printAccessNotes(access);
            print(stdout, TessimorDb::tr("converted %1; the Access file is kept as %2").arg(path, kept) +
                              QLatin1Char('\n'));
            return Exit::kOk;
        },
        path);
}
