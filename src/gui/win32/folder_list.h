#pragma once
// A folder list as Windows drew them: the drive root and the folders down
// to the current one (open folder marks), then its sub-folders (closed
// marks), indented by depth, in an owner-drawn list box. A double-click or
// Enter opens a row. Programs move it with set_path; either way on_change
// runs when the folder changes.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/drive_folder_lists.h"

namespace lodemark::win32 {

// Enter in the list box `list` opens its row as a double-click does: the
// parent gets LBN_DBLCLK (the dialog manager would otherwise take the key
// for the default button).
void open_on_enter(HWND list);

class FolderList {
 public:
  // Creates the list box, a child of `parent` with the control id `id`. The
  // parent answers WM_MEASUREITEM and passes WM_DRAWITEM and LBN_DBLCLK on.
  FolderList(HWND parent, int id);
  ~FolderList();
  FolderList(const FolderList&) = delete;
  FolderList& operator=(const FolderList&) = delete;

  HWND handle() const { return list_; }
  const std::u32string& path() const { return path_; }
  // Moves to the folder (an absolute program path) without running
  // on_change; for setting up.
  void start_at(std::u32string_view folder);
  // Moves to the folder and runs on_change when it differs from the current
  // one.
  void set_path(std::u32string_view folder);
  // Reads the sub-folders again.
  void refresh();
  // The user opened the row under the selection (double-click or Enter).
  void open_selected_row();
  void draw_item(const DRAWITEMSTRUCT& item);
  // Row height and folder marks for a new resolution.
  void set_dpi(UINT dpi, int row_height);

  // The folder changed.
  std::function<void()> on_change;
  // The user opened a row; the owner decides (normally set_path).
  std::function<void(std::u32string)> on_open;

 private:
  void free_marks();

  HWND list_ = nullptr;
  UINT dpi_ = 96;
  HICON open_mark_ = nullptr;
  HICON closed_mark_ = nullptr;
  std::u32string path_;
  std::vector<FolderRow> rows_;
};

}  // namespace lodemark::win32
