#pragma once
// The export dialog of the Windows window: the datum, what to write and the
// format, as three drop-down lists over an ExportDialog, which decides what
// they hold and when OK may be pressed.
#include <windows.h>

#include "gui/export_dialog.h"

namespace lodemark::win32 {

// The dialog's controls, by which the window tests find them; OK and Cancel
// are IDOK and IDCANCEL.
enum class ExportControl : int {
  DatumLabel = 400,
  Datum,
  DatumHint,
  TableLabel,
  Table,
  FormatLabel,
  Format,
};

// Shows the dialog over `owner` until the user presses OK (true) or
// cancels it (Cancel, Escape, the close box: false); each choice in the
// lists goes to `dialog` as the user makes it.
bool run_export_dialog(HWND owner, ExportDialog& dialog);

}  // namespace lodemark::win32
