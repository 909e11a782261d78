// The soil-name dictionary: every alternating layer of a run looks its name
// up, and each call reads the dictionary (and often the register) in full;
// a dictionary kept for a whole run spares the parse while the bytes stay
// the same.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bench/micro_data.h"
#include "platform/cp932.h"
#include "soil_dictionary/soil_dictionary.h"

namespace {

using lodemark::bench::GeneratedData;
namespace fs = std::filesystem;

std::string read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_bytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// The generated pattern-data folder, put back as generated on request.
class PatternData {
 public:
  PatternData() : data_(GeneratedData::get(1)), folder_(data_.native() / "patdat") {
    for (const char* name : {"KISHITU.TXT", "XKISHITU.TXT", "USERJISYO.TXT"})
      saved_.emplace_back(folder_ / name, read_bytes(folder_ / name));
  }
  void restore() const {
    for (const auto& [path, bytes] : saved_) write_bytes(path, bytes);
  }
  // The name of the first dictionary (or register) record whose name
  // `wanted` accepts.
  template <class Pred>
  std::u32string name_in(const char* file, Pred wanted) const {
    std::istringstream lines(read_bytes(folder_ / file));
    for (std::string line; std::getline(lines, line);) {
      const std::u32string text = lodemark::cp932::decode(line);
      const std::size_t a = text.find(U','), b = text.find(U',', a + 1);
      const std::u32string name = text.substr(a + 1, b - a - 1);
      if (wanted(name)) return name;
    }
    return {};
  }
  bool in_dictionary(const std::u32string& name) const {
    return !name_in("KISHITU.TXT", [&](const std::u32string& n) { return n == name; }).empty();
  }
  // A dictionary of the folder, new as at the start of a run.
  lodemark::SoilDictionary dictionary() const { return lodemark::SoilDictionary(data_.patdat()); }

 private:
  const GeneratedData& data_;
  fs::path folder_;
  std::vector<std::pair<fs::path, std::string>> saved_;
};

bool is_alternation(const std::u32string& name) { return name.ends_with(U"の互層"); }

// The common case of a run: the name is already in the 5,000-record dictionary.
void BM_SoilCodeFor_InDictionary(benchmark::State& state) {
  const PatternData data;
  data.restore();
  const std::u32string name = data.name_in("KISHITU.TXT", is_alternation);
  std::u32string code;
  for (auto _ : state) code = data.dictionary().code_for(name);
  state.SetLabel("5000-record dictionary");
}
BENCHMARK(BM_SoilCodeFor_InDictionary)->Unit(benchmark::kMicrosecond);

// The same through one dictionary for the run: the file is still read and
// compared in full, but parsed only once.
void BM_SoilCodeFor_InDictionaryCached(benchmark::State& state) {
  const PatternData data;
  data.restore();
  const std::u32string name = data.name_in("KISHITU.TXT", is_alternation);
  lodemark::SoilDictionary dictionary = data.dictionary();
  std::u32string code;
  for (auto _ : state) code = dictionary.code_for(name);
  state.SetLabel("5000-record dictionary, cached");
}
BENCHMARK(BM_SoilCodeFor_InDictionaryCached)->Unit(benchmark::kMicrosecond);

// A name only in the register: found there and appended to the dictionary.
void BM_SoilCodeFor_RegisterOnly(benchmark::State& state) {
  const PatternData data;
  data.restore();
  const std::u32string name = data.name_in(
      "XKISHITU.TXT", [&](const std::u32string& n) { return is_alternation(n) && !data.in_dictionary(n); });
  std::u32string code;
  for (auto _ : state) {
    state.PauseTiming();
    data.restore();
    state.ResumeTiming();
    code = data.dictionary().code_for(name);
  }
  data.restore();
}
BENCHMARK(BM_SoilCodeFor_RegisterOnly)->Unit(benchmark::kMicrosecond);

// A new name: register rebuilt, dictionary appended, user dictionary copied.
void BM_SoilCodeFor_NewName(benchmark::State& state) {
  const PatternData data;
  std::u32string code;
  for (auto _ : state) {
    state.PauseTiming();
    data.restore();
    state.ResumeTiming();
    code = data.dictionary().code_for(U"表土と表土の互層");
  }
  data.restore();
}
BENCHMARK(BM_SoilCodeFor_NewName)->Unit(benchmark::kMicrosecond);

}  // namespace
