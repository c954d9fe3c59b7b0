#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Velmora {

// A Windows-style INI file kept in memory. Sections and keys keep the order in which they were
// first written; names compare without regard to case. Booleans are written "1" and "0"; any
// whole number other than 0 reads as true; a missing file or key, or a value that is not a
// number where one is expected, gives the default.
class IniFile {
public:
    static inline const QString Settings = QStringLiteral("SETTINGS");

    explicit IniFile(QString path = {});

    // Reads the file; returns false (and keeps an empty content) when it does not exist.
    bool load();
    // Writes atomically with CR LF line ends; returns false on failure.
    bool save() const;
    void parse(const QString &text);
    QString toText() const;

    const QString &path() const { return m_path; }

    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &fallback = {}) const;
    qint64 readInteger(const QString &section, const QString &key, qint64 fallback) const;
    bool readBool(const QString &section, const QString &key, bool fallback) const;
    QStringList keys(const QString &section) const;
    QStringList sections() const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, qint64 value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);
    void clear();

private:
    struct Section {
        QString name;
        QList<QPair<QString, QString>> entries;
    };
    const Section *findSection(const QString &name) const;
    Section &sectionFor(const QString &name);

    QString m_path;
    QList<Section> m_sections;
};

} // namespace Velmora
