// The preview from the Win32 window: opened by a double-click and by Enter on
// a borehole of the list (no run, nothing written), its title and buttons,
// the scale list and the report box laying the sheet out again, the PNG saved (the picture's size, compared with a
// reference image within a tolerance), the SVG saved (the command line's golden file, byte for byte), saves that fail,
// scrolling, scaling, Escape. With LODEMARK_PREVIEW_SCREENSHOT=<file.bmp> set it also saves a picture of the preview
// window.
#include "gui/win32/preview_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/utf8.h"
#include "gui/preview_sheet.h"
#include "gui/win32/main_window.h"
#include "main_window_fixture.h"
#include "preview/layout.h"
#include "preview/svg_painter.h"
#include "render/gdiplus_painter.h"
#include "rodev/catalogue.h"
#include "support/png_pixels_win.h"
#include "support/test_support.h"
#include "window_picture.h"

namespace fs = std::filesystem;
using lodemark::render::PictureFormat;
using lodemark::win32::Control;
using lodemark::win32::PreviewWindow;
using lodemark::win32::SideControl;
using lodemark::win32::window_text;
using lodemark::win32::test::BoxAnswerer;
using lodemark::win32::test::pump_for;
using lodemark::win32::test::SampleCopies;

namespace {

const fs::path kGolden = lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "tests/data/golden/preview";

class PreviewWindowTest : public lodemark::win32::test::MainWindowTest {
 protected:
  int row_of(std::u32string_view number) {
    const auto entries = lodemark::read_catalogue(SampleCopies::program(U"database"));
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (lodemark::trim_spaces(entries[i].number()) == number) return static_cast<int>(i);
    ADD_FAILURE() << "no such borehole in the list";
    return 0;
  }
  // Opens the preview of `number` as the user would: a click on its row,
  // then a double-click or Enter (through the program's own message loop).
  PreviewWindow* open_preview(std::u32string_view number, bool by_enter) {
    const PreviewWindow* before = form_->newest_preview();
    HWND list = at(Control::BoreholeList);
    RECT row;
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row_of(number)), reinterpret_cast<LPARAM>(&row));
    const LPARAM point = MAKELPARAM(row.left + 5, row.top + 3);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
    if (by_enter) {
      PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
      PostQuitMessage(0);
      form_->run();
    } else {
      SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
      SendMessageW(list, WM_LBUTTONUP, 0, point);
    }
    pump_for(50);
    PreviewWindow* preview = form_->newest_preview();
    return preview == before ? nullptr : preview;
  }
  // A new main window and the preview of B-101 from it.
  PreviewWindow* open_sample_preview() {
    open_window();
    return open_preview(U"B-101", false);
  }
};

TEST_F(PreviewWindowTest, DoubleClickAndEnterOpenThatBoreholesPreviewAndRunNothing) {
  const struct {
    std::u32string number;
    bool by_enter;
  } rows[] = {{U"B-101", false}, {U"B-101", true}, {U"B-103", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(lodemark::to_utf8(row.number) + (row.by_enter ? " Enter" : " double-click"));
    open_window();
    PreviewWindow* preview = open_preview(row.number, row.by_enter);
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(preview->handle(), nullptr);
    EXPECT_EQ(window_text(preview->handle()), L"プレビュー - " + lodemark::win32::wide(row.number));
    EXPECT_TRUE(IsWindowVisible(preview->handle()));
    EXPECT_TRUE(IsWindowEnabled(form_->handle()));
    EXPECT_EQ(window_text(preview->control(SideControl::PreviewSavePng)), L"PNG で保存…");
    EXPECT_EQ(window_text(preview->control(SideControl::PreviewSaveSvg)), L"SVG で保存…");
    EXPECT_EQ(window_text(preview->control(SideControl::Close)), L"閉じる");
    EXPECT_EQ(window_text(preview->control(SideControl::PreviewForReport)), L"報告用 (コード・問題なし)");
    int buttons = 0;  // no PDF on Windows
    for (HWND child = GetWindow(preview->handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[16] = {};
      GetClassNameW(child, name, 16);
      const auto kind = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
      buttons += _wcsicmp(name, L"Button") == 0 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) ? 1 : 0;
    }
    EXPECT_EQ(buttons, 3);
    // The preview only: no run, nothing written in the destination.
    EXPECT_FALSE(form_->presenter().completion_shown());
    EXPECT_TRUE(fs::is_empty(SampleCopies::native("out")));
    if (const char* shot = std::getenv("LODEMARK_PREVIEW_SCREENSHOT"); shot && !row.by_enter) {
      pump_for(300);
      EXPECT_TRUE(lodemark::win32::test::save_window_picture(preview->handle(), fs::path(shot)));
    }
    // Escape, through the program's message loop, closes it as 閉じる does.
    PostMessageW(preview->control(SideControl::PreviewPicture), WM_KEYDOWN, VK_ESCAPE, 1);
    PostQuitMessage(0);
    form_->run();
    EXPECT_EQ(preview->handle(), nullptr);
    EXPECT_EQ(ended_with_, -1);
  }
}

TEST_F(PreviewWindowTest, SavedPicturesAreTheReferenceAndTheCommandLines) {
  PreviewWindow* preview = open_sample_preview();
  ASSERT_NE(preview, nullptr);
  fs::create_directories(SampleCopies::native("saved"));

  ASSERT_TRUE(preview->save_to(SampleCopies::program(U"saved\\B-101.svg"), PictureFormat::Svg));
  const std::string svg = lodemark::test::read_bytes(SampleCopies::native("saved") / "B-101.svg");
  EXPECT_EQ(svg, lodemark::preview::paint_svg(preview->picture()));
  // The window gathers the borehole as `lodemark-cli preview` does.
  EXPECT_EQ(svg, lodemark::test::read_bytes(kGolden / "B-101.svg"));

  ASSERT_TRUE(preview->save_to(SampleCopies::program(U"saved\\B-101.png"), PictureFormat::Png));
  const fs::path png = SampleCopies::native("saved") / "B-101.png";
  // The reference is made by this code, once, deliberately.
  if (std::getenv("LODEMARK_UPDATE_GOLDEN"))
    fs::copy_file(png, kGolden / "B-101-windows.png", fs::copy_options::overwrite_existing);
  const lodemark::render::GdiplusSession session;
  const auto saved = lodemark::test::decode_png(lodemark::test::read_bytes(png));
  EXPECT_EQ(saved.width, lodemark::render::png_pixels(preview->picture().width));
  EXPECT_EQ(saved.height, lodemark::render::png_pixels(preview->picture().height));
  const auto reference = lodemark::test::decode_png(lodemark::test::read_bytes(kGolden / "B-101-windows.png"));
  const double share = lodemark::test::differing_share(saved, reference);
  EXPECT_LE(share, 0.02) << share << " of the pixels differ";
}

// The scale list and the report box, through the messages the controls send
// their window, lay out again the borehole the window was opened with (what
// each choice means is the shared sheet's, tested without a toolkit); the
// view takes the new size and a save writes the sheet of those choices.
TEST_F(PreviewWindowTest, ChoicesThroughTheControlsLayTheSheetOutAgain) {
  PreviewWindow* preview = open_sample_preview();
  ASSERT_NE(preview, nullptr);
  HWND window = preview->handle();
  HWND list = preview->control(SideControl::PreviewScale);
  HWND for_report = preview->control(SideControl::PreviewForReport);
  const std::vector<std::u32string> labels = lodemark::scale_labels();
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(labels.size()));
  for (std::size_t row = 0; row < labels.size(); ++row) {
    wchar_t text[32] = {};
    SendMessageW(list, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), lodemark::win32::wide(labels[row]));
  }
  EXPECT_EQ(window_text(list), L"1:100");
  EXPECT_EQ(SendMessageW(for_report, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // The whole width of the page is in view unless the monitor is narrower,
  // and the window is on the monitor.
  RECT view;
  GetClientRect(preview->control(SideControl::PreviewPicture), &view);
  RECT frame;
  GetWindowRect(window, &frame);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const LONG room_width = monitor.rcWork.right - monitor.rcWork.left;
  EXPECT_TRUE(view.right >= preview->picture_size().cx || frame.right - frame.left == room_width)
      << view.right << " of " << preview->picture_size().cx << ", window " << frame.right - frame.left;
  EXPECT_LE(frame.right - frame.left, room_width);
  EXPECT_LE(frame.bottom - frame.top, monitor.rcWork.bottom - monitor.rcWork.top);

  const lodemark::preview::BoreholePreview& borehole = preview->sheet().borehole();
  const UINT dpi = lodemark::win32::dpi_of(window);
  const struct {
    std::u32string scale;
    bool for_report;
  } steps[] = {{U"1:200", false}, {U"1:200", true}, {U"1:50", true}, {U"1:100", false}};
  for (const auto& step : steps) {
    SCOPED_TRACE(lodemark::to_utf8(step.scale) + (step.for_report ? " report" : ""));
    const std::wstring scale = lodemark::win32::wide(step.scale);
    const LRESULT row =
        SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(scale.c_str()));
    ASSERT_NE(row, CB_ERR);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(static_cast<int>(SideControl::PreviewScale), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    if ((SendMessageW(for_report, BM_GETCHECK, 0, 0) == BST_CHECKED) != step.for_report)
      SendMessageW(for_report, BM_CLICK, 0, 0);
    const lodemark::preview::SheetOptions& options = preview->sheet().options();
    EXPECT_EQ(lodemark::preview::scale_text(options.scale), step.scale);
    EXPECT_EQ(options.for_report, step.for_report);
    const lodemark::preview::Picture expected = lodemark::preview::lay_out(borehole, options).picture;
    EXPECT_EQ(lodemark::preview::paint_svg(preview->picture()), lodemark::preview::paint_svg(expected));
    EXPECT_EQ(preview->picture_size().cy, static_cast<LONG>(std::ceil(expected.height * dpi / 72)));
  }

  SendMessageW(for_report, BM_CLICK, 0, 0);
  fs::create_directories(SampleCopies::native("chosen"));
  ASSERT_TRUE(preview->save_to(SampleCopies::program(U"chosen\\B-101.svg"), PictureFormat::Svg));
  const lodemark::preview::SheetOptions chosen{lodemark::preview::kDefaultScale, lodemark::preview::Paper::A4, true};
  EXPECT_EQ(lodemark::test::read_bytes(SampleCopies::native("chosen") / "B-101.svg"),
            lodemark::preview::paint_svg(lodemark::preview::lay_out(borehole, chosen).picture));
}

// The preview saves through the shared step (gui/save_file.h, tested with
// every case there): an existing file is replaced whole; a read-only one is
// left as it was and a box over the preview names it.
TEST_F(PreviewWindowTest, SavesReplaceAnEarlierFileOrSayWhyNot) {
  PreviewWindow* preview = open_sample_preview();
  ASSERT_NE(preview, nullptr);
  const fs::path folder = SampleCopies::native("kept");
  fs::create_directories(folder);
  const struct {
    const char* name;
    bool read_only;
    PictureFormat format;
  } rows[] = {{"old.png", false, PictureFormat::Png}, {"locked.svg", true, PictureFormat::Svg}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path target = folder / row.name;
    lodemark::test::write_bytes(target, "earlier");
    if (row.read_only) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const BoxAnswerer boxes(IDOK);
    const std::u32string program = SampleCopies::program(U"kept\\" + lodemark::from_utf8(row.name));
    EXPECT_EQ(preview->save_to(program, row.format), !row.read_only);
    pump_for(50);
    if (!row.read_only) {
      EXPECT_TRUE(boxes.seen().empty());
      EXPECT_EQ(lodemark::test::read_bytes(target), lodemark::render::picture_bytes(preview->picture(), row.format));
      continue;
    }
    ASSERT_EQ(boxes.seen().size(), 1u);
    const std::wstring& text = boxes.seen()[0].text;
    EXPECT_EQ(text.rfind(L"プレビューを保存できませんでした: " + lodemark::win32::wide(program), 0), 0u) << text;
    EXPECT_EQ(lodemark::test::read_bytes(target), "earlier");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  EXPECT_NE(preview->handle(), nullptr);
}

// A picture larger than the window scrolls; at another scaling it is drawn
// larger, and the scroll range follows.
TEST_F(PreviewWindowTest, ScrollsWhenLargerThanTheWindowAndFollowsScaling) {
  PreviewWindow* preview = open_sample_preview();
  ASSERT_NE(preview, nullptr);
  HWND window = preview->handle();
  HWND view = preview->control(SideControl::PreviewPicture);
  for (const UINT dpi : {96u, 144u}) {
    SCOPED_TRACE(dpi);
    if (dpi != lodemark::win32::dpi_of(window)) {
      RECT suggested{20, 20, 20 + 500, 20 + 400};
      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    SetWindowPos(window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    const SIZE size = preview->picture_size();
    // At its physical size: the picture's points at the monitor's dpi.
    EXPECT_EQ(size.cx, static_cast<LONG>(std::ceil(preview->picture().width * dpi / 72)));
    EXPECT_EQ(size.cy, static_cast<LONG>(std::ceil(preview->picture().height * dpi / 72)));
    RECT client;
    GetClientRect(view, &client);
    SCROLLINFO v{sizeof v, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &v));
    EXPECT_EQ(v.nMax + 1, size.cy);
    EXPECT_EQ(static_cast<LONG>(v.nPage), client.bottom);
    SendMessageW(view, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    GetScrollInfo(view, SB_VERT, &v);
    EXPECT_EQ(v.nPos, client.bottom);
    SendMessageW(view, WM_KEYDOWN, VK_END, 0);
    GetScrollInfo(view, SB_VERT, &v);
    EXPECT_EQ(v.nPos, size.cy - client.bottom);
    const RECT frame = [&] {
      RECT r;
      GetWindowRect(preview->control(SideControl::Close), &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      return r;
    }();
    RECT whole;
    GetClientRect(window, &whole);
    EXPECT_EQ(frame.right, whole.right - lodemark::win32::pixels(120, dpi));
  }
}

}  // namespace
