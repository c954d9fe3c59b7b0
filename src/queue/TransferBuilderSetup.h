#pragma once

namespace Velmora {

class MasterFTP;
class QueueRunner;
class SearchFollowUp;
class TransferFilter;
class TransferHost;
class TransferModeQuestion;
class TreeWalker;
class WalkProgress;
struct AppContext;
struct WorkControl;

// Everything the upload and download builders work with. The runner brings the queue list, the
// queue host (busy and idle states, path boxes, listings) and the queue texts.
struct TransferBuilderSetup {
    AppContext &context;
    MasterFTP &ftp;
    WorkControl &work;
    QueueRunner &runner;
    TreeWalker &walker;
    WalkProgress &progress;
    TransferHost &host;
    TransferModeQuestion &question;
    TransferFilter &filter;
    SearchFollowUp &search;
};

} // namespace Velmora
