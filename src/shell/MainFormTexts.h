#pragma once

#include "MainWindowWidgets.h"

#include <QString>

namespace Velmora {

class Language;

// Puts every caption and hint of the main window in the current language.
class MainFormTexts {
public:
    static void apply(MainWindowWidgets &w, const Language &language);
    static QString keyHelpLine(const Language &language);
};

} // namespace Velmora
