#pragma once
// The check's report under Win32: a top-level window of its own, beside the
// main window, with the problems in a sortable table, the counts line and
// 「CSV で保存…」. It only shows a CheckReport; the check itself is the
// presenter's.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string_view>

#include "conversion/output_guard.h"
#include "gui/check_report.h"
#include "gui/win32/side_window.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {

class ReportWindow final : public SideWindow {
 public:
  // Opens the window, shown, owned by `owner` (it stays above it and goes
  // with it).
  // `inputs`: what a save may not replace.
  ReportWindow(HWND owner, CheckReport report, GuardedInputs inputs);

  // Writes the CSV to the file (a native path), as 「CSV で保存…」 does after
  // its dialog; a failure is shown in a box over this window. False when it
  // could not.
  bool save_csv(std::u32string_view native_path);

 private:
  LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void create_controls();
  void apply_dpi(UINT dpi) override;
  void lay_out() override;
  HWND first_control() const override { return control(SideControl::ReportTable); }
  void sort_on(int column);
  void show_sort_mark();
  // The text of one cell, asked for by the table as it draws.
  void fill_cell(NMLVDISPINFOW& cell) const;
  void choose_file_and_save();

  ReportTable table_;
  const GuardedInputs inputs_;
};

}  // namespace lodemark::win32
