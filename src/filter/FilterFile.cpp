#include "FilterFile.h"

#include "common/IniFile.h"
#include "common/TextCodec.h"

#include <QFile>
#include <QFileInfo>

namespace Velmora {

namespace {

const QString &section()
{
    return IniFile::Settings;
}

// The keys in the order they are written.
enum class Kind { Text, Index };
struct Key {
    const char16_t *name;
    Kind kind;
};
constexpr Key Keys[] = {
    {u"Term", Kind::Text},         {u"TermDir", Kind::Index},      {u"WithoutTerm", Kind::Text},
    {u"WithoutTermDir", Kind::Index}, {u"AndDate", Kind::Index},    {u"DateIE", Kind::Index},
    {u"Date", Kind::Text},         {u"AndExtension", Kind::Index}, {u"ExtensionIE", Kind::Index},
    {u"Extension", Kind::Text},    {u"AndFileSize", Kind::Index},  {u"FileSizeIE", Kind::Index},
    {u"FileSize", Kind::Text},
};

QString *textField(FilterCriteria &c, QStringView key)
{
    if (key == u"Term")
        return &c.term;
    if (key == u"WithoutTerm")
        return &c.withoutTerm;
    if (key == u"Date")
        return &c.date;
    if (key == u"Extension")
        return &c.extension;
    return &c.fileSize;
}

int *indexField(FilterCriteria &c, QStringView key)
{
    if (key == u"TermDir")
        return &c.termDir;
    if (key == u"WithoutTermDir")
        return &c.withoutTermDir;
    if (key == u"AndDate")
        return &c.andDate;
    if (key == u"DateIE")
        return &c.dateIE;
    if (key == u"AndExtension")
        return &c.andExtension;
    if (key == u"ExtensionIE")
        return &c.extensionIE;
    if (key == u"AndFileSize")
        return &c.andFileSize;
    return &c.fileSizeIE;
}

FilterMessage message(const QString &english, const QString &german)
{
    return {english, german};
}

void setError(FilterMessage *error, FilterMessage value)
{
    if (error)
        *error = std::move(value);
}

FilterMessage notAFilterFile(const QString &name, const QString &englishReason, const QString &germanReason)
{
    return message(QStringLiteral("\"") + name + QStringLiteral("\" is not a filter file (") + englishReason
                       + QStringLiteral("). The filter was not changed."),
                   QStringLiteral("\"") + name + QStringLiteral("\" ist keine Filterdatei (") + germanReason
                       + QStringLiteral("). Der Filter wurde nicht geändert."));
}

// An INI value holds one line; a line break typed or pasted into a criterion becomes a blank.
QString oneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

std::optional<FilterCriteria> FilterFile::parse(const QString &text, const QString &name, FilterMessage *error)
{
    if (text.contains(QChar(0))) {
        setError(error, notAFilterFile(name, QStringLiteral("it is not a text file"), QStringLiteral("sie ist keine Textdatei")));
        return std::nullopt;
    }
    IniFile ini;
    ini.parse(text);
    bool anyKey = false;
    for (const Key &key : Keys)
        anyKey = anyKey || ini.hasKey(section(), QString::fromUtf16(key.name));
    if (!anyKey) {
        setError(error, notAFilterFile(name, QStringLiteral("its section [SETTINGS] holds none of the filter's keys"),
                                       QStringLiteral("ihr Abschnitt [SETTINGS] enthält keinen der Schlüssel des Filters")));
        return std::nullopt;
    }

    FilterCriteria criteria = FilterCriteria::empty();
    for (const Key &key : Keys) {
        const QString keyName = QString::fromUtf16(key.name);
        if (!ini.hasKey(section(), keyName))
            continue; // the default stays
        const QString value = ini.readString(section(), keyName);
        if (key.kind == Kind::Text) {
            *textField(criteria, keyName) = value;
            continue;
        }
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        if (!ok) {
            setError(error, message(QStringLiteral("The filter file \"") + name + QStringLiteral("\" is damaged: \"")
                                        + keyName + QStringLiteral("\" must be a whole number, not \"") + value
                                        + QStringLiteral("\". The filter was not changed."),
                                    QStringLiteral("Die Filterdatei \"") + name + QStringLiteral("\" ist beschädigt: \"")
                                        + keyName + QStringLiteral("\" muss eine ganze Zahl sein, nicht \"") + value
                                        + QStringLiteral("\". Der Filter wurde nicht geändert.")));
            return std::nullopt;
        }
        *indexField(criteria, keyName) = index;
    }
    return criteria;
}

std::optional<FilterCriteria> FilterFile::read(const QString &path, FilterMessage *error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        setError(error, message(QStringLiteral("The filter file \"") + path + QStringLiteral("\" cannot be read."),
                                QStringLiteral("Die Filterdatei \"") + path
                                    + QStringLiteral("\" kann nicht gelesen werden.")));
        return std::nullopt;
    }
    if (file.size() > MaximumSize) {
        setError(error, notAFilterFile(name, QStringLiteral("it is far too large"), QStringLiteral("sie ist viel zu groß")));
        return std::nullopt;
    }
    return parse(TextCodec::Decode(file.readAll()), name, error);
}

bool FilterFile::write(const QString &path, const FilterCriteria &criteria, FilterMessage *error)
{
    IniFile ini(path);
    ini.load(); // an existing file keeps what it holds besides the criteria
    FilterCriteria values = criteria;
    for (const Key &key : Keys) {
        const QString keyName = QString::fromUtf16(key.name);
        if (key.kind == Kind::Text)
            ini.writeString(section(), keyName, oneLine(*textField(values, keyName)));
        else
            ini.writeInteger(section(), keyName, *indexField(values, keyName));
    }
    if (ini.save())
        return true;
    setError(error, message(QStringLiteral("The filter file \"") + path + QStringLiteral("\" cannot be written."),
                            QStringLiteral("Die Filterdatei \"") + path
                                + QStringLiteral("\" kann nicht geschrieben werden.")));
    return false;
}

} // namespace Velmora
