#pragma once

// Qt's own texts (the standard buttons of message boxes, the file, print and PDF dialogs) in the
// window's language: Qt's Dutch translations for language 1, its French ones for 2, none for
// any other value (Qt's English stays). Installed for the whole program; loading again replaces
// what was loaded before.
namespace QtTranslations {

// Returns false when the translations of that language could not be found (Debian's package
// qt6-translations-l10n holds them); the dialogs then stay in English.
bool load(int language);

} // namespace QtTranslations
