#pragma once

#include <QString>

#include <stdexcept>

namespace Velmora {

class Language;

// A working copy that could not be read or written; it ends the run at that file, and the
// files handled before keep their changes and marks.
class SearchReplaceError : public std::runtime_error {
public:
    enum Kind { Read, Write };

    SearchReplaceError(Kind kind, QString path);

    Kind kind() const { return m_kind; }
    const QString &path() const { return m_path; }
    // The message for the user in English or German.
    QString text(bool german) const;
    QString text(const Language &language) const;

private:
    Kind m_kind;
    QString m_path;
};

} // namespace Velmora
