#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace Velmora::Testing {

// The files a test server serves, written and read straight in the folder it serves from.

// Writes content to root/relativePath, making the folders on the way; returns the path.
inline QString WriteServedFile(const QString &root, const QString &relativePath, const QByteArray &content)
{
    const QString path = root + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// The bytes of root/relativePath, empty when there is no such file.
inline QByteArray ReadServedFile(const QString &root, const QString &relativePath)
{
    QFile file(root + u'/' + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace Velmora::Testing
