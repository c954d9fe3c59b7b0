#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace Velmora {

// The search-as-you-type buffer shared by every grid that offers it (both file grids and the
// site manager): one buffer, one reset timer. Characters typed within one second of the first
// one of a burst form one search text; the timer is not restarted by later keys.
class TypeAheadSearch : public QObject {
    Q_OBJECT
public:
    explicit TypeAheadSearch(QObject *parent = nullptr);

    // Appends typed text (empty text is ignored) and returns the buffer.
    QString addText(const QString &typed);
    const QString &buffer() const { return m_buffer; }
    void reset();
    QTimer &resetTimer() { return m_timer; }

    // The first row whose text begins with the prefix (both lower-cased); 0 when none matches
    // and there are rows, -1 for no rows.
    static int findRow(const QStringList &columnTexts, const QString &prefix);
    // The same over rows read one at a time (a grid of 100,000 rows need not copy its texts).
    static int findRow(int rowCount, const std::function<QString(int row)> &textAt, const QString &prefix);

private:
    QString m_buffer;
    QTimer m_timer;
};

} // namespace Velmora
