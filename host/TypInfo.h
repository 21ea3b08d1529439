// TypInfo: type information of published properties, and reading and writing any
// published property by name. The IDE's inspector, streaming and designer stand on it.
#pragma once

#include <vector>

#include "System.h"

// A set of up to 64 members of an enumeration, stored as a bit mask of ordinals.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Members) {
    for (E M : Members) FBits |= Bit(M);
  }
  static constexpr TSet FromBits(std::uint64_t Bits) {
    TSet S;
    S.FBits = Bits;
    return S;
  }
  constexpr std::uint64_t Bits() const noexcept { return FBits; }
  constexpr bool Contains(E M) const noexcept { return (FBits & Bit(M)) != 0; }
  constexpr TSet& operator<<(E M) noexcept { FBits |= Bit(M); return *this; }
  constexpr TSet& operator>>(E M) noexcept { FBits &= ~Bit(M); return *this; }
  constexpr TSet operator+(TSet O) const noexcept { return FromBits(FBits | O.FBits); }
  constexpr TSet operator-(TSet O) const noexcept { return FromBits(FBits & ~O.FBits); }
  constexpr TSet operator*(TSet O) const noexcept { return FromBits(FBits & O.FBits); }
  constexpr bool Empty() const noexcept { return FBits == 0; }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(E M) { return std::uint64_t(1) << unsigned(M); }
  std::uint64_t FBits = 0;
};

// Colours are their own type so that the inspector and editor matching tell them apart
// from plain integers, as the platform does.
enum TColor : int {
  clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
  clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
  clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
  clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
  clNone = 0x1FFFFFFF, clDefault = 0x20000000,
  clBtnFace = int(0x8000000F), clWindow = int(0x80000005), clWindowText = int(0x80000008),
  clHighlight = int(0x8000000D), clHighlightText = int(0x8000000E),
  clInfoBk = int(0x80000018), clGrayText = int(0x80000011)
};

// --- Type information of the platform's types ------------------------------------------

template <class T>
struct TTypeInfoOf;  // specialized for every type a published property may have

extern PACKAGE const TTypeInfo TypeInfo_Integer;
extern PACKAGE const TTypeInfo TypeInfo_Cardinal;
extern PACKAGE const TTypeInfo TypeInfo_Int64;
extern PACKAGE const TTypeInfo TypeInfo_Boolean;
extern PACKAGE const TTypeInfo TypeInfo_String;
extern PACKAGE const TTypeInfo TypeInfo_TColor;
extern PACKAGE const TTypeInfo TypeInfo_TNotifyEvent;

template <> struct TTypeInfoOf<int> { static constexpr PTypeInfo Get() { return &TypeInfo_Integer; } };
template <> struct TTypeInfoOf<unsigned> { static constexpr PTypeInfo Get() { return &TypeInfo_Cardinal; } };
template <> struct TTypeInfoOf<long long> { static constexpr PTypeInfo Get() { return &TypeInfo_Int64; } };
template <> struct TTypeInfoOf<bool> { static constexpr PTypeInfo Get() { return &TypeInfo_Boolean; } };
template <> struct TTypeInfoOf<String> { static constexpr PTypeInfo Get() { return &TypeInfo_String; } };
template <> struct TTypeInfoOf<TColor> { static constexpr PTypeInfo Get() { return &TypeInfo_TColor; } };

template <class T>
  requires std::is_base_of_v<TObject, T>
struct TTypeInfoOf<T*> {
  static constexpr PTypeInfo Get() { return &T::ClassMeta.Info; }
};

// The platform's `__typeinfo(T)`.
template <class T>
constexpr PTypeInfo TypeInfo() {
  return TTypeInfoOf<T>::Get();
}

// An enumeration type: `OM_ENUM_TYPE(TAlign)` in a header, `OM_ENUM_TYPE_INFO(TAlign,
// "alNone", ...)` in exactly one .cpp.
#define OM_ENUM_TYPE(T)                                                            \
  extern PACKAGE const TTypeInfo TypeInfo_##T;                                     \
  template <>                                                                      \
  struct TTypeInfoOf<T> {                                                          \
    static constexpr PTypeInfo Get() { return &TypeInfo_##T; }                     \
  };
#define OM_ENUM_TYPE_INFO(T, ...)                                                  \
  static constexpr const char* EnumNames_##T[] = {__VA_ARGS__};                    \
  const TTypeInfo TypeInfo_##T{tkEnumeration, #T, 0,                               \
                               static_cast<long long>(std::size(EnumNames_##T)) - 1, EnumNames_##T}

// A set type over an enumeration: `OM_SET_TYPE(TGridOptions, TGridOption)`.
#define OM_SET_TYPE(S, E)                                                          \
  using S = TSet<E>;                                                               \
  extern PACKAGE const TTypeInfo TypeInfo_##S;                                     \
  template <>                                                                      \
  struct TTypeInfoOf<TSet<E>> {                                                    \
    static constexpr PTypeInfo Get() { return &TypeInfo_##S; }                     \
  };
#define OM_SET_TYPE_INFO(S, E)                                                     \
  const TTypeInfo TypeInfo_##S { tkSet, #S, 0, 0, nullptr, &TypeInfo_##E }

#define OM_EVENT_TYPE_BIND(T)                                                      \
  template <>                                                                      \
  struct TTypeInfoOf<T> {                                                          \
    static constexpr PTypeInfo Get() { return &TypeInfo_##T; }                     \
  };
// An event type: `OM_EVENT_TYPE(TKeyPressEvent, TObject*, char&)`. Each is a type of its
// own, so that two event types of the same parameters keep their own type information.
#define OM_EVENT_TYPE(T, ...)                                                      \
  struct T : TClosure<__VA_ARGS__> {                                               \
    using TClosure<__VA_ARGS__>::TClosure;                                         \
    T(const TClosure<__VA_ARGS__>& C) : TClosure<__VA_ARGS__>(C) {}                \
  };                                                                               \
  extern PACKAGE const TTypeInfo TypeInfo_##T;                                     \
  OM_EVENT_TYPE_BIND(T)
#define OM_EVENT_TYPE_INFO(T)                                                      \
  const TTypeInfo TypeInfo_##T { tkMethod, #T, 0, 0, nullptr, nullptr, nullptr, T::Signature }

using TNotifyEvent = TClosure<TObject*>;
OM_EVENT_TYPE_BIND(TNotifyEvent)

// --- Published properties ----------------------------------------------------------------

constexpr long long NoDefault = static_cast<long long>(0x8000000000000000ULL);

// How a property is read and written; which member is live follows from the kind of the
// property type (PropClassOf).
struct TOrdAccess {
  long long (*Get)(const TObject*);
  void (*Set)(TObject*, long long);
};
struct TStrAccess {
  String (*Get)(const TObject*);
  void (*Set)(TObject*, const String&);
};
struct TObjAccess {
  TObject* (*Get)(const TObject*);
  void (*Set)(TObject*, TObject*);
};
struct TMethAccess {
  TMethod (*Get)(const TObject*);
  void (*Set)(TObject*, const TMethod&);
};
union TPropAccess {
  TOrdAccess Ord;
  TStrAccess Str;
  TObjAccess Obj;
  TMethAccess Meth;
};

// One published property.
struct TPropInfo {
  PTypeInfo PropType;
  const char* Name;
  TPropAccess Access;
  bool Writable;
  long long Default;   // ordinals: the value left out of form files; NoDefault: always
  bool (*IsStored)(const TObject*);  // null: stored
};

enum class TPropClass { Ordinal, String, Object, Method };

constexpr TPropClass PropClassOf(TTypeKind K) {
  switch (K) {
    case tkLString: case tkString: case tkWString: return TPropClass::String;
    case tkClass: return TPropClass::Object;
    case tkMethod: return TPropClass::Method;
    default: return TPropClass::Ordinal;
  }
}

namespace om_detail {
template <class M>
struct TMember;
template <class C, class T>
struct TMember<T C::*> {  // a field
  using Class = C;
  using Value = T;
};
template <class C, class T>
struct TMember<T (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<T>;
};
template <class C, class T>
struct TMember<T (C::*)() const noexcept> : TMember<T (C::*)() const> {};

template <class T>
constexpr TPropClass PropClassOfValue() {
  if constexpr (std::is_same_v<T, String>) return TPropClass::String;
  else if constexpr (std::is_pointer_v<T>) return TPropClass::Object;
  else if constexpr (requires(const T& V) { V.Method(); }) return TPropClass::Method;
  else return TPropClass::Ordinal;
}

template <class T>
long long ToOrdinal(const T& V) {
  if constexpr (requires { V.Bits(); }) return static_cast<long long>(V.Bits());
  else return static_cast<long long>(V);
}
template <class T>
T FromOrdinal(long long V) {
  if constexpr (requires { T::FromBits(0); }) return T::FromBits(static_cast<std::uint64_t>(V));
  else return static_cast<T>(V);
}

template <class C, auto G>
decltype(auto) Read(const TObject* O) {
  const C* Self = static_cast<const C*>(O);
  if constexpr (std::is_member_function_pointer_v<decltype(G)>) return (Self->*G)();
  else return (Self->*G);
}
template <class C, class T, auto S>
void Write(TObject* O, const T& V) {
  C* Self = static_cast<C*>(O);
  if constexpr (std::is_member_function_pointer_v<decltype(S)>) (Self->*S)(V);
  else Self->*S = V;
}

template <class C, class T, auto G, auto S>
struct TAccess {
  static long long GetOrd(const TObject* O) { return ToOrdinal<T>(Read<C, G>(O)); }
  static void SetOrd(TObject* O, long long V) { Write<C, T, S>(O, FromOrdinal<T>(V)); }
  static String GetStr(const TObject* O) { return Read<C, G>(O); }
  static void SetStr(TObject* O, const String& V) { Write<C, T, S>(O, V); }
  static TObject* GetObj(const TObject* O) { return Read<C, G>(O); }
  static void SetObj(TObject* O, TObject* V) {
    // Only objects of the property's class get here: the setters check first.
    Write<C, T, S>(O, static_cast<T>(V));
  }
  static TMethod GetMeth(const TObject* O) { return Read<C, G>(O).Method(); }
  static void SetMeth(TObject* O, const TMethod& V) { Write<C, T, S>(O, T(V)); }
};

template <auto F>
bool StoredThunk(const TObject* O) {
  using C = typename TMember<decltype(F)>::Class;
  return (static_cast<const C*>(O)->*F)();
}
}  // namespace om_detail

namespace om_detail {
template <auto G, auto S, auto Stored>
constexpr TPropInfo MakeProperty(const char* Name, long long Default, PTypeInfo Type) {
  using C = typename om_detail::TMember<decltype(G)>::Class;
  using T = typename om_detail::TMember<decltype(G)>::Value;
  using A = om_detail::TAccess<C, T, G, S>;
  constexpr TPropClass K = om_detail::PropClassOfValue<T>();
  // Told by type, not by value: comparing a member pointer is no constant under the sanitizers.
  constexpr bool W = !std::is_same_v<decltype(S), std::nullptr_t>;
  TPropAccess Access{};
  if constexpr (K == TPropClass::Ordinal) {
    if constexpr (W) Access.Ord = {&A::GetOrd, &A::SetOrd};
    else Access.Ord = {&A::GetOrd, nullptr};
  } else if constexpr (K == TPropClass::String) {
    if constexpr (W) Access.Str = {&A::GetStr, &A::SetStr};
    else Access.Str = {&A::GetStr, nullptr};
  } else if constexpr (K == TPropClass::Object) {
    if constexpr (W) Access.Obj = {&A::GetObj, &A::SetObj};
    else Access.Obj = {&A::GetObj, nullptr};
  } else {
    if constexpr (W) Access.Meth = {&A::GetMeth, &A::SetMeth};
    else Access.Meth = {&A::GetMeth, nullptr};
  }
  bool (*StoredFn)(const TObject*) = nullptr;
  if constexpr (!std::is_same_v<decltype(Stored), std::nullptr_t>)
    StoredFn = &om_detail::StoredThunk<Stored>;
  return TPropInfo{Type, Name, Access, W, Default, StoredFn};
}
}  // namespace om_detail

// A published property read by G (a const member function or a field) and written by S
// (a member function, a field, or nullptr for read-only). `Stored` is a const member
// function returning bool, or nullptr. Its type information is its value type's, or
// Type when given (an integer type with a name of its own).
template <auto G, auto S = nullptr, auto Stored = nullptr>
constexpr TPropInfo Property(const char* Name, long long Default = NoDefault) {
  using T = typename om_detail::TMember<decltype(G)>::Value;
  return om_detail::MakeProperty<G, S, Stored>(Name, Default, TypeInfo<T>());
}
template <auto G, auto S = nullptr, auto Stored = nullptr>
constexpr TPropInfo Property(const char* Name, long long Default, PTypeInfo Type) {
  return om_detail::MakeProperty<G, S, Stored>(Name, Default, Type);
}

// --- Reading and writing published properties ----------------------------------------

using TPropList = std::vector<PPropInfo>;

// Published properties of a class, ancestors' first, in declaration order.
PACKAGE const TPropList& GetPropList(TClass AClass);
PACKAGE const TPropList& GetPropList(const TObject* Instance);
// The property of that name (any case), or null.
PACKAGE PPropInfo GetPropInfo(TClass AClass, const String& PropName);
PACKAGE PPropInfo GetPropInfo(const TObject* Instance, const String& PropName);
inline PTypeInfo GetPropType(PPropInfo P) { return P->PropType; }
PACKAGE bool IsPublishedProp(const TObject* Instance, const String& PropName);
PACKAGE bool IsStoredProp(const TObject* Instance, PPropInfo P);
PACKAGE bool IsDefaultPropValue(const TObject* Instance, PPropInfo P);
PACKAGE TTypeKind PropType(const TObject* Instance, const String& PropName);

PACKAGE long long GetOrdProp(const TObject* Instance, PPropInfo P);
PACKAGE void SetOrdProp(TObject* Instance, PPropInfo P, long long Value);
PACKAGE String GetStrProp(const TObject* Instance, PPropInfo P);
PACKAGE void SetStrProp(TObject* Instance, PPropInfo P, const String& Value);
PACKAGE TObject* GetObjectProp(const TObject* Instance, PPropInfo P);
PACKAGE void SetObjectProp(TObject* Instance, PPropInfo P, TObject* Value);
PACKAGE TMethod GetMethodProp(const TObject* Instance, PPropInfo P);
PACKAGE void SetMethodProp(TObject* Instance, PPropInfo P, const TMethod& Value);

// Forgets what was learnt of classes; the IDE calls it when it unloads a library.
PACKAGE void FlushPropInfoCache();

// By name; an unknown name raises EPropertyError.
PACKAGE long long GetOrdProp(const TObject* Instance, const String& PropName);
PACKAGE void SetOrdProp(TObject* Instance, const String& PropName, long long Value);
PACKAGE String GetStrProp(const TObject* Instance, const String& PropName);
PACKAGE void SetStrProp(TObject* Instance, const String& PropName, const String& Value);
PACKAGE TObject* GetObjectProp(const TObject* Instance, const String& PropName);
PACKAGE void SetObjectProp(TObject* Instance, const String& PropName, TObject* Value);
PACKAGE TMethod GetMethodProp(const TObject* Instance, const String& PropName);
PACKAGE void SetMethodProp(TObject* Instance, const String& PropName, const TMethod& Value);

// Enumerations and sets by name, as the inspector and form files show them.
PACKAGE String GetEnumName(PTypeInfo TypeInfo, long long Value);
PACKAGE int GetEnumValue(PTypeInfo TypeInfo, const String& Name);  // -1 if none
PACKAGE String SetToString(PTypeInfo SetType, long long Value, bool Brackets = false);
PACKAGE long long StringToSet(PTypeInfo SetType, const String& Value);
// Any property's value as text ("True", "[a, b]", "(TFont)", a component's name...).
PACKAGE String GetPropValueText(const TObject* Instance, PPropInfo P);

// Named constants of integer types (TColor's `clRed`...). False if there is none.
PACKAGE bool IdentToInt(PTypeInfo T, const String& Ident, long long& Value);
PACKAGE bool IntToIdent(PTypeInfo T, long long Value, String& Ident);

// The range of an ordinal type (enumerations, Boolean, integers).
PACKAGE long long GetTypeMin(PTypeInfo T);
PACKAGE long long GetTypeMax(PTypeInfo T);

OM_EXCEPTION(EPropertyError, Exception)
OM_EXCEPTION(EPropertyConvertError, Exception)
