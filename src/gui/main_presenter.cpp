#include "gui/main_presenter.h"

#include <exception>
#include <vector>

#include "gui/drive_folder_lists.h"
#include "conversion/pattern_data_setting.h"
#include "platform/drives.h"
#include "rodev/catalogue.h"
#include "base/failure.h"
#include "base/program_state.h"
#include "base/messages.h"

namespace lodemark {

Form1_Logic::Form1_Logic(MainWindow& window) : window_(window) {}

bool Form1_Logic::Form_Load(MessageBoxes& boxes) {
  if (!check_pattern_data_setting(boxes)) return false;
  PrevDrive1 = window_.Drive_Designation(DriveList::Drive1);
  PrevDrive2 = window_.Drive_Designation(DriveList::Drive2);
  Drive1_Change();
  Drive2_Change();
  Dir1_Change();
  Dir2_Change();
  return true;
}

void Form1_Logic::Drive1_Change() { Drive_Change(DriveList::Drive1, FolderView::Dir1, PrevDrive1); }

void Form1_Logic::Drive2_Change() { Drive_Change(DriveList::Drive2, FolderView::Dir2, PrevDrive2); }

void Form1_Logic::Drive_Change(DriveList list, FolderView view, std::u32string& previous) {
  try {
    window_.Set_Folder_From_Drive(view, window_.Drive_Designation(list));
    const std::u32string designation = window_.Drive_Designation(list);
    if (!platform::set_current_drive(letter_of_designation(designation)))
      throw Failure(kCannotSwitchDrive + designation);
    previous = designation;
  } catch (const std::exception&) {
    // A drive that is not ready: go back to the last good one without a
    // word. Setting the list raises this handler again for that drive.
    if (undoing_drive_) return;
    undoing_drive_ = true;
    try {
      window_.Set_Drive_Designation(list, previous);
    } catch (const std::exception&) {
      // The previous drive is gone as well; the folder list stays put.
    }
    undoing_drive_ = false;
  }
}

void Form1_Logic::Dir1_Change() {
  const std::u32string folder = window_.Folder_Path(FolderView::Dir1);
  window_.Set_Text1(folder);
  platform::set_current_folder(folder);
  window_.List1_Clear();
  const std::vector<CatalogueEntry> entries = read_catalogue(folder);
  if (!entries.empty()) {
    for (const CatalogueEntry& entry : entries) window_.List1_Add(entry.display_text());
  } else {
    window_.List1_Clear();
  }
}

void Form1_Logic::Dir2_Change() {
  const std::u32string folder = window_.Folder_Path(FolderView::Dir2);
  window_.Set_Text2(folder);
  platform::set_current_folder(folder);
}

void Form1_Logic::Picture1_MouseMove(std::int16_t, std::int16_t, float, float) {
  if (MsgShownFlag == 1) {
    window_.Set_Label3(U"");
    MsgShownFlag = 0;
  }
}

void Form1_Logic::Command2_Click() { window_.Close_Window(); }

RunOutcome Form1_Logic::Command1_Click() { return ::lodemark::Command1_Click(window_); }

}  // namespace lodemark
