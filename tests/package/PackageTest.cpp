// Loading the design package into the IDE: its identity, the loading sequence, what it
// registers, and every way a load can fail.
#include <dlfcn.h>
#include <elf.h>

#include <cstring>

#include <filesystem>
#include <fstream>

#include "DesignTestSupport.h"
#include "OmDBGrids.h"
#include "OmDBGridsReg.h"
#include "Packages.h"

namespace {

String Bin(const String& File) { return String(OM_BIN_DIR) + "/" + File; }
const String ThisPackage = OM_HOST_RELEASE == 5 ? "DCLOmbrix50" : "DCLOmbrix60";
const String OtherPackage = OM_HOST_RELEASE == 5 ? "DCLOmbrix60" : "DCLOmbrix50";
String Suffixed(const char* Base) { return Bin(String(Base) + IntToStr(OM_HOST_RELEASE) + ".so"); }

class PackageTest : public ::testing::Test {
 protected:
  TIde Ide;
  TPackageRecord* LoadPackage() { return Ide.Packages().Load(Bin(ThisPackage + ".so")); }
  String LoadError(const String& File) {
    try {
      Ide.Packages().Load(File);
    } catch (EPackageError& E) {
      return E.Message;
    }
    return "(loaded)";
  }
};

TEST_F(PackageTest, TheLibraryEntryAloneRegistersNothing) {
  void* H = dlopen(Bin(ThisPackage + ".so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(H, nullptr) << dlerror();
  EXPECT_FALSE(GetClass("TOmDBGrid"));
  EXPECT_TRUE(TRegistries::Instance().Palette.empty());
  dlclose(H);
}

TEST_F(PackageTest, InitializesItsUnitsOnceInOrderThenRegistersInContainedOrder) {
  TPackageRecord* P = LoadPackage();
  std::vector<String> Expected = {
      "initialize SysInit",      "initialize OmDBGrids",    "initialize OmDBLists",
      "initialize OmQRGrids",    "initialize IDEAboutDlg",  "initialize IDELinesDlg",
      "initialize IDEGridsDlg",  "initialize OmDBGridsReg", "initialize OmDBListsReg",
      "initialize OmQRGridsReg", "initialize " + ThisPackage,
      "register OmQRGridsReg",   "register OmDBListsReg",   "register OmDBGridsReg"};
  EXPECT_EQ(P->Log, Expected);
  EXPECT_TRUE(P->Errors.empty());
  EXPECT_TRUE(GetClass("TOmDBGrid"));  // the run-time units registered their classes
  Ide.Packages().Unload(P);
  EXPECT_FALSE(GetClass("TOmDBGrid"));
  // Only the IDE's own registrations are left.
  const TRegistries& R = TRegistries::Instance();
  EXPECT_TRUE(R.Palette.empty());
  EXPECT_TRUE(std::none_of(R.Categories.begin(), R.Categories.end(), [](const auto& E) { return E.Package; }));
  EXPECT_TRUE(std::none_of(R.PropertyEditors.begin(), R.PropertyEditors.end(), [](const auto& E) { return E.Package; }));
}

TEST_F(PackageTest, FinalizesInReverseOrderWhenUnloaded) {
  TPackageRecord* P = LoadPackage();
  // The record goes with the unload; what it did is read from the runtime's trace.
  Ide.Packages().Unload(P);
  std::vector<String> Trace = UnitTrace();
  ASSERT_FALSE(Trace.empty());
  EXPECT_EQ(Trace.front(), "finalize " + ThisPackage);
  EXPECT_EQ(Trace.back(), "finalize SysInit");
  auto At = [&](const String& S) { return std::find(Trace.begin(), Trace.end(), S) - Trace.begin(); };
  EXPECT_LT(At("finalize OmQRGridsReg"), At("finalize IDEAboutDlg"));
  EXPECT_LT(At("finalize IDEAboutDlg"), At("finalize OmDBGrids"));
}

TEST_F(PackageTest, DeclaresItsIdentity) {
  TPackageRecord* P = LoadPackage();
  EXPECT_EQ(P->Description, "Ombrix Components 3.0");
  EXPECT_EQ(P->HostRelease, OM_HOST_RELEASE);
  EXPECT_NE(P->Kind.find("DesignOnly"), String::npos);
  std::vector<String> Contains = {ThisPackage, "OmQRGridsReg", "IDELinesDlg", "SysInit",
                                  "IDEAboutDlg", "OmDBListsReg", "OmDBGridsReg", "IDEGridsDlg"};
  EXPECT_EQ(P->Contains, Contains);
#if OM_HOST_RELEASE == 5
  EXPECT_EQ(P->Requires, std::vector<String>{"VCLOmbrix50"});
#else
  EXPECT_EQ(P->Requires, (std::vector<String>{"VCLOmbrix60.bpl", "designide60.bpl"}));
#endif
  std::map<String, String> V(P->Version.begin(), P->Version.end());
  EXPECT_EQ(V["FileVersion"], "3.0.0.42");
  EXPECT_EQ(V["ProductVersion"], "3.0");
  EXPECT_EQ(V["ProductName"], "Ombrix Components");
  EXPECT_EQ(V["FileDescription"], "Ombrix Components 3.0 for C++Builder " + IntToStr(OM_HOST_RELEASE));
  EXPECT_EQ(V["InternalName"], ThisPackage);
  EXPECT_EQ(V["OriginalFilename"], ThisPackage + ".bpl");
}

TEST_F(PackageTest, ALanguageModuleBesideThePackageTakesOverItsResources) {
  setenv("OMIDE_LANGUAGE", "DEU", 1);
  TPackageRecord* P = LoadPackage();
  unsetenv("OMIDE_LANGUAGE");
  EXPECT_EQ(P->Description, "Ombrix Komponenten 3.0");
  ASSERT_NE(P->Module->ResourceModule, nullptr);
  EXPECT_STREQ(P->Module->ResourceModule->Name, (ThisPackage + ".DEU").c_str());
  Ide.Packages().Unload(P);
  // Without the language, the package's own.
  EXPECT_EQ(LoadPackage()->Description, "Ombrix Components 3.0");
}

TEST_F(PackageTest, PutsTheGridOnDataControlsWithItsBitmap) {
  LoadPackage();
  const TRegistries& R = TRegistries::Instance();
  auto It = std::find_if(R.Palette.begin(), R.Palette.end(),
                         [](const TPaletteEntry& E) { return E.ComponentClass == TOmDBGrid::StaticClass(); });
  ASSERT_NE(It, R.Palette.end());
  EXPECT_EQ(It->Page, "Data Controls");
  ASSERT_NE(It->Bitmap, nullptr);
  EXPECT_STREQ(It->Bitmap->Name, "TOMDBGRID");
  EXPECT_EQ(It->Bitmap->Data[18], 24);  // width
  EXPECT_EQ(It->Bitmap->Data[22], 24);  // height
  EXPECT_EQ(It->Bitmap->Data[28], 4);   // 16 colours
}

TEST_F(PackageTest, EveryWayALoadFailsHasItsMessage) {
  EXPECT_EQ(LoadError(Bin("NoSuchPackage.so")), "Package " + Bin("NoSuchPackage.so") + " not found");
  auto Text = std::filesystem::temp_directory_path() / ("omnotalib" + std::to_string(getpid()) + ".so");
  std::ofstream(Text) << "not a library\n";
  EXPECT_EQ(LoadError(Text.string()).rfind(Text.string() + " is not a package library: ", 0), 0u);
  std::filesystem::remove(Text);
  EXPECT_EQ(LoadError(Suffixed("omtestpkg_plain")),
            Suffixed("omtestpkg_plain") + " is not a package of this IDE: the export GetPackageInfoTable is missing");
  EXPECT_EQ(LoadError(Suffixed("omtestpkg_nofinalize")),
            Suffixed("omtestpkg_nofinalize") + " is not a package of this IDE: the export Finalize is missing");
  int Other = OM_HOST_RELEASE == 5 ? 6 : 5;
  EXPECT_EQ(LoadError(Bin(OtherPackage + ".so")),
            Format("%s was built for IDE release %d and cannot be loaded into release %d",
                   {Bin(OtherPackage + ".so"), Other, OM_HOST_RELEASE}));
  EXPECT_EQ(LoadError(Suffixed("omtestpkg_otherrelease")),
            Format("%s was built for IDE release %d and cannot be loaded into release %d",
                   {Suffixed("omtestpkg_otherrelease"), Other, OM_HOST_RELEASE}));
  EXPECT_TRUE(Ide.Packages().Packages().empty());
}

TEST_F(PackageTest, ACutShortPackageIsRefusedBeforeItIsMapped) {
  // Cut anywhere, from the ELF header to well past the program headers, the copy is
  // refused with the loader's message; dlopen of such a copy died of SIGBUS.
  std::ifstream In(Bin(ThisPackage + ".so"), std::ios::binary);
  std::string Whole((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  auto Copy = std::filesystem::temp_directory_path() / ("omcut" + std::to_string(getpid()) + ".so");
  for (size_t Size : {size_t(0), size_t(10), size_t(64), size_t(1000), size_t(20000), size_t(300000),
                      Whole.size() / 2, Whole.size() - 1}) {
    if (Size >= Whole.size()) continue;
    SCOPED_TRACE(Size);
    std::ofstream(Copy, std::ios::binary).write(Whole.data(), std::streamsize(Size));
    EXPECT_EQ(LoadError(Copy.string()).rfind(Copy.string() + " is not a package library: ", 0), 0u)
        << LoadError(Copy.string());
  }
  std::filesystem::remove(Copy);
  EXPECT_TRUE(Ide.Packages().Packages().empty());
}

// A shared object of headers, a dynamic segment and its string table, the last name
// unterminated at the table's end: the names the loader reads for the release check.
std::string SharedObjectNeeding(const std::vector<std::string>& Names, const std::string& Last) {
  std::string Strings(1, '\0');
  std::vector<Elf64_Dyn> Dynamic;
  for (const std::string& Name : Names) {
    Dynamic.push_back({DT_NEEDED, {Elf64_Xword(Strings.size())}});
    Strings += Name + '\0';
  }
  Dynamic.push_back({DT_NEEDED, {Elf64_Xword(Strings.size())}});
  Strings += Last;
  const size_t DynamicAt = sizeof(Elf64_Ehdr) + 2 * sizeof(Elf64_Phdr);
  const size_t StringsAt = DynamicAt + (Dynamic.size() + 3) * sizeof(Elf64_Dyn);
  Dynamic.push_back({DT_STRTAB, {Elf64_Xword(StringsAt)}});
  Dynamic.push_back({DT_STRSZ, {Elf64_Xword(Strings.size())}});
  Dynamic.push_back({DT_NULL, {0}});
  const size_t Size = StringsAt + Strings.size();
  Elf64_Ehdr Header{};
  std::memcpy(Header.e_ident, ELFMAG, SELFMAG);
  Header.e_ident[EI_CLASS] = ELFCLASS64;
  Header.e_ident[EI_DATA] = ELFDATA2LSB;
  Header.e_type = ET_DYN;
#if defined(__aarch64__)
  Header.e_machine = EM_AARCH64;
#else
  Header.e_machine = EM_X86_64;
#endif
  Header.e_phoff = sizeof Header;
  Header.e_phentsize = sizeof(Elf64_Phdr);
  Header.e_phnum = 2;
  Header.e_shentsize = sizeof(Elf64_Shdr);
  Header.e_shoff = Size;  // no section headers, none past the end
  Elf64_Phdr Segments[2]{};
  Segments[0].p_type = PT_LOAD;
  Segments[0].p_filesz = Segments[0].p_memsz = Size;
  Segments[1].p_type = PT_DYNAMIC;
  Segments[1].p_offset = Segments[1].p_vaddr = DynamicAt;
  Segments[1].p_filesz = Dynamic.size() * sizeof(Elf64_Dyn);
  std::string File(reinterpret_cast<const char*>(&Header), sizeof Header);
  File.append(reinterpret_cast<const char*>(Segments), sizeof Segments);
  File.append(reinterpret_cast<const char*>(Dynamic.data()), Dynamic.size() * sizeof(Elf64_Dyn));
  return File + Strings;
}

TEST(PackageFileTest, NeededNamesOfAnyLengthAreReadWhole) {
  // Names shorter and longer than any read of the table, one ending with the table.
  const std::string Long(150, 'x'), Last = "lib" + std::string(70, 'y') + ".so";
  std::vector<String> Needed =
      PackageFileNeeds(SharedObjectNeeding({"libomhost6.so", Long + ".so", ""}, Last), "t.so");
  EXPECT_EQ(Needed, (std::vector<String>{"libomhost6.so", Long + ".so", "", Last}));
}

TEST_F(PackageTest, ACopyOfTheLoadedPackageUnderAnotherNameIsRefused) {
  LoadPackage();
  size_t Palette = TRegistries::Instance().Palette.size();
  auto Copy = std::filesystem::temp_directory_path() / ("Copy" + std::to_string(getpid()) + ".so");
  std::filesystem::copy_file(Bin(ThisPackage + ".so"), Copy, std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(LoadError(Copy.string()), "Package " + ThisPackage + " is already loaded from " + Bin(ThisPackage + ".so"));
  std::filesystem::remove(Copy);
  EXPECT_EQ(Ide.Packages().Packages().size(), 1u);
  EXPECT_EQ(TRegistries::Instance().Palette.size(), Palette);
}

TEST_F(PackageTest, ARegisterThatRaisesIsReportedAndTheOthersStillRun) {
  TPackageRecord* P = Ide.Packages().Load(Suffixed("omtestpkg_raising"));
  ASSERT_EQ(P->Errors.size(), 1u);
  EXPECT_EQ(P->Errors[0], Suffixed("omtestpkg_raising") + ": Register of unit BadReg failed: the palette page is full");
  EXPECT_EQ(TRegistries::Instance().PalettePages(), std::vector<String>{"Samples"});
  EXPECT_NE(LoadError(Suffixed("omtestpkg_raising")).find("is already loaded"), String::npos);
}

TEST_F(PackageTest, AUnitInitializationThatRaisesLeavesNothingLoadedOrRegistered) {
  const String File = Suffixed("omtestpkg_initraising");
  auto& Editors = TRegistries::Instance().PropertyEditors;
  const size_t EditorsBefore = Editors.size();
  EXPECT_EQ(
      LoadError(File),
      File + ": the initialization of unit RaisingUnit failed: the unit's resources are missing");
  // The unit before it was finalized, the one after it never initialized.
  EXPECT_EQ(UnitTrace(), (std::vector<String>{"initialize EarlyUnit", "finalize EarlyUnit"}));
  EXPECT_FALSE(GetClass("TTestPackageComponent"));
  EXPECT_EQ(Editors.size(), EditorsBefore);
  EXPECT_TRUE(Ide.Packages().Packages().empty());
  void* Still = dlopen(File.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(Still, nullptr) << "the library stayed open";
  if (Still) dlclose(Still);
  // Nothing of the first attempt is in the way of the next.
  EXPECT_EQ(
      LoadError(File),
      File + ": the initialization of unit RaisingUnit failed: the unit's resources are missing");
  EXPECT_EQ(UnitTrace(), (std::vector<String>{"initialize EarlyUnit", "finalize EarlyUnit"}));
}

// --- What the grid unit registers ----------------------------------------------------------

struct TExpectedCategory {
  const char* Category;
  const char* ComponentClass;
  std::vector<String> Names;
};

const std::vector<TExpectedCategory> GridCategories = {
    {"Database", "TOmColumn", {"FieldName"}},
    {"Help and Hints", "TOmColumn", {"ToolTips", "ToolTipsWidth"}},
    {"Image", "TOmColumn", {"Alignment", "CheckBox", "CheckBoxToggle", "CheckBoxValues", "ImageDraw", "ImageOffsetX",
                            "ImageOffsetY", "Images", "QuickDraw", "Transparent", "TransparentColor", "VAlignment",
                            "Wallpaper"}},
    {"Input", "TOmColumn", {"ShowEdit"}},
    {"Layout", "TOmColumn", {"WidthBase", "WidthMax", "WidthMin"}},
    {"Localizable", "TOmColumn", {"EditorHint", "PickList", "PickText", "Title"}},
    {"Visual", "TOmColumn", {"Ellipsis", "ShowBlob", "VAlignment", "WidthBase", "WordWrap"}},
    {"OmDBGrid", "TOmColumn", {"CheckBox", "CheckBoxToggle", "CheckBoxValues", "EditorHint", "Ellipsis", "Hint",
                               "ImageDraw", "ImageOffsetX", "ImageOffsetY", "Images", "ListOptions", "PickOptions",
                               "PickText", "QuickDraw", "Report", "ShowBlob", "ShowEdit", "ToolTips", "ToolTipsWidth",
                               "Transparent", "TransparentColor", "VAlignment", "Wallpaper", "WidthBase", "WidthMax",
                               "WidthMin", "WordWrap"}},
    {"Action", "TOmCustomDBGrid", {"StretchMode"}},
    {"Database", "TOmCustomDBGrid", {"Columns", "OrderFields", "OnOrderChanged"}},
    {"Image", "TOmCustomDBGrid", {"FillerIndex", "IndicatorImages", "TitleImages", "TitleMarkers", "OnCalcImageIndex"}},
    {"Layout", "TOmCustomDBGrid", {"GridStyle", "HeaderLinesCount", "IndicatorWidth", "LinesCount", "LinesCountMax",
                                   "LinesCountMin", "StretchWidthMax", "StretchWidthMin", "TitleLinesCount"}},
    {"Localizable", "TOmCustomDBGrid", {"FillerHint"}},
    {"Visual", "TOmCustomDBGrid", {"FillerColor", "FixedCols", "FixedStyle", "FixedTheme", "HeaderLinesCount",
                                   "LinesCount", "ScrollBars", "StretchMode", "TitleLinesCount"}},
    {"OmDBGrid", "TOmCustomDBGrid", {"DragRows", "FillerButton", "FillerColor", "FillerHint", "FillerIndex",
                                     "FillerPopupMenu", "FixedCols", "FixedStyle", "FixedTheme", "GridStyle",
                                     "HeaderColor", "HeaderFont", "HeaderLinesCount", "HintOptions", "IndicatorHint",
                                     "IndicatorImages", "IndicatorPopupMenu", "IndicatorWidth", "LinesCount",
                                     "LinesCountMax", "LinesCountMin", "MasterGrid", "OrderFields", "ScrollBars",
                                     "StretchMode", "StretchWidthMax", "StretchWidthMin", "TitleImages",
                                     "TitleLinesCount", "TitleMarkers"}},
    {"OmDBGrid", "TOmCustomDBGrid", {"OnCalcImageIndex", "OnCellHint", "OnColExpand", "OnColGetText", "OnColSetText",
                                     "OnColumnMoving", "OnColumnResize", "OnColumnScroll", "OnFillerClick",
                                     "OnHeaderClick", "OnOrderChanged", "OnPaintColumnCell", "OnRowResize",
                                     "OnRowSelect"}},
};

TEST_F(PackageTest, TheGridUnitFilesExactlyTheListedCategories) {
  LoadPackage();
  std::vector<const TCategoryEntry*> Grid;
  for (const TCategoryEntry& E : TRegistries::Instance().Categories)
    if (E.ComponentClass == TOmColumn::StaticClass() || E.ComponentClass == TOmCustomDBGrid::StaticClass())
      Grid.push_back(&E);
  ASSERT_EQ(Grid.size(), GridCategories.size());
  for (size_t I = 0; I < Grid.size(); ++I) {
    SCOPED_TRACE("row " + IntToStr(long(I) + 1));
    EXPECT_EQ(Grid[I]->Category, GridCategories[I].Category);
    EXPECT_STREQ(Grid[I]->ComponentClass->ClassName(), GridCategories[I].ComponentClass);
    EXPECT_EQ(Grid[I]->Filters, GridCategories[I].Names);
#if OM_HOST_RELEASE == 5
    // Release 5 passes a category class, whose Name the IDE asks.
    static const std::map<String, String> Classes = {
        {"Database", "TDatabaseCategory"}, {"Help and Hints", "THelpCategory"}, {"Image", "TImageCategory"},
        {"Input", "TInputCategory"},       {"Layout", "TLayoutCategory"},       {"Localizable", "TLocalizableCategory"},
        {"Visual", "TVisualCategory"},     {"OmDBGrid", "TOmDBGridCategory"},  {"Action", "TActionCategory"}};
    EXPECT_EQ(String(Grid[I]->CategoryClass->ClassName()), Classes.at(GridCategories[I].Category));
#endif
  }
}

// A function of the loaded package, by its decorated name: the package is a plug-in, not
// a library the test links.
template <class F>
F PackageFunction(TPackageRecord* P, const char* Symbol) {
  void* S = dlsym(P->Library.Get(), Symbol);
  EXPECT_NE(S, nullptr) << Symbol;
  return reinterpret_cast<F>(S);
}

TEST_F(PackageTest, EveryGridBindingGivesTheInspectorItsEditor) {
  TPackageRecord* P = LoadPackage();
  const auto& B = PackageFunction<const std::vector<TOmEditorBinding>& (*)()>(
      P, "_ZN12Omdbgridsreg14EditorBindingsEv")();
  // The editor the object inspector finds for each row: the package's own.
  struct TRow {
    const char *Type, *Class, *Prop, *Editor;
  };
  const TRow Expected[] = {
      {"TOmDBGridColumns", "TOmDBGrid", "Columns", "TOmDBGridColumnsProperty"},
      {"TOmCustomDBGrid", "TOmDBGrid", "MasterGrid", "TOmDBGridMasterGridProperty"},
      {"string", "TOmColumn", "FieldName", "TOmDBGridFieldNameProperty"},
      {"Integer", "TOmDBGrid", "FillerIndex", "TOmDBGridImageIndexProperty"},
      {"Integer", "TOmColumnTitle", "ImageIndex", "TOmDBGridImageIndexProperty"},
      {"Integer", "TOmColumnTitle", "MarkerIndex", "TOmDBGridImageIndexProperty"},
      {"string", "TOmDBGrid", "Hint", "TOmStringProperty"},
      {"string", "TOmDBGrid", "FillerHint", "TOmStringProperty"},
      {"string", "TOmDBGrid", "IndicatorHint", "TOmStringProperty"},
      {"string", "TOmColumn", "EditorHint", "TOmStringProperty"},
      {"string", "TOmColumn", "Hint", "TOmStringProperty"},
      {"string", "TOmColumnTitle", "Hint", "TOmStringProperty"},
      {"string", "TOmColumnTitle", "Caption", "TOmStringProperty"},
      {"string", "TOmColumnTitle", "Header", "TOmHeaderProperty"},
      {"string", "TOmColumnTitle", "HeaderHint", "TOmHeaderProperty"},
  };
  ASSERT_EQ(B.size(), std::size(Expected));
  size_t Bound = 0;
  for (size_t I = 0; I < B.size(); ++I) {
    SCOPED_TRACE("row " + IntToStr(long(I) + 1));
    EXPECT_STREQ(B[I].PropertyType->Name, Expected[I].Type);
    EXPECT_STREQ(B[I].ComponentClass->ClassName(), Expected[I].Class);
    EXPECT_STREQ(B[I].PropertyName, Expected[I].Prop);
    // Every named property exists, with that type, in that class.
    PPropInfo Prop = GetPropInfo(B[I].ComponentClass, B[I].PropertyName);
    ASSERT_NE(Prop, nullptr);
    EXPECT_EQ(Prop->PropType, B[I].PropertyType);
    TPropertyEditorClass Found = TRegistries::Instance().PropertyEditorFor(
        Prop->PropType, B[I].PropertyName, B[I].ComponentClass);
    ASSERT_TRUE(Found);
    EXPECT_STREQ(Found->ClassName(), Expected[I].Editor);
    if (B[I].EditorClass) {
      EXPECT_EQ(Found, B[I].EditorClass);
      ++Bound;
    }
  }
  // Nothing else of the package's stands in the registry for the grid's classes.
  size_t Registered = 0;
  for (const TPropertyEditorEntry& E : TRegistries::Instance().PropertyEditors)
    if (E.Package && E.ComponentClass &&
        (E.ComponentClass->InheritsFrom(TOmCustomDBGrid::StaticClass()) ||
         E.ComponentClass->InheritsFrom(TOmColumn::StaticClass()) ||
         E.ComponentClass->InheritsFrom(TOmColumnTitle::StaticClass())))
      ++Registered;
  EXPECT_EQ(Registered, Bound);
}

TEST_F(PackageTest, TheCategoryViewShowsOmDBGridWith27ColumnAnd44GridProperties) {
  LoadPackage();
  TDesigner* D = Ide.NewForm(TDataModule::StaticClass(), "Module1");
  auto* Grid = static_cast<TOmDBGrid*>(D->CreateComponent(TOmDBGrid::StaticClass(), D->GetRoot(), -1, -1, -1, -1));
  auto Count = [&](const char* Category) {
    for (const auto& [Name, Props] : Ide.Inspector().Categories())
      if (Name == Category) return int(Props.size());
    return 0;
  };
  D->SelectComponent(Grid);
  EXPECT_EQ(Count("OmDBGrid"), 44);
  EXPECT_GT(Count("Image"), 0);
  D->SelectComponent(Grid->Columns()->Add());
  EXPECT_EQ(Count("OmDBGrid"), 27);
  EXPECT_EQ(Count("Image"), 13);
}

}  // namespace

// A grid of the library's base class that is no TOmDBGrid.
class TOtherGrid : public TOmCustomDBGrid {
  OM_CLASS(TOtherGrid, TOmCustomDBGrid)
 public:
  explicit TOtherGrid(TComponent* AOwner) : TOmCustomDBGrid(AOwner) {}
  String Hint2;
};
template <>
struct TPublished<TOtherGrid> {
  static constexpr TPropInfo Props[] = {
      Property<&TOtherGrid::FillerHint, &TOtherGrid::FillerHint>("FillerHint"),
      Property<&TOtherGrid::MasterGrid, &TOtherGrid::SetMasterGrid>("MasterGrid"),
      Property<&TOtherGrid::StretchMode, &TOtherGrid::SetStretchMode>("StretchMode", 0),
  };
};
OM_IMPLEMENT_CLASS(TOtherGrid, "PackageTest");

namespace {
TEST_F(PackageTest, AnotherDescendantOfTheBaseGridGetsTheCategoriesButNoGridEditors) {
  LoadPackage();
  const TRegistries& R = TRegistries::Instance();
  EXPECT_EQ(R.CategoriesOf(TOtherGrid::StaticClass(), "StretchMode"),
            (std::vector<String>{"Action", "Visual", "OmDBGrid"}));
  EXPECT_EQ(R.CategoriesOf(TOtherGrid::StaticClass(), "FillerHint"), (std::vector<String>{"Localizable", "OmDBGrid"}));
  // The bindings name TOmDBGrid: the base class's own kinds of editor apply here.
  EXPECT_STREQ(R.PropertyEditorFor(TypeInfo<TOmCustomDBGrid*>(), "MasterGrid", TOtherGrid::StaticClass())->ClassName(),
               "TComponentProperty");
  EXPECT_STREQ(R.PropertyEditorFor(TypeInfo<String>(), "FillerHint", TOtherGrid::StaticClass())->ClassName(),
               "TStringProperty");
}
}  // namespace
