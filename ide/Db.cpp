#include "Db.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#if OM_HOST_RELEASE >= 6
OM_ENUM_TYPE_INFO(TFieldType, "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord",
                  "ftBoolean", "ftFloat", "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime",
                  "ftBytes", "ftVarBytes", "ftAutoInc", "ftBlob", "ftMemo", "ftGraphic",
                  "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",
                  "ftFixedChar", "ftWideString", "ftLargeint", "ftADT", "ftArray", "ftReference",
                  "ftDataSet", "ftOraBlob", "ftOraClob", "ftVariant", "ftInterface", "ftIDispatch",
                  "ftGuid", "ftTimeStamp", "ftFMTBcd");
#else
OM_ENUM_TYPE_INFO(TFieldType, "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord",
                  "ftBoolean", "ftFloat", "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime",
                  "ftBytes", "ftVarBytes", "ftAutoInc", "ftBlob", "ftMemo", "ftGraphic",
                  "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",
                  "ftFixedChar", "ftWideString", "ftLargeint", "ftADT", "ftArray", "ftReference",
                  "ftDataSet", "ftOraBlob", "ftOraClob", "ftVariant", "ftInterface", "ftIDispatch",
                  "ftGuid");
#endif

OM_IMPLEMENT_CLASS(EDatabaseError, "Db");

namespace {

// The value of a field without one; made on first use, as loading runs no code.
const TFieldValue& NullValue() {
  static const TFieldValue Null;
  return Null;
}

bool IsStringKind(TFieldType T) {
  return T == ftString || T == ftFixedChar || T == ftWideString || T == ftGuid;
}
bool IsIntegerKind(TFieldType T) {
  return T == ftSmallint || T == ftInteger || T == ftWord || T == ftAutoInc || T == ftLargeint;
}
bool IsFloatKind(TFieldType T) {
  return T == ftFloat || T == ftCurrency || T == ftBCD
#if OM_HOST_RELEASE >= 6
         || T == ftFMTBcd
#endif
      ;
}

String FloatText(double V) {
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "%.15g", V);
  return Buf;
}

bool ParseFloat(const String& S, double& V) {
  if (S.empty() || std::isspace((unsigned char)S[0])) return false;
  char* End = nullptr;
  errno = 0;
  V = std::strtod(S.c_str(), &End);
  return End == S.c_str() + S.size() && errno != ERANGE && std::isfinite(V);
}

bool ParseBool(const String& S, bool& V) {
  if (SameText(S, "True") || S == "1") return V = true, true;
  if (SameText(S, "False") || S == "0") return !(V = false);
  return false;
}

// The range a kind of integer field holds.
void IntegerRange(TFieldType T, long long& Min, long long& Max) {
  Min = LLONG_MIN;
  Max = LLONG_MAX;
  if (T == ftSmallint) Min = -32768, Max = 32767;
  if (T == ftWord) Min = 0, Max = 65535;
  if (T == ftInteger || T == ftAutoInc) Min = INT_MIN, Max = INT_MAX;
}

}  // namespace

// --- TFields ------------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TFields, "Db");

TFields::~TFields() { Clear(); }

TField* TFields::Fields(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FList[std::size_t(Index)];
}

TField* TFields::FindField(const String& FieldName) const {
  if (FByName.empty()) {
    FByName.reserve(FList.size());
    for (TField* F : FList) FByName.emplace(UpperCase(F->FieldName()), F);  // the first wins
  }
  auto It = FByName.find(UpperCase(FieldName));
  return It == FByName.end() ? nullptr : It->second;
}

int TFields::IndexOf(const TField* Field) const {
  auto It = std::find(FList.begin(), FList.end(), Field);
  return It == FList.end() ? -1 : int(It - FList.begin());
}

void TFields::Add(TField* Field) {
  FList.push_back(Field);
  Field->FOwnerList = this;
  if (!FByName.empty()) FByName.emplace(UpperCase(Field->FieldName()), Field);
}

void TFields::Clear() {
  Forget();
  // The last first, so that nothing refers to a field already gone.
  while (!FList.empty()) {
    TField* F = FList.back();
    FList.pop_back();
    F->FOwnerList = nullptr;
    delete F;
  }
}

// --- TField -------------------------------------------------------------------------------

template <>
struct TPublished<TField> {
  static constexpr TPropInfo Props[] = {
      Property<&TField::FieldName, &TField::SetFieldName>("FieldName"),
      Property<&TField::Size, &TField::SetSize>("Size", 0),
      Property<&TField::Visible, &TField::SetVisible>("Visible", 1),
  };
};
OM_IMPLEMENT_CLASS(TField, "Db");

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField() {
  if (FOwnerList) {
    std::erase(FOwnerList->FList, this);
    FOwnerList->Forget();
  }
}

void TField::Error(const String& Message) const {
  throw EDatabaseError(Format("Field '%s': %s", {FullName(), Message}));
}

void TField::SetFieldName(const String& Value) {
  if (FDataSet && FDataSet->Active()) Error("cannot be renamed while its dataset is open");
  FFieldName = Value;
  if (FOwnerList) FOwnerList->Forget();
}

void TField::SetSize(int Value) {
  if (FDataSet && FDataSet->Active()) Error("cannot be resized while its dataset is open");
  FSize = Value;
}

String TField::FullName() const {
  if (!FParentField) return FFieldName;
  String Parent = FParentField->FullName();
  // An array's elements are named after it ("Phones[0]"), so only the index is added.
  const String& PName = FParentField->FieldName();
  if (FParentField->DataType() == ftArray && FFieldName.compare(0, PName.size(), PName) == 0)
    return Parent + FFieldName.substr(PName.size());
  return Parent + "." + FFieldName;
}

int TField::DisplayWidth() const {
  switch (FDataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
      return FSize > 0 ? FSize : 20;
    case ftBoolean:
      return 5;
    case ftDate:
    case ftTime:
      return 10;
    case ftDateTime:
      return 18;
    default:
      return 10;
  }
}

int TField::Index() const { return FOwnerList ? FOwnerList->IndexOf(this) : -1; }

const TFieldValue& TField::Value() const {
  if (!FDataSet || FSlot < 0 || FDataSet->FRecNo < 0) return NullValue();
  return FDataSet->FRecords[std::size_t(FDataSet->FRecNo)][std::size_t(FSlot)];
}

void TField::SetValue(TFieldValue V) {
  if (!FDataSet || !FDataSet->Active()) Error("its dataset is not open");
  if (!FDataSet->CanModify()) Error("its dataset cannot be modified");
  if (FSlot < 0) Error("an object field holds no value of its own");
  if (FDataSet->FRecNo < 0) Error("its dataset has no current record");
  FDataSet->FRecords[std::size_t(FDataSet->FRecNo)][std::size_t(FSlot)] = std::move(V);
  FDataSet->DataEvent(deRecordChange);
}

String TField::ValueText(const TFieldValue& V) const {
  if (auto* I = std::get_if<long long>(&V))
    return FDataType == ftBoolean ? String(*I ? "True" : "False") : IntToStr(*I);
  if (auto* D = std::get_if<double>(&V)) return FloatText(*D);
  if (auto* S = std::get_if<String>(&V)) return *S;
  return String();
}

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(Value()); }
String TField::AsString() const { return ValueText(Value()); }

long long TField::AsLargeInt() const {
  const TFieldValue& V = Value();
  if (auto* I = std::get_if<long long>(&V)) return *I;
  if (auto* D = std::get_if<double>(&V)) {
    if (*D != std::trunc(*D) || std::fabs(*D) >= 9.2e18)
      Error(Format("'%s' is not an integer value", {FloatText(*D)}));
    return (long long)*D;
  }
  if (auto* S = std::get_if<String>(&V)) {
    long long R;
    if (!TryStrToInt64(*S, R)) Error(Format("'%s' is not a valid integer value", {*S}));
    return R;
  }
  return 0;
}

int TField::AsInteger() const {
  long long V = AsLargeInt();
  if (V < INT_MIN || V > INT_MAX) Error(Format("%s is out of the range of Integer", {IntToStr(V)}));
  return int(V);
}

double TField::AsFloat() const {
  const TFieldValue& V = Value();
  if (auto* I = std::get_if<long long>(&V)) return double(*I);
  if (auto* D = std::get_if<double>(&V)) return *D;
  if (auto* S = std::get_if<String>(&V)) {
    double R;
    if (!ParseFloat(*S, R)) Error(Format("'%s' is not a valid floating point value", {*S}));
    return R;
  }
  return 0;
}

bool TField::AsBoolean() const {
  const TFieldValue& V = Value();
  if (auto* I = std::get_if<long long>(&V)) return *I != 0;
  if (auto* D = std::get_if<double>(&V)) return *D != 0;
  if (auto* S = std::get_if<String>(&V)) {
    bool R;
    if (!ParseBool(*S, R)) Error(Format("'%s' is not a valid boolean value", {*S}));
    return R;
  }
  return false;
}

String TField::DisplayText() const {
  switch (FDataType) {
    case ftADT:
      return "(ADT)";
    case ftArray:
      return "(ARRAY)";
    case ftDataSet:
      return "(DATASET)";
    case ftReference:
      return "(REFERENCE)";
    case ftMemo:
    case ftFmtMemo:
      return IsNull() ? "(Memo)" : "(MEMO)";
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
      return IsNull() ? "(Blob)" : "(BLOB)";
    default:
      return AsString();
  }
}

void TField::SetAsString(const String& S) {
  if (IsStringKind(FDataType)) {
    if (FSize > 0 && int(S.size()) > FSize)
      Error(Format("'%s' is longer than its %d characters", {S, FSize}));
    return SetValue(S);
  }
  if (S.empty() && FSlot >= 0) return SetValue(std::monostate());
  if (IsIntegerKind(FDataType)) {
    long long V;
    if (!TryStrToInt64(S, V)) Error(Format("'%s' is not a valid integer value", {S}));
    return SetAsInteger(V);
  }
  if (IsFloatKind(FDataType)) {
    double V;
    if (!ParseFloat(S, V)) Error(Format("'%s' is not a valid floating point value", {S}));
    return SetValue(V);
  }
  if (FDataType == ftBoolean) {
    bool V;
    if (!ParseBool(S, V)) Error(Format("'%s' is not a valid boolean value", {S}));
    return SetValue((long long)V);
  }
  SetValue(S);
}

void TField::SetAsInteger(long long Value) {
  if (!IsIntegerKind(FDataType) && FDataType != ftBoolean) return SetAsString(IntToStr(Value));
  long long Min, Max;
  IntegerRange(FDataType, Min, Max);
  if (FDataType == ftBoolean) Value = Value != 0;
  if (Value < Min || Value > Max)
    Error(Format("%s is out of its range (%s to %s)",
                 {IntToStr(Value), IntToStr(Min), IntToStr(Max)}));
  SetValue(Value);
}

void TField::SetAsFloat(double Value) {
  if (IsFloatKind(FDataType)) {
    if (!std::isfinite(Value)) Error("a floating point value must be finite");
    return SetValue(Value);
  }
  SetAsString(FloatText(Value));
}

void TField::SetAsBoolean(bool Value) {
  if (FDataType == ftBoolean || IsIntegerKind(FDataType)) return SetAsInteger(Value);
  SetAsString(Value ? "True" : "False");
}

void TField::Clear() { SetValue(std::monostate()); }

// --- The kinds of fields --------------------------------------------------------------------

#define OM_IMPLEMENT_FIELD(Name, Kind) \
  OM_IMPLEMENT_CLASS(Name, "Db");      \
  Name::Name(TComponent* AOwner) : inherited(AOwner) { SetDataType(Kind); }

OM_IMPLEMENT_FIELD(TStringField, ftString)
OM_IMPLEMENT_FIELD(TIntegerField, ftInteger)
OM_IMPLEMENT_FIELD(TLargeintField, ftLargeint)
OM_IMPLEMENT_FIELD(TFloatField, ftFloat)
OM_IMPLEMENT_FIELD(TBooleanField, ftBoolean)
OM_IMPLEMENT_FIELD(TDateTimeField, ftDateTime)
OM_IMPLEMENT_FIELD(TBlobField, ftBlob)
OM_IMPLEMENT_FIELD(TMemoField, ftMemo)
OM_IMPLEMENT_FIELD(TADTField, ftADT)
OM_IMPLEMENT_FIELD(TArrayField, ftArray)
OM_IMPLEMENT_FIELD(TDataSetField, ftDataSet)
OM_IMPLEMENT_FIELD(TReferenceField, ftReference)

OM_IMPLEMENT_CLASS(TObjectField, "Db");

TObjectField::TObjectField(TComponent* AOwner) : TField(AOwner), FFields(new TFields(nullptr)) {}

TObjectField::~TObjectField() { delete FFields; }

TFieldClass DefaultFieldClass(TFieldType DataType) {
  switch (DataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
      return TStringField::StaticClass();
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return TIntegerField::StaticClass();
    case ftLargeint:
      return TLargeintField::StaticClass();
    case ftFloat:
    case ftCurrency:
    case ftBCD:
#if OM_HOST_RELEASE >= 6
    case ftFMTBcd:
#endif
      return TFloatField::StaticClass();
    case ftBoolean:
      return TBooleanField::StaticClass();
    case ftDate:
    case ftTime:
    case ftDateTime:
#if OM_HOST_RELEASE >= 6
    case ftTimeStamp:
#endif
      return TDateTimeField::StaticClass();
    case ftMemo:
    case ftFmtMemo:
      return TMemoField::StaticClass();
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
      return TBlobField::StaticClass();
    case ftADT:
      return TADTField::StaticClass();
    case ftArray:
      return TArrayField::StaticClass();
    case ftDataSet:
      return TDataSetField::StaticClass();
    case ftReference:
      return TReferenceField::StaticClass();
    default:
      return nullptr;
  }
}

// --- Field definitions ----------------------------------------------------------------

template <>
struct TPublished<TFieldDef> {
  static constexpr TPropInfo Props[] = {
      Property<&TFieldDef::Name, &TFieldDef::SetName>("Name"),
      Property<&TFieldDef::DataType, &TFieldDef::SetDataType>("DataType", ftUnknown),
      Property<&TFieldDef::Size, &TFieldDef::SetSize>("Size", 0),
      Property<&TFieldDef::ChildDefs, &TFieldDef::SetChildDefs>("ChildDefs"),
  };
};
OM_IMPLEMENT_CLASS(TFieldDef, "Db");
OM_IMPLEMENT_CLASS(TFieldDefs, "Db");

TFieldDef::TFieldDef(TCollection* Collection)
    : TCollectionItem(Collection), FChildDefs(new TFieldDefs(this)) {
  FChildDefs->FParentDef = this;
}

TFieldDef::~TFieldDef() { delete FChildDefs; }

void TFieldDef::Assign(TPersistent* Source) {
  auto* D = dynamic_cast<TFieldDef*>(Source);
  if (!D) return TCollectionItem::Assign(Source);
  FName = D->FName;
  FDataType = D->FDataType;
  FSize = D->FSize;
  FChildDefs->Assign(D->FChildDefs);
  Changed(false);
}

void TFieldDef::SetName(const String& Value) {
  FName = Value;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType Value) {
  FDataType = Value;
  Changed(false);
}

void TFieldDef::SetSize(int Value) {
  if (Value < 0)
    throw EDatabaseError(Format("Field definition %s: a size cannot be negative", {FName}));
  FSize = Value;
  Changed(false);
}

void TFieldDef::SetChildDefs(TFieldDefs* Value) { FChildDefs->Assign(Value); }

TFieldDef* TFieldDef::ParentDef() const {
  auto* Defs = static_cast<TFieldDefs*>(Collection());
  return Defs ? Defs->ParentDef() : nullptr;
}

String TFieldDef::GetDisplayName() const {
  return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
}

TFieldDefs::TFieldDefs(TPersistent* AOwner) : TOwnedCollection(AOwner, TFieldDef::StaticClass()) {}

TFieldDef* TFieldDefs::Add(const String& Name, TFieldType DataType, int Size) {
  TFieldDef* D = AddFieldDef();
  D->SetName(Name);
  D->SetDataType(DataType);
  D->SetSize(Size);
  return D;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (SameText(Items(I)->Name(), Name)) return Items(I);
  return nullptr;
}

// --- TDataSet -----------------------------------------------------------------------------

template <>
struct TPublished<TDataSet> {
  static constexpr TPropInfo Props[] = {
      Property<&TDataSet::Active, &TDataSet::SetActive>("Active", 0),
  };
};
OM_IMPLEMENT_CLASS(TDataSet, "Db");

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFields(new TFields(this)) {}

TDataSet::~TDataSet() {
  // A dataset class closes itself in its own destructor; this one only lets go.
  if (Active()) CloseCursor(false);
  // The data sources let go here, while this dataset is whole: the free notification of
  // the base destructor would reach them after its members are gone.
  for (TDataSource* S : std::vector<TDataSource*>(FDataSources)) S->SetDataSet(nullptr);
  delete FFields;
}

void TDataSet::Error(const String& Message) const {
  throw EDatabaseError(Name().empty() ? Message : Name() + ": " + Message);
}

void TDataSet::CheckInactive() const {
  if (Active()) Error("Cannot perform this operation on an open dataset");
}

void TDataSet::CheckActive() const {
  if (!Active()) Error("Cannot perform this operation on a closed dataset");
}

void TDataSet::SetActive(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FStreamedActive = Value;
    return;
  }
  if (Value == Active()) return;
  if (!Value) return CloseCursor(true);
  try {
    InternalOpen();
  } catch (...) {
    InternalClose();
    FFields->Clear();
    FRecords.clear();
    FSlotCount = FNextFieldNo = 0;
    throw;
  }
  FRecNo = FRecords.empty() ? -1 : 0;
  FBof = true;
  FEof = FRecords.empty();
  SetState(dsBrowse);
}

void TDataSet::CloseCursor(bool CallInternalClose) {
  // Links hear of the close while the fields they may hold still exist.
  SetState(dsInactive);
  if (CallInternalClose) InternalClose();
  FFields->Clear();
  FRecords.clear();
  FSlotCount = FNextFieldNo = 0;
  FRecNo = -1;
  FBof = FEof = true;
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (FStreamedActive) {
    FStreamedActive = false;
    SetActive(true);
  }
}

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  FState = Value;
  if (FDisableCount > 0) {
    FChangedWhileDisabled = true;
    if (Value == dsInactive) FReopenedWhileDisabled = true;
    return;
  }
  for (TDataSource* S : std::vector<TDataSource*>(FDataSources)) S->UpdateLinks();
}

void TDataSet::DataEvent(TDataEvent Event) {
  if (FDisableCount > 0) {
    FChangedWhileDisabled = true;
    return;
  }
  for (TDataSource* S : std::vector<TDataSource*>(FDataSources)) S->SendEvent(Event);
}

void TDataSet::DisableControls() {
  if (FDisableCount++ == 0) {
    FDisableState = FState;
    FChangedWhileDisabled = FReopenedWhileDisabled = false;
  }
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0 || --FDisableCount > 0) return;
  bool Changed = FChangedWhileDisabled;
  // Closed and opened again: the fields the links knew are gone, so they start over.
  bool Force = FReopenedWhileDisabled && FState == FDisableState;
  FChangedWhileDisabled = FReopenedWhileDisabled = false;
  std::vector<TDataSource*> Sources(FDataSources);
  if (FState != FDisableState || Force)
    for (TDataSource* S : Sources) S->UpdateLinks(Force);
  else if (Changed && Active())
    for (TDataSource* S : Sources) S->SendEvent(deDataSetChange);
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    std::erase_if(FDataSources, [AComponent](TDataSource* S) { return S == AComponent; });
}

TField* TDataSet::FindField(const String& FieldName) const {
  if (TField* F = FFields->FindField(FieldName)) return F;
  // A path into object fields: walk every field, depth first.
  std::vector<TFields*> Lists{FFields};
  while (!Lists.empty()) {
    TFields* L = Lists.back();
    Lists.pop_back();
    for (int I = 0; I < L->Count(); ++I) {
      TField* F = L->Fields(I);
      if (SameText(F->FullName(), FieldName)) return F;
      if (auto* O = dynamic_cast<TObjectField*>(F)) Lists.push_back(O->Fields());
    }
  }
  return nullptr;
}

TField* TDataSet::FieldByName(const String& FieldName) const {
  TField* F = FindField(FieldName);
  if (!F) Error(Format("Field '%s' not found", {FieldName}));
  return F;
}

TField* TDataSet::AddField(TFieldType DataType, const String& FieldName, int Size,
                           TObjectField* Parent) {
  TFieldClass C = DefaultFieldClass(DataType);
  if (!C)
    Error(Format("Field '%s' is of type %s, which a dataset cannot hold",
                 {FieldName, GetEnumName(TypeInfo<TFieldType>(), DataType)}));
  TFields* List = Parent ? Parent->Fields() : FFields;
  // An array's elements are unique by their index; looking would cost a pass per element.
  bool IsElement = Parent && Parent->DataType() == ftArray;
  if (!IsElement && List->FindField(FieldName))
    Error(Format("Duplicate field name '%s'",
                 {Parent ? Parent->FullName() + "." + FieldName : FieldName}));
  TField* F = C.Create(nullptr);
  F->FDataType = DataType;
  F->FFieldName = FieldName;
  F->FSize = Size;
  F->FDataSet = this;
  F->FParentField = Parent;
  F->FFieldNo = ++FNextFieldNo;
  if (!dynamic_cast<TObjectField*>(F)) F->FSlot = FSlotCount++;
  List->FDataSet = this;
  List->Add(F);
  return F;
}

void TDataSet::AddRecord(std::vector<TFieldValue> Values) {
  Values.resize(std::size_t(FSlotCount));
  FRecords.push_back(std::move(Values));
}

void TDataSet::AppendEmptyRecord() {
  CheckActive();
  FRecords.emplace_back(std::size_t(FSlotCount));
  FBof = FEof = false;
  FRecNo = int(FRecords.size()) - 1;
  DataEvent(deDataSetChange);
}

void TDataSet::Scrolled(int NewRecNo) {
  if (NewRecNo == FRecNo) return;
  FRecNo = NewRecNo;
  DataEvent(deDataSetScroll);
}

void TDataSet::First() {
  CheckActive();
  Scrolled(FRecords.empty() ? -1 : 0);
  FBof = true;
  FEof = FRecords.empty();
}

void TDataSet::Last() {
  CheckActive();
  Scrolled(int(FRecords.size()) - 1);
  FEof = true;
  FBof = FRecords.empty();
}

void TDataSet::Next() {
  CheckActive();
  if (FRecNo + 1 < int(FRecords.size())) {
    Scrolled(FRecNo + 1);
    FBof = FEof = false;
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckActive();
  if (FRecNo > 0) {
    Scrolled(FRecNo - 1);
    FBof = FEof = false;
  } else {
    FBof = true;
  }
}

void TDataSet::SetRecNo(int Value) {
  CheckActive();
  if (Value < 1 || Value > RecordCount())
    Error(Format("Record %d does not exist (there are %d)", {Value, RecordCount()}));
  Scrolled(Value - 1);
  FBof = FEof = false;
}

// --- TDataSource and TDataLink --------------------------------------------------------------

template <>
struct TPublished<TDataSource> {
  static constexpr TPropInfo Props[] = {
      Property<&TDataSource::DataSet, &TDataSource::SetDataSet>("DataSet"),
      Property<&TDataSource::Enabled, &TDataSource::SetEnabled>("Enabled", 1),
  };
};
OM_IMPLEMENT_CLASS(TDataSource, "Db");
OM_IMPLEMENT_CLASS(TDataLink, "Db");

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  std::vector<TDataLink*> Links;
  Links.swap(FLinks);
  for (TDataLink* L : Links) {
    L->FDataSource = nullptr;
    L->UpdateActive(false);
  }
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) {
    std::erase(FDataSet->FDataSources, this);
    FDataSet->RemoveFreeNotification(this);
  }
  FDataSet = Value;
  if (FDataSet) {
    FDataSet->FDataSources.push_back(this);
    FDataSet->FreeNotification(this);
  }
  UpdateLinks();
}

void TDataSource::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateLinks();
}

TDataSetState TDataSource::State() const noexcept {
  return FEnabled && FDataSet ? FDataSet->State() : dsInactive;
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataSet && AComponent == FDataSet) {
    std::erase(FDataSet->FDataSources, this);
    FDataSet = nullptr;
    UpdateLinks();
  }
}

// Links may detach themselves (or others) while hearing; each is told only while still here.
void TDataSource::UpdateLinks(bool Force) {
  for (TDataLink* L : std::vector<TDataLink*>(FLinks))
    if (std::find(FLinks.begin(), FLinks.end(), L) != FLinks.end()) L->UpdateActive(Force);
}

void TDataSource::SendEvent(TDataEvent Event) {
  if (!FEnabled) return;
  for (TDataLink* L : std::vector<TDataLink*>(FLinks)) {
    if (std::find(FLinks.begin(), FLinks.end(), L) == FLinks.end() || !L->FActive) continue;
    if (Event == deDataSetScroll)
      L->DataSetScrolled();
    else
      L->DataSetChanged();
  }
}

TDataLink::~TDataLink() {
  if (FDataSource) std::erase(FDataSource->FLinks, this);
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (FDataSource) std::erase(FDataSource->FLinks, this);
  FDataSource = Value;
  if (FDataSource) FDataSource->FLinks.push_back(this);
  UpdateActive(false);
}

void TDataLink::UpdateActive(bool Force) {
  bool Now = FDataSource && FDataSource->FEnabled && FDataSource->FDataSet &&
             FDataSource->FDataSet->Active();
  if (Now == FActive && !(Force && Now)) return;
  FActive = Now;
  ActiveChanged();
}
