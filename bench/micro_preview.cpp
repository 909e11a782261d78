// The preview of one borehole once its data is read: the layout, and each
// format's drawing and encoding. The command's own time adds the reading,
// the check and, for PNG and PDF, the one-off font set-up of the process.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "bench/micro_data.h"
#include "preview/layout.h"
#include "preview/preview_run.h"
#include "render/picture_file.h"
#include "rodev/catalogue.h"

namespace {

using lodemark::bench::GeneratedData;

const lodemark::preview::BoreholePreview& one_borehole() {
  static const lodemark::preview::BoreholePreview borehole = [] {
    const GeneratedData& data = GeneratedData::get(1000);
    std::vector<lodemark::CatalogueEntry> entries = lodemark::read_catalogue(data.database());
    const std::u32string number = entries[entries.size() / 2].folder_name();
    return lodemark::preview::preview_of_number(data.database(), data.patdat(), std::move(entries), number).value();
  }();
  return borehole;
}

void BM_PreviewLayout(benchmark::State& state) {
  const lodemark::preview::BoreholePreview& borehole = one_borehole();
  for (auto _ : state) benchmark::DoNotOptimize(lodemark::preview::lay_out(borehole).picture.shapes.size());
}
BENCHMARK(BM_PreviewLayout)->Unit(benchmark::kMillisecond);

// A 45 m borehole at 1:100: 90 layers of 0.5 m, one alternating in five,
// and a value every metre; the whole picture and the A4 pages.
const lodemark::preview::BoreholePreview& deep_borehole() {
  static const lodemark::preview::BoreholePreview borehole = [] {
    constexpr std::u32string_view kClasses[] = {U"4505", U"4503", U"4506", U"4504", U"4501"};
    lodemark::preview::BoreholePreview deep;
    for (int k = 0; k < 90; ++k) {
      lodemark::preview::PreviewLayer layer;
      layer.top = 0.5 * k;
      layer.bottom = 0.5 * (k + 1);
      layer.depth_text = lodemark::from_utf8(std::to_string(layer.bottom));
      layer.name = U"砂質シルト";
      layer.soil_class = kClasses[k % 5];
      layer.alternating = k % 5 == 1;
      if (layer.alternating) layer.second_soil_class = kClasses[0];
      deep.layers.push_back(std::move(layer));
    }
    for (int metre = 1; metre <= 45; ++metre)
      deep.values.push_back({.depth = metre + 0.15, .value = (metre * 7) % 60, .value_text = U"v"});
    return deep;
  }();
  return borehole;
}

void BM_PreviewLayoutDeep(benchmark::State& state) {
  const bool pages = state.range(0) != 0;
  for (auto _ : state) {
    if (pages)
      benchmark::DoNotOptimize(lodemark::preview::lay_out_pages(deep_borehole(), {}).size());
    else
      benchmark::DoNotOptimize(lodemark::preview::lay_out(deep_borehole()).picture.shapes.size());
  }
}
BENCHMARK(BM_PreviewLayoutDeep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Layout and the file's bytes, as the window's save and `--all` do per picture.
void BM_PreviewPicture(benchmark::State& state) {
  const auto format = static_cast<lodemark::render::PictureFormat>(state.range(0));
  if (!lodemark::render::can_write(format)) {
    state.SkipWithError("this build cannot write the format");
    return;
  }
  const lodemark::preview::BoreholePreview& borehole = one_borehole();
  for (auto _ : state)
    benchmark::DoNotOptimize(lodemark::render::picture_bytes(lodemark::preview::lay_out(borehole).picture, format));
}
BENCHMARK(BM_PreviewPicture)
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Svg))
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Png))
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Pdf))
    ->Unit(benchmark::kMillisecond);

}  // namespace
