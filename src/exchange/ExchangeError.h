#pragma once

#include <QString>

#include <stdexcept>

// Input the exchange refuses: a file it cannot read, a line it cannot take, an output it will not
// overwrite. The line is 0 when the fault has none.
class ExchangeError : public std::runtime_error {
public:
    ExchangeError(int line, const QString& japanese, const QString& english);
    ExchangeError(const QString& japanese, const QString& english)
        : ExchangeError(0, japanese, english)
    {}

    // "12行目: … (line 12: …)", or without the line prefix when there is no line.
    QString message() const { return m_message; }

private:
    QString m_message;
};
