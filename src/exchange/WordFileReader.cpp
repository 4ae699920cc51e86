#include "WordFileReader.h"

#include "ExchangeError.h"
#include "UpDay.h"

namespace {
const QChar kQuote = QLatin1Char('"');
const QChar kHash = QLatin1Char('#');
const QChar kTab = QLatin1Char('\t');
const QChar kComma = QLatin1Char(',');

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// CRLF, LF and a lone CR each end one line.
int countLineEnds(QStringView text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') ||
            (text[i] == QLatin1Char('\r') && (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n'))))
            ++count;
    }
    return count;
}

// The separators a flashcard deck's "#separator:" line may name, by name or as the character itself.
QChar separatorNamed(const QString& value)
{
    static const QVector<std::pair<QString, QChar>> names = {
        {QStringLiteral("tab"), kTab},
        {QStringLiteral("comma"), kComma},
        {QStringLiteral("semicolon"), QLatin1Char(';')},
        {QStringLiteral("space"), QLatin1Char(' ')},
        {QStringLiteral("pipe"), QLatin1Char('|')},
        {QStringLiteral("colon"), QLatin1Char(':')},
    };
    for (const auto& [name, separator] : names) {
        if (value.compare(name, Qt::CaseInsensitive) == 0)
            return separator;
    }
    const bool literal = value.size() == 1 && value[0] != kQuote && !isLineBreak(value[0]);
    return literal ? value[0] : QChar();
}

// The names a column goes by: the notebook's own, and those a Japanese spreadsheet would give it.
const QStringList kUpDayNames = {QStringLiteral("UpDay"), QStringLiteral("登録日時")};
const QStringList kEnglishNames = {QStringLiteral("English"), QStringLiteral("英語"), QStringLiteral("単語")};
const QStringList kJapaneseNames = {QStringLiteral("Japanese"), QStringLiteral("日本語"),
                                    QStringLiteral("意味")};

bool namesColumns(const QStringList& fields, const QList<QStringList>& names)
{
    if (fields.size() != names.size())
        return false;
    for (int i = 0; i < names.size(); ++i) {
        if (!names[i].contains(fields[i].trimmed(), Qt::CaseInsensitive))
            return false;
    }
    return true;
}
} // namespace

WordFileReader::WordFileReader(QString text)
    : m_text(std::move(text))
{}

QVector<WordRecord> WordFileReader::read()
{
    readHeaderLines();
    if (m_separator.isNull())
        m_separator = guessSeparator();
    QVector<WordRecord> words;
    Record record;
    bool first = true;
    while (nextRecord(&record)) {
        // A deck's header is its '#' lines; other files may name their columns on the first line.
        const bool header = first && !m_anki && takeColumnHeader(record);
        first = false;
        if (!header)
            words.append(toWord(record));
    }
    return words;
}

void WordFileReader::readHeaderLines()
{
    while (m_pos < m_text.size()) {
        if (atLineEnd()) {
            skipLineEnd();
        } else if (m_text[m_pos] == kHash) {
            applyHeaderLine(restOfLine());
            skipLine();
        } else {
            break;
        }
    }
}

void WordFileReader::applyHeaderLine(const QString& line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    const QString key = line.mid(1, colon - 1).trimmed().toLower();
    const QString value = colon < 0 ? QString() : line.mid(colon + 1);
    if (colon > 0 && key == QLatin1String("separator")) {
        m_separator = separatorNamed(value.trimmed().isEmpty() ? value : value.trimmed());
        if (m_separator.isNull())
            throw ExchangeError(m_line, ExchangeError::tr("the separator '%1' is not supported").arg(value));
        m_anki = true;
    } else if (colon > 0 && key == QLatin1String("html")) {
        // HTML fields would need their markup and entities undone; the notebook keeps plain text.
        if (value.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) != 0)
            throw ExchangeError(m_line, ExchangeError::tr("files with HTML fields are not supported"));
        m_anki = true;
    } else {
        ++m_commentLines;
    }
}

// A plain list gives no header: a tab on its first line makes it tab-separated, otherwise comma.
QChar WordFileReader::guessSeparator() const
{
    qsizetype pos = m_pos;
    while (pos < m_text.size()) {
        qsizetype end = pos;
        while (end < m_text.size() && !isLineBreak(m_text[end]))
            ++end;
        const QStringView line = QStringView(m_text).mid(pos, end - pos);
        if (!line.isEmpty() && line[0] != kHash)
            return line.contains(kTab) ? kTab : kComma;
        pos = end + 1;
    }
    return kTab;
}

bool WordFileReader::nextRecord(Record* record)
{
    while (m_pos < m_text.size()) {
        if (atLineEnd()) {
            skipLineEnd();
            continue;
        }
        if (m_text[m_pos] == kHash) {
            ++m_commentLines;
            skipLine();
            continue;
        }
        record->line = m_line;
        record->fields = QStringList{readField()};
        while (m_pos < m_text.size() && m_text[m_pos] == m_separator) {
            ++m_pos;
            record->fields.append(readField());
        }
        skipLineEnd();
        return true;
    }
    return false;
}

QString WordFileReader::readField()
{
    if (m_pos < m_text.size() && m_text[m_pos] == kQuote)
        return readQuotedField();
    // Unquoted, a field runs to the separator or the line's end; a quote inside it is kept as typed.
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != m_separator && !isLineBreak(m_text[m_pos]))
        ++m_pos;
    return m_text.mid(start, m_pos - start);
}

QString WordFileReader::readQuotedField()
{
    const int openedOn = m_line;
    QString value;
    ++m_pos;
    for (;;) {
        const qsizetype close = m_text.indexOf(kQuote, m_pos);
        if (close < 0)
            throw ExchangeError(openedOn, ExchangeError::tr("a quoted field is never closed"));
        const QStringView part = QStringView(m_text).mid(m_pos, close - m_pos);
        value += part;
        m_line += countLineEnds(part);
        m_pos = close + 1;
        if (m_pos < m_text.size() && m_text[m_pos] == kQuote) {
            value += kQuote;
            ++m_pos;
            continue;
        }
        break;
    }
    if (m_pos < m_text.size() && m_text[m_pos] != m_separator && !atLineEnd())
        throw ExchangeError(m_line, ExchangeError::tr("text follows a closing quote"));
    return value;
}

bool WordFileReader::takeColumnHeader(const Record& record)
{
    if (namesColumns(record.fields, {kUpDayNames, kEnglishNames, kJapaneseNames})) {
        m_withUpDay = true;
        return true;
    }
    return namesColumns(record.fields, {kEnglishNames, kJapaneseNames});
}

WordRecord WordFileReader::toWord(const Record& record) const
{
    const int columns = m_withUpDay ? 3 : 2;
    if (record.fields.size() != columns)
        throw ExchangeError(
            record.line,
            ExchangeError::tr("found %1 fields where %2 belong").arg(record.fields.size()).arg(columns));
    WordRecord word;
    word.upDay = m_withUpDay ? UpDay::normalized(record.fields[0]) : QString();
    // White space at either end is no part of a word, and white space alone is no word.
    word.english = record.fields[columns - 2].trimmed();
    word.japanese = record.fields[columns - 1].trimmed();
    if (word.english.isEmpty())
        throw ExchangeError(record.line, ExchangeError::tr("the English is empty"));
    if (word.japanese.isEmpty())
        throw ExchangeError(record.line, ExchangeError::tr("the Japanese is empty"));
    return word;
}

QString WordFileReader::restOfLine() const
{
    qsizetype end = m_pos;
    while (end < m_text.size() && !isLineBreak(m_text[end]))
        ++end;
    return m_text.mid(m_pos, end - m_pos);
}

bool WordFileReader::atLineEnd() const
{
    return m_pos < m_text.size() && isLineBreak(m_text[m_pos]);
}

void WordFileReader::skipLineEnd()
{
    if (!atLineEnd())
        return;
    if (m_text[m_pos] == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
        m_text[m_pos + 1] == QLatin1Char('\n'))
        ++m_pos;
    ++m_pos;
    ++m_line;
}

void WordFileReader::skipLine()
{
    m_pos += restOfLine().size();
    skipLineEnd();
}
