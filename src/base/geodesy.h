#pragma once
// Geodetic datums of a borehole's position and the shift between them. The
// source database does not say in which datum its positions were surveyed:
// the user says it, and every position is carried to JGD2011 (which WGS84
// users may take as it is) by the program's own arithmetic.
#include <optional>
#include <string_view>

namespace lodemark {

enum class Datum { Tokyo, Jgd2000, Jgd2011 };

struct DatumRow {
  Datum datum;
  std::string_view name;      // as the command line and settings spell it: "tokyo"
  std::u32string_view label;  // as a user reads it: "日本測地系 (Tokyo Datum)"
};
inline constexpr DatumRow kDatums[] = {
    {Datum::Tokyo, "tokyo", U"日本測地系 (Tokyo Datum)"},
    {Datum::Jgd2000, "jgd2000", U"世界測地系 JGD2000"},
    {Datum::Jgd2011, "jgd2011", U"世界測地系 JGD2011"},
};
std::optional<Datum> datum_named(std::string_view name);  // any case
const DatumRow& datum_row(Datum datum);

// Geographic coordinates in decimal degrees, north and east positive.
struct LatLon {
  double latitude = 0, longitude = 0;
  friend bool operator==(const LatLon&, const LatLon&) = default;
};

// The position read in `datum` carried to JGD2011: Tokyo Datum to JGD2000 by
// the published geocentric translation (EPSG:15483: Bessel 1841 to GRS80,
// dX -146.414 m, dY +507.337 m, dZ +680.507 m), JGD2000 to JGD2011 as the
// identity (they differ only where the 2011 earthquake moved the ground, by
// far less than the database's one second of arc).
LatLon to_jgd2011(LatLon position, Datum datum);

}  // namespace lodemark
