// Text and number helpers that run once per line or per field of a
// conversion: decoding every source line, reading and formatting depths.
#include <benchmark/benchmark.h>

#include <string>

#include "base/decimal.h"
#include "platform/cp932.h"

namespace {

using lodemark::cp932::decode;
using lodemark::cp932::encode;

// A layer line as the source holds it: colour in kanji, codes in ASCII.
const std::string& kanji_line() {
  static const std::string line = encode(U"1         1    3.25暗灰色        00408");
  return line;
}
// A depth-value line: ASCII only.
const std::string& ascii_line() {
  static const std::string line = "1            2.1512";
  return line;
}

void BM_DecodeKanjiLine(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(decode(kanji_line()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kanji_line().size()));
}
BENCHMARK(BM_DecodeKanjiLine);

void BM_DecodeAsciiLine(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(decode(ascii_line()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ascii_line().size()));
}
BENCHMARK(BM_DecodeAsciiLine);

void BM_EncodeLayerOutputLine(benchmark::State& state) {
  const std::u32string line = U"12,  12.35,1003,粘土と砂の互層";
  for (auto _ : state) benchmark::DoNotOptimize(encode(line));
}
BENCHMARK(BM_EncodeLayerOutputLine);

void BM_ParseDecimal(benchmark::State& state) {
  const std::u32string field = U"   12.35";
  for (auto _ : state) benchmark::DoNotOptimize(lodemark::parse_decimal_or_zero(field));
}
BENCHMARK(BM_ParseDecimal);

void BM_FormatFixed2(benchmark::State& state) {
  float value = 12.35f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lodemark::format_fixed2(value, 7));
    value += 0.01f;
  }
}
BENCHMARK(BM_FormatFixed2);

}  // namespace
