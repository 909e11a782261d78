#pragma once
// What a folder list shows and where it stands, apart from any toolkit: the
// drive root and every folder down to the current one, then the current
// folder's sub-folders. The presenter keeps one per side; a window only
// draws its rows.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

// One row of a folder list: the drive root and every folder down to the
// current one (open), then the current folder's sub-folders (closed).
struct FolderRow {
  std::u32string name;  // as shown
  std::u32string path;  // program path that the row opens
  int depth = 0;        // indentation level, 0 for the root
  bool open = false;
};

// Rows for a folder list standing on `folder` (an absolute program path)
// below the drive root `root`; the root's row shows it as the system writes
// it ("C:\", "/", "/media/usb").
std::vector<FolderRow> folder_list_rows(std::u32string_view root, std::u32string_view folder);

class FolderListModel {
 public:
  enum class Move {
    Stayed,     // already there
    Moved,      // now there: the folder changed
    Refreshed,  // the folder has gone since the rows were read: the rows show what is there now
  };

  const std::u32string& root() const { return root_; }
  const std::u32string& folder() const { return folder_; }
  const std::vector<FolderRow>& rows() const { return rows_; }
  // The row of the current folder itself (the last open row); -1 without rows.
  int current_row() const;
  // The folder that a row opens; none for a row that is not there.
  std::optional<std::u32string> folder_of_row(std::size_t row) const;

  // Stands on `folder` below the drive root `root` and reads its rows.
  void start_at(std::u32string_view root, std::u32string_view folder);
  Move move_to(std::u32string_view root, std::u32string_view folder);
  // Reads the sub-folders again (a run may have created some).
  void refresh();

 private:
  std::u32string root_;
  std::u32string folder_;
  std::vector<FolderRow> rows_;
};

}  // namespace lodemark
