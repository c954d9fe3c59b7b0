#include "SftpSessionClient.h"

#include "SftpListing.h"

#include "engine/sftp/SftpError.h"

#include <QLocale>
#include <QRegularExpression>

namespace Velmora {

SftpSessionClient::SftpSessionClient(QObject *parent)
    : FtpClient(parent)
{
    setTimeouts(m_timeouts);
    connect(&m_sftp, &SftpClient::statusReported, this, &FtpClient::statusReported);
    connect(&m_sftp, &SftpClient::connected, this, &FtpClient::connected);
    connect(&m_sftp, &SftpClient::workBegan, this,
            [this](SftpClient::Direction d, qint64 expected) { Q_EMIT workBegan(direction(d), expected); });
    connect(&m_sftp, &SftpClient::workProgressed, this,
            [this](SftpClient::Direction d, qint64 bytes) { Q_EMIT workProgressed(direction(d), bytes); });
    connect(&m_sftp, &SftpClient::workEnded, this, [this](SftpClient::Direction d) { Q_EMIT workEnded(direction(d)); });
}

FtpClient::Direction SftpSessionClient::direction(SftpClient::Direction direction)
{
    return direction == SftpClient::Direction::Download ? Direction::Download : Direction::Upload;
}

FtpError SftpSessionClient::Translated(const SftpError &error)
{
    switch (error.kind()) {
    case SftpError::Kind::Refused: return FtpError(error.message(), FtpError::Kind::Refused);
    case SftpError::Kind::Local: return FtpError(error.message(), FtpError::Kind::Local);
    case SftpError::Kind::Aborted: return FtpError(error.message(), FtpError::Kind::Aborted);
    case SftpError::Kind::Connection:
    case SftpError::Kind::HostKey:
    case SftpError::Kind::Authentication: break;
    }
    return FtpError(error.message(), FtpError::Kind::Connection);
}

void SftpSessionClient::call(const std::function<void()> &work)
{
    try {
        work();
    } catch (const SftpError &error) {
        throw Translated(error);
    }
}

void SftpSessionClient::setTimeouts(const FtpTimeouts &timeouts)
{
    m_timeouts = timeouts;
    m_sftp.setTimeouts({timeouts.connectMs, qMax(timeouts.replyMs, timeouts.dataIdleMs)});
}

QString SftpSessionClient::encryptionText() const
{
    const QString text = m_sftp.encryptionText();
    return text.isEmpty() ? QString() : QStringLiteral("SSH, ") + text;
}

void SftpSessionClient::connectAndLogin()
{
    m_refusedHostKey.reset();
    try {
        m_sftp.connectAndLogin();
    } catch (const SftpError &error) {
        if (error.kind() == SftpError::Kind::HostKey)
            m_refusedHostKey = m_sftp.hostKey();
        throw Translated(error);
    }
    m_greeting = m_sftp.serverBanner();
    m_system = QStringLiteral("SFTP (SSH), logged in by ") + m_sftp.loginMethod();
}

void SftpSessionClient::closeConnection()
{
    if (!m_sftp.isConnected() && !m_sftp.isBusy())
        return;
    call([this] { m_sftp.closeConnection(); });
}

void SftpSessionClient::cancel()
{
    try {
        m_sftp.cancel();
    } catch (const SftpError &) {
        // The connection is dropped either way.
    }
}

QList<ListingEntry> SftpSessionClient::listEntries(const QString &folder)
{
    QList<SftpEntry> entries;
    call([&] { entries = m_sftp.list(folder); });
    QList<ListingEntry> out;
    out.reserve(entries.size());
    m_unusableNames.clear();
    for (const SftpEntry &entry : std::as_const(entries)) {
        if (entry.nameIsUtf8)
            out.append(SftpListing::Entry(entry));
        else
            m_unusableNames.append(entry.name);
    }
    return out;
}

QStringList SftpSessionClient::list(const QString &specifier)
{
    // A pattern such as ".*" is no folder: it lists the current one, as the names are all
    // there anyway.
    const QString folder = specifier.trimmed().startsWith(u'-') || specifier.contains(u'*') ? QString() : specifier.trimmed();
    const QList<ListingEntry> entries = listEntries(folder);
    const QLocale c = QLocale::c();
    QStringList lines;
    m_listedDates.clear();
    for (const ListingEntry &e : entries) {
        const QString permissions = e.permissions.isEmpty() ? QStringLiteral("----------") : e.permissions;
        const QDateTime date = e.date.isValid() ? e.date : QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
        lines << permissions + QStringLiteral(" 1 owner group ") + e.sizeText + u' '
                     + c.toString(date, QStringLiteral("MMM dd hh:mm")) + u' ' + e.listedName();
        m_listedDates << date;
    }
    return lines;
}

void SftpSessionClient::changeDirectory(const QString &path)
{
    call([&] { m_sftp.changeDirectory(path); });
}

QString SftpSessionClient::currentDirectory()
{
    QString folder;
    call([&] {
        if (!m_sftp.isConnected())
            throw SftpError(QStringLiteral("Not connected."), SftpError::Kind::Connection);
        folder = m_sftp.realPath(m_sftp.currentDirectory());
    });
    return folder;
}

FtpTransferResult SftpSessionClient::download(const QString &remotePath, const QString &localPath)
{
    SftpTransferResult moved;
    call([&] { moved = m_sftp.download(remotePath, localPath); });
    return {moved.bytes, moved.bytes, moved.expectedBytes};
}

FtpTransferResult SftpSessionClient::upload(const QString &localPath, const QString &remotePath)
{
    SftpTransferResult moved;
    call([&] { moved = m_sftp.upload(localPath, remotePath); });
    return {moved.bytes, moved.bytes, -1};
}

void SftpSessionClient::deleteFile(const QString &path)
{
    call([&] { m_sftp.deleteFile(path); });
}

void SftpSessionClient::makeDirectory(const QString &path)
{
    call([&] { m_sftp.makeDirectory(path); });
}

void SftpSessionClient::removeDirectory(const QString &path)
{
    call([&] { m_sftp.removeDirectory(path); });
}

void SftpSessionClient::site(const QString &command)
{
    static const QRegularExpression chmod(QStringLiteral("^\\s*CHMOD\\s+([0-7]{1,4})\\s+(.+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = chmod.match(command);
    if (!match.hasMatch())
        throw FtpError(QStringLiteral("SFTP knows no SITE command: ") + command, FtpError::Kind::Refused);
    const int mode = match.captured(1).toInt(nullptr, 8);
    const QString path = match.captured(2);
    call([&] { m_sftp.setPermissions(path, mode); });
}

void SftpSessionClient::rename(const QString &from, const QString &to)
{
    call([&] {
        try {
            m_sftp.rename(from, to);
            return;
        } catch (const SftpError &error) {
            if (!error.isRefusal())
                throw;
            // SFTP refuses to rename onto an existing name; FTP servers replace a file there.
            // The file in the way steps aside first and comes back when the rename still fails,
            // so nothing is lost either way.
            SftpEntry target;
            try {
                target = m_sftp.entry(to);
            } catch (const SftpError &) {
                throw error;
            }
            if (target.kind == SftpEntry::Kind::Folder)
                throw;
            const QString aside = to + QStringLiteral(".velmora-rename");
            m_sftp.rename(to, aside);
            try {
                m_sftp.rename(from, to);
            } catch (const SftpError &) {
                m_sftp.rename(aside, to);
                throw;
            }
            m_sftp.deleteFile(aside);
        }
    });
}

qint64 SftpSessionClient::size(const QString &path)
{
    qint64 result = -1;
    call([&] { result = m_sftp.size(path); });
    return result;
}

} // namespace Velmora
