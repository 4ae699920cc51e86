#include "WriterProgress.h"

#include <stdexcept>

namespace {
constexpr qint64 kBytes = 2 * sizeof(quint64);
} // namespace

WriterProgress::WriterProgress(const QString& path, bool create)
    : m_file(path)
{
    if (!m_file.open(create ? QIODevice::ReadWrite | QIODevice::Truncate : QIODevice::ReadWrite))
        throw std::runtime_error("cannot open " + path.toStdString());
    if (create && !m_file.resize(kBytes))
        throw std::runtime_error("cannot size " + path.toStdString());
    // A shared mapping: the other process sees each store at once.
    m_counters = reinterpret_cast<quint64*>(m_file.map(0, kBytes));
    if (!m_counters)
        throw std::runtime_error("cannot map " + path.toStdString());
}

void WriterProgress::begin()
{
    __atomic_add_fetch(&m_counters[0], 1, __ATOMIC_SEQ_CST);
}

void WriterProgress::end()
{
    __atomic_add_fetch(&m_counters[1], 1, __ATOMIC_SEQ_CST);
}

quint64 WriterProgress::mark() const
{
    return __atomic_load_n(&m_counters[1], __ATOMIC_SEQ_CST);
}

bool WriterProgress::wroteSince(quint64 mark) const
{
    // Every write begun by now had finished by the mark only when the two are equal.
    return __atomic_load_n(&m_counters[0], __ATOMIC_SEQ_CST) != mark;
}
