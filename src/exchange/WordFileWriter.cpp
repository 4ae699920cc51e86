#include "WordFileWriter.h"

#include "ExchangeError.h"

#include <QIODevice>

namespace {
// Mnemosyne's importer decodes "&#N;" references in each line after it has cut the line at a line break
// and stripped its trailing white space, then splits it at tabs (a referenced tab too), and takes each
// side as HTML. So "&", "<" and '"' (which its media step reads in src="...") are written as entities,
// line breaks and trailing white space as references, and a tab, which no form carries, as a space: it
// shows as one on the card anyway.
QString mnemosyneSide(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    qsizetype kept = text.size();
    while (kept > 0 && (text.at(kept - 1).isSpace() || text.at(kept - 1) < QLatin1Char(' ')))
        --kept;
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&'))
            html += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            html += QStringLiteral("&lt;");
        else if (c == QLatin1Char('"'))
            html += QStringLiteral("&quot;");
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || i >= kept)
            html += QStringLiteral("&#%1;").arg(c.unicode());
        else
            html += c;
    }
    return html;
}
} // namespace

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
    case ExchangeFormat::Mnemosyne:
        // No header, and no byte-order mark: its importer would keep the mark in the first card.
        break;
    }
}

void WordFileWriter::write(const WordRecord& stored)
{
    WordRecord word = stored;
    if (word.english.contains(QChar::Null) || word.japanese.contains(QChar::Null)) {
        word.english.replace(QChar::Null, QChar::ReplacementCharacter);
        word.japanese.replace(QChar::Null, QChar::ReplacementCharacter);
        nulsReplaced.append(stored);
    }
    if (m_format == ExchangeFormat::Mnemosyne) {
        if (word.english.isEmpty() || word.japanese.isEmpty()) {
            leftOut.append(word);
            return;
        }
        if (word.english.contains(QLatin1Char('\t')) || word.japanese.contains(QLatin1Char('\t')))
            tabsAsSpaces.append(word);
        put((mnemosyneSide(word.english) + m_separator + mnemosyneSide(word.japanese) + m_lineEnd).toUtf8());
        return;
    }
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
        throw ExchangeError(ExchangeError::tr("cannot write: %1").arg(m_device.errorString()));
}
