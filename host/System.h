// System: the platform's root class, class references, closures, modules and the base
// exception. Every other host header builds on this one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <iterator>
#include <utility>

#if !defined(OM_HOST_RELEASE) || (OM_HOST_RELEASE != 5 && OM_HOST_RELEASE != 6)
#error "OM_HOST_RELEASE must be defined as 5 or 6"
#endif

// Classes and functions that cross library boundaries keep default visibility so that
// a class test or a cast gives the same answer in the IDE, the run-time package and the
// design package.
#define PACKAGE __attribute__((visibility("default")))
#define OM_HIDDEN __attribute__((visibility("hidden")))

using String = std::string;
using AnsiString = std::string;
using Integer = int;
using Cardinal = unsigned int;
using Byte = std::uint8_t;
using Word = std::uint16_t;

class TObject;
class TMetaClass;
struct TTypeInfo;
struct TPropInfo;
struct TMethodEntry;
struct TLibModule;

using TClass = const TMetaClass*;
using PTypeInfo = const TTypeInfo*;
using PPropInfo = const TPropInfo*;

// --- Type information --------------------------------------------------------------

// Ordinals are the platform's, so that values stored by the IDE keep their meaning.
enum TTypeKind : unsigned char {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
  tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface,
  tkInt64, tkDynArray
};

// A method signature is told by the mangled name of its parameter list; comparing the
// names (not addresses) keeps the answer the same on both sides of a library boundary.
using TSignature = const char* (*)();

// A named constant of an integer type (`clBtnFace` of TColor), written and read by name.
struct TIdentMapEntry {
  long long Value;
  const char* Name;
};

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  const char* Name = "";
  long long MinValue = 0;               // ordinals: range; enumerations: first ordinal
  long long MaxValue = 0;
  const char* const* NameList = nullptr;  // enumerations: names of MinValue..MaxValue
  PTypeInfo CompType = nullptr;         // sets: the element type
  TClass ClassType = nullptr;           // classes
  TSignature Signature = nullptr;       // methods
  const TIdentMapEntry* IdentMap = nullptr;  // integers: named constants
  int IdentCount = 0;
};

// --- Closures ------------------------------------------------------------------------

using TErasedCode = void (*)();

// The two parts of an event: the code (a thunk that calls one member function) and the
// object it is called on. Comparable and clearable, like the platform's method pointers.
struct TMethod {
  TErasedCode Code = nullptr;
  TObject* Data = nullptr;
  bool operator==(const TMethod&) const = default;
  explicit operator bool() const noexcept { return Code != nullptr; }
};

template <class... A>
const char* SignatureName() {
  return typeid(void (*)(A...)).name();
}

// An event type: a closure over a member function taking A...
template <class... A>
class TClosure {
 public:
  using TThunk = void (*)(TObject*, A...);
  static constexpr TSignature Signature = &SignatureName<A...>;

  TClosure() = default;
  TClosure(std::nullptr_t) {}
  explicit TClosure(const TMethod& M) : FMethod(M) {}

  const TMethod& Method() const noexcept { return FMethod; }
  explicit operator bool() const noexcept { return FMethod.Code != nullptr; }
  bool operator==(const TClosure&) const = default;
  void operator()(A... Args) const {
    reinterpret_cast<TThunk>(FMethod.Code)(FMethod.Data, Args...);
  }

 private:
  TMethod FMethod;
};

namespace om_detail {
template <auto M>
struct TMemberFn;
template <class C, class... A, void (C::*M)(A...)>
struct TMemberFn<M> {
  using Class = C;
  using Event = TClosure<A...>;
  static void Thunk(TObject* Self, A... Args) { (static_cast<C*>(Self)->*M)(Args...); }
  static TErasedCode Code() { return reinterpret_cast<TErasedCode>(&Thunk); }
  static constexpr TSignature Signature = &SignatureName<A...>;
};
}  // namespace om_detail

// Binds an object's member function into an event: `OnClick = Closure<&TForm1::Go>(this)`.
template <auto M>
auto Closure(typename om_detail::TMemberFn<M>::Class* Self) {
  using F = om_detail::TMemberFn<M>;
  return typename F::Event(
      TMethod{reinterpret_cast<TErasedCode>(&F::Thunk), static_cast<TObject*>(Self)});
}

// --- Modules and resources ----------------------------------------------------------

// One resource compiled into a library: found by type and name, case-insensitively.
struct TResourceEntry {
  const char* Type;
  const char* Name;
  const unsigned char* Data;
  std::size_t Size;
};

#define RT_BITMAP "BITMAP"
#define RT_RCDATA "RCDATA"
#define RT_VERSION "VERSION"

// Every library (and executable) that defines classes has one, built with its
// resources; a class's meta object points at the module of its library.
struct TLibModule {
  const char* Name;
  const TResourceEntry* Resources;
  int ResourceCount;
  TLibModule* ResourceModule;  // a language resource module taking over, or null
  TLibModule* Next;            // the host runtime's list of registered modules
  void* Instance;              // the library's handle once registered
  void* ResourceHandle;        // the language module the runtime loaded for it
};

extern "C" OM_HIDDEN TLibModule OmThisModule;

// --- Class references ----------------------------------------------------------------

// Erased code pointers are made at run time: a constant table may not hold a cast.
using TCodeOf = TErasedCode (*)();

struct TMethodEntry {
  const char* Name;
  TCodeOf Code;
  TSignature Signature;
};

// A published field: a pointer to a component that the form reader sets when it makes
// the root's component of that name, checked against the field's class. A constant table
// cannot hold pointers to members of every class, so it holds functions made for one.
struct TFieldEntry {
  const char* Name;
  TObject* (*Get)(const TObject*);
  void (*Set)(TObject*, TObject*);
  TClass FieldClass;
};

// The meta object of a class: its name, parent, factory and published members.
class PACKAGE TMetaClass {
 public:
  TTypeInfo Info;
  TClass Parent;
  TCodeOf Factory;  // cast back by the typed class reference of the hierarchy
  const TPropInfo* Props;
  int PropCount;
  const TMethodEntry* Methods;
  int MethodCount;
  const TFieldEntry* Fields;
  int FieldCount;
  const char* UnitName;
  TLibModule* Module;

  const char* ClassName() const noexcept { return Info.Name; }
  PTypeInfo ClassInfo() const noexcept { return &Info; }
  TClass ClassParent() const noexcept { return Parent; }
  bool InheritsFrom(TClass AClass) const noexcept;
  bool IsAbstract() const noexcept { return Factory == nullptr; }
  // The published method of this class or an ancestor with that name (any case).
  const TMethodEntry* MethodAddress(const String& Name) const;
  // The name of the published method whose code this is, or empty.
  String MethodName(TErasedCode Code) const;
  // The published field of this class or an ancestor with that name (any case), or null.
  const TFieldEntry* FieldAddress(const String& Name) const;
};

template <class T>
struct TPublished {};  // specialized in a class's .cpp to list its published members

// Declares the class reference machinery inside a class body.
#define OM_CLASS(Name, Base)                                                \
 public:                                                                    \
  using inherited = Base;                                                   \
  static const TMetaClass ClassMeta;                                        \
  static TClass StaticClass() noexcept { return &ClassMeta; }              \
  TClass ClassType() const noexcept override { return &ClassMeta; }        \
  friend struct ::TPublished<Name>;                                         \
                                                                            \
 private:

class PACKAGE TObject {
 public:
  // The signature of the virtual constructor that the class references of this
  // hierarchy call; hierarchies with another constructor redeclare it.
  using TCreateSignature = TObject*();

  static const TMetaClass ClassMeta;
  static TClass StaticClass() noexcept { return &ClassMeta; }
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();
  virtual TClass ClassType() const noexcept { return &ClassMeta; }
  String ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(TClass AClass) const noexcept { return ClassType()->InheritsFrom(AClass); }
  template <class T>
  bool Is() const noexcept {
    return InheritsFrom(T::StaticClass());
  }
  // The published method with that name, bound to this object; empty if none.
  TMethod MethodAddress(const String& Name);
};

// Typed class reference: `TComponentClass`, `TPropertyEditorClass`... Creating an
// instance calls the virtual constructor of the hierarchy root.
template <class Root>
class TClassRef {
 public:
  TClassRef() = default;
  TClassRef(std::nullptr_t) {}
  TClassRef(TClass C) : FClass(C) {}
  operator TClass() const noexcept { return FClass; }
  TClass operator->() const noexcept { return FClass; }
  explicit operator bool() const noexcept { return FClass != nullptr; }

  template <class... A>
  Root* Create(A&&... Args) const;

 private:
  TClass FClass = nullptr;
};

namespace om_detail {
template <class Sig>
struct TFactory;
template <class R, class... A>
struct TFactory<R*(A...)> {
  template <class C>
  static R* Make(A... Args) {
    return new C(Args...);
  }
  template <class C>
  static TErasedCode Code() {
    return reinterpret_cast<TErasedCode>(&Make<C>);
  }
  template <class C>
  static constexpr TCodeOf For() {
    if constexpr (!std::is_abstract_v<C> && std::is_constructible_v<C, A...>)
      return &Code<C>;
    else
      return nullptr;
  }
  static R* Call(TErasedCode F, A... Args) {
    return reinterpret_cast<R* (*)(A...)>(F)(Args...);
  }
};
[[noreturn]] PACKAGE void RaiseAbstract(TClass C);
}  // namespace om_detail

template <class Root>
template <class... A>
Root* TClassRef<Root>::Create(A&&... Args) const {
  if (!FClass || !FClass->Factory) om_detail::RaiseAbstract(FClass);
  using F = om_detail::TFactory<typename Root::TCreateSignature>;
  return static_cast<Root*>(F::Call(FClass->Factory(), std::forward<A>(Args)...));
}

namespace om_detail {
// TPublished<C>'s table of props, methods or fields and its length; none for a class
// that publishes no such member.
#define OM_PUBLISHED_TABLE(Table, Entry)                      \
  template <class C>                                          \
  constexpr const Entry* Table##Of() {                        \
    if constexpr (requires { TPublished<C>::Table; })         \
      return TPublished<C>::Table;                            \
    else                                                      \
      return nullptr;                                         \
  }                                                           \
  template <class C>                                          \
  constexpr int Table##CountOf() {                            \
    if constexpr (requires { TPublished<C>::Table; })         \
      return int(std::size(TPublished<C>::Table));            \
    else                                                      \
      return 0;                                               \
  }
OM_PUBLISHED_TABLE(Props, TPropInfo)
OM_PUBLISHED_TABLE(Methods, TMethodEntry)
OM_PUBLISHED_TABLE(Fields, TFieldEntry)
#undef OM_PUBLISHED_TABLE

template <auto F>
struct TFieldOf;
template <class C, class T, T* C::*F>
struct TFieldOf<F> {
  static_assert(std::is_base_of_v<TObject, T>, "a published field points at an object");
  using Value = T;
  static TObject* Get(const TObject* O) { return static_cast<const C*>(O)->*F; }
  // Only objects of the field's class get here: the reader checks first.
  static void Set(TObject* O, TObject* V) { static_cast<C*>(O)->*F = static_cast<T*>(V); }
};
}  // namespace om_detail

// Defines the meta object of a class in its .cpp, after its TPublished specialization.
#define OM_IMPLEMENT_CLASS(Name, Unit)                                                 \
  const TMetaClass Name::ClassMeta{                                                    \
      {tkClass, #Name, 0, 0, nullptr, nullptr, &Name::ClassMeta, nullptr},             \
      Name::inherited::StaticClass(),                                                  \
      om_detail::TFactory<Name::TCreateSignature>::For<Name>(),                        \
      om_detail::PropsOf<Name>(),                                                      \
      om_detail::PropsCountOf<Name>(),                                                  \
      om_detail::MethodsOf<Name>(),                                                    \
      om_detail::MethodsCountOf<Name>(),                                                \
      om_detail::FieldsOf<Name>(),                                                     \
      om_detail::FieldsCountOf<Name>(),                                                 \
      Unit,                                                                            \
      &OmThisModule}

// A published method entry: `OM_METHOD(TForm1, Button1Click)`.
#define OM_METHOD(Class, Method)                                                        \
  TMethodEntry {                                                                        \
    #Method, &om_detail::TMemberFn<&Class::Method>::Code,                               \
        om_detail::TMemberFn<&Class::Method>::Signature                                 \
  }

// A published field entry: `OM_FIELD(TForm1, Button1)` for `TButton* Button1`.
#define OM_FIELD(Class, Field)                                                          \
  TFieldEntry {                                                                         \
    #Field, &om_detail::TFieldOf<&Class::Field>::Get,                                   \
        &om_detail::TFieldOf<&Class::Field>::Set,                                       \
        &om_detail::TFieldOf<&Class::Field>::Value::ClassMeta                           \
  }

// --- Exceptions ----------------------------------------------------------------------

class PACKAGE Exception : public TObject, public std::exception {
  OM_CLASS(Exception, TObject)
 public:
  explicit Exception(const String& Msg) : Message(Msg) {}
  Exception(const String& Msg, int AHelpContext) : Message(Msg), HelpContext(AHelpContext) {}
  const char* what() const noexcept override { return Message.c_str(); }
  String Message;
  int HelpContext = 0;
};

// Declares an exception class that only renames its base.
#define OM_EXCEPTION(Name, Base)  \
  class PACKAGE Name : public Base { \
    OM_CLASS(Name, Base)            \
   public:                          \
    using Base::Base;               \
  };

OM_EXCEPTION(EAbort, Exception)
OM_EXCEPTION(EConvertError, Exception)
OM_EXCEPTION(EAbstractError, Exception)
OM_EXCEPTION(EInvalidCast, Exception)
OM_EXCEPTION(EInvalidOperation, Exception)
OM_EXCEPTION(EOutOfResources, Exception)

// Silent exception: ends an operation without a message.
[[noreturn]] PACKAGE void Abort();

// --- Packages ---------------------------------------------------------------------------

// One unit of a package's unit table: its initialization and finalization, and the
// counter that makes each run at most once however many packages list the unit.
struct TPackageUnitEntry {
  const char* Name;
  void (*Init)();
  void (*FInit)();
  int* InitCount;
};

// What a package's GetPackageInfoTable returns.
struct TPackageInfoTable {
  int UnitCount;
  const TPackageUnitEntry* UnitInfo;
  int HostRelease;  // the IDE release the package was built for
};

// The host runtime's walk of a unit table: initializations in table order, finalizations
// in reverse; a unit already initialized (by this or another package) is counted only.
PACKAGE void InitializePackageUnits(const TPackageInfoTable* Table);
PACKAGE void FinalizePackageUnits(const TPackageInfoTable* Table);

// --- Resources -----------------------------------------------------------------------

// The module whose resources a class uses: its library's, or the language resource
// module that took over for that library.
PACKAGE TLibModule* FindClassHInstance(TClass AClass);
PACKAGE TLibModule* FindResourceHInstance(TLibModule* Module);
PACKAGE const TResourceEntry* FindResource(const TLibModule* Module, const String& Name,
                                           const String& Type);
// A language resource module beside a library file (`Lib.so.DEU` or `Lib.so.DE`, after
// the user's language), loaded to take over the library's resources; null if none.
// Handle receives what FreeResourceModule needs.
PACKAGE TLibModule* LoadResourceModule(const char* LibraryFile, void*& Handle);
PACKAGE void FreeResourceModule(void* Handle);
// The host runtime's list of modules (registered by each library's entry).
PACKAGE void RegisterModule(TLibModule* Module);
PACKAGE void UnregisterModule(TLibModule* Module);
PACKAGE TLibModule* LibModuleList();
