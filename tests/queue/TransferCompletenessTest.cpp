// A transfer counts as done only when the whole file arrived: downloads that end with more or
// fewer bytes than the file has, uploads the server holds only part of, and local files that
// change while they are sent all fail their record and keep their row.
#include "QueueServerFixture.h"

#include <QDir>
#include <QFile>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class TransferCompletenessTest : public QueueServerTest {
protected:
    QStringList commandsStartingWith(const QByteArray &prefix) const
    {
        QStringList out;
        for (const QByteArray &c : scripted.commands()) {
            if (c.startsWith(prefix))
                out << QString::fromLatin1(c);
        }
        return out;
    }
};

QByteArray announced(qint64 size)
{
    return "150 Opening BINARY mode data connection (" + QByteArray::number(size) + " bytes).\n226 Transfer complete.";
}
const QByteArray Unannounced = "150 Opening BINARY mode data connection.\n226 Transfer complete.";

TEST_F(TransferCompletenessTest, ADownloadOfAnotherSizeThanTheFileFailsAndTouchesNoFile)
{
    struct Case {
        const char *name;
        QByteArray retrReply;
        QByteArray data;
        const char *recordSize; // empty: the record names no size
        QByteArray sizeReply;   // the server's answer to SIZE, empty for none
        QString error;          // the protocol line, empty when the download is whole
        int sizeQuestions;
    };
    const QString incomplete = QStringLiteral("2: Transfer incomplete: received %1 of %2 bytes: /%3");
    const QList<Case> cases = {
        {"short.bin", announced(1000000), QByteArray(500000, 's'), "1000000", "213 1000000",
         incomplete.arg(500000).arg(1000000).arg(u"short.bin"), 0},
        {"long.bin", announced(1000), QByteArray(1500, 'l'), "1000", {}, incomplete.arg(1500).arg(1000).arg(u"long.bin"), 0},
        // The "150" reply is the server's word for this transfer: it beats the record.
        {"announced.bin", announced(700), QByteArray(700, 'a'), "500", {}, {}, 0},
        // Without an announcement, the record's size may come from an old listing: the server's
        // size now decides, asked once after the transfer.
        {"grew.bin", Unannounced, QByteArray(1200, 'g'), "1000", "213 1200", {}, 1},
        {"stale.bin", Unannounced, QByteArray(500, 'x'), "1000", "213 1000", incomplete.arg(500).arg(1000).arg(u"stale.bin"), 1},
        {"changed.bin", Unannounced, QByteArray(500, 'c'), "1000", "213 800", incomplete.arg(500).arg(800).arg(u"changed.bin"), 1},
        {"no size.bin", Unannounced, QByteArray(500, 'n'), "1000", {}, incomplete.arg(500).arg(1000).arg(u"no size.bin"), 1},
        // Without a size in the record, the size asked before the transfer is the server's.
        {"asked.bin", Unannounced, QByteArray(500, 'q'), "", "213 1000", incomplete.arg(500).arg(1000).arg(u"asked.bin"), 1},
        {"unknown.bin", Unannounced, QByteArray(500, 'u'), "", {}, {}, 1},
        {"empty.bin", announced(0), QByteArray(), "0", {}, {}, 0},
    };
    for (const Case &c : cases) {
        const QByteArray remote = QByteArray("/") + c.name;
        scripted.addRule("RETR " + remote, c.retrReply, c.data);
        if (!c.sizeReply.isEmpty())
            scripted.addRule("SIZE " + remote, c.sizeReply);
    }
    connectToScriptedServer();
    runner->overwritePolicy().applyAllwaysOverwrite(true);

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype mark = log.entries().size();
        model.clear();
        const QString remote = QStringLiteral("/") + QString::fromLatin1(c.name);
        const QString target = env.writeFile(QStringLiteral("local/") + QString::fromLatin1(c.name), "the old, complete file");
        quint64 changedRows = 0;
        QString sizeShown;
        const QMetaObject::Connection watch = QObject::connect(
            &model, &QueueTableModel::dataChanged, &model, [&](const QModelIndex &from, const QModelIndex &) {
                ++changedRows;
                sizeShown = model.rowAt(from.row()).filesize;
            });
        QString record = QStringLiteral("RETR|") + remote + u'|' + target;
        if (*c.recordSize)
            record += QStringLiteral("|") + QString::fromLatin1(c.recordSize);
        run({record});
        QObject::disconnect(watch);

        const QStringList lines = protocol().mid(mark);
        EXPECT_EQ(commandsStartingWith("SIZE " + remote.toLatin1()).size(), c.sizeQuestions);
        EXPECT_FALSE(QFileInfo::exists(RecordExecutor::partialName(target))) << "the partial data goes with the failure";
        if (c.error.isEmpty()) {
            EXPECT_TRUE(lines.filter(QStringLiteral("2: ")).isEmpty()) << lines.join(u'\n').toStdString();
            EXPECT_TRUE(readLocal(target) == c.data) << "the file is not what the server sent";
            EXPECT_TRUE(model.isEmpty());
        } else {
            EXPECT_EQ(lines.filter(QStringLiteral("2: ")), QStringList{c.error}) << lines.join(u'\n').toStdString();
            EXPECT_TRUE(readLocal(target) == "the old, complete file") << "the existing file was touched";
            EXPECT_EQ(gridSources(), QStringList{remote});
            EXPECT_EQ(lastQueueSources(), QStringList{remote});
            EXPECT_EQ(runner->traffic().statistics().filesDone, 0);
        }
        if (QByteArray(c.name) == "grew.bin") {
            EXPECT_EQ(changedRows, 1u);
            EXPECT_EQ(sizeShown, QStringLiteral("1200")) << "the row takes the size the file has now";
            EXPECT_EQ(runner->traffic().statistics().bytesToGo, 0);
        }
    }
}

TEST_F(TransferCompletenessTest, AnAsciiDownloadIsAtLeastAsLongAsTheFile)
{
    // The server sends CR LF for every line end: the stream may be longer than the file, never
    // shorter.
    scripted.addRule("RETR /longer.txt", announced(4), "a\r\nb\r\n");
    scripted.addRule("RETR /shorter.txt", announced(10), "a\r\nb\r\n");
    connectToScriptedServer();
    run({QStringLiteral("RETR|/longer.txt|") + local + QStringLiteral("longer.txt"),
         QStringLiteral("RETR|/shorter.txt|") + local + QStringLiteral("shorter.txt")});
    EXPECT_TRUE(scripted.received("TYPE A"));
    EXPECT_EQ(readLocal(local + QStringLiteral("longer.txt")), QByteArray("a\nb\n"));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("shorter.txt")));
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/shorter.txt")});
    EXPECT_EQ(protocol().filter(QStringLiteral("2: ")),
              QStringList{QStringLiteral("2: Transfer incomplete: received 6 of 10 bytes: /shorter.txt")});
}

TEST_F(TransferCompletenessTest, TheIncompleteTransferLineInGerman)
{
    scripted.addRule("RETR /kurz.bin", announced(10), "12345");
    connectToScriptedServer();
    language.setCurrent(Language::German);
    run({QStringLiteral("RETR|/kurz.bin|") + local + QStringLiteral("kurz.bin")});
    EXPECT_TRUE(protocol().contains(QString::fromUtf8("2: Übertragung unvollständig: 5 von 10 Bytes empfangen: /kurz.bin")))
        << protocol().join(u'\n').toStdString();
}

TEST_F(TransferCompletenessTest, AnUploadTheServerHoldsOnlyPartOfFails)
{
    struct Case {
        const char *name;
        QByteArray sizeReply; // empty: the server has no SIZE
        QString error;
    };
    const QList<Case> cases = {
        {"part.bin", "213 10", QStringLiteral("2: Transfer incomplete: the server holds 10 of 20 bytes: /part.bin")},
        {"more.bin", "213 30", QStringLiteral("2: Transfer incomplete: the server holds 30 of 20 bytes: /more.bin")},
        {"whole.bin", "213 20", {}},
        {"nosize.bin", {}, {}},
    };
    scripted.addRule("LIST", "150 Here.\n226 Done.");
    for (const Case &c : cases) {
        if (!c.sizeReply.isEmpty())
            scripted.addRule(QByteArray("SIZE /") + c.name, c.sizeReply);
    }
    connectToScriptedServer();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype mark = log.entries().size();
        model.clear();
        const QString file = env.writeFile(QStringLiteral("local/") + QString::fromLatin1(c.name), QByteArray(20, 'u'));
        run({QStringLiteral("STOR|") + file + QStringLiteral("|/") + QString::fromLatin1(c.name)});
        EXPECT_EQ(scripted.upload(QByteArray("/") + c.name), QByteArray(20, 'u'));
        const QStringList errors = protocol().mid(mark).filter(QStringLiteral("2: "));
        if (c.error.isEmpty()) {
            EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
            EXPECT_TRUE(model.isEmpty());
        } else {
            EXPECT_EQ(errors, QStringList{c.error});
            EXPECT_EQ(gridSources(), QStringList{file});
            EXPECT_EQ(lastQueueSources(), QStringList{file});
        }
    }
}

TEST_F(TransferCompletenessTest, ALocalFileThatChangesWhileItIsSentFails)
{
    connectToServer();
    const QString file = env.writeFile(QStringLiteral("local/growing.log"), QByteArray(8 * 1024 * 1024, 'g'));
    bool appended = false;
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [&] {
        if (appended)
            return;
        appended = true;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("one more line\n");
    });
    run({QStringLiteral("STOR|") + file + QStringLiteral("|/growing.log")});
    EXPECT_TRUE(appended);
    EXPECT_EQ(protocol().filter(QStringLiteral("2: ")),
              QStringList{QStringLiteral("2: The local file changed while it was sent: ") + file});
    EXPECT_EQ(gridSources(), QStringList{file});
}

TEST_F(TransferCompletenessTest, WholeFilesOfARealServerPassTheChecks)
{
    // Sizes from a listing, an empty file both ways, ASCII with its longer stream.
    connectToServer();
    server->writeFile(QStringLiteral("empty.dat"), {});
    server->writeFile(QStringLiteral("text.txt"), "a\nb\n");
    server->writeFile(QStringLiteral("data.bin"), QByteArray(300000, '\r'));
    const QString emptyUp = env.writeFile(QStringLiteral("local/up-empty.dat"), {});
    const QString binUp = env.writeFile(QStringLiteral("local/up.bin"), QByteArray(300001, '\n'));
    run({QStringLiteral("RETR|/empty.dat|") + local + QStringLiteral("empty.dat§1|empty.dat|0|d"),
         QStringLiteral("RETR|/text.txt|") + local + QStringLiteral("text.txt§1|text.txt|4|d"),
         QStringLiteral("RETR|/data.bin|") + local + QStringLiteral("data.bin§1|data.bin|300000|d"),
         QStringLiteral("STOR|") + emptyUp + QStringLiteral("|/up-empty.dat"), QStringLiteral("STOR|") + binUp + QStringLiteral("|/up.bin")});
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().filter(QStringLiteral("2: ")).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(local + QStringLiteral("empty.dat")));
    EXPECT_EQ(readLocal(local + QStringLiteral("empty.dat")), QByteArray());
    EXPECT_EQ(readLocal(local + QStringLiteral("text.txt")), QByteArray("a\nb\n"));
    EXPECT_EQ(readLocal(local + QStringLiteral("data.bin")), QByteArray(300000, '\r'));
    EXPECT_TRUE(QFileInfo::exists(server->localPath(QStringLiteral("up-empty.dat"))));
    EXPECT_EQ(server->readFile(QStringLiteral("up.bin")), QByteArray(300001, '\n'));
}

} // namespace
