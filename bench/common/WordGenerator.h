#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// Deterministic made-up pairs: the same seed gives the same words on every machine, so a notebook of
// 10 000 pairs holds the first 10 000 words of the one of 1 000 000. Its own generator and arithmetic,
// not the standard library's distributions, whose results differ between implementations.
class WordGenerator {
public:
    // Bump whenever the output changes, so cached notebooks are made anew.
    static constexpr int kVersion = 1;

    explicit WordGenerator(quint64 seed);

    // 3 to 12 lowercase letters drawn with English letter frequencies, so some texts are common.
    QByteArray english();
    // 1 to 6 characters of hiragana, katakana and kanji, UTF-8.
    QByteArray japanese();
    // A number in [0, bound).
    quint64 below(quint64 bound);

private:
    quint64 next();

    quint64 m_state;
    std::vector<QByteArray> m_kana;
    std::vector<QByteArray> m_katakana;
    std::vector<QByteArray> m_kanji;
};
