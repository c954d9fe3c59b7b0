#pragma once

#include <QString>

#include <optional>

namespace Velmora {

// The name input dialog as the file commands see it: rename and the two create commands set the
// title, the prompt and the initial text; the answer is the text as typed, or nothing when the
// user aborted. The dialog itself refuses a blank name and stays open.
class NameQuestion {
public:
    struct Request {
        QString title;
        QString prompt;
        QString initialText;
    };
    virtual ~NameQuestion() = default;
    virtual std::optional<QString> askName(const Request &request) = 0;
};

} // namespace Velmora
