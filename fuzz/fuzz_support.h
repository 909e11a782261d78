#pragma once
// What every harness shares: the scratch folder of the process, the split of
// one input into the several files a reader takes, and the report of a broken
// invariant (an abort, which libFuzzer and the replay both count as a crash).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"

namespace lodemark::fuzz {

// Between the parts of an input that holds several files.
inline constexpr std::string_view kPartSeparator = "\n@@\n";

// The input cut at the first `count - 1` separators; missing parts are empty
// and the last part keeps any further separators.
std::vector<std::string_view> split_parts(std::string_view data, std::size_t count);

// One empty folder per process (made on first use, removed at exit), with
// XDG_CONFIG_HOME pointing at its "config" folder so that no harness reads
// the user's own settings or drive table. On Windows the settings file lies in
// the system's own folder, held by this process alone while it runs.
class Scratch {
 public:
  static const Scratch& get();

  const std::string& native() const { return native_; }
  std::string native(std::string_view name) const { return native_ + "/" + std::string(name); }
  // Native path of the settings file ZidereV5.ini that the program reads.
  const std::string& settings_file() const { return settings_file_; }
  // The folder as the program names it ("Z:\tmp\lodemark-fuzz-…").
  const ProgramPath& program() const { return program_; }

  void write(std::string_view name, std::string_view bytes) const;
  // A name is relative to the folder, or a native absolute path.
  // The file's bytes; empty when it is missing.
  std::string read(std::string_view name) const;
  bool exists(std::string_view name) const;
  void remove(std::string_view name) const;
  // Names of the entries of the folder (the "config" folder excepted), sorted.
  std::vector<std::string> entries() const;

  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

 private:
  Scratch();
  ~Scratch();
  std::string native_;
  std::string settings_file_;
  ProgramPath program_;
};

// Aborts with the message when the condition does not hold.
void check(bool condition, std::string_view what);

// The lines of a file as every reader of the program splits them: a line
// ends at CR or CR LF, an LF alone is a byte of its line.
std::vector<std::string_view> lines_of(std::string_view bytes);

}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
