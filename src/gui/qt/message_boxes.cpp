#include "gui/qt/message_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <string>
#include <utility>

#include "base/messages.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"

namespace lodemark::qt {
namespace {

QMessageBox::StandardButton run_box(QWidget* parent, QMessageBox::Icon icon, std::u32string_view text,
                                    std::u32string_view title, QMessageBox::StandardButtons buttons,
                                    std::u32string_view detail = {}) {
  QMessageBox box(icon, qs(title), qs(text), buttons, parent);
  box.setFont(ui_font());
  box.setTextFormat(Qt::PlainText);
  if (!detail.empty()) box.setDetailedText(qs(detail));
  const std::pair<QMessageBox::StandardButton, std::u32string_view> captions[] = {
      {QMessageBox::Yes, kYesButton}, {QMessageBox::No, kNoButton}, {QMessageBox::Ok, kOkButton}};
  for (const auto& [which, caption] : captions)
    if (QAbstractButton* b = box.button(which)) b->setText(qs(caption));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

BoxAnswer show_message_box(QWidget* parent, std::u32string_view text, BoxStyle style, std::u32string_view title,
                           std::u32string_view detail) {
  switch (style) {
    case BoxStyle::YesNoQuestion: {
      const auto pressed =
          run_box(parent, QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No, detail);
      return pressed == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    case BoxStyle::OkExclamation:
      run_box(parent, QMessageBox::Warning, text, title, QMessageBox::Ok, detail);
      return BoxAnswer::Ok;
    case BoxStyle::OkInformation:
      run_box(parent, QMessageBox::Information, text, title, QMessageBox::Ok, detail);
      return BoxAnswer::Ok;
    case BoxStyle::OkOnly:
      break;
  }
  run_box(parent, QMessageBox::NoIcon, text, title, QMessageBox::Ok, detail);
  return BoxAnswer::Ok;
}

void show_failure_box(QWidget* parent, std::u32string_view message) {
  const std::u32string text = std::u32string(kProgramEnds) + U"\n\n" + std::u32string(message);
  run_box(parent, QMessageBox::Critical, text, kAppTitle, QMessageBox::Ok);
}

}  // namespace lodemark::qt
