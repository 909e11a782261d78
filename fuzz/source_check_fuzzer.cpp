// The check of a source database: one input holds a control line, the
// catalogue Rodev5.Dat, the data files Rodev1/2/3.Dat and the dictionaries
// KISHITU.TXT and XKISHITU.TXT, apart by kPartSeparator; an empty part is a
// missing file. The control line's words are the LOGNOs to select, and the
// word "patdat" makes the folder the pattern-data folder too.
// Checked besides crashes: nothing but Failure is thrown; every problem has a known
// rule, names one of the files, stands on a line of it (0 only for a whole
// file's problem) and names a trimmed borehole, never for a rule about a
// whole file or line of no borehole; nothing is written.
#include <array>
#include <exception>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/file_names.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/source_check.h"
#include "fuzz_support.h"
#include "rodev/catalogue.h"

namespace lodemark::fuzz {
namespace {

constexpr std::array<std::u32string_view, 6> kFiles = {kCatalogueFile,  kHeaderFile,         kLayerFile,
                                                       kDepthValueFile, kSoilDictionaryFile, kSoilNameRegisterFile};

// Rules that are about a whole file, or a line that belongs to no borehole.
bool names_no_borehole(Rule rule) {
  return rule == Rule::CatalogueMissing || rule == Rule::CatalogueEmpty || rule == Rule::CatalogueFirstLineNotRecord ||
         rule == Rule::CatalogueBlankLine || rule == Rule::DataFileMissing || rule == Rule::DictionaryMissing;
}

bool about_whole_file(Rule rule) {
  return rule == Rule::CatalogueMissing || rule == Rule::CatalogueEmpty || rule == Rule::DataFileMissing ||
         rule == Rule::DictionaryMissing;
}

class CheckedSink : public ProblemSink {
 public:
  explicit CheckedSink(const std::array<std::string_view, 6>& contents) {
    for (std::size_t k = 0; k < kFiles.size(); ++k) line_counts_[k] = lines_of(contents[k]).size();
  }

  void report(const Problem& problem) override {
    bool known = false;
    for (const RuleInfo& info : all_rules()) known = known || info.rule == problem.rule;
    check(known, "every problem has a rule of all_rules()");
    std::size_t file = 0;
    while (file < kFiles.size() && kFiles[file] != problem.file) ++file;
    check(file < kFiles.size(), "a problem names one of the database's or dictionary's files");
    check(problem.line <= line_counts_[file], "a problem's line is a line of its file");
    check((problem.line == 0) == about_whole_file(problem.rule), "line 0 only for a whole file's problem");
    check(problem.borehole.empty() || !names_no_borehole(problem.rule), "a borehole only for per-borehole rules");
    check(problem.borehole == trim_spaces(problem.borehole), "the borehole is named trimmed");
    check(!problem.message.empty(), "every problem says what is wrong");
  }

 private:
  std::array<std::size_t, 6> line_counts_{};
};

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data), size), kFiles.size() + 1);
  const Scratch& scratch = Scratch::get();
  std::array<std::string_view, 6> contents;
  for (std::size_t k = 0; k < kFiles.size(); ++k) {
    contents[k] = parts[k + 1];
    const std::string name = to_utf8(kFiles[k]);
    if (contents[k].empty())
      scratch.remove(name);
    else
      scratch.write(name, contents[k]);
  }

  CheckRequest request;
  request.source_folder = scratch.program();
  std::string_view control = parts[0];
  while (!control.empty()) {
    const std::size_t end = std::min(control.find(' '), control.size());
    const std::string_view word = control.substr(0, end);
    if (word == "patdat")
      request.pattern_data_folder = scratch.program();
    else if (!word.empty())
      request.selection.insert(from_utf8(word));
    control.remove_prefix(std::min(end + 1, control.size()));
  }

  const std::vector<std::string> entries_before = scratch.entries();
  CheckedSink sink(contents);
  std::vector<std::u32string> listed;
  try {
    SourceCheck source_check(request);
    source_check.check_catalogue(sink, [&](CatalogueEntry entry) { listed.push_back(entry.display_text()); });
    // The list handed on is the list that the window and `list` read.
    std::vector<std::u32string> read;
    for (const CatalogueEntry& entry : read_catalogue(request.source_folder)) read.push_back(entry.display_text());
    check(listed == read, "the check hands on the borehole list that CatalogueReader reads");
    source_check.check_data_files(sink);
  } catch (const Failure&) {
    // A file that cannot be read (or a dictionary the check cannot use) is
    // told by a Failure; what was reported before it still held.
  } catch (const std::exception& e) {
    check(false, std::string("only Failure is thrown, not ") + e.what());
  }
  check(scratch.entries() == entries_before, "the check creates and removes nothing");
  for (std::size_t k = 0; k < kFiles.size(); ++k) {
    if (!contents[k].empty()) check(scratch.read(to_utf8(kFiles[k])) == contents[k], "the check changes no file");
  }
  return 0;
}
