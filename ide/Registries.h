// What packages registered with the IDE: palette, component editors, property editors,
// property categories. Each registration remembers the package that made it, so that
// unloading the package drops it.
#pragma once

#include <memory>
#include <vector>

#include "DesignCommon.h"

struct TPackageRecord;  // the loader's record of a loaded package

struct TPaletteEntry {
  String Page;
  TComponentClass ComponentClass;
  const TResourceEntry* Bitmap;  // from the registering package's module; may be null
  TPackageRecord* Package;
};

struct TComponentEditorEntry {
  TComponentClass ComponentClass;
  TComponentEditorClass EditorClass;
  TPackageRecord* Package;
};

struct TPropertyEditorEntry {
  PTypeInfo PropertyType;
  TClass ComponentClass;  // null: any
  String PropertyName;    // empty: any
  TPropertyEditorClass EditorClass;
  TPackageRecord* Package;
};

struct TCategoryEntry {
  String Category;  // the category's name, however it was given
#if OM_HOST_RELEASE == 5
  TPropertyCategoryClass CategoryClass;
#endif
  TClass ComponentClass;
  std::vector<String> Filters;
  TPackageRecord* Package;
};

class TRegistries {
 public:
  static TRegistries& Instance();

  // The package whose Register is running; its registrations are tagged with it.
  TPackageRecord* Registering = nullptr;
  // The module whose resources hold the palette bitmaps of what is registered now.
  const TLibModule* RegisteringModule = nullptr;

  std::vector<TPaletteEntry> Palette;
  std::vector<TComponentEditorEntry> ComponentEditors;
  std::vector<TPropertyEditorEntry> PropertyEditors;
  std::vector<TCategoryEntry> Categories;

  // The component editor class for a component: the latest registration for its class
  // or the nearest ancestor; TDefaultEditor when there is none.
  TComponentEditorClass ComponentEditorFor(TClass ComponentClass) const;
  // The property editor class for a property of a component class, by the platform's
  // rule. A registration matches when its type is the property's type (or, for class
  // types, an ancestor of it), its component class is the component's class or an
  // ancestor of it (or any class), and its name is the property's name without regard
  // to case (or any name). Of the matches, the most specific wins, told clause by
  // clause; a clause decides only when every clause before it leaves the two equal:
  //   1. a named property over any property;
  //   2. a component class over any class, and a derived component class over its base;
  //   3. the property's exact type over an inherited one, and a nearer ancestor type
  //      over a farther one (class types);
  //   4. the latest registration among equals.
  // So the name weighs most: (any class, property Caption) beats (TButton, any
  // property) whichever was registered first, and (TButton, any property) beats (any
  // class, any property) of the exact type. Without a match, the editor of the
  // property's kind.
  TPropertyEditorClass PropertyEditorFor(PTypeInfo PropType, const String& PropName,
                                         TClass ComponentClass) const;
  // The categories a property of a component class is filed into, in registration order.
  std::vector<String> CategoriesOf(TClass ComponentClass, const String& PropName) const;
  // Palette pages in the order their first component was registered.
  std::vector<String> PalettePages() const;

  // Drops everything that package registered or that names a class of that module.
  void DropPackage(TPackageRecord* Package, const TLibModule* Module);
  void Clear();
};

// What GetComponentProperties gives, for objects the IDE already holds as a list: that
// list, not a copy made entry by entry, goes to every editor of a selection of one class.
#if OM_HOST_RELEASE == 5
void GetSelectionProperties(std::shared_ptr<std::vector<TPersistent*>> Objects, TSet<TTypeKind> Filter,
                            const _di_IFormDesigner& Designer, const TGetPropEditProc& Proc);
#else
void GetSelectionProperties(std::shared_ptr<std::vector<TPersistent*>> Objects, TSet<TTypeKind> Filter,
                            const _di_IDesigner& Designer, const TGetPropProc& Proc);
#endif
