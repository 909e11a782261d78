#pragma once
// The program's window. It lays out the controls, turns their events into
// the handlers of Form1_Logic and offers the logic what it needs of a
// window; it decides nothing itself. Controls carry their names as object
// names ("List1", "Command1", ...).
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "gui/main_presenter.h"
#include "gui/main_view.h"
#include "base/messages.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lodemark::qt {

class FolderList;

class Form1 final : public QWidget, public MainWindow {
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up, before the window shows: nothing when the window may open,
  // else the exit status of the program (2: no pattern-data setting, 3: a
  // failure, already reported).
  std::optional<int> Load();
  // Picks a source folder (a program path) as the user would with Drive1
  // and Dir1; false when there is no such folder.
  bool pick_source_folder(std::u32string_view folder);
  // What ends the program after a reported failure; by default the event
  // loop ends with the status.
  void set_end_program(std::function<void(int)> end) { end_program_ = std::move(end); }

  // MainWindow
  std::u32string Drive_Designation(DriveList list) override;
  void Set_Drive_Designation(DriveList list, std::u32string_view designation) override;
  std::u32string Folder_Path(FolderView view) override;
  void Set_Folder_From_Drive(FolderView view, std::u32string_view designation) override;
  void Set_Text1(std::u32string_view text) override;
  void Set_Text2(std::u32string_view text) override;
  void List1_Clear() override;
  void List1_Add(std::u32string_view text) override;
  void Close_Window() override;

  // RunWindow
  int List1_Count() override;
  std::u32string List1_Text(int index) override;
  bool List1_Selected(int index) override;
  std::u32string Text1_Text() override;
  std::u32string Text2_Text() override;
  void Set_Label3(std::u32string_view text) override;
  void Refresh_Folder_View(FolderView view) override;
  void Set_Busy_Pointer(bool busy) override;
  void Yield_Once() override;

  // MessageBoxes
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;

 private:
  void build_controls();
  void connect_events();
  QComboBox* drive_list(DriveList list) const;
  FolderList* folder_list(FolderView view) const;
  // Runs an event's handler. A failure that escapes it is reported and ends
  // the program; inside another handler it goes on up to that one.
  void Handle(const std::function<void()>& body);
  bool run_guarded(const std::function<void()>& body);

  Form1_Logic logic_;
  std::function<void(int)> end_program_;
  bool in_handler_ = false;
  bool busy_ = false;

  QWidget* Picture1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Text2 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLabel* Label4 = nullptr;
  QListWidget* List1 = nullptr;
  FolderList* Dir1 = nullptr;
  QComboBox* Drive1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  FolderList* Dir2 = nullptr;
  QComboBox* Drive2 = nullptr;
  QGroupBox* Frame3 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
};

}  // namespace lodemark::qt
