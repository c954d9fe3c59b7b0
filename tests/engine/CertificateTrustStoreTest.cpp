// The file of trusted certificates: which lines are entries, that every rewrite keeps the lines
// that are not, and the side file of subjects and expiry dates that older versions never read.
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include "engine/CertificateTrustStore.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QStringList entriesOf(const TrustedCertificateList &list)
{
    QStringList texts;
    for (const TrustedCertificate &e : list.entries)
        texts << e.site() + u' ' + e.fingerprint;
    return texts;
}

QStringList unreadableOf(const TrustedCertificateList &list)
{
    QStringList texts;
    for (const auto &line : list.unreadable)
        texts << QString::number(line.first) + u':' + line.second;
    return texts;
}

TEST(CertificateTrustStore, ParsesEntriesAndNamesEveryOtherLine)
{
    const struct {
        const char *name;
        QByteArray file;
        QStringList entries;
        QStringList unreadable;
    } cases[] = {
        {"empty", "", {}, {}},
        {"one", "ftp.example.org 21 AA:BB\n", {u"ftp.example.org:21 AA:BB"_qs}, {}},
        {"no last line end, CR LF, blanks", "a.org 21 AA\r\n\r\n  b.org   990   BB  ", {u"a.org:21 AA"_qs, u"b.org:990 BB"_qs}, {}},
        {"host in capitals", "FTP.Example.ORG 21 AA\n", {u"ftp.example.org:21 AA"_qs}, {}},
        {"IPv6 address", "::1 2121 AA\n", {u"[::1]:2121 AA"_qs}, {}},
        {"a later line for the site wins", "a.org 21 AA\nb.org 21 BB\na.org 21 CC\n", {u"a.org:21 CC"_qs, u"b.org:21 BB"_qs}, {}},
        {"damaged lines", "a.org 21\nb.org x21 BB\nc.org 0 CC\nd.org 70000 DD\ne.org 021 EE\nf.org 21 FF GG\ng.org 21 GG\n",
         {u"g.org:21 GG"_qs},
         {u"1:a.org 21"_qs, u"2:b.org x21 BB"_qs, u"3:c.org 0 CC"_qs, u"4:d.org 70000 DD"_qs, u"5:e.org 021 EE"_qs,
          u"6:f.org 21 FF GG"_qs}},
        {"not text at all", QByteArray("\x01\xff\xfe zz\n", 7), {}, {u"1:\x01\xfffd\xfffd zz"_qs}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TrustedCertificateList list = CertificateTrustStore::Parse(c.file);
        EXPECT_EQ(entriesOf(list), c.entries);
        EXPECT_EQ(unreadableOf(list), c.unreadable);
    }
}

class CertificateTrustStoreFile : public ::testing::Test {
protected:
    QString folder() const { return env.root(); }
    QByteArray trustFile() const { return TestEnvironment::readFile(folder() + CertificateTrustStore::FileName); }
    QByteArray detailsFile() const { return TestEnvironment::readFile(folder() + CertificateTrustStore::DetailsFileName); }
    static TrustedCertificate certificate(const QString &host, quint16 port, const QString &fingerprint)
    {
        TrustedCertificate c;
        c.host = host;
        c.port = port;
        c.fingerprint = fingerprint;
        c.subject = QStringLiteral("CN=%1, O=Example\tLtd").arg(host);
        c.validUntil = QDateTime(QDate(2027, 3, 1), QTime(12, 30), Qt::UTC);
        return c;
    }

    TestEnvironment env;
};

// Trusting keeps the entry file as older versions read it, and subject and expiry beside it;
// the listing joins both.
TEST_F(CertificateTrustStoreFile, TrustKeepsTheEntryFileAsBeforeAndTheDetailsBesideIt)
{
    CertificateTrustStore store(folder());
    ASSERT_TRUE(store.trust(certificate(u"b.org"_qs, 21, u"BB"_qs)));
    ASSERT_TRUE(store.trust(certificate(u"A.org"_qs, 990, u"AA"_qs)));
    EXPECT_EQ(trustFile(), QByteArray("a.org 990 AA\nb.org 21 BB\n"));
    EXPECT_EQ(detailsFile(), QByteArray("b.org 21 BB\t2027-03-01T12:30:00Z\tCN=b.org, O=Example Ltd\n"
                                        "a.org 990 AA\t2027-03-01T12:30:00Z\tCN=A.org, O=Example Ltd\n"));
    for (const QString &name : {CertificateTrustStore::FileName, CertificateTrustStore::DetailsFileName})
        EXPECT_EQ(QFileInfo(folder() + name).permissions() & 0xF0FF, QFileDevice::ReadOwner | QFileDevice::WriteOwner) << qPrintable(name);

    const TrustedCertificateList list = store.list();
    ASSERT_EQ(list.entries.size(), 2);
    EXPECT_EQ(list.entries[0].site(), u"a.org:990"_qs);
    EXPECT_EQ(list.entries[0].subject, u"CN=A.org, O=Example Ltd"_qs);
    EXPECT_EQ(list.entries[0].validUntil, QDateTime(QDate(2027, 3, 1), QTime(12, 30), Qt::UTC));
    EXPECT_EQ(store.fingerprint(u"B.ORG"_qs, 21), u"BB"_qs);
}

// Details of another certificate for the site (an older version trusted a new one without
// them) are not shown for the new one; a damaged details file loses only the details.
TEST_F(CertificateTrustStoreFile, DetailsCountOnlyForTheCertificateTheEntryTrusts)
{
    CertificateTrustStore store(folder());
    ASSERT_TRUE(store.trust(certificate(u"a.org"_qs, 21, u"AA"_qs)));
    env.writeFile(folder() + CertificateTrustStore::FileName, "a.org 21 CC\n");
    const TrustedCertificateList list = store.list();
    ASSERT_EQ(list.entries.size(), 1);
    EXPECT_EQ(list.entries[0].fingerprint, u"CC"_qs);
    EXPECT_TRUE(list.entries[0].subject.isEmpty());
    EXPECT_FALSE(list.entries[0].validUntil.isValid());

    env.writeFile(folder() + CertificateTrustStore::DetailsFileName, "garbage\na.org 21 CC\tnot a date\tCN=x\n\t\t\n");
    const TrustedCertificateList damaged = store.list();
    ASSERT_EQ(damaged.entries.size(), 1);
    EXPECT_EQ(damaged.entries[0].subject, u"CN=x"_qs);
    EXPECT_FALSE(damaged.entries[0].validUntil.isValid());
}

// Removing and trusting rewrite the file without losing a line that is no entry.
TEST_F(CertificateTrustStoreFile, RewritesKeepLinesThatAreNoEntry)
{
    env.writeFile(folder() + CertificateTrustStore::FileName, "# my servers\nb.org 21 BB\na.org 21 AA\nbroken line\n");
    CertificateTrustStore store(folder());
    ASSERT_TRUE(store.remove(u"B.org"_qs, 21));
    EXPECT_EQ(trustFile(), QByteArray("a.org 21 AA\n# my servers\nbroken line\n"));
    ASSERT_TRUE(store.trust(u"c.org"_qs, 21, u"CC"_qs));
    EXPECT_EQ(trustFile(), QByteArray("a.org 21 AA\nc.org 21 CC\n# my servers\nbroken line\n"));
    ASSERT_TRUE(store.remove(u"nowhere.org"_qs, 21)); // nothing to remove: nothing changes
    EXPECT_EQ(trustFile(), QByteArray("a.org 21 AA\nc.org 21 CC\n# my servers\nbroken line\n"));
    EXPECT_FALSE(QFileInfo::exists(folder() + CertificateTrustStore::DetailsFileName));
}

} // namespace
