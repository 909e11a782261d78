#pragma once
// A window without a toolkit: it keeps what the handlers set, raises the
// change events of its drive and folder lists the way the real lists do, and
// lets a test act as the user (pick a drive or folder, select entries).
#include <string>
#include <vector>

#include "gui/drive_folder_lists.h"
#include "gui/main_presenter.h"
#include "gui/main_view.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::test {

class FakeMainWindow : public MainWindow {
 public:
  // Both pickers start on the process's current drive and folder.
  FakeMainWindow() {
    const char32_t drive = platform::current_drive();
    drive_[0] = drive_[1] = drive_designation_of(drive);
    folder_[0] = folder_[1] = platform::current_folder(drive);
  }

  void Attach(Form1_Logic& logic) { logic_ = &logic; }

  // --- the user ---
  void user_picks_drive(DriveList list, const std::u32string& designation) {
    Set_Drive_Designation(list, designation);
  }
  // Double-click on a folder row.
  void user_opens_folder(FolderView view, const std::u32string& folder) { move_folder(view, folder); }
  void user_selects(int index) { list_.at(static_cast<std::size_t>(index)).selected = true; }
  void user_types_destination(const std::u32string& text) { text2 = text; }

  // --- what the handlers left ---
  std::u32string text1, text2, label3;
  int label3_sets = 0;
  bool closed = false;
  bool busy = false;
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

  // --- MainWindow ---
  std::u32string Drive_Designation(DriveList list) override { return drive_[index(list)]; }
  void Set_Drive_Designation(DriveList list, std::u32string_view designation) override {
    if (!Change(drive_[index(list)], designation, drive_changes[index(list)])) return;
    if (list == DriveList::Drive1)
      logic_->Drive1_Change();
    else
      logic_->Drive2_Change();
  }
  std::u32string Folder_Path(FolderView view) override { return folder_[index(view)]; }
  void Set_Folder_From_Drive(FolderView view, std::u32string_view designation) override {
    move_folder(view, folder_of_drive(designation));
  }
  void Set_Text1(std::u32string_view text) override { text1 = text; }
  void Set_Text2(std::u32string_view text) override { text2 = text; }
  void List1_Clear() override { list_.clear(); }
  void List1_Add(std::u32string_view text) override { list_.push_back({std::u32string(text), false}); }
  void Close_Window() override { closed = true; }

  // --- RunWindow ---
  int List1_Count() override { return static_cast<int>(list_.size()); }
  std::u32string List1_Text(int i) override { return list_.at(static_cast<std::size_t>(i)).text; }
  bool List1_Selected(int i) override { return list_.at(static_cast<std::size_t>(i)).selected; }
  std::u32string Text1_Text() override { return text1; }
  std::u32string Text2_Text() override { return text2; }
  void Set_Label3(std::u32string_view text) override {
    label3 = text;
    ++label3_sets;
  }
  void Refresh_Folder_View(FolderView) override {}
  void Set_Busy_Pointer(bool on) override { busy = on; }
  void Yield_Once() override {}
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return boxes.show_message(text, style, title);
  }

 private:
  static int index(DriveList list) { return list == DriveList::Drive1 ? 0 : 1; }
  static int index(FolderView view) { return view == FolderView::Dir1 ? 0 : 1; }

  // Like a real list, raises its change event only when the value changes.
  static bool Change(std::u32string& value, std::u32string_view to, int& changes) {
    if (value == to) return false;
    value = to;
    ++changes;
    return true;
  }

  void move_folder(FolderView view, const std::u32string& folder) {
    if (!Change(folder_[index(view)], folder, dir_changes[index(view)])) return;
    if (view == FolderView::Dir1)
      logic_->Dir1_Change();
    else
      logic_->Dir2_Change();
  }

  Form1_Logic* logic_ = nullptr;
  std::u32string drive_[2];
  std::u32string folder_[2];
  std::vector<Entry> list_;
};

}  // namespace lodemark::test
