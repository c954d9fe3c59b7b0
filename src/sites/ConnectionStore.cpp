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

QString ConnectionStore::StoreLine(const FTPConnection &site)
{
    QString name = site.Name;
    name.remove(Separator);
    const QString fields[FTPConnection::FieldCount] = {
        name, site.Host, site.User, EncodeStorePassword(site.Password),
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
    return line;
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

void ConnectionStore::LoadConnections()
{
    m_sites.clear();
    bool exists = false;
    const QStringList lines = TextCodec::ReadLines(filePath(), &exists);
    if (!exists)
        return;
    bool damaged = false;
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

bool ConnectionStore::SaveConnections()
{
    QStringList lines;
    lines.reserve(m_sites.size());
    for (const FTPConnection &site : std::as_const(m_sites)) {
        const FTPConnection clean = cleaned(site);
        if (!clean.Password.isEmpty() && DecodePassword(EncodeStorePassword(clean.Password)) != clean.Password) {
            report(QStringLiteral("Site \"") + clean.Name + QStringLiteral("\": the password holds characters that cannot be stored and was changed."),
                   QStringLiteral("Seite \"") + clean.Name + QString::fromUtf8("\": Das Passwort enthält Zeichen, die nicht gespeichert werden können, und wurde verändert."));
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
        return false;
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
