#pragma once
// The three title files of a borehole: fixed columns of line slots holding
// its position, name, header texts, grid square code and number.
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "platform/output_files.h"
#include "rodev/borehole.h"

namespace lodemark {

// What the title files carry of a borehole, as written.
struct TitleData {
  std::u32string latitude_degrees, latitude_minutes, latitude_seconds;
  std::u32string longitude_degrees, longitude_minutes, longitude_seconds;
  std::u32string hole_name;  // trimmed
  std::u32string number;     // untrimmed
  std::u32string grid_square_code;
};
TitleData title_data(const CatalogueEntry& entry, const BoreholeHeader& header);

// The position in decimal degrees that the title files state: the degrees
// fixed for the whole database plus the stored minutes and seconds, a field
// that is not a number counting as 0. In whatever datum the database is.
LatLon stored_position(const BoreholeHeader& header);

// "Titl01.txt", "Titl02.txt" and "Titl03.txt", in that order. The source
// holds only minutes and seconds; the degrees are 35 (latitude) and 139
// (longitude) throughout. Texts are written as held, blanks included; the
// entry gives the hole name (trimmed) and the number (untrimmed).
std::vector<platform::OutputFile> title_files(const CatalogueEntry& entry, const BoreholeHeader& header);

// Replaces the three title files in the folder (platform::write_output_files).
void write_title_files(platform::OutputFolder& folder, const CatalogueEntry& entry, const BoreholeHeader& header);

}  // namespace lodemark
