#include "Registries.h"

#include <algorithm>

TRegistries& TRegistries::Instance() {
  static TRegistries Registries;
  return Registries;
}

namespace {
bool ClassTyped(PTypeInfo T) { return T && T->Kind == tkClass; }
}  // namespace

// --- Registration procedures ------------------------------------------------------------

void RegisterComponents(const String& Page, std::initializer_list<TComponentClass> Classes) {
  TRegistries& R = TRegistries::Instance();
  for (TComponentClass C : Classes) {
    if (!C) throw EComponentError(Format("A null class cannot go on the palette page %s", {Page}));
    RegisterClass(TClass(C));  // a form file may now name it
    const TResourceEntry* Bitmap =
        FindResource(FindResourceHInstance(const_cast<TLibModule*>(R.RegisteringModule)),
                     UpperCase(C->ClassName()), RT_BITMAP);
    R.Palette.push_back({Page, C, Bitmap, R.Registering});
  }
}

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorClass ComponentEditor) {
  if (!ComponentClass || !ComponentEditor)
    throw EComponentError("RegisterComponentEditor needs a component class and an editor class");
  TRegistries& R = TRegistries::Instance();
  R.ComponentEditors.push_back({ComponentClass, ComponentEditor, R.Registering});
}

void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass, const String& PropertyName,
                            TPropertyEditorClass EditorClass) {
  if (!PropertyType) throw EComponentError("RegisterPropertyEditor needs a property type");
  TRegistries& R = TRegistries::Instance();
  R.PropertyEditors.push_back({PropertyType, ComponentClass, PropertyName, EditorClass, R.Registering});
}

#if OM_HOST_RELEASE == 5
void RegisterPropertiesInCategory(TPropertyCategoryClass Category, TClass ComponentClass,
                                  std::initializer_list<const char*> Filters) {
  if (!Category) throw EComponentError("RegisterPropertiesInCategory needs a category class");
  // The category's name comes from the class, as the IDE asks it.
  TPropertyCategory* Probe = Category.Create();
  String Name;
  try {
    Name = Probe->Name();
  } catch (...) {
    delete Probe;
    throw;
  }
  delete Probe;
  TRegistries& R = TRegistries::Instance();
  R.Categories.push_back({Name, Category, ComponentClass, {Filters.begin(), Filters.end()}, R.Registering});
}
#else
void RegisterPropertiesInCategory(const String& Category, TClass ComponentClass,
                                  std::initializer_list<const char*> Filters) {
  if (Category.empty()) throw EComponentError("RegisterPropertiesInCategory needs a category name");
  TRegistries& R = TRegistries::Instance();
  R.Categories.push_back({Category, ComponentClass, {Filters.begin(), Filters.end()}, R.Registering});
}
#endif

// --- Queries ----------------------------------------------------------------------------

TComponentEditorClass TRegistries::ComponentEditorFor(TClass ComponentClass) const {
  const TComponentEditorEntry* Best = nullptr;
  for (auto It = ComponentEditors.rbegin(); It != ComponentEditors.rend(); ++It) {
    if (!ComponentClass->InheritsFrom(It->ComponentClass)) continue;
    // A registration for a class nearer to the component's own beats an older one for
    // an ancestor; among registrations for the same class the latest stands.
    if (!Best || (It->ComponentClass != Best->ComponentClass &&
                  TClass(It->ComponentClass)->InheritsFrom(Best->ComponentClass)))
      Best = &*It;
  }
  return Best ? Best->EditorClass : TComponentEditorClass(TDefaultEditor::StaticClass());
}

namespace {
// Orders two matching registrations for one property by the rule in Registries.h:
// above zero when A is the more specific, below when B is, zero when they are equal.
// Both match, so their component classes are ancestors of one class (or any) and
// their types are the property's or ancestors of it: each clause orders a chain.
int Specificity(const TPropertyEditorEntry& A, const TPropertyEditorEntry& B) {
  // 1. A named property over any property: the name weighs most.
  if (A.PropertyName.empty() != B.PropertyName.empty()) return A.PropertyName.empty() ? -1 : 1;
  // 2. A component class over any class; a derived class over its base.
  if (A.ComponentClass != B.ComponentClass) {
    if (!A.ComponentClass) return -1;
    if (!B.ComponentClass) return 1;
    return A.ComponentClass->InheritsFrom(B.ComponentClass) ? 1 : -1;
  }
  // 3. The exact type over an inherited one; a nearer ancestor over a farther one. Types
  // that differ are class types here (other types match only exactly), and the exact
  // type is the most derived of them.
  if (A.PropertyType != B.PropertyType)
    return A.PropertyType->ClassType->InheritsFrom(B.PropertyType->ClassType) ? 1 : -1;
  // 4. Equals: the caller keeps the latest.
  return 0;
}
}  // namespace

TPropertyEditorClass TRegistries::PropertyEditorFor(PTypeInfo PropType, const String& PropName,
                                                    TClass ComponentClass) const {
  const TPropertyEditorEntry* C = nullptr;
  for (auto It = PropertyEditors.rbegin(); It != PropertyEditors.rend(); ++It) {
    const TPropertyEditorEntry& P = *It;
    bool TypeMatches = P.PropertyType == PropType ||
                       (ClassTyped(P.PropertyType) && ClassTyped(PropType) &&
                        PropType->ClassType->InheritsFrom(P.PropertyType->ClassType));
    if (!TypeMatches) continue;
    if (P.ComponentClass && !ComponentClass->InheritsFrom(P.ComponentClass)) continue;
    if (!P.PropertyName.empty() && !SameText(P.PropertyName, PropName)) continue;
    // Newest first, replaced only by a strictly more specific match: the latest of
    // equals stands.
    if (!C || Specificity(P, *C) > 0) C = &P;
  }
  if (C) return C->EditorClass;
  switch (PropType->Kind) {
    case tkInteger:
    case tkInt64:
      return PropType->IdentCount > 0 ? TPropertyEditorClass(TIdentIntegerProperty::StaticClass())
                                      : TPropertyEditorClass(TIntegerProperty::StaticClass());
    case tkEnumeration: return TEnumProperty::StaticClass();
    case tkSet: return TSetProperty::StaticClass();
    case tkLString:
    case tkString:
    case tkWString: return TStringProperty::StaticClass();
    case tkMethod: return TMethodProperty::StaticClass();
    case tkClass:
      return PropType->ClassType->InheritsFrom(TComponent::StaticClass())
                 ? TPropertyEditorClass(TComponentProperty::StaticClass())
                 : TPropertyEditorClass(TClassProperty::StaticClass());
    default: return TPropertyEditor::StaticClass();
  }
}

std::vector<String> TRegistries::CategoriesOf(TClass ComponentClass, const String& PropName) const {
  std::vector<String> Result;
  for (const TCategoryEntry& E : Categories) {
    if (E.ComponentClass && !ComponentClass->InheritsFrom(E.ComponentClass)) continue;
    bool Named = std::any_of(E.Filters.begin(), E.Filters.end(),
                             [&](const String& F) { return SameText(F, PropName); });
    if (Named && std::find(Result.begin(), Result.end(), E.Category) == Result.end())
      Result.push_back(E.Category);
  }
  return Result;
}

std::vector<String> TRegistries::PalettePages() const {
  std::vector<String> Pages;
  for (const TPaletteEntry& E : Palette)
    if (std::find(Pages.begin(), Pages.end(), E.Page) == Pages.end()) Pages.push_back(E.Page);
  return Pages;
}

void TRegistries::DropPackage(TPackageRecord* Package, const TLibModule* Module) {
  auto Of = [&](TClass C) { return C && C->Module == Module; };
  std::erase_if(Palette, [&](const TPaletteEntry& E) { return E.Package == Package || Of(E.ComponentClass); });
  std::erase_if(ComponentEditors, [&](const TComponentEditorEntry& E) {
    return E.Package == Package || Of(E.ComponentClass) || Of(E.EditorClass);
  });
  std::erase_if(PropertyEditors, [&](const TPropertyEditorEntry& E) {
    return E.Package == Package || Of(E.ComponentClass) || Of(E.EditorClass) ||
           (ClassTyped(E.PropertyType) && Of(E.PropertyType->ClassType));
  });
  std::erase_if(Categories, [&](const TCategoryEntry& E) {
    return E.Package == Package || Of(E.ComponentClass)
#if OM_HOST_RELEASE == 5
           || Of(E.CategoryClass)
#endif
        ;
  });
}

void TRegistries::Clear() {
  Palette.clear();
  ComponentEditors.clear();
  PropertyEditors.clear();
  Categories.clear();
  Registering = nullptr;
  RegisteringModule = nullptr;
}
