#pragma once
// A fake window, a scratch folder and a small source database for run tests.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/drives.h"
#include "run/run_window.h"
#include "test_support.h"
#include "util/utf8.h"

namespace lodemark::testing {

struct Shown {
  std::u32string text;
  BoxStyle style;
  std::u32string title;
};

class Fake_Run_Window : public RunWindow {
 public:
  std::vector<std::u32string> entries;
  std::vector<bool> selected;
  std::u32string text1, text2;
  std::vector<Shown> shown;
  std::deque<BoxAnswer> answers;  // for questions; Yes when empty
  std::vector<std::u32string> label3;
  int refreshes = 0, yields = 0;
  std::vector<bool> busy;
  std::vector<int> progress;

  BoxAnswer Show_Message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    shown.push_back({std::u32string(text), style, std::u32string(title)});
    if (style != BoxStyle::YesNoQuestion) return BoxAnswer::Ok;
    if (answers.empty()) return BoxAnswer::Yes;
    const BoxAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  int List1_Count() override { return static_cast<int>(entries.size()); }
  std::u32string List1_Text(int i) override { return entries.at(static_cast<std::size_t>(i)); }
  bool List1_Selected(int i) override { return selected.at(static_cast<std::size_t>(i)); }
  std::u32string Text1_Text() override { return text1; }
  std::u32string Text2_Text() override { return text2; }
  void Set_Label3(std::u32string_view t) override { label3.emplace_back(t); }
  void Refresh_Folder_View(FolderView) override { ++refreshes; }
  void Set_Busy_Pointer(bool b) override { busy.push_back(b); }
  void Yield_Once() override { ++yields; }
  void Borehole_Done(int done, int) override { progress.push_back(done); }

  void Select_All() { selected.assign(entries.size(), true); }
};

// A scratch folder whose paths are given with "/" in both forms.
class Scratch {
 public:
  std::filesystem::path native(const std::string& rel = "") const {
    return rel.empty() ? std::filesystem::path(dir_.native()) : std::filesystem::path(dir_.native(rel));
  }
  std::u32string program(const std::string& rel = "") const {
    return *platform::to_program_path(native(rel).lexically_normal().string());
  }

 private:
  test::TempDir dir_;
};

inline void write_bytes(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  test::write_bytes(p.string(), bytes);
}

inline std::string read_bytes(const std::filesystem::path& p) { return test::read_bytes(p.string()); }

// Lines given in UTF-8, written as code page 932 with CR LF.
inline void write_sjis_lines(const std::filesystem::path& p, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& l : lines) bytes += cp932::encode(from_utf8(l)) + "\r\n";
  write_bytes(p, bytes);
}

inline std::vector<std::string> read_sjis_lines(const std::filesystem::path& p) {
  const std::string bytes = read_bytes(p);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<no CR LF>" + to_utf8(cp932::decode(bytes.substr(start))));
      break;
    }
    lines.push_back(to_utf8(cp932::decode(bytes.substr(start, end - start))));
    start = end + 2;
  }
  return lines;
}

// Fixed-width source lines; text arguments in UTF-8.
inline std::string header_line(const std::string& key, const std::string& coords, const std::string& counts) {
  return key + coords + std::string(19, ' ') + "   12.50" + "   20.00" + "R6-0101 " + std::string(6, ' ') + counts;
}
inline std::string layer_line(const std::string& key, const std::string& depth8, const std::string& flag_codes) {
  return key + "   " + depth8 + std::string(11, ' ') + flag_codes;
}
inline std::string value_line(const std::string& key, const std::string& depth8, const std::string& value2) {
  return key + "   " + depth8 + value2;
}

}  // namespace lodemark::testing
