#pragma once
// What the window's drive lists and folder lists show, apart from any
// toolkit: the drive designations, the folder a drive list moves its folder
// list to, and the rows of a folder list.
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

// "z: [/]": the drive letter in lower case, then where the drive lies.
std::u32string drive_designation_of(char32_t letter);
// One designation per drive of the drive table, in letter order.
std::vector<std::u32string> drive_designations();
// Upper-case letter that a designation names first; 0 when it names none.
char32_t letter_of_designation(std::u32string_view designation);

// The folder that a folder list moves to when set from a drive designation:
// that drive's current folder, or its root when the current folder is gone.
// Throws Failure when the drive is missing or not ready.
std::u32string folder_of_drive(std::u32string_view designation);

// One row of a folder list: the drive root and every folder down to the
// current one (open), then the current folder's sub-folders (closed).
struct FolderRow {
  std::u32string name;  // as shown
  std::u32string path;  // program path that the row opens
  int depth = 0;        // indentation level, 0 for the root
  bool open = false;
};

// Rows for a folder list standing on `folder` (an absolute program path).
std::vector<FolderRow> folder_list_rows(std::u32string_view folder);
// Index of the row of the current folder itself (the last open row).
int current_folder_row(const std::vector<FolderRow>& rows);

}  // namespace lodemark
