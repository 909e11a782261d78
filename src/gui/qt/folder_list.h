#pragma once
// A folder list as Windows drew them: the drive root and the folders down
// to the current one, then its sub-folders; a double-click (or Enter) opens
// a row. Programs move it with set_path; either way on_change runs when the
// folder changes.
#include <QListWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/drive_folder_lists.h"

namespace lodemark::qt {

class FolderList final : public QListWidget {
 public:
  explicit FolderList(QWidget* parent);

  const std::u32string& path() const { return path_; }
  // Moves to the folder (an absolute program path) without running
  // on_change; for setting up.
  void start_at(std::u32string_view folder);
  // Moves to the folder and runs on_change when it differs from the current
  // one.
  void set_path(std::u32string_view folder);
  // Reads the sub-folders again.
  void refresh();

  // The folder changed.
  std::function<void()> on_change;
  // The user opened a row; the owner decides (normally set_path).
  std::function<void(std::u32string)> on_open;

 private:
  std::u32string path_;
  std::vector<FolderRow> rows_;
};

}  // namespace lodemark::qt
