#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

// The programs' texts in the learner's language where there is a translation into it, else English
// throughout: Tessimor's own catalogue, built into the library, then Qt's (the command-line parser's, the
// files' errors, the message boxes' buttons) into the same language, from where Debian's
// qt6-translations-l10n installs them. The window's own texts are not translated.
namespace Translations {

// Installs both into the application, for as long as the returned translators live.
std::vector<std::unique_ptr<QTranslator>> install(const QLocale& locale);

} // namespace Translations
