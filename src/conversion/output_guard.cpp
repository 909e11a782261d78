#include "conversion/output_guard.h"

#include <span>

#include "base/file_names.h"
#include "base/messages.h"
#include "platform/file_identity.h"
#include "platform/whole_file.h"

namespace lodemark {
namespace {

constexpr std::u32string_view kSourceFiles[] = {kHeaderFile, kLayerFile, kDepthValueFile, kCatalogueFile};
// Also found where a hard link to them lies outside the folder.
constexpr std::u32string_view kPatternDataFiles[] = {kSoilDictionaryFile, kSoilNameRegisterFile,
                                                     kCompanionSettingsFile};

bool is_one_of(const ProgramPath& path, const ProgramPath& folder, std::span<const std::u32string_view> names) {
  for (const std::u32string_view name : names)
    if (platform::same_entry(path, folder.as_folder() / name)) return true;
  return false;
}

std::optional<std::u32string_view> pattern_data_refusal(const ProgramPath& path, const GuardedInputs& inputs) {
  if (!inputs.pattern_data_folder) return std::nullopt;
  const ProgramPath& folder = *inputs.pattern_data_folder;
  if (platform::lies_inside(path, folder) || is_one_of(path, folder, kPatternDataFiles)) return kOutputInPatternData;
  return std::nullopt;
}

}  // namespace

std::optional<std::u32string_view> output_file_refusal(const ProgramPath& path, const GuardedInputs& inputs) {
  if (const auto refusal = platform::whole_file_refusal(path)) return refusal;
  if (inputs.source_folder && is_one_of(path, *inputs.source_folder, kSourceFiles)) return kOutputIsSourceFile;
  return pattern_data_refusal(path, inputs);
}

std::optional<std::u32string_view> output_folder_refusal(const ProgramPath& folder, const GuardedInputs& inputs) {
  switch (platform::entry_kind(folder)) {
    case platform::EntryKind::Missing:
    case platform::EntryKind::Folder:
      return pattern_data_refusal(folder, inputs);
    case platform::EntryKind::DanglingLink:
      return kOutputDanglingLink;
    case platform::EntryKind::RegularFile:
    case platform::EntryKind::Other:
      break;
  }
  return kOutputNotFolder;
}

std::optional<std::u32string_view> file_in_output_folder_refusal(const ProgramPath& path) {
  if (platform::is_link(path)) return kOutputIsLink;
  return platform::whole_file_refusal(path);
}

}  // namespace lodemark
