#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// Points HOME and the XDG folders at a fresh temporary folder for one test, so the program's
// application data and temporary folders are isolated, and restores them afterwards.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString root() const { return m_dir.path() + QStringLiteral("/"); }
    // The folders AppFolders::detect() will report under this environment.
    QString appDataFolder() const;
    QString tempFolder() const;
    // Creates a file (and its folders) below root() with the given bytes; returns its path.
    QString writeFile(const QString &relativePath, const QByteArray &content) const;
    static QByteArray readFile(const QString &path);

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[5];
};

} // namespace Velmora::Testing
