#pragma once
// A conversion run as a test starts it: the list, its selection and the two
// folder boxes, observed by a recorder; and the sample pattern-data folder.
#include <filesystem>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "conversion/conversion_run.h"
#include "support/test_support.h"

namespace lodemark::test {

class FakeRun : public ConversionObserver {
 public:
  // What the user chose.
  std::vector<std::u32string> entries;
  std::vector<bool> selected;
  std::u32string source, destination;
  ProgramPath patdat;

  // What the run told.
  FakeMessageBoxes boxes;
  std::vector<std::u32string> status;
  int refreshes = 0, yields = 0;
  std::vector<bool> busy;
  std::vector<std::size_t> progress;

  ConversionRequest request() const {
    ConversionRequest request;
    request.listed_entries = entries.size();
    request.source_folder = source;
    request.destination_folder = destination;
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (selected.at(i)) request.selected.emplace_back(entries[i]);
    request.pattern_data_folder = patdat;
    return request;
  }
  RunOutcome start() { return run_conversion(request(), *this); }

  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return boxes.show_message(text, style, title);
  }
  void status_changed(std::u32string_view t) override { status.emplace_back(t); }
  void output_written() override { refreshes += 2; }
  void busy_changed(bool b) override { busy.push_back(b); }
  void yield_once() override { ++yields; }
  void borehole_done(std::size_t done, std::size_t) override { progress.push_back(done); }
};

// Copies the sample pattern-data folder into `dir` as "patdat"; answers the
// copy's program path with its trailing "\".
inline ProgramPath copy_sample_pattern_data(const TempDir& dir) {
  std::filesystem::copy(std::filesystem::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", dir.native("patdat"));
  return ProgramPath(dir.program(U"patdat")).as_folder();
}

}  // namespace lodemark::test
