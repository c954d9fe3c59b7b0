#include "SftpAttributesReader.h"

#include <QStringDecoder>

namespace Velmora {

SftpEntry::Kind SftpAttributesReader::kindOf(const sftp_attributes_struct &attributes)
{
    switch (attributes.type) {
    case SSH_FILEXFER_TYPE_REGULAR:
        return SftpEntry::Kind::File;
    case SSH_FILEXFER_TYPE_DIRECTORY:
        return SftpEntry::Kind::Folder;
    case SSH_FILEXFER_TYPE_SYMLINK:
        return SftpEntry::Kind::Link;
    default:
        break;
    }
    // Servers of protocol version 3 tell the kind through the file-type bits of the mode.
    if (attributes.flags & SSH_FILEXFER_ATTR_PERMISSIONS) {
        switch (attributes.permissions & 0170000) {
        case 0100000:
            return SftpEntry::Kind::File;
        case 0040000:
            return SftpEntry::Kind::Folder;
        case 0120000:
            return SftpEntry::Kind::Link;
        default:
            break;
        }
    }
    return SftpEntry::Kind::Other;
}

SftpEntry SftpAttributesReader::entry(const sftp_attributes_struct &attributes, const QByteArray &rawName)
{
    SftpEntry entry;
    entry.rawName = rawName;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    entry.name = decoder(rawName);
    entry.nameIsUtf8 = !decoder.hasError();
    entry.kind = kindOf(attributes);
    if (attributes.flags & SSH_FILEXFER_ATTR_SIZE)
        entry.size = qint64(attributes.size);
    if (attributes.flags & SSH_FILEXFER_ATTR_PERMISSIONS)
        entry.permissions = int(attributes.permissions & 07777);
    if (attributes.flags & SSH_FILEXFER_ATTR_ACMODTIME)
        entry.modified = QDateTime::fromSecsSinceEpoch(qint64(attributes.mtime), Qt::UTC);
    return entry;
}

} // namespace Velmora
