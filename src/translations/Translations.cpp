#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace Translations {

std::vector<std::unique_ptr<QTranslator>> install(const QLocale& locale)
{
    std::vector<std::unique_ptr<QTranslator>> installed;
    auto own = std::make_unique<QTranslator>();
    if (!own->load(locale, QStringLiteral("tessimor"), QStringLiteral("_"), QStringLiteral(":/translations")))
        return installed;
    QCoreApplication::installTranslator(own.get());
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QLocale(own->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt.get());
    installed.push_back(std::move(own));
    installed.push_back(std::move(qt));
    return installed;
}

} // namespace Translations
