#include "gui/qt/preview_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/preview_painter.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "gui/save_file.h"

namespace lodemark::qt {

// The sheet at its physical size (points to the screen's pixels), on white,
// inside the scroll area.
class SheetView final : public QWidget {
 public:
  SheetView(const PreviewSheet& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    fit();
  }

  double scale() const { return screen_pixels_per_point(logicalDpiX()); }
  // The size for the sheet's picture now; it is drawn again.
  void fit() {
    const preview::Picture& picture = sheet_.picture();
    setFixedSize(static_cast<int>(std::ceil(picture.width * scale())),
                 static_cast<int>(std::ceil(picture.height * scale())));
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.scale(scale(), scale());
    paint_picture(sheet_.picture(), painter);
  }

 private:
  const PreviewSheet& sheet_;
};

namespace {

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

PreviewWindow::PreviewWindow(const std::u32string& number, preview::BoreholePreview borehole, GuardedInputs inputs,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), sheet_(std::move(borehole)), inputs_(std::move(inputs)) {
  setObjectName(QStringLiteral("PreviewWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(kPreviewWindowTitle + number));
  setFont(ui_font());

  scale_ = new QComboBox(this);
  scale_->setObjectName(QStringLiteral("PreviewScale"));
  for (const std::u32string& label : scale_labels()) scale_->addItem(qs(label));
  scale_->setCurrentIndex(static_cast<int>(default_scale_row()));
  auto* scale_label = new QLabel(qs(kPreviewScaleChoice), this);
  scale_label->setBuddy(scale_);
  for_report_ = new QCheckBox(qs(kPreviewForReport), this);
  for_report_->setObjectName(QStringLiteral("PreviewForReport"));
  connect(scale_, &QComboBox::currentIndexChanged, this, [this] { choice_changed(); });
  connect(for_report_, &QCheckBox::toggled, this, [this] { choice_changed(); });
  auto* choices = new QHBoxLayout;
  choices->addWidget(scale_label);
  choices->addWidget(scale_);
  choices->addSpacing(16);
  choices->addWidget(for_report_);
  choices->addStretch(1);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("PreviewPicture"));
  view_ = new SheetView(sheet_, scroll);
  scroll->setWidget(view_);
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
  layout->addLayout(choices);
  layout->addWidget(scroll, 1);
  layout->addLayout(buttons);

  // The page's whole width; as much of its depth as the screen has room for.
  const QMargins margins = layout->contentsMargins();
  const int around = 2 * scroll->frameWidth() + scroll->verticalScrollBar()->sizeHint().width();
  const int width = view_->width() + around + margins.left() + margins.right();
  const int height = view_->height() + around + choices->sizeHint().height() + buttons->sizeHint().height() +
                     2 * layout->spacing() + margins.top() + margins.bottom();
  const QRect screen_room = screen()->availableGeometry();
  resize(std::min(width, screen_room.width()), std::min(height, screen_room.height() * 9 / 10));
}

void PreviewWindow::choice_changed() {
  // Nothing is thrown through Qt's event loop: a sheet that cannot be laid
  // out is said, and the one shown stays.
  try {
    if (sheet_.choose(static_cast<std::size_t>(scale_->currentIndex()), for_report_->isChecked())) view_->fit();
  } catch (const std::exception& e) {
    const auto* failure = dynamic_cast<const Failure*>(&e);
    show_message_box(this,
                     std::u32string(kPreviewFailed) + U"\n" + (failure ? failure->message() : from_utf8(e.what())),
                     BoxStyle::OkExclamation, kAppTitle);
  }
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
      boxes, native_path.toStdString(), [&] { return sheet_.bytes(format); }, kPreviewSaveFailed, inputs_);
}

}  // namespace lodemark::qt
