#include "conversion/conversion_run.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "rodev/data_files.h"
#include "kelmo/layer_file.h"
#include "soil_dictionary/dictionary_cache.h"
#include "kelmo/title_files.h"
#include "kelmo/depth_value_file.h"
#include "base/failure.h"
#include "base/decimal.h"
#include "conversion/destination_check.h"
#include "base/program_state.h"
#include "base/text.h"
#include "platform/files.h"
#include "base/messages.h"

namespace lodemark {
namespace {

void clear_status(RunWindow& window) { window.Set_Label3(U""); }

RunOutcome refuse(RunWindow& window, std::u32string_view text, BoxStyle style, std::u32string_view title) {
  window.show_message(text, style, title);
  clear_status(window);
  return RunOutcome::Refused;
}

// The list indices of the selected entries, in list order. The entries' texts
// are taken from the list as each one is needed: the list cannot change while
// the run holds the window, and a copy of every text would double the memory
// that a long list takes.
std::vector<int> collect_selection(RunWindow& window) {
  std::vector<int> selection;
  const int count = window.List1_Count();
  for (int i = 0; i < count; ++i)
    if (window.List1_Selected(i)) selection.push_back(i);
  return selection;
}

// A trimmed LogNo names a folder under the destination; it must stay there.
bool is_safe_folder_name(std::u32string_view name) {
  if (name.empty() || name == U"." || name == U"..") return false;
  return std::none_of(name.begin(), name.end(), [](char32_t c) {
    return c < 0x20 || c == 0x7F || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
  });
}

// Asks once at the first missing level and creates every missing level from
// the top down; false when the user answers No.
bool prepare_destination(const ProgramPath& normal, RunWindow& window) {
  const std::vector<std::u32string> parts = normal.parts();
  bool missing = false;
  std::u32string path(parts[0]);
  for (std::size_t j = 1; j < parts.size() && !missing; ++j) {
    (path += U'\\') += parts[j];
    missing = !platform::exists(path);
  }
  if (!missing) return true;
  if (window.show_message(kCreateFolderQuestion, BoxStyle::YesNoQuestion, kAppTitle) != BoxAnswer::Yes) return false;

  path = parts[0];
  for (std::size_t j = 1; j < parts.size(); ++j) {
    (path += U'\\') += parts[j];
    if (!platform::exists(path)) platform::create_folder(path);
  }
  return true;
}

int row_count(const std::u32string& field, std::u32string_view what, std::u32string_view log_no) {
  try {
    return to_int16(parse_decimal_or_zero(field));
  } catch (const Failure& e) {
    throw Failure(std::u32string(what) + kCannotReadCountLead + trim_spaces(log_no) + U"): " + e.message());
  }
}

}  // namespace

RunOutcome Command1_Click(RunWindow& window) {
  if (window.List1_Count() < 1) return refuse(window, kNoSourceData, BoxStyle::OkOnly, kAppTitle);

  window.Set_Label3(kConverting);
  window.Yield_Once();

  const std::u32string entered_destination = window.Text2_Text();
  const auto checked = check_destination(entered_destination, window);
  if (!checked)
    return refuse(window, kBadPath, BoxStyle::OkExclamation, entered_destination);

  const std::u32string source = window.Text1_Text();
  if (trim_spaces(source).empty()) return refuse(window, kNoSourceFolder, BoxStyle::OkOnly, kAppTitle);

  const std::vector<int> selection = collect_selection(window);
  if (selection.empty()) return refuse(window, kNothingSelected, BoxStyle::OkOnly, kAppTitle);

  for (const int index : selection) {
    const CatalogueEntry entry(window.List1_Text(index));
    if (!is_safe_folder_name(entry.folder_name()))
      return refuse(window, kBadBoreholeNumber + entry.display_text(), BoxStyle::OkExclamation, kAppTitle);
  }

  const std::u32string& destination = checked->text();
  if (!prepare_destination(*checked, window)) {
    clear_status(window);
    return RunOutcome::Refused;
  }

  window.Set_Busy_Pointer(true);
  {
    const std::u32string folder = source.ends_with(U'\\') ? source : source + U"\\";
    SourceFile headers = SourceFile::open(folder + U"Rodev1.Dat");
    SourceFile layers = SourceFile::open(folder + U"Rodev2.Dat");
    SourceFile values = SourceFile::open(folder + U"Rodev3.Dat");

    // Parses of the soil dictionaries, reused while their bytes stay the same.
    SoilDictionaryCache dictionaries;
    const int total = static_cast<int>(selection.size());
    for (int k = 0; k < total; ++k) {
      const CatalogueEntry entry(window.List1_Text(selection[static_cast<std::size_t>(k)]));
      const std::u32string log_no = entry.number();
      // The checked normal form, not the raw text: it is the folder that was
      // just verified and created.
      platform::OutputFolder borehole_folder = platform::OutputFolder::Create(destination + entry.folder_name());

      // Fresh fields for every borehole: a missing header line must not
      // lend the previous borehole's counts and coordinates.
      const BoreholeHeader header = read_borehole_header(headers, log_no).value_or(BoreholeHeader{});
      const int layer_count = row_count(header.layer_count, kLayerCountName, log_no);
      const int value_count = row_count(header.depth_value_count, kDepthValueCountName, log_no);

      std::vector<Layer> layer_rows;
      std::vector<DepthValue> value_rows;
      if (layer_count >= 1) layer_rows = read_layers(layers, log_no, layer_count);
      if (value_count >= 1) value_rows = read_depth_values(values, log_no, value_count);

      write_title_files(borehole_folder, entry, header);
      if (layer_count >= 1) write_layer_file(borehole_folder, layer_rows, dictionaries);
      if (value_count >= 1) write_depth_value_file(borehole_folder, value_rows);
      window.Borehole_Done(k + 1, total);
    }
  }

  window.Refresh_Folder_View(FolderView::Dir1);
  window.Refresh_Folder_View(FolderView::Dir2);
  MsgShownFlag = 1;
  window.Set_Label3(kDone);
  window.Set_Busy_Pointer(false);
  return RunOutcome::Converted;
}

}  // namespace lodemark
