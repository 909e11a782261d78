#include "base/program_path.h"
#include "platform/drives.h"
#include "platform/program_paths.h"
#include "platform/volumes.h"

namespace lodemark::platform {

std::vector<Volume> volumes() {
  std::vector<Volume> out;
  for (const char32_t letter : drive_letters()) {
    // "c: [C:\]": the letter first, then where the drive lies.
    const std::u32string root = drive_root(letter);
    out.push_back({std::u32string{static_cast<char32_t>(letter - U'A' + U'a'), U':'} + U" [" + root + U"]", root});
  }
  return out;
}

bool volume_ready(const Volume& volume) { return drive_ready(drive_letter_of(volume.root)); }

}  // namespace lodemark::platform
