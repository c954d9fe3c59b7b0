#include "ProgramFilesCheck.h"

#include "DesignState.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace Velmora {

namespace {

bool isPicture(const QString &path)
{
    return path.endsWith(QStringLiteral(".jpg")) || path.endsWith(QStringLiteral(".bmp"));
}

bool canRead(const QString &path)
{
    if (isPicture(path))
        return !QImageReader(path).read().isNull();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() > 0;
}

} // namespace

QStringList ProgramFilesCheck::requiredFiles()
{
    QStringList files = {QStringLiteral("recom_EN/m_splash.jpg"), QStringLiteral("recom_GR/m_splash.jpg")};
    for (const QString &design : DesignState::names()) {
        for (const QString &picture : {QStringLiteral("Small_Head_"), QStringLiteral("ControlBar_"), QStringLiteral("FilterBar_")})
            files.append(QStringLiteral("skins/") + picture + design + QStringLiteral(".bmp"));
    }
    files.append(QStringLiteral("help_EN/help.html"));
    files.append(QStringLiteral("help_GR/help.html"));
    return files;
}

bool ProgramFilesCheck::run(const AppFolders &folders, QString *report)
{
    QString text = QStringLiteral("Program folder:  ") + folders.programFolder + u'\n'
        + QStringLiteral("Settings folder: ") + folders.appDataFolder + u'\n'
        + QStringLiteral("Working folder:  ") + folders.tempFolder + u'\n';
    const QStringList files = requiredFiles();
    int bad = 0;
    for (const QString &file : files) {
        const QString path = folders.programFolder + file;
        QString verdict = QStringLiteral("ok        ");
        if (!QFileInfo(path).isFile())
            verdict = QStringLiteral("missing   ");
        else if (!canRead(path))
            verdict = QStringLiteral("unreadable");
        if (!verdict.startsWith(QStringLiteral("ok")))
            ++bad;
        text += verdict + u' ' + file + u'\n';
    }
    if (bad == 0)
        text += QStringLiteral("All %1 files are there.\n").arg(files.size());
    else
        text += QStringLiteral("%1 of %2 files are missing or unreadable.\n").arg(bad).arg(files.size());
    *report = text;
    return bad == 0;
}

} // namespace Velmora
