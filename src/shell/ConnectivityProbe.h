#pragma once

#include <QNetworkInformation>

namespace Velmora {

// Tells whether the machine can reach the internet. The program asks the system through Qt's
// network information; tests give their own answer.
class ConnectivityProbe {
public:
    enum class State { Online, Offline, Unknown };

    virtual ~ConnectivityProbe() = default;
    virtual State state() = 0;

    // Only "online" reaches the internet; a local or site network alone does not. Without an
    // answer from the system nothing can be said.
    static State fromReachability(QNetworkInformation::Reachability reachability);
};

// The system's answer: the first question loads the platform's network information backend.
class SystemConnectivityProbe : public ConnectivityProbe {
public:
    State state() override;
};

} // namespace Velmora
