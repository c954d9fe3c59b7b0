#pragma once

#include "FTPConnection.h"

#include "app/PasswordVault.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace Velmora {

class Language;
class ProtocolLog;

// The site list and its file "ftp_connections.bin": one line per site, the fields joined by "§"
// (eight for a plain FTP site, as older versions wrote them; nine with the encryption otherwise), the password encoded as three digits per byte, lines in case-insensitive order without
// exact duplicates. Every save writes the whole list and reads it back, so the list always shows
// what the file holds, in file order. "ftp_lastconnection.ini" beside it holds the row index of
// the site connected last.
//
// With the passwords in the desktop keyring, a line keeps an empty password field; its tenth
// field, "keyring:" and the entry's key, names the keyring entry that holds the password (the ninth is a blank when nothing else
// fills it). Older versions ignore both and read the site without its password.
class ConnectionStore {
public:
    static inline const QString FileName = QStringLiteral("ftp_connections.bin");
    static inline const QString LastConnectionFileName = QStringLiteral("ftp_lastconnection.ini");
    // A store with unreadable lines is copied here before anything can overwrite it.
    static inline const QString DamagedCopySuffix = QStringLiteral(".damaged");
    // Zero-based position of the field that names the keyring entry, and the text it starts with
    // (so that any other text there is not taken for a keyring entry).
    static constexpr int KeyringField = 9;
    static constexpr int KeyFileField = 10;
    static inline const QString KeyringMarker = QStringLiteral("keyring:");

    // folder: the application data folder (ends with "/"). log and language may be null (no
    // protocol lines, English texts).
    explicit ConnectionStore(QString folder, ProtocolLog *log = nullptr, const Language *language = nullptr);

    // Where passwords are read from and written to; null keeps them in the file only.
    void setPasswordPlace(const PasswordPlace *place) { m_place = place; }

    QString filePath() const { return m_folder + FileName; }
    QString lastConnectionPath() const { return m_folder + LastConnectionFileName; }
    bool fileExists() const;

    // The working list; the site manager's grid shows and edits it.
    QList<FTPConnection> &sites() { return m_sites; }
    const QList<FTPConnection> &sites() const { return m_sites; }

    // Replaces the list with the file's sites; a missing file gives an empty list. A line whose
    // password is not readable keeps its site without the password, and is reported.
    void LoadConnections();
    // Writes the list and reloads it. When the file cannot be written the list keeps its unsaved
    // state, the protocol gets an error line and false is returned (errorText() says why).
    bool SaveConnections();
    QString errorText() const { return m_error; }

    // The remembered row, or -1 when the file is missing or holds no number.
    int ReadLastConnection() const;
    bool WriteLastConnection(int row) const;

    // The store line of a site: "§" removed from the name, password encoded. With a keyring key
    // the password field stays empty and the line names the key instead.
    static QString StoreLine(const FTPConnection &site, const QString &keyringKey = QString());
    // The keyring entry of a site: its name with user, host and port, so that the desktop's
    // keyring window shows which site it belongs to.
    static QString KeyringKey(const FTPConnection &site);
    // The site of a store line; *passwordOk is false when a password group is not a number.
    static FTPConnection ParseLine(const QString &line, bool *passwordOk = nullptr);
    // Name order without regard to case (the system's collation), then the other fields in turn;
    // exact duplicates removed.
    static QStringList SortedUniqueLines(QStringList lines);
    // Three digits per byte. The bytes are chosen so that decoding gives the password back: the
    // Windows-1252 bytes when they cannot be mistaken for UTF-8, else the UTF-8 bytes.
    static QString EncodeStorePassword(const QString &password);
    // The bytes of the whole file, chosen the same way for every field.
    static QByteArray EncodeFileText(const QString &text);

private:
    void report(const QString &english, const QString &german) const;
    QString text(const QString &english, const QString &german) const;
    FTPConnection cleaned(const FTPConnection &site) const;
    void keepDamagedCopy() const;
    void readKeyringPassword(FTPConnection &site, bool *reportedUnreachable);
    QString keyringLine(const FTPConnection &site, QSet<QString> &usedKeys, QStringList &written, bool *refused);

    QString m_folder;
    ProtocolLog *m_log;
    const Language *m_language;
    QList<FTPConnection> m_sites;
    QString m_error;
    const PasswordPlace *m_place = nullptr;
    // The keyring entries the file named at the last load, with the passwords read from them.
    QHash<QString, QString> m_keyringPasswords;
    QSet<QString> m_keyringKeys;
};

} // namespace Velmora
