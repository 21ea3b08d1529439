// Runs a harness over files and folders of inputs, one call per file, without libFuzzer:
// the committed corpus and every input that once broke the IDE stay a test of the normal
// build, for both releases, under the compiler and sanitizers of that build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Argc, char** Argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> Files;
  for (int I = 1; I < Argc; ++I) {
    fs::path P = Argv[I];
    if (fs::is_directory(P)) {
      for (const auto& E : fs::recursive_directory_iterator(P))
        if (E.is_regular_file()) Files.push_back(E.path());
    } else if (fs::exists(P)) {
      Files.push_back(P);
    } else {
      std::fprintf(stderr, "%s: no such file or folder\n", Argv[I]);
      return 2;
    }
  }
  if (Files.empty()) {
    std::fprintf(stderr, "no inputs given\n");
    return 2;
  }
  for (const fs::path& F : Files) {
    std::ifstream In(F, std::ios::binary);
    std::string Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s\n", F.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Data.data()), Data.size());
  }
  std::printf("%zu inputs ran\n", Files.size());
  return 0;
}
