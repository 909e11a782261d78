#pragma once
// A folder list as Windows drew them: the drive root and the folders down
// to the current one, then its sub-folders, indented by depth. It draws the
// presenter's FolderListModel; a double-click (or Enter) on a row goes to
// on_open.
#include <QListWidget>
#include <cstddef>
#include <functional>

#include "gui/folder_list_model.h"

namespace lodemark::qt {

class FolderList final : public QListWidget {
 public:
  explicit FolderList(QWidget* parent);

  // Shows the rows, the current folder's row selected.
  void show_rows(const FolderListModel& folders);

  // The user opened a row.
  std::function<void(std::size_t row)> on_open;
};

}  // namespace lodemark::qt
