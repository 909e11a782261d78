// lodemark-bench-gen --boreholes N --seed S [--dictionary-records M] [--key-prefix P] --out DIR
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "bench/gen_data.h"

namespace {

void usage() {
  std::fprintf(
      stderr,
      "usage: lodemark-bench-gen [--boreholes N] [--seed S] [--dictionary-records M] [--key-prefix P] --out DIR\n"
      "  writes DIR/database/Rodev{1,2,3,5}.Dat and DIR/patdat/ (defaults: N=10000, S=1, M=5000)\n");
}

template <class T>
bool parse_number(std::string_view text, T& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  lodemark::bench::GenOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    const std::string_view value = has_value ? argv[i + 1] : "";
    bool ok = has_value;
    if (arg == "--boreholes")
      ok = ok && parse_number(value, options.boreholes);
    else if (arg == "--seed")
      ok = ok && parse_number(value, options.seed);
    else if (arg == "--dictionary-records")
      ok = ok && parse_number(value, options.dictionary_records);
    else if (arg == "--key-prefix")
      options.key_prefix = std::string(value);
    else if (arg == "--out")
      options.out = std::string(value);
    else
      ok = false;
    if (!ok) {
      std::fprintf(stderr, "lodemark-bench-gen: bad argument near \"%s\"\n", argv[i]);
      usage();
      return 2;
    }
    ++i;
  }
  if (options.out.empty()) {
    usage();
    return 2;
  }
  try {
    const auto s = lodemark::bench::generate(options);
    std::printf(
        "%lld boreholes, %lld layer lines (%lld alternating), %lld depth-value lines; "
        "dictionary %d records (%d alternations), register %d records (%d alternations only there)\n",
        static_cast<long long>(s.boreholes), static_cast<long long>(s.layer_lines),
        static_cast<long long>(s.alternating_layers), static_cast<long long>(s.depth_value_lines), s.dictionary_records,
        s.alternations_in_dictionary, s.register_records, s.alternations_in_register_only);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lodemark-bench-gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
