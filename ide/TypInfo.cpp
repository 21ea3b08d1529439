#include "TypInfo.h"

#include <climits>
#include <unordered_map>

#include "Classes.h"
#include "SysUtils.h"

namespace {
constexpr const char* BooleanNames[] = {"False", "True"};
constexpr TIdentMapEntry ColorIdents[] = {
    {clBlack, "clBlack"},     {clMaroon, "clMaroon"},   {clGreen, "clGreen"},
    {clOlive, "clOlive"},     {clNavy, "clNavy"},       {clPurple, "clPurple"},
    {clTeal, "clTeal"},       {clGray, "clGray"},       {clSilver, "clSilver"},
    {clRed, "clRed"},         {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},       {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
    {clWhite, "clWhite"},     {clNone, "clNone"},       {clDefault, "clDefault"},
    {clBtnFace, "clBtnFace"}, {clWindow, "clWindow"},   {clWindowText, "clWindowText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clInfoBk, "clInfoBk"},   {clGrayText, "clGrayText"},
};
}  // namespace

const TTypeInfo TypeInfo_Integer{tkInteger, "Integer", INT_MIN, INT_MAX};
const TTypeInfo TypeInfo_Cardinal{tkInteger, "Cardinal", 0, UINT_MAX};
const TTypeInfo TypeInfo_Int64{tkInt64, "Int64", LLONG_MIN, LLONG_MAX};
const TTypeInfo TypeInfo_Boolean{tkEnumeration, "Boolean", 0, 1, BooleanNames};
const TTypeInfo TypeInfo_String{tkLString, "string"};
const TTypeInfo TypeInfo_TColor{tkInteger, "TColor", INT_MIN, INT_MAX, nullptr, nullptr,
                                nullptr, nullptr, ColorIdents, int(std::size(ColorIdents))};
const TTypeInfo TypeInfo_TNotifyEvent{tkMethod, "TNotifyEvent", 0, 0, nullptr, nullptr,
                                      nullptr, TNotifyEvent::Signature};

OM_IMPLEMENT_CLASS(EPropertyError, "TypInfo");
OM_IMPLEMENT_CLASS(EPropertyConvertError, "TypInfo");

namespace {

struct TClassProps {
  TPropList List;
  std::unordered_map<String, PPropInfo> ByName;  // upper-case names
};

// Built once per class on first use: the inspector and the form reader ask by name
// for every property they touch.
std::unordered_map<TClass, TClassProps> Cache;

const TClassProps& PropsOf(TClass AClass) {
  auto It = Cache.find(AClass);
  if (It != Cache.end()) return It->second;
  std::vector<TClass> Chain;
  for (TClass C = AClass; C; C = C->Parent) Chain.push_back(C);
  TClassProps Result;
  for (auto C = Chain.rbegin(); C != Chain.rend(); ++C)
    for (int I = 0; I < (*C)->PropCount; ++I) {
      PPropInfo P = &(*C)->Props[I];
      String Key = UpperCase(P->Name);
      auto Found = Result.ByName.find(Key);
      if (Found != Result.ByName.end()) {
        // A redeclared property takes its ancestor's place in the list.
        for (PPropInfo& Slot : Result.List)
          if (Slot == Found->second) Slot = P;
        Found->second = P;
      } else {
        Result.ByName.emplace(std::move(Key), P);
        Result.List.push_back(P);
      }
    }
  return Cache.emplace(AClass, std::move(Result)).first->second;
}

PPropInfo Require(const TObject* Instance, const String& PropName) {
  PPropInfo P = GetPropInfo(Instance, PropName);
  if (!P) throw EPropertyError(Format("Property %s does not exist", {PropName}));
  return P;
}

void RequireWritable(const TObject* Instance, PPropInfo P) {
  if (!P->Writable)
    throw EPropertyError(Format("Property %s.%s is read-only", {Instance->ClassName(), P->Name}));
}

void RequireClass(PPropInfo P, TPropClass K) {
  if (PropClassOf(P->PropType->Kind) != K)
    throw EPropertyConvertError(Format("Invalid property type: %s", {P->PropType->Name}));
}

}  // namespace

void FlushPropInfoCache() { Cache.clear(); }

const TPropList& GetPropList(TClass AClass) {
  static const TPropList None;
  return AClass ? PropsOf(AClass).List : None;
}
const TPropList& GetPropList(const TObject* Instance) { return GetPropList(Instance->ClassType()); }

PPropInfo GetPropInfo(TClass AClass, const String& PropName) {
  if (!AClass) return nullptr;
  const TClassProps& Props = PropsOf(AClass);
  auto It = Props.ByName.find(UpperCase(PropName));
  return It == Props.ByName.end() ? nullptr : It->second;
}

PPropInfo GetPropInfo(const TObject* Instance, const String& PropName) {
  return GetPropInfo(Instance->ClassType(), PropName);
}

bool IsPublishedProp(const TObject* Instance, const String& PropName) {
  return GetPropInfo(Instance, PropName) != nullptr;
}

bool IsStoredProp(const TObject* Instance, PPropInfo P) {
  return !P->IsStored || P->IsStored(Instance);
}

bool IsDefaultPropValue(const TObject* Instance, PPropInfo P) {
  switch (PropClassOf(P->PropType->Kind)) {
    case TPropClass::Ordinal:
      return P->Default != NoDefault && GetOrdProp(Instance, P) == P->Default;
    case TPropClass::String:
      return GetStrProp(Instance, P).empty();
    case TPropClass::Object:
      return GetObjectProp(Instance, P) == nullptr;
    case TPropClass::Method:
      return !GetMethodProp(Instance, P);
  }
  return false;
}

TTypeKind PropType(const TObject* Instance, const String& PropName) {
  return Require(Instance, PropName)->PropType->Kind;
}

long long GetOrdProp(const TObject* Instance, PPropInfo P) {
  RequireClass(P, TPropClass::Ordinal);
  return P->Access.Ord.Get(Instance);
}

void SetOrdProp(TObject* Instance, PPropInfo P, long long Value) {
  RequireClass(P, TPropClass::Ordinal);
  RequireWritable(Instance, P);
  PTypeInfo T = P->PropType;
  if (T->Kind == tkEnumeration || T->Kind == tkInteger) {
    if (Value < T->MinValue || Value > T->MaxValue)
      throw EPropertyConvertError(Format("%s is not a valid value for %s (%s)",
                                         {IntToStr(Value), P->Name, T->Name}));
  } else if (T->Kind == tkSet) {
    long long Count = T->CompType->MaxValue + 1;
    if (Count < 64 && (static_cast<unsigned long long>(Value) >> Count) != 0)
      throw EPropertyConvertError(Format("Invalid value for the set %s", {T->Name}));
  }
  P->Access.Ord.Set(Instance, Value);
}

String GetStrProp(const TObject* Instance, PPropInfo P) {
  RequireClass(P, TPropClass::String);
  return P->Access.Str.Get(Instance);
}

void SetStrProp(TObject* Instance, PPropInfo P, const String& Value) {
  RequireClass(P, TPropClass::String);
  RequireWritable(Instance, P);
  P->Access.Str.Set(Instance, Value);
}

TObject* GetObjectProp(const TObject* Instance, PPropInfo P) {
  RequireClass(P, TPropClass::Object);
  return P->Access.Obj.Get(Instance);
}

void SetObjectProp(TObject* Instance, PPropInfo P, TObject* Value) {
  RequireClass(P, TPropClass::Object);
  RequireWritable(Instance, P);
  if (Value && !Value->InheritsFrom(P->PropType->ClassType))
    throw EPropertyConvertError(Format("Cannot assign a %s to the %s property %s",
                                       {Value->ClassName(), P->PropType->Name, P->Name}));
  P->Access.Obj.Set(Instance, Value);
}

TMethod GetMethodProp(const TObject* Instance, PPropInfo P) {
  RequireClass(P, TPropClass::Method);
  return P->Access.Meth.Get(Instance);
}

void SetMethodProp(TObject* Instance, PPropInfo P, const TMethod& Value) {
  RequireClass(P, TPropClass::Method);
  RequireWritable(Instance, P);
  P->Access.Meth.Set(Instance, Value);
}

long long GetOrdProp(const TObject* I, const String& N) { return GetOrdProp(I, Require(I, N)); }
void SetOrdProp(TObject* I, const String& N, long long V) { SetOrdProp(I, Require(I, N), V); }
String GetStrProp(const TObject* I, const String& N) { return GetStrProp(I, Require(I, N)); }
void SetStrProp(TObject* I, const String& N, const String& V) { SetStrProp(I, Require(I, N), V); }
TObject* GetObjectProp(const TObject* I, const String& N) { return GetObjectProp(I, Require(I, N)); }
void SetObjectProp(TObject* I, const String& N, TObject* V) { SetObjectProp(I, Require(I, N), V); }
TMethod GetMethodProp(const TObject* I, const String& N) { return GetMethodProp(I, Require(I, N)); }
void SetMethodProp(TObject* I, const String& N, const TMethod& V) {
  SetMethodProp(I, Require(I, N), V);
}

String GetEnumName(PTypeInfo T, long long Value) {
  if (T->Kind != tkEnumeration || !T->NameList || Value < T->MinValue || Value > T->MaxValue)
    return IntToStr(Value);
  return T->NameList[Value - T->MinValue];
}

int GetEnumValue(PTypeInfo T, const String& Name) {
  if (T->Kind != tkEnumeration || !T->NameList) return -1;
  for (long long V = T->MinValue; V <= T->MaxValue; ++V)
    if (SameText(T->NameList[V - T->MinValue], Name)) return int(V);
  return -1;
}

String SetToString(PTypeInfo SetType, long long Value, bool Brackets) {
  String R;
  PTypeInfo E = SetType->CompType;
  for (long long V = E->MinValue; V <= E->MaxValue && V < 64; ++V)
    if ((static_cast<unsigned long long>(Value) >> V) & 1) {
      if (!R.empty()) R += ',';
      R += GetEnumName(E, V);
    }
  return Brackets ? "[" + R + "]" : R;
}

long long StringToSet(PTypeInfo SetType, const String& Value) {
  String S = Trim(Value);
  if (!S.empty() && S.front() == '[') S.erase(0, 1);
  if (!S.empty() && S.back() == ']') S.pop_back();
  unsigned long long Bits = 0;
  size_t Pos = 0;
  while (Pos <= S.size()) {
    size_t Comma = S.find(',', Pos);
    String Name = Trim(S.substr(Pos, Comma == String::npos ? String::npos : Comma - Pos));
    if (!Name.empty()) {
      int V = GetEnumValue(SetType->CompType, Name);
      if (V < 0)
        throw EPropertyConvertError(Format("Invalid property element: %s", {Name}));
      Bits |= 1ULL << V;
    }
    if (Comma == String::npos) break;
    Pos = Comma + 1;
  }
  return static_cast<long long>(Bits);
}

String GetPropValueText(const TObject* Instance, PPropInfo P) {
  PTypeInfo T = P->PropType;
  switch (T->Kind) {
    case tkEnumeration:
      return GetEnumName(T, GetOrdProp(Instance, P));
    case tkSet:
      return SetToString(T, GetOrdProp(Instance, P), true);
    case tkLString:
    case tkString:
    case tkWString:
      return GetStrProp(Instance, P);
    case tkClass: {
      TObject* O = GetObjectProp(Instance, P);
      if (!O) return {};
      if (auto* C = dynamic_cast<TComponent*>(O)) return C->Name();
      return "(" + O->ClassName() + ")";
    }
    case tkMethod: {
      TMethod M = GetMethodProp(Instance, P);
      return M.Data ? M.Data->ClassType()->MethodName(M.Code) : String();
    }
    default: {
      long long V = GetOrdProp(Instance, P);
      String Ident;
      return IntToIdent(T, V, Ident) ? Ident : IntToStr(V);
    }
  }
}

bool IdentToInt(PTypeInfo T, const String& Ident, long long& Value) {
  for (int I = 0; I < T->IdentCount; ++I)
    if (SameText(T->IdentMap[I].Name, Ident)) {
      Value = T->IdentMap[I].Value;
      return true;
    }
  return false;
}

bool IntToIdent(PTypeInfo T, long long Value, String& Ident) {
  for (int I = 0; I < T->IdentCount; ++I)
    if (T->IdentMap[I].Value == Value) {
      Ident = T->IdentMap[I].Name;
      return true;
    }
  return false;
}

long long GetTypeMin(PTypeInfo T) { return T->MinValue; }
long long GetTypeMax(PTypeInfo T) { return T->MaxValue; }
