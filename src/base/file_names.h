#pragma once
// The names of the files that the program reads and writes, as the source
// database, the target system and its companion application spell them.
#include <cstdint>
#include <string_view>

namespace lodemark {

// The source database.
inline constexpr std::u32string_view kHeaderFile = U"Rodev1.Dat";
inline constexpr std::u32string_view kLayerFile = U"Rodev2.Dat";
inline constexpr std::u32string_view kDepthValueFile = U"Rodev3.Dat";
inline constexpr std::u32string_view kCatalogueFile = U"Rodev5.Dat";

// Per borehole, in its output folder.
inline constexpr std::u32string_view kLayerOutputFile = U"X1.txt";
inline constexpr std::u32string_view kDepthValueOutputFile = U"X5.txt";
inline constexpr std::u32string_view kTitleFile1 = U"Titl01.txt";
inline constexpr std::u32string_view kTitleFile2 = U"Titl02.txt";
inline constexpr std::u32string_view kTitleFile3 = U"Titl03.txt";

// In the pattern-data folder.
inline constexpr std::u32string_view kSoilDictionaryFile = U"KISHITU.TXT";
// The same file as the copy to the companion's user dictionary has always
// spelt it; the two find different files only where case variants of the
// name lie side by side.
inline constexpr std::u32string_view kSoilDictionaryFileAsCopied = U"Kishitu.txt";
inline constexpr std::u32string_view kSoilNameRegisterFile = U"XKISHITU.TXT";
// The register's work files: this name, then "." and the process number, "."
// and a random number, so that runs side by side never share one.
inline constexpr std::u32string_view kSoilNameRegisterWorkFile = U"XKISHITU.TMP";
inline constexpr std::u32string_view kCompanionSettingsFile = U"Vaskor.ini";
// The work files that replace the companion's user dictionary: its name plus
// this, then the same unique ending.
inline constexpr std::u32string_view kWorkFileSuffix = U".TMP";
// Present while the user dictionary is due a copy of KISHITU.TXT: written
// before KISHITU.TXT changes, removed once the copy is complete, so that a
// run stopped in between leaves the copy to the next one.
inline constexpr std::u32string_view kUserCopyDueFile = U"KISHITU-COPY.PENDING";

// In the system folder.
inline constexpr std::u32string_view kSettingsFile = U"ZidereV5.ini";

// The most bytes read of files that others write, far above real data, so
// that a damaged or wrongly named file (a disk image, a device) is refused
// with a message instead of filling the memory.
inline constexpr std::uint64_t kMaxCatalogueBytes = 64u << 20;       // 2.5 million records
inline constexpr std::uint64_t kMaxSoilDictionaryBytes = 64u << 20;  // each dictionary and the register
inline constexpr std::uint64_t kMaxSettingsBytes = 1u << 20;         // ZidereV5.ini, Vaskor.ini

}  // namespace lodemark
