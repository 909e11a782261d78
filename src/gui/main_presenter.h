#pragma once
// The handlers of the main window, against an abstract window so that they
// run the same under Qt and under the tests' fake window.
#include <cstdint>
#include <string>

#include "gui/main_view.h"
#include "conversion/conversion_run.h"
#include "base/messages.h"

namespace lodemark {

class Form1_Logic {
 public:
  explicit Form1_Logic(MainWindow& window);

  // Start-up, before the window shows. False: the pattern-data setting is
  // missing (the message has been shown) and the program must end.
  bool Form_Load(MessageBoxes& boxes);
  void Drive1_Change();
  void Drive2_Change();
  void Dir1_Change();
  void Dir2_Change();
  void Picture1_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void Command2_Click();
  // Throws Failure when the run fails part-way (see Command1_Click).
  RunOutcome Command1_Click();

 private:
  void Drive_Change(DriveList list, FolderView view, std::u32string& previous);

  MainWindow& window_;
  std::u32string PrevDrive1;
  std::u32string PrevDrive2;
  // Set while a failed drive change is being undone, so that a previous
  // drive that fails as well is not retried for ever.
  bool undoing_drive_ = false;
};

}  // namespace lodemark
