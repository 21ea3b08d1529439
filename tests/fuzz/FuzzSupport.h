// What the fuzz harnesses share: a private scratch folder, and a check that stops the run
// with a message when an oracle finds the IDE wrong (libFuzzer keeps the input).
#pragma once

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

[[noreturn]] inline void Wrong(const char* What, const std::string& Detail = {}) {
  std::fprintf(stderr, "oracle: %s\n%s\n", What, Detail.c_str());
  std::abort();
}

}  // namespace OmFuzz

#define OM_FUZZ_CHECK(Cond, Detail)          \
  do {                                       \
    if (!(Cond)) OmFuzz::Wrong(#Cond, Detail); \
  } while (0)
