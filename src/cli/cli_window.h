#pragma once
// The conversion run's window, played by the terminal.
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "conversion/run_window.h"
#include "rodev/catalogue.h"
#include "base/messages.h"

namespace lodemark::cli {

class CliWindow : public RunWindow {
 public:
  // The list is the source folder's catalogue of `count` entries, read again
  // whenever its texts are needed rather than held: `selected` has a flag per
  // entry, or is empty when every entry is selected.
  CliWindow(Console& console, int count, std::optional<std::vector<bool>> selected, std::u32string source,
             std::u32string destination, bool assume_yes);

  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;
  int List1_Count() override;
  // Fast when asked in ascending order (the run's order); an earlier index
  // reads the catalogue again from the top.
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
  void check_index(int index) const;

  Console& console_;
  int count_;
  std::optional<std::vector<bool>> selected_;
  std::u32string source_;
  std::u32string destination_;
  bool assume_yes_;
  // The cursor: the catalogue read up to entry `cursor_index_`, which is
  // `cursor_entry_` (-1: nothing read yet).
  std::optional<CatalogueReader> catalogue_;
  int cursor_index_ = -1;
  CatalogueEntry cursor_entry_;
};

}  // namespace lodemark::cli
