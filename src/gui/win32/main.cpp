// The window program for Windows. An optional argument names a source folder
// (a native path) to pick at start.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <iostream>

#include "gui/win32/main_window.h"
#include "gui/win32/window_look.h"
#include "platform/command_line.h"
#include "platform/system_folder.h"

int main(int argc, char** argv) {
  lodemark::platform::quiet_missing_media();
  lodemark::win32::become_dpi_aware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  lodemark::win32::MainWindow window(lodemark::platform::user_settings_file());
  // The arguments in UTF-16 from the system, whatever its code page.
  if (const auto status = window.presenter().start(lodemark::platform::utf8_arguments(argc, argv), std::cerr))
    return *status;
  window.show();
  return window.run();
}
