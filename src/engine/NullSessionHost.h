#pragma once

#include "SessionHost.h"

namespace Velmora {

// A session host without a window: it keeps the two path texts and ignores everything else.
// Used until the main window is attached, and as the base of test doubles.
class NullSessionHost : public SessionHost {
public:
    void setIdleState() override {}
    void clearQueueGrid() override {}
    void clearServerGrid() override {}
    QString localPathText() const override { return m_localPath; }
    QString serverPathText() const override { return m_serverPath; }
    void setLocalPathText(const QString &text) override { m_localPath = text; }
    void setServerPathText(const QString &text) override { m_serverPath = text; }
    void setBusyCursor(bool) override {}

private:
    QString m_localPath = QStringLiteral("\\");
    QString m_serverPath = QStringLiteral("/");
};

} // namespace Velmora
