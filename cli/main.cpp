#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--version") {
    std::printf("lodemark-cli %s\n", LODEMARK_VERSION);
    return 0;
  }
  std::printf("lodemark-cli %s\n", LODEMARK_VERSION);
  return 0;
}
