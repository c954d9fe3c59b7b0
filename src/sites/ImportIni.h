#pragma once

#include "common/IniFile.h"

#include <QStringList>

namespace Velmora {

// The INI reading of the WS_FTP and FlashFXP importers: section names come from the lines that
// open a section, values are read the way Windows profile files are read (names without regard
// to case, values without surrounding blanks and without one pair of enclosing quotes).
class ImportIni {
public:
    explicit ImportIni(const QStringList &lines);

    // Every section in file order: the line with every "[" and "]" removed, trimmed. A line
    // counts when it begins with "[" (a value that holds "[" opens no section).
    QStringList sections(const QString &excludedMarker = {}) const;
    bool hasKey(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key) const;

private:
    QStringList m_lines;
    IniFile m_ini;
};

} // namespace Velmora
