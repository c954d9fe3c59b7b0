#pragma once

namespace Velmora {

// The transfer-mode question before an upload or a download: normal or filtered transfer.
// Choosing the other mode switches the transfer filter at once.
class TransferModeQuestion {
public:
    virtual ~TransferModeQuestion() = default;

    // Asks modally; false when the user aborted the request.
    virtual bool askTransferMode() = 0;
};

} // namespace Velmora
