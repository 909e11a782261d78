#pragma once
// The presenter's tests' fixture: a pattern-data setting, source folders
// with their catalogues, folders standing in for further drives, and a
// presenter on the fake window.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "gui/main_presenter.h"
#include "platform/cp932.h"
#include "support/fake_main_view.h"
#include "support/test_support.h"

namespace lodemark::test {

// A catalogue line: number, unused field, name, 8 bytes each once encoded.
inline std::string record(std::u32string_view number, std::u32string_view name) {
  return cp932::encode(std::u32string(number) + U"xxxxxxxx" + std::u32string(name)) + "\r\n";
}

inline std::u32string entry(std::u32string_view number, std::u32string_view name) {
  return std::u32string(number) + U"    " + std::u32string(name);
}

// A folder of the test standing in for a drive of its own.
inline platform::Volume drive_at(const test::TempDir& dir, std::string_view folder) {
  return {from_utf8(dir.native(folder)), dir.program(from_utf8(folder))};
}

class MainPresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.native("patdat"));
    test::write_bytes(dir_.system_folder() + "/ZidereV5.ini",
                      "[Settings]\r\n" + to_utf8(dir_.program(U"patdat")) + "\\\r\n");
    test::write_bytes(
        dir_.native("src/Rodev5.Dat"),
        record(U"0001    ", U"NO.1    ") + record(U"0002    ", U"NO.2    ") + record(U"0003    ", U"試験孔１"));
    test::write_bytes(dir_.native("src2/Rodev5.Dat"), record(U"B-77    ", U"  KAWA  "));
    test::write_bytes(dir_.native("rdrive/Rodev5.Dat"), record(U"R-1     ", U"ROOT    "));
    std::filesystem::create_directories(dir_.native("rdrive/sub"));
    std::filesystem::create_directories(dir_.native("out"));
    view_ = std::make_unique<test::FakeMainView>();
    presenter_ = std::make_unique<MainPresenter>(
        *view_, test::test_drives(dir_.program(U"src"), {drive_at(dir_, "rdrive"), drive_at(dir_, "no-such-folder")}),
        user_settings());
    view_->attach(*presenter_);
  }
  void load() {
    ASSERT_TRUE(presenter_->load());
    ASSERT_TRUE(view_->boxes.shown.empty());
  }
  // The user's own settings file of the test's presenters.
  std::u32string user_settings() const { return dir_.program(U"config\\user-settings.txt"); }
  std::u32string current() { return presenter_->drives().current_folder(); }
  std::u32string name_of(std::string_view folder) { return from_utf8(dir_.native(folder)); }

  test::TempConfigHome dir_;
  std::unique_ptr<test::FakeMainView> view_;
  std::unique_ptr<MainPresenter> presenter_;
  const std::vector<std::u32string> src_entries_{entry(U"0001    ", U"NO.1    "), entry(U"0002    ", U"NO.2    "),
                                                 entry(U"0003    ", U"試験孔１")};
};

// The sample database, with B-101 listed a second time (a problem of the
// catalogue), and the sample pattern-data folder.
class SamplePresenterTest : public MainPresenterTest {
 protected:
  void SetUp() override {
    MainPresenterTest::SetUp();
    namespace fs = std::filesystem;
    const fs::path samples = native_path(LODEMARK_SOURCE_DIR) / "samples";
    fs::copy(samples / "database", dir_.path("sample"));
    fs::copy(samples / "patdat", dir_.path("patdat"), fs::copy_options::recursive);
    const std::string catalogue = read_bytes(dir_.path("sample/Rodev5.Dat"));
    write_bytes(dir_.path("sample/Rodev5.Dat"), catalogue + catalogue.substr(0, 26));
    load();
    view_->user_opens_folder(Side::Source, dir_.program(U"sample"));
    ASSERT_EQ(view_->list().size(), 13u);
  }
  // Rule and borehole of each problem, in the report's order.
  static std::vector<std::string> found(const CheckReport& report) {
    std::vector<std::string> out;
    for (const Problem& p : report.problems) out.push_back(std::string(rule_info(p.rule).id) + " " + u8(p.borehole));
    return out;
  }
};

}  // namespace lodemark::test
