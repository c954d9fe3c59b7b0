#pragma once

#include <libssh/libssh.h>

#include <memory>

namespace Velmora {

struct SshKeyDeleter {
    void operator()(ssh_key key) const { ssh_key_free(key); }
};

// A libssh key that frees itself.
using SshKey = std::unique_ptr<ssh_key_struct, SshKeyDeleter>;

} // namespace Velmora
