#pragma once

#include "WordRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Reads the pairs of a word file: what export writes (anki, csv, tsv) and plain two-column lists
// separated by tabs or commas. Fields may be double-quoted with inner quotes doubled; a quoted field
// may span lines. Lines starting with '#' are header or comment lines, blank lines are passed over.
// The first line that cannot be taken stops the reading with its line number.
class WordFileReader {
public:
    explicit WordFileReader(QString text);

    // Every pair in file order. Throws ExchangeError.
    QVector<WordRecord> read();
    int commentLines() const { return m_commentLines; }

private:
    struct Record {
        int line = 0;
        QStringList fields;
    };

    void readHeaderLines();
    void applyHeaderLine(const QString& line);
    QChar guessSeparator() const;
    bool nextRecord(Record* record);
    QString readField();
    QString readQuotedField();
    bool takeColumnHeader(const Record& record);
    WordRecord toWord(const Record& record) const;

    QString restOfLine() const;
    bool atLineEnd() const;
    void skipLineEnd();
    void skipLine();

    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QChar m_separator;
    bool m_anki = false;
    bool m_withUpDay = false;
    int m_commentLines = 0;
};
