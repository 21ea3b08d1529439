#include "Designer.h"

#include <algorithm>

#include "DataAccess.h"
#include "FileUtil.h"
#include "Forms.h"
#include "Registries.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#endif

TDesigner::TDesigner(TDesignHub& Hub, TComponent* Root, const String& RootClassName,
                     const String& FileName)
    : FHub(Hub), FRoot(Root), FRootClassName(RootClassName), FFileName(FileName) {
  FRoot->SetDesigning(true);
  FRoot->SetDesigner(this);
}

TDesigner::~TDesigner() = default;

int TDesigner::Release() {
  int N = --FRefCount;
  if (N == 0) delete this;
  return N;
}

String& TDesigner::Clipboard() {
  static String Text;
  return Text;
}

void TDesigner::Close() {
  if (!FRoot) return;
  // Listeners hear of it while the root still exists; then nothing points at it.
  TDesignerRefPtr Keep(this);
  FHub.Broadcast([&](TDesignSink* S) { S->DesignerClosed(this); });
  FSelection.Clear();
  FSelectionUntold = false;
  TComponent* Root = FRoot;
  Root->SetDesigner(nullptr);
  FRoot = nullptr;
  delete Root;
}

void TDesigner::Modified() {
  if (!FRoot) return;
  FModified = true;
  TDesignerRefPtr Keep(this);
  FlushSelection();
  FHub.Broadcast([&](TDesignSink* S) { S->ItemsModified(this); });
}

void TDesigner::Notification(TComponent* AComponent, TOperation Operation) {
  Notification(static_cast<TPersistent*>(AComponent), Operation);
}

void TDesigner::Notification(TPersistent* AnObject, TOperation Operation) {
  if (!FRoot || !AnObject) return;
  FNamesValid = false;
  TDesignerRefPtr Keep(this);
  if (Operation == opRemove) {
    DropFromSelection(AnObject);
    FHub.Broadcast([&](TDesignSink* S) { S->ItemDeleted(this, AnObject); });
  } else {
    FHub.Broadcast([&](TDesignSink* S) { S->ItemInserted(this, AnObject); });
  }
}

void TDesigner::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  FNamesValid = false;
  if (!FRoot || !AComponent || SameText(CurName, NewName)) return;
  // A nameless component is written without a name, and references to it are lost.
  if (NewName.empty()) throw EComponentError(Format("%s needs a name", {CurName}));
  // The root's name and its components' names share the form file's one name space.
  TComponent* Clash = nullptr;
  if (AComponent == FRoot) {
    Clash = FRoot->FindComponent(NewName);
  } else if (SameText(FRoot->Name(), NewName)) {
    Clash = FRoot;
  }
  if (Clash && Clash != AComponent)
    throw EComponentError(Format("A component named %s already exists", {NewName}));
}

void TDesigner::DropFromSelection(TPersistent* Gone) {
  // What belongs to a removed component (its collections and their items) goes with it.
  bool Dropped;
  if (Gone->Is<TComponent>()) {
    auto* GoneComponent = static_cast<TComponent*>(Gone);
    Dropped = FSelection.RemoveIf([&](TPersistent* P) {
      return P == Gone || FindOwnerComponent(P) == GoneComponent;
    }) > 0;
  } else {
    Dropped = FSelection.Remove(Gone);
  }
  if (Dropped) FSelectionUntold = true;
}

void TDesigner::FlushSelection() {
  if (!FSelectionUntold || !FRoot) return;
  FSelectionUntold = false;
  TDesignerRefPtr Keep(this);
  std::vector<TPersistent*> Now = FSelection.Items();
  FHub.Broadcast([&](TDesignSink* S) { S->SelectionChanged(this, Now); });
}

#if OM_HOST_RELEASE == 5
TCustomForm* TDesigner::GetCustomForm() {
  // Release 5 designs every root on a form; a root that is a form is its own.
  return dynamic_cast<TCustomForm*>(FRoot);
}
#endif

String TDesigner::UniqueName(const String& BaseName) {
  String Base = BaseName;
  if (Base.size() > 1 && (Base[0] == 'T' || Base[0] == 't')) Base.erase(0, 1);
  if (Base.empty()) Base = "Component";
  for (int I = 1;; ++I) {
    String Name = Base + IntToStr(I);
    if (!FRoot || (!FRoot->FindComponent(Name) && !SameText(FRoot->Name(), Name))) return Name;
  }
}

#if OM_HOST_RELEASE == 6
_di_IDesignEnvironment TDesigner::Environment() { return FHub.Environment(); }
#endif

// --- Event handlers ---------------------------------------------------------------------

const TDesigner::TMethodToken* TDesigner::TokenOf(const TMethod& Method) const {
  for (const auto& T : FMethods)
    if (reinterpret_cast<TErasedCode>(T.get()) == Method.Code) return T.get();
  return nullptr;
}

TMethod TDesigner::CreateMethod(const String& Name, PTypeInfo EventType) {
  if (!IsValidIdent(Name)) throw EPropertyError(Format("'%s' is not a valid identifier", {Name}));
  for (const auto& T : FMethods)
    if (SameText(T->Name, Name))
      return TMethod{reinterpret_cast<TErasedCode>(T.get()), FRoot};
  // The handler a compiled root class publishes under that name, if any.
  if (FRoot) {
    if (const TMethodEntry* E = FRoot->ClassType()->MethodAddress(Name))
      return TMethod{E->Code(), FRoot};
  }
  FMethods.push_back(std::make_unique<TMethodToken>(TMethodToken{Name}));
  FMethodNames.push_back(Name);
  return TMethod{reinterpret_cast<TErasedCode>(FMethods.back().get()), FRoot};
}

String TDesigner::GetMethodName(const TMethod& Method) {
  if (const TMethodToken* T = TokenOf(Method)) return T->Name;
  if (Method.Data) return Method.Data->ClassType()->MethodName(Method.Code);
  return {};
}

void TDesigner::GetMethods(PTypeInfo EventType, const TGetStrProc& Proc) {
  for (const String& N : FMethodNames) Proc(N);
}

bool TDesigner::MethodExists(const String& Name) {
  return std::any_of(FMethodNames.begin(), FMethodNames.end(),
                     [&](const String& N) { return SameText(N, Name); });
}

void TDesigner::RenameMethod(const String& CurName, const String& NewName) {
  if (!IsValidIdent(NewName)) throw EPropertyError(Format("'%s' is not a valid identifier", {NewName}));
  for (auto& T : FMethods)
    if (SameText(T->Name, CurName)) {
      T->Name = NewName;
      for (String& N : FMethodNames)
        if (SameText(N, CurName)) N = NewName;
      Modified();
      return;
    }
}

void TDesigner::ShowMethod(const String& Name) { FLastShownMethod = Name; }

// --- Selection ----------------------------------------------------------------------------

void TDesigner::SetSelection(const std::vector<TPersistent*>& Items) {
  if (!FRoot) return;
  FSelection.Assign(Items);
  FSelectionUntold = true;  // and told at once: what was still untold is older
  FlushSelection();
}

#if OM_HOST_RELEASE == 5
void TDesigner::GetSelections(TDesignerSelectionList* List) {
  for (TPersistent* P : FSelection.Items()) List->Add(P);
}
void TDesigner::SetSelections(TDesignerSelectionList* List) {
  std::vector<TPersistent*> Items;
  Items.reserve(size_t(List->Count()));
  for (int I = 0; I < List->Count(); ++I) Items.push_back(List->Items(I));
  SetSelection(Items);
}
#else
void TDesigner::GetSelections(const _di_IDesignerSelections& List) {
  for (TPersistent* P : FSelection.Items()) List->Add(P);
}
void TDesigner::SetSelections(const _di_IDesignerSelections& List) {
  std::vector<TPersistent*> Items;
  Items.reserve(size_t(List->Count()));
  for (int I = 0; I < List->Count(); ++I) Items.push_back(List->Get(I));
  SetSelection(Items);
}
#endif

void TDesigner::SelectComponent(TPersistent* Instance) {
  SetSelection(Instance ? std::vector<TPersistent*>{Instance} : std::vector<TPersistent*>{});
}

// --- Components by name ----------------------------------------------------------------------

void TDesigner::GetComponentNames(PTypeInfo ClassType, const TGetStrProc& Proc) {
  if (!FRoot || !ClassType || ClassType->Kind != tkClass) return;
  for (int I = 0; I < FRoot->ComponentCount(); ++I) {
    TComponent* C = FRoot->Components(I);
    if (!C->Name().empty() && C->InheritsFrom(ClassType->ClassType)) Proc(C->Name());
  }
}

size_t TDesigner::TNameHash::operator()(const String& S) const noexcept {
  size_t H = 1469598103934665603ull;
  for (char C : S) H = (H ^ size_t(C >= 'a' && C <= 'z' ? C - 32 : C)) * 1099511628211ull;
  return H;
}

TComponent* TDesigner::GetComponent(const String& Name) {
  if (!FRoot) return nullptr;
  if (SameText(Name, FRoot->Name())) return FRoot;
  if (!FNamesValid) {
    FNames.clear();
    for (int I = 0; I < FRoot->ComponentCount(); ++I)
      if (TComponent* C = FRoot->Components(I); !C->Name().empty()) FNames.emplace(C->Name(), C);
    FNamesValid = true;
  }
  // What the index holds is checked: a rename it did not hear of falls back to the walk.
  auto It = FNames.find(Name);
  if (It != FNames.end() && It->second->Owner() == FRoot && SameText(It->second->Name(), Name))
    return It->second;
  return FRoot->FindComponent(Name);
}

String TDesigner::GetComponentName(TComponent* Component) {
  if (!Component) return {};
  if (Component->Owner() && Component->Owner() != FRoot && !Component->Owner()->Name().empty())
    return Component->Owner()->Name() + "." + Component->Name();
  return Component->Name();
}

TPersistent* TDesigner::GetObject(const String& Name) {
  if (TComponent* C = GetComponent(Name)) return C;
  for (TPersistent* P : FSelection.Items())
    if (SameText(P->GetNamePath(), Name)) return P;
  return nullptr;
}

String TDesigner::GetObjectName(TPersistent* Instance) {
  if (auto* C = dynamic_cast<TComponent*>(Instance)) return GetComponentName(C);
  return Instance ? Instance->GetNamePath() : String();
}

TComponent* TDesigner::CreateComponent(TComponentClass ComponentClass, TComponent* Parent, int Left,
                                       int Top, int Width, int Height) {
  if (!FRoot) throw EComponentError("The form has been closed");
  // On a form, a control stands on a control that holds controls, or it would be left
  // out of the form file; a data module's controls need none.
  if (ComponentClass->InheritsFrom(TControl::StaticClass()) && dynamic_cast<TWinControl*>(FRoot)) {
    TComponent* On = Parent ? Parent : FRoot;
    auto* Holder = dynamic_cast<TWinControl*>(On);
    if (!Holder || !Holder->AcceptsControls() || (On != FRoot && On->Owner() != FRoot))
      throw EComponentError(Format("%s cannot be placed on %s: it holds no controls",
                                   {ComponentClass->ClassName(), On->Name().empty() ? On->ClassName() : On->Name()}));
  }
  TFormFolderScope Folder(FFileName);
  TComponent* C = ComponentClass.Create(FRoot);
  try {
    C->SetName(UniqueName(ComponentClass->ClassName()));
    C->SetParentComponent(Parent ? Parent : FRoot);
    auto SetIf = [&](const char* Prop, int Value) {
      if (PPropInfo P = GetPropInfo(C, Prop); P && P->Writable && P->PropType->Kind == tkInteger && Value >= 0)
        SetOrdProp(C, P, Value);
    };
    SetIf("Left", Left);
    SetIf("Top", Top);
    SetIf("Width", Width);
    SetIf("Height", Height);
  } catch (...) {
    delete C;
    throw;
  }
  SelectComponent(C);
  Modified();
  return C;
}

// --- The Edit menu ---------------------------------------------------------------------------

std::vector<TComponent*> TDesigner::SelectedComponents() const {
  std::vector<TComponent*> Result;
  for (TPersistent* P : FSelection.Items())
    if (auto* C = dynamic_cast<TComponent*>(P); C && C != FRoot && C->Owner() == FRoot) Result.push_back(C);
  return Result;
}

void TDesigner::CopySelection() {
  // The clipboard holds the selected components as a form file would, under a root
  // with no properties of its own, so that pasting reads them into any root.
  std::vector<TComponent*> Components = SelectedComponents();
  if (Components.empty()) return;
  TWriter Writer;
  Writer.OnFindMethodName = [this](const TMethod& M) { return GetMethodName(M); };
  for (TComponent* C : Components) Writer.WriteComponentOf(C, FRoot);
  // The clipboard holds the components as the children of a form hold them; pasting
  // reads them into whatever root it goes to.
  String Body = Writer.TakeText();
  String Text;
  size_t Pos = 0;
  while (Pos < Body.size()) {
    size_t End = Body.find('\n', Pos);
    if (End == String::npos) End = Body.size();
    if (End > Pos) Text += "  " + Body.substr(Pos, End - Pos) + "\n";
    Pos = End + 1;
  }
  Clipboard() = Text;
}

void TDesigner::CutSelection() {
  CopySelection();
  DeleteItems();
}

bool TDesigner::CanPaste() { return !Clipboard().empty(); }

void TDesigner::PasteSelection() {
  if (!FRoot || Clipboard().empty()) return;
  int Before = FRoot->ComponentCount();
  // Pasted datasets take relative database names from this form's folder.
  TFormFolderScope Folder(FFileName);
  TReader Reader("object " + FRoot->Name() + ": " + FRoot->ClassName() + "\n" + Clipboard() + "end\n",
                 "(clipboard)");
  Reader.DropUnresolvedReferences = true;
  Reader.OnFindMethod = [this](TComponent*, const String& Name) { return CreateMethod(Name, nullptr); };
  // Names already taken get the next free one, as the IDE renames pasted components.
  Reader.OnSetName = [this](TComponent*, String& Name) {
    if (FRoot->FindComponent(Name)) Name = UniqueName(Name.substr(0, Name.find_last_not_of("0123456789") + 1));
  };
  Reader.ReadRootComponent(FRoot);
  std::vector<TPersistent*> Pasted;
  for (int I = Before; I < FRoot->ComponentCount(); ++I) Pasted.push_back(FRoot->Components(I));
  SetSelection(Pasted);
  Modified();
}

void TDesigner::DeleteItems() {
  // Works from a copy, since every deletion changes the selection as it goes; an object
  // is looked at only while the selection still holds it, that is while it exists.
  // Components go before collection items, so an item whose owner goes is not freed twice.
  std::vector<TPersistent*> Items = FSelection.Items();
  auto StillSelected = [&](TPersistent* P) { return FSelection.Contains(P); };
  bool Any = false;
  for (TPersistent* P : Items) {
    if (!StillSelected(P)) continue;
    auto* C = dynamic_cast<TComponent*>(P);
    if (C && C != FRoot && C->Owner() == FRoot) {
      delete C;
      Any = true;
    }
  }
  for (TPersistent* P : Items) {
    if (!StillSelected(P)) continue;
    if (auto* Item = dynamic_cast<TCollectionItem*>(P)) {
      delete Item;
      Any = true;
    }
  }
  if (Any) {
    if (!FSelection.Empty()) SetSelection({});
    Modified();
  }
}

#if OM_HOST_RELEASE == 5
void TDesigner::DeleteSelection() { DeleteItems(); }
#else
void TDesigner::DeleteSelection(bool ADoAll) { DeleteItems(); }
#endif

// --- Files --------------------------------------------------------------------------------------

String TDesigner::FormText() {
  if (!FRoot) return {};
  TWriter Writer;
  Writer.OnFindMethodName = [this](const TMethod& M) { return GetMethodName(M); };
  Writer.WriteRootComponent(FRoot);
  String Text = Writer.TakeText();
  // The file names the class of the developer's form, not the class the IDE designs it as.
  String Head = "object " + FRoot->Name() + ": " + FRoot->ClassName();
  if (!FRootClassName.empty() && Text.compare(0, Head.size(), Head) == 0)
    Text.replace(0, Head.size(), "object " + FRoot->Name() + ": " + FRootClassName);
  return Text;
}

void TDesigner::Save(const String& FileName) {
  String Text = FormText();
  WriteFileAtomically(FileName, Text.data(), Text.size());
  FFileName = FileName;
  FModified = false;
  RememberFileText(Text);
}

void TDesigner::RememberFileText(std::string_view Text) {
  FFileSize = Text.size();
  FFileHash = std::hash<std::string_view>()(Text);
  FFileKnown = true;
}

bool TDesigner::FileChangedOnDisk() const {
  if (!FFileKnown || FFileName.empty() || !FileExists(FFileName)) return false;
  String Now = ReadFileToString(FFileName);
  return Now.size() != FFileSize || std::hash<std::string_view>()(Now) != FFileHash;
}
