#pragma once

#include "SelectionLine.h"
#include "TransferRequest.h"

#include <QStringList>

namespace Velmora {

class CollectionSteps;
class DownloadBuilder;
class UploadBuilder;

// "Search files", "Search in files" and "Search and replace" on either grid's selection: collect,
// let the filter window choose (always, whatever its switch says), then go to the chosen file or
// open the search window on working copies and carry out what it asks for afterwards.
class SearchWorkflow {
public:
    SearchWorkflow(CollectionSteps &steps, UploadBuilder &upload, DownloadBuilder &download);

    void run(GridSide side, SearchKind kind);

private:
    void searchLocal(SearchKind kind);
    void searchServer(SearchKind kind);
    // The local files the filter window chose: working copies, the search window, then what
    // it asks for.
    void afterLocalChoice(SearchKind kind, const QStringList &chosen, const QString &localBase);
    // The server files the filter window chose: downloaded into the working folder, the search
    // window, then what it asks for.
    void afterServerChoice(SearchKind kind, const QStringList &chosen);

    CollectionSteps &m_steps;
    UploadBuilder &m_upload;
    DownloadBuilder &m_download;
};

} // namespace Velmora
