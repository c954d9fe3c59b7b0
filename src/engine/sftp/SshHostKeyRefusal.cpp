#include "SshHostKeyRefusal.h"

#include "common/Language.h"

#include <QDir>

namespace Velmora {

namespace {

QString unknownText(const SshHostKey &key, const Language &language)
{
    return language.text(QStringLiteral("The host key of %1 is not known (%2 %3); no connection was made."),
                         QStringLiteral("Der Hostschlüssel von %1 ist nicht bekannt (%2 %3); es wurde keine "
                                        "Verbindung aufgebaut."))
        .arg(key.hostPattern(), key.keyType, key.fingerprint);
}

QString revokedText(const SshHostKey &key, const Language &language)
{
    return language
        .text(QStringLiteral("WARNING: THE HOST KEY OF %1 HAS BEEN REVOKED!\n"
                             "The server shows the key %2 %3, which known_hosts marks as revoked (@revoked): it must "
                             "never be accepted. Someone could be eavesdropping on you right now (man-in-the-middle "
                             "attack), or the server still uses a key its administrator has withdrawn.\n"
                             "No connection was made. Ask the server's administrator for its current host key."),
              QStringLiteral("WARNUNG: DER HOSTSCHLÜSSEL VON %1 WURDE GESPERRT!\n"
                             "Der Server zeigt den Schlüssel %2 %3, den known_hosts als gesperrt markiert (@revoked): er "
                             "darf nie angenommen werden. Jemand könnte Sie gerade belauschen (Man-in-the-Middle-Angriff), "
                             "oder der Server benutzt noch einen Schlüssel, den sein Administrator zurückgezogen hat.\n"
                             "Es wurde keine Verbindung aufgebaut. Fragen Sie den Administrator des Servers nach seinem "
                             "aktuellen Hostschlüssel."))
        .arg(key.hostPattern(), key.keyType, key.fingerprint);
}

} // namespace

QString SshHostKeyRefusal::text(const SshHostKey &key, const Language &language)
{
    switch (key.status) {
    case SshHostKey::Status::Known:
    case SshHostKey::Status::Unknown: return unknownText(key, language);
    case SshHostKey::Status::Revoked: return revokedText(key, language);
    case SshHostKey::Status::Changed:
    case SshHostKey::Status::OtherType: break;
    }
    const QString site = key.hostPattern();
    const QString knownType = key.knownKeyType.isEmpty() ? key.keyType : key.knownKeyType;
    const QString known = key.knownFingerprint.isEmpty()
                              ? language.text(QStringLiteral("(unreadable)"), QStringLiteral("(nicht lesbar)"))
                              : key.knownFingerprint;
    const QString warning =
        language.text(QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n"
                                     "Someone could be eavesdropping on you right now (man-in-the-middle attack), "
                                     "or the host key has just been changed.\n"),
                      QStringLiteral("WARNUNG: DER HOSTSCHLÜSSEL VON %1 HAT SICH GEÄNDERT!\n"
                                     "Jemand könnte Sie gerade belauschen (Man-in-the-Middle-Angriff), "
                                     "oder der Hostschlüssel wurde eben geändert.\n"))
            .arg(site);
    if (key.trustedThisRunOnly) {
        return warning
               + language
                     .text(QStringLiteral("Key trusted this time: %1 %2\n"
                                          "Offered key: %3 %4\n"
                                          "No connection was made. The key trusted this time was never written to "
                                          "known_hosts; if the change is expected, close Velmora, start it again and "
                                          "compare the new fingerprint with the administrator's."),
                           QStringLiteral("Diesmal vertrauter Schlüssel: %1 %2\n"
                                          "Gezeigter Schlüssel: %3 %4\n"
                                          "Es wurde keine Verbindung aufgebaut. Der diesmal vertraute Schlüssel steht "
                                          "nicht in known_hosts; wenn die Änderung erwartet ist, schließen Sie Velmora, "
                                          "starten Sie es neu und vergleichen Sie den neuen Fingerabdruck mit dem des "
                                          "Administrators."))
                     .arg(knownType, known, key.keyType, key.fingerprint);
    }
    return warning
           + language
                 .text(QStringLiteral("Known key: %1 %2\n"
                                      "Offered key: %3 %4\n"
                                      "No connection was made. If the change is expected, remove the old entry with\n"
                                      "  ssh-keygen -R \"%5\" -f \"%6\"\n"
                                      "and connect again."),
                       QStringLiteral("Bekannter Schlüssel: %1 %2\n"
                                      "Gezeigter Schlüssel: %3 %4\n"
                                      "Es wurde keine Verbindung aufgebaut. Wenn die Änderung erwartet ist, entfernen Sie "
                                      "den alten Eintrag mit\n"
                                      "  ssh-keygen -R \"%5\" -f \"%6\"\n"
                                      "und verbinden Sie erneut."))
                 .arg(knownType, known, key.keyType, key.fingerprint, site, QDir::toNativeSeparators(key.knownHostsFile));
}

} // namespace Velmora
