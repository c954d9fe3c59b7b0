#pragma once

#include "app/ProtocolLog.h"
#include "common/TextCodec.h"
#include "sites/FTPConnection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <ostream>

namespace Velmora {

// Readable failures: a site prints as its fields.
inline void PrintTo(const FTPConnection &site, std::ostream *out)
{
    *out << '{';
    for (int i = 0; i < FTPConnection::FieldCount; ++i)
        *out << (i ? "|" : "") << '"' << site.field(i).toStdString() << '"';
    *out << '}';
}

} // namespace Velmora

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace Velmora::Testing {

inline QString fixture(const QString &relative)
{
    return QStringLiteral(VELMORA_TEST_SOURCE_DIR "/tests/sites/fixtures/") + relative;
}

// A site from its fields in store order (plain FTP unless an encryption keyword is given).
inline FTPConnection site(const QString &name, const QString &host, const QString &user, const QString &password,
                          const QString &port, const QString &local, const QString &server, const QString &mode,
                          const QString &encryption = QStringLiteral("ftp"))
{
    FTPConnection s;
    s.Name = name;
    s.Host = host;
    s.User = user;
    s.Password = password;
    s.Port = port;
    s.LocalPath = local;
    s.ServerPath = server;
    s.Mode = mode;
    s.Encryption = encryption;
    return s;
}

// The texts of the protocol's error lines.
inline QStringList protocolErrors(const ProtocolLog &log)
{
    QStringList errors;
    for (const ProtocolEntry &entry : log.entries()) {
        if (entry.kind == ProtocolEntry::Error)
            errors.append(entry.text);
    }
    return errors;
}

// Text whose characters are the given Windows-1252 bytes, as the importers see a file.
inline QString cp1252(const char *bytes)
{
    return TextCodec::DecodeWindows1252(QByteArray(bytes));
}

} // namespace Velmora::Testing
