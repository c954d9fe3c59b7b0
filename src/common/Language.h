#pragma once

#include <QObject>
#include <QString>

namespace Velmora {

// The user-interface language of the whole program. Windows and messages pick their texts
// through it at the moment they are shown; windows listen to languageChanged to relabel.
class Language : public QObject {
    Q_OBJECT
public:
    enum Id { English, German };

    explicit Language(QObject *parent = nullptr);

    Id current() const { return m_current; }
    bool isGerman() const { return m_current == German; }
    void setCurrent(Id id);

    // The text of the current language.
    QString text(const QString &english, const QString &german) const
    {
        return m_current == German ? german : english;
    }

    // "GERMAN" or "ENGLISH"; every other name means English.
    static Id fromName(const QString &name);
    static QString nameOf(Id id);

Q_SIGNALS:
    void languageChanged(Velmora::Language::Id id);

private:
    Id m_current = English;
};

} // namespace Velmora
