#pragma once

#include "ExchangeFormat.h"
#include "WordRecord.h"

#include <QString>
#include <QVector>

class QIODevice;

// Writes pairs in one of the export layouts, header first:
//   anki  UTF-8, "#separator:tab" and "#html:false", then English<TAB>Japanese
//   csv   UTF-8 with a byte-order mark, CRLF, "UpDay,English,Japanese"
//   tsv   UTF-8, "UpDay<TAB>English<TAB>Japanese"
//   mnemosyne  UTF-8, no header, English<TAB>Japanese as the HTML Mnemosyne's tab-separated import
//              takes for a card's side (see mnemosyneSide)
// In the first three, a field holding the separator, a line break or a double quote, or starting with '#', is
// double-quoted with its quotes doubled, so it reads back unchanged and never passes for a comment line.
class WordFileWriter {
public:
    // Writes the header. Throws ExchangeError when the device refuses bytes.
    WordFileWriter(QIODevice& device, ExchangeFormat format);

    void write(const WordRecord& word);

    // Pairs the mnemosyne layout cannot carry as they are: a tab written as a space, and a pair with an
    // empty side left out, since Mnemosyne's importer stops the whole file at such a line.
    QVector<WordRecord> tabsAsSpaces;
    QVector<WordRecord> leftOut;
    // Pairs with a NUL, written as U+FFFD in every layout: a NUL marks a binary file to the importer.
    QVector<WordRecord> nulsReplaced;

private:
    QString quoted(const QString& field) const;
    void put(const QByteArray& bytes);

    QIODevice& m_device;
    ExchangeFormat m_format;
    QChar m_separator;
    QString m_lineEnd;
};
