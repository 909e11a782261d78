// The preview of one borehole once its data is read: the layout, and each
// format's drawing and encoding. The command's own time adds the reading,
// the check and, for PNG and PDF, the one-off font set-up of the process.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

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
