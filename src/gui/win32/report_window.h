#pragma once
// The check's report under Win32: a top-level window of its own, beside the
// main window, with the problems in a sortable table, the counts line and
// 「CSV で保存…」. It only shows a CheckReport; the check itself is the
// presenter's.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <optional>
#include <vector>

#include "base/program_path.h"
#include "gui/check_report.h"
#include "gui/win32/side_window.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {

// The controls of the report window, by which the window test finds them.
enum class ReportControl : int {
  Table = 200,
  Counts,
  SaveCsv,
  Close = IDCANCEL,  // Escape closes the window too
};

class ReportWindow final : public SideWindow {
 public:
  // Opens the window, shown, owned by `owner` (it stays above it and goes
  // with it).
  ReportWindow(HWND owner, CheckReport report);

  HWND control(ReportControl which) const;
  // Writes the CSV to `path`, as 「CSV で保存…」 does after its dialog; a
  // failure is shown in a box over this window.
  void save_csv(const ProgramPath& path);

 private:
  LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void create_controls();
  void apply_dpi(UINT dpi) override;
  void lay_out() override;
  HWND first_control() const override { return control(ReportControl::Table); }
  void sort_on(int column);
  void show_sort_mark();
  // The text of one cell, asked for by the table as it draws.
  void fill_cell(NMLVDISPINFOW& cell) const;
  void choose_file_and_save();

  CheckReport report_;
  // Problem index of each table row, top to bottom.
  std::vector<std::size_t> rows_;
  std::optional<ReportColumn> sorted_on_;
  bool ascending_ = true;
  Font ui_font_;
};

}  // namespace lodemark::win32
