#pragma once

namespace Velmora {

class MasterFTP;
class QueueHost;
class QueueRunner;
class SearchFollowUp;
class TransferFilter;
class TransferHost;
class TransferModeQuestion;
class TreeWalker;
class WalkProgress;
struct AppContext;
struct WorkControl;

// Everything the collectors and workflows work with: the window's busy and idle states, path
// boxes and listings (window), its grids (host), the runner that carries work out, the walks.
struct TransferBuilderSetup {
    AppContext &context;
    MasterFTP &ftp;
    WorkControl &work;
    QueueHost &window;
    QueueRunner &runner;
    TreeWalker &walker;
    WalkProgress &progress;
    TransferHost &host;
    TransferModeQuestion &question;
    TransferFilter &filter;
    SearchFollowUp &search;
};

} // namespace Velmora
