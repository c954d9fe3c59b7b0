#pragma once

#include "LocalTrash.h"
#include "SelectionLine.h"

#include <QList>
#include <QString>

namespace Velmora {

class CollectionSteps;

// Deletes the selection of the local grid, after one question.
//
// Without the transfer filter every selected file and folder (with everything in it) goes to
// the desktop's trash, so the user can restore it; a link goes there as a link. Whatever the
// trash cannot take is deleted permanently only when the user says so to a question that names
// it. The grid is listed again after each entry.
//
// With the filter in use, the files of the selection and of every selected folder's tree are
// collected as "DELLOC" records and shown in the filter window; after OK exactly the ticked
// files among them are deleted from the disk, and every folder stays. A selected folder that is
// a link is not walked: the files it shows belong to another folder.
class LocalDeleteBuilder {
public:
    explicit LocalDeleteBuilder(CollectionSteps &steps);

    void build();
    // Where unfiltered deletions go: the desktop's trash unless another is set.
    void setTrash(LocalTrash &trash) { m_trash = &trash; }

private:
    void deleteThroughFilter(const QList<SelectionLine> &lines, const QString &localBase);
    void moveToTrash(const QList<SelectionLine> &lines, const QString &localBase);
    QString collectedFile(const QString &path, const QString &name) const;

    CollectionSteps &m_steps;
    LocalTrash m_desktopTrash;
    LocalTrash *m_trash = &m_desktopTrash;
};

} // namespace Velmora
