#include "gui/qt/preview_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
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
#include "preview/svg_painter.h"

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

bool write_svg(const preview::Picture& picture, const QString& native_path) {
  QSaveFile file(native_path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string svg = preview::paint_svg(picture);
  if (file.write(svg.data(), static_cast<qint64>(svg.size())) != static_cast<qint64>(svg.size())) return false;
  return file.commit();
}

}  // namespace

PreviewWindow::PreviewWindow(const std::u32string& number, preview::Picture picture, QWidget* parent)
    : QWidget(parent, Qt::Window), picture_(std::move(picture)) {
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
  const std::pair<const char*, std::pair<const char32_t*, PictureFormat>> saves[] = {
      {"PreviewSavePng", {kPreviewSavePng, PictureFormat::Png}},
      {"PreviewSaveSvg", {kPreviewSaveSvg, PictureFormat::Svg}},
      {"PreviewSavePdf", {kPreviewSavePdf, PictureFormat::Pdf}}};
  for (const auto& [name, what] : saves) {
    QPushButton* save = button(this, name, what.first);
    connect(save, &QPushButton::clicked, this, [this, format = what.second] { save_clicked(format); });
    buttons->addWidget(save);
  }
  QPushButton* close_button = button(this, "PreviewClose", kReportClose);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(close_button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addLayout(buttons);
  resize(std::min(static_cast<int>(picture_.width) + 40, 1000), std::min(static_cast<int>(picture_.height) + 80, 760));
}

void PreviewWindow::save_clicked(PictureFormat format) {
  const std::u32string_view caption = format == PictureFormat::Png   ? kPreviewSavePng
                                      : format == PictureFormat::Svg ? kPreviewSaveSvg
                                                                     : kPreviewSavePdf;
  const std::u32string_view filter = format == PictureFormat::Png   ? kPreviewPngFilter
                                     : format == PictureFormat::Svg ? kPreviewSvgFilter
                                                                    : kPreviewPdfFilter;
  const QString path = QFileDialog::getSaveFileName(this, qs(caption), QString(), qs(filter));
  if (!path.isEmpty()) save_to(path, format);
}

bool PreviewWindow::save_to(const QString& native_path, PictureFormat format) {
  const bool saved = format == PictureFormat::Png   ? render_png(picture_, native_path)
                     : format == PictureFormat::Svg ? write_svg(picture_, native_path)
                                                    : render_pdf(picture_, native_path);
  if (!saved) show_message_box(this, kPreviewSaveFailed + us(native_path), BoxStyle::OkExclamation, kAppTitle);
  return saved;
}

}  // namespace lodemark::qt
