#pragma once
// The places a window's drive lists offer. On Windows they are the drives.
// On Linux they are "/" and the mounted file systems, which people know by
// their folders rather than by letters; the drive table (drives.h) stays the
// program's own way of naming a path.
#include <string>
#include <vector>

namespace lodemark::platform {

struct Volume {
  std::u32string name;  // as a drive list shows it: "c: [C:\]", "/media/usb"
  std::u32string root;  // program path of its top folder: "C:\", "Z:\media\usb"
};

// In a fixed order: the drives by letter; "/" first, then the mounted file
// systems by folder. Pseudo file systems (proc, tmpfs, ...) are left out.
std::vector<Volume> volumes();

// Its top folder can be entered now: a drive with its medium, a file system
// still mounted.
bool volume_ready(const Volume& volume);

}  // namespace lodemark::platform
