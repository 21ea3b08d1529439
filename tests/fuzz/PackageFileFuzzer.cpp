// The package loader's checks of a package file before dlopen maps it: any bytes are
// either refused with a message naming the file, or a whole shared object whose needed
// libraries lie inside it.
#include <string>

#include "FuzzSupport.h"
#include "Packages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  try {
    for (const String& Name : PackageFileNeeds(Bytes, "fuzz.so"))
      OM_FUZZ_CHECK(Name.size() <= Size, Name);
  } catch (EPackageError& E) {
    OM_FUZZ_CHECK(E.Message.rfind("fuzz.so is not a package library: ", 0) == 0, E.Message);
  }
  return 0;
}
