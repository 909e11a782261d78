#include "preview/preview_run.h"

#include <utility>

#include "conversion/dictionary_preview.h"
#include "conversion/source_check.h"

namespace lodemark::preview {

void gather_previews(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
                     const std::vector<CatalogueEntry>& entries, const std::optional<std::u32string>& number,
                     const std::function<void(std::size_t, BoreholePreview)>& each) {
  CheckRequest request;
  request.source_folder = source_folder;
  request.pattern_data_folder = pattern_data_folder;
  if (number) request.selection.insert(*number);
  ProblemsByBorehole problems;
  check_source(request, problems);

  SourceFiles files = SourceFiles::open(source_folder);
  DictionaryPreview dictionary(pattern_data_folder);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    BoreholePreview borehole = gather_preview(entries[k], files, dictionary);
    borehole.problems = problems.of(entries[k].folder_name());
    each(k, std::move(borehole));
  }
}

std::optional<BoreholePreview> preview_of_number(const ProgramPath& source_folder,
                                                 const ProgramPath& pattern_data_folder,
                                                 std::vector<CatalogueEntry> entries, const std::u32string& number) {
  std::erase_if(entries, [&](const CatalogueEntry& entry) { return entry.folder_name() != number; });
  if (entries.empty()) return std::nullopt;
  std::optional<BoreholePreview> last;
  gather_previews(source_folder, pattern_data_folder, entries, number,
                  [&](std::size_t, BoreholePreview borehole) { last = std::move(borehole); });
  return last;
}

}  // namespace lodemark::preview
