#pragma once
// The export dialog under Qt: it draws an ExportDialog's lists and passes
// the user's choices back to it, then asks for the file in the save dialog.
// Controls carry object names ("ExportDatums" holding a radio button per
// datum, "ExportDatumHint", "ExportTable", "ExportFormat", "ExportButtons";
// the save dialog "ExportSaveDialog") by which the window test finds them.
#include <QDialog>
#include <QString>
#include <optional>

#include "gui/export_dialog.h"

class QButtonGroup;
class QComboBox;
class QPushButton;

namespace lodemark::qt {

class ExportDialogBox final : public QDialog {
 public:
  ExportDialogBox(ExportDialog& dialog, QWidget* parent);
  // Only with a datum chosen, however it is asked for (OK, Enter).
  void accept() override;

 private:
  void datum_chosen(int row);
  void table_chosen(int row);
  void show_formats();

  ExportDialog& dialog_;
  QButtonGroup* datums_ = nullptr;
  QComboBox* tables_ = nullptr;
  QComboBox* formats_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// The dialog over `parent`, then, on OK, the save dialog on the chosen
// format, opening on `folder` with the suggested file name. The file the
// user named, a native path; nothing when either was cancelled.
std::optional<QString> ask_export_file(ExportDialog& dialog, const QString& folder, QWidget* parent);

}  // namespace lodemark::qt
