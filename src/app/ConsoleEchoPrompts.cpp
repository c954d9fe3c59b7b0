#include "ConsoleEchoPrompts.h"

#include <cstdio>

namespace Velmora {

ConsoleEchoPrompts::ConsoleEchoPrompts(UserPrompts &inner, LineSink sink)
    : m_inner(inner)
    , m_sink(std::move(sink))
{
}

void ConsoleEchoPrompts::writeToStandardError(const QString &line)
{
    const QByteArray bytes = (line + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void ConsoleEchoPrompts::information(const QString &text)
{
    // Written before the box appears: the box waits for a user who may never come.
    m_sink(QStringLiteral("velmora: ") + text);
    m_inner.information(text);
}

void ConsoleEchoPrompts::error(const QString &text)
{
    m_sink(QStringLiteral("velmora: error: ") + text);
    m_inner.error(text);
}

bool ConsoleEchoPrompts::confirm(const QString &text)
{
    m_sink(QStringLiteral("velmora: question: ") + text);
    const bool yes = m_inner.confirm(text);
    m_sink(QStringLiteral("velmora: answer: ") + (yes ? QStringLiteral("Yes") : QStringLiteral("No")));
    return yes;
}

UserPrompts::Answer ConsoleEchoPrompts::askYesNoAbort(const QString &text)
{
    m_sink(QStringLiteral("velmora: question: ") + text);
    const Answer answer = m_inner.askYesNoAbort(text);
    m_sink(QStringLiteral("velmora: answer: ")
           + (answer == Answer::Yes ? QStringLiteral("Yes") : answer == Answer::No ? QStringLiteral("No") : QStringLiteral("Abort")));
    return answer;
}

QString ConsoleEchoPrompts::openFile(const QString &title, const QString &startFolder, const QString &filter)
{
    return m_inner.openFile(title, startFolder, filter);
}

QStringList ConsoleEchoPrompts::openFiles(const QString &title, const QString &startFolder, const QString &filter)
{
    return m_inner.openFiles(title, startFolder, filter);
}

QString ConsoleEchoPrompts::saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                                     const QString &defaultSuffix, const QString &filter)
{
    return m_inner.saveFile(title, startFolder, fileName, defaultSuffix, filter);
}

QString ConsoleEchoPrompts::chooseFolder(const QString &title, const QString &startFolder, bool allowCreate)
{
    return m_inner.chooseFolder(title, startFolder, allowCreate);
}

} // namespace Velmora
