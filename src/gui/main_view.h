#pragma once
// What the main window's presenter needs of a window, whatever the toolkit:
// the Qt window, the Windows window and the tests' fake window implement it.
// The presenter decides; a window shows what it is given and passes the
// user's actions on.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "gui/export_dialog.h"
#include "gui/folder_list_model.h"
#include "rodev/borehole.h"

namespace lodemark {

// The window has two sides, each with a drive list, a folder list and a
// folder box: where the boreholes come from and where their files go.
enum class Side { Source, Destination };

class MainView : public MessageBoxes {
 public:
  // A drive list: the drives by name (DriveState::names) and the one it
  // shows. Showing raises nothing; a drive the user chooses goes to
  // MainPresenter::drive_changed.
  virtual void show_drives(Side side, const std::vector<std::u32string>& names) = 0;
  virtual std::u32string drive_name(Side side) = 0;
  virtual void show_drive(Side side, std::u32string_view name) = 0;
  // A folder list: the rows, with the current folder's row selected. A row
  // the user opens (double-click, Enter) goes to MainPresenter::row_opened.
  virtual void show_folders(Side side, const FolderListModel& folders) = 0;
  // The folder box, as the user may have typed into it.
  virtual std::u32string folder_text(Side side) = 0;
  virtual void set_folder_text(Side side, std::u32string_view text) = 0;

  // The borehole list: its entries replaced, and which of them are selected
  // (indices in list order).
  virtual void show_boreholes(const std::vector<CatalogueEntry>& entries) = 0;
  virtual std::vector<std::size_t> selected_boreholes() = 0;

  virtual void set_status(std::u32string_view text) = 0;
  virtual void set_busy(bool busy) = 0;
  // The run's progress under the status text: `done` boreholes of `total`
  // written. Hidden again when the run ends, however it ends.
  virtual void show_progress(std::size_t done, std::size_t total) = 0;
  virtual void hide_progress() = 0;
  // Lets pending window events run once (so the status text is painted).
  virtual void yield_once() = 0;
  // Closes the window; the program ends with it.
  virtual void close_window() = 0;

  // The export dialog over `dialog` (its lists, passing the user's choices
  // back, OK enabled by can_accept()), then, on OK, the save dialog with the
  // chosen format's filter and suggested file name. The file the user named
  // (a native path, UTF-8); nothing when either was cancelled.
  virtual std::optional<std::string> ask_export(ExportDialog& dialog) = 0;

  // The report of a failure that ends the program: what failed, where and
  // why.
  virtual void show_failure(std::u32string_view message) = 0;
  // Ends the program with that exit status (the window's event loop ends).
  virtual void end_program(int status) = 0;
};

}  // namespace lodemark
