#pragma once

#include <QString>

namespace Velmora {

class Language;

// The main window's key help line in the current language.
class MainFormTexts {
public:
    static QString keyHelpLine(const Language &language);
};

} // namespace Velmora
