#pragma once

#include <QByteArrayView>
#include <QList>

namespace Velmora {

// Web addresses in a line of text, drawn blue and underlined by the editor: a run that starts
// with "http://", "https://", "ftp://", "mailto:" or "www." (any case) where no letter or digit
// stands before it, and ends before a blank, a quote, "<", ">" or a control character; a
// stop or comma at its end belongs to the sentence, not to the address.
struct WebAddress {
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const WebAddress &) const = default;
};

QList<WebAddress> FindWebAddresses(QByteArrayView line);

} // namespace Velmora
