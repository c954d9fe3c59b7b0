#pragma once

#include <QObject>
#include <QString>

class QAbstractButton;

namespace Velmora {

class DriveListWidget;
class FileGridPane;
class Language;
class Platform;
class PathBoxFollower;

// The local pane: listing a folder into the grid (FillLocalGrid), opening rows, the ".." and
// "\" buttons, Enter and the history in the path box, and the drive list.
class LocalBrowser : public QObject {
    Q_OBJECT
public:
    struct Setup {
        FileGridPane *pane = nullptr;
        DriveListWidget *driveList = nullptr;
        QAbstractButton *rootButton = nullptr; // "\"
        QAbstractButton *upButton = nullptr;   // ".."
        const Language *language = nullptr;
        const Platform *platform = nullptr;
        QString startDrive;
    };

    explicit LocalBrowser(const Setup &setup, QObject *parent = nullptr);

    FileGridPane &pane() const { return *m_pane; }
    DriveListWidget &driveList() const { return *m_driveList; }
    PathBoxFollower &follower() const { return *m_follower; }
    // The folder the grid shows ("\" while the drive list is shown; empty before the first).
    QString listedPath() const { return m_listedPath; }
    bool isDriveListShown() const;

    // Lists a folder: a folder that does not exist is shortened to one that does (at most 50
    // steps, then the start drive); "\" or nothing shows the drive list.
    void FillLocalGrid(const QString &path);
    // Double click or Enter in the grid: a folder is opened, ".." goes up and selects the folder
    // that was left, a file does nothing.
    void OpenLocalEntry();
    void upButtonClicked();
    void rootButtonClicked();
    void pathEntered();
    void historyEntryChosen(const QString &path);
    void volumeChosen(const QString &path);

private:
    void showDriveList();
    void listAndFocus(const QString &path);
    QString text(const char16_t *english, const char16_t *german) const;

    FileGridPane *m_pane;
    DriveListWidget *m_driveList;
    PathBoxFollower *m_follower;
    const Language *m_language;
    const Platform *m_platform;
    QString m_startDrive;
    QString m_listedPath;
};

} // namespace Velmora
