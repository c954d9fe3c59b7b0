#include "QtPrinters.h"
#include "engine/sftp/SftpAttributesReader.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

sftp_attributes_struct attributes(quint32 flags, quint8 type, quint32 permissions, quint64 size = 0, quint32 mtime = 0)
{
    sftp_attributes_struct a{};
    a.flags = flags;
    a.type = type;
    a.permissions = permissions;
    a.size = size;
    a.mtime = mtime;
    return a;
}

} // namespace

// The kind comes from the type field, else (protocol version 3) from the file-type bits of the
// mode; what the server did not send stays unknown.
TEST(SftpAttributesReader, KindComesFromTheTypeOrTheModeBits)
{
    constexpr quint32 Permissions = SSH_FILEXFER_ATTR_PERMISSIONS;
    struct Case {
        const char *what;
        sftp_attributes_struct attributes;
        SftpEntry::Kind kind;
    };
    const Case cases[] = {
        {"type file", attributes(0, SSH_FILEXFER_TYPE_REGULAR, 0), SftpEntry::Kind::File},
        {"type folder", attributes(0, SSH_FILEXFER_TYPE_DIRECTORY, 0), SftpEntry::Kind::Folder},
        {"type link", attributes(0, SSH_FILEXFER_TYPE_SYMLINK, 0), SftpEntry::Kind::Link},
        {"mode file", attributes(Permissions, 0, 0100644), SftpEntry::Kind::File},
        {"mode folder", attributes(Permissions, 0, 0040755), SftpEntry::Kind::Folder},
        {"mode link", attributes(Permissions, 0, 0120777), SftpEntry::Kind::Link},
        {"mode socket", attributes(Permissions, 0, 0140755), SftpEntry::Kind::Other},
        {"mode bits not sent", attributes(0, 0, 0040755), SftpEntry::Kind::Other},
        {"special type", attributes(0, SSH_FILEXFER_TYPE_SPECIAL, 0), SftpEntry::Kind::Other},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SftpAttributesReader::kindOf(c.attributes), c.kind) << c.what;
}

TEST(SftpAttributesReader, EntryTakesOnlyWhatTheServerSent)
{
    const sftp_attributes_struct full =
        attributes(SSH_FILEXFER_ATTR_SIZE | SSH_FILEXFER_ATTR_PERMISSIONS | SSH_FILEXFER_ATTR_ACMODTIME, 0, 0104755,
                   quint64(6) * 1024 * 1024 * 1024 + 1, 1614834367);
    const SftpEntry entry = SftpAttributesReader::entry(full, "Grüße.txt");
    EXPECT_EQ(entry.kind, SftpEntry::Kind::File);
    EXPECT_EQ(entry.name, QStringLiteral("Grüße.txt"));
    EXPECT_TRUE(entry.nameIsUtf8);
    EXPECT_EQ(entry.size, qint64(6) * 1024 * 1024 * 1024 + 1);
    EXPECT_EQ(entry.permissions, 04755); // set-user-ID kept, the type bits not
    EXPECT_EQ(entry.modified, QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC));

    const SftpEntry bare = SftpAttributesReader::entry(attributes(0, SSH_FILEXFER_TYPE_REGULAR, 0644, 99, 99), "a");
    EXPECT_EQ(bare.size, -1);
    EXPECT_EQ(bare.permissions, -1);
    EXPECT_FALSE(bare.modified.isValid());

    // Latin-1 "café": the bytes stay as they came, the name is marked as not UTF-8.
    const QByteArray latin1 = QByteArray("caf") + char(0xE9);
    const SftpEntry foreign = SftpAttributesReader::entry(full, latin1);
    EXPECT_EQ(foreign.rawName, latin1);
    EXPECT_FALSE(foreign.nameIsUtf8);
}
