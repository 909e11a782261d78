#pragma once
// The window tests' fixture: a main window started on the copies of the
// sample database and pattern-data folder, and the user's simplest actions.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "gui/win32/main_window.h"
#include "gui/win32/win_text.h"
#include "rodev/catalogue.h"
#include "sample_copies.h"
#include "window_driver.h"

namespace lodemark::win32::test {

class MainWindowTest : public ::testing::Test {
 protected:
  // A window after start-up, with the sample database picked as the source
  // and the output folder as the destination.
  void open_window() {
    // The pickers start on the working directory.
    std::filesystem::current_path(SampleCopies::native("out"));
    form_ = std::make_unique<lodemark::win32::MainWindow>(SampleCopies::user_settings());
    form_->set_end_program([this](int status) { ended_with_ = status; });
    std::ostringstream errors;
    ASSERT_EQ(form_->presenter().start({lodemark::test::native_text(SampleCopies::native("database"))}, errors),
              std::nullopt);
    ASSERT_EQ(errors.str(), "");
    form_->show();
    pump_for(50);
  }
  HWND at(Control which) const { return form_->control(which); }
  std::wstring text_of(Control which) const { return window_text(at(which)); }
  void select(const std::vector<int>& rows) {
    for (const int row : rows) SendMessageW(at(Control::BoreholeList), LB_SETSEL, TRUE, row);
  }
  void click(Control which) { SendMessageW(at(which), BM_CLICK, 0, 0); }
  std::wstring folder_of_row(int row) {
    const auto entries = lodemark::read_catalogue(SampleCopies::program(U"database"));
    return wide(entries.at(static_cast<std::size_t>(row)).folder_name());
  }

  std::unique_ptr<lodemark::win32::MainWindow> form_;
  int ended_with_ = -1;
};

}  // namespace lodemark::win32::test
