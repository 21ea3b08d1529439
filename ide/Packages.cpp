#include "Packages.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstring>
#include <functional>

#include <algorithm>

#include "Classes.h"
#include "FileUtil.h"
#include "Ide.h"
#include "Inspector.h"
#include "Registries.h"

OM_IMPLEMENT_CLASS(EPackageError, "Packages");

std::vector<String>& UnitTrace() {
  static std::vector<String> Trace;
  return Trace;
}

namespace {

// One unit's finalization, if this is the last package that needs the unit.
void FinalizeUnit(const TPackageUnitEntry& U) {
  if (U.InitCount && (*U.InitCount == 0 || --(*U.InitCount) > 0)) return;
  if (U.FInit) U.FInit();
  UnitTrace().push_back(String("finalize ") + U.Name);
}
}  // namespace

String& UnitThatRaised() {
  static String Unit;
  return Unit;
}

void InitializePackageUnits(const TPackageInfoTable* Table) {
  UnitThatRaised().clear();
  int I = 0;
  try {
    for (; I < Table->UnitCount; ++I) {
      const TPackageUnitEntry& U = Table->UnitInfo[I];
      if (U.InitCount && (*U.InitCount)++ > 0) continue;
      if (U.Init) U.Init();
      UnitTrace().push_back(String("initialize ") + U.Name);
    }
  } catch (...) {
    // The unit that raised counts as never initialized, and the walk undoes itself, in
    // reverse, before the package's library can be closed under the units before it.
    // Their finalizations may raise too; the initialization's failure is what is told.
    const TPackageUnitEntry& Failed = Table->UnitInfo[I];
    if (Failed.InitCount) --(*Failed.InitCount);
    UnitThatRaised() = Failed.Name ? Failed.Name : "";
    for (int J = I - 1; J >= 0; --J) try {
        FinalizeUnit(Table->UnitInfo[J]);
      } catch (...) {
      }
    throw;
  }
}

void FinalizePackageUnits(const TPackageInfoTable* Table) {
  for (int I = Table->UnitCount - 1; I >= 0; --I) FinalizeUnit(Table->UnitInfo[I]);
}

void TLibraryHandle::Close() noexcept {
  if (FHandle) dlclose(FHandle);
  FHandle = nullptr;
}

namespace {

[[noreturn]] void Fail(const String& Message) { throw EPackageError(Message); }

// The registration procedure of a unit, as the platform decorates it: the unit's name
// with its first letter in upper case and the rest in lower case, then Register.
String RegisterSymbol(const String& Unit) {
  String Name = LowerCase(Unit);
  if (!Name.empty()) Name[0] = char(Name[0] - 32 * (Name[0] >= 'a' && Name[0] <= 'z'));
  return "_ZN" + IntToStr(long(Name.size())) + Name + "8RegisterEv";
}

std::vector<String> SplitList(const String& S) {
  std::vector<String> R;
  size_t Pos = 0;
  while (Pos <= S.size()) {
    size_t Comma = S.find(',', Pos);
    String Part = Trim(S.substr(Pos, Comma == String::npos ? String::npos : Comma - Pos));
    if (!Part.empty()) R.push_back(Part);
    if (Comma == String::npos) break;
    Pos = Comma + 1;
  }
  return R;
}

// "Key=Value" lines of a text resource.
std::vector<std::pair<String, String>> ReadEntries(const TLibModule* Module, const char* Name,
                                                   const char* Type) {
  std::vector<std::pair<String, String>> R;
  const TResourceEntry* E = FindResource(Module, Name, Type);
  if (!E) return R;
  TStringList Lines;
  Lines.SetText(String(reinterpret_cast<const char*>(E->Data), E->Size));
  for (int I = 0; I < Lines.Count(); ++I) {
    String L = Lines.Strings(I);
    size_t Eq = L.find('=');
    if (Eq != String::npos) R.emplace_back(Trim(L.substr(0, Eq)), Trim(L.substr(Eq + 1)));
  }
  return R;
}

String BaseName(const String& FileName) { return ChangeFileExt(ExtractFileName(FileName), ""); }

#if defined(__x86_64__)
constexpr Elf64_Half ThisMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr Elf64_Half ThisMachine = EM_AARCH64;
#else
#error "the package loader knows no ELF machine for this processor"
#endif

// Checks that the file is a whole shared object for this machine, and gives the libraries
// it names as needed, read from the file. dlopen maps what the program headers name: a
// file cut short leaves pages past its end mapped, and touching them kills the IDE
// (SIGBUS) inside dlopen. A package built for the other release needs the other
// release's host library, and loading that would put two platforms in one process.
// Only the headers, the dynamic segment and the names it needs are read: the rest of the
// library (code, resources, symbols) is the loader's to map, and reading it all on every
// load cost more than the rest of the check.
// Copies Bytes at Offset of the file into Into; raises (through Refuse) when the file
// ends before them.
using TReadAt = std::function<void(Elf64_Off Offset, void* Into, size_t Bytes, const char* Why)>;

std::vector<String> NeededLibraries(const TReadAt& ReadAt, Elf64_Off Size, const String& FileName) {
  auto Refuse = [&](const String& Why) {
    Fail(Format("%s is not a package library: %s", {FileName, Why}));
  };
  auto Fits = [&](Elf64_Off Offset, Elf64_Xword Bytes) { return Offset <= Size && Bytes <= Size - Offset; };
  // Bytes of the file that must be there, as the headers say.
  auto Read = [&](Elf64_Off Offset, void* Into, size_t Bytes, const char* Why) {
    if (!Fits(Offset, Bytes)) Refuse(Why);
    if (Bytes) ReadAt(Offset, Into, Bytes, Why);
  };
  Elf64_Ehdr Header;
  if (!Fits(0, sizeof Header)) Refuse("it is no ELF file");
  Read(0, &Header, sizeof Header, "it is no ELF file");
  if (std::memcmp(Header.e_ident, ELFMAG, SELFMAG) != 0) Refuse("it is no ELF file");
  if (Header.e_ident[EI_CLASS] != ELFCLASS64 || Header.e_ident[EI_DATA] != ELFDATA2LSB ||
      Header.e_machine != ThisMachine)
    Refuse("it is built for another machine");
  if (Header.e_type != ET_DYN) Refuse("it is no shared object");
  if (Header.e_phentsize != sizeof(Elf64_Phdr) || Header.e_phnum == 0)
    Refuse("it is cut short (its program headers lie past its end)");
  std::vector<Elf64_Phdr> Segments(Header.e_phnum);
  Read(Header.e_phoff, Segments.data(), Segments.size() * sizeof(Elf64_Phdr),
       "it is cut short (its program headers lie past its end)");
  const Elf64_Phdr* Dynamic = nullptr;
  for (const Elf64_Phdr& Segment : Segments) {
    if ((Segment.p_type == PT_LOAD || Segment.p_type == PT_DYNAMIC) &&
        !Fits(Segment.p_offset, Segment.p_filesz))
      Refuse("it is cut short (a segment lies past its end)");
    if (Segment.p_type == PT_DYNAMIC) Dynamic = &Segment;
  }
  // The section headers are the file's last part: a copy cut anywhere misses them.
  if (Header.e_shentsize != sizeof(Elf64_Shdr) ||
      !Fits(Header.e_shoff, Elf64_Xword(Header.e_shnum) * sizeof(Elf64_Shdr)))
    Refuse("it is cut short (its section headers lie past its end)");

  std::vector<String> Needed;
  if (!Dynamic) return Needed;
  std::vector<Elf64_Dyn> Entries(Dynamic->p_filesz / sizeof(Elf64_Dyn));
  Read(Dynamic->p_offset, Entries.data(), Entries.size() * sizeof(Elf64_Dyn),
       "it is cut short (its dynamic section lies past its end)");
  Elf64_Addr StringsAt = 0;
  Elf64_Xword StringsSize = 0;
  for (const Elf64_Dyn& Entry : Entries) {
    if (Entry.d_tag == DT_NULL) break;
    if (Entry.d_tag == DT_STRTAB) StringsAt = Entry.d_un.d_ptr;
    if (Entry.d_tag == DT_STRSZ) StringsSize = Entry.d_un.d_val;
  }
  // The string table is named by its address once loaded: the loaded segment holding it
  // tells where it lies in the file.
  const Elf64_Phdr* Holder = nullptr;
  for (const Elf64_Phdr& Segment : Segments)
    if (Segment.p_type == PT_LOAD && StringsAt >= Segment.p_vaddr &&
        StringsSize <= Segment.p_filesz && StringsAt - Segment.p_vaddr <= Segment.p_filesz - StringsSize)
      Holder = &Segment;
  if (!Holder) Refuse("its dynamic section names no string table within the file");
  // Only the needed names are read: the table holds every exported symbol's name too,
  // tens of KB that the loader reads again anyway. A name ends at its NUL or the table's.
  const Elf64_Off Table = Holder->p_offset + (StringsAt - Holder->p_vaddr);
  for (const Elf64_Dyn& Entry : Entries) {
    if (Entry.d_tag == DT_NULL) break;
    if (Entry.d_tag != DT_NEEDED || Entry.d_un.d_val >= StringsSize) continue;
    String& Name = Needed.emplace_back();
    char Chunk[64];
    for (Elf64_Xword At = Entry.d_un.d_val; At < StringsSize;) {
      size_t Bytes = size_t(std::min<Elf64_Xword>(sizeof Chunk, StringsSize - At));
      Read(Table + At, Chunk, Bytes, "it is cut short (its dynamic section lies past its end)");
      const void* End = std::memchr(Chunk, 0, Bytes);
      Name.append(Chunk, End ? size_t(static_cast<const char*>(End) - Chunk) : Bytes);
      if (End) break;
      At += Bytes;
    }
  }
  return Needed;
}

std::vector<String> CheckedNeededLibraries(const String& FileName) {
  auto Refuse = [&](const String& Why) {
    Fail(Format("%s is not a package library: %s", {FileName, Why}));
  };
  int Fd = open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) Refuse(SysErrorMessage(errno));
  struct TClose {
    int Fd;
    ~TClose() { close(Fd); }
  } Closing{Fd};
  struct stat Info {};
  if (fstat(Fd, &Info) != 0) Refuse(SysErrorMessage(errno));
  return NeededLibraries(
      [&](Elf64_Off Offset, void* Into, size_t Bytes, const char* Why) {
        for (size_t Done = 0; Done < Bytes;) {
          ssize_t N = pread(Fd, static_cast<char*>(Into) + Done, Bytes - Done, off_t(Offset + Done));
          if (N < 0 && errno == EINTR) continue;
          if (N < 0) Refuse(SysErrorMessage(errno));
          if (N == 0) Refuse(Why);
          Done += size_t(N);
        }
      },
      Elf64_Off(Info.st_size), FileName);
}

}  // namespace

std::vector<String> PackageFileNeeds(const String& Data, const String& FileName) {
  return NeededLibraries(
      [&](Elf64_Off Offset, void* Into, size_t Bytes, const char*) { std::memcpy(Into, Data.data() + Offset, Bytes); },
      Elf64_Off(Data.size()), FileName);
}

TPackageLoader::TPackageLoader(TIde* Ide) : FIde(Ide) {}

TPackageLoader::~TPackageLoader() { UnloadAll(); }

TPackageRecord* TPackageLoader::Find(const String& NameOrFile) const {
  for (const auto& P : FPackages)
    if (SameText(P->FileName, NameOrFile) || SameText(BaseName(P->FileName), BaseName(NameOrFile)))
      return P.get();
  return nullptr;
}

TPackageRecord* TPackageLoader::Load(const String& FileName) {
  if (!FileExists(FileName)) Fail(Format("Package %s not found", {FileName}));
  if (TPackageRecord* Loaded = Find(FileName))
    Fail(Format("Package %s is already loaded from %s", {BaseName(FileName), Loaded->FileName}));
  for (const String& Lib : CheckedNeededLibraries(FileName)) {
    int Other = OM_HOST_RELEASE == 5 ? 6 : 5;
    if (Lib == "libomhost" + IntToStr(Other) + ".so")
      Fail(Format("%s was built for IDE release %d and cannot be loaded into release %d",
                  {FileName, Other, OM_HOST_RELEASE}));
  }
  auto P = std::make_unique<TPackageRecord>();
  P->FileName = ExpandFileName(FileName);
  dlerror();
  P->Library = TLibraryHandle(dlopen(P->FileName.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!P->Library) Fail(Format("%s is not a package library: %s", {FileName, String(dlerror())}));
  auto Symbol = [&](const char* Name) {
    void* S = dlsym(P->Library.Get(), Name);
    if (!S)
      Fail(Format("%s is not a package of this IDE: the export %s is missing",
                  {FileName, String(Name)}));
    return S;
  };
  auto GetTable = reinterpret_cast<const TPackageInfoTable* (*)()>(Symbol("GetPackageInfoTable"));
  P->Initialize = reinterpret_cast<void (*)()>(Symbol("Initialize"));
  P->Finalize = reinterpret_cast<void (*)()>(Symbol("Finalize"));
  P->Table = GetTable();
  P->HostRelease = P->Table ? P->Table->HostRelease : 0;
  if (P->HostRelease != OM_HOST_RELEASE)
    Fail(Format("%s was built for IDE release %d and cannot be loaded into release %d",
                {FileName, P->HostRelease, OM_HOST_RELEASE}));
  // The module the library entry registered: the one whose code the table lives in.
  Dl_info TableInfo;
  dladdr(reinterpret_cast<void*>(GetTable), &TableInfo);
  for (TLibModule* M = LibModuleList(); M; M = M->Next) {
    Dl_info Info;
    if (dladdr(M, &Info) && Info.dli_fbase == TableInfo.dli_fbase) P->Module = M;
  }
  if (!P->Module)
    Fail(Format("%s is not a package of this IDE: its library entry registered no module",
                {FileName}));
  P->Module->Instance = P->Library.Get();

  // Its identity.
  for (auto& [Key, Value] : ReadEntries(P->Module, "PACKAGEINFO", RT_RCDATA)) {
    if (SameText(Key, "Kind")) P->Kind = Value;
    else if (SameText(Key, "Requires")) P->Requires = SplitList(Value);
    else if (SameText(Key, "Contains")) P->Contains = SplitList(Value);
  }
  // The description speaks the user's language when a language module took over.
  if (const TResourceEntry* D = FindResource(FindResourceHInstance(P->Module), "DESCRIPTION", RT_RCDATA))
    P->Description = TrimRight(String(reinterpret_cast<const char*>(D->Data), D->Size));
  P->Version = ReadEntries(P->Module, "VERSION", RT_VERSION);
  // A package is known by the unit it is (its main unit), not by its file: a copy of a
  // loaded package under another name would register everything a second time.
  if (!P->Contains.empty())
    for (const auto& Other : FPackages)
      if (!Other->Contains.empty() && SameText(Other->Contains.front(), P->Contains.front()))
        Fail(Format("Package %s is already loaded from %s", {P->Contains.front(), Other->FileName}));

  // The runtime packages it requires stay loaded as long as the IDE runs: designed
  // forms hold components of their classes.
  for (const String& R : P->Requires) {
    String Base = BaseName(R);
    if (SameText(Base, "designide60") || SameText(Base, "vcl50") || SameText(Base, "vcl60")) continue;
    String File = ExtractFilePath(P->FileName) + Base + ".so";
    if (void* H = dlopen(File.c_str(), RTLD_NOW | RTLD_NODELETE))
      P->RequiredLibraries.emplace_back(H);
  }

  TPackageRecord* Record = P.get();
  FPackages.push_back(std::move(P));
  UnitTrace().clear();
  UnitThatRaised().clear();
  // What the units register as they initialize belongs to the package too.
  TRegistries& R = TRegistries::Instance();
  R.Registering = Record;
  R.RegisteringModule = Record->Module;
  bool Failed = true;
  String Failure;
  try {
    Record->Initialize();
    Failed = false;
  } catch (const std::exception& E) {
    Failure = E.what();
  } catch (...) {
    Failure = "an exception of no known class";
  }
  R.Registering = nullptr;
  R.RegisteringModule = nullptr;
  Record->Log = UnitTrace();
  if (Failed) {
    // The runtime has finalized the units initialized before the one that raised; what
    // they registered and the library go now, as if the package had never been loaded.
    String Unit = UnitThatRaised();
    FIde->Inspector().DropEditorsOf(Record->Module);
    FIde->DestroyObjectsOf(Record->Module);
    Discard(Record);
    if (Unit.empty()) Fail(Format("%s: its initialization failed: %s", {FileName, Failure}));
    Fail(Format("%s: the initialization of unit %s failed: %s", {FileName, Unit, Failure}));
  }

  // The registration procedures, in contained-unit order; one that raises is reported
  // and the others still run, as the IDE does.
  for (const String& Unit : Record->Contains) {
    void* S = dlsym(Record->Library.Get(), RegisterSymbol(Unit).c_str());
    if (!S) continue;
    R.Registering = Record;
    R.RegisteringModule = Record->Module;
    try {
      reinterpret_cast<void (*)()>(S)();
      Record->Log.push_back("register " + Unit);
    } catch (Exception& E) {
      Record->Errors.push_back(Format("%s: Register of unit %s failed: %s", {FileName, Unit, E.Message}));
    }
    R.Registering = nullptr;
    R.RegisteringModule = nullptr;
  }
  return Record;
}

void TPackageLoader::Unload(TPackageRecord* Package) {
  auto It = std::find_if(FPackages.begin(), FPackages.end(), [&](const auto& P) { return P.get() == Package; });
  if (It == FPackages.end()) return;
  // Nothing the package made may outlive its code.
  FIde->Inspector().DropEditorsOf(Package->Module);
  FIde->DestroyObjectsOf(Package->Module);
  UnitTrace().clear();
  if (Package->Finalize) Package->Finalize();
  for (const String& L : UnitTrace()) Package->Log.push_back(L);
  Discard(Package);
}

void TPackageLoader::Discard(TPackageRecord* Package) {
  TRegistries::Instance().DropPackage(Package, Package->Module);
  UnRegisterModuleClasses(Package->Module);
  FlushPropInfoCache();
  // The record goes last, and its library with it.
  std::erase_if(FPackages, [&](const auto& P) { return P.get() == Package; });
}

void TPackageLoader::UnloadAll() {
  while (!FPackages.empty()) Unload(FPackages.back().get());
}

String PackageFileBesideIde(const String& BaseName) {
  char Self[4096];
  ssize_t N = readlink("/proc/self/exe", Self, sizeof Self - 1);
  String Dir = N > 0 ? ExtractFilePath(String(Self, size_t(N))) : String("./");
  return Dir + BaseName + ".so";
}

// --- Language resource modules ------------------------------------------------------------

namespace {
// The user's language as the suffixes of resource modules: OMIDE_LANGUAGE when set
// (as "DEU"), else the language of LANG ("de_DE.UTF-8" gives "DE").
std::vector<String> LanguageSuffixes() {
  std::vector<String> R;
  if (const char* L = getenv("OMIDE_LANGUAGE"); L && *L) R.push_back(L);
  const char* L = getenv("LANG");
  auto Letter = [](char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); };
  if (L && Letter(L[0]) && Letter(L[1]) && (L[2] == '_' || L[2] == '.' || L[2] == 0))
    R.push_back(UpperCase(String(L, 2)));
  return R;
}
}  // namespace

TLibModule* LoadResourceModule(const char* LibraryFile, void*& Handle) {
  Handle = nullptr;
  for (const String& Suffix : LanguageSuffixes()) {
    String File = String(LibraryFile) + "." + Suffix;
    if (!FileExists(File)) continue;
    void* H = dlopen(File.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!H) continue;
    auto Get = reinterpret_cast<TLibModule* (*)()>(dlsym(H, "GetResourceModule"));
    if (!Get) {
      dlclose(H);
      continue;
    }
    Handle = H;
    return Get();
  }
  return nullptr;
}

void FreeResourceModule(void* Handle) {
  if (Handle) dlclose(Handle);
}
