// The host's property editors, component editors and selection lists.
#include <algorithm>

#include "DesignCommon.h"
#include "Graphics.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "VCLEditors.h"
#endif
#include "Registries.h"
#include "DataAccess.h"
#include "SQLiteDB.h"

OM_ENUM_TYPE_INFO(TPropertyAttribute, "paValueList", "paSubProperties", "paDialog", "paMultiSelect",
                  "paAutoUpdate", "paSortList", "paReadOnly", "paRevertable", "paFullWidthName",
                  "paVolatileSubProperties", "paVCL", "paNotNestable");
OM_SET_TYPE_INFO(TPropertyAttributes, TPropertyAttribute);
OM_ENUM_TYPE_INFO(TEditAction, "eaUndo", "eaRedo", "eaCut", "eaCopy", "eaPaste", "eaDelete",
                  "eaSelectAll", "eaPrint", "eaBringToFront", "eaSendToBack", "eaAlignToGrid");
OM_ENUM_TYPE_INFO(TEditStateItem, "esCanUndo", "esCanRedo", "esCanCut", "esCanCopy", "esCanPaste",
                  "esCanDelete", "esCanZOrder", "esCanAlignGrid", "esCanEditOle", "esCanTabOrder",
                  "esCanCreationOrder", "esCanPrint", "esCanSelectAll");
OM_SET_TYPE_INFO(TEditState, TEditStateItem);

// --- Selection lists ----------------------------------------------------------------------

#if OM_HOST_RELEASE == 5
OM_IMPLEMENT_CLASS(TDesignerSelectionList, "Dsgnintf");

int TDesignerSelectionList::Add(TPersistent* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

TPersistent* TDesignerSelectionList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[size_t(Index)];
}

bool TDesignerSelectionList::Equals(const TDesignerSelectionList* List) const {
  return List && List->FItems == FItems;
}

namespace {
class TPersistentWrapper final : public IPersistent {
 public:
  explicit TPersistentWrapper(TPersistent* P) : FPersistent(P) {}
  int AddRef() override { return ++FRefCount; }
  int Release() override {
    int N = --FRefCount;
    if (N == 0) delete this;
    return N;
  }
  TPersistent* Persistent() override { return FPersistent; }

 private:
  TPersistent* FPersistent;
  int FRefCount = 0;
};
}  // namespace

_di_IPersistent MakeIPersistent(TPersistent* Instance) {
  return _di_IPersistent(new TPersistentWrapper(Instance));
}

TPersistent* ExtractPersistent(const _di_IPersistent& Intf) {
  return Intf ? Intf->Persistent() : nullptr;
}
#else
namespace {
class TSelectionList final : public IDesignerSelections {
 public:
  int AddRef() override { return ++FRefCount; }
  int Release() override {
    int N = --FRefCount;
    if (N == 0) delete this;
    return N;
  }
  int Add(TPersistent* Item) override {
    FItems.push_back(Item);
    return int(FItems.size()) - 1;
  }
  bool Equals(IDesignerSelections* List) override {
    if (!List || List->Count() != Count()) return false;
    for (int I = 0; I < Count(); ++I)
      if (List->Get(I) != FItems[size_t(I)]) return false;
    return true;
  }
  TPersistent* Get(int Index) override {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[size_t(Index)];
  }
  int Count() override { return int(FItems.size()); }

 private:
  std::vector<TPersistent*> FItems;
  int FRefCount = 0;
};
}  // namespace

_di_IDesignerSelections CreateSelectionList() { return _di_IDesignerSelections(new TSelectionList); }
#endif

// --- Property categories -------------------------------------------------------------------

#if OM_HOST_RELEASE == 5
OM_IMPLEMENT_CLASS(TPropertyCategory, "Dsgnintf");
String TPropertyCategory::Name() { return "Miscellaneous"; }
String TPropertyCategory::Description() { return Name() + " properties and events"; }

#define OM_CATEGORY(Class, Text, About)                      \
  OM_IMPLEMENT_CLASS(Class, "Dsgnintf");                     \
  String Class::Name() { return Text; }                      \
  String Class::Description() { return About; }
OM_CATEGORY(TActionCategory, "Action", "Properties and events of actions")
OM_CATEGORY(TDataCategory, "Data", "Properties and events that hold data")
OM_CATEGORY(TDatabaseCategory, "Database", "Properties and events of database access")
OM_CATEGORY(TDragNDropCategory, "Drag, Drop and Docking", "Properties and events of dragging")
OM_CATEGORY(THelpCategory, "Help and Hints", "Properties and events of help and hints")
OM_CATEGORY(TInputCategory, "Input", "Properties and events of user input")
OM_CATEGORY(TLayoutCategory, "Layout", "Properties and events of size and position")
OM_CATEGORY(TLegacyCategory, "Legacy", "Properties kept for older forms")
OM_CATEGORY(TLinkageCategory, "Linkage", "Properties that link to other components")
OM_CATEGORY(TLocaleCategory, "Locale", "Properties of the locale")
OM_CATEGORY(TLocalizableCategory, "Localizable", "Properties that change with the language")
OM_CATEGORY(TMiscellaneousCategory, "Miscellaneous", "Properties and events of no other category")
OM_CATEGORY(TVisualCategory, "Visual", "Properties and events of the look")
#undef OM_CATEGORY
#endif

// --- TPropertyEditor ------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TPropertyEditor, "Dsgnintf");
OM_IMPLEMENT_CLASS(TOrdinalProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TIntegerProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TIdentIntegerProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TEnumProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TSetProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TStringProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TClassProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TComponentProperty, "Dsgnintf");
OM_IMPLEMENT_CLASS(TMethodProperty, "Dsgnintf");

TPropertyEditor::TPropertyEditor(const TDesignerRef& ADesigner, int APropCount)
    : FDesigner(ADesigner), FPropCount(std::max(APropCount, 0)) {}

TPropertyEditor::~TPropertyEditor() = default;

void TPropertyEditor::SetPropEntry(int Index, TPersistent* AInstance, PPropInfo APropInfo) {
  if (Index < 0 || Index >= FPropCount)
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (!FInstances)
    FInstances = std::make_shared<std::vector<TPersistent*>>(size_t(FPropCount), nullptr);
  else if (FInstances.use_count() > 1)
    FInstances = std::make_shared<std::vector<TPersistent*>>(*FInstances);
  (*FInstances)[size_t(Index)] = AInstance;
  if (!FPropInfos.empty()) {
    FPropInfos[size_t(Index)] = APropInfo;
  } else if (!FPropInfo || FPropInfo == APropInfo || FPropCount == 1) {
    FPropInfo = APropInfo;
  } else {
    FPropInfos.assign(size_t(FPropCount), FPropInfo);
    FPropInfos[size_t(Index)] = APropInfo;
  }
}

void TPropertyEditor::SetPropEntries(std::shared_ptr<std::vector<TPersistent*>> Instances,
                                     PPropInfo APropInfo) {
  if (!Instances || Instances->size() != size_t(FPropCount))
    throw EListError(Format("An editor of %d entries cannot take %d", {FPropCount, Instances ? int(Instances->size()) : 0}));
  FInstances = std::move(Instances);
  FPropInfo = APropInfo;
  FPropInfos.clear();
}

PPropInfo TPropertyEditor::FirstPropInfo() const {
  if (FPropCount == 0) throw std::out_of_range("The property editor has no entries");
  return PropInfoAt(0);
}

#if OM_HOST_RELEASE == 5
PPropInfo TPropertyEditor::GetPropInfo() const { return FirstPropInfo(); }
PTypeInfo TPropertyEditor::GetPropType() const { return FirstPropInfo()->PropType; }
#else
PPropInfo TPropertyEditor::GetPropInfo() { return FirstPropInfo(); }
PTypeInfo TPropertyEditor::GetPropType() { return FirstPropInfo()->PropType; }
int TPropertyEditor::AddRef() { return ++FRefCount; }
int TPropertyEditor::Release() {
  int N = --FRefCount;
  if (N == 0) delete this;
  return N;
}
bool TPropertyEditor::HasInstance(TPersistent* Instance) {
  return FInstances && std::find(FInstances->begin(), FInstances->end(), Instance) != FInstances->end();
}
#endif

TPersistent* TPropertyEditor::GetComponent(int Index) const {
  if (Index < 0 || Index >= FPropCount)
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return InstanceAt(size_t(Index));
}

void TPropertyEditor::Initialize() {}
void TPropertyEditor::Activate() {}
bool TPropertyEditor::AllEqual() { return FPropCount == 1; }
bool TPropertyEditor::AutoFill() { return true; }
namespace {
struct TStrCollector : TObject {
  std::vector<String> Items;
  void Add(const String& S) { Items.push_back(S); }
};
}  // namespace

void TPropertyEditor::Edit() {
  // With a value list, a double-click moves on to the next value, as the inspector does.
  if (!GetAttributes().Contains(paValueList)) return;
  TStrCollector Values;
  GetValues(Closure<&TStrCollector::Add>(&Values));
  if (Values.Items.empty()) return;
  String Current = GetValue();
  auto It = std::find_if(Values.Items.begin(), Values.Items.end(),
                         [&](const String& S) { return SameText(S, Current); });
  size_t Next = It == Values.Items.end() ? 0 : size_t(It - Values.Items.begin() + 1) % Values.Items.size();
  SetValue(Values.Items[Next]);
}
TPropertyAttributes TPropertyEditor::GetAttributes() { return {paMultiSelect, paRevertable}; }
int TPropertyEditor::GetEditLimit() { return 255; }
String TPropertyEditor::GetName() { return FirstPropInfo()->Name; }
#if OM_HOST_RELEASE == 5
void TPropertyEditor::GetProperties(const TGetPropEditProc&) {}
#else
void TPropertyEditor::GetProperties(const TGetPropProc&) {}
#endif
String TPropertyEditor::GetValue() { return "(unknown)"; }
void TPropertyEditor::GetValues(const TGetStrProc&) {}
void TPropertyEditor::SetValue(const String&) {}

// What the inspector draws for an editor that does not draw itself: the text, inset by a
// pixel, on the row's own background.
#if OM_HOST_RELEASE == 5
void TPropertyEditor::ListMeasureWidth(const String&, TCanvas*, int&) {}
void TPropertyEditor::ListMeasureHeight(const String&, TCanvas*, int&) {}
void TPropertyEditor::ListDrawValue(const String& Value, TCanvas* ACanvas, const TRect& ARect, bool) {
  ACanvas->TextRect(ARect, ARect.Left + 1, ARect.Top + 1, Value);
}
void TPropertyEditor::PropDrawName(TCanvas* ACanvas, const TRect& ARect, bool) {
  ACanvas->TextRect(ARect, ARect.Left + 1, ARect.Top + 1, GetName());
}
void TPropertyEditor::PropDrawValue(TCanvas* ACanvas, const TRect& ARect, bool ASelected) {
  ListDrawValue(GetVisualValue(), ACanvas, ARect, ASelected);
}
#else
void DefaultPropertyDrawName(TPropertyEditor* Prop, TCanvas* Canvas, const TRect& Rect) {
  Canvas->TextRect(Rect, Rect.Left + 1, Rect.Top + 1, Prop->GetName());
}
void DefaultPropertyDrawValue(TPropertyEditor* Prop, TCanvas* Canvas, const TRect& Rect) {
  Canvas->TextRect(Rect, Rect.Left + 1, Rect.Top + 1, Prop->GetVisualValue());
}
void DefaultPropertyListDrawValue(const String& Value, TCanvas* Canvas, const TRect& Rect, bool) {
  Canvas->TextRect(Rect, Rect.Left + 1, Rect.Top + 1, Value);
}
#endif

String TPropertyEditor::GetVisualValue() { return AllEqual() ? GetValue() : String(); }

bool TPropertyEditor::ValueAvailable() {
  for (size_t I = 0; I < size_t(FPropCount); ++I)
    if (!InstanceAt(I) || !PropInfoAt(I)) return false;
  return true;
}

void TPropertyEditor::Revert() {
  // The value a property has in a new component: its declared default.
  for (size_t I = 0; I < size_t(FPropCount); ++I) {
    PPropInfo Prop = PropInfoAt(I);
    TPersistent* Instance = InstanceAt(I);
    if (!Prop->Writable) continue;
    switch (PropClassOf(Prop->PropType->Kind)) {
      case TPropClass::Ordinal:
        if (Prop->Default != NoDefault) SetOrdProp(Instance, Prop, Prop->Default);
        break;
      case TPropClass::String: SetStrProp(Instance, Prop, String()); break;
      case TPropClass::Object:
        if (Prop->PropType->ClassType->InheritsFrom(TComponent::StaticClass()))
          SetObjectProp(Instance, Prop, nullptr);
        break;
      case TPropClass::Method: SetMethodProp(Instance, Prop, TMethod{}); break;
    }
  }
  Modified();
}

long long TPropertyEditor::GetOrdValue() const { return GetOrdValueAt(0); }
long long TPropertyEditor::GetOrdValueAt(int Index) const {
  return GetOrdProp(GetComponent(Index), PropInfoAt(size_t(Index)));
}
void TPropertyEditor::SetOrdValue(long long Value) {
  for (size_t I = 0; I < size_t(FPropCount); ++I) SetOrdProp(InstanceAt(I), PropInfoAt(I), Value);
  Modified();
}
String TPropertyEditor::GetStrValue() const { return GetStrValueAt(0); }
String TPropertyEditor::GetStrValueAt(int Index) const {
  return GetStrProp(GetComponent(Index), PropInfoAt(size_t(Index)));
}
void TPropertyEditor::SetStrValue(const String& Value) {
  for (size_t I = 0; I < size_t(FPropCount); ++I) SetStrProp(InstanceAt(I), PropInfoAt(I), Value);
  Modified();
}
TMethod TPropertyEditor::GetMethodValue() const { return GetMethodValueAt(0); }
TMethod TPropertyEditor::GetMethodValueAt(int Index) const {
  return GetMethodProp(GetComponent(Index), PropInfoAt(size_t(Index)));
}
void TPropertyEditor::SetMethodValue(const TMethod& Value) {
  for (size_t I = 0; I < size_t(FPropCount); ++I) SetMethodProp(InstanceAt(I), PropInfoAt(I), Value);
  Modified();
}
TObject* TPropertyEditor::GetObjectValue() const {
  return GetObjectProp(GetComponent(0), FirstPropInfo());
}
void TPropertyEditor::Modified() {
  if (FDesigner) FDesigner->Modified();
}

// --- Editors of the platform's kinds ---------------------------------------------------------

bool TOrdinalProperty::AllEqual() {
  long long V = GetOrdValue();
  for (int I = 1; I < PropCount(); ++I)
    if (GetOrdValueAt(I) != V) return false;
  return true;
}
int TOrdinalProperty::GetEditLimit() { return 63; }

String TIntegerProperty::GetValue() { return IntToStr(GetOrdValue()); }

void TIntegerProperty::SetValue(const String& Value) {
  long long V;
  PTypeInfo T = GetPropType();
  if (!TryStrToInt64(Value, V)) throw EPropertyError(Format("'%s' is not a valid integer value", {Value}));
  if (V < T->MinValue || V > T->MaxValue)
    throw EPropertyError(Format("Value must be between %s and %s",
                                {IntToStr(T->MinValue), IntToStr(T->MaxValue)}));
  SetOrdValue(V);
}

TPropertyAttributes TIdentIntegerProperty::GetAttributes() {
  return TPropertyEditor::GetAttributes() + TPropertyAttributes{paValueList, paSortList};
}
String TIdentIntegerProperty::GetValue() {
  String Ident;
  long long V = GetOrdValue();
  return IntToIdent(GetPropType(), V, Ident) ? Ident : IntToStr(V);
}
void TIdentIntegerProperty::GetValues(const TGetStrProc& Proc) {
  PTypeInfo T = GetPropType();
  for (int I = 0; I < T->IdentCount; ++I) Proc(T->IdentMap[I].Name);
}
void TIdentIntegerProperty::SetValue(const String& Value) {
  long long V;
  if (IdentToInt(GetPropType(), Trim(Value), V))
    SetOrdValue(V);
  else
    TIntegerProperty::SetValue(Value);
}

TPropertyAttributes TEnumProperty::GetAttributes() {
  return {paMultiSelect, paValueList, paSortList, paRevertable};
}
String TEnumProperty::GetValue() { return GetEnumName(GetPropType(), GetOrdValue()); }
void TEnumProperty::GetValues(const TGetStrProc& Proc) {
  PTypeInfo T = GetPropType();
  for (long long V = T->MinValue; V <= T->MaxValue; ++V) Proc(GetEnumName(T, V));
}
void TEnumProperty::SetValue(const String& Value) {
  int V = GetEnumValue(GetPropType(), Trim(Value));
  if (V < 0) throw EPropertyError(Format("'%s' is not a value of %s", {Value, String(GetPropType()->Name)}));
  SetOrdValue(V);
}

TPropertyAttributes TSetProperty::GetAttributes() {
  return {paMultiSelect, paSubProperties, paReadOnly, paRevertable};
}
String TSetProperty::GetValue() { return SetToString(GetPropType(), GetOrdValue(), true); }
void TSetProperty::SetValue(const String& Value) {
  SetOrdValue(StringToSet(GetPropType(), Value));
}

namespace {
// One member of a set, shown as True or False under the set's row.
class TSetElementProperty : public TPropertyEditor {
  OM_CLASS(TSetElementProperty, TPropertyEditor)
 public:
  TSetElementProperty(const TDesignerRef& D, TPropertyEditor* Owner, int Element)
      : TPropertyEditor(D, Owner->PropCount()), FElement(Element) {
    for (int I = 0; I < Owner->PropCount(); ++I)
      SetPropEntry(I, Owner->GetComponent(I), Owner->GetPropInfo());
  }
  bool AllEqual() override {
    bool V = Has(0);
    for (int I = 1; I < PropCount(); ++I)
      if (Has(I) != V) return false;
    return true;
  }
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  String GetName() override { return GetEnumName(GetPropType()->CompType, FElement); }
  String GetValue() override { return Has(0) ? "True" : "False"; }
  void GetValues(const TGetStrProc& Proc) override {
    Proc("False");
    Proc("True");
  }
  void SetValue(const String& Value) override {
    bool On;
    if (SameText(Value, "True")) On = true;
    else if (SameText(Value, "False")) On = false;
    else throw EPropertyError(Format("'%s' is not True or False", {Value}));
    unsigned long long Bit = 1ULL << FElement;
    for (int I = 0; I < PropCount(); ++I) {
      unsigned long long Bits = (unsigned long long)GetOrdValueAt(I);
      Bits = On ? (Bits | Bit) : (Bits & ~Bit);
      SetOrdProp(GetComponent(I), GetPropInfo(), (long long)Bits);
    }
    Modified();
  }

 private:
  bool Has(int Index) const { return ((unsigned long long)GetOrdValueAt(Index) >> FElement) & 1; }
  int FElement;
};
}  // namespace
OM_IMPLEMENT_CLASS(TSetElementProperty, "Dsgnintf");

#if OM_HOST_RELEASE == 5
void TSetProperty::GetProperties(const TGetPropEditProc& Proc) {
  PTypeInfo E = GetPropType()->CompType;
  for (long long V = E->MinValue; V <= E->MaxValue && V < 64; ++V) {
    auto* Editor = new TSetElementProperty(Designer(), this, int(V));
    Proc(Editor);
  }
}
#else
void TSetProperty::GetProperties(const TGetPropProc& Proc) {
  PTypeInfo E = GetPropType()->CompType;
  for (long long V = E->MinValue; V <= E->MaxValue && V < 64; ++V)
    Proc(_di_IProperty(new TSetElementProperty(Designer(), this, int(V))));
}
#endif

bool TStringProperty::AllEqual() {
  String V = GetStrValue();
  for (int I = 1; I < PropCount(); ++I)
    if (GetStrValueAt(I) != V) return false;
  return true;
}
int TStringProperty::GetEditLimit() { return 255; }
String TStringProperty::GetValue() { return GetStrValue(); }
void TStringProperty::SetValue(const String& Value) { SetStrValue(Value); }

OM_IMPLEMENT_CLASS(TComponentNameProperty, "Dsgnintf");
TPropertyAttributes TComponentNameProperty::GetAttributes() { return {paNotNestable}; }
int TComponentNameProperty::GetEditLimit() { return 63; }

TPropertyAttributes TClassProperty::GetAttributes() { return {paMultiSelect, paSubProperties, paReadOnly}; }
String TClassProperty::GetValue() { return Format("(%s)", {String(GetPropType()->Name)}); }

#if OM_HOST_RELEASE == 5
void TClassProperty::GetProperties(const TGetPropEditProc& Proc) {
  TDesignerSelectionList Objects;
  for (int I = 0; I < PropCount(); ++I)
    if (auto* P = dynamic_cast<TPersistent*>(GetObjectProp(GetComponent(I), GetPropInfo())))
      Objects.Add(P);
  if (Objects.Count() == PropCount()) GetComponentProperties(&Objects, {}, Designer(), Proc);
}
#else
void TClassProperty::GetProperties(const TGetPropProc& Proc) {
  _di_IDesignerSelections Objects = CreateSelectionList();
  for (int I = 0; I < PropCount(); ++I)
    if (auto* P = dynamic_cast<TPersistent*>(GetObjectProp(GetComponent(I), GetPropInfo())))
      Objects->Add(P);
  if (Objects->Count() == PropCount()) GetComponentProperties(Objects, {}, Designer(), Proc);
}
#endif

void TComponentProperty::Edit() { TPropertyEditor::Edit(); }
TPropertyAttributes TComponentProperty::GetAttributes() {
  return {paMultiSelect, paValueList, paSortList, paRevertable};
}
int TComponentProperty::GetEditLimit() { return 127; }
String TComponentProperty::GetValue() {
  auto* C = dynamic_cast<TComponent*>(GetObjectValue());
  if (!C) return {};
  return Designer() ? Designer()->GetComponentName(C) : C->Name();
}
void TComponentProperty::GetValues(const TGetStrProc& Proc) {
  if (Designer()) Designer()->GetComponentNames(GetPropType(), Proc);
}
void TComponentProperty::SetValue(const String& Value) {
  TComponent* C = nullptr;
  if (!Value.empty()) {
    C = Designer() ? Designer()->GetComponent(Value) : nullptr;
    if (!C || !C->InheritsFrom(GetPropType()->ClassType))
      throw EPropertyError(Format("The form has no %s named %s", {String(GetPropType()->Name), Value}));
  }
  for (int I = 0; I < PropCount(); ++I) SetObjectProp(GetComponent(I), GetPropInfo(), C);
  Modified();
}

bool TMethodProperty::AllEqual() {
  TMethod V = GetMethodValue();
  for (int I = 1; I < PropCount(); ++I)
    if (!(GetMethodValueAt(I) == V)) return false;
  return true;
}
TPropertyAttributes TMethodProperty::GetAttributes() {
  return {paMultiSelect, paValueList, paSortList, paRevertable};
}
int TMethodProperty::GetEditLimit() { return 63; }
String TMethodProperty::GetValue() {
  TMethod M = GetMethodValue();
  return M && Designer() ? Designer()->GetMethodName(M) : String();
}
void TMethodProperty::GetValues(const TGetStrProc& Proc) {
  if (Designer()) Designer()->GetMethods(GetPropType(), Proc);
}
void TMethodProperty::SetValue(const String& Value) {
  String Name = Trim(Value);
  if (Name.empty()) {
    SetMethodValue(TMethod{});
    return;
  }
  if (!IsValidIdent(Name)) throw EPropertyError(Format("'%s' is not a valid identifier", {Name}));
  if (!Designer()) throw EPropertyError("Events are edited only on a form being designed");
  String Old = GetValue();
  if (!Old.empty() && AllEqual() && !Designer()->MethodExists(Name) && !SameText(Old, Name)) {
    // Typing a new name over a handler renames it, as the IDE does.
    Designer()->RenameMethod(Old, Name);
    return;
  }
  SetMethodValue(Designer()->CreateMethod(Name, GetPropType()));
}
String TMethodProperty::GetTrimmedEventName() {
  String Name = GetName();
  if (Name.size() > 2 && (Name[0] == 'O' || Name[0] == 'o') && (Name[1] == 'N' || Name[1] == 'n'))
    return Name.substr(2);
  return Name;
}
String TMethodProperty::GetFormMethodName() {
  String Result;
  TPersistent* Instance = GetComponent(0);
  if (Designer() && Instance == Designer()->GetRoot()) {
    Result = Designer()->GetRootClassName();
    if (!Result.empty() && (Result[0] == 'T' || Result[0] == 't')) Result.erase(0, 1);
  } else if (Designer()) {
    Result = Designer()->GetObjectName(Instance);
    // A collection item's path ("Grid1.Columns[2]") makes no identifier by itself.
    String Clean;
    for (char C : Result)
      if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_')
        Clean += C;
    Result = Clean;
  }
  if (Result.empty()) throw EPropertyError("Cannot create a method for an unnamed component");
  return Result + GetTrimmedEventName();
}
void TMethodProperty::Edit() {
  if (!Designer()) return;
  String Name = GetValue();
  if (Name.empty() || Designer()->MethodFromAncestor(GetMethodValue())) {
    if (Name.empty()) Name = GetFormMethodName();
    SetValue(Name);
  }
  Designer()->ShowMethod(Name);
}

// --- Component editors ---------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TComponentEditor, "Dsgnintf");

namespace {
// The event a double-click edits: OnCreate over OnChange over OnClick.
bool BeatsBestEvent(const String& PropName, const String& BestName) {
  if (SameText(PropName, "OnCreate")) return true;
  if (SameText(BestName, "OnCreate")) return false;
  if (SameText(PropName, "OnChange")) return true;
  return !SameText(BestName, "OnChange") && SameText(PropName, "OnClick");
}
}  // namespace
OM_IMPLEMENT_CLASS(TDefaultEditor, "Dsgnintf");

TComponentEditor::TComponentEditor(TComponent* AComponent, const TDesignerRef& ADesigner)
    : FComponent(AComponent), FDesigner(ADesigner) {}
TComponentEditor::~TComponentEditor() = default;

void TComponentEditor::Edit() {
  if (GetVerbCount() > 0) ExecuteVerb(0);
}
void TComponentEditor::ExecuteVerb(int) {}
String TComponentEditor::GetVerb(int) { return {}; }
int TComponentEditor::GetVerbCount() { return 0; }
void TComponentEditor::Copy() {}
#if OM_HOST_RELEASE == 5
void TComponentEditor::PrepareItem(int, TMenuItem*) {}
#else
void TComponentEditor::PrepareItem(int, const _di_IMenuItem&) {}
#endif

#if OM_HOST_RELEASE == 5
TDefaultEditor::~TDefaultEditor() {
  delete FFirst;
  delete FBest;
}

void TDefaultEditor::CheckEdit(TPropertyEditor* PropertyEditor) {
  bool FreeEditor = true;
  try {
    if (FContinue) EditProperty(PropertyEditor, FContinue, FreeEditor);
  } catch (...) {
    if (FreeEditor) delete PropertyEditor;
    throw;
  }
  if (FreeEditor) delete PropertyEditor;
}

void TDefaultEditor::EditProperty(TPropertyEditor* PropertyEditor, bool& Continue, bool& FreeEditor) {
  auto ReplaceBest = [&] {
    if (FBest != FFirst) delete FBest;
    FBest = PropertyEditor;
    if (FFirst == FBest) FFirst = nullptr;
    FreeEditor = false;
  };
  if (!FFirst && PropertyEditor->Is<TMethodProperty>()) {
    FreeEditor = false;
    FFirst = PropertyEditor;
  }
  if (BeatsBestEvent(PropertyEditor->GetName(), FBest ? FBest->GetName() : String())) ReplaceBest();
}

void TDefaultEditor::Edit() {
  TDesignerSelectionList Components;
  Components.Add(Component());
  FContinue = true;
  FFirst = FBest = nullptr;
  auto Cleanup = [&] {
    delete FFirst;
    delete FBest;
    FFirst = FBest = nullptr;
  };
  try {
    GetComponentProperties(&Components, {}, Designer(),
                           Closure<&TDefaultEditor::CheckEdit>(this));
    if (FContinue) {
      if (FBest)
        FBest->Edit();
      else if (FFirst)
        FFirst->Edit();
    }
  } catch (...) {
    Cleanup();
    throw;
  }
  Cleanup();
}
#else
TDefaultEditor::~TDefaultEditor() = default;

void TDefaultEditor::CheckEdit(const _di_IProperty& Prop) {
  if (FContinue) EditProperty(Prop, FContinue);
}

void TDefaultEditor::EditProperty(const _di_IProperty& Prop, bool& Continue) {
  auto ReplaceBest = [&] {
    FBest = Prop;
    if (FFirst == FBest) FFirst = nullptr;
  };
  if (!FFirst && dynamic_cast<TMethodProperty*>(Prop.get())) FFirst = Prop;
  if (BeatsBestEvent(Prop->GetName(), FBest ? FBest->GetName() : String())) ReplaceBest();
}

void TDefaultEditor::Edit() {
  _di_IDesignerSelections Components = CreateSelectionList();
  Components->Add(Component());
  FContinue = true;
  FFirst = nullptr;
  FBest = nullptr;
  try {
    GetComponentProperties(Components, {}, Designer(), Closure<&TDefaultEditor::CheckEdit>(this));
    if (FContinue) {
      if (FBest)
        FBest->Edit();
      else if (FFirst)
        FFirst->Edit();
    }
  } catch (...) {
    FFirst = nullptr;
    FBest = nullptr;
    throw;
  }
  FFirst = nullptr;
  FBest = nullptr;
}
#endif

// --- The properties of a selection --------------------------------------------------------------

namespace {
// The selected objects, and whether they are all of one class. Selections mostly are, and
// then a property found on the first object is every object's own without a lookup by
// name: the inspector stays linear with ten thousand columns selected.
struct TSelected {
  explicit TSelected(std::shared_ptr<std::vector<TPersistent*>> AShared)
      : Shared(std::move(AShared)), Objects(*Shared) {
    // Objects by the ten thousand lie far apart: each is fetched some ahead of its turn.
    if (!Objects.empty()) {
      const TClass First = Objects[0]->ClassType();
      for (size_t I = 1; I < Objects.size() && OneClass; ++I) {
        if (I + 16 < Objects.size()) __builtin_prefetch(Objects[I + 16]);
        OneClass = Objects[I]->ClassType() == First;
      }
    }
  }
  // P, found on the first object, as O has it.
  PPropInfo PropOf(TPersistent* O, PPropInfo P) const { return OneClass ? P : GetPropInfo(O, P->Name); }

  // One list of the objects for every editor of a selection of one class, while each
  // property is every object's own.
  const std::shared_ptr<std::vector<TPersistent*>> Shared;
  const std::vector<TPersistent*>& Objects;
  bool OneClass = true;
};

// The properties every selected object has: same name and same type.
std::vector<PPropInfo> CommonProperties(const TSelected& Selected, TSet<TTypeKind> Filter) {
  const std::vector<TPersistent*>& Objects = Selected.Objects;
  std::vector<PPropInfo> Result;
  if (Objects.empty()) return Result;
  for (PPropInfo P : GetPropList(Objects[0])) {
    if (!Filter.Empty() && !Filter.Contains(P->PropType->Kind)) continue;
    bool Everywhere = Selected.OneClass ||
                      std::all_of(Objects.begin() + 1, Objects.end(), [&](TPersistent* O) {
                        PPropInfo Q = GetPropInfo(O, P->Name);
                        return Q && Q->PropType == P->PropType;
                      });
    if (Everywhere) Result.push_back(P);
  }
  return Result;
}

TPropertyEditor* MakeEditor(const TSelected& Selected, PPropInfo P, const TDesignerRef& Designer) {
  const std::vector<TPersistent*>& Objects = Selected.Objects;
  TPropertyEditorClass EditorClass = TRegistries::Instance().PropertyEditorFor(
      P->PropType, P->Name, Objects[0]->ClassType());
  if (!EditorClass) return nullptr;  // registered as hidden
  TPropertyEditor* Editor = EditorClass.Create(Designer, int(Objects.size()));
  if (Selected.OneClass)
    Editor->SetPropEntries(Selected.Shared, P);
  else
    for (size_t I = 0; I < Objects.size(); ++I)
      Editor->SetPropEntry(int(I), Objects[I], Selected.PropOf(Objects[I], P));
  return Editor;
}
}  // namespace

#if OM_HOST_RELEASE == 5
void GetSelectionProperties(std::shared_ptr<std::vector<TPersistent*>> Objects, TSet<TTypeKind> Filter,
                            const _di_IFormDesigner& Designer, const TGetPropEditProc& Proc) {
  const TSelected Selected(std::move(Objects));
  for (PPropInfo P : CommonProperties(Selected, Filter)) {
    TPropertyEditor* Editor = MakeEditor(Selected, P, Designer);
    if (!Editor) continue;
    try {
      Editor->Initialize();
      // Several components: only editors that allow it.
      if (Selected.Objects.size() > 1 && !Editor->GetAttributes().Contains(paMultiSelect)) {
        delete Editor;
        continue;
      }
    } catch (...) {
      delete Editor;
      throw;
    }
    Proc(Editor);  // the receiver owns the editor now
  }
}

void GetComponentProperties(TDesignerSelectionList* Components, TSet<TTypeKind> Filter,
                            const _di_IFormDesigner& Designer, const TGetPropEditProc& Proc) {
  auto Objects = std::make_shared<std::vector<TPersistent*>>();
  Objects->reserve(size_t(Components->Count()));
  for (int I = 0; I < Components->Count(); ++I) Objects->push_back(Components->Items(I));
  GetSelectionProperties(std::move(Objects), Filter, Designer, Proc);
}
#else
void GetSelectionProperties(std::shared_ptr<std::vector<TPersistent*>> Objects, TSet<TTypeKind> Filter,
                            const _di_IDesigner& Designer, const TGetPropProc& Proc) {
  const TSelected Selected(std::move(Objects));
  for (PPropInfo P : CommonProperties(Selected, Filter)) {
    TPropertyEditor* Raw = MakeEditor(Selected, P, Designer);
    if (!Raw) continue;
    _di_IProperty Editor(Raw);
    Raw->Initialize();
    if (Selected.Objects.size() > 1 && !Raw->GetAttributes().Contains(paMultiSelect)) continue;
    Proc(Editor);
  }
}

void GetComponentProperties(const _di_IDesignerSelections& Components, TSet<TTypeKind> Filter,
                            const _di_IDesigner& Designer, const TGetPropProc& Proc) {
  auto Objects = std::make_shared<std::vector<TPersistent*>>();
  Objects->reserve(size_t(Components->Count()));
  for (int I = 0; I < Components->Count(); ++I) Objects->push_back(Components->Get(I));
  GetSelectionProperties(std::move(Objects), Filter, Designer, Proc);
}
#endif

namespace {

// A dataset's TableName: the tables its database holds, to choose from.
class TSQLiteTableNameProperty : public TStringProperty {
  OM_CLASS(TSQLiteTableNameProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  TPropertyAttributes GetAttributes() override {
    return TStringProperty::GetAttributes() + TPropertyAttributes{paValueList, paSortList};
  }
  void GetValues(const TGetStrProc& Proc) override {
    if (auto* Data = dynamic_cast<TSQLiteDataSet*>(GetComponent(0)))
      for (const String& Name : Data->GetTableNames()) Proc(Name);
  }
};

}  // namespace
OM_IMPLEMENT_CLASS(TSQLiteTableNameProperty, "SQLiteDB");

void RegisterDataAccessEditors() {
  RegisterPropertyEditor(TypeInfo<String>(), TSQLiteDataSet::StaticClass(), "TableName",
                         TSQLiteTableNameProperty::StaticClass());
}
