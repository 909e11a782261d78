#pragma once
// What the main window's presenter needs of a window, whatever the toolkit:
// the Qt window, the Windows window and the tests' fake window implement it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "rodev/borehole.h"

namespace lodemark {

// The window has two sides, each with a drive list, a folder list and a
// folder box: where the boreholes come from and where their files go.
enum class Side { Source, Destination };

class MainView : public MessageBoxes {
 public:
  // A drive list's designation names the drive by its letter first
  // ("z: [/]"). Setting it raises the list's change event again.
  virtual std::u32string drive_designation(Side side) = 0;
  virtual void set_drive_designation(Side side, std::u32string_view designation) = 0;
  // A folder list's folder as a program path. Moving it to a drive goes to
  // that drive's current folder and raises its change event when the folder
  // changes; throws Failure for a drive that is not ready.
  virtual std::u32string folder(Side side) = 0;
  virtual void move_folder_to_drive(Side side, std::u32string_view designation) = 0;
  // Shows the folders again (a run may have created some).
  virtual void refresh_folder(Side side) = 0;
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
};

}  // namespace lodemark
