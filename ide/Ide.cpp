#include "Ide.h"

#include <malloc.h>
#include <signal.h>

#include <cctype>
#include <regex>

#include "DataAccess.h"
#include "DBClient.h"
#include "ImgList.h"
#include "SQLiteDB.h"
#include "Controls.h"
#include "Desktop.h"
#include "FileUtil.h"
#include "Inspector.h"
#include "Packages.h"
#include "Registries.h"
#include "Settings.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#include "Libintf.h"
#else
#include "DesignIntf.h"
#endif

namespace {
TIde* GCurrent = nullptr;
}

#if OM_HOST_RELEASE == 5
TIDEServices* DelphiIDE = nullptr;
OM_IMPLEMENT_CLASS(TIDEServices, "Libintf");

namespace {
class TIdeServicesImpl final : public TIDEServices {
 public:
  explicit TIdeServicesImpl(TIde* Ide) : FIde(Ide) {}
  String GetBaseRegKey() override { return TIde::BaseRegKey(); }
  void ModalEdit(char Key, TObject* ReturnWindow) override { FIde->ModalEdit(Key, ReturnWindow); }

 private:
  TIde* FIde;
};
}  // namespace

struct TIde::TServices {
  explicit TServices(TIde* Ide) : Services(Ide) { DelphiIDE = &Services; }
  ~TServices() { DelphiIDE = nullptr; }
  TIdeServicesImpl Services;
};
#else
namespace {
class TDesignEnvironment final : public IDesignEnvironment {
 public:
  explicit TDesignEnvironment(TIde* Ide) : FIde(Ide) {}
  int AddRef() override { return ++FRefCount; }
  int Release() override { return --FRefCount; }  // lives as long as the IDE
  String GetBaseRegKey() override { return TIde::BaseRegKey(); }
  void ModalEdit(char Key, const _di_IActivatable& ReturnWindow) override {
    FIde->ModalEdit(Key, dynamic_cast<TObject*>(ReturnWindow.get()));
  }

 private:
  TIde* FIde;
  int FRefCount = 0;
};

// Hands the IDE's design notifications to the listeners the package registered.
class TNotificationBridge final : public TDesignSink {
 public:
  TListeners<_di_IDesignNotification> Listeners;
  void ItemDeleted(TDesigner* D, TPersistent* Item) override {
    Listeners.Each([&](const auto& L) { L->ItemDeleted(_di_IDesigner(D), Item); });
  }
  void ItemInserted(TDesigner* D, TPersistent* Item) override {
    Listeners.Each([&](const auto& L) { L->ItemInserted(_di_IDesigner(D), Item); });
  }
  void ItemsModified(TDesigner* D) override {
    Listeners.Each([&](const auto& L) { L->ItemsModified(_di_IDesigner(D)); });
  }
  void SelectionChanged(TDesigner* D, const std::vector<TPersistent*>& Selection) override {
    _di_IDesignerSelections List = CreateSelectionList();
    for (TPersistent* P : Selection) List->Add(P);
    Listeners.Each([&](const auto& L) { L->SelectionChanged(_di_IDesigner(D), List); });
  }
  void DesignerOpened(TDesigner* D) override {
    Listeners.Each([&](const auto& L) { L->DesignerOpened(_di_IDesigner(D), false); });
  }
  void DesignerClosed(TDesigner* D) override {
    Listeners.Each([&](const auto& L) { L->DesignerClosed(_di_IDesigner(D), false); });
  }
};
}  // namespace

struct TIde::TServices {
  explicit TServices(TIde* Ide) : Environment(Ide) {}
  TDesignEnvironment Environment;
  TNotificationBridge Bridge;
};

void TIde::AddDesignNotification(const _di_IDesignNotification& Listener) {
  FServices->Bridge.Listeners.Add(Listener);
}

void TIde::RemoveDesignNotification(const _di_IDesignNotification& Listener) {
  FServices->Bridge.Listeners.Remove(Listener);
}

void RegisterDesignNotification(const _di_IDesignNotification& DesignNotification) {
  if (GCurrent) GCurrent->AddDesignNotification(DesignNotification);
}

void UnregisterDesignNotification(const _di_IDesignNotification& DesignNotification) {
  if (GCurrent) GCurrent->RemoveDesignNotification(DesignNotification);
}
#endif

namespace {
// The categories the platform files its own controls' properties into.
void RegisterStandardCategories() {
#if OM_HOST_RELEASE == 5
#define OM_STD(Class, Name) Class::StaticClass()
#else
#define OM_STD(Class, Name) Name
#endif
  TClass Control = TControl::StaticClass(), Component = TComponent::StaticClass();
  RegisterPropertiesInCategory(OM_STD(TVisualCategory, "Visual"), Control,
                               {"Align", "Color", "Cursor", "Enabled", "Font", "Height", "Left", "ParentFont",
                                "Top", "Visible", "Width"});
  RegisterPropertiesInCategory(OM_STD(TLayoutCategory, "Layout"), Control,
                               {"Align", "Constraints", "Height", "Left", "Top", "Width"});
  RegisterPropertiesInCategory(OM_STD(THelpCategory, "Help and Hints"), Control,
                               {"Hint", "ParentShowHint", "ShowHint"});
  RegisterPropertiesInCategory(OM_STD(TInputCategory, "Input"), Control, {"Enabled", "TabOrder"});
  RegisterPropertiesInCategory(OM_STD(TLinkageCategory, "Linkage"), Control, {"DataSource", "PopupMenu"});
  RegisterPropertiesInCategory(OM_STD(TDatabaseCategory, "Database"), Control, {"DataSource"});
  RegisterPropertiesInCategory(OM_STD(TMiscellaneousCategory, "Miscellaneous"), Component, {"Name", "Tag"});
#undef OM_STD
}
}  // namespace

void TIde::RegisterStandardComponents() {
  // Their bitmaps are the IDE's own resources.
  TRegistries& R = TRegistries::Instance();
  R.RegisteringModule = &OmThisModule;
  struct TRestore {
    TRegistries& R;
    ~TRestore() { R.RegisteringModule = nullptr; }
  } Restore{R};
  RegisterComponents("Data Access", {TDataSource::StaticClass(), TClientDataSet::StaticClass(),
                                     TSQLiteDataSet::StaticClass()});
  RegisterComponents("Win32", {TImageList::StaticClass()});
}

TIde::TIde() {
  if (GCurrent) throw EInvalidOperation("Only one IDE may run in a process at a time");
  GCurrent = this;
#ifdef __GLIBC__
  // The IDE frees objects by the ten thousand (a grid's columns, a closed form). The C
  // library's fast bins set each freed block aside and merge them all at once inside some
  // later allocation, which then takes milliseconds; merged as they are freed, the cost
  // stays with the free and is smaller in all.
  mallopt(M_MXFAST, 0);
#endif
  // A save past the file-size limit fails with an error the IDE reports, instead of a
  // signal that ends it in the middle of the save.
  signal(SIGXFSZ, SIG_IGN);
  try {
    FDesktop = std::make_unique<TDesktop>();
  } catch (...) {
    GCurrent = nullptr;
    throw;
  }
  TRegistries::Instance().Clear();
  RegisterClasses({TDataModule::StaticClass()});
  RegisterDataClasses();
  // The IDE's own editors beyond the one of each kind of property.
  RegisterPropertyEditor(TypeInfo<String>(), TComponent::StaticClass(), "Name",
                         TComponentNameProperty::StaticClass());
  RegisterStandardCategories();
  RegisterDataAccessEditors();
  FServices = std::make_unique<TServices>(this);
#if OM_HOST_RELEASE == 6
  FHub.SetEnvironment(&FServices->Environment);
  AddSink(&FServices->Bridge);
#endif
  FInspector = std::make_unique<TObjectInspector>(this);
  FPackages = std::make_unique<TPackageLoader>(this);
  SetDesignWindowHub(&FHub);
}

TIde::~TIde() {
  while (!FDesigners.empty()) CloseDesigner(FDesigners.back().get());
  FPackages.reset();
  FInspector.reset();
#if OM_HOST_RELEASE == 6
  RemoveSink(&FServices->Bridge);
  FHub.SetEnvironment(nullptr);
#endif
  FServices.reset();
  TRegistries::Instance().Clear();
  UnRegisterDataClasses();
  TDesigner::Clipboard().clear();
  FDesktop.reset();  // the windows go with the application
  SetDesignWindowHub(nullptr);
  GCurrent = nullptr;
}

TIde* TIde::Current() { return GCurrent; }

String TIde::BaseRegKey() { return IDEBaseRegistryKey(); }

void TIde::ModalEdit(char Key, TObject* ReturnWindow) {
  ++FModalEdit.Count;
  FModalEdit.Key = Key;
  FModalEdit.ReturnWindow = ReturnWindow;
  FInspector->ModalEdit(Key);
}

void TIde::DestroyObjectsOf(const TLibModule* Module) {
  // Every window whose class the module defines, and whatever else of its classes the
  // application owns, goes before the module's code does.
  for (bool Again = true; Again;) {
    Again = false;
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (Screen->Forms(I)->ClassType()->Module == Module) {
        delete Screen->Forms(I);
        Again = true;
        break;
      }
  }
  for (int I = Application->ComponentCount() - 1; I >= 0; --I)
    if (I < Application->ComponentCount() && Application->Components(I)->ClassType()->Module == Module)
      delete Application->Components(I);
}

namespace {
// The class of the form in the developer's source: `class TForm1 : public TForm` in the
// header beside the form file.
String BaseClassFromHeader(const String& FormFile, const String& ClassName) {
  String Header = ChangeFileExt(FormFile, ".h");
  if (!FileExists(Header)) return {};
  String Text = ReadFileToString(Header);
  std::regex Decl("class\\s+(?:PACKAGE\\s+)?" + ClassName + "\\s*:\\s*public\\s+([A-Za-z_][A-Za-z0-9_]*)");
  std::smatch M;
  return std::regex_search(Text, M, Decl) ? String(M[1]) : String();
}

// The class name the first line of a form file gives its root: `object Name: TClass` or
// `object TClass`, after blanks and a byte order mark. Scanned by hand, in one pass: a
// pattern engine would backtrack over a long name or a long run of blank lines.
String RootClassOf(const String& Text) {
  size_t I = 0, N = Text.size();
  auto Blanks = [&] {
    while (I < N && (Text[I] == ' ' || Text[I] == '\t' || Text[I] == '\r' || Text[I] == '\n')) ++I;
  };
  auto Ident = [&] {
    size_t Start = I;
    if (I < N && (std::isalpha(static_cast<unsigned char>(Text[I])) || Text[I] == '_'))
      while (++I < N && (std::isalnum(static_cast<unsigned char>(Text[I])) || Text[I] == '_')) {
      }
    return Text.substr(Start, I - Start);
  };
  Blanks();
  if (Text.compare(I, 3, "\xEF\xBB\xBF") == 0) I += 3;
  Blanks();
  if (!SameText(Ident(), "object")) return {};
  Blanks();
  String Class = Ident();
  Blanks();
  if (I < N && Text[I] == ':') {
    ++I;
    Blanks();
    Class = Ident();
  }
  return Class;
}
}  // namespace

TDesigner* TIde::OpenForm(const String& FileName) {
  String Text = ReadFileToString(FileName);
  // What an earlier IDE left of a save it did not finish.
  RemoveStaleTemporaries(FileName);
  String ClassName = RootClassOf(Text);
  TComponentClass RootClass;
  if (TPersistentClass C = GetClass(ClassName); C && C->InheritsFrom(TComponent::StaticClass()))
    RootClass = TClass(C);
  for (String Base = BaseClassFromHeader(FileName, ClassName); !RootClass && !Base.empty();) {
    TPersistentClass C = GetClass(Base);
    if (C && C->InheritsFrom(TComponent::StaticClass())) RootClass = TClass(C);
    break;
  }
  if (!RootClass) {
    String Fallback = ClassName.find("DataModule") != String::npos ? "TDataModule" : "TForm";
    TPersistentClass C = GetClass(Fallback);
    RootClass = C ? TClass(C) : TClass(TDataModule::StaticClass());
  }
  TComponent* Root = RootClass.Create(nullptr);
  TDesignerRefPtr D(new TDesigner(FHub, Root, ClassName, ExpandFileName(FileName)));
  D->RememberFileText(Text);
  // Datasets of the form take relative database names from the form's folder.
  TFormFolderScope Folder(FileName);
  TReader Reader(std::move(Text), FileName);
  Reader.OnFindMethod = [&](TComponent*, const String& Name) { return D->CreateMethod(Name, nullptr); };
  try {
    Reader.ReadRootComponent(Root);
  } catch (...) {
    D->Close();
    throw;
  }
  FDesigners.push_back(D);
  FHub.Broadcast([&](TDesignSink* S) { S->DesignerOpened(D.get()); });
  SetActiveDesigner(D.get());
  return D.get();
}

TDesigner* TIde::NewForm(TComponentClass RootClass, const String& Name) {
  TComponent* Root = RootClass.Create(nullptr);
  try {
    Root->SetName(Name);
  } catch (...) {
    delete Root;
    throw;
  }
  TDesignerRefPtr D(new TDesigner(FHub, Root, "T" + Name, String()));
  FDesigners.push_back(D);
  FHub.Broadcast([&](TDesignSink* S) { S->DesignerOpened(D.get()); });
  SetActiveDesigner(D.get());
  return D.get();
}

void TIde::CloseDesigner(TDesigner* Designer) {
  auto It = std::find_if(FDesigners.begin(), FDesigners.end(),
                         [&](const TDesignerRefPtr& D) { return D.get() == Designer; });
  if (It == FDesigners.end()) return;
  TDesignerRefPtr Keep = *It;
  FDesigners.erase(It);
  if (FActive == Designer) FActive = FDesigners.empty() ? nullptr : FDesigners.back().get();
  Keep->Close();
  if (FActive) FInspector->Inspect(FActive);
}

TDesigner* TIde::FindDesigner(const String& RootName) const {
  for (const auto& D : FDesigners)
    if (D->GetRoot() && SameText(D->GetRoot()->Name(), RootName)) return D.get();
  return nullptr;
}

void TIde::SetActiveDesigner(TDesigner* Designer) {
  FActive = Designer;
  FInspector->Inspect(Designer);
  if (Screen) Screen->FocusElsewhere();
}
