#pragma once

#include "FtpReply.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// Address and port of a passive-mode reply.
struct PassiveAddress {
    QString host; // as the server wrote it; the client connects to the control peer instead
    quint16 port = 0;
};

// "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)": the six numbers may stand anywhere in the
// text, with or without parentheses. Nothing when they are missing or out of range.
std::optional<PassiveAddress> ParsePasvReply(const QByteArray &text);
// "229 Entering Extended Passive Mode (|||port|)" with any printable delimiter (RFC 2428).
std::optional<quint16> ParseEpsvReply(const QByteArray &text);
// The quoted path of a "257" reply, with doubled quotes undone ('"/a ""b"""' gives '/a "b"').
// Servers that do not quote give the first word.
std::optional<QByteArray> ParsePwdReply(const QByteArray &text);
// The features of a FEAT reply (RFC 2389), each as its upper-case first word: "UTF8", "MLST".
QStringList ParseFeatures(const FtpReply &reply);
// The byte count some servers announce in the "150" reply of a transfer: "(1234 bytes)"; -1 when
// absent (an empty file is announced as "(0 bytes)").
qint64 AnnouncedTransferSize(const QByteArray &text);
// The time of a "213" reply to MDTM (RFC 3659): "YYYYMMDDHHMMSS" with optional fractions of a
// second, in UTC. Invalid when the text is not such a time.
QDateTime ParseMdtmReply(const QByteArray &text);

// Arguments of the active-mode commands: "127,0,0,1,p1,p2" for PORT, "|1|addr|port|" or
// "|2|addr|port|" for EPRT.
QByteArray PortArgument(const QString &ipv4Address, quint16 port);
QByteArray EprtArgument(const QString &address, bool ipv6, quint16 port);

} // namespace Velmora
