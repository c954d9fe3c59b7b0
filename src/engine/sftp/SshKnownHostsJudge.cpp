#include "SshKnownHostsJudge.h"

#include "SshKnownHostsFile.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace Velmora {

namespace {

struct KnownLine {
    enum class Marker { None, Revoked, CertAuthority };
    Marker marker = Marker::None;
    QString hosts;
    QString keyType;
    QByteArray keyBlob;
};

// One line of a known-hosts file; false for comments, blank lines and lines without a key.
bool parseLine(const QByteArray &raw, KnownLine *line)
{
    const QString text = QString::fromUtf8(raw).trimmed();
    if (text.isEmpty() || text.startsWith(u'#'))
        return false;
    QStringList fields = text.split(QRegularExpression(QStringLiteral("[ \\t]+")), Qt::SkipEmptyParts);
    if (fields.first().startsWith(u'@')) {
        const QString marker = fields.takeFirst();
        if (marker == QStringLiteral("@revoked"))
            line->marker = KnownLine::Marker::Revoked;
        else if (marker == QStringLiteral("@cert-authority"))
            line->marker = KnownLine::Marker::CertAuthority;
        else
            return false; // a marker OpenSSH does not know makes the line invalid
    }
    if (fields.size() < 3)
        return false;
    line->hosts = fields[0];
    line->keyType = fields[1];
    line->keyBlob = QByteArray::fromBase64(fields[2].toLatin1());
    return !line->keyBlob.isEmpty();
}

} // namespace

bool SshKnownHostsJudge::wildcardMatches(const QString &pattern, const QString &text)
{
    // Iterative matching with backtracking to the last "*".
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toLower() == text[t].toLower())) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool SshKnownHostsJudge::hostFieldMatches(const QString &field, const QString &hostPattern)
{
    const QString host = hostPattern.toLower();
    if (field.startsWith(QStringLiteral("|1|"))) {
        const QByteArray salt = QByteArray::fromBase64(field.section(u'|', 2, 2).toLatin1());
        return !salt.isEmpty() && SshKnownHostsFile::hashedHost(host, salt) == field;
    }
    bool matched = false;
    for (const QString &pattern : field.split(u',', Qt::SkipEmptyParts)) {
        if (pattern.startsWith(u'!')) {
            // A negated pattern that matches rules the whole line out.
            if (wildcardMatches(pattern.mid(1), host))
                return false;
        } else if (wildcardMatches(pattern, host)) {
            matched = true;
        }
    }
    return matched;
}

SshKnownHostsJudge::Verdict SshKnownHostsJudge::judge(const QList<QByteArray> &files, const QString &hostPattern,
                                                      const QString &keyType, const QByteArray &keyBlob)
{
    bool known = false;
    bool revoked = false;
    std::optional<KnownLine> sameType;
    std::optional<KnownLine> otherType;
    for (const QByteArray &content : files) {
        for (const QByteArray &raw : content.split('\n')) {
            KnownLine line;
            if (!parseLine(raw, &line) || line.marker == KnownLine::Marker::CertAuthority
                || !hostFieldMatches(line.hosts, hostPattern))
                continue;
            const bool sameKey = line.keyBlob == keyBlob;
            if (line.marker == KnownLine::Marker::Revoked) {
                revoked = revoked || sameKey;
            } else if (sameKey) {
                known = true;
            } else if (line.keyType == keyType) {
                if (!sameType)
                    sameType = line;
            } else if (!otherType) {
                otherType = line;
            }
        }
    }
    Verdict verdict;
    const auto describe = [&verdict](const KnownLine &line) {
        verdict.knownKeyType = line.keyType;
        verdict.knownFingerprint = SshKnownHostsFile::sha256Fingerprint(line.keyBlob);
    };
    if (revoked) {
        verdict.status = SshHostKey::Status::Revoked;
    } else if (known) {
        verdict.status = SshHostKey::Status::Known;
    } else if (sameType) {
        verdict.status = SshHostKey::Status::Changed;
        describe(*sameType);
    } else if (otherType) {
        verdict.status = SshHostKey::Status::OtherType;
        describe(*otherType);
    }
    return verdict;
}

} // namespace Velmora
