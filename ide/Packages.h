// The package loader: loads a design package, initializes it, calls its registration
// procedures, and unloads it again, with one message for each way this can fail.
#pragma once

#include <memory>
#include <vector>

#include "System.h"

class TIde;

// A library opened with dlopen, closed (dlclose) when the handle goes, so that no way out
// of a load or an unload can leave a library open.
class TLibraryHandle {
 public:
  TLibraryHandle() = default;
  explicit TLibraryHandle(void* Handle) noexcept : FHandle(Handle) {}
  TLibraryHandle(TLibraryHandle&& Other) noexcept : FHandle(Other.Release()) {}
  TLibraryHandle& operator=(TLibraryHandle&& Other) noexcept {
    if (this != &Other) {
      Close();
      FHandle = Other.Release();
    }
    return *this;
  }
  ~TLibraryHandle() { Close(); }
  void* Get() const noexcept { return FHandle; }
  explicit operator bool() const noexcept { return FHandle != nullptr; }
  void Close() noexcept;

 private:
  void* Release() noexcept {
    void* H = FHandle;
    FHandle = nullptr;
    return H;
  }
  void* FHandle = nullptr;
};

struct TPackageRecord {
  String FileName;
  // Declared before the members that point into the library, so it closes after them.
  TLibraryHandle Library;
  TLibModule* Module = nullptr;
  const TPackageInfoTable* Table = nullptr;
  void (*Initialize)() = nullptr;
  void (*Finalize)() = nullptr;
  // The identity the package declares.
  String Description;
  String Kind;
  std::vector<String> Requires;
  std::vector<String> Contains;
  std::vector<std::pair<String, String>> Version;  // entries of the version information
  int HostRelease = 0;
  std::vector<TLibraryHandle> RequiredLibraries;  // runtime packages (opened not to unload)
  // What happened, in order: "initialize Unit", "register Unit", "finalize Unit".
  std::vector<String> Log;
  // Failures that did not stop the load (a Register that raised).
  std::vector<String> Errors;
};

// The host runtime's record of unit initializations (tests and omide show it).
std::vector<String>& UnitTrace();
// The unit whose initialization raised in the last walk of a unit table that failed;
// the walk had finalized the units it initialized before it. A walk clears it first.
String& UnitThatRaised();

class TPackageLoader {
 public:
  explicit TPackageLoader(TIde* Ide);
  ~TPackageLoader();

  // Loads the package file; raises EPackageError with the message of the failure.
  TPackageRecord* Load(const String& FileName);
  // Frees what the package made (windows, editors), finalizes it, drops its
  // registrations and closes the library.
  void Unload(TPackageRecord* Package);
  void UnloadAll();
  const std::vector<std::unique_ptr<TPackageRecord>>& Packages() const noexcept { return FPackages; }
  TPackageRecord* Find(const String& NameOrFile) const;

 private:
  // Drops what the package registered and its classes, then the record, closing its
  // library: the end of an unload and of a load that failed in its initialization.
  void Discard(TPackageRecord* Package);

  TIde* FIde;
  std::vector<std::unique_ptr<TPackageRecord>> FPackages;
};

OM_EXCEPTION(EPackageError, Exception)

// Checks that Data, the content of the package file FileName, is a whole shared object
// for this machine before anything maps it, and gives the libraries it names as needed.
// Raises EPackageError naming the file and what is wrong.
std::vector<String> PackageFileNeeds(const String& Data, const String& FileName);

// The file name of a package of this release built beside the IDE's executable.
String PackageFileBesideIde(const String& BaseName);
