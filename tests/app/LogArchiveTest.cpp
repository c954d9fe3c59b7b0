#include "app/LogArchive.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>
#include <zip.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(LogArchive, PacksEveryLogUnderItsBareName)
{
    TestEnvironment env;
    const QString logs = env.root() + QStringLiteral("appdata/");
    env.writeFile(QStringLiteral("appdata/protocol_messages.log"), "1\xA7" "0001\xA7hello\r\n");
    env.writeFile(QStringLiteral("appdata/Lastbatchjob.log"), QByteArray(5000, 'x'));
    env.writeFile(QStringLiteral("appdata/options.ini"), "not a log");
    const QString target = LogArchive::targetFor(env.root() + QStringLiteral("desk/whatever-the-user-typed.zip"));
    EXPECT_EQ(target, env.root() + QStringLiteral("desk/Velmora-Logfiles.zip"));
    env.writeFile(QStringLiteral("desk/Velmora-Logfiles.zip"), "old archive to be replaced");
    ASSERT_TRUE(LogArchive::write(logs, target));

    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(target).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    ASSERT_EQ(zip_get_num_entries(archive, 0), 2);
    QStringList names;
    for (zip_int64_t i = 0; i < 2; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        names.append(QString::fromUtf8(stat.name));
        EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE);
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Lastbatchjob.log"), QStringLiteral("protocol_messages.log")}));
    zip_file_t *file = zip_fopen(archive, "protocol_messages.log", 0);
    ASSERT_NE(file, nullptr);
    char buffer[64] = {};
    const zip_int64_t read = zip_fread(file, buffer, sizeof buffer);
    EXPECT_EQ(QByteArray(buffer, int(read)), QByteArray("1\xA7" "0001\xA7hello\r\n"));
    zip_fclose(file);
    zip_close(archive);
}
