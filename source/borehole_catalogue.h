#pragma once
// The borehole list of a source folder, built from its catalogue
// "Rodev5.Dat": one entry per 24-byte record, showing the record's number
// (bytes 1-8) and name (bytes 17-24) in byte-wide columns.
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

inline constexpr char32_t kCatalogueHeading[] = U"地質柱状図番号 ボーリング孔名";

// Sets count to 0, then lists every record of the folder's catalogue in file
// order: entries holds exactly count texts of 20 bytes each (bytes 1-8, four
// spaces, bytes 17-24). A catalogue that is missing, empty, unreadable or
// whose first line is not a record gives count 0 and leaves entries as
// passed. The folder may end with "\" or not.
void Fill_Borehole_List(std::u32string_view folder, int& count, std::vector<std::u32string>& entries);

}  // namespace lodemark
