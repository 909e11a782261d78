#pragma once
// What a conversion run needs of the window that starts it. The Qt window,
// the command line and the tests' fake window implement it.
#include <string>
#include <string_view>

#include "base/messages.h"

namespace lodemark {

enum class FolderView { Dir1, Dir2 };

class RunWindow : public MessageBoxes {
 public:
  // The borehole list List1.
  virtual int List1_Count() = 0;
  virtual std::u32string List1_Text(int index) = 0;
  virtual bool List1_Selected(int index) = 0;
  // Text1 (source folder) and Text2 (destination folder), as entered.
  virtual std::u32string Text1_Text() = 0;
  virtual std::u32string Text2_Text() = 0;
  // The status line.
  virtual void Set_Label3(std::u32string_view text) = 0;
  virtual void Refresh_Folder_View(FolderView view) = 0;
  virtual void Set_Busy_Pointer(bool busy) = 0;
  // Lets pending window events run once (so the status text is painted).
  virtual void Yield_Once() = 0;
  // Called after each borehole; the command line shows progress with it.
  virtual void Borehole_Done(int /*done*/, int /*total*/) {}
};

}  // namespace lodemark
