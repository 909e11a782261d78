#pragma once
// The target system's soil-name dictionary KISHITU.TXT, its soil-name
// register XKISHITU.TXT (user codes 1000-3999 first, then the codes of 4000
// and more) and the companion application's user dictionary, all in
// PatdatFolder. Every call reads the files afresh: other programs of the
// target system share them.
#include <string>
#include <string_view>

#include "soil_dictionary/dictionary_cache.h"

namespace lodemark {

// Sets NewCode to the code of the soil name: from KISHITU.TXT (name as
// given), else from XKISHITU.TXT (name trimmed; the record is then appended
// to KISHITU.TXT), else a new user code that is inserted into the register,
// appended to KISHITU.TXT and copied on to the user dictionary. Throws
// Failure (or platform::FileError) naming the file for a missing dictionary
// or register, a record cut short by the end of its file, a name that cannot
// be written, and a full user range; the register is then left as it was.
void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode);
// The same, reusing the parses `cache` holds wherever a file's bytes are
// unchanged since they were parsed; the files are still read in full.
void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode, SoilDictionaryCache& cache);

// Copies KISHITU.TXT over the user dictionary that "Vaskor.ini" names
// (section USER, key USER). Does nothing, silently, when the name is missing,
// the user dictionary is missing, empty or in use, or the copy fails.
void refresh_companion_user_dictionary();

// The value of a key of a settings file, trailing blanks removed; empty for a
// missing or empty file, a missing key or any failure.
std::u32string read_ini_value(std::u32string_view strSect, std::u32string_view strEnt,
                                std::u32string_view vstrFN);

}  // namespace lodemark
