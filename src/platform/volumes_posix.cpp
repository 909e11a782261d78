#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/mount_table_posix.h"
#include "platform/volumes.h"

namespace lodemark::platform {
namespace {

// Kernel and system file systems, containers' layers and packaged software:
// nothing a user keeps borehole data on, and all reachable from "/" anyway.
constexpr std::string_view kPseudoFileSystems[] = {
    "autofs",          "binfmt_misc", "bpf",      "cgroup",  "cgroup2",     "configfs",  "debugfs",
    "devpts",          "devtmpfs",    "efivarfs", "fusectl", "fuse.portal", "hugetlbfs", "mqueue",
    "fuse.gvfsd-fuse", "nsfs",        "overlay",  "proc",    "pstore",      "ramfs",     "rpc_pipefs",
    "securityfs",      "selinuxfs",   "squashfs", "sysfs",   "tmpfs",       "tracefs"};

constexpr char kMountTable[] = "/proc/self/mounts";

// A field of the table: space, tab, newline and "\" come as three octal digits.
std::string unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t k) { return k < field.size() && field[k] >= '0' && field[k] <= '7'; };
    if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string mount_table() {
  std::ifstream in(kMountTable, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool enterable_folder(const std::string& native) {
  struct stat st {};
  return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(native.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<std::string> posix::mounted_folders(std::string_view table) {
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start < table.size()) {
    std::size_t end = table.find('\n', start);
    if (end == std::string_view::npos) end = table.size();
    const std::string_view line = table.substr(start, end - start);
    start = end + 1;
    // device, folder, type, options, ...
    const std::size_t folder_at = line.find(' ');
    const std::size_t type_at = folder_at == std::string_view::npos ? folder_at : line.find(' ', folder_at + 1);
    if (type_at == std::string_view::npos) continue;
    const std::string_view type = line.substr(type_at + 1, line.find(' ', type_at + 1) - type_at - 1);
    if (std::find(std::begin(kPseudoFileSystems), std::end(kPseudoFileSystems), type) != std::end(kPseudoFileSystems))
      continue;
    std::string folder = unescaped(line.substr(folder_at + 1, type_at - folder_at - 1));
    if (!folder.starts_with('/') || std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
    folders.push_back(std::move(folder));
  }
  return folders;
}

std::vector<Volume> volumes() {
  std::vector<Volume> out;
  if (const auto root = to_program_path("/")) out.push_back({U"/", *root});
  std::vector<std::string> folders = posix::mounted_folders(mount_table());
  std::sort(folders.begin(), folders.end());
  for (const std::string& folder : folders) {
    if (folder == "/" || !enterable_folder(folder)) continue;
    if (const auto root = to_program_path(folder)) out.push_back({from_utf8(folder), *root});
  }
  return out;
}

bool volume_ready(const Volume& volume) {
  const auto native = to_native(volume.root);
  if (!native || !enterable_folder(*native)) return false;
  if (*native == "/") return true;
  const std::vector<std::string> mounted = posix::mounted_folders(mount_table());
  return std::find(mounted.begin(), mounted.end(), *native) != mounted.end();
}

}  // namespace lodemark::platform
