#pragma once

#include "app/PasswordVault.h"

#include <QMap>
#include <QString>

namespace Velmora::Testing {

// A keyring in memory. It can be unreachable from the start, or refuse every write after a
// number of successful ones (a keyring that is locked while passwords move into it).
class MemoryVault final : public PasswordVault {
public:
    QMap<QString, QString> entries;
    bool answers = true;
    int writesBeforeRefusal = -1; // -1: never refuses

    Result read(const QString &key, QString *password) override
    {
        if (!answers)
            return unreachable();
        const auto it = entries.constFind(key);
        if (it == entries.cend())
            return Result::NotFound;
        *password = *it;
        return Result::Ok;
    }
    Result write(const QString &key, const QString &password) override
    {
        if (!answers || writesBeforeRefusal == 0)
            return unreachable();
        if (writesBeforeRefusal > 0)
            --writesBeforeRefusal;
        entries.insert(key, password);
        return Result::Ok;
    }
    Result remove(const QString &key) override
    {
        if (!answers)
            return unreachable();
        entries.remove(key);
        return Result::Ok;
    }
    bool reachable() override { return answers; }
    QString lastError() const override { return m_error; }

private:
    Result unreachable()
    {
        m_error = QStringLiteral("the keyring is locked");
        return Result::Unreachable;
    }
    QString m_error;
};

} // namespace Velmora::Testing
