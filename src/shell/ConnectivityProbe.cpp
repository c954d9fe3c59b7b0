#include "ConnectivityProbe.h"

namespace Velmora {

ConnectivityProbe::State ConnectivityProbe::fromReachability(QNetworkInformation::Reachability reachability)
{
    switch (reachability) {
    case QNetworkInformation::Reachability::Online:
        return State::Online;
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
        return State::Offline;
    case QNetworkInformation::Reachability::Unknown:
        break;
    }
    return State::Unknown;
}

ConnectivityProbe::State SystemConnectivityProbe::state()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return State::Unknown;
    const QNetworkInformation *information = QNetworkInformation::instance();
    return information ? fromReachability(information->reachability()) : State::Unknown;
}

} // namespace Velmora
