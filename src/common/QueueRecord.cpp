#include "QueueRecord.h"

#include "ListingEntry.h"
#include "Word.h"

#include <array>

namespace Velmora {

namespace {

constexpr QChar Bar = RecordText::FieldSeparator;

struct CommandWord {
    QueueCommand command;
    QStringView word;
};

constexpr std::array<CommandWord, 9> CommandWords{{
    {QueueCommand::Retr, u"RETR"},
    {QueueCommand::Stor, u"STOR"},
    {QueueCommand::Dele, u"DELE"},
    {QueueCommand::Rmd, u"RMD"},
    {QueueCommand::Mkd, u"MKD"},
    {QueueCommand::MkLocalDir, u"MKLOCALDIR"},
    {QueueCommand::Chmod, u"CHMOD"},
    {QueueCommand::DelLoc, u"DELLOC"},
    {QueueCommand::Cwd, u"CWD"},
}};

// A field as written: a path may begin or end with blanks ("/site /a.txt "), and dropping them
// would name another file. A field of blanks alone is the placeholder of an empty one.
QString field(QStringView text, int n)
{
    const QStringView word = WordView(text, n, Bar);
    return word.trimmed().isEmpty() ? QString() : word.toString();
}

// The record without the line end it may still carry.
QStringView withoutLineEnd(QStringView text)
{
    while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n'))
        text.chop(1);
    return text;
}

} // namespace

QueueRecord::QueueRecord(QueueCommand command, QString source, QString target, QString entry)
    : command(command)
    , source(std::move(source))
    , target(std::move(target))
    , entry(std::move(entry))
{
    const ListingEntry::Fields fields = ListingEntry::fieldsOf(this->entry);
    if (command == QueueCommand::Retr)
        size = fields.size.trimmed().toString();
    date = fields.date.trimmed().toString();
}

QueueRecord QueueRecord::other(QString word, QString source, QString target)
{
    QueueRecord record(QueueCommand::Other, std::move(source), std::move(target));
    record.m_otherWord = std::move(word);
    return record;
}

QueueCommand QueueRecord::commandOf(QStringView word)
{
    for (const CommandWord &known : CommandWords) {
        if (known.word == word)
            return known.command;
    }
    return QueueCommand::Other;
}

QString QueueRecord::wordOf(QueueCommand command)
{
    for (const CommandWord &known : CommandWords) {
        if (known.command == command)
            return known.word.toString();
    }
    return {};
}

QString QueueRecord::word() const
{
    return command == QueueCommand::Other ? m_otherWord : wordOf(command);
}

QString QueueRecord::entrySize() const
{
    return ListingEntry::fieldsOf(entry).size.trimmed().toString();
}

QueueRecord::Parts QueueRecord::split(QStringView record)
{
    QStringView parts[2];
    SplitWords(record, EntrySeparator, parts, 2);
    return {withoutLineEnd(parts[0]), withoutLineEnd(parts[1])};
}

QueueRecord QueueRecord::parse(QStringView record)
{
    const Parts parts = split(withoutLineEnd(record));
    if (parts.command.trimmed().isEmpty())
        return {};
    const QStringView word = WordView(parts.command, 1, Bar).trimmed();
    const QueueCommand command = commandOf(word);
    QueueRecord r = command == QueueCommand::Other
        ? other(word.toString(), field(parts.command, 2), field(parts.command, 3))
        : QueueRecord(command, field(parts.command, 2), field(parts.command, 3));
    r.entry = parts.entry.toString();
    const ListingEntry::Fields fields = ListingEntry::fieldsOf(parts.entry);
    r.date = fields.date.trimmed().toString();
    if (command == QueueCommand::Retr)
        r.size = parts.entry.isEmpty() ? field(parts.command, 4) : fields.size.trimmed().toString();
    return r;
}

QString QueueRecord::format() const
{
    if (isBlank())
        return {};
    QString text = word() + Bar + source;
    if (!target.isEmpty())
        text += Bar + target;
    else if (command == QueueCommand::DelLoc)
        text += Bar + QChar(u' ');
    if (command == QueueCommand::Retr && entry.isEmpty() && !size.isEmpty())
        text += Bar + size;
    if (!entry.isEmpty())
        text += EntrySeparator + entry;
    return text;
}

QString QueueRecord::fileEntry(const QString &name, const QString &size, const QString &date)
{
    return QStringLiteral("1|") + name + Bar + size + Bar + date;
}

} // namespace Velmora
