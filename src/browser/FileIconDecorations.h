#pragma once

#include "GridDecorations.h"

#include <QFileIconProvider>
#include <QFont>
#include <QHash>
#include <QIcon>

namespace Velmora {

// Icons from the system's file icon provider, asked for as for an ordinary file that need not
// exist, so only the name counts: one lookup per extension (or per name without one), kept for
// the run. The style's pictures stand in where the desktop offers none.
class FileIconDecorations : public GridDecorations {
public:
    FileIconDecorations();

    QVariant icon(EntryKind kind, const QString &pathOrName) const override;
    QVariant fixedPitchFont() const override { return m_fixedFont; }

private:
    QFileIconProvider m_provider;
    QIcon m_folder;
    QIcon m_linkedFolder;
    QIcon m_genericFile;
    QFont m_fixedFont;
    mutable QHash<QString, QIcon> m_fileIcons;
};

} // namespace Velmora
