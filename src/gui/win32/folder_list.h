#pragma once
// A folder list as Windows drew them: the drive root and the folders down
// to the current one (open folder marks), then its sub-folders (closed
// marks), indented by depth, in an owner-drawn list box. It draws the
// presenter's FolderListModel; a double-click or Enter on a row goes to
// on_open.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "gui/folder_list_model.h"

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
  // Shows the rows, the current folder's row selected.
  void show_rows(const FolderListModel& folders);
  // The user opened the row under the selection (double-click or Enter).
  void open_selected_row();
  void draw_item(const DRAWITEMSTRUCT& item);
  // Row height and folder marks for a new resolution.
  void set_dpi(UINT dpi, int row_height);

  // The user opened a row.
  std::function<void(std::size_t row)> on_open;

 private:
  void free_marks();

  HWND list_ = nullptr;
  UINT dpi_ = 96;
  HICON open_mark_ = nullptr;
  HICON closed_mark_ = nullptr;
  std::vector<FolderRow> rows_;  // as drawn
};

}  // namespace lodemark::win32
