// Reading the source database: every borehole's lines in list order, the
// scan for a borehole that is not there, and the whole catalogue.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/micro_data.h"
#include "rodev/catalogue.h"
#include "rodev/data_files.h"
#include "base/decimal.h"

namespace {

using lodemark::bench::GeneratedData;

constexpr std::int64_t kBoreholes = 2000;

std::vector<std::u32string> keys_of(const std::u32string& database) {
  int count = 0;
  std::vector<std::u32string> entries;
  lodemark::read_catalogue(database, count, entries);
  std::vector<std::u32string> keys;
  for (int i = 0; i < count; ++i) keys.push_back(entries[static_cast<std::size_t>(i)].substr(0, 8));
  return keys;
}

// What a run does per borehole between the writers: header, layers, values.
void BM_ReadAllBoreholes(benchmark::State& state) {
  const std::u32string db = GeneratedData::get(kBoreholes).database();
  const std::vector<std::u32string> keys = keys_of(db);
  for (auto _ : state) {
    auto headers = lodemark::SourceHandle::Open(db + U"\\Rodev1.Dat");
    auto layers = lodemark::SourceHandle::Open(db + U"\\Rodev2.Dat");
    auto values = lodemark::SourceHandle::Open(db + U"\\Rodev3.Dat");
    lodemark::BoreholeHeader header;
    for (const std::u32string& key : keys) {
      lodemark::read_borehole_header(headers, header, key);
      const int nl = lodemark::to_int16(lodemark::parse_decimal_or_zero(header[7]));
      const int nx = lodemark::to_int16(lodemark::parse_decimal_or_zero(header[8]));
      lodemark::LayerRows layer_rows(static_cast<std::size_t>(nl));
      lodemark::DepthValueRows value_rows(static_cast<std::size_t>(nx));
      lodemark::read_layers(layers, nl, layer_rows, key);
      lodemark::read_depth_values(values, nx, value_rows, key);
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
  auto layers = lodemark::SourceHandle::Open(db + U"\\Rodev2.Dat");
  lodemark::LayerRows rows(5);
  for (auto _ : state) lodemark::read_layers(layers, 5, rows, U"ABSENT  ");
  state.SetLabel("scans the layer lines of 2000 boreholes");
}
BENCHMARK(BM_ReadMissingBorehole)->Unit(benchmark::kMillisecond);

// The borehole list at the 16-bit limit.
void BM_ReadCatalogue_32767(benchmark::State& state) {
  const std::u32string db = GeneratedData::get(32767).database();
  for (auto _ : state) {
    int count = 0;
    std::vector<std::u32string> entries;
    lodemark::read_catalogue(db, count, entries);
    if (count != 32767) state.SkipWithError("catalogue not read whole");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_ReadCatalogue_32767)->Unit(benchmark::kMillisecond);

}  // namespace
