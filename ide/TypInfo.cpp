#include "TypInfo.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>
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

// Property names compare without regard to case. Looked up as they come, with no
// upper-case copy: the form reader asks once for every property of every object it reads.
char AsciiUpper(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }
// Folds the case of letters (and pairs a few other characters, which only the
// comparison then tells apart).
std::size_t NameHash(std::string_view S) noexcept {
  std::size_t H = 14695981039346656037ull;
  for (char C : S) H = (H ^ ((unsigned char)C | 0x20u)) * 1099511628211ull;
  // The low bits pick the slot; without this they would hang on the low bits alone.
  return H ^ (H >> 32);
}
bool SameName(std::string_view A, const char* B) noexcept {
  for (char C : A) {
    if (*B == 0 || AsciiUpper(C) != AsciiUpper(*B)) return false;
    ++B;
  }
  return *B == 0;
}

struct TClassProps {
  TPropList List;
  // Open addressing over the names, their hashes kept: a class has tens of properties,
  // and a look-up is one hash of the name asked and, nearly always, one comparison.
  struct TSlot {
    std::size_t Hash = 0;
    std::size_t Size = 0;
    PPropInfo Prop = nullptr;
  };
  std::vector<TSlot> Slots;  // a power of two, at most half full

  PPropInfo Find(std::string_view Name) const noexcept {
    std::size_t H = NameHash(Name), Mask = Slots.size() - 1;
    for (std::size_t I = H & Mask;; I = (I + 1) & Mask) {
      const TSlot& S = Slots[I];
      if (!S.Prop) return nullptr;
      if (S.Hash != H || S.Size != Name.size()) continue;
      // Files and code nearly always spell a name as it is declared.
      if (std::memcmp(Name.data(), S.Prop->Name, S.Size) == 0 || SameName(Name, S.Prop->Name)) return S.Prop;
    }
  }
  void Index() {
    std::size_t Size = 4;
    while (Size < 2 * List.size()) Size *= 2;
    Slots.assign(Size, TSlot{});
    for (PPropInfo P : List) {
      std::size_t H = NameHash(P->Name), I = H & (Size - 1);
      while (Slots[I].Prop) I = (I + 1) & (Size - 1);
      Slots[I] = {H, std::strlen(P->Name), P};
    }
  }
};

// Built once per class on first use: the inspector and the form reader ask by name
// for every property they touch.
std::unordered_map<TClass, TClassProps> Cache;
// The class asked last: a reader asks for one class's properties many times in a row.
// Entries of the cache stay where they are until it is flushed.
TClass LastClass;
const TClassProps* LastProps;

const TClassProps& PropsOf(TClass AClass) {
  if (AClass == LastClass) return *LastProps;
  auto It = Cache.find(AClass);
  if (It == Cache.end()) {
    std::vector<TClass> Chain;
    for (TClass C = AClass; C; C = C->Parent) Chain.push_back(C);
    TClassProps Result;
    for (auto C = Chain.rbegin(); C != Chain.rend(); ++C)
      for (int I = 0; I < (*C)->PropCount; ++I) {
        PPropInfo P = &(*C)->Props[I];
        auto Found = std::find_if(Result.List.begin(), Result.List.end(),
                                  [&](PPropInfo Q) { return SameName(P->Name, Q->Name); });
        // A redeclared property takes its ancestor's place in the list.
        if (Found != Result.List.end())
          *Found = P;
        else
          Result.List.push_back(P);
      }
    Result.Index();
    It = Cache.emplace(AClass, std::move(Result)).first;
  }
  LastClass = AClass;
  LastProps = &It->second;
  return It->second;
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

void FlushPropInfoCache() {
  Cache.clear();
  LastClass = TClass();
  LastProps = nullptr;
}

const TPropList& GetPropList(TClass AClass) {
  static const TPropList None;
  return AClass ? PropsOf(AClass).List : None;
}
const TPropList& GetPropList(const TObject* Instance) { return GetPropList(Instance->ClassType()); }

PPropInfo GetPropInfo(TClass AClass, const String& PropName) {
  if (!AClass) return nullptr;
  const TClassProps& Props = PropsOf(AClass);
  return Props.Find(PropName);
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
