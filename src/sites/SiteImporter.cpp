#include "SiteImporter.h"

#include "ConnectionStore.h"
#include "CuteFtp8Importer.h"
#include "FileZilla2Importer.h"
#include "FileZilla3Importer.h"
#include "FlashFxp3Importer.h"
#include "ImportText.h"
#include "SiteTransport.h"
#include "SmartFtp4Importer.h"
#include "WsFtp12Importer.h"

#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Velmora {

namespace {

const QString fileZillaSites = QStringLiteral("sitemanager.xml");
const QString fileZillaDefaults = QStringLiteral("fzdefaults.xml");

// The client's own file name, preselected in the open dialog. For FileZilla 3 the site file when
// the start folder holds it (its folder of settings), else the defaults file.
QString presetFileName(SiteImporter::Kind kind, const QString &startFolder)
{
    switch (kind) {
    case SiteImporter::FileZilla3:
        return QFileInfo(startFolder + fileZillaSites).isFile() ? fileZillaSites : fileZillaDefaults;
    case SiteImporter::FileZilla2: return QStringLiteral("FileZilla.xml");
    case SiteImporter::WsFtp12: return QStringLiteral("ws_ftp.ini");
    case SiteImporter::FlashFxp3: return QStringLiteral("Sites.dat");
    default: return {};
    }
}

QString fileFilter(SiteImporter::Kind kind)
{
    const QString all = QStringLiteral(";;All files (*)");
    if (kind == SiteImporter::CuteFtp8)
        return QStringLiteral("CutFTP Export File (*.txt)") + all;
    if (kind == SiteImporter::FileZilla3)
        return fileZillaSites + QStringLiteral(", ") + fileZillaDefaults + QStringLiteral(" (") + fileZillaSites + u' '
            + fileZillaDefaults + u')' + all;
    const QString name = presetFileName(kind, {});
    return name + QStringLiteral(" (") + name + u')' + all;
}

// The folders below base whose names match the segments, ignoring case as Windows does; "*"
// matches every folder.
QStringList matchingFolders(const QString &base, const QStringList &segments)
{
    QStringList current{base};
    for (const QString &segment : segments) {
        QStringList next;
        for (const QString &folder : std::as_const(current)) {
            const QDir dir(folder);
            for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
                if (segment == u'*' || entry.compare(segment, Qt::CaseInsensitive) == 0)
                    next.append(dir.filePath(entry));
            }
        }
        current = next;
    }
    return current;
}

QString withSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

SiteImporter::SiteImporter(UserPrompts &prompts, const Language &language, ProtocolLog *log, const AppFolders &folders)
    : m_prompts(prompts)
    , m_language(language)
    , m_log(log)
    , m_folders(folders)
{
}

QString SiteImporter::text(const QString &english, const QString &german) const
{
    return m_language.text(english, german);
}

QString SiteImporter::caption(Kind kind) const
{
    switch (kind) {
    case WsFtp12: return text(QStringLiteral("Import WS FTP 12 connections"), QStringLiteral("WS FTP 12 Daten importieren"));
    case CuteFtp8: return text(QStringLiteral("Import CuteFTP 8 connections"), QStringLiteral("CuteFTP 8 Daten importieren"));
    case FileZilla3: return text(QStringLiteral("Import FileZilla 3 connections"), QStringLiteral("FileZilla 3 Daten importieren"));
    case FileZilla2: return text(QStringLiteral("Import FileZilla 2 connections"), QStringLiteral("FileZilla 2 Daten importieren"));
    case FlashFxp3: return text(QStringLiteral("Import FlashFXP 3 connections"), QStringLiteral("FlashFXP 3 Daten importieren"));
    case SmartFtp4: return text(QStringLiteral("Import SmartFTP 4 connections"), QStringLiteral("SmartFTP 4 Daten importieren"));
    }
    return {};
}

QString SiteImporter::objectName(Kind kind)
{
    switch (kind) {
    case WsFtp12: return QStringLiteral("ImportWSFTP121");
    case CuteFtp8: return QStringLiteral("ImportCuteFTP8connections1");
    case FileZilla3: return QStringLiteral("ImportFileZilla3connections1");
    case FileZilla2: return QStringLiteral("ImportFileZilla2connections1");
    case FlashFxp3: return QStringLiteral("ImportFlashFXP3connections1");
    case SmartFtp4: return QStringLiteral("ImportSmartFTP4connections1");
    }
    return {};
}

QStringList SiteImporter::folderCandidates(Kind kind) const
{
    // A client that runs on Linux keeps its files in the user's configuration folder.
    QStringList candidates;
    if (kind == FileZilla3) {
        candidates.append(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/filezilla"));
        candidates.append(QDir::homePath() + QStringLiteral("/.config/filezilla"));
    }

    // On Windows: the program files folder, the user's roaming application data folder and the
    // all-users application data folder. Here: this system's counterparts, then a Wine prefix.
    QString roaming = m_folders.appDataFolder;
    const QString own = QStringLiteral("Holmvik/Velmora/");
    if (roaming.endsWith(own))
        roaming.chop(own.size());
    const QString wine = withSlash(qEnvironmentVariable("WINEPREFIX", QDir::homePath() + QStringLiteral("/.wine")))
        + QStringLiteral("drive_c");
    const QStringList programFiles{QStringLiteral("Program Files"), QStringLiteral("Program Files (x86)")};
    const QList<QStringList> wineRoaming{
        {QStringLiteral("users"), QStringLiteral("*"), QStringLiteral("AppData"), QStringLiteral("Roaming")},
        {QStringLiteral("users"), QStringLiteral("*"), QStringLiteral("Application Data")}};

    auto underProgramFiles = [&](const QString &client) {
        candidates += matchingFolders(m_folders.programFilesFolder, {client});
        for (const QString &folder : programFiles)
            candidates += matchingFolders(wine, {folder, client});
    };
    auto underRoaming = [&](const QStringList &relative) {
        candidates += matchingFolders(roaming, relative);
        for (const QStringList &base : wineRoaming)
            candidates += matchingFolders(wine, base + relative);
    };
    switch (kind) {
    case FileZilla3: underProgramFiles(QStringLiteral("Filezilla")); break;
    case FileZilla2: underProgramFiles(QStringLiteral("FileZilla")); break;
    case WsFtp12: underRoaming({QStringLiteral("Ipswitch"), QStringLiteral("WS_FTP"), QStringLiteral("Sites")}); break;
    case SmartFtp4: underRoaming({QStringLiteral("SmartFTP"), QStringLiteral("Client 2.0"), QStringLiteral("Favorites")}); break;
    case FlashFxp3:
        candidates += matchingFolders(wine, {QStringLiteral("ProgramData"), QStringLiteral("FlashFXP"), QStringLiteral("3")});
        break;
    case CuteFtp8: candidates.append(m_folders.startDrive); break;
    }
    return candidates;
}

QString SiteImporter::startFolder(Kind kind) const
{
    for (const QString &folder : folderCandidates(kind)) {
        if (QFileInfo(folder).isDir())
            return withSlash(folder);
    }
    return withSlash(QDir::homePath());
}

SiteImportResult SiteImporter::parse(Kind kind, const QStringList &lines)
{
    switch (kind) {
    case WsFtp12: return WsFtp12Importer::Parse(lines);
    case CuteFtp8: return CuteFtp8Importer::Parse(lines);
    case FileZilla3: return FileZilla3Importer::Parse(lines);
    case FileZilla2: return FileZilla2Importer::Parse(lines);
    case FlashFxp3: return FlashFxp3Importer::Parse(lines);
    case SmartFtp4: {
        SiteImportResult result;
        bool recognised = false;
        const FTPConnection site = SmartFtp4Importer::ParseFavourite(lines, &recognised);
        if (recognised)
            result.add(site); // a host written as "sftp://..." names its protocol
        return result;
    }
    }
    return {};
}

void SiteImporter::cannotRead(const QString &path, const QString &reason)
{
    const QString message = text(QStringLiteral("The file cannot be read: "), QStringLiteral("Die Datei kann nicht gelesen werden: "))
        + path + QStringLiteral(" (") + reason + u')';
    if (m_log)
        m_log->AddProtocolMessage(ProtocolEntry::Error, message);
    m_prompts.error(message);
}

bool SiteImporter::readLines(const QString &path, QStringList *lines)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        cannotRead(path, file.errorString());
        return false;
    }
    *lines = ImportLines(file.readAll());
    return true;
}

bool SiteImporter::run(Kind kind, ConnectionStore &store)
{
    if (kind == SmartFtp4)
        return importSmartFtp(store);
    if (kind == CuteFtp8) {
        m_prompts.information(text(
            QStringLiteral("Please export the CuteFTP accounts in text format first. Afterwards you can import this file."),
            QString::fromUtf8("Exportieren Sie zuerst die Daten im CuteFTP. Benutzen Sie das Text-Format! Importieren Sie anschließend diese Datei!")));
    }
    const QString start = startFolder(kind);
    const QString chosen = m_prompts.openFile(caption(kind), start + presetFileName(kind, start), fileFilter(kind));
    if (chosen.isEmpty())
        return false;
    QStringList lines;
    if (!readLines(chosen, &lines))
        return false;
    if (kind == FileZilla3 && !readFileZilla3SiteList(chosen, &lines))
        return false;
    finish(parse(kind, lines), store, kind);
    return true;
}

bool SiteImporter::readFileZilla3SiteList(const QString &chosen, QStringList *lines)
{
    // "sitemanager.xml", or any other file that is a site list (an export, a backup), is the
    // site list itself; "fzdefaults.xml" (or another file that is no site list) names the
    // folder of the site list in its "Config Location" setting.
    const QString name = QFileInfo(chosen).fileName();
    const bool defaultsFile = name.compare(fileZillaDefaults, Qt::CaseInsensitive) == 0;
    if (name.compare(fileZillaSites, Qt::CaseInsensitive) == 0 || (!defaultsFile && FileZilla3Importer::IsSiteList(*lines)))
        return true;
    QString siteFile;
    if (!FileZilla3Importer::SiteFilePath(*lines, withSlash(QFileInfo(chosen).absolutePath()), &siteFile)) {
        if (defaultsFile) {
            cannotRead(chosen, text(QStringLiteral("it has no \"Config Location\" setting that names the folder of sitemanager.xml"),
                                    QStringLiteral("sie enthält keine Einstellung \"Config Location\" mit dem Ordner von sitemanager.xml")));
        } else {
            cannotRead(chosen, text(QStringLiteral("it is no FileZilla site list and has no \"Config Location\" setting that names "
                                                   "the folder of sitemanager.xml"),
                                    QStringLiteral("sie ist keine FileZilla-Seitenliste und enthält keine Einstellung \"Config "
                                                   "Location\" mit dem Ordner von sitemanager.xml")));
        }
        return false;
    }
    return readLines(siteFile, lines);
}

bool SiteImporter::importSmartFtp(ConnectionStore &store)
{
    const QString folder = m_prompts.chooseFolder(
        text(QStringLiteral("Select the \"SmartFTP/Favorites\"  folder!"),
             QString::fromUtf8("Bitte wählen Sie den \"SmartFTP/Favorites\" Ordner aus!")),
        startFolder(SmartFtp4), true);
    if (folder.isEmpty())
        return false;
    SiteImportResult result;
    setBusy(true);
    for (const QString &file : SmartFtp4Importer::CollectFiles(folder)) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) {
            result.problems.append({QStringLiteral("The file cannot be read: ") + file,
                                    QStringLiteral("Die Datei kann nicht gelesen werden: ") + file});
            continue;
        }
        const SiteImportResult one = parse(SmartFtp4, ImportLines(in.readAll()));
        result.sites += one.sites;
    }
    setBusy(false);
    finish(result, store, SmartFtp4);
    return true;
}

void SiteImporter::finish(const SiteImportResult &result, ConnectionStore &store, Kind kind)
{
    for (const SiteImportResult::Problem &problem : result.problems) {
        if (m_log)
            m_log->AddProtocolMessage(ProtocolEntry::Error, text(problem.english, problem.german));
    }
    for (FTPConnection site : result.sites) {
        // The clients' files hold no password here; an empty one says so in the grid, where a
        // single blank would look like a password.
        if (Trim(site.Password).isEmpty())
            site.Password.clear();
        store.sites().append(site);
    }
    QStringList leftOutNames;
    for (const SiteImportResult::LeftOut &left : result.leftOut) {
        const QString name = Trim(left.site.Name);
        const QString host = Trim(left.site.Host);
        leftOutNames.append(name.isEmpty() ? host : name);
        if (m_log) {
            m_log->AddProtocolMessage(
                ProtocolEntry::Status,
                text(QStringLiteral("The site \"") + name + QStringLiteral("\" (host \"") + host
                         + QStringLiteral("\") was not imported: it uses ") + SiteTransport::EnglishName(left.transport)
                         + QStringLiteral(" (") + left.record + QStringLiteral(")."),
                     QStringLiteral("Die Seite \"") + name + QStringLiteral("\" (Host \"") + host
                         + QStringLiteral("\") wurde nicht importiert: sie verwendet ") + SiteTransport::GermanName(left.transport)
                         + QStringLiteral(" (") + left.record + QStringLiteral(").")));
        }
    }
    if (!store.SaveConnections()) {
        m_prompts.error(text(QStringLiteral("The sites could not be saved: "), QStringLiteral("Die Seiten konnten nicht gespeichert werden: "))
                        + store.errorText());
    }
    switch (kind) {
    case FileZilla3: break;
    case FileZilla2:
        m_prompts.information(text(QStringLiteral("The FileZilla2 format password was not imported!"),
                                   QString::fromUtf8("Passwörter können nicht importiert werden im FileZilla2 Format!")));
        break;
    case WsFtp12:
        m_prompts.information(text(QStringLiteral("Passwords are not imported at WS FTP 12 format!"),
                                   QString::fromUtf8("Passwörter können nicht importiert werden im WS FTP 12 Format!")));
        break;
    case CuteFtp8:
        m_prompts.information(text(QStringLiteral("Passwords are not imported at CuteFTP 8 format!"),
                                   QString::fromUtf8("Passwörter können nicht importiert werden im CuteFTP 8 Format!")));
        break;
    case FlashFxp3:
        m_prompts.information(text(QStringLiteral("Passwords are not imported at FlashFXP 3 format!"),
                                   QString::fromUtf8("Passwörter können nicht importiert werden im FlashFPX 3 Format!")));
        break;
    case SmartFtp4:
        m_prompts.information(text(QStringLiteral("Passwords are not imported at SmartFXP 4 format!"),
                                   QString::fromUtf8("Passwörter können nicht importiert werden im SmartFTP 4 Format!")));
        break;
    }
    if (!leftOutNames.isEmpty())
        m_prompts.information(leftOutMessage(leftOutNames));
}

QString SiteImporter::leftOutMessage(const QStringList &names) const
{
    const QString count = QString::number(names.size());
    const QString list = names.join(QStringLiteral(", "));
    if (names.size() == 1) {
        return text(QStringLiteral("1 site uses another protocol than FTP or SFTP and was not imported: ") + list,
                    QStringLiteral("1 Seite verwendet ein anderes Protokoll als FTP oder SFTP und wurde nicht importiert: ") + list);
    }
    return text(count + QStringLiteral(" sites use another protocol than FTP or SFTP and were not imported: ") + list,
                count + QStringLiteral(" Seiten verwenden ein anderes Protokoll als FTP oder SFTP und wurden nicht importiert: ") + list);
}

} // namespace Velmora
