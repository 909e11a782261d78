// The window program for Windows. An optional argument names a source folder
// (a native path) to pick at start.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "base/utf8.h"
#include "gui/win32/main_window.h"
#include "gui/win32/win_text.h"
#include "gui/win32/window_look.h"
#include "platform/command_line.h"

int main() {
  lodemark::win32::become_dpi_aware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  lodemark::win32::MainWindow window;
  if (const auto status = window.load()) return *status;

  // The arguments in UTF-16, whatever the system's code page.
  int count = 0;
  if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
    if (count > 1) {
      const std::string native = lodemark::to_utf8(lodemark::win32::from_wide(arguments[1]));
      const auto program = lodemark::platform::program_path_of_argument(native);
      if (!program || !window.pick_source_folder(*program))
        std::fprintf(stderr, "lodemark: not a folder: %s\n", native.c_str());
    }
    LocalFree(arguments);
  }
  window.show();
  return window.run();
}
