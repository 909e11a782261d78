#pragma once
// Reading the kernel's table of mounted file systems (/proc/self/mounts).
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::platform::posix {

// The folders of the table's real file systems, in the table's order, each
// once: "\040" and the other octal escapes are decoded, and pseudo file
// systems (proc, sysfs, tmpfs, cgroup, squashfs, overlay, ...) are left out.
std::vector<std::string> mounted_folders(std::string_view table);

}  // namespace lodemark::platform::posix
