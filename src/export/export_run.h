#pragma once
// One export from the listed boreholes to a file, as `lodemark-cli export`
// and both windows make it: each borehole's preview gathered once, its rows
// added to the tables, the file written whole.
#include <cstddef>
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "base/program_path.h"
#include "export/export_file.h"
#include "export/export_tables.h"
#include "rodev/borehole.h"

namespace lodemark::preview {
class PreviewRun;
}

namespace lodemark::exports {

struct ExportChoice {
  Datum datum = Datum::Jgd2011;
  TableKind table = TableKind::Boreholes;
  ExportFormat format = ExportFormat::GeoJson;
};

// The tables a choice writes: the one asked for first; a format of several
// tables (a GeoPackage) gets the others too.
std::vector<TableKind> tables_for(const ExportChoice& choice);

struct ExportOutcome {
  std::size_t boreholes = 0;  // gathered
  std::size_t rows = 0;       // of the table asked for
  // A message for each borehole of a boreholes table left without a point.
  std::vector<std::u32string> left_out;
  std::size_t problems = 0;  // the check's, over all the boreholes
};

// Gathers `entries` through `run` (its list read) and writes `file`. Throws
// Failure; an earlier file then stays as it was.
ExportOutcome export_boreholes(preview::PreviewRun& run, const std::vector<CatalogueEntry>& entries,
                               const ExportChoice& choice, const ProgramPath& file, const std::u32string& map_title);

// The location map's title: the source folder as the user reads it, and the
// datum the positions were read in.
std::u32string map_title(std::u32string_view source_folder, Datum datum);

}  // namespace lodemark::exports
