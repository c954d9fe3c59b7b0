#include "ConnectionStore.h"

#include "common/RecordText.h"

#include "app/ProtocolLog.h"
#include "engine/EncryptionChoice.h"
#include "common/Language.h"
#include "common/PasswordCodec.h"
#include "common/TextCodec.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace Velmora {

namespace {

constexpr QChar Separator = RecordText::EntrySeparator;
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString digitsOf(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes)
        out += QString::number(static_cast<unsigned char>(c)).rightJustified(3, u'0');
    return out;
}

bool writeOwnerOnly(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // The file holds passwords: readable by the user only, also when it existed with other rights.
    file.setPermissions(OwnerOnly);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    QFile::setPermissions(path, OwnerOnly);
    return true;
}

} // namespace

ConnectionStore::ConnectionStore(QString folder, ProtocolLog *log, const Language *language)
    : m_folder(std::move(folder))
    , m_log(log)
    , m_language(language)
{
}

bool ConnectionStore::fileExists() const
{
    return QFileInfo::exists(filePath());
}

QString ConnectionStore::text(const QString &english, const QString &german) const
{
    return m_language ? m_language->text(english, german) : english;
}

void ConnectionStore::report(const QString &english, const QString &german) const
{
    if (m_log)
        m_log->AddProtocolMessage(ProtocolEntry::Error, text(english, german));
}

QString ConnectionStore::EncodeStorePassword(const QString &password)
{
    const QString encoded = EncodePassword(password);
    if (DecodePassword(encoded) == password)
        return encoded;
    // Windows-1252 bytes that happen to form UTF-8 ("Ã¼") would read back as another text.
    return digitsOf(password.toUtf8());
}

QByteArray ConnectionStore::EncodeFileText(const QString &text)
{
    const QByteArray bytes = TextCodec::Encode(text);
    if (TextCodec::Decode(bytes) == text)
        return bytes;
    return text.toUtf8();
}

QString ConnectionStore::StoreLine(const FTPConnection &site, const QString &keyringKey)
{
    QString name = site.Name;
    name.remove(Separator);
    const QString password = keyringKey.isEmpty() ? EncodeStorePassword(site.Password) : QString();
    const QString fields[FTPConnection::FieldCount] = {
        name, site.Host, site.User, password,
        site.Port, site.LocalPath, site.ServerPath, site.Mode, site.Encryption};
    // A plain FTP site keeps the eight-field line of older versions.
    const int count = site.encryption() == FtpEncryption::Plain && site.Encryption == EncryptionChoice::Keyword(FtpEncryption::Plain)
                          ? FTPConnection::FieldCount - 1
                          : FTPConnection::FieldCount;
    QString line;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            line += Separator;
        line += fields[i];
    }
    // The tenth field names the password's keyring entry; a plain site's blank ninth field
    // keeps its place. The eleventh is an SFTP site's key file (a blank tenth keeps its place).
    if (!keyringKey.isEmpty() || !site.KeyFile.isEmpty()) {
        if (count < FTPConnection::FieldCount)
            line += Separator + QStringLiteral(" ");
        line += Separator + (keyringKey.isEmpty() ? QStringLiteral(" ") : KeyringMarker + keyringKey);
    }
    if (!site.KeyFile.isEmpty())
        line += Separator + site.KeyFile;
    return line;
}

QString ConnectionStore::KeyringKey(const FTPConnection &site)
{
    QString name = site.Name;
    name.remove(Separator);
    return QStringLiteral("site ") + name + QStringLiteral(" (") + site.User.trimmed() + u'@' + site.Host.trimmed() + u':'
           + site.Port.trimmed() + u')';
}

FTPConnection ConnectionStore::ParseLine(const QString &line, bool *passwordOk)
{
    // An empty field between two separators reads back as one blank; an empty first or last
    // field stays empty. Every field keeps its position. The ninth field (the encryption) came
    // later: the eight before it read as they always did, and a line without it is plain FTP.
    QStringList fields = line.split(Separator, Qt::KeepEmptyParts);
    for (qsizetype i = 1; i + 1 < fields.size() && i < FTPConnection::ModeField; ++i) {
        if (fields[i].isEmpty())
            fields[i] = QStringLiteral(" ");
    }
    FTPConnection site;
    bool ok = true;
    for (int i = 0; i < FTPConnection::FieldCount && i < fields.size(); ++i) {
        if (i == FTPConnection::PasswordField)
            site.Password = DecodePassword(fields[i], &ok);
        else
            site.setField(i, fields[i]);
    }
    // A blank ninth field only keeps the place of the keyring's tenth: a plain FTP site.
    if (site.Encryption.trimmed().isEmpty())
        site.Encryption = EncryptionChoice::Keyword(FtpEncryption::Plain);
    if (fields.size() > KeyringField && fields[KeyringField].startsWith(KeyringMarker)
        && fields[KeyringField].size() > KeyringMarker.size())
        site.PasswordKey = fields[KeyringField].mid(KeyringMarker.size());
    if (fields.size() > KeyFileField)
        site.KeyFile = fields[KeyFileField].trimmed().isEmpty() ? QString() : fields[KeyFileField];
    if (passwordOk)
        *passwordOk = ok;
    return site;
}

QStringList ConnectionStore::SortedUniqueLines(QStringList lines)
{
    // Field by field, so that "Beta" comes before "Beta 2" whatever the collation makes of the
    // separator: the order of the lines is the order of the names.
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto compareFields = [&collator](QStringView a, QStringView b) {
        const int byCollation = collator.compare(a, b);
        // Some collations (the C locale's) tell case apart; plain names still sort without it.
        return byCollation != 0 ? byCollation : a.compare(b, Qt::CaseInsensitive);
    };
    std::stable_sort(lines.begin(), lines.end(), [&](const QString &a, const QString &b) {
        const QList<QStringView> left = QStringView(a).split(Separator);
        const QList<QStringView> right = QStringView(b).split(Separator);
        for (qsizetype i = 0; i < left.size() && i < right.size(); ++i) {
            if (const int order = compareFields(left[i], right[i]); order != 0)
                return order < 0;
        }
        return left.size() < right.size();
    });
    QStringList unique;
    unique.reserve(lines.size());
    QSet<QString> seen;
    for (const QString &line : std::as_const(lines)) {
        if (!seen.contains(line)) {
            seen.insert(line);
            unique.append(line);
        }
    }
    return unique;
}

void ConnectionStore::keepDamagedCopy() const
{
    const QString copy = filePath() + DamagedCopySuffix;
    QFile::remove(copy);
    if (QFile::copy(filePath(), copy))
        QFile::setPermissions(copy, OwnerOnly);
}

void ConnectionStore::readKeyringPassword(FTPConnection &site, bool *reportedUnreachable)
{
    // After one keyring that did not answer, the other sites do not wait for it again.
    PasswordVault *vault = m_place && !*reportedUnreachable ? m_place->vault : nullptr;
    QString password;
    const PasswordVault::Result result = vault ? vault->read(site.PasswordKey, &password) : PasswordVault::Result::Unreachable;
    switch (result) {
    case PasswordVault::Result::Ok:
        site.Password = password;
        m_keyringPasswords.insert(site.PasswordKey, password);
        return;
    case PasswordVault::Result::NotFound:
        // A locked keyring answers like one without the entry: the line keeps pointing there, and
        // only a password typed in for the site replaces it.
        site.Password.clear();
        site.PasswordUnread = true;
        report(QStringLiteral("The desktop keyring gives no password for the site \"") + site.Name
                   + QStringLiteral("\" (it may be locked); the site keeps it there until a new password is entered."),
               QStringLiteral("Der Schlüsselbund des Desktops liefert kein Passwort für die Seite \"") + site.Name
                   + QStringLiteral("\" (vielleicht ist er gesperrt); es bleibt dort, bis ein neues Passwort eingegeben wird."));
        return;
    case PasswordVault::Result::Unreachable:
        // The line keeps pointing at the keyring, so the password is there again when it answers.
        site.Password.clear();
        site.PasswordUnread = true;
        if (!*reportedUnreachable) {
            *reportedUnreachable = true;
            const QString why = vault && !vault->lastError().isEmpty() ? QStringLiteral(" (") + vault->lastError() + u')' : QString();
            report(QStringLiteral("The desktop keyring cannot be reached") + why
                       + QStringLiteral(": sites whose password is kept there have no password now; it stays in the keyring."),
                   QStringLiteral("Der Schlüsselbund des Desktops ist nicht erreichbar") + why
                       + QStringLiteral(": Seiten, deren Passwort dort liegt, haben jetzt kein Passwort; es bleibt im Schlüsselbund."));
        }
        return;
    }
}

void ConnectionStore::LoadConnections()
{
    m_sites.clear();
    m_keyringPasswords.clear();
    m_keyringKeys.clear();
    bool exists = false;
    const QStringList lines = TextCodec::ReadLines(filePath(), &exists);
    if (!exists)
        return;
    bool damaged = false;
    bool reportedUnreachable = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue; // a blank line holds no site
        bool passwordOk = true;
        FTPConnection site = ParseLine(lines[i], &passwordOk);
        if (!passwordOk) {
            site.Password.clear();
            if (!damaged)
                keepDamagedCopy();
            damaged = true;
            const QString line = QString::number(i + 1);
            report(FileName + QStringLiteral(", line ") + line + QStringLiteral(": the password of the site \"") + site.Name
                       + QStringLiteral("\" is not readable; the site was kept without its password. The file as it was is kept in \"")
                       + FileName + DamagedCopySuffix + QStringLiteral("\"."),
                   FileName + QStringLiteral(", Zeile ") + line + QStringLiteral(": Das Passwort der Seite \"") + site.Name
                       + QString::fromUtf8("\" ist nicht lesbar; die Seite wurde ohne Passwort übernommen. Die Datei ist unverändert in \"")
                       + FileName + DamagedCopySuffix + QStringLiteral("\" gesichert."));
        }
        if (!site.PasswordKey.isEmpty()) {
            m_keyringKeys.insert(site.PasswordKey);
            readKeyringPassword(site, &reportedUnreachable);
        }
        m_sites.append(site);
    }
}

FTPConnection ConnectionStore::cleaned(const FTPConnection &site) const
{
    // "§" separates the fields and a line break ends the line: neither can be stored. The name
    // loses them quietly; any other field is reported, since its value changes.
    static const QString captions[FTPConnection::FieldCount] = {
        QStringLiteral("Name"), QStringLiteral("Host"), QStringLiteral("User"), QStringLiteral("Password"),
        QStringLiteral("Port"), QStringLiteral("Local path"), QStringLiteral("Server path"), QStringLiteral("Transfer type"),
        QStringLiteral("Encryption")};
    FTPConnection out = site;
    for (int i = 0; i < FTPConnection::FieldCount; ++i) {
        if (i == FTPConnection::PasswordField)
            continue; // encoded as digits, any character is safe
        QString value = site.field(i);
        const qsizetype before = value.size();
        value.remove(Separator);
        value.remove(u'\r');
        value.remove(u'\n');
        if (value.size() == before)
            continue;
        out.setField(i, value);
        if (i != FTPConnection::NameField) {
            report(QStringLiteral("Site \"") + out.Name + QStringLiteral("\": \"§\" and line breaks cannot be stored; they were removed from the field \"")
                       + captions[i] + QStringLiteral("\"."),
                   QStringLiteral("Seite \"") + out.Name + QString::fromUtf8("\": \"§\" und Zeilenumbrüche können nicht gespeichert werden; sie wurden aus dem Feld \"")
                       + captions[i] + QStringLiteral("\" entfernt."));
        }
    }
    return out;
}

QString ConnectionStore::keyringLine(const FTPConnection &site, QSet<QString> &usedKeys, QStringList &written, bool *refused)
{
    const QString base = KeyringKey(site);
    QString key = base;
    for (int n = 2; usedKeys.contains(key); ++n)
        key = base + QStringLiteral(" #") + QString::number(n);
    const auto known = m_keyringPasswords.constFind(key);
    if (known == m_keyringPasswords.cend() || *known != site.Password) {
        if (*refused)
            return QString(); // the keyring refused already: the rest stays in the file
        PasswordVault *vault = m_place->vault;
        if (vault->write(key, site.Password) != PasswordVault::Result::Ok) {
            *refused = true;
            report(QStringLiteral("The desktop keyring refused the password of the site \"") + site.Name + QStringLiteral("\" (")
                       + vault->lastError() + QStringLiteral("); it and the passwords after it stay in the file."),
                   QStringLiteral("Der Schlüsselbund des Desktops hat das Passwort der Seite \"") + site.Name + QStringLiteral("\" abgelehnt (")
                       + vault->lastError() + QStringLiteral("); es und die folgenden Passwörter bleiben in der Datei."));
            return QString();
        }
        written.append(key);
    }
    usedKeys.insert(key);
    return StoreLine(site, key);
}

bool ConnectionStore::SaveConnections()
{
    const bool toKeyring = m_place && m_place->writesToKeyring();
    // Entries that cannot be read now keep their keys; no other site may take them.
    QSet<QString> usedKeys;
    for (const FTPConnection &site : std::as_const(m_sites)) {
        if (site.PasswordUnread && !site.PasswordKey.isEmpty())
            usedKeys.insert(site.PasswordKey);
    }
    QStringList written;
    QSet<QString> keyringSites;
    bool refused = false;

    QStringList lines;
    lines.reserve(m_sites.size());
    for (const FTPConnection &site : std::as_const(m_sites)) {
        const FTPConnection clean = cleaned(site);
        if (clean.PasswordUnread && !clean.PasswordKey.isEmpty()) {
            lines.append(StoreLine(clean, clean.PasswordKey));
            continue;
        }
        if (!clean.Password.isEmpty() && DecodePassword(EncodeStorePassword(clean.Password)) != clean.Password) {
            report(QStringLiteral("Site \"") + clean.Name + QStringLiteral("\": the password holds characters that cannot be stored and was changed."),
                   QStringLiteral("Seite \"") + clean.Name + QString::fromUtf8("\": Das Passwort enthält Zeichen, die nicht gespeichert werden können, und wurde verändert."));
        }
        if (toKeyring && !clean.Password.isEmpty()) {
            // Two sites equal in every field are one site, as two equal lines are one line.
            const QString identity = StoreLine(clean) + Separator + clean.Password;
            if (keyringSites.contains(identity))
                continue;
            keyringSites.insert(identity);
            const QString line = keyringLine(clean, usedKeys, written, &refused);
            if (!line.isEmpty()) {
                lines.append(line);
                continue;
            }
        }
        lines.append(StoreLine(clean));
    }
    lines = SortedUniqueLines(lines);

    QString content;
    for (const QString &line : std::as_const(lines))
        content += line + QStringLiteral("\r\n");
    m_error.clear();
    if (!writeOwnerOnly(filePath(), EncodeFileText(content), &m_error)) {
        report(QStringLiteral("The sites could not be saved to \"") + filePath() + QStringLiteral("\": ") + m_error,
               QStringLiteral("Die Seiten konnten nicht in \"") + filePath() + QStringLiteral("\" gespeichert werden: ") + m_error);
        // Entries made for this save and named by no file would only be left behind.
        for (const QString &key : std::as_const(written)) {
            if (!m_keyringKeys.contains(key))
                m_place->vault->remove(key);
        }
        return false;
    }
    // Only now that the file names its new places may the entries it no longer names go.
    if (m_place && m_place->vault) {
        for (const QString &key : std::as_const(m_keyringKeys)) {
            if (!usedKeys.contains(key))
                m_place->vault->remove(key);
        }
    }
    LoadConnections();
    return true;
}

int ConnectionStore::ReadLastConnection() const
{
    bool exists = false;
    const QStringList lines = TextCodec::ReadLines(lastConnectionPath(), &exists);
    if (!exists)
        return -1;
    bool ok = false;
    const int row = lines.value(0).trimmed().toInt(&ok);
    if (!ok || row < 0) {
        report(LastConnectionFileName + QStringLiteral(" holds no row number; no site is preselected from it."),
               LastConnectionFileName + QStringLiteral(" enthält keine Zeilennummer; es wird keine Seite daraus vorausgewählt."));
        return -1;
    }
    return row;
}

bool ConnectionStore::WriteLastConnection(int row) const
{
    return TextCodec::WriteLines(lastConnectionPath(), {QString::number(row)});
}

} // namespace Velmora
