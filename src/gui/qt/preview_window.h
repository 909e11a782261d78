#pragma once
// The preview of one borehole in a window of its own, not modal, with
// buttons that save the picture. Controls carry object names
// ("PreviewPicture", "PreviewSavePng", "PreviewSaveSvg", "PreviewSavePdf",
// "PreviewClose") by which the window test finds them.
#include <QString>
#include <QWidget>

#include "conversion/output_guard.h"
#include "preview/picture.h"
#include "render/picture_file.h"

namespace lodemark::qt {

class PreviewWindow final : public QWidget {
 public:
  // `inputs`: what a save may not replace.
  PreviewWindow(const std::u32string& number, preview::Picture picture, GuardedInputs inputs,
                QWidget* parent = nullptr);

  const preview::Picture& picture() const { return picture_; }
  // What a save button does once the user has chosen a file (a native
  // path): writes the picture there as the command line does, or shows why
  // it could not. False when it could not.
  bool save_to(const QString& native_path, render::PictureFormat format);

 private:
  void save_clicked(render::PictureFormat format);

  const preview::Picture picture_;
  const GuardedInputs inputs_;
};

}  // namespace lodemark::qt
