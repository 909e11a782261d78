#pragma once
// The main window's logic: what each of the user's actions does, against a
// MainView, so that it runs the same under any toolkit and in the tests.
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "conversion/conversion_run.h"
#include "conversion/output_guard.h"
#include "export/export_tables.h"
#include "gui/check_report.h"
#include "gui/drive_state.h"
#include "gui/folder_list_model.h"
#include "gui/main_view.h"
#include "gui/remembered_datums.h"
#include "preview/borehole_preview.h"
#include "rodev/borehole.h"

namespace lodemark {

// The window program's exit statuses besides 0.
inline constexpr int kExitNoSetting = 2;  // the pattern-data setting is missing
inline constexpr int kExitFailure = 3;    // a failure, reported in a box

class MainPresenter {
 public:
  // `user_settings`: the file of the user's own settings
  // (platform::user_settings_file() in the programs, a test's own file in
  // the tests).
  MainPresenter(MainView& view, DriveState drives, ProgramPath user_settings);

  // Start-up, before the window shows, with the program's arguments (UTF-8):
  // load, then the source folder that the first argument names (a native
  // path, a relative one from the working directory). Nothing when the
  // window may open; else the program's exit status, its reason shown. An
  // argument that names no folder is said on `errors`; the window opens.
  std::optional<int> start(const std::vector<std::string>& arguments, std::ostream& errors);
  // Runs the body of a handler of the window's events. A failure that
  // escapes it is shown and ends the program (kExitFailure); inside another
  // handler it goes on up to that one.
  void handle(const std::function<void()>& body);
  // A handler is running (a run lets the window's events through).
  bool in_handler() const { return in_handler_; }

  // Start-up, before the window shows. False: the pattern-data setting is
  // missing (the message has been shown) and the program must end.
  bool load();
  // Picks a source folder (a program path) as the user would with the
  // source drive and folder lists; false when there is no such folder.
  bool pick_source_folder(std::u32string_view folder);

  // The user chose a drive in a drive list.
  void drive_changed(Side side);
  // The user opened a row of a folder list.
  void row_opened(Side side, std::size_t row);
  // Moves a folder list to a folder (a program path) on its drive, as
  // opening its row does.
  void open_folder(Side side, std::u32string_view folder);
  // The pointer moved over the window's bare background.
  void pointer_moved();
  void exit_clicked();
  // Runs the conversion of the selected boreholes. Throws Failure when the
  // run fails part-way (see run_conversion).
  RunOutcome execute_clicked();
  // Checks the selected boreholes of the listed source (all listed ones when
  // none is selected) against the pattern-data folder's dictionaries, for the
  // report window. Nothing is written. When the check cannot finish (a file
  // that cannot be read) the failure has been shown and there is no report.
  std::optional<CheckReport> check_clicked();
  // The preview of the listed borehole at `index`, drawn as `lodemark-cli
  // preview` draws it. Nothing is written. When it cannot be gathered the
  // failure has been shown and there is none.
  std::optional<preview::BoreholePreview> preview_of(std::size_t index);

  // Exports the selected boreholes of the listed source (all listed ones
  // when none is selected): the export dialog, starting on `table` and on
  // the datum remembered for the source folder, then the file written as
  // `lodemark-cli export` writes it. The datum chosen is remembered for the
  // folder. Boreholes left without a point, a refused file and a failure
  // are said in a box; an earlier file stays as it was unless the new one
  // is whole.
  void export_clicked(exports::TableKind table);

  // The completion message stands in the status line.
  bool completion_shown() const { return completion_shown_; }
  const std::optional<ProgramPath>& pattern_data_folder() const { return pattern_data_folder_; }
  // What the windows' saves may not replace: the listed source database and
  // the pattern-data folder.
  GuardedInputs guarded_inputs() const;
  const DriveState& drives() const { return drives_; }

 private:
  class RunObserver;

  // handle without the end: false when the body failed and that was shown.
  bool run_guarded(const std::function<void()>& body);
  // The folder list of a side moved to another folder.
  void folder_changed(Side side);
  void move_folder(Side side, std::u32string_view root, std::u32string_view folder);
  // Shows another drive in the drive list, as if the user had chosen it.
  void select_drive(Side side, std::u32string_view name);
  void refresh_folders();
  // A folder box's text as the run reads it.
  std::u32string typed_source();
  std::u32string typed_destination();
  // Writes the export the user chose into the file named (a program path,
  // its format's extension added when missing) and says how it went.
  void write_export(const ExportDialog& dialog, const std::u32string& named);

  MainView& view_;
  DriveState drives_;
  RememberedDatums remembered_datums_;
  FolderListModel folders_[2];
  std::optional<ProgramPath> pattern_data_folder_;
  // The borehole list as read from the source folder's catalogue.
  std::vector<CatalogueEntry> entries_;
  std::u32string source_folder_;  // the folder whose catalogue entries_ is
  std::u32string previous_drive_[2];
  bool completion_shown_ = false;
  bool in_handler_ = false;
  // Set while a failed drive change is being undone, so that a previous
  // drive that fails as well is not retried for ever.
  bool undoing_drive_ = false;
};

}  // namespace lodemark
