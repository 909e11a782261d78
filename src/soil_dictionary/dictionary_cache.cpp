#include "soil_dictionary/dictionary_cache.h"

#include "base/file_names.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "soil_dictionary/name_search.h"
#include "soil_dictionary/user_codes.h"

namespace lodemark {

namespace {

// Lines that follow `before`, beginning with the byte `next`, leave its lines
// as they are: it ends with its last line's end (CR LF, or a CR that `next`
// does not pair with; an LF alone ends no line).
bool lines_can_follow(std::string_view before, char next) {
  if (before.empty()) return false;
  if (before.ends_with("\r\n")) return true;
  return before.back() == '\r' && next != '\n';
}

// The new content is the old one with whole lines added after it.
bool only_lines_added(std::string_view before, std::string_view after) {
  return after.size() > before.size() && after.starts_with(before) && lines_can_follow(before, after[before.size()]);
}

}  // namespace

std::string_view SoilFileCache::read(const ProgramPath& path) {
  platform::read_all(path.text(), kMaxSoilDictionaryBytes, scratch_);
  take_scratch();
  return content_;
}

void SoilFileCache::hold(std::string content) {
  scratch_ = std::move(content);
  take_scratch();
  if (!indexed_) build_index();
}

void SoilFileCache::append_line(std::string_view line) {
  const std::size_t old_size = content_.size();
  content_ += dictionary_append(content_, line);
  if (indexed_ && plain_ && lines_can_follow(std::string_view(content_).substr(0, old_size), content_[old_size])) {
    plain_ = index_lines(old_size);
    if (!plain_) index_.clear();
  } else {
    build_index();
  }
}

void SoilFileCache::take_scratch() {
  // The full comparison is what lets another program's change of any byte,
  // at any size or time stamp, be seen.
  if (read_once_ && scratch_ == content_) {
    // Indexing costs several scans; only content read a second time, unchanged,
    // is worth it. A one-off lookup keeps the plain scan's speed.
    if (!indexed_) build_index();
    return;
  }
  // A record appended (as a new name is) extends the index instead of
  // rebuilding it: the lines before it are the same bytes.
  const bool extend = read_once_ && indexed_ && plain_ && only_lines_added(content_, scratch_);
  const std::size_t old_size = content_.size();
  content_.swap(scratch_);
  read_once_ = true;
  if (extend) {
    plain_ = index_lines(old_size);
    if (!plain_) index_.clear();
  } else {
    indexed_ = false;
    index_.clear();
  }
}

bool SoilFileCache::index_lines(std::size_t from) {
  return scan_plain_lines(std::string_view(content_).substr(from), [&](std::size_t line_start, std::string_view field) {
    std::vector<NameAt>& places = index_[cp932::decode(field)];
    for (const NameAt& place : places)
      if (place.field_size == field.size()) return;
    places.push_back({field.size(), from + line_start});
  });
}

void SoilFileCache::build_index() {
  index_.clear();
  plain_ = index_lines(0);
  if (!plain_) index_.clear();
  indexed_ = true;
}

std::optional<SoilRecord> SoilFileCache::find(std::u32string_view name, const ProgramPath& path) const {
  const SoilNameMatcher matcher(name);
  if (!indexed_ || !plain_) return find_soil_record(content_, path.text(), matcher);
  std::optional<SoilRecord> found;
  const auto places = index_.find(std::u32string(name));
  if (places == index_.end()) return found;
  // The places stand in the order of the file, so the first that matches is
  // the first matching line.
  for (const NameAt& place : places->second) {
    if (!matcher.matches_decoded(places->first, place.field_size)) continue;
    SoilRecord record;
    SoilRecordReader line(std::string_view(content_).substr(place.line_start), path.text());
    if (line.next(record)) found = record;
    break;
  }
  return found;
}

}  // namespace lodemark
