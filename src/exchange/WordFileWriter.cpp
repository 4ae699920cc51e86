#include "WordFileWriter.h"

#include "ExchangeError.h"

#include <QIODevice>

WordFileWriter::WordFileWriter(QIODevice& device, ExchangeFormat format)
    : m_device(device)
    , m_format(format)
    , m_separator(format == ExchangeFormat::Csv ? QLatin1Char(',') : QLatin1Char('\t'))
    , m_lineEnd(format == ExchangeFormat::Csv ? QStringLiteral("\r\n") : QStringLiteral("\n"))
{
    switch (m_format) {
    case ExchangeFormat::Anki:
        put("#separator:tab\n#html:false\n");
        break;
    case ExchangeFormat::Csv:
        // The mark is what makes a Japanese spreadsheet open the file as UTF-8 instead of Shift_JIS.
        put("\xEF\xBB\xBF"
            "UpDay,English,Japanese\r\n");
        break;
    case ExchangeFormat::Tsv:
        put("UpDay\tEnglish\tJapanese\n");
        break;
    }
}

void WordFileWriter::write(const WordRecord& word)
{
    QString line;
    if (m_format != ExchangeFormat::Anki)
        line += quoted(word.upDay) + m_separator;
    line += quoted(word.english) + m_separator + quoted(word.japanese) + m_lineEnd;
    put(line.toUtf8());
}

QString WordFileWriter::quoted(const QString& field) const
{
    const bool plain = !field.contains(m_separator) && !field.contains(QLatin1Char('"')) &&
                       !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')) &&
                       !field.startsWith(QLatin1Char('#'));
    if (plain)
        return field;
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

void WordFileWriter::put(const QByteArray& bytes)
{
    if (m_device.write(bytes) != bytes.size())
        throw ExchangeError(QStringLiteral("書き込めません: %1").arg(m_device.errorString()),
                            QStringLiteral("cannot write: %1").arg(m_device.errorString()));
}
