#include "DriveListWidget.h"

#include <QDir>
#include <QKeyEvent>
#include <QStyle>

namespace Velmora {

DriveListWidget::DriveListWidget(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("JvDriveList1"));
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        Q_EMIT volumeChosen(item->data(Qt::UserRole).toString());
    });
}

void DriveListWidget::setVolumes(const QStringList &volumes)
{
    clear();
    const QString home = QDir::homePath() + u'/';
    for (const QString &volume : volumes) {
        auto *item = new QListWidgetItem(style()->standardIcon(volume == home ? QStyle::SP_DirHomeIcon : QStyle::SP_DriveHDIcon),
                                         volume, this);
        item->setData(Qt::UserRole, volume);
    }
}

QStringList DriveListWidget::volumes() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << item(i)->data(Qt::UserRole).toString();
    return result;
}

void DriveListWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (QListWidgetItem *current = currentItem()) {
            event->accept();
            Q_EMIT volumeChosen(current->data(Qt::UserRole).toString());
            return;
        }
    }
    QListWidget::keyPressEvent(event);
}

void DriveListWidget::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    clearSelection();
}

} // namespace Velmora
