#pragma once

#include <QString>

#include <stdexcept>

// Input the exchange refuses: a file it cannot read, a line it cannot take, an output it will not
// overwrite. Carries the line (0 when the fault has none) and the message in Japanese and English.
class ExchangeError : public std::runtime_error {
public:
    ExchangeError(int line, const QString& japanese, const QString& english);
    ExchangeError(const QString& japanese, const QString& english)
        : ExchangeError(0, japanese, english)
    {}

    int line() const { return m_line; }
    QString japanese() const { return m_japanese; }
    QString english() const { return m_english; }
    // "12行目: … (line 12: …)", or without the line prefix when there is no line.
    QString message() const;

private:
    int m_line;
    QString m_japanese;
    QString m_english;
};
