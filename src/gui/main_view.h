#pragma once
// What the main window's logic needs of the window toolkit, beyond the run.
#include <string>
#include <string_view>

#include "conversion/run_window.h"

namespace lodemark {

enum class DriveList { Drive1, Drive2 };

class MainWindow : public RunWindow {
 public:
  // Drive lists: the designation names the drive by its letter first
  // ("z: [/]"). Setting it raises the list's change event again.
  virtual std::u32string Drive_Designation(DriveList list) = 0;
  virtual void Set_Drive_Designation(DriveList list, std::u32string_view designation) = 0;
  // Folder lists: their folder as a program path. Setting it from a drive
  // designation moves it to that drive's current folder and raises its
  // change event when the folder changes. Fails (throws Failure) for a drive
  // that is not ready.
  virtual std::u32string Folder_Path(FolderView view) = 0;
  virtual void Set_Folder_From_Drive(FolderView view, std::u32string_view designation) = 0;
  // Text boxes and the list, as the handlers set them.
  virtual void Set_Text1(std::u32string_view text) = 0;
  virtual void Set_Text2(std::u32string_view text) = 0;
  virtual void List1_Clear() = 0;
  virtual void List1_Add(std::u32string_view text) = 0;
  // Closes the window; the program ends with it.
  virtual void Close_Window() = 0;
};

}  // namespace lodemark
