#pragma once
// Parses of the soil dictionaries kept across the lookups of one conversion
// run (a SoilDictionary keeps one for each of its two files). Other programs
// of the target system change these files at any time, so every lookup
// still reads the whole file and a parse is reused only when the file's bytes
// equal, byte for byte, those it was made from.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/program_path.h"
#include "soil_dictionary/soil_records.h"

namespace lodemark {

// One dictionary file: its last content read and, for the usual plain file
// (one six-field record a line), an index of the names it holds.
class SoilFileCache {
 public:
  // Reads the file in full and answers its content, which stays valid until
  // the next read. The content is indexed once it has been read twice
  // unchanged; a change drops the index, except that lines added at the end
  // are added to it.
  std::string_view read(const ProgramPath& path);
  // Holds `content` as if read from a file, indexed at once: a copy in
  // memory that is asked many times (the preview's).
  void hold(std::string content);
  // Appends a line to the content held, as the run appends it to the file
  // (dictionary_append), indexing it too.
  void append_line(std::string_view line);
  std::string_view content() const { return content_; }

  // The first record of the content last read whose name field equals
  // `name`, as find_soil_record answers it; `path` names the file in messages.
  std::optional<SoilRecord> find(std::u32string_view name, const ProgramPath& path) const;

 private:
  // Where a name first stands with a given length of its field in bytes: the
  // NEC and IBM rows give equal text in other bytes of the same length.
  struct NameAt {
    std::size_t field_size;
    std::size_t line_start;
  };
  // Takes the content in `scratch_` as the file's new content.
  void take_scratch();
  void build_index();
  // Indexes the lines of the content from byte `from` on (a line start);
  // false when one of them is not a plain record.
  bool index_lines(std::size_t from);

  std::string content_;
  std::string scratch_;  // the next read goes here; kept for its storage
  bool read_once_ = false;
  bool indexed_ = false;
  bool plain_ = false;
  std::unordered_map<std::u32string, std::vector<NameAt>> index_;
};

}  // namespace lodemark
