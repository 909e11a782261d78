#include "gui/folder_list_model.h"

#include "gui/drive_state.h"
#include "platform/files.h"
#include "platform/shown_paths.h"

namespace lodemark {
namespace {

std::u32string join(std::u32string_view parent, std::u32string_view name) {
  std::u32string out(parent);
  if (out.empty() || out.back() != U'\\') out += U'\\';
  out += name;
  return out;
}

}  // namespace

std::vector<FolderRow> folder_list_rows(std::u32string_view root, std::u32string_view folder) {
  if (folder.empty()) return {};
  // A folder outside the root is shown from its drive letter's root.
  if (!path_holds(root, folder)) root = folder.substr(0, 3);
  std::vector<FolderRow> rows{{platform::shown_path(root), std::u32string(root), 0, true}};
  std::u32string path(root);
  std::size_t i = root.size();
  while (i < folder.size()) {
    std::size_t j = folder.find(U'\\', i);
    if (j == std::u32string_view::npos) j = folder.size();
    if (j > i) {
      const std::u32string name(folder.substr(i, j - i));
      path = join(path, name);
      rows.push_back({name, path, static_cast<int>(rows.size()), true});
    }
    i = j + 1;
  }
  const int depth = static_cast<int>(rows.size());
  for (const auto& name : platform::list_folders(std::u32string(folder)))
    rows.push_back({name, join(folder, name), depth, false});
  return rows;
}

int FolderListModel::current_row() const {
  int current = -1;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].open) current = static_cast<int>(i);
  return current;
}

std::optional<std::u32string> FolderListModel::folder_of_row(std::size_t row) const {
  if (row >= rows_.size()) return std::nullopt;
  return rows_[row].path;
}

void FolderListModel::start_at(std::u32string_view root, std::u32string_view folder) {
  root_ = root;
  folder_ = folder;
  refresh();
}

FolderListModel::Move FolderListModel::move_to(std::u32string_view root, std::u32string_view folder) {
  if (folder == folder_ && root == root_) return Move::Stayed;
  if (!platform::is_folder(std::u32string(folder))) {
    refresh();
    return Move::Refreshed;
  }
  start_at(root, folder);
  return Move::Moved;
}

void FolderListModel::refresh() { rows_ = folder_list_rows(root_, folder_); }

}  // namespace lodemark
