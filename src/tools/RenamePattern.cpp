#include "RenamePattern.h"

#include "common/TextReplace.h"

#include <QLocale>

namespace Velmora {

namespace {

QString replaced(const QString &text, const QString &placeholder, const QString &value)
{
    return ReplaceAll(text, placeholder, value, false);
}

} // namespace

QString CounterText(qint64 counter, int digits)
{
    const QString magnitude = QString::number(counter < 0 ? -counter : counter).rightJustified(digits, u'0');
    return counter < 0 ? u'-' + magnitude : magnitude;
}

QString StripDateSeparators(QString text)
{
    text.remove(u'.');
    text.remove(u':');
    text.remove(u'/');
    text.remove(u'-');
    return text;
}

QString RenameDateText(const QDateTime &now)
{
    return StripDateSeparators(QLocale::system().toString(now.date(), QLocale::ShortFormat));
}

QString RenameTimeText(const QDateTime &now)
{
    return StripDateSeparators(QLocale::system().toString(now.time(), QLocale::LongFormat));
}

QString ApplyPattern(const QString &oldName, qint64 counter, const QString &dateText, const QString &timeText,
                     const RenamePatternInputs &inputs)
{
    const qsizetype dot = oldName.lastIndexOf(u'.');
    const QString base = dot < 0 ? oldName : oldName.left(dot);
    const QString extension = dot < 0 ? QString() : oldName.mid(dot);
    const QString counterText = CounterText(counter, inputs.digits);

    QString name = replaced(inputs.namePattern, QStringLiteral("[N]"), base);
    name = replaced(name, QStringLiteral("[C]"), counterText);
    name = replaced(name, QStringLiteral("[DATE]"), dateText);
    name = replaced(name, QStringLiteral("[TIME]"), timeText);
    QString ext = replaced(inputs.extensionPattern, QStringLiteral("[E]"), extension);
    ext = replaced(ext, QStringLiteral("[C]"), counterText);

    QString result = name + ext;
    if (!inputs.search.isEmpty())
        result = replaced(result, inputs.search, inputs.replacement);
    return result;
}

QStringList PreviewNames(const QStringList &oldNames, const RenamePatternInputs &inputs, const QString &dateText,
                         const QString &timeText)
{
    QStringList names;
    names.reserve(oldNames.size());
    qint64 counter = inputs.start;
    for (const QString &oldName : oldNames) {
        names.append(ApplyPattern(oldName, counter, dateText, timeText, inputs));
        counter += inputs.step;
    }
    return names;
}

} // namespace Velmora
