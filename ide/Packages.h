// The package loader: loads a design package, initializes it, calls its registration
// procedures, and unloads it again, with one message for each way this can fail.
#pragma once

#include <memory>
#include <vector>

#include "System.h"

class TIde;

struct TPackageRecord {
  String FileName;
  void* Handle = nullptr;
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
  std::vector<void*> RequiredHandles;  // runtime packages, kept while the IDE runs
  // What happened, in order: "initialize Unit", "register Unit", "finalize Unit".
  std::vector<String> Log;
  // Failures that did not stop the load (a Register that raised).
  std::vector<String> Errors;
};

// The host runtime's record of unit initializations (tests and omide show it).
std::vector<String>& UnitTrace();

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
  TIde* FIde;
  std::vector<std::unique_ptr<TPackageRecord>> FPackages;
};

OM_EXCEPTION(EPackageError, Exception)

// The file name of a package of this release built beside the IDE's executable.
String PackageFileBesideIde(const String& BaseName);
