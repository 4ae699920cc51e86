// Any bytes given to import are read or refused with an ExchangeError, and the pairs read are written alike
// by every export layout after a trip through it. tessimordb_test replays the inputs kept in corpus/.
#include "ExchangeError.h"
#include "TextDecoder.h"
#include "WordFileReader.h"
#include "WordFileWriter.h"

#include <QBuffer>

namespace {
QByteArray written(const QVector<WordRecord>& words, ExchangeFormat format)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    WordFileWriter writer(file, format);
    for (const WordRecord& word : words)
        writer.write(word);
    return file.data();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QVector<WordRecord> words;
    try {
        words = WordFileReader(TextDecoder::decode(input)).read();
    } catch (const ExchangeError&) {
        return 0;
    }
    // An exported file refused on reading throws out of here, which fails the run as well.
    for (ExchangeFormat format : {ExchangeFormat::Anki, ExchangeFormat::Csv, ExchangeFormat::Tsv}) {
        const QByteArray bytes = written(words, format);
        if (written(WordFileReader(TextDecoder::decode(bytes)).read(), format) != bytes)
            std::abort();
    }
    return 0;
}
