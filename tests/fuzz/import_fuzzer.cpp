// Any bytes given to import: the reader either takes them or refuses them with an error, and whatever
// it takes, each export layout writes in a form that reads back to the same pairs.
#include "ExchangeError.h"
#include "TextDecoder.h"
#include "WordFileReader.h"
#include "WordFileWriter.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

namespace {
QVector<WordRecord> readWords(const QByteArray& bytes)
{
    WordFileReader reader(TextDecoder::decode(bytes).text);
    return reader.read();
}

bool samePairs(const QVector<WordRecord>& a, const QVector<WordRecord>& b, bool withUpDay)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].english != b[i].english || a[i].japanese != b[i].japanese ||
            (withUpDay && a[i].upDay != b[i].upDay))
            return false;
    }
    return true;
}

void roundTrip(const QVector<WordRecord>& words, ExchangeFormat format)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    WordFileWriter writer(file, format);
    for (const WordRecord& word : words)
        writer.write(word);
    QVector<WordRecord> back;
    try {
        back = readWords(file.data());
    } catch (const ExchangeError& error) {
        std::fprintf(stderr, "an exported file was refused: %s\n", qPrintable(error.message()));
        std::abort();
    }
    if (!samePairs(words, back, format != ExchangeFormat::Anki)) {
        std::fprintf(stderr, "an exported file read back differently\n");
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QVector<WordRecord> words;
    try {
        words = readWords(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const ExchangeError&) {
        return 0;
    }
    for (ExchangeFormat format : {ExchangeFormat::Anki, ExchangeFormat::Csv, ExchangeFormat::Tsv})
        roundTrip(words, format);
    return 0;
}
