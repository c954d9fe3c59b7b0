#pragma once

#include <QListWidget>

namespace Velmora {

// The drive list "JvDriveList1", shown in place of the local grid: on this system the mounted
// volumes and the home folder. Double click or Enter opens one; leaving the list clears its
// selection.
class DriveListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit DriveListWidget(QWidget *parent = nullptr);

    // Each entry is a folder ending with "/".
    void setVolumes(const QStringList &volumes);
    QStringList volumes() const;

Q_SIGNALS:
    void volumeChosen(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace Velmora
