#pragma once
// The three title files of a borehole: fixed columns of line slots holding
// its position, name, header texts, grid square code and number.
#include <string>
#include <string_view>

#include "platform/files.h"
#include "rodev/data_files.h"

namespace lodemark {

// Replaces "Titl01.txt", "Titl02.txt" and "Titl03.txt" in the folder (given
// without a trailing "\"). The source holds only minutes and seconds; the
// degrees are 35 (latitude) and 139 (longitude) throughout. Texts are written
// as held, blanks included. Throws platform::FileError when a file cannot be
// written; files written before it stay.
void write_title_files(std::u32string_view folder, std::u32string_view log_no, std::u32string_view hole_name,
                       const BoreholeHeader& header);
void write_title_files(platform::OutputFolder& folder, std::u32string_view log_no,
                       std::u32string_view hole_name, const BoreholeHeader& header);

// Third-level (1 km) standard grid square code of the position, e.g.
// "53394611"; "00000000" when the latitude or the longitude is 0 (or not a
// finite number).
std::u32string grid_square_code(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min,
                             float lon_sec);

}  // namespace lodemark
