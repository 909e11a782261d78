// Reading the source database: every borehole's lines in list order, the
// scan for a borehole that is not there, and the whole catalogue.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "base/decimal.h"
#include "bench/micro_data.h"
#include "rodev/catalogue.h"
#include "rodev/data_files.h"

namespace {

using lodemark::bench::GeneratedData;

constexpr std::int64_t kBoreholes = 2000;

std::vector<std::u32string> keys_of(const std::u32string& database) {
  std::vector<std::u32string> keys;
  for (const lodemark::CatalogueEntry& entry : lodemark::read_catalogue(database)) keys.push_back(entry.number());
  return keys;
}

// What a run does per borehole between the writers: header, layers, values.
void BM_ReadAllBoreholes(benchmark::State& state) {
  const std::u32string db = GeneratedData::get(kBoreholes).database();
  const std::vector<std::u32string> keys = keys_of(db);
  for (auto _ : state) {
    auto headers = lodemark::SourceFile::open(db + U"\\Rodev1.Dat");
    auto layers = lodemark::SourceFile::open(db + U"\\Rodev2.Dat");
    auto values = lodemark::SourceFile::open(db + U"\\Rodev3.Dat");
    for (const std::u32string& key : keys) {
      const lodemark::BoreholeHeader header =
          lodemark::read_borehole_header(headers, key).value_or(lodemark::BoreholeHeader{});
      const int nl = lodemark::to_int16(lodemark::parse_decimal_or_zero(header.layer_count));
      const int nx = lodemark::to_int16(lodemark::parse_decimal_or_zero(header.depth_value_count));
      const std::vector<lodemark::Layer> layer_rows = lodemark::read_layers(layers, key, nl);
      const std::vector<lodemark::DepthValue> value_rows = lodemark::read_depth_values(values, key, nx);
      benchmark::DoNotOptimize(layer_rows.data());
      benchmark::DoNotOptimize(value_rows.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(keys.size()));
  state.SetLabel("items = boreholes");
}
BENCHMARK(BM_ReadAllBoreholes)->Unit(benchmark::kMillisecond);

// A borehole missing from the layer file: one scan to the end and back.
void BM_ReadMissingBorehole(benchmark::State& state) {
  const std::u32string db = GeneratedData::get(kBoreholes).database();
  auto layers = lodemark::SourceFile::open(db + U"\\Rodev2.Dat");
  for (auto _ : state) benchmark::DoNotOptimize(lodemark::read_layers(layers, U"ABSENT  ", 5));
  state.SetLabel("scans the layer lines of 2000 boreholes");
}
BENCHMARK(BM_ReadMissingBorehole)->Unit(benchmark::kMillisecond);

// The borehole list at the 16-bit limit.
void BM_ReadCatalogue_32767(benchmark::State& state) {
  const std::u32string db = GeneratedData::get(32767).database();
  for (auto _ : state) {
    const std::vector<lodemark::CatalogueEntry> entries = lodemark::read_catalogue(db);
    if (entries.size() != 32767) state.SkipWithError("catalogue not read whole");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_ReadCatalogue_32767)->Unit(benchmark::kMillisecond);

}  // namespace
