#pragma once

#include <QCoreApplication>
#include <QString>

#include <stdexcept>

// Input the exchange refuses: a file it cannot read, a line it cannot take, an output it will not
// overwrite. The line is 0 when the fault has none. The text is made with ExchangeError::tr(), so it is in
// the language of the translation the program installed, English without one.
class ExchangeError : public std::runtime_error {
    Q_DECLARE_TR_FUNCTIONS(ExchangeError)

public:
    ExchangeError(int line, const QString& text);
    explicit ExchangeError(const QString& text)
        : ExchangeError(0, text)
    {}

    // "line 12: …", or the text alone when there is no line.
    QString message() const { return m_message; }

private:
    QString m_message;
};
