#include "System.h"

#include <dlfcn.h>

#include "SysUtils.h"

const TMetaClass TObject::ClassMeta{
    {tkClass, "TObject", 0, 0, nullptr, nullptr, &TObject::ClassMeta, nullptr},
    nullptr,
    om_detail::TFactory<TObject::TCreateSignature>::For<TObject>(),
    nullptr, 0, nullptr, 0, nullptr, 0, "System", &OmThisModule};

TObject::~TObject() = default;

TMethod TObject::MethodAddress(const String& Name) {
  const TMethodEntry* E = ClassType()->MethodAddress(Name);
  return E ? TMethod{E->Code(), this} : TMethod{};
}

bool TMetaClass::InheritsFrom(TClass AClass) const noexcept {
  for (TClass C = this; C; C = C->Parent)
    if (C == AClass) return true;
  return false;
}

const TMethodEntry* TMetaClass::MethodAddress(const String& Name) const {
  for (TClass C = this; C; C = C->Parent)
    for (int I = 0; I < C->MethodCount; ++I)
      if (SameText(C->Methods[I].Name, Name)) return &C->Methods[I];
  return nullptr;
}

String TMetaClass::MethodName(TErasedCode Code) const {
  for (TClass C = this; C; C = C->Parent)
    for (int I = 0; I < C->MethodCount; ++I)
      if (C->Methods[I].Code() == Code) return C->Methods[I].Name;
  return {};
}

const TFieldEntry* TMetaClass::FieldAddress(const String& Name) const {
  for (TClass C = this; C; C = C->Parent)
    for (int I = 0; I < C->FieldCount; ++I)
      if (SameText(C->Fields[I].Name, Name)) return &C->Fields[I];
  return nullptr;
}

namespace om_detail {
void RaiseAbstract(TClass C) {
  throw EAbstractError(C ? Format("Cannot create an instance of the abstract class %s",
                                  {C->ClassName()})
                         : String("Cannot create an instance of a null class reference"));
}
}  // namespace om_detail

OM_IMPLEMENT_CLASS(Exception, "SysUtils");
OM_IMPLEMENT_CLASS(EAbort, "SysUtils");
OM_IMPLEMENT_CLASS(EConvertError, "SysUtils");
OM_IMPLEMENT_CLASS(EAbstractError, "SysUtils");
OM_IMPLEMENT_CLASS(EInvalidCast, "SysUtils");
OM_IMPLEMENT_CLASS(EInvalidOperation, "Controls");
OM_IMPLEMENT_CLASS(EOutOfResources, "Controls");

void Abort() { throw EAbort("Operation aborted"); }

// --- Modules -------------------------------------------------------------------------

namespace {
TLibModule* GModules = nullptr;
}

void RegisterModule(TLibModule* Module) {
  for (TLibModule* M = GModules; M; M = M->Next)
    if (M == Module) return;
#if OM_HOST_RELEASE == 6
  // Release 6's runtime looks for the library's language module itself.
  Dl_info Info;
  if (!Module->ResourceModule && dladdr(Module, &Info) && Info.dli_fname)
    Module->ResourceModule = LoadResourceModule(Info.dli_fname, Module->ResourceHandle);
#endif
  Module->Next = GModules;
  GModules = Module;
}

void UnregisterModule(TLibModule* Module) {
  for (TLibModule** P = &GModules; *P; P = &(*P)->Next)
    if (*P == Module) {
      *P = Module->Next;
      Module->Next = nullptr;
      break;
    }
  if (Module->ResourceHandle) {
    FreeResourceModule(Module->ResourceHandle);
    Module->ResourceHandle = nullptr;
    Module->ResourceModule = nullptr;
  }
}

TLibModule* LibModuleList() { return GModules; }

TLibModule* FindClassHInstance(TClass AClass) { return AClass ? AClass->Module : nullptr; }

TLibModule* FindResourceHInstance(TLibModule* Module) {
  return Module && Module->ResourceModule ? Module->ResourceModule : Module;
}

const TResourceEntry* FindResource(const TLibModule* Module, const String& Name,
                                   const String& Type) {
  if (!Module) return nullptr;
  for (int I = 0; I < Module->ResourceCount; ++I) {
    const TResourceEntry& R = Module->Resources[I];
    if (SameText(R.Name, Name) && SameText(R.Type, Type)) return &R;
  }
  return nullptr;
}
