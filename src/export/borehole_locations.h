#pragma once
// Where a borehole is and what it holds, for a map or a spreadsheet: the
// position as the source stores it and as read in the datum the user names,
// carried to JGD2011, with the counts of what a conversion writes of it.
// Made from the borehole's preview (preview/preview_run.h), so that the
// source is read once, as the check and the preview read it.
#include <cstddef>
#include <optional>
#include <string>

#include "base/geodesy.h"
#include "kelmo/title_files.h"
#include "preview/borehole_preview.h"

namespace lodemark::exports {

struct BoreholeLocation {
  std::u32string number;  // trimmed, as the output folder is named
  std::u32string name;    // trimmed, as Titl02.txt carries it
  // The position as stored (degrees 35 and 139 as the database implies) and
  // the grid square code that the conversion writes.
  TitleData title;
  Datum datum = Datum::Jgd2011;  // what the position was read in
  // Nothing when the position is not usable (left_out says why).
  std::optional<LatLon> read;     // in `datum`
  std::optional<LatLon> jgd2011;  // `read` carried to JGD2011
  std::u32string grid_jgd2011;    // the code of `jgd2011`; empty without it
  // The bottom of the deepest layer, in metres; nothing without layers.
  std::optional<double> deepest;
  // The layer and depth-value lines present that the conversion writes:
  // the empty rows a count larger than the lines adds are not counted (the
  // check reports the difference).
  std::size_t layers = 0, values = 0;
  std::size_t problems = 0;  // the check's problems of the borehole
  // Why the borehole has no point: its number and the check's messages of
  // its position; empty when it has one.
  std::u32string left_out;
};

// The stored minutes and seconds with the degrees 35 and 139, in decimal
// degrees summed as the conversion sums them; nothing unless all four are
// numbers from 0 up to 60, as the check wants them (a blank position is not
// 35° N 139° E).
std::optional<LatLon> usable_position(const TitleData& title);

BoreholeLocation borehole_location(const preview::BoreholePreview& borehole, Datum datum);

}  // namespace lodemark::exports
