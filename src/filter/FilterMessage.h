#pragma once

#include "common/Language.h"

#include <QString>

namespace Velmora {

// A text the filter reports (a protocol line, or why a filter file cannot be loaded), kept in
// both languages so that it is shown in the language current at that moment.
struct FilterMessage {
    QString english;
    QString german;

    QString text(Language::Id language) const { return language == Language::German ? german : english; }
    bool isEmpty() const { return english.isEmpty(); }
    bool operator==(const FilterMessage &) const = default;
};

} // namespace Velmora
