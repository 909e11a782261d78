#include "gui/drive_state.h"

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace lodemark {
bool path_holds(std::u32string_view root, std::u32string_view folder) {
  if (root.empty() || !folder.starts_with(root)) return false;
  return folder.size() == root.size() || root.ends_with(U'\\') || folder[root.size()] == U'\\';
}

DriveState::DriveState(std::vector<Drive> drives, std::u32string_view start, ReadyCheck ready)
    : drives_(std::move(drives)), ready_(std::move(ready)) {
  if (const Drive* drive = drive_holding(start)) {
    enter_folder(drive->root, start);
  } else if (!drives_.empty()) {
    current_ = drives_.front().root;
  }
}

DriveState DriveState::of_system() {
  return DriveState(platform::volumes(), platform::working_folder().value_or(U""), platform::volume_ready);
}

std::vector<std::u32string> DriveState::names() const {
  std::vector<std::u32string> out;
  for (const Drive& drive : drives_) out.push_back(drive.name);
  return out;
}

const DriveState::Drive& DriveState::ready_drive(std::u32string_view name) const {
  for (const Drive& drive : drives_) {
    if (drive.name != name) continue;
    if (!ready_(drive)) break;
    return drive;
  }
  throw Failure(kDriveNotReady + std::u32string(name));
}

const DriveState::Drive* DriveState::drive_holding(std::u32string_view folder) const {
  const Drive* found = nullptr;
  for (const Drive& drive : drives_)
    if (path_holds(drive.root, folder) && (!found || drive.root.size() > found->root.size())) found = &drive;
  return found;
}

const DriveState::Drive* DriveState::current_drive() const {
  for (const Drive& drive : drives_)
    if (drive.root == current_) return &drive;
  return nullptr;
}

std::u32string DriveState::folder_of(const Drive& drive) const {
  const auto it = folders_.find(drive.root);
  return it != folders_.end() && platform::is_folder(it->second) ? it->second : drive.root;
}

std::u32string DriveState::current_folder() const {
  const Drive* drive = current_drive();
  return drive ? folder_of(*drive) : std::u32string();
}

void DriveState::enter_drive(const Drive& drive) { current_ = drive.root; }

void DriveState::enter_folder(std::u32string_view root, std::u32string_view folder) {
  current_ = root;
  folders_[current_] = folder;
}

}  // namespace lodemark
