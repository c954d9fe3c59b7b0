#pragma once

#include <QString>

namespace Velmora {

class OverwritePolicy;

// The overwrite question ("The target file allready exists."). The window updates the policy
// after every change of its controls and answers whether it was left with OK.
class OverwriteQuestion {
public:
    virtual ~OverwriteQuestion() = default;
    virtual bool askOverwrite(const QString &targetPath, OverwritePolicy &policy) = 0;
};

} // namespace Velmora
