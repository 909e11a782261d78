// The per-borehole writers: three title files, the layer file and the
// depth-value file, each iteration into a new folder as in a run (replacing
// files in place costs more on ext4, which flushes a truncated file on close).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/micro_data.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/layer_file.h"
#include "kelmo/title_files.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() : native_(fs::temp_directory_path() / ("lodemark-micro-out-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(native_);
    path_ = platform_path(native_);
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(native_, ignored);
  }
  // A new borehole folder, as the run creates one.
  lodemark::platform::OutputFolder next() {
    const std::u32string folder = path_ + U"\\" + number(++count_);
    lodemark::platform::create_folder(folder);
    return lodemark::platform::OutputFolder(folder);
  }

 private:
  static std::u32string platform_path(const fs::path& native) {
    return lodemark::platform::to_program_path(native.string()).value();
  }
  static std::u32string number(long n) {
    std::u32string text;
    for (const char c : std::to_string(n)) text += static_cast<char32_t>(c);
    return text;
  }
  fs::path native_;
  std::u32string path_;
  long count_ = 0;
};

// A borehole of average size in the generated data, no alternating layer
// (the dictionary has benchmarks of its own).
std::vector<lodemark::Layer> layer_rows() {
  std::vector<lodemark::Layer> rows;
  const char32_t* codes[] = {U"04", U"05", U"08", U"06", U"09", U"03"};
  for (int i = 0; i < 22; ++i)
    rows.push_back(
        {U"   " + std::u32string(1, U'1' + static_cast<char32_t>(i % 9)) + U".35", U"0", codes[i % 6], U"  "});
  return rows;
}

std::vector<lodemark::DepthValue> value_rows() {
  std::vector<lodemark::DepthValue> rows;
  for (int i = 0; i < 35; ++i)
    rows.push_back({U"    " + std::u32string(1, U'1' + static_cast<char32_t>(i % 9)) + U".15", U"12"});
  return rows;
}

const lodemark::BoreholeHeader kHeader{U"32",       U"58",       U"32",  U"03", U"   24.45",
                                       U"   16.10", U"19981223", U" 22", U" 35"};
const lodemark::CatalogueEntry kEntry(U"1           東町００");

void BM_WriteTitleFiles(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    lodemark::platform::OutputFolder out = folder.next();
    lodemark::write_title_files(out, kEntry, kHeader);
  }
}
BENCHMARK(BM_WriteTitleFiles)->Unit(benchmark::kMicrosecond);

void BM_WriteLayerFile_22Rows(benchmark::State& state) {
  Folder folder;
  const std::vector<lodemark::Layer> rows = layer_rows();
  lodemark::SoilDictionary dictionary(lodemark::bench::GeneratedData::get(1).patdat());
  for (auto _ : state) {
    lodemark::platform::OutputFolder out = folder.next();
    lodemark::write_layer_file(out, rows, dictionary);
  }
}
BENCHMARK(BM_WriteLayerFile_22Rows)->Unit(benchmark::kMicrosecond);

void BM_WriteDepthValueFile_35Rows(benchmark::State& state) {
  Folder folder;
  const std::vector<lodemark::DepthValue> rows = value_rows();
  for (auto _ : state) {
    lodemark::platform::OutputFolder out = folder.next();
    lodemark::write_depth_value_file(out, rows);
  }
}
BENCHMARK(BM_WriteDepthValueFile_35Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
