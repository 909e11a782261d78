// The preview of a borehole from the main window: a double-click or Enter on
// its row of the borehole list opens it in a window of its own.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "gui/win32/main_window.h"
#include "preview/borehole_preview.h"

namespace lodemark::win32 {

void MainWindow::open_preview() {
  // The row double-clicked or with the focus (Enter), whether or not it is
  // among the selected ones.
  const auto row = SendMessageW(control(Control::BoreholeList), LB_GETCARETINDEX, 0, 0);
  if (row < 0 || !window_) return;
  std::optional<preview::BoreholePreview> borehole = presenter_.preview_of(static_cast<std::size_t>(row));
  if (!borehole) return;
  std::erase_if(previews_, [](const std::unique_ptr<PreviewWindow>& open) { return open->handle() == nullptr; });
  try {
    std::u32string number = trim_spaces(borehole->title.number);
    previews_.push_back(
        std::make_unique<PreviewWindow>(window_, std::move(number), std::move(*borehole), presenter_.guarded_inputs()));
  } catch (const std::exception& e) {
    // A picture that cannot be drawn (GDI+ failing) is said, and the
    // program goes on.
    const auto* failure = dynamic_cast<const Failure*>(&e);
    show_message(kPreviewFailed, failure ? failure->message() : from_utf8(e.what()), BoxStyle::OkExclamation,
                 kAppTitle);
  }
}

}  // namespace lodemark::win32
