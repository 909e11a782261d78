// Runs a harness on every file of the folders (or on the files) named on the
// command line, without libFuzzer: the seed corpora become ordinary tests of
// every build. A broken invariant aborts, as under libFuzzer.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "support/test_support.h"

namespace {

std::vector<std::filesystem::path> inputs_of(const std::filesystem::path& argument) {
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(argument)) {
    for (const auto& entry : std::filesystem::directory_iterator(argument))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(argument);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& file : inputs_of(lodemark::test::native_path(argv[i]))) {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", lodemark::test::native_text(file).c_str());
        return 2;
      }
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::printf("%s\n", lodemark::test::native_text(file).c_str());
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  // An empty corpus would make a test that cannot fail.
  if (replayed == 0) {
    std::fprintf(stderr, "no input to replay\n");
    return 2;
  }
  std::printf("replayed %zu inputs\n", replayed);
  return 0;
}
