// What the fuzz harnesses share: a private scratch folder, and a check that stops the run
// with a message when an oracle finds the IDE wrong (libFuzzer keeps the input).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace OmFuzz {

// A folder of this process's own, made on first use, under $TMPDIR.
inline const std::string& Scratch() {
  static const std::string Folder = [] {
    const char* Tmp = std::getenv("TMPDIR");
    std::string Pattern = std::string(Tmp && *Tmp ? Tmp : "/tmp") + "/omfuzz.XXXXXX";
    if (!mkdtemp(Pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    return Pattern;
  }();
  return Folder;
}

// The next field of a fuzz input, its fields separated by NUL bytes.
inline std::string Take(const uint8_t*& At, const uint8_t* End) {
  const uint8_t* Stop = std::find(At, End, uint8_t(0));
  std::string R(reinterpret_cast<const char*>(At), size_t(Stop - At));
  At = Stop == End ? End : Stop + 1;
  return R;
}

[[noreturn]] inline void Wrong(const char* What, const std::string& Detail = {}) {
  std::fprintf(stderr, "oracle: %s\n%s\n", What, Detail.c_str());
  std::abort();
}

}  // namespace OmFuzz

#define OM_FUZZ_CHECK(Cond, Detail)          \
  do {                                       \
    if (!(Cond)) OmFuzz::Wrong(#Cond, Detail); \
  } while (0)
