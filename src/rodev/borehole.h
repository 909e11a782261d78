#pragma once
// What the source database holds for one borehole: its catalogue entry, the
// header line and the layer and depth-value lines, every field a text as the
// files hold it.
#include <string>
#include <string_view>
#include <utility>

namespace lodemark {

// A borehole as the list shows it: the 20-byte text "bytes 1-8, four spaces,
// bytes 17-24" of its catalogue record, decoded as a whole. The list holds
// these texts and the run takes them back from it, so the entry keeps the
// text and reads the number and the name out of it.
class CatalogueEntry {
 public:
  CatalogueEntry() = default;
  explicit CatalogueEntry(std::u32string display_text) : text_(std::move(display_text)) {}

  // The text the list shows.
  const std::u32string& display_text() const { return text_; }
  // The first 8 characters, untrimmed: the key of the borehole's lines in
  // the data files and the number written to the title file.
  std::u32string number() const;
  // The last 8 characters (the whole text when it is shorter), untrimmed.
  std::u32string name() const;
  // The number without surrounding blanks: the borehole's output folder.
  std::u32string folder_name() const;
  // The name without surrounding blanks, as the title file carries it.
  std::u32string hole_name() const;

  friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;

 private:
  std::u32string text_;
};

// The fields of a borehole's header line.
struct BoreholeHeader {
  std::u32string latitude_minutes;
  std::u32string latitude_seconds;
  std::u32string longitude_minutes;
  std::u32string longitude_seconds;
  // Texts that Titl02.txt carries as they are, on lines 19, 20 and 23.
  std::u32string title2_line19;
  std::u32string title2_line20;
  std::u32string title2_line23;
  // How many layer lines and depth-value lines the borehole has, as texts.
  std::u32string layer_count;
  std::u32string depth_value_count;
};

// One layer line: its depth, the flag that reads as 1 for an alternation of
// two soils, and the two soil codes.
struct Layer {
  std::u32string depth;
  std::u32string alternation_flag;
  std::u32string soil_code;
  std::u32string second_soil_code;
};

// One depth-value line.
struct DepthValue {
  std::u32string depth;
  std::u32string value;
};

}  // namespace lodemark
