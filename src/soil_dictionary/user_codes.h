#pragma once
// How a new soil name gets its user code and where its record goes: shared by
// the dictionary that writes the files and by the preview that only reads
// them, so that both give a name the same code.
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"

namespace lodemark {

// Lines as the register is read line by line: a line ends at CR or CR LF.
std::vector<std::string_view> split_lines(std::string_view content);

// Where a new record goes and the code it gets.
struct Insertion {
  std::size_t before_line;  // the lines' count when the record goes last
  int code;
};

// Plans the new records of names added one after the other: the register's
// lines and both files' user codes are read once, and each planned record
// is then counted as written to both files.
class UserCodePlanner {
 public:
  // Throws Failure when a file's record is cut short, or a register record
  // runs over the line end where the new line would go (it would be cut).
  UserCodePlanner(std::string_view dictionary, const ProgramPath& dictionary_path, std::string_view name_register,
                  const ProgramPath& register_path);

  // The new record goes before the register's first line of 4000 or more;
  // its code is one more than the highest user code anywhere in the
  // register, at least 1000, passing over codes that either file already
  // gives a name. Throws Failure naming the register when no user code below
  // 4000 is left.
  Insertion plan(std::u32string_view name, const ProgramPath& register_path) const;
  // The planned record is now in the register, at its place, and at the
  // dictionary's end.
  void written(const Insertion& plan);

 private:
  Insertion first_free_{};  // the code before used codes are passed over
  std::set<int> used_;
};

// The plan for one new name on the files as they are.
Insertion plan_new_record(std::u32string_view name, std::string_view dictionary, const ProgramPath& dictionary_path,
                          std::string_view name_register, const ProgramPath& register_path);

// A created record: code, name, three fields of four blanks and "0000".
std::string created_record(int code, std::u32string_view name);

// Throws Failure naming the dictionary when the name cannot be a field of a
// record: empty, holding a comma, a quote or a line end, or without a code
// page 932 form.
void check_writable(std::u32string_view name, const ProgramPath& dictionary_path);

// The register's new content: its lines, each ended by CR LF, with the
// record at the planned place.
std::string register_with(const std::vector<std::string_view>& lines, const Insertion& plan, std::string_view record);

// The bytes that append the line to a dictionary holding `before`: a last
// line without a line end is ended first, and a line that begins with an LF
// keeps it after a lone CR (the LF would otherwise pair with that CR).
std::string dictionary_append(std::string_view before, std::string_view line);

// A record's code field without the blanks and LFs around it (a register
// written with LF-only line ends leaves an LF before the code): the code the
// layer file shows.
std::string_view code_text(std::string_view field);
// The user code (1000-3999) that a record's code field takes, read as its
// number; nothing for any other code. Wherever a code counts as taken, it is
// read here.
std::optional<int> user_code(std::string_view field);

}  // namespace lodemark
