#include "ExchangeError.h"

ExchangeError::ExchangeError(int line, const QString& text)
    : std::runtime_error(text.toStdString())
    , m_message(line <= 0 ? text : tr("line %1: %2").arg(QString::number(line), text))
{}
