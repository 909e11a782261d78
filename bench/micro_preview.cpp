// The preview of one borehole once its data is read: the layout, and each
// format's drawing and encoding. The command's own time adds the reading,
// the check and, for PNG and PDF, the one-off font set-up of the process.
#include <benchmark/benchmark.h>

#include <cstdio>
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

// The sheet's file, as the window's save and `--all` do per picture: its
// layout and the format's bytes.
void BM_PreviewPicture(benchmark::State& state) {
  const auto format = static_cast<lodemark::render::PictureFormat>(state.range(0));
  if (!lodemark::render::can_write(format)) {
    state.SkipWithError("this build cannot write the format");
    return;
  }
  const lodemark::preview::BoreholePreview& borehole = one_borehole();
  for (auto _ : state)
    benchmark::DoNotOptimize(
        lodemark::render::sheet_bytes(lodemark::render::sheet_pictures(borehole, {}, format), format));
}
BENCHMARK(BM_PreviewPicture)
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Svg))
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Png))
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Pdf))
    ->Unit(benchmark::kMillisecond);

// A borehole 45 m deep (30 layers of 1.5 m, a value a metre): at 1:100 more
// than one A4 page.
const lodemark::preview::BoreholePreview& deep_borehole() {
  static const lodemark::preview::BoreholePreview borehole = [] {
    const char32_t* classes[] = {U"4503", U"4505", U"4501", U"4507", U"4502"};
    lodemark::preview::BoreholePreview made;
    made.title.number = U"B-45";
    for (int k = 0; k < 30; ++k) {
      lodemark::preview::PreviewLayer layer;
      layer.top = k * 1.5;
      layer.bottom = layer.top + 1.5;
      char text[16];
      std::snprintf(text, sizeof text, "%.2f", layer.bottom);
      layer.depth_text = lodemark::from_utf8(text);
      layer.name = U"砂混じり粘土";
      layer.code = classes[k % 5];
      layer.soil_class = classes[k % 5];
      layer.alternating = k % 7 == 3;
      if (layer.alternating) layer.second_soil_class = classes[(k + 1) % 5];
      made.layers.push_back(layer);
    }
    for (int metre = 1; metre <= 45; ++metre)
      made.values.push_back({.depth = metre - 0.7, .value = (metre * 7) % 60, .depth_text = {}, .value_text = {}});
    return made;
  }();
  return borehole;
}

// Drawing one 45 m borehole at 1:100: the layout and the sheet's bytes.
void BM_PreviewDeepSheet(benchmark::State& state) {
  const auto format = static_cast<lodemark::render::PictureFormat>(state.range(0));
  if (!lodemark::render::can_write(format)) {
    state.SkipWithError("this build cannot write the format");
    return;
  }
  const lodemark::preview::SheetOptions options{.scale = {100}};
  for (auto _ : state)
    benchmark::DoNotOptimize(
        lodemark::render::sheet_bytes(lodemark::render::sheet_pictures(deep_borehole(), options, format), format));
}
BENCHMARK(BM_PreviewDeepSheet)
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Svg))
    ->Arg(static_cast<int>(lodemark::render::PictureFormat::Pdf))
    ->Unit(benchmark::kMillisecond);

}  // namespace
