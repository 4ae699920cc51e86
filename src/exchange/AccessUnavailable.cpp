#include "AccessReader.h"

#include "ExchangeError.h"

// The Access reader of a build without mdbtools' library (Windows has none): a file it recognises is
// refused with the ways the learner still has to bring its pairs over.
namespace AccessReader {
namespace {
[[noreturn]] void refuse()
{
    throw ExchangeError(
        ExchangeError::tr("this build of Tessimor cannot read Access files. Either convert the file with "
                          "Tessimor for Linux (tessimor-db convert) and put the notebook made there in its "
                          "place, or save the table wordDB from Access as CSV in UTF-8 and import that"));
}
} // namespace

bool available()
{
    return false;
}

QStringList tables(const QString&)
{
    refuse();
}

Table read(const QString&, const QString&, const QStringList&)
{
    refuse();
}

} // namespace AccessReader
