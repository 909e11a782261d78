#pragma once
// A window without a toolkit: it keeps what the presenter sets, raises the
// change events of its drive and folder lists the way the real lists do, and
// lets a test act as the user (pick a drive or folder, select entries).
#include <string>
#include <utility>
#include <vector>

#include "gui/drive_folder_lists.h"
#include "gui/main_presenter.h"
#include "gui/main_view.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::test {

class FakeMainView : public MainView {
 public:
  // Both pickers start on the process's current drive and folder.
  FakeMainView() {
    const char32_t drive = platform::current_drive();
    drive_[0] = drive_[1] = drive_designation_of(drive);
    folder_[0] = folder_[1] = platform::current_folder(drive);
  }

  void attach(MainPresenter& presenter) { presenter_ = &presenter; }

  // --- the user ---
  void user_picks_drive(Side side, const std::u32string& designation) { set_drive_designation(side, designation); }
  // Double-click on a folder row.
  void user_opens_folder(Side side, const std::u32string& folder) { move_folder(side, folder); }
  void user_selects(int index) { list_.at(static_cast<std::size_t>(index)).selected = true; }
  void user_clears_selection() {
    for (auto& entry : list_) entry.selected = false;
  }
  void user_types_destination(const std::u32string& text) { text2 = text; }

  // --- what the presenter left ---
  std::u32string text1, text2, label3;
  int label3_sets = 0;
  bool closed = false;
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
  int dir_changes[2] = {0, 0};
  int drive_changes[2] = {0, 0};

  // --- MainView ---
  std::u32string drive_designation(Side side) override { return drive_[index(side)]; }
  void set_drive_designation(Side side, std::u32string_view designation) override {
    if (change(drive_[index(side)], designation, drive_changes[index(side)])) presenter_->drive_changed(side);
  }
  std::u32string folder(Side side) override { return folder_[index(side)]; }
  void move_folder_to_drive(Side side, std::u32string_view designation) override {
    move_folder(side, folder_of_drive(designation));
  }
  void refresh_folder(Side) override {}
  std::u32string folder_text(Side side) override { return side == Side::Source ? text1 : text2; }
  void set_folder_text(Side side, std::u32string_view text) override { (side == Side::Source ? text1 : text2) = text; }
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
    label3 = text;
    ++label3_sets;
  }
  void set_busy(bool on) override { busy = on; }
  void show_progress(std::size_t done, std::size_t total) override { progress.push_back({done, total}); }
  void hide_progress() override { progress.push_back({0, 0}); }
  void yield_once() override {}
  void close_window() override { closed = true; }
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return boxes.show_message(text, style, title);
  }
  BoxAnswer show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                         std::u32string_view title) override {
    return boxes.show_message(text, detail, style, title);
  }

 private:
  static int index(Side side) { return side == Side::Source ? 0 : 1; }

  // Like a real list, raises its change event only when the value changes.
  static bool change(std::u32string& value, std::u32string_view to, int& changes) {
    if (value == to) return false;
    value = to;
    ++changes;
    return true;
  }

  void move_folder(Side side, const std::u32string& folder) {
    if (change(folder_[index(side)], folder, dir_changes[index(side)])) presenter_->folder_changed(side);
  }

  MainPresenter* presenter_ = nullptr;
  std::u32string drive_[2];
  std::u32string folder_[2];
  std::vector<Entry> list_;
};

}  // namespace lodemark::test
