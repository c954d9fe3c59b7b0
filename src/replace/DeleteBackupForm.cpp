#include "DeleteBackupForm.h"

#include "app/WindowFront.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QVBoxLayout>

namespace Velmora {

DeleteBackupForm::DeleteBackupForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Delete backup"), QString::fromUtf8("Backup löschen"))
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("DeleteBackupForm"));
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setMinimumSize(520, 220);
    contentLayout()->addWidget(m_list);
    setFixedSize(sizeHint());
}

void DeleteBackupForm::deletionStarted()
{
    m_list->clear();
    show();
    WindowFront::raise(*this);
}

void DeleteBackupForm::lineAdded(const QString &line)
{
    m_list->addItem(line);
    m_list->setCurrentRow(m_list->count() - 1);
    // Paint the line; input waits until the deletion is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DeleteBackupForm::deletionFinished()
{
    close();
}

} // namespace Velmora
