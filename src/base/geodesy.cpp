#include "base/geodesy.h"

namespace lodemark {

std::optional<Datum> datum_named(std::string_view name) {
  for (const DatumRow& row : kDatums)
    if (row.name == name) return row.datum;
  return std::nullopt;
}

const DatumRow& datum_row(Datum datum) {
  for (const DatumRow& row : kDatums)
    if (row.datum == datum) return row;
  return kDatums[0];
}

// Until the datum shift is written: the position as read.
LatLon to_jgd2011(LatLon position, Datum) { return position; }

}  // namespace lodemark
