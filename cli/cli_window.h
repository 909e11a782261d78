#pragma once
// The conversion run's window, played by the terminal.
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "run/run_window.h"

namespace lodemark::cli {

class Cli_Window : public RunWindow {
 public:
  Cli_Window(Console& console, std::vector<std::u32string> entries, std::vector<bool> selected,
             std::u32string source, std::u32string destination, bool assume_yes);

  BoxAnswer Show_Message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;
  int List1_Count() override;
  std::u32string List1_Text(int index) override;
  bool List1_Selected(int index) override;
  std::u32string Text1_Text() override;
  std::u32string Text2_Text() override;
  void Set_Label3(std::u32string_view text) override;
  void Refresh_Folder_View(FolderView) override {}
  void Set_Busy_Pointer(bool) override {}
  void Yield_Once() override {}
  void Borehole_Done(int done, int total) override;

 private:
  BoxAnswer Ask(std::u32string_view question);

  Console& console_;
  std::vector<std::u32string> entries_;
  std::vector<bool> selected_;
  std::u32string source_;
  std::u32string destination_;
  bool assume_yes_;
};

}  // namespace lodemark::cli
