#include "export/export_run.h"

#include "export/borehole_locations.h"
#include "preview/preview_run.h"

namespace lodemark::exports {

std::vector<TableKind> tables_for(const ExportChoice& choice) {
  std::vector<TableKind> kinds = {choice.table};
  if (choice.format == ExportFormat::Gdal)
    for (const TableRow& row : kTables)
      if (row.kind != choice.table) kinds.push_back(row.kind);
  return kinds;
}

ExportOutcome export_boreholes(preview::PreviewRun& run, const std::vector<CatalogueEntry>& entries,
                               const ExportChoice& choice, const ProgramPath& file, const std::u32string& map_title) {
  const std::vector<TableKind> kinds = tables_for(choice);
  std::vector<FeatureTable> tables;
  for (const TableKind kind : kinds) tables.push_back(empty_table(kind));
  ExportWriter writer(file, choice.format, tables, map_title);
  ExportOutcome outcome;
  run.gather(entries, [&](std::size_t, const preview::BoreholePreview& borehole) {
    const BoreholeLocation location = borehole_location(borehole, choice.datum);
    ++outcome.boreholes;
    outcome.problems += location.problems;
    // A borehole without a position is no point; its layers still are rows.
    if (!location.left_out.empty() && choice.table == TableKind::Boreholes)
      outcome.left_out.push_back(location.left_out);
    // Each borehole's rows go to the writer as they are made.
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      add_rows(tables[k], kinds[k], location, borehole);
      if (k == 0) outcome.rows += tables[k].features.size();
      writer.add(k, tables[k]);
    }
  });
  writer.write();
  return outcome;
}

std::u32string map_title(std::u32string_view source_folder, Datum datum) {
  // The points are JGD2011 whatever the datum read in: say both.
  return std::u32string(source_folder) + U"  " + std::u32string(datum_row(datum).label) + U" → JGD2011";
}

}  // namespace lodemark::exports
