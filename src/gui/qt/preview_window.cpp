#include "gui/qt/preview_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>
#include <string>
#include <utility>

#include "base/messages.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/preview_painter.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "gui/save_file.h"

namespace lodemark::qt {
namespace {

// The picture at its own size, on white, inside the scroll area.
class PictureView final : public QWidget {
 public:
  PictureView(const preview::Picture& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setFixedSize(static_cast<int>(std::ceil(picture.width)), static_cast<int>(std::ceil(picture.height)));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paint_picture(picture_, painter);
  }

 private:
  const preview::Picture& picture_;
};

QPushButton* button(QWidget* parent, const char* name, std::u32string_view caption) {
  auto* b = new QPushButton(qs(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

struct SaveButton {
  const char* name;
  render::PictureFormat format;
  std::u32string_view caption;
  std::u32string_view filter;
};
constexpr SaveButton kSaveButtons[] = {
    {"PreviewSavePng", render::PictureFormat::Png, kPreviewSavePng, kPreviewPngFilter},
    {"PreviewSaveSvg", render::PictureFormat::Svg, kPreviewSaveSvg, kPreviewSvgFilter},
    {"PreviewSavePdf", render::PictureFormat::Pdf, kPreviewSavePdf, kPreviewPdfFilter},
};

}  // namespace

PreviewWindow::PreviewWindow(const std::u32string& number, preview::Picture picture, GuardedInputs inputs,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), picture_(std::move(picture)), inputs_(std::move(inputs)) {
  setObjectName(QStringLiteral("PreviewWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(kPreviewWindowTitle + number));
  setFont(ui_font());

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("PreviewPicture"));
  scroll->setWidget(new PictureView(picture_, scroll));
  scroll->setBackgroundRole(QPalette::Dark);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (const SaveButton& save : kSaveButtons) {
    QPushButton* b = button(this, save.name, save.caption);
    connect(b, &QPushButton::clicked, this, [this, format = save.format] { save_clicked(format); });
    buttons->addWidget(b);
  }
  QPushButton* close_button = button(this, "PreviewClose", kReportClose);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(close_button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addLayout(buttons);
  resize(std::min(static_cast<int>(picture_.width) + 40, 1000), std::min(static_cast<int>(picture_.height) + 80, 760));
}

void PreviewWindow::save_clicked(render::PictureFormat format) {
  for (const SaveButton& save : kSaveButtons) {
    if (save.format != format) continue;
    const QString path = QFileDialog::getSaveFileName(this, qs(save.caption), QString(), qs(save.filter));
    if (!path.isEmpty()) save_to(path, format);
  }
}

bool PreviewWindow::save_to(const QString& native_path, render::PictureFormat format) {
  BoxesOver boxes(this);
  return save_or_say_why(
      boxes, native_path.toStdString(), [&] { return render::picture_bytes(picture_, format); }, kPreviewSaveFailed,
      inputs_);
}

}  // namespace lodemark::qt
