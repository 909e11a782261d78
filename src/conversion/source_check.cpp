#include "conversion/source_check.h"

#include <algorithm>
#include <array>
#include <functional>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/checked_lines.h"
#include "conversion/destination_preparation.h"
#include "conversion/source_check_state.h"
#include "conversion/user_dictionary_check.h"
#include "platform/files.h"
#include "rodev/catalogue.h"

namespace lodemark {
namespace source_check {

std::string fold_case(std::string_view folder) {
  if (std::all_of(folder.begin(), folder.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::string folded(folder);
    for (char& c : folded)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    return folded;
  }
  std::u32string folded = from_utf8(folder);
  for (char32_t& c : folded) {
    if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
    if (c >= U'\uFF41' && c <= U'\uFF5A') c -= U'\uFF41' - U'\uFF21';  // full-width letters
  }
  return to_utf8(folded);
}

// Spaces are single bytes in UTF-8 too: trimming them there is trim_spaces.
std::string_view CheckState::folder(std::uint32_t item) const {
  std::string_view number = key(item);
  const std::size_t first = number.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  number.remove_prefix(first);
  return number.substr(0, number.find_last_not_of(' ') + 1);
}

std::span<const LineRun> CheckState::runs(DataFile file, std::uint32_t item) const {
  const LineRun& first = items[item].first_runs[file];
  if (first.first_line == 0) return {};
  if (const auto more = more_runs[file].find(item); more != more_runs[file].end()) return more->second;
  return {&first, 1};
}

namespace {

constexpr std::u32string_view kFileNames[] = {kHeaderFile, kLayerFile, kDepthValueFile};

bool is_blank(std::string_view bytes) { return bytes.find_first_not_of(' ') == std::string_view::npos; }

Problem whole_file(Rule rule, std::u32string_view file, std::u32string message) {
  return {rule, std::u32string(file), 0, {}, std::move(message)};
}

// One record of the catalogue: a folder name that cannot be, or that an
// earlier record already gives (also in another case). Gives the record's
// entry of the list.
CatalogueEntry add_record(const CheckedLines& lines, CheckState& state, const CheckRequest& request) {
  CatalogueEntry entry = catalogue_entry_of(lines.bytes());
  const std::u32string folder = entry.folder_name();
  if (!is_safe_folder_name(folder))
    lines.report(Rule::FolderNameUnusable, folder, rule_text(Rule::FolderNameUnusable, {folder}));

  const auto next_item = static_cast<std::uint32_t>(state.items.size());
  const std::string key = to_utf8(entry.number());
  const std::optional<std::uint32_t> known = state.item_of_key(key);
  const std::string folded = fold_case(to_utf8(folder));
  if (const std::optional<std::uint32_t> earlier = state.item_of_folded(folded)) {
    const std::u32string line = decimal_text(state.items[*earlier].catalogue_line);
    const std::u32string other_folder = from_utf8(state.folder(*earlier));
    if (other_folder == folder)
      lines.report(Rule::NumberRepeated, folder, rule_text(Rule::NumberRepeated, {line}));
    else
      lines.report(Rule::NumberCaseCollision, folder, rule_text(Rule::NumberCaseCollision, {line, other_folder}));
  } else {
    state.by_folded_folder.add(next_item,
                               [&](std::uint32_t i) { return i == next_item ? folded : state.folded_folder(i); });
  }
  if (!known) {
    CatalogueItem item;
    item.key_at = static_cast<std::uint32_t>(state.keys.size());
    item.key_size = static_cast<std::uint8_t>(key.size());
    item.catalogue_line = lines.number();
    item.selected = request.selection.empty() || request.selection.contains(folder);
    state.keys += key;
    state.items.push_back(item);
    state.by_key.add(next_item, [&](std::uint32_t i) { return state.key(i); });
  }
  state.order.push_back(known.value_or(next_item));
  return entry;
}

// False when there is no catalogue to check the data files against.
bool check_catalogue(const CheckRequest& request, CheckState& state, ProblemSink& sink,
                     const std::function<void(CatalogueEntry)>& listed) {
  const ProgramPath path = request.source_folder / kCatalogueFile;
  const std::int64_t size = platform::bounded_file_size(path, kMaxCatalogueBytes);
  if (size < 0) {
    sink.report(whole_file(Rule::CatalogueMissing, kCatalogueFile, rule_text(Rule::CatalogueMissing)));
    return false;
  }
  if (size == 0) {
    sink.report(whole_file(Rule::CatalogueEmpty, kCatalogueFile, rule_text(Rule::CatalogueEmpty)));
    return false;
  }
  // Room for every record at once, so that no list is copied as it grows;
  // a catalogue of other lines gets no more than a million records' room.
  const std::size_t records =
      std::min<std::size_t>(static_cast<std::size_t>(size) / (kCatalogueRecordBytes + 2) + 1, 1 << 20);
  state.items.reserve(records);
  state.order.reserve(records);
  state.keys.reserve(records * 8);
  state.by_key.reserve(records, [&](std::uint32_t i) { return state.key(i); });
  state.by_folded_folder.reserve(records, [&](std::uint32_t i) { return state.folded_folder(i); });
  CheckedLines lines(path, std::u32string(kCatalogueFile), rule_text(Rule::LineEndLfOnly), sink, kMaxCatalogueBytes);
  // The list holds the records only when the first line is one.
  bool listing = true;
  bool usable = true;
  while (lines.next()) {
    const std::size_t size_of_line = lines.bytes().size();
    const bool record = size_of_line == kCatalogueRecordBytes && !lines.cut();
    if (lines.lf_only()) {
      // Nothing more to check: the problem says what the file's form does.
      // The list is still read to its end, as the borehole list reads it.
      lines.stop_reporting();
      usable = false;
    }
    if (!usable) {
      listing = listing && (record || lines.number() > 1);
      if (record && listing && listed) listed(catalogue_entry_of(lines.bytes()));
      continue;
    }
    const std::u32string bytes_text = lines.cut() ? U">" + decimal_text(CheckedLines::kKeptBytes)
                                                  : decimal_text(static_cast<long long>(size_of_line));
    if (record) {
      CatalogueEntry entry = add_record(lines, state, request);
      if (listing && listed) listed(std::move(entry));
    } else if (lines.number() == 1) {
      listing = false;
      lines.report(Rule::CatalogueFirstLineNotRecord, {}, rule_text(Rule::CatalogueFirstLineNotRecord, {bytes_text}));
    } else if (is_blank(lines.bytes())) {
      lines.report(Rule::CatalogueBlankLine, {}, rule_text(Rule::CatalogueBlankLine));
    } else {
      lines.report(Rule::CatalogueLineLength, lines.key(), rule_text(Rule::CatalogueLineLength, {bytes_text}));
    }
  }
  return usable;
}

// Closes the stretch at hand: kept with its number, or told as lines of no
// catalogued number.
void close_run(DataFile file, RunInProgress& run, CheckState& state, const CheckRequest& request,
               const CheckedLines& lines, ProblemSink& sink) {
  if (run.run.lines == 0) return;
  if (run.item) {
    LineRun& first = state.items[*run.item].first_runs[file];
    if (first.first_line == 0) {
      first = run.run;
    } else {
      std::vector<LineRun>& all = state.more_runs[file][*run.item];
      if (all.empty()) all.push_back(first);
      all.push_back(run.run);
    }
  } else if (request.selection.empty()) {
    const std::u32string folder = trim_spaces(from_utf8(run.key));
    const std::u32string count = decimal_text(run.run.lines);
    const auto same_but_case = state.item_of_folded(fold_case(to_utf8(folder)));
    sink.report({Rule::DataLineUnknownNumber, lines.name(), run.run.first_line, folder,
                 same_but_case
                     ? rule_text(Rule::DataLineUnknownNumber, {count, from_utf8(state.folder(*same_but_case))}, 1)
                     : rule_text(Rule::DataLineUnknownNumber, {count})});
  }
  run.run.lines = 0;
}

// A line's number as the catalogue's keys are held: UTF-8, which for ASCII
// bytes is the bytes themselves.
std::string_view key_of(const CheckedLines& lines, std::string& decoded) {
  const LineField field = lines.field(kKeyField);
  if (const auto ascii = field.ascii()) return *ascii;
  decoded = to_utf8(field.text());
  return decoded;
}

// One pass over a data file: its stretches of lines, and each line of a
// catalogued (and selected) borehole checked on its own.
// `opened` is the file opened by the caller (nullptr when missing or empty),
// or nothing to open it here.
void scan_data_file(DataFile file, const CheckRequest& request, CheckState& state, ProblemSink& sink,
                    std::optional<platform::TextReader*> opened) {
  const ProgramPath path = request.source_folder / kFileNames[file];
  if (opened ? *opened == nullptr : platform::file_size(path) < 1) {
    if (!state.items.empty())
      sink.report(whole_file(Rule::DataFileMissing, kFileNames[file],
                             rule_text(Rule::DataFileMissing, {kFileNames[file]}, file)));
    return;
  }
  const std::u32string name(kFileNames[file]);
  const std::u32string lf_only_text = rule_text(Rule::LineEndLfOnly, {}, 1);
  CheckedLines lines =
      opened ? CheckedLines(**opened, name, lf_only_text, sink) : CheckedLines(path, name, lf_only_text, sink);
  RunInProgress run;
  std::string decoded_key;
  while (lines.next()) {
    if (lines.lf_only()) return;
    // An empty line belongs to no borehole and ends the stretch before it.
    if (lines.bytes().empty()) {
      close_run(file, run, state, request, lines, sink);
      run.key.clear();
      continue;
    }
    const std::string_view key = key_of(lines, decoded_key);
    if (run.run.lines == 0 || key != run.key) {
      close_run(file, run, state, request, lines, sink);
      const std::optional<std::uint32_t> item = state.item_of_key(key);
      run.start(key);
      run.item = item;
      run.run.first_line = lines.number();
    }
    const std::uint32_t index_in_run = run.run.lines++;
    if (!run.item || !state.items[*run.item].selected) continue;
    if (file == Headers) {
      if (index_in_run == 0) check_header_line(lines, run.run);
    } else if (file == Layers) {
      check_layer_line(lines, run, state);
    } else {
      check_value_line(lines, run, state);
    }
  }
  close_run(file, run, state, request, lines, sink);
  state.usable[file] = true;
}

std::optional<SoilCodePreview> open_dictionary(const ProgramPath& folder, ProblemSink& sink) {
  for (const std::u32string_view name : {kSoilDictionaryFile, kSoilNameRegisterFile}) {
    if (platform::bounded_file_size(folder / name, kMaxSoilDictionaryBytes) < 0) {
      sink.report(whole_file(Rule::DictionaryMissing, name, rule_text(Rule::DictionaryMissing, {name})));
      return std::nullopt;
    }
  }
  return SoilCodePreview(folder);
}

}  // namespace
}  // namespace source_check

SourceCheck::SourceCheck(CheckRequest request)
    : request_(std::move(request)), state_(std::make_unique<source_check::CheckState>()) {}

SourceCheck::~SourceCheck() = default;

void SourceCheck::check_catalogue(ProblemSink& sink, const std::function<void(CatalogueEntry)>& listed) {
  catalogue_usable_ = source_check::check_catalogue(request_, *state_, sink, listed);
}

const std::optional<SoilCodePreview>& SourceCheck::dictionaries(ProblemSink& sink) {
  if (!dictionaries_read_ && catalogue_usable_ && request_.pattern_data_folder) {
    dictionaries_as_read_ = source_check::open_dictionary(*request_.pattern_data_folder, sink);
    check_user_dictionary(*request_.pattern_data_folder, sink, CopyDue::Report);
  }
  dictionaries_read_ = true;
  return dictionaries_as_read_;
}

void SourceCheck::use_dictionaries(SoilCodePreview dictionaries) {
  dictionaries_as_read_ = std::move(dictionaries);
  dictionaries_read_ = true;
}

void SourceCheck::check_data_files(ProblemSink& sink, SourceFiles* files) {
  using namespace source_check;
  // Without a catalogue there is nothing to check the lines against.
  if (!catalogue_usable_ || !state_) return;
  dictionaries(sink);
  // Nobody needs the copies as read any more: the check's lookups change them.
  state_->dictionary = std::move(dictionaries_as_read_);
  dictionaries_as_read_.reset();
  std::array<SourceFile*, 3> opened{};
  if (files) opened = {&files->headers, &files->layers, &files->values};
  for (const DataFile file : {Headers, Layers, Values}) {
    std::optional<platform::TextReader*> reader;
    if (opened[file]) reader = opened[file]->reader();
    if (reader && *reader) (*reader)->seek(0);
    scan_data_file(file, request_, *state_, sink, reader);
    if (reader && *reader) (*reader)->seek(0);
    if (state_->usable[file] && (file == Headers || state_->usable[Headers])) report_lookups(file, *state_, sink);
  }
  // What the check kept of the catalogue is of no more use.
  state_.reset();
}

void check_source(const CheckRequest& request, ProblemSink& sink) {
  SourceCheck check(request);
  check.check_catalogue(sink);
  check.check_data_files(sink);
}

}  // namespace lodemark
