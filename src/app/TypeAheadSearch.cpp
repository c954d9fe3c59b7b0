#include "TypeAheadSearch.h"

namespace Velmora {

TypeAheadSearch::TypeAheadSearch(QObject *parent)
    : QObject(parent)
{
    m_timer.setObjectName(QStringLiteral("ResetKeyPressesTimer"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TypeAheadSearch::reset);
}

QString TypeAheadSearch::addText(const QString &typed)
{
    if (typed.isEmpty())
        return m_buffer;
    m_buffer += typed;
    if (!m_timer.isActive())
        m_timer.start();
    return m_buffer;
}

void TypeAheadSearch::reset()
{
    m_buffer.clear();
    m_timer.stop();
}

int TypeAheadSearch::findRow(const QStringList &columnTexts, const QString &prefix)
{
    return findRow(int(columnTexts.size()), [&columnTexts](int row) { return columnTexts[row]; }, prefix);
}

int TypeAheadSearch::findRow(int rowCount, const std::function<QString(int row)> &textAt, const QString &prefix)
{
    if (rowCount <= 0)
        return -1;
    const QString wanted = prefix.toLower();
    for (int row = 0; row < rowCount; ++row) {
        if (textAt(row).toLower().startsWith(wanted))
            return row;
    }
    return 0;
}

} // namespace Velmora
