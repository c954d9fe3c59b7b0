#pragma once

#include <QString>
#include <stdexcept>

namespace Velmora {

// Raised for a blank search text over a non-empty text.
class ReplaceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces from left to right without rescanning the emitted replacement, so matches never
// overlap. ignoreCase compares letters through the single-byte upper-case table (Windows-1252
// letters included). Throws ReplaceError("Search string cannot be blank") for an empty search
// text in a non-empty text; an empty text with an empty search gives the replacement.
QString ReplaceText(const QString &text, const QString &search, const QString &replacement,
                    bool replaceAll, bool ignoreCase);

// Convenience for the common "replace every occurrence" use.
QString ReplaceAll(const QString &text, const QString &search, const QString &replacement,
                   bool ignoreCase = false);

} // namespace Velmora
