// The window program for Windows. An optional argument names a source folder
// (a native path) to pick at start.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/win32/main_window.h"
#include "gui/win32/window_look.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  lodemark::platform::quiet_missing_media();
  lodemark::win32::become_dpi_aware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  lodemark::win32::MainWindow window;
  if (const auto status = window.load()) return *status;

  const std::vector<std::string> arguments = lodemark::platform::utf8_arguments(argc, argv);
  if (!arguments.empty()) {
    const auto program = lodemark::platform::program_path_of_argument(arguments[0]);
    if (!program || !window.pick_source_folder(*program))
      std::fprintf(stderr, "lodemark: not a folder: %s\n", arguments[0].c_str());
  }
  window.show();
  return window.run();
}
