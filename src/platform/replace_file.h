#pragma once
// Giving a file new content without losing what its owner set on it: its
// mode, group and owner (on Windows its attributes and ACL), the link that
// leads to it, its other names.
#include <functional>
#include <memory>
#include <string_view>

#include "base/program_path.h"

namespace lodemark::platform {

// What becomes of the other names of a file that has more than one (hard
// links) when its content is replaced.
enum class OtherNames {
  Split,  // the name given gets the new file; the other names keep the old one
  Share,  // the content is written over in place, so that every name sees it
};

struct Replacement {
  // The work file's name: this, a ".", the process number, a "." and a
  // random number; it lies in the folder of the file that is replaced.
  std::u32string_view work_name;
  OtherNames other_names = OtherNames::Split;
  // For tests of an interrupted replacement: called once the work file is
  // complete and on disk, before it takes the target's place; whatever it
  // throws is handled like a failed rename.
  std::function<void()> before_rename;
};

// Replaces the content of the existing file `target` by `content`. The work
// file is created exclusively (never through a link, never over another
// file), gets the target's mode, group and, where permitted, owner, is
// written and synced, and takes the target's place in one rename. A target
// that is a symbolic link is replaced at the file it leads to, and the link
// stays. A target that nobody may write (no write permission at all) or that
// this user may not write is a failure. Throws FileError naming the file and
// the reason; on every failure the work file is gone and the target is as
// it was (with OtherNames::Share and more than one name, a failed write
// in place can leave it cut short). On Windows a target that another program
// holds open (an editor, a virus scanner) is waited for up to two seconds;
// a read-only file is refused as one without write permission is.
void replace_file(const ProgramPath& target, std::string_view content, const Replacement& how);

// Several files given new content together, so that one sync of the lot
// comes before any rename: each add() writes a work file beside its target
// (as replace_file does, attributes and links included, hard links split; a
// target that does not exist yet is made), and commit() syncs them all,
// renames each over its target, then syncs each folder once. Every target is
// at any moment its old content or its new one, never a part. Failures throw
// FileError naming the target as the caller named it; the work files not yet
// renamed are removed, the targets already renamed keep their new content.
class ReplacementSet {
 public:
  ReplacementSet();
  ~ReplacementSet();  // removes the work files of a set never committed
  ReplacementSet(const ReplacementSet&) = delete;
  ReplacementSet& operator=(const ReplacementSet&) = delete;

  // `work_name` as in Replacement; `before_rename` (for tests) runs once all
  // work files are on disk, before the first rename.
  void add(const ProgramPath& target, std::string_view content, std::u32string_view work_name);
  void commit(const std::function<void()>& before_rename = {});

 private:
  struct Impl;  // each system's own
  std::unique_ptr<Impl> impl_;
};

}  // namespace lodemark::platform
