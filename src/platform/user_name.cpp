#include "platform/user_name.h"

#include "base/cp1252.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace harlune {

std::string Benutzername() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name)
        return utf8ToCp1252(found->pw_name);
    // Containers and some directory services run processes without a passwd entry.
    if (const char* user = std::getenv("USER"); user && *user)
        return utf8ToCp1252(user);
    return {};
}

} // namespace harlune
