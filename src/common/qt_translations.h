#pragma once

// Qt's own texts (the standard buttons Yes, No, OK and Cancel, and Qt's
// dialogs) in the language of the string table in use. Qt's catalogues come
// from Qt's translations folder (on Debian the package
// qt6-translations-l10n).

// Installs the catalogue for the current table's language on the
// application, replacing one installed before. True when one is installed;
// false for English (Qt's own language) and when the catalogue is missing.
bool InstallQtTranslations();
