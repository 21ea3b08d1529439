#include "Classes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string_view>
#include <unordered_map>

#include "FileUtil.h"

OM_ENUM_TYPE_INFO(TComponentStateItem, "csLoading", "csReading", "csWriting", "csDestroying",
                  "csDesigning", "csAncestor", "csUpdating", "csFixups", "csFreeNotification",
                  "csInline", "csDesignInstance");
OM_SET_TYPE_INFO(TComponentState, TComponentStateItem);
OM_ENUM_TYPE_INFO(TComponentStyleItem, "csInheritable", "csCheckPropAvail", "csSubComponent",
                  "csTransient");
OM_SET_TYPE_INFO(TComponentStyle, TComponentStyleItem);

OM_IMPLEMENT_CLASS(EListError, "Classes");
OM_IMPLEMENT_CLASS(EStringListError, "Classes");
OM_IMPLEMENT_CLASS(EComponentError, "Classes");
OM_IMPLEMENT_CLASS(EStreamError, "Classes");
OM_IMPLEMENT_CLASS(EFOpenError, "Classes");
OM_IMPLEMENT_CLASS(EFCreateError, "Classes");
OM_IMPLEMENT_CLASS(EFilerError, "Classes");
OM_IMPLEMENT_CLASS(EWriteError, "Classes");
OM_IMPLEMENT_CLASS(EReadError, "Classes");
OM_IMPLEMENT_CLASS(EParserError, "Classes");
OM_IMPLEMENT_CLASS(EClassNotFound, "Classes");

EReadError::EReadError(const String& AFileName, int ALine, int AColumn, const String& ADetail)
    : EFilerError(Format("%s:%d:%d: %s", {AFileName.empty() ? String("(text)") : AFileName,
                                          ALine, AColumn, ADetail})),
      FileName(AFileName), Line(ALine), Column(AColumn), Detail(ADetail) {}

void ListIndexError(int Index) { throw EListError(Format("List index out of bounds (%d)", {Index})); }

// --- TPersistent ----------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TPersistent, "Classes");

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError(Format("Cannot assign a %s to a %s", {String("nil"), ClassName()}));
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError(Format("Cannot assign a %s to a %s", {ClassName(), Dest->ClassName()}));
}

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() { return nullptr; }

String TPersistent::GetNamePath() {
  String Result = ClassName();
  if (TPersistent* Owner = GetOwner()) {
    String S = Owner->GetNamePath();
    if (!S.empty()) Result = S + "." + Result;
  }
  return Result;
}

// --- TComponent -----------------------------------------------------------------------

template <>
struct TPublished<TComponent> {
  static constexpr TPropInfo Props[] = {
      // The name stands in the `object Name: TClass` line, not among the properties.
      Property<&TComponent::FName, &TComponent::SetName, &TComponent::IsNameStored>("Name"),
      Property<&TComponent::FTag, &TComponent::FTag>("Tag", 0),
  };
};
OM_IMPLEMENT_CLASS(TComponent, "Classes");

// Names compare without regard to case; looked up as they are asked, with no copy.
namespace {
char Upper(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }
}  // namespace

struct TComponent::TNameIndex {
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view S) const noexcept {
      std::size_t H = 14695981039346656037ull;
      for (char C : S) H = (H ^ (unsigned char)Upper(C)) * 1099511628211ull;
      return H;
    }
  };
  struct TEqual {
    using is_transparent = void;
    bool operator()(std::string_view A, std::string_view B) const noexcept {
      if (A.size() != B.size()) return false;
      for (std::size_t I = 0; I < A.size(); ++I)
        if (Upper(A[I]) != Upper(B[I])) return false;
      return true;
    }
  };
  std::unordered_map<String, TComponent*, THash, TEqual> ByName;
  // Whether two components ever had one name (an owner whose ValidateRename lets them).
  bool Shared = false;
  void Add(TComponent* C) {
    if (!C->Name().empty() && !ByName.emplace(C->Name(), C).second) Shared = true;
  }
};

// An owner of a few components finds them by walking the list.
constexpr std::size_t IndexedComponents = 32;

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Whoever asked to hear of this component's end hears of it now, before anything else
  // is torn down, and drops its reference.
  while (!FFreeNotifies.empty()) {
    TComponent* C = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    C->RemoveNotification(this);
    C->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() { FComponentState << csDestroying; }

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& L = FOwner->FComponents;
  return int(std::find(L.begin(), L.end(), this) - L.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  if (!FNameIndex && FComponents.size() >= IndexedComponents) {
    // Names are unique within the owner; the first keeps its entry all the same, as the
    // walk below finds the first.
    FNameIndex = std::make_unique<TNameIndex>();
    for (TComponent* C : FComponents) FNameIndex->Add(C);
  }
  if (FNameIndex) {
    auto It = FNameIndex->ByName.find(std::string_view(AName));
    return It == FNameIndex->ByName.end() ? nullptr : It->second;
  }
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::IndexName(TComponent* AComponent) {
  if (FNameIndex) FNameIndex->Add(AComponent);
}

void TComponent::UnindexName(TComponent* AComponent) {
  if (!FNameIndex || AComponent->FName.empty()) return;
  auto It = FNameIndex->ByName.find(std::string_view(AComponent->FName));
  if (It == FNameIndex->ByName.end() || It->second != AComponent) return;
  FNameIndex->ByName.erase(It);
  if (!FNameIndex->Shared) return;
  // Another component of that name takes the entry, the first as the walk would find it.
  for (TComponent* C : FComponents)
    if (C != AComponent && SameText(C->FName, AComponent->FName)) {
      FNameIndex->ByName.emplace(C->FName, C);
      break;
    }
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("'%s' is not a valid component name", {NewName}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  if (FOwner) FOwner->UnindexName(this);
  FName = NewName;
  if (FOwner) FOwner->IndexName(this);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) {
  if (AComponent && !SameText(CurName, NewName)) {
    TComponent* Existing = FindComponent(NewName);
    if (Existing && Existing != AComponent)
      throw EComponentError(Format("A component named %s already exists", {NewName}));
  }
  // A designed form has the last word: its file names every component and the root.
  if (FComponentState.Contains(csDesigning) && FDesigner)
    FDesigner->ValidateRename(AComponent ? AComponent : this, CurName, NewName);
}

void TComponent::SetSubComponent(bool Value) {
  if (Value)
    FComponentStyle << csSubComponent;
  else
    FComponentStyle >> csSubComponent;
}

void TComponent::SetComponentState(TComponentStateItem Item, bool On) {
  if (On)
    FComponentState << Item;
  else
    FComponentState >> Item;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  // A clashing name is refused before the component leaves its old owner.
  ValidateRename(AComponent, String(), AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  IndexName(AComponent);
}

void TComponent::Remove(TComponent* AComponent) {
  auto It = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
  if (It != FComponents.rend()) FComponents.erase(std::next(It).base());
  UnindexName(AComponent);
  AComponent->FOwner = nullptr;
  // A published field of the owner that holds the component would dangle once it is
  // freed, so it is cleared as the component leaves, under whatever name it has by then.
  // An owner being freed is only its base class by now: its own fields are gone already.
  // NOLINTNEXTLINE(clang-analyzer-optin.cplusplus.VirtualCall): the class as it is now is wanted
  for (TClass C = ClassType(); C; C = C->Parent)
    for (int I = 0; I < C->FieldCount; ++I)
      if (C->Fields[I].Get(this) == AComponent) C->Fields[I].Set(this, nullptr);
}

void TComponent::DestroyComponents() {
  // The last created goes first; siblings are not told, they are going too, but each
  // one's free notifications still reach whoever refers to it.
  while (!FComponents.empty()) {
    TComponent* C = FComponents.back();
    Remove(C);
    delete C;
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  if (FDesigner && AComponent != this) FDesigner->Notification(AComponent, Operation);
  // Every owned component hears of insertions and removals in its owner, so that a
  // reference between siblings is cleared too. A handler may free components, so the
  // list is walked by index from the end and re-checked.
  for (size_t I = FComponents.size(); I-- > 0;) {
    if (I >= FComponents.size()) continue;
    FComponents[I]->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It != FFreeNotifies.end()) FFreeNotifies.erase(It);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  SetComponentState(csDesigning, Value);
  if (SetChildren)
    for (TComponent* C : FComponents) C->SetDesigning(Value);
}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  // A root lists what it owns that has no parent of its own; controls list theirs.
  if (Root == this)
    for (TComponent* C : FComponents)
      if (!C->HasParent()) Proc(C);
}

bool TComponent::HasParent() const { return false; }
TComponent* TComponent::GetParentComponent() const { return nullptr; }
void TComponent::SetParentComponent(TComponent*) {}
void TComponent::Loaded() { FComponentState >> csLoading; }
TPersistent* TComponent::GetOwner() { return FOwner; }
String TComponent::GetNamePath() { return FName; }

// --- Collections ----------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TCollectionItem, "Classes");
OM_IMPLEMENT_CLASS(TCollection, "Classes");
OM_IMPLEMENT_CLASS(TOwnedCollection, "Classes");

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOfItem(this) : -1; }

void TCollectionItem::SetIndex(int Value) {
  if (!FCollection) return;
  int Cur = Index();
  if (Value < 0 || Value >= FCollection->Count()) ListIndexError(Value);
  if (Cur != Value) {
    FCollection->MoveItem(this, Value);
    Changed(true);
  }
}

String TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0)
    FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

String TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return Format("%s[%d]", {FCollection->GetNamePath(), Index()});
}

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  // No notifications while the collection itself goes.
  FUpdateCount = 1;
  Pack();
  while (!FItems.empty()) delete FItems.back();
}

TOwnedCollection::~TOwnedCollection() {
  // While the owner is still known: a designer drops the items and the collection from
  // its selection before they go.
  if (IDesignerNotify* D = FindRootDesigner(this)) {
    for (int I = Count() - 1; I >= 0; --I) D->Notification(Items(I), opRemove);
    D->Notification(this, opRemove);
  }
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  if (FHoles && size_t(Index) >= FFirstHole) PackHoles();
  return FItems[size_t(Index)];
}

TCollectionItem* TCollection::Add() {
  // The update notification comes once the item is fully constructed.
  BeginUpdate();
  TCollectionItem* Item;
  try {
    Item = FItemClass.Create(this);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return Item;
}

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  BeginUpdate();
  TCollectionItem* Item = nullptr;
  try {
    Item = FItemClass.Create(this);
    if (Index < Count() - 1) MoveItem(Item, Index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return Item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  delete Item;
}

void TCollection::Clear() {
  if (Count() == 0) return;
  Pack();
  BeginUpdate();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Reorder(std::span<TCollectionItem* const> Order) {
  if (Order.size() != size_t(Count()))
    throw EListError(Format("A new order of %d items was given for a collection of %d",
                            {int(Order.size()), Count()}));
  // Each item is reached once, its new index written as it is checked. Until the end
  // FItems is the old order: an item not yet met stands in FItems at its index, one met
  // already (given twice) no longer does or is marked seen. A wrong order gives every
  // item its old index back.
  Pack();
  std::vector<bool> Seen(FItems.size());
  for (size_t I = 0; I < Order.size(); ++I) {
    // Items lie apart in memory: fetched some ahead, they are there when reached.
    if (I + 8 < Order.size() && Order[I + 8]) __builtin_prefetch(Order[I + 8]);
    TCollectionItem* Item = Order[I];
    if (!Item || Item->FCollection != this || FItems[size_t(Item->FIndex)] != Item ||
        Seen[size_t(Item->FIndex)]) {
      for (size_t J = 0; J < FItems.size(); ++J) FItems[J]->FIndex = int(J);
      throw EListError("A new order must hold each item of the collection once");
    }
    Seen[size_t(Item->FIndex)] = true;
    Item->FIndex = int(I);
  }
  std::copy(Order.begin(), Order.end(), FItems.begin());
  ++FOrderStamp;
  Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  Pack();
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCollection*>(Source);
  if (!Src) return TPersistent::Assign(Source);
  BeginUpdate();
  try {
    Clear();
    Src->Pack();
    for (TCollectionItem* Item : Src->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}
void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}
TPersistent* TCollection::GetOwner() { return nullptr; }

String TCollection::PropName() {
  TPersistent* Owner = GetOwner();
  if (!Owner) return {};
  for (PPropInfo P : GetPropList(Owner))
    if (P->PropType->Kind == tkClass && GetObjectProp(Owner, P) == this) return P->Name;
  return {};
}

String TCollection::GetNamePath() {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  String S = Owner->GetNamePath();
  String Prop = PropName();
  if (S.empty() || Prop.empty()) return ClassName();
  return S + "." + Prop;
}

void TCollection::InsertItem(TCollectionItem* Item) {
  Pack();
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Item->FIndex = int(FItems.size()) - 1;  // appending keeps every other index
  ++FOrderStamp;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  // The designer drops the item from its selection before it is gone.
  if (IDesignerNotify* D = FindRootDesigner(this)) D->Notification(Item, opRemove);
  // An item's index is its place among the holes too.
  size_t Pos = size_t(Item->FIndex);
  if (Pos + 1 == FItems.size()) {
    FItems.pop_back();
    while (FHoles && FItems.back() == nullptr) {
      FItems.pop_back();
      --FHoles;
    }
  } else {
    FItems[Pos] = nullptr;
    if (!FHoles || Pos < FFirstHole) FFirstHole = Pos;
    ++FHoles;
  }
  Item->FCollection = nullptr;
  ++FOrderStamp;
  Changed();
}

void TCollection::MoveItem(TCollectionItem* Item, int NewIndex) {
  Pack();
  int Cur = Item->FIndex;
  int Low = std::min(Cur, NewIndex), High = std::max(Cur, NewIndex);
  if (Cur < NewIndex)
    std::rotate(FItems.begin() + Cur, FItems.begin() + Cur + 1, FItems.begin() + NewIndex + 1);
  else
    std::rotate(FItems.begin() + NewIndex, FItems.begin() + Cur, FItems.begin() + Cur + 1);
  // Only the items between moved: a run of short moves stays linear.
  for (int I = Low; I <= High; ++I) FItems[size_t(I)]->FIndex = I;
  ++FOrderStamp;
}

int TCollection::IndexOfItem(const TCollectionItem* Item) const {
  // Every change of order renumbers the items it moved, and closing the holes renumbers
  // those after the first: an item's index is always at hand.
  if (FHoles && size_t(Item->FIndex) >= FFirstHole) PackHoles();
  return Item->FIndex;
}

TCollectionItem* TCollection::ItemAfter(const TCollectionItem* Item) const {
  // An item's index is its place among the gaps.
  for (size_t P = size_t(Item->FIndex) + 1; P < FItems.size(); ++P)
    if (FItems[P]) return FItems[P];
  return nullptr;
}

void TCollection::PackHoles() const noexcept {
  FItems.erase(std::remove(FItems.begin() + FFirstHole, FItems.end(), nullptr), FItems.end());
  for (size_t I = FFirstHole; I < FItems.size(); ++I) FItems[I]->FIndex = int(I);
  FHoles = 0;
}

// --- TStrings -------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TStrings, "Classes");
OM_IMPLEMENT_CLASS(TStringList, "Classes");

void TStrings::SetStrings(int Index, const String& S) {
  TObject* Obj = Objects(Index);
  Delete(Index);
  Insert(Index, S);
  SetObjects(Index, Obj);
}

TObject* TStrings::Objects(int) const { return nullptr; }
void TStrings::SetObjects(int, TObject*) {}

int TStrings::Add(const String& S) {
  int Index = Count();
  Insert(Index, S);
  return Index;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  int Index = Add(S);
  SetObjects(Index, AObject);
  return Index;
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  try {
    for (int I = 0; I < Strings->Count(); ++I) AddObject(Strings->Strings(I), Strings->Objects(I));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const String& S) const {
  for (int I = 0; I < Count(); ++I)
    if (SameText(Strings(I), S)) return I;
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int I = 0; I < Count(); ++I)
    if (Objects(I) == AObject) return I;
  return -1;
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    String S = Strings(CurIndex);
    TObject* Obj = Objects(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, S);
    SetObjects(NewIndex, Obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    String S = Strings(Index1);
    TObject* Obj = Objects(Index1);
    SetStrings(Index1, Strings(Index2));
    SetObjects(Index1, Objects(Index2));
    SetStrings(Index2, S);
    SetObjects(Index2, Obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::Text() const {
  String R;
  for (int I = 0; I < Count(); ++I) R.append(Strings(I)).append("\r\n");
  return R;
}

void TStrings::SetText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t Start = 0, I = 0;
    while (I < Value.size()) {
      char C = Value[I];
      if (C == '\r' || C == '\n') {
        Add(Value.substr(Start, I - Start));
        if (C == '\r' && I + 1 < Value.size() && Value[I + 1] == '\n') ++I;
        Start = ++I;
      } else {
        ++I;
      }
    }
    if (Start < Value.size()) Add(Value.substr(Start));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() const {
  String R;
  for (int I = 0; I < Count(); ++I) {
    const String S = Strings(I);
    bool Quote = S.empty() || S.find_first_of(" ,\"\t") != String::npos;
    if (I > 0) R += ',';
    if (!Quote) {
      R += S;
      continue;
    }
    R += '"';
    for (char C : S) {
      if (C == '"') R += '"';
      R += C;
    }
    R += '"';
  }
  return R;
}

void TStrings::SetCommaText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t I = 0;
    auto SkipSpace = [&] {
      while (I < Value.size() && Value[I] > 0 && Value[I] <= ' ') ++I;
    };
    SkipSpace();
    while (I < Value.size()) {
      String S;
      if (Value[I] == '"') {
        ++I;
        while (I < Value.size()) {
          if (Value[I] == '"') {
            if (I + 1 < Value.size() && Value[I + 1] == '"') {
              S += '"';
              I += 2;
              continue;
            }
            ++I;
            break;
          }
          S += Value[I++];
        }
      } else {
        while (I < Value.size() && Value[I] != ',' && !(Value[I] > 0 && Value[I] <= ' '))
          S += Value[I++];
      }
      Add(S);
      SkipSpace();
      if (I < Value.size() && Value[I] == ',') {
        ++I;
        SkipSpace();
        if (I == Value.size()) Add(String());
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::Names(int Index) const {
  String S = Strings(Index);
  size_t P = S.find('=');
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  for (int I = 0; I < Count(); ++I) {
    String S = Strings(I);
    size_t P = S.find('=');
    if (P != String::npos && SameText(S.substr(0, P), Name)) return S.substr(P + 1);
  }
  return {};
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrings*>(Source);
  if (!Src) return TPersistent::Assign(Source);
  if (Src == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(Src);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(TStrings* Strings) const {
  if (Count() != Strings->Count()) return false;
  for (int I = 0; I < Count(); ++I)
    if (this->Strings(I) != Strings->Strings(I)) return false;
  return true;
}

void TStrings::LoadFromFile(const String& FileName) { SetText(ReadFileToString(FileName)); }

void TStrings::SaveToFile(const String& FileName) const {
  String Data = Text();
  WriteFileAtomically(FileName, Data.data(), Data.size());
}

void TStrings::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "Strings",
      [this](TReader* Reader) {
        Reader->ReadListBegin();
        BeginUpdate();
        try {
          Clear();
          while (!Reader->EndOfList()) Add(Reader->ReadString());
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
        Reader->ReadListEnd();
      },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (int I = 0; I < Count(); ++I) Writer->WriteString(Strings(I));
        Writer->WriteListEnd();
      },
      Count() > 0);
}

// --- TStringList ----------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(int Index, bool AllowEnd) const {
  if (Index < 0 || Index > Count() || (Index == Count() && !AllowEnd))
    throw EStringListError(Format("List index out of bounds (%d)", {Index}));
}

int TStringList::Compare(const String& A, const String& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

String TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return FList[size_t(Index)].S;
}

void TStringList::SetStrings(int Index, const String& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].S = S;
  Changed();
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return FList[size_t(Index)].Obj;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].Obj = AObject;
  Changed();
}

int TStringList::Add(const String& S) {
  if (!FSorted) {
    Insert(Count(), S);
    return Count() - 1;
  }
  int Index;
  if (Find(S, Index)) {
    if (FDuplicates == dupIgnore) return Index;
    if (FDuplicates == dupError)
      throw EStringListError("String list does not allow duplicates");
  }
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, nullptr});
  Changed();
  return Index;
}

void TStringList::Insert(int Index, const String& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index, true);
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, nullptr});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (FSorted) {
    int Index;
    return Find(S, Index) ? Index : -1;
  }
  for (size_t I = 0; I < FList.size(); ++I)
    if (Compare(FList[I].S, S) == 0) return int(I);
  return -1;
}

bool TStringList::Find(const String& S, int& Index) const {
  int L = 0, H = Count() - 1;
  bool Found = false;
  while (L <= H) {
    int M = (L + H) / 2;
    int C = Compare(FList[size_t(M)].S, S);
    if (C < 0) {
      L = M + 1;
    } else {
      H = M - 1;
      if (C == 0) {
        Found = true;
        if (FDuplicates != dupAccept) L = M;
      }
    }
  }
  Index = L;
  return Found;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FList.begin(), FList.end(),
                   [this](const TItem& A, const TItem& B) { return Compare(A.S, B.S) < 0; });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

// --- Streams --------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TStream, "Classes");
OM_IMPLEMENT_CLASS(TMemoryStream, "Classes");
OM_IMPLEMENT_CLASS(TFileStream, "Classes");

void TStream::ReadBuffer(void* Buffer, long Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, long Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

long long TStream::Size() {
  long long Pos = Seek(0, soFromCurrent);
  long long End = Seek(0, soFromEnd);
  Seek(Pos, soFromBeginning);
  return End;
}

long long TStream::CopyFrom(TStream* Source, long long Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  char Buf[65536];
  long long Done = 0;
  while (Done < Count) {
    long N = long(std::min<long long>(Count - Done, sizeof Buf));
    Source->ReadBuffer(Buf, N);
    WriteBuffer(Buf, N);
    Done += N;
  }
  return Done;
}

long TMemoryStream::Read(void* Buffer, long Count) {
  if (Count <= 0 || FPosition >= (long long)FData.size()) return 0;
  long N = long(std::min<long long>(Count, (long long)FData.size() - FPosition));
  std::copy_n(FData.data() + FPosition, N, static_cast<Byte*>(Buffer));
  FPosition += N;
  return N;
}

long TMemoryStream::Write(const void* Buffer, long Count) {
  if (Count <= 0) return 0;
  if (FPosition + Count > (long long)FData.size()) FData.resize(size_t(FPosition + Count));
  std::copy_n(static_cast<const Byte*>(Buffer), Count, FData.data() + FPosition);
  FPosition += Count;
  return Count;
}

long long TMemoryStream::Seek(long long Offset, TSeekOrigin Origin) {
  long long Base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? FPosition
                                                                           : (long long)FData.size();
  FPosition = std::max<long long>(0, Base + Offset);
  return FPosition;
}

void TMemoryStream::SetSize(long long NewSize) {
  FData.resize(size_t(std::max<long long>(0, NewSize)));
  FPosition = std::min<long long>(FPosition, (long long)FData.size());
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  String Data = ReadFileToString(FileName);
  FData.assign(Data.begin(), Data.end());
  FPosition = 0;
}

void TMemoryStream::SaveToFile(const String& FileName) const {
  WriteFileAtomically(FileName, FData.data(), FData.size());
}

TFileStream::TFileStream(const String& FileName, unsigned Mode) {
  if (Mode == fmCreate) {
    FHandle = open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FHandle < 0)
      throw EFCreateError(Format("Cannot create file \"%s\". %s",
                                 {ExpandFileName(FileName), SysErrorMessage(errno)}));
    return;
  }
  int Flags = (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  FHandle = open(FileName.c_str(), Flags | O_CLOEXEC);
  if (FHandle < 0 || DirectoryExists(FileName)) {
    int Err = FHandle < 0 ? errno : EISDIR;
    if (FHandle >= 0) close(FHandle);
    FHandle = -1;
    throw EFOpenError(
        Format("Cannot open file \"%s\". %s", {ExpandFileName(FileName), SysErrorMessage(Err)}));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) close(FHandle);
}

long TFileStream::Read(void* Buffer, long Count) {
  ssize_t N = read(FHandle, Buffer, size_t(Count));
  return N < 0 ? 0 : long(N);
}

long TFileStream::Write(const void* Buffer, long Count) {
  ssize_t N = write(FHandle, Buffer, size_t(Count));
  return N < 0 ? 0 : long(N);
}

long long TFileStream::Seek(long long Offset, TSeekOrigin Origin) {
  int Whence = Origin == soFromBeginning ? SEEK_SET : Origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  return lseek(FHandle, Offset, Whence);
}

// --- Design-time hooks ------------------------------------------------------------------

TComponent* FindOwnerComponent(TPersistent* Instance) {
  // By class reference: a dynamic_cast across libraries compares type names, and this
  // runs for every item a collection frees.
  for (TPersistent* P = Instance; P; P = P->GetOwner())
    if (P->Is<TComponent>()) return static_cast<TComponent*>(P);
  return nullptr;
}

IDesignerNotify* FindRootDesigner(TPersistent* Instance) {
  for (TComponent* C = FindOwnerComponent(Instance); C; C = C->Owner())
    if (C->Designer()) return C->Designer();
  return nullptr;
}

template <>
struct TPublished<TDataModule> {
  static constexpr TPropInfo Props[] = {
      Property<&TDataModule::OnCreate, &TDataModule::OnCreate>("OnCreate"),
      Property<&TDataModule::OnDestroy, &TDataModule::OnDestroy>("OnDestroy"),
  };
};
OM_IMPLEMENT_CLASS(TDataModule, "Classes");

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {}

TDataModule::~TDataModule() {
  if (OnDestroy && !ComponentState().Contains(csDesigning)) OnDestroy(this);
}

// --- The class registry ---------------------------------------------------------------

namespace {
std::map<String, TPersistentClass>& ClassRegistry() {
  static std::map<String, TPersistentClass> Registry;
  return Registry;
}
}  // namespace

void RegisterClass(TPersistentClass AClass) {
  // Ancestors are registered too, so that a form naming one can be read.
  for (TClass C = AClass; C && C != TPersistent::StaticClass(); C = C->Parent) {
    auto [It, Added] = ClassRegistry().emplace(UpperCase(C->ClassName()), TPersistentClass(C));
    if (!Added && It->second != C)
      throw EFilerError(Format("A class named %s already exists", {C->ClassName()}));
  }
}

void RegisterClasses(std::initializer_list<TPersistentClass> Classes) {
  for (TPersistentClass C : Classes) RegisterClass(C);
}

void UnRegisterClass(TPersistentClass AClass) {
  auto It = ClassRegistry().find(UpperCase(AClass->ClassName()));
  if (It != ClassRegistry().end() && It->second == AClass) ClassRegistry().erase(It);
}

void UnRegisterModuleClasses(const TLibModule* Module) {
  std::erase_if(ClassRegistry(), [Module](const auto& E) { return E.second->Module == Module; });
}

TPersistentClass GetClass(const String& ClassName) {
  auto It = ClassRegistry().find(UpperCase(ClassName));
  return It == ClassRegistry().end() ? TPersistentClass() : It->second;
}

TPersistentClass FindClass(const String& ClassName) {
  TPersistentClass C = GetClass(ClassName);
  if (!C) throw EClassNotFound(Format("Class %s not found", {ClassName}));
  return C;
}

bool IsValidIdent(const String& Ident, bool AllowDots) {
  auto Alpha = [](char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; };
  auto AlNum = [&](char C) { return Alpha(C) || (C >= '0' && C <= '9'); };
  if (Ident.empty() || !Alpha(Ident[0])) return false;
  for (size_t I = 1; I < Ident.size(); ++I) {
    char C = Ident[I];
    if (AllowDots && C == '.') {
      if (I + 1 >= Ident.size() || !Alpha(Ident[I + 1])) return false;
      continue;
    }
    if (!AlNum(C)) return false;
  }
  return true;
}
