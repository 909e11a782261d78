#pragma once
// The program's window under Win32. It lays out the controls, passes their
// events to the MainPresenter and offers the presenter what it needs of a
// window; it decides nothing itself. Each control's id is its Control value,
// by which the window test finds it.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/main_presenter.h"
#include "gui/main_view.h"
#include "gui/win32/preview_window.h"
#include "gui/win32/report_window.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {

class FolderList;

// The controls, by which the window test finds them. Background is the grey
// background that holds all the others.
enum class Control : int {
  Background = 100,
  SourceFolderLabel,
  SourceFolderBox,
  DestinationFolderLabel,
  DestinationFolderBox,
  SourceFrame,
  ListHeading,
  BoreholeList,
  SourceFolders,
  SourceDrives,
  DestinationFrame,
  DestinationFolders,
  DestinationDrives,
  StatusFrame,
  StatusLine,
  Progress,
  Execute,
  Exit,
};

class MainWindow final : public MainView {
 public:
  // Creates the window, hidden, on the process's current drive and folder.
  // `user_settings`: the user's own settings file (MainPresenter).
  explicit MainWindow(ProgramPath user_settings);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // What ends the program: after a reported failure (3) and when the window
  // is closed (0). By default the message loop of run() ends with the status.
  void set_end_program(std::function<void(int)> end) { end_program_ = std::move(end); }
  // Start-up goes through it (MainPresenter::start).
  MainPresenter& presenter() { return presenter_; }

  void show();
  // Runs the window's messages until the program ends; answers its status.
  int run();
  // Null once the window is closed.
  HWND handle() const { return window_; }
  HWND control(Control which) const;
  // The report window opened last (its handle is null once it is closed);
  // null before the first.
  ReportWindow* newest_report() const { return reports_.empty() ? nullptr : reports_.back().get(); }
  // The preview window opened last, likewise.
  PreviewWindow* newest_preview() const { return previews_.empty() ? nullptr : previews_.back().get(); }

  // MainView, main_window_view.cpp: what the presenter shows in the
  // controls,
  void show_drives(Side side, const std::vector<std::u32string>& names) override;
  void show_drive(Side side, std::u32string_view name) override;
  void show_folders(Side side, const FolderListModel& folders) override;
  void set_folder_text(Side side, std::u32string_view text) override;
  void show_boreholes(const std::vector<CatalogueEntry>& entries) override;
  void set_status(std::u32string_view text) override;
  // and what it reads of them.
  std::u32string drive_name(Side side) override;
  std::u32string folder_text(Side side) override;
  std::vector<std::size_t> selected_boreholes() override;

  // MainView, main_window.cpp: the window during a run,
  void set_busy(bool busy) override;
  void show_progress(std::size_t done, std::size_t total) override;
  void hide_progress() override;
  void yield_once() override;
  // its boxes and its end.
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;
  BoxAnswer show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                         std::u32string_view title) override;
  // main_window_report.cpp: the export dialog, then the save dialog.
  std::optional<std::string> ask_export(ExportDialog& dialog) override;
  void show_failure(std::u32string_view message) override;
  void close_window() override;
  void end_program(int status) override;

 private:
  // main_window_controls.cpp: creation, layout, fonts and colours.
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void create_window();
  void create_controls();
  void apply_dpi(UINT dpi);
  void keep_on_screen(int left, int top);
  int folder_row_height() const;
  bool paint_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // main_window.cpp: events.
  LRESULT message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void command(int id, int code);
  void handle(const std::function<void()>& body) { presenter_.handle(body); }
  // An event from the window's messages: dropped while a handler runs (a
  // run lets messages through), so that handlers never overlap.
  void event(const std::function<void()>& body);
  // Runs the pending messages once; clicks and keys for the window are
  // dropped, not kept for later.
  void pump_dropping_input();

  // main_window_report.cpp: the borehole list's context menu, the check of
  // the listed boreholes and its reports. F7 pressed in the main window.
  bool is_check_key(const MSG& msg) const;
  // The borehole list's context menu (the check, the exports); `at` as
  // WM_CONTEXTMENU gives it.
  void show_check_menu(LPARAM at);
  void open_report();
  // A window of the program that takes the user's input: the main window,
  // its controls, the report and preview windows.
  bool is_ours(HWND window) const;
  // Tab, Enter and Escape in a report or preview window; true when it took
  // the message.
  bool owned_dialog_message(MSG& msg);

  // main_window_preview.cpp: the preview of the borehole list's row with
  // the focus (double-click or Enter).
  void open_preview();

  // main_window_view.cpp: the controls of a side.
  FolderList& folder_list(Side side) const;
  HWND drive_list(Side side) const;

  MainPresenter presenter_;
  std::function<void(int)> end_program_;
  bool busy_ = false;
  bool destroying_ = false;
  HWND focus_before_run_ = nullptr;
  std::uint64_t last_repaint_ = 0;  // tick count; 0 before the run's first
  int shown_drive_[2] = {-1, -1};
  // A failure thrown inside a message that a handler's pump dispatched: it
  // goes on up from the pump rather than through the system's frames.
  std::exception_ptr pending_;

  UINT dpi_ = 96;
  Font ui_font_;
  Font list_font_;
  Font heading_font_;
  Brush grey_;
  HWND window_ = nullptr;
  HWND background_ = nullptr;
  std::unique_ptr<FolderList> source_folders_;
  std::unique_ptr<FolderList> destination_folders_;
  std::vector<std::unique_ptr<ReportWindow>> reports_;
  std::vector<std::unique_ptr<PreviewWindow>> previews_;
};

}  // namespace lodemark::win32
