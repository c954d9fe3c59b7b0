#include "FileIconDecorations.h"

#include "FileGridEntry.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStyle>

namespace Velmora {

FileIconDecorations::FileIconDecorations()
    : m_fixedFont(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    QStyle *style = QApplication::style();
    m_folder = m_provider.icon(QAbstractFileIconProvider::Folder);
    if (m_folder.isNull())
        m_folder = style->standardIcon(QStyle::SP_DirIcon);
    m_linkedFolder = style->standardIcon(QStyle::SP_DirLinkIcon);
    if (m_linkedFolder.isNull())
        m_linkedFolder = m_folder;
    m_genericFile = m_provider.icon(QAbstractFileIconProvider::File);
    if (m_genericFile.isNull())
        m_genericFile = style->standardIcon(QStyle::SP_FileIcon);
}

QVariant FileIconDecorations::icon(EntryKind kind, const QString &pathOrName) const
{
    if (kind == EntryKind::Folder)
        return m_folder;
    if (kind == EntryKind::Link)
        return m_linkedFolder;
    const QString name = pathOrName.mid(pathOrName.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString key = dot >= 0 ? name.mid(dot).toLower() : name;
    auto it = m_fileIcons.constFind(key);
    if (it == m_fileIcons.constEnd()) {
        // A name in a folder that does not exist: the provider goes by the name alone and never
        // opens the file.
        QIcon found = m_provider.icon(QFileInfo(QStringLiteral("/nonexistent-velmora-icon-lookup/") + name));
        if (found.isNull())
            found = m_genericFile;
        it = m_fileIcons.insert(key, found);
    }
    return *it;
}

} // namespace Velmora
