#pragma once
// The window's drives and where each of them stands, apart from any toolkit:
// the names its drive lists show, the folder a drive list moves its folder
// list to, and the folder that a relative path typed into a folder box is
// read from. The window keeps it; nothing of it is the process's.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/volumes.h"

namespace lodemark {

// `root` is `folder` or one of the folders above it.
bool path_holds(std::u32string_view root, std::u32string_view folder);

class DriveState {
 public:
  using Drive = platform::Volume;
  using ReadyCheck = std::function<bool(const Drive&)>;

  // Both pickers start on `start` (a program path of a folder), on the drive
  // that holds it; without such a drive, on the first drive's root.
  DriveState(std::vector<Drive> drives, std::u32string_view start, ReadyCheck ready);
  // The system's drives, starting on the working directory.
  static DriveState of_system();

  std::vector<std::u32string> names() const;
  // The drive of that name, when it is there and ready; throws Failure
  // otherwise (a drive without its medium, a file system unmounted).
  const Drive& ready_drive(std::u32string_view name) const;
  // The drive whose root holds `folder`, the longest such root; none when
  // no drive holds it.
  const Drive* drive_holding(std::u32string_view folder) const;
  const Drive* current_drive() const;

  // Where a folder list goes when its drive list is set to `drive`: that
  // drive's current folder, or its root when that folder has gone.
  std::u32string folder_of(const Drive& drive) const;
  // The current drive's current folder (empty without drives).
  std::u32string current_folder() const;

  void enter_drive(const Drive& drive);
  // Makes `folder` the current folder of the drive with the root `root` and
  // that drive the current one.
  void enter_folder(std::u32string_view root, std::u32string_view folder);

 private:
  std::vector<Drive> drives_;
  ReadyCheck ready_;
  std::map<std::u32string, std::u32string, std::less<>> folders_;  // by root
  std::u32string current_;                                         // the current drive's root
};

}  // namespace lodemark
