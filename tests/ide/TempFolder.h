// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TTempFolder {
 public:
  TTempFolder() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "omide-test-XXXXXX").string();
    if (!mkdtemp(Pattern.data())) std::abort();
    FPath = Pattern;
  }
  ~TTempFolder() {
    std::error_code Ignored;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, Ignored);
    std::filesystem::remove_all(FPath, Ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string operator/(const std::string& Name) const { return (FPath / Name).string(); }
  std::string Path() const { return FPath.string(); }

 private:
  std::filesystem::path FPath;
};

inline std::string ReadWholeFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

inline void WriteWholeFile(const std::string& FileName, const std::string& Data) {
  std::ofstream(FileName, std::ios::binary) << Data;
}

// Sets an environment variable for one scope and puts the old value back.
class TEnvVar {
 public:
  TEnvVar(const char* Name, const char* Value) : FName(Name) {
    if (const char* Old = std::getenv(Name)) {
      FHad = true;
      FOld = Old;
    }
    if (Value)
      setenv(Name, Value, 1);
    else
      unsetenv(Name);
  }
  ~TEnvVar() {
    if (FHad)
      setenv(FName.c_str(), FOld.c_str(), 1);
    else
      unsetenv(FName.c_str());
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  std::string FName, FOld;
  bool FHad = false;
};
