#pragma once

#include "ExchangeFormat.h"
#include "WordRecord.h"

#include <QString>

class QIODevice;

// Writes pairs in one of the export layouts, header first:
//   anki  UTF-8, "#separator:tab" and "#html:false", then English<TAB>Japanese
//   csv   UTF-8 with a byte-order mark, CRLF, "UpDay,English,Japanese"
//   tsv   UTF-8, "UpDay<TAB>English<TAB>Japanese"
// A field holding the separator, a line break or a double quote, or starting with '#', is double-quoted
// with its quotes doubled, so it reads back unchanged and never passes for a comment line.
class WordFileWriter {
public:
    // Writes the header. Throws ExchangeError when the device refuses bytes.
    WordFileWriter(QIODevice& device, ExchangeFormat format);

    void write(const WordRecord& word);

private:
    QString quoted(const QString& field) const;
    void put(const QByteArray& bytes);

    QIODevice& m_device;
    ExchangeFormat m_format;
    QChar m_separator;
    QString m_lineEnd;
};
