#include "bench/gen_data.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace lodemark::bench {
namespace {

// splitmix64: tiny, and the same sequence on every platform and library
// (the standard distributions are not).
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in lo..hi, both included.
  int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
  bool one_in(int n) { return next() % static_cast<std::uint64_t>(n) == 0; }
  template <class T>
  void shuffle(std::vector<T>& v) {
    using std::swap;
    for (std::size_t i = v.size(); i > 1; --i) swap(v[i - 1], v[next() % i]);
  }

 private:
  std::uint64_t state_;
};

// A text already in code page 932, with its length in characters (the unit
// of the data files' positions).
struct Piece {
  std::string bytes;
  std::size_t chars = 0;
};

Piece piece(std::u32string_view text) { return {cp932::encode(text), text.size()}; }

std::vector<Piece> pieces(std::initializer_list<std::u32string_view> texts) {
  std::vector<Piece> out;
  for (auto t : texts) out.push_back(piece(t));
  return out;
}

// Appends `p` and spaces up to `width` characters.
void put(std::string& line, const Piece& p, std::size_t width) {
  if (p.chars > width) throw std::logic_error("generated field wider than its slot");
  line += p.bytes;
  line.append(width - p.chars, ' ');
}

void put_ascii(std::string& line, std::string_view text, std::size_t width) {
  put(line, Piece{std::string(text), text.size()}, width);
}

template <class... Args>
std::string format(const char* fmt, Args... args) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, fmt, args...);
  return std::string(buf, static_cast<std::size_t>(n));
}

struct Soil {
  const char* code;
  std::u32string_view name;
  int weight;  // how common it is in a log
};

// The source classification: codes and the names the converter gives them.
constexpr std::array<Soil, 15> kSoils{{
    {"01", U"表土", 3},
    {"02", U"腐植土", 3},
    {"03", U"ローム", 6},
    {"04", U"粘土", 14},
    {"05", U"シルト", 14},
    {"06", U"細砂", 10},
    {"07", U"中・荒砂", 8},
    {"08", U"砂", 14},
    {"09", U"礫", 10},
    {"10", U"ヘドロ", 2},
    {"11", U"土丹", 4},
    {"20", U"岩盤", 3},
    {"21", U"凝灰岩", 3},
    {"30", U"浮石", 2},
    {"40", U"貝殻", 2},
}};
// Codes the classification does not know; they still occur in old data.
constexpr std::array<const char*, 3> kUnknownCodes{"12", "99", "00"};
// Dictionary codes of the classification's names.
constexpr std::array<std::pair<int, std::u32string_view>, 14> kTableCodes{{
    {4501, U"腐植土"},
    {4502, U"ローム"},
    {4503, U"粘土"},
    {4504, U"シルト"},
    {4505, U"砂"},
    {4506, U"礫"},
    {4507, U"ヘドロ"},
    {4508, U"土丹"},
    {4509, U"岩盤"},
    {4510, U"凝灰岩"},
    {4511, U"浮石"},
    {5006, U"中・荒砂"},
    {5025, U"貝殻"},
    {5221, U"細砂"},
}};

constexpr int kAlternationsInDictionary = 60;
constexpr int kAlternationsInRegisterOnly = 40;

std::u32string alternation_name(std::u32string_view first, std::u32string_view second) {
  return std::u32string(first) + U"と" + std::u32string(second) + U"の互層";
}

const char* pick_soil(Rng& rng) {
  if (rng.one_in(250)) return kUnknownCodes[rng.next() % kUnknownCodes.size()];
  int total = 0;
  for (const Soil& s : kSoils) total += s.weight;
  int r = rng.range(0, total - 1);
  for (const Soil& s : kSoils) {
    if (r < s.weight) return s.code;
    r -= s.weight;
  }
  return kSoils.back().code;
}

class Output {
 public:
  explicit Output(const std::filesystem::path& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw std::runtime_error("cannot create " + path.string());
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  }
  ~Output() {
    if (file_) std::fclose(file_);
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void line(std::string_view bytes) {
    buffer_.assign(bytes);
    buffer_ += "\r\n";
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) fail();
  }
  void close() {
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) fail();
  }

 private:
  [[noreturn]] void fail() { throw std::runtime_error("cannot write " + path_.string()); }
  std::filesystem::path path_;
  std::FILE* file_;
  std::string buffer_;
};

struct Vocabulary {
  std::vector<Piece> places =
      pieces({U"東町", U"西浜", U"南台", U"北山", U"中央", U"本町", U"新田", U"大島", U"小山", U"青葉",
              U"若葉", U"桜台", U"緑町", U"港南", U"川崎", U"蒲田", U"羽田", U"大森", U"品川", U"鶴見"});
  std::vector<Piece> sites = pieces({U"東京都大田区", U"東京都品川区", U"神奈川県川崎市川崎区", U"神奈川県横浜市鶴見区",
                                     U"東京都江東区", U"千葉県浦安市"});
  std::vector<Piece> colours = pieces({U"暗灰色", U"灰色", U"青灰色", U"暗褐色", U"褐色", U"黄褐色", U"茶褐色",
                                       U"緑灰色", U"黒色", U"灰白色", U"赤褐色", U"暗緑色"});
  std::vector<Piece> digits = pieces({U"０", U"１", U"２", U"３", U"４", U"５", U"６", U"７", U"８", U"９"});
  Piece in_area = piece(U"地内");
};

// Catalogue name: mostly four double-byte characters (8 bytes), sometimes
// a plain single-byte number.
Piece hole_name(const Vocabulary& v, std::int64_t index, Rng& rng) {
  if (rng.one_in(7)) {
    std::string s = format("B-%lld", static_cast<long long>(index % 1000000));
    return {s, s.size()};
  }
  const Piece& place = v.places[static_cast<std::size_t>(index) % v.places.size()];
  const auto n = static_cast<std::size_t>(index / static_cast<std::int64_t>(v.places.size()));
  return {place.bytes + v.digits[(n / 10) % 10].bytes + v.digits[n % 10].bytes, place.chars + 2};
}

void write_borehole(const Vocabulary& v, const std::string& key_prefix, std::int64_t index, Rng& rng, Output& catalogue,
                    Output& headers, Output& layers, Output& values, GenSummary& sum) {
  std::string key = key_prefix + std::to_string(index + 1);
  key.resize(8, ' ');
  const int layer_count = rng.range(5, 40);
  const int value_count = rng.range(10, 60);
  const std::string date = format("%04d%02d%02d", rng.range(1975, 2005), rng.range(1, 12), rng.range(1, 28));

  std::string line = key;
  line += date;
  line += [&] {
    std::string name = hole_name(v, index, rng).bytes;
    name.resize(8, ' ');
    return name;
  }();
  catalogue.line(line);

  // Layers first: the header carries the total depth.
  std::vector<std::string> layer_lines;
  double depth = 0.0;
  for (int m = 0; m < layer_count; ++m) {
    depth += rng.range(20, 400) / 100.0;
    const bool alternating = rng.one_in(10);
    const char* first = pick_soil(rng);
    const char* second = "  ";
    if (alternating) {
      do second = pick_soil(rng);
      while (std::string_view(second) == first);
      ++sum.alternating_layers;
    }
    std::string l = key;
    l += format("%3d", m + 1);
    l += format("%8.2f", depth);
    put(l, v.colours[rng.next() % v.colours.size()], 11);
    l += alternating ? "1" : "0";
    l += first;
    l += second;
    layer_lines.push_back(std::move(l));
  }

  line = key;
  line += format("%02d%02d%02d%02d", rng.range(30, 45), rng.range(0, 59), rng.range(30, 59), rng.range(0, 59));
  Piece site = v.sites[rng.next() % v.sites.size()];
  const Piece& place = v.places[static_cast<std::size_t>(index) % v.places.size()];
  site.bytes += place.bytes + v.in_area.bytes;
  site.chars += place.chars + v.in_area.chars;
  put(line, site, 19);
  line += format("%8.2f", rng.range(-300, 4000) / 100.0);  // elevation
  line += format("%8.2f", depth);                          // total depth
  line += date;
  put_ascii(line, "", 6);
  line += format("%3d%3d", layer_count, value_count);
  headers.line(line);

  for (const std::string& l : layer_lines) layers.line(l);
  sum.layer_lines += layer_count;

  for (int m = 0; m < value_count; ++m) {
    line = key;
    line += "   ";
    line += format("%8.2f", m + 1.15);
    line += rng.one_in(12) ? std::string("50") : format("%2d", rng.range(0, 49));
    values.line(line);
  }
  sum.depth_value_lines += value_count;
}

std::string record(int code, std::string_view name_bytes) {
  std::string r = format("%04d", code);
  r += ',';
  r += name_bytes;
  r += ",    ,    ,    ,0000";
  return r;
}

// Names for the target system's own codes from 4000 up: colour, modifier
// and base soil, each combination once, in an order that depends on the seed.
std::vector<std::u32string> system_names(Rng& rng, std::size_t count) {
  const std::u32string_view colours[] = {U"暗灰色", U"灰色",   U"青灰色", U"暗褐色", U"褐色",   U"黄褐色",
                                         U"茶褐色", U"緑灰色", U"黒色",   U"灰白色", U"赤褐色", U"暗緑色"};
  const std::u32string_view modifiers[] = {U"",       U"砂混じり",   U"礫混じり",     U"シルト質", U"粘土質",
                                           U"有機質", U"貝殻混じり", U"腐植物混じり", U"砂質",     U"礫質"};
  const std::u32string_view bases[] = {
      U"粘土",     U"シルト",     U"砂",          U"細砂",       U"中砂",       U"粗砂",       U"礫",
      U"砂礫",     U"玉石",       U"ローム",      U"泥岩",       U"砂岩",       U"礫岩",       U"頁岩",
      U"花崗岩",   U"安山岩",     U"玄武岩",      U"片岩",       U"埋土",       U"盛土",       U"表土",
      U"泥炭",     U"火山灰",     U"軽石",        U"粘土岩",     U"シルト岩",   U"石灰岩",     U"チャート",
      U"蛇紋岩",   U"凝灰角礫岩", U"砂質粘土",    U"粘土質砂",   U"砂質シルト", U"シルト質砂", U"礫混じり砂",
      U"固結粘土", U"風化岩",     U"破砕帯",      U"崖錐堆積物", U"段丘礫",     U"沖積粘土",   U"洪積砂",
      U"有機質土", U"腐植質粘土", U"火山灰質粘土"};
  std::vector<std::u32string> all;
  for (auto c : colours)
    for (auto m : modifiers)
      for (auto b : bases) all.push_back(std::u32string(c) + std::u32string(m) + std::u32string(b));
  rng.shuffle(all);
  if (all.size() < count) throw std::invalid_argument("too many dictionary records");
  all.resize(count);
  return all;
}

void write_patdat(const std::filesystem::path& folder, int dictionary_records, Rng& rng, GenSummary& sum) {
  if (dictionary_records < kAlternationsInDictionary + 100 || dictionary_records > 6000)
    throw std::invalid_argument("dictionary records must lie between 160 and 6000");

  // Alternation names that earlier conversions registered: some are in the
  // dictionary and the register, some only in the register.
  std::vector<std::u32string> alternations;
  for (const Soil& a : kSoils)
    for (const Soil& b : kSoils)
      if (a.code != b.code) alternations.push_back(alternation_name(a.name, b.name));
  rng.shuffle(alternations);
  const int user_count = kAlternationsInDictionary + kAlternationsInRegisterOnly;
  alternations.resize(user_count);
  // User codes in the order they were handed out; which ones reached the
  // dictionary is spread over that order.
  std::vector<bool> in_dictionary(user_count, false);
  for (int i = 0; i < kAlternationsInDictionary; ++i) in_dictionary[static_cast<std::size_t>(i)] = true;
  rng.shuffle(in_dictionary);

  const int system_count = dictionary_records - kAlternationsInDictionary;
  const std::vector<std::u32string> names = system_names(rng, static_cast<std::size_t>(system_count));
  std::vector<std::string> system_records;
  for (int i = 0; i < system_count; ++i) {
    const int code = 4000 + i;
    std::u32string_view name = names[static_cast<std::size_t>(i)];
    for (const auto& [table_code, table_name] : kTableCodes)
      if (table_code == code) name = table_name;
    system_records.push_back(record(code, cp932::encode(name)));
  }

  std::string dictionary_bytes;
  {
    Output dictionary(folder / "KISHITU.TXT");
    Output reg(folder / "XKISHITU.TXT");
    for (int i = 0; i < user_count; ++i) {
      const std::string r = record(1000 + i, cp932::encode(alternations[static_cast<std::size_t>(i)]));
      reg.line(r);
      if (!in_dictionary[static_cast<std::size_t>(i)]) continue;
      dictionary.line(r);
      dictionary_bytes += r + "\r\n";
    }
    for (const std::string& r : system_records) {
      dictionary.line(r);
      reg.line(r);
      dictionary_bytes += r + "\r\n";
    }
    dictionary.close();
    reg.close();
  }
  {
    Output ini(folder / "Vaskor.ini");
    ini.line("[USER]");
    ini.line(std::string("USER=") + kUserDictionaryName);
    ini.close();
  }
  {
    // The companion application's copy of the dictionary.
    Output user(folder / kUserDictionaryName);
    std::string_view rest = dictionary_bytes;
    while (!rest.empty()) {
      const std::size_t end = rest.find("\r\n");
      user.line(rest.substr(0, end));
      rest.remove_prefix(end + 2);
    }
    user.close();
  }
  sum.dictionary_records = dictionary_records;
  sum.register_records = user_count + system_count;
  sum.alternations_in_dictionary = kAlternationsInDictionary;
  sum.alternations_in_register_only = kAlternationsInRegisterOnly;
}

}  // namespace

GenSummary generate(const GenOptions& options) {
  if (options.boreholes < 1 || options.boreholes > 99999999)
    throw std::invalid_argument("boreholes must lie between 1 and 99999999");
  for (const char c : options.key_prefix)
    if (c <= ' ' || c > '~' || c == '\\' || c == '/')
      throw std::invalid_argument("the key prefix must be printable ASCII without blanks or separators");
  if (options.key_prefix.size() + std::to_string(options.boreholes).size() > 8)
    throw std::invalid_argument("key prefix and borehole numbers do not fit 8 characters");
  const std::filesystem::path database = options.out / kDatabaseFolder;
  const std::filesystem::path patdat = options.out / kPatdatFolder;
  std::filesystem::create_directories(database);
  std::filesystem::create_directories(patdat);

  GenSummary sum;
  // Separate streams, so that the pattern data stay the same whatever the
  // number of boreholes.
  Rng data_rng(options.seed);
  Rng patdat_rng(options.seed ^ 0x5EED5EED5EED5EEDull);
  write_patdat(patdat, options.dictionary_records, patdat_rng, sum);

  const Vocabulary vocabulary;
  Output catalogue(database / "Rodev5.Dat");
  Output headers(database / "Rodev1.Dat");
  Output layers(database / "Rodev2.Dat");
  Output values(database / "Rodev3.Dat");
  for (std::int64_t i = 0; i < options.boreholes; ++i)
    write_borehole(vocabulary, options.key_prefix, i, data_rng, catalogue, headers, layers, values, sum);
  catalogue.close();
  headers.close();
  layers.close();
  values.close();
  sum.boreholes = options.boreholes;
  return sum;
}

}  // namespace lodemark::bench
