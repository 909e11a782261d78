#pragma once
// A fake window for run tests, and the sample pattern-data folder.
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/run_window.h"
#include "support/test_support.h"
#include "base/program_path.h"
#include "base/program_state.h"

namespace lodemark::test {

class FakeRunWindow : public RunWindow {
 public:
  std::vector<std::u32string> entries;
  std::vector<bool> selected;
  std::u32string text1, text2;
  FakeMessageBoxes boxes;
  std::vector<std::u32string> label3;
  int refreshes = 0, yields = 0;
  std::vector<bool> busy;
  std::vector<int> progress;

  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return boxes.show_message(text, style, title);
  }
  int List1_Count() override { return static_cast<int>(entries.size()); }
  std::u32string List1_Text(int i) override { return entries.at(static_cast<std::size_t>(i)); }
  bool List1_Selected(int i) override { return selected.at(static_cast<std::size_t>(i)); }
  std::u32string Text1_Text() override { return text1; }
  std::u32string Text2_Text() override { return text2; }
  void Set_Label3(std::u32string_view t) override { label3.emplace_back(t); }
  void Refresh_Folder_View(FolderView) override { ++refreshes; }
  void Set_Busy_Pointer(bool b) override { busy.push_back(b); }
  void Yield_Once() override { ++yields; }
  void Borehole_Done(int done, int) override { progress.push_back(done); }
};

// Copies the sample pattern-data folder into `dir` as "patdat"; answers the
// copy's program path with its trailing "\".
inline ProgramPath copy_sample_pattern_data(const TempDir& dir) {
  std::filesystem::copy(std::filesystem::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", dir.native("patdat"));
  return ProgramPath(dir.program(U"patdat")).as_folder();
}

// The same, pointing PatdatFolder at the copy for a whole run.
inline void use_sample_patdat(const TempDir& dir) { PatdatFolder = copy_sample_pattern_data(dir).text(); }

}  // namespace lodemark::test
