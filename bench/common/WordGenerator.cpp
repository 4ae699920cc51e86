#include "WordGenerator.h"

#include <QString>

#include <array>

namespace {
// Letter frequencies of English text, per mille, a to z.
constexpr std::array<int, 26> kLetterWeights = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8, 40, 24,
                                                67, 75, 19, 1,  60,  63, 91, 28, 10, 24, 2, 20, 1};

int weightTotal()
{
    int total = 0;
    for (int weight : kLetterWeights)
        total += weight;
    return total;
}

const char kKanji[] = "日本語学生先年月時間人大小山川水火木金土上下中左右前後東西南北長高新古早明"
                      "白黒赤青言話読書見聞食飲行来出入立休走歩買売教習知思考作使持待言葉意味単語";

std::vector<QByteArray> charactersOf(const QString& text)
{
    std::vector<QByteArray> characters;
    for (QChar c : text)
        characters.push_back(QString(c).toUtf8());
    return characters;
}

std::vector<QByteArray> range(char16_t first, char16_t last)
{
    QString text;
    for (char16_t c = first; c <= last; ++c)
        text += QChar(c);
    return charactersOf(text);
}
} // namespace

WordGenerator::WordGenerator(quint64 seed)
    : m_state(seed)
    , m_kana(range(u'\u3042', u'\u3093'))
    , m_katakana(range(u'\u30A2', u'\u30F3'))
    , m_kanji(charactersOf(QString::fromUtf8(kKanji)))
{}

quint64 WordGenerator::next()
{
    // SplitMix64: tiny, fast and the same everywhere.
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

quint64 WordGenerator::below(quint64 bound)
{
    return next() % bound;
}

QByteArray WordGenerator::english()
{
    static const int total = weightTotal();
    const int length = 3 + int(below(10));
    QByteArray word;
    word.reserve(length);
    for (int i = 0; i < length; ++i) {
        int pick = int(below(quint64(total)));
        int letter = 0;
        while (pick >= kLetterWeights[letter])
            pick -= kLetterWeights[letter++];
        word.append(char('a' + letter));
    }
    return word;
}

QByteArray WordGenerator::japanese()
{
    const int length = 1 + int(below(6));
    QByteArray meaning;
    for (int i = 0; i < length; ++i) {
        const quint64 kind = below(10);
        const std::vector<QByteArray>& pool = kind < 4 ? m_kana : kind < 6 ? m_katakana : m_kanji;
        meaning += pool[below(pool.size())];
    }
    return meaning;
}
