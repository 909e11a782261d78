#pragma once
// The preview of one borehole in a window of its own, not modal: the sheet
// at its physical size, a choice of scale and of the report sheet, and
// buttons that save it. Controls carry object names ("PreviewPicture",
// "PreviewScale", "PreviewForReport", "PreviewSavePng", "PreviewSaveSvg",
// "PreviewSavePdf", "PreviewClose") by which the window test finds them.
#include <QString>
#include <QWidget>

#include "conversion/output_guard.h"
#include "gui/preview_sheet.h"
#include "preview/borehole_preview.h"
#include "preview/picture.h"
#include "render/picture_file.h"

class QCheckBox;
class QComboBox;

namespace lodemark::qt {

class SheetView;

class PreviewWindow final : public QWidget {
 public:
  // `inputs`: what a save may not replace.
  PreviewWindow(const std::u32string& number, preview::BoreholePreview borehole, GuardedInputs inputs,
                QWidget* parent = nullptr);

  const preview::Picture& picture() const { return sheet_.picture(); }
  const PreviewSheet& sheet() const { return sheet_; }
  // What a save button does once the user has chosen a file (a native
  // path): writes the sheet there at the window's choices as the command
  // line does, or shows why it could not. False when it could not.
  bool save_to(const QString& native_path, render::PictureFormat format);

 private:
  void save_clicked(render::PictureFormat format);
  void choice_changed();

  PreviewSheet sheet_;
  const GuardedInputs inputs_;
  SheetView* view_ = nullptr;
  QComboBox* scale_ = nullptr;
  QCheckBox* for_report_ = nullptr;
};

}  // namespace lodemark::qt
