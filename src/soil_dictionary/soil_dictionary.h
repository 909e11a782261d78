#pragma once
// The target system's soil-name dictionary KISHITU.TXT, its soil-name
// register XKISHITU.TXT (user codes 1000-3999 first, then the codes of 4000
// and more) and the companion application's user dictionary, all in one
// pattern-data folder. Every lookup reads the files afresh: other programs of
// the target system share them.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/program_path.h"
#include "platform/file_lock.h"
#include "soil_dictionary/dictionary_cache.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark {

// The dictionaries of one pattern-data folder. One object serves a whole
// run: it keeps the parses of the files and reuses them wherever a file's
// bytes are unchanged since they were parsed (the files are still read in
// full on every lookup).
//
// Runs side by side in other processes, on this machine or another, take
// turns: each lookup holds a lock on KISHITU.TXT from its first read to its
// last write, waiting up to `lock_wait` for another run to let go.
class SoilDictionary : public SoilNameCoder {
 public:
  explicit SoilDictionary(ProgramPath folder,
                          std::chrono::milliseconds lock_wait = platform::FileLock::kDefaultTimeout);

  const ProgramPath& folder() const { return folder_; }

  // The code of the soil name: from KISHITU.TXT (name as given), else from
  // XKISHITU.TXT (name trimmed; the record is then appended to KISHITU.TXT),
  // else a new user code that is inserted into the register, appended to
  // KISHITU.TXT and copied on to the user dictionary (as a record copied from
  // the register is). Throws Failure (or
  // platform::FileError) naming the file for a missing dictionary or
  // register, a record cut short by the end of its file, a name that cannot
  // be written, a register that may not be written (read-only), a full user
  // range and a wait for the lock that ran out; the register is then left as
  // it was. A new code is one that neither file uses yet.
  std::u32string code_for(std::u32string_view soil_name) { return code_of(soil_name).code; }
  // The same, with where the code came from.
  SoilCode code_of(std::u32string_view soil_name) override;

  // Copies KISHITU.TXT over the user dictionary that "Vaskor.ini" names
  // (section USER, key USER), under the same lock, and clears the record of
  // a copy due. Does nothing, silently, when the name is missing or refused
  // (companion_user_dictionary.h), the user dictionary is missing, empty or in
  // use, or the copy fails; the record then stays while the user dictionary
  // is in use or the copy failed.
  void refresh_companion_user_dictionary() const;
  // The same, only when an earlier run left a copy due: every run that may
  // write does this first.
  void complete_due_copy() const;

  // For tests of an interrupted register rebuild: `hook` is called after the
  // register's work file has been written and flushed and before it takes
  // the register's place; whatever it throws is handled like a failed rename.
  void set_before_register_replace_for_tests(std::function<void()> hook) { before_register_replace_ = std::move(hook); }
  // The same for the user dictionary's copy (a failure there is swallowed).
  void set_before_user_copy_replace_for_tests(std::function<void()> hook) {
    before_user_copy_replace_ = std::move(hook);
  }

 private:
  platform::FileLock lock_folder() const;
  SoilCode find_or_insert(std::u32string_view soil_name, const platform::FileLock& held);
  // Appends the line to KISHITU.TXT and copies it on to the user dictionary.
  // The record of the copy due covers the moments in between, so that a run
  // stopped there leaves the copy to the next.
  void add_to_dictionary(std::string_view content_before, std::string_view line) const;
  std::optional<ProgramPath> user_dictionary_to_copy() const;
  // The record is there (made now, or left before).
  bool mark_copy_due() const;
  // `due`: the record is there, and goes once the copy is made.
  void copy_to_user_dictionary(const std::optional<ProgramPath>& user_dictionary, bool due) const;

  ProgramPath folder_;
  ProgramPath dictionary_path_;
  ProgramPath register_path_;
  std::chrono::milliseconds lock_wait_;
  SoilFileCache dictionary_cache_;
  SoilFileCache register_cache_;
  std::function<void()> before_register_replace_;
  std::function<void()> before_user_copy_replace_;
};

// The value of a key of a settings file, trailing blanks removed; empty for a
// missing or empty file, a missing key or any failure.
std::u32string read_ini_value(std::u32string_view section, std::u32string_view key, const ProgramPath& file);

}  // namespace lodemark
