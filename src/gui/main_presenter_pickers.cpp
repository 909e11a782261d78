// The presenter's drive lists, folder lists and folder boxes: start-up, the
// user's moves, and the folder boxes' texts as the run reads them.
#include <exception>

#include "base/messages.h"
#include "base/program_path.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/pattern_data_setting.h"
#include "gui/main_presenter.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/shown_paths.h"
#include "rodev/catalogue.h"

namespace lodemark {
namespace {

std::size_t index_of(Side side) { return side == Side::Source ? 0 : 1; }

}  // namespace

bool MainPresenter::load() {
  pattern_data_folder_ = load_pattern_data_folder(view_);
  if (!pattern_data_folder_) return false;
  // Both pickers start on the current drive and folder.
  const DriveState::Drive* drive = drives_.current_drive();
  const std::u32string name = drive ? drive->name : U"";
  for (const Side side : {Side::Source, Side::Destination}) {
    view_.show_drives(side, drives_.names());
    view_.show_drive(side, name);
    folders_[index_of(side)].start_at(drive ? drive->root : U"", drives_.current_folder());
    view_.show_folders(side, folders_[index_of(side)]);
    previous_drive_[index_of(side)] = name;
  }
  drive_changed(Side::Source);
  drive_changed(Side::Destination);
  folder_changed(Side::Source);
  folder_changed(Side::Destination);
  return true;
}

bool MainPresenter::pick_source_folder(std::u32string_view folder) {
  const DriveState::Drive* drive = drives_.drive_holding(folder);
  if (!drive || !platform::is_folder(std::u32string(folder))) return false;
  select_drive(Side::Source, drive->name);
  move_folder(Side::Source, drive->root, folder);
  return folders_[index_of(Side::Source)].folder() == folder;
}

void MainPresenter::drive_changed(Side side) {
  std::u32string& previous = previous_drive_[index_of(side)];
  try {
    const std::u32string name = view_.drive_name(side);
    const DriveState::Drive& drive = drives_.ready_drive(name);
    move_folder(side, drive.root, drives_.folder_of(drive));
    drives_.enter_drive(drive);
    previous = name;
  } catch (const std::exception&) {
    // A drive that is not ready: go back to the last good one without a
    // word, which runs this handler again for that drive.
    if (undoing_drive_) return;
    undoing_drive_ = true;
    try {
      select_drive(side, previous);
    } catch (const std::exception&) {
      // The previous drive is gone as well; the folder list stays put.
    }
    undoing_drive_ = false;
  }
}

void MainPresenter::select_drive(Side side, std::u32string_view name) {
  if (name.empty() || view_.drive_name(side) == name) return;
  view_.show_drive(side, name);
  drive_changed(side);
}

void MainPresenter::row_opened(Side side, std::size_t row) {
  if (const auto folder = folders_[index_of(side)].folder_of_row(row)) open_folder(side, *folder);
}

void MainPresenter::open_folder(Side side, std::u32string_view folder) {
  move_folder(side, folders_[index_of(side)].root(), folder);
}

void MainPresenter::move_folder(Side side, std::u32string_view root, std::u32string_view folder) {
  FolderListModel& list = folders_[index_of(side)];
  const FolderListModel::Move move = list.move_to(root, folder);
  if (move == FolderListModel::Move::Stayed) return;
  view_.show_folders(side, list);
  if (move == FolderListModel::Move::Moved) folder_changed(side);
}

void MainPresenter::folder_changed(Side side) {
  const FolderListModel& list = folders_[index_of(side)];
  view_.set_folder_text(side, platform::shown_path(list.folder()));
  drives_.enter_folder(list.root(), list.folder());
  if (side == Side::Destination) return;
  // A new source: its catalogue is the list, and nothing is selected.
  source_folder_ = list.folder();
  entries_.clear();
  try {
    entries_ = read_catalogue(source_folder_);
  } catch (const platform::FileError& failure) {
    // Said, not taken for an empty list; the window stays for another folder.
    view_.show_message(platform::shown_failure(failure), BoxStyle::OkExclamation, kAppTitle);
  }
  view_.show_boreholes(entries_);
}

void MainPresenter::refresh_folders() {
  for (const Side side : {Side::Source, Side::Destination}) {
    folders_[index_of(side)].refresh();
    view_.show_folders(side, folders_[index_of(side)]);
  }
}

std::u32string MainPresenter::typed_source() {
  // A native path, a relative one taken from the current folder; what is
  // none (a blank box) goes to the run as typed, whose checks say why.
  const std::u32string text = view_.folder_text(Side::Source);
  if (trim_spaces(text).empty()) return text;
  if (auto program = platform::program_path_of_argument(to_utf8(text), drives_.current_folder())) return *program;
  return text;
}

std::u32string MainPresenter::typed_destination() {
  // A program path ("C:\data", "c:work") and anything that is no absolute
  // native path go to the run's path check as typed, which tidies them or
  // says what is wrong.
  const std::u32string text = view_.folder_text(Side::Destination);
  if (drive_letter_of(trim_spaces(text)) != 0) return text;
  if (auto program = platform::program_path_of_argument(to_utf8(text), U"")) return *program;
  return text;
}

}  // namespace lodemark
