#include "preview/preview_run.h"

#include <utility>

#include "conversion/dictionary_preview.h"

namespace lodemark::preview {
namespace {

CheckRequest check_request(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
                           const std::optional<std::u32string>& number) {
  CheckRequest request;
  request.source_folder = source_folder;
  request.pattern_data_folder = pattern_data_folder;
  if (number) request.selection.insert(*number);
  return request;
}

}  // namespace

PreviewRun::PreviewRun(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
                       const std::optional<std::u32string>& number)
    : source_folder_(source_folder),
      pattern_data_folder_(pattern_data_folder),
      check_(check_request(source_folder, pattern_data_folder, number)) {}

void PreviewRun::read_list(const std::function<void(CatalogueEntry)>& listed) {
  check_.check_catalogue(problems_, listed);
}

void PreviewRun::gather(const std::vector<CatalogueEntry>& entries,
                        const std::function<void(std::size_t, BoreholePreview)>& each) {
  // The copies as read, before the check's lookups plan codes in its own.
  DictionaryPreview dictionary(pattern_data_folder_, check_.dictionaries(problems_));
  SourceFiles files = SourceFiles::open(source_folder_);
  check_.check_data_files(problems_, &files);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    BoreholePreview borehole = gather_preview(entries[k], files, dictionary);
    borehole.problems = problems_.of(entries[k].folder_name());
    each(k, std::move(borehole));
  }
}

void gather_previews(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
                     const std::vector<CatalogueEntry>& entries, const std::optional<std::u32string>& number,
                     const std::function<void(std::size_t, BoreholePreview)>& each) {
  PreviewRun run(source_folder, pattern_data_folder, number);
  run.read_list({});
  run.gather(entries, each);
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
