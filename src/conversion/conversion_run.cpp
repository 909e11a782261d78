#include "conversion/conversion_run.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "rodev/data_files.h"
#include "kelmo/layer_file.h"
#include "soil_dictionary/dictionary_cache.h"
#include "kelmo/title_files.h"
#include "kelmo/depth_value_file.h"
#include "platform/byte_text.h"
#include "base/failure.h"
#include "base/decimal.h"
#include "conversion/destination_check.h"
#include "base/program_state.h"
#include "platform/string_file_services.h"

namespace lodemark {
namespace {

constexpr std::size_t kLogNoLength = 8;
constexpr std::size_t kPathSlots = 257;

void Clear_Status(RunWindow& window) { window.Set_Label3(U""); }

RunOutcome Refuse(RunWindow& window, std::u32string_view text, BoxStyle style, std::u32string_view title) {
  window.Show_Message(text, style, title);
  Clear_Status(window);
  return RunOutcome::Refused;
}

// The list indices of the selected entries, in list order. The entries' texts
// are taken from the list as each one is needed: the list cannot change while
// the run holds the window, and a copy of every text would double the memory
// that a long list takes.
std::vector<int> Collect_Selection(RunWindow& window) {
  std::vector<int> selection;
  const int count = window.List1_Count();
  for (int i = 0; i < count; ++i)
    if (window.List1_Selected(i)) selection.push_back(i);
  return selection;
}

std::u32string Log_No_Of(std::u32string_view entry) { return std::u32string(entry.substr(0, kLogNoLength)); }

std::u32string Hole_Name_Of(std::u32string_view entry) {
  return Trim(entry.substr(entry.size() > kLogNoLength ? entry.size() - kLogNoLength : 0));
}

// A trimmed LogNo names a folder under the destination; it must stay there.
bool Is_Safe_Folder_Name(std::u32string_view name) {
  if (name.empty() || name == U"." || name == U"..") return false;
  return std::none_of(name.begin(), name.end(), [](char32_t c) {
    return c < 0x20 || c == 0x7F || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
  });
}

// Asks once at the first missing level and creates every missing level from
// the top down; false when the user answers No.
bool Prepare_Destination(const std::u32string& normal, RunWindow& window) {
  const int separators = Count_Chars(normal, U"\\");
  std::vector<std::u32string> parts(std::max(kPathSlots, static_cast<std::size_t>(separators) + 2));
  Split_At_Chars(normal, U"\\", parts);
  const int last = separators + 1;

  bool missing = false;
  std::u32string path = parts[1];
  for (int j = 2; j <= last && !missing; ++j) {
    path += U"\\" + parts[static_cast<std::size_t>(j)];
    missing = !platform::exists(path);
  }
  if (!missing) return true;
  if (window.Show_Message(kCreateFolderQuestion, BoxStyle::YesNoQuestion, kAppTitle) != BoxAnswer::Yes) return false;

  path = parts[1];
  for (int j = 2; j <= last; ++j) {
    path += U"\\" + parts[static_cast<std::size_t>(j)];
    if (!platform::exists(path)) platform::create_folder(path);
  }
  return true;
}

int Count_Of(const std::u32string& field, std::u32string_view what, std::u32string_view log_no) {
  try {
    return To_Int16(Text_To_Num(field));
  } catch (const Failure& e) {
    throw Failure(std::u32string(what) + U"を読めません (地質柱状図番号 " + Trim(log_no) + U"): " + e.message());
  }
}

}  // namespace

RunOutcome Command1_Click(RunWindow& window) {
  if (window.List1_Count() < 1) return Refuse(window, kNoSourceData, BoxStyle::OkOnly, kAppTitle);

  window.Set_Label3(kConverting);
  window.Yield_Once();

  const std::u32string entered_destination = window.Text2_Text();
  std::u32string destination = entered_destination;
  if (!Check_Path(destination, window))
    return Refuse(window, kBadPath, BoxStyle::OkExclamation, entered_destination);

  const std::u32string source = window.Text1_Text();
  if (Trim(source).empty()) return Refuse(window, kNoSourceFolder, BoxStyle::OkOnly, kAppTitle);

  const std::vector<int> selection = Collect_Selection(window);
  if (selection.empty()) return Refuse(window, kNothingSelected, BoxStyle::OkOnly, kAppTitle);

  for (const int index : selection) {
    const std::u32string entry = window.List1_Text(index);
    if (!Is_Safe_Folder_Name(Trim(Log_No_Of(entry))))
      return Refuse(window, kBadLogNo + entry, BoxStyle::OkExclamation, kAppTitle);
  }

  if (!Prepare_Destination(destination, window)) {
    Clear_Status(window);
    return RunOutcome::Refused;
  }

  window.Set_Busy_Pointer(true);
  {
    const std::u32string folder = source.ends_with(U'\\') ? source : source + U"\\";
    SourceHandle headers = SourceHandle::Open(folder + U"Rodev1.Dat");
    SourceHandle layers = SourceHandle::Open(folder + U"Rodev2.Dat");
    SourceHandle values = SourceHandle::Open(folder + U"Rodev3.Dat");

    // Parses of the soil dictionaries, reused while their bytes stay the same.
    Soil_Dictionary_Cache dictionaries;
    const int total = static_cast<int>(selection.size());
    for (int k = 0; k < total; ++k) {
      const std::u32string entry = window.List1_Text(selection[static_cast<std::size_t>(k)]);
      const std::u32string log_no = Log_No_Of(entry);
      // The checked normal form, not the raw text: it is the folder that was
      // just verified and created.
      platform::OutputFolder borehole_folder = platform::OutputFolder::Create(destination + Trim(log_no));

      // Fresh fields for every borehole: a missing header line must not
      // lend the previous borehole's counts and coordinates.
      HeaderFields header{};
      Read_Hole_Header(headers, header, log_no);
      const int layer_count = Count_Of(header[7], U"層数", log_no);
      const int value_count = Count_Of(header[8], U"深度データ数", log_no);

      LayerRows layer_rows(static_cast<std::size_t>(std::max(layer_count, 0)));
      X5Rows value_rows(static_cast<std::size_t>(std::max(value_count, 0)));
      if (layer_count >= 1) Read_Layer_Records(layers, layer_count, layer_rows, log_no);
      if (value_count >= 1) Read_X5_Records(values, value_count, value_rows, log_no);

      Write_Title_Files(borehole_folder, log_no, Hole_Name_Of(entry), header);
      if (layer_count >= 1) Write_Layer_File(borehole_folder, layer_count, layer_rows, dictionaries);
      if (value_count >= 1) Write_X5_File(borehole_folder, value_count, value_rows);
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
