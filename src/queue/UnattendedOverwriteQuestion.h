#pragma once

#include "OverwriteQuestion.h"

namespace Velmora {

struct AppContext;

// The overwrite question when nobody is there to answer it (a batch job): it takes the answer
// that loses nothing, "Skip" for this file only, and the run goes on with the next record. The
// answer is reported through the prompts, which in a batch job write it to the protocol and to
// standard error instead of showing a box.
class UnattendedOverwriteQuestion : public OverwriteQuestion {
public:
    explicit UnattendedOverwriteQuestion(AppContext &context);

    bool askOverwrite(const QString &targetPath, OverwritePolicy &policy) override;

private:
    AppContext &m_context;
};

} // namespace Velmora
