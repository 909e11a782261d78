#pragma once
// A window without a toolkit: it keeps what the presenter shows and lets a
// test act as the user (pick a drive, open a folder row, select entries),
// passing each action to the presenter as a real window does.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/drive_state.h"
#include "gui/main_presenter.h"
#include "gui/main_view.h"
#include "platform/files.h"
#include "platform/shown_paths.h"
#include "support/test_support.h"

namespace lodemark::test {

// Drives for a presenter under test that starts on `start`: the root of its
// drive letter ("/" on Linux), then folders of the test standing in for
// further drives. A drive is ready while its root is a folder.
inline DriveState test_drives(std::u32string_view start, std::vector<platform::Volume> more = {}) {
  const std::u32string root(start.substr(0, 3));
  std::vector<platform::Volume> drives{{platform::shown_path(root), root}};
  for (auto& drive : more) drives.push_back(std::move(drive));
  return DriveState(std::move(drives), start,
                    [](const platform::Volume& drive) { return platform::is_folder(drive.root); });
}

class FakeMainView : public MainView {
 public:
  void attach(MainPresenter& presenter) { presenter_ = &presenter; }

  // --- the user ---
  void user_picks_drive(Side side, const std::u32string& name) {
    if (drive_[index(side)] == name) return;
    drive_[index(side)] = name;
    ++drive_changes[index(side)];
    presenter_->drive_changed(side);
  }
  // Double-click on the row that shows `name`.
  void user_opens_row(Side side, std::u32string_view name) {
    const auto& rows = folders[index(side)].rows();
    for (std::size_t row = 0; row < rows.size(); ++row)
      if (rows[row].name == name) return presenter_->row_opened(side, row);
    ADD_FAILURE() << "no folder row " << to_utf8(name);
  }
  void user_opens_folder(Side side, const std::u32string& folder) { presenter_->open_folder(side, folder); }
  void user_selects(int index) { list_.at(static_cast<std::size_t>(index)).selected = true; }
  void user_clears_selection() {
    for (auto& entry : list_) entry.selected = false;
  }
  void user_types_destination(const std::u32string& text) { destination_box = text; }
  // What the user does in the next export dialog: the datum row (nothing:
  // leaves it as shown), the table row, the format by its extension, then
  // the file named in the save dialog (nothing: cancels it). No answer at
  // all: the export dialog is cancelled.
  struct ExportAnswer {
    std::optional<std::size_t> datum_row;
    std::size_t table_row = 0;
    std::u32string extension = U".geojson";
    std::optional<std::string> file;
  };
  std::optional<ExportAnswer> export_answer;

  // --- what the presenter left ---
  std::u32string source_box, destination_box, status;
  int status_sets = 0;
  bool closed = false;
  std::vector<std::u32string> failures;  // shown by show_failure
  std::vector<int> ended_with;           // the statuses of end_program
  bool busy = false;
  // Each show_progress call as (done, total); a hide_progress as (0, 0).
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  FakeMessageBoxes boxes;
  struct Entry {
    std::u32string text;
    bool selected = false;
  };
  const std::vector<Entry>& list() const { return list_; }
  std::vector<std::u32string> list_texts() const {
    std::vector<std::u32string> out;
    for (const auto& e : list_) out.push_back(e.text);
    return out;
  }
  std::vector<std::u32string> drives[2];
  FolderListModel folders[2];  // as last shown
  int drive_changes[2] = {0, 0};
  int folder_shows[2] = {0, 0};
  // Each export dialog as it opened, and the save dialog's suggestion.
  struct ShownExport {
    std::optional<std::size_t> datum_row;
    std::size_t table_row;
    std::vector<std::u32string> formats;  // the labels
    std::u32string suggested;             // empty when the dialog was cancelled
  };
  std::vector<ShownExport> exports_shown;

  // --- MainView ---
  void show_drives(Side side, const std::vector<std::u32string>& names) override { drives[index(side)] = names; }
  std::u32string drive_name(Side side) override { return drive_[index(side)]; }
  void show_drive(Side side, std::u32string_view name) override {
    drive_[index(side)] = name;
    ++drive_changes[index(side)];
  }
  void show_folders(Side side, const FolderListModel& shown) override {
    folders[index(side)] = shown;
    ++folder_shows[index(side)];
  }
  std::u32string folder_text(Side side) override { return side == Side::Source ? source_box : destination_box; }
  void set_folder_text(Side side, std::u32string_view text) override {
    (side == Side::Source ? source_box : destination_box) = text;
  }
  void show_boreholes(const std::vector<CatalogueEntry>& entries) override {
    list_.clear();
    for (const auto& entry : entries) list_.push_back({entry.display_text(), false});
  }
  std::vector<std::size_t> selected_boreholes() override {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < list_.size(); ++i)
      if (list_[i].selected) selected.push_back(i);
    return selected;
  }
  void set_status(std::u32string_view text) override {
    status = text;
    ++status_sets;
  }
  void set_busy(bool on) override { busy = on; }
  void show_progress(std::size_t done, std::size_t total) override { progress.push_back({done, total}); }
  void hide_progress() override { progress.push_back({0, 0}); }
  void yield_once() override {}
  void close_window() override { closed = true; }
  std::optional<std::string> ask_export(ExportDialog& dialog) override {
    ShownExport& shown = exports_shown.emplace_back(ShownExport{dialog.datum_row(), dialog.table_row(), {}, {}});
    for (const ExportFormatRow& row : dialog.formats()) shown.formats.push_back(row.label);
    if (!export_answer) return std::nullopt;
    if (export_answer->datum_row) dialog.choose_datum(*export_answer->datum_row);
    dialog.choose_table(export_answer->table_row);
    bool found = false;
    for (std::size_t row = 0; row < dialog.formats().size(); ++row)
      if (dialog.formats()[row].extension == export_answer->extension) {
        dialog.choose_format(row);
        found = true;
      }
    if (!found) ADD_FAILURE() << "no format " << to_utf8(export_answer->extension);
    // OK stays disabled without a datum.
    if (!dialog.can_accept()) return std::nullopt;
    shown.suggested = dialog.suggested_file_name();
    return export_answer->file;
  }
  void show_failure(std::u32string_view message) override { failures.emplace_back(message); }
  void end_program(int code) override { ended_with.push_back(code); }
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return boxes.show_message(text, style, title);
  }
  BoxAnswer show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                         std::u32string_view title) override {
    return boxes.show_message(text, detail, style, title);
  }

 private:
  static int index(Side side) { return side == Side::Source ? 0 : 1; }

  MainPresenter* presenter_ = nullptr;
  std::u32string drive_[2];
  std::vector<Entry> list_;
};

}  // namespace lodemark::test
