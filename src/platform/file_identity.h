#pragma once
// What a path leads to, and whether two paths lead to the same file or
// folder. Names are not compared: a case alias, a symbolic link or a hard
// link of a file is the file itself.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/program_path.h"

namespace lodemark::platform {

enum class EntryKind {
  Missing,       // nothing of that name (no link either)
  RegularFile,   // a file, or a link that leads to one
  Folder,        // a folder, or a link that leads to one
  Other,         // a FIFO, a device, a socket: nothing to read to its end or replace
  DanglingLink,  // a symbolic link whose target does not exist
};

// Links are followed.
EntryKind entry_kind(const ProgramPath& path);

// The entry itself is a symbolic link (on Windows any reparse point), whether
// or not its target exists: writing through it would change another file.
bool is_link(const ProgramPath& path);

// The file that a whole file written to `path` replaces: where a symbolic
// link to a file leads (through every link), so that the link stays and
// leads to the new content, as replace_file does it; `path` itself for
// anything else (a file, a dangling link, nothing).
ProgramPath file_behind_links(const ProgramPath& path);

// The file system's own name for a file or folder: the device (volume) and
// the file's number on it.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Links are followed; nullopt when the path leads nowhere.
std::optional<FileIdentity> file_identity(const ProgramPath& path);

// Both paths lead to one existing file or folder.
bool same_entry(const ProgramPath& a, const ProgramPath& b);

// `path`, or a folder above it, is `folder` (links and case aliases
// included). The parts of `path` that do not exist are passed over.
bool lies_inside(const ProgramPath& path, const ProgramPath& folder);

// The folder that holds `path` (its nearest one that exists) and every folder
// above it up to the root, as the system resolves them: after every symbolic
// link (or junction) on the way. Empty when nothing of the path exists.
std::vector<FileIdentity> resolved_folders(const ProgramPath& path);

// The folder that holds `path` lies in `folder` once every link on the way is
// followed. Unlike lies_inside, a part of `path` that is a link to a folder
// elsewhere leads out, even though its name stands inside.
bool held_inside(const ProgramPath& path, const ProgramPath& folder);

}  // namespace lodemark::platform
