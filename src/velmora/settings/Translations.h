#pragma once

class QCoreApplication;
class QLocale;

namespace velmora {

// Installs the translation of the user's language: the installed .qm files next to the
// binary (../share/velmora/translations) first, then the copy built into the program.
// Returns false when no translation for the locale exists (the English texts then show).
bool installTranslations(QCoreApplication &app, const QLocale &locale);

} // namespace velmora
