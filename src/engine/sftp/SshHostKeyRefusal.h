#pragma once

#include "SshHostKey.h"

#include <QString>

namespace Velmora {

class Language;

// Why a connection was refused at the host key, as the user reads it: an unknown key nobody
// trusted, or the loud warning of a key that changed (also a key of another type than the one
// on record, and a key trusted "this time" that another replaced), or a revoked key.
class SshHostKeyRefusal {
public:
    static QString text(const SshHostKey &key, const Language &language);
};

} // namespace Velmora
