// The part of the IDE's design-time interface that both releases share, with the two
// releases' differences marked. The package includes the release's own units instead:
// release 5 `Dsgnintf.h`; release 6 `DesignIntf.h` and `DesignEditors.h`.
#pragma once

#include <memory>
#include <vector>

#include "Classes.h"

class TCanvas;
struct TRect;
class TCustomForm;
class TPropertyEditor;
class TComponentEditor;

// --- Interfaces -----------------------------------------------------------------------

// The reference-counted interfaces of the design-time interface. An object that
// implements several of them keeps one count for all.
class PACKAGE IInterface {
 public:
  virtual int AddRef() = 0;
  virtual int Release() = 0;

 protected:
  ~IInterface() = default;
};

// A counted reference to an interface (the platform's `_di_` types).
template <class T>
class DelphiInterface {
 public:
  DelphiInterface() = default;
  DelphiInterface(std::nullptr_t) {}
  DelphiInterface(T* P) : FIntf(P) {
    if (FIntf) FIntf->AddRef();
  }
  DelphiInterface(const DelphiInterface& O) : DelphiInterface(O.FIntf) {}
  DelphiInterface(DelphiInterface&& O) noexcept : FIntf(O.FIntf) { O.FIntf = nullptr; }
  template <class U>
    requires std::is_convertible_v<U*, T*>
  DelphiInterface(const DelphiInterface<U>& O) : DelphiInterface(static_cast<T*>(O.get())) {}
  ~DelphiInterface() {
    if (FIntf) FIntf->Release();
  }
  DelphiInterface& operator=(DelphiInterface O) noexcept {
    std::swap(FIntf, O.FIntf);
    return *this;
  }
  T* operator->() const noexcept { return FIntf; }
  T* get() const noexcept { return FIntf; }
  explicit operator bool() const noexcept { return FIntf != nullptr; }
  bool operator==(const DelphiInterface& O) const noexcept { return FIntf == O.FIntf; }
  bool operator==(std::nullptr_t) const noexcept { return FIntf == nullptr; }

 private:
  T* FIntf = nullptr;
};

// Asks an interface for another one the same object implements, as QueryInterface does.
template <class To, class From>
DelphiInterface<To> Supports(const DelphiInterface<From>& Intf) {
  return DelphiInterface<To>(dynamic_cast<To*>(Intf.get()));
}

// --- Attributes, edit states --------------------------------------------------------

// What the object inspector offers for a property; the bit values are the platform's.
enum TPropertyAttribute {
  paValueList,      // 1: a drop-down list of values (GetValues)
  paSubProperties,  // 2: expandable into the properties of its value (GetProperties)
  paDialog,         // 4: an ellipsis button that calls Edit
  paMultiSelect,    // 8: shown when several components are selected
  paAutoUpdate,     // 16: SetValue on every keystroke
  paSortList,       // 32: the inspector sorts the value list
  paReadOnly,       // 64: the value text cannot be typed into
  paRevertable,     // 128: offers "Revert to inherited"
  paFullWidthName,
  paVolatileSubProperties,
  paVCL,
  paNotNestable
};
OM_ENUM_TYPE(TPropertyAttribute)
OM_SET_TYPE(TPropertyAttributes, TPropertyAttribute)

enum TEditAction {
  eaUndo, eaRedo, eaCut, eaCopy, eaPaste, eaDelete, eaSelectAll, eaPrint, eaBringToFront,
  eaSendToBack, eaAlignToGrid
};
OM_ENUM_TYPE(TEditAction)
enum TEditStateItem {
  esCanUndo, esCanRedo, esCanCut, esCanCopy, esCanPaste, esCanDelete, esCanZOrder,
  esCanAlignGrid, esCanEditOle, esCanTabOrder, esCanCreationOrder, esCanPrint, esCanSelectAll
};
OM_ENUM_TYPE(TEditStateItem)
OM_SET_TYPE(TEditState, TEditStateItem)

using TGetStrProc = TClosure<const String&>;

// --- Selection lists ------------------------------------------------------------------

#if OM_HOST_RELEASE == 5
// The objects selected in a designer (components, a collection, collection items).
class PACKAGE TDesignerSelectionList : public TObject {
  OM_CLASS(TDesignerSelectionList, TObject)
 public:
  TDesignerSelectionList() = default;
  int Add(TPersistent* Item);
  int Count() const noexcept { return int(FItems.size()); }
  TPersistent* Items(int Index) const;
  bool Equals(const TDesignerSelectionList* List) const;

 private:
  std::vector<TPersistent*> FItems;
};
#else
class PACKAGE IDesignerSelections : public virtual IInterface {
 public:
  virtual int Add(TPersistent* Item) = 0;
  virtual bool Equals(IDesignerSelections* List) = 0;
  virtual TPersistent* Get(int Index) = 0;
  virtual int Count() = 0;
};
using _di_IDesignerSelections = DelphiInterface<IDesignerSelections>;
PACKAGE _di_IDesignerSelections CreateSelectionList();
#endif

// --- The designer ---------------------------------------------------------------------

class TPropertyCategory;
#if OM_HOST_RELEASE == 6
class IDesignEnvironment;
using _di_IDesignEnvironment = DelphiInterface<IDesignEnvironment>;
#endif

// One designer per design root (a form or a data module). Release 5 calls the full
// interface IFormDesigner (over the smaller IDesigner); release 6 IDesigner.
#if OM_HOST_RELEASE == 5
class PACKAGE IDesigner : public virtual IInterface {
 public:
  virtual void Modified() = 0;
  virtual void Notification(TComponent* AComponent, TOperation Operation) = 0;
  // The form being designed (release 5 designs every root on a form).
  virtual TCustomForm* GetCustomForm() = 0;
  virtual String UniqueName(const String& BaseName) = 0;
  virtual TComponent* GetRoot() = 0;
};
class PACKAGE IFormDesigner : public IDesigner {
#else
class PACKAGE IDesigner : public virtual IInterface {
#endif
 public:
#if OM_HOST_RELEASE == 6
  virtual void Modified() = 0;
  virtual void Notification(TComponent* AComponent, TOperation Operation) = 0;
  virtual String UniqueName(const String& BaseName) = 0;
  virtual TComponent* GetRoot() = 0;
  // The host's design environment: base registry key, the object inspector's calls.
  virtual _di_IDesignEnvironment Environment() = 0;
#endif
  // Event handlers of the design root, kept in its source.
  virtual TMethod CreateMethod(const String& Name, PTypeInfo EventType) = 0;
  virtual String GetMethodName(const TMethod& Method) = 0;
  virtual void GetMethods(PTypeInfo EventType, const TGetStrProc& Proc) = 0;
  virtual bool MethodExists(const String& Name) = 0;
  virtual void RenameMethod(const String& CurName, const String& NewName) = 0;
  virtual void ShowMethod(const String& Name) = 0;
  virtual bool MethodFromAncestor(const TMethod& Method) = 0;
  virtual String GetRootClassName() = 0;
  // The selection.
#if OM_HOST_RELEASE == 5
  virtual void GetSelections(TDesignerSelectionList* List) = 0;
  virtual void SetSelections(TDesignerSelectionList* List) = 0;
#else
  virtual void GetSelections(const _di_IDesignerSelections& List) = 0;
  virtual void SetSelections(const _di_IDesignerSelections& List) = 0;
#endif
  virtual void SelectComponent(TPersistent* Instance) = 0;
  virtual void ClearSelection() = 0;
  virtual void NoSelection() = 0;
  // Components of the root by name and class.
  virtual void GetComponentNames(PTypeInfo ClassType, const TGetStrProc& Proc) = 0;
  virtual TComponent* GetComponent(const String& Name) = 0;
  virtual String GetComponentName(TComponent* Component) = 0;
  virtual TPersistent* GetObject(const String& Name) = 0;
  virtual String GetObjectName(TPersistent* Instance) = 0;
  virtual TComponent* CreateComponent(TComponentClass ComponentClass, TComponent* Parent,
                                      int Left, int Top, int Width, int Height) = 0;
  virtual bool GetIsDormant() = 0;
  // The IDE's Edit menu on the selection, through the component clipboard.
  virtual void CutSelection() = 0;
  virtual void CopySelection() = 0;
  virtual bool CanPaste() = 0;
  virtual void PasteSelection() = 0;
#if OM_HOST_RELEASE == 5
  virtual void DeleteSelection() = 0;
#else
  virtual void DeleteSelection(bool ADoAll) = 0;
#endif
};
#if OM_HOST_RELEASE == 5
using _di_IFormDesigner = DelphiInterface<IFormDesigner>;
using _di_IDesigner = DelphiInterface<IDesigner>;
using TDesignerRef = _di_IFormDesigner;  // what editors keep
#else
using _di_IDesigner = DelphiInterface<IDesigner>;
using TDesignerRef = _di_IDesigner;
#endif

// --- Property categories ----------------------------------------------------------------

#if OM_HOST_RELEASE == 5
// A property category is named by its class; the host asks the class for the name.
class PACKAGE TPropertyCategory : public TObject {
  OM_CLASS(TPropertyCategory, TObject)
 public:
  TPropertyCategory() = default;
  virtual String Name();
  virtual String Description();
};
using TPropertyCategoryClass = TClassRef<TPropertyCategory>;

#define OM_STANDARD_CATEGORY(Class)                     \
  class PACKAGE Class : public TPropertyCategory {      \
    OM_CLASS(Class, TPropertyCategory)                  \
   public:                                              \
    Class() = default;                                  \
    String Name() override;                             \
    String Description() override;                      \
  };
OM_STANDARD_CATEGORY(TActionCategory)
OM_STANDARD_CATEGORY(TDataCategory)
OM_STANDARD_CATEGORY(TDatabaseCategory)
OM_STANDARD_CATEGORY(TDragNDropCategory)
OM_STANDARD_CATEGORY(THelpCategory)
OM_STANDARD_CATEGORY(TInputCategory)
OM_STANDARD_CATEGORY(TLayoutCategory)
OM_STANDARD_CATEGORY(TLegacyCategory)
OM_STANDARD_CATEGORY(TLinkageCategory)
OM_STANDARD_CATEGORY(TLocaleCategory)
OM_STANDARD_CATEGORY(TLocalizableCategory)
OM_STANDARD_CATEGORY(TMiscellaneousCategory)
OM_STANDARD_CATEGORY(TVisualCategory)
#undef OM_STANDARD_CATEGORY
#endif

// --- Registration ----------------------------------------------------------------------

using TPropertyEditorClass = TClassRef<TPropertyEditor>;
using TComponentEditorClass = TClassRef<TComponentEditor>;

// Puts component classes on a page of the palette (unit Classes in the platform).
PACKAGE void RegisterComponents(const String& Page, std::initializer_list<TComponentClass> Classes);
PACKAGE void RegisterComponentEditor(TComponentClass ComponentClass,
                                     TComponentEditorClass ComponentEditor);
// The editor for properties of PropertyType (and of types derived from it, for classes),
// in ComponentClass and its descendants (null: any), named PropertyName (empty: any).
PACKAGE void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass,
                                    const String& PropertyName, TPropertyEditorClass EditorClass);
#if OM_HOST_RELEASE == 5
PACKAGE void RegisterPropertiesInCategory(TPropertyCategoryClass Category, TClass ComponentClass,
                                          std::initializer_list<const char*> Filters);
#else
PACKAGE void RegisterPropertiesInCategory(const String& Category, TClass ComponentClass,
                                          std::initializer_list<const char*> Filters);
#endif

// --- Release 6: the property interface, drawing interfaces and the environment ---------

#if OM_HOST_RELEASE == 6
class PACKAGE IProperty : public virtual IInterface {
 public:
  virtual void Activate() = 0;
  virtual bool AllEqual() = 0;
  virtual bool AutoFill() = 0;
  virtual void Edit() = 0;
  virtual bool HasInstance(TPersistent* Instance) = 0;
  virtual TPropertyAttributes GetAttributes() = 0;
  virtual int GetEditLimit() = 0;
  virtual String GetName() = 0;
  virtual void GetProperties(const TClosure<const DelphiInterface<IProperty>&>& Proc) = 0;
  virtual PPropInfo GetPropInfo() = 0;
  virtual PTypeInfo GetPropType() = 0;
  virtual String GetValue() = 0;
  virtual void GetValues(const TGetStrProc& Proc) = 0;
  virtual void Revert() = 0;
  virtual void SetValue(const String& Value) = 0;
  virtual bool ValueAvailable() = 0;
};
using _di_IProperty = DelphiInterface<IProperty>;
using TGetPropProc = TClosure<const _di_IProperty&>;

// A window the object inspector returns to after a modal edit.
class PACKAGE IActivatable : public virtual IInterface {
 public:
  virtual void Activate() = 0;
};
using _di_IActivatable = DelphiInterface<IActivatable>;

class PACKAGE IDesignEnvironment : public virtual IInterface {
 public:
  // The IDE's key below the current user, without a trailing separator.
  virtual String GetBaseRegKey() = 0;
  // Activates the object inspector as if Key had been typed into its current row, and
  // returns to ReturnWindow afterwards.
  virtual void ModalEdit(char Key, const _di_IActivatable& ReturnWindow) = 0;
};
#else
using TGetPropEditProc = TClosure<TPropertyEditor*>;
#endif

// --- Property editors --------------------------------------------------------------------

// The base of every property editor. The object inspector creates one for each property
// of the selection (Count components share it) and frees it when the selection changes;
// an editor keeps no state beyond that. The overridable operations:
//   Activate       the row became the inspector's current row.
//   AllEqual       the property has the same value in every selected component.
//   AutoFill       the value list completes what is typed.
//   Edit           the ellipsis button (paDialog) or a double-click.
//   GetAttributes  which of the attribute bits above the inspector applies.
//   GetEditLimit   the longest text the value cell takes.
//   GetName        the row's name; the property's name unless overridden.
//   GetProperties  the sub-properties (paSubProperties), one editor each.
//   GetValue       the value text of the first selected component.
//   GetValues      the value list (paValueList), one call of Proc per entry.
//   Initialize     called once after construction and SetPropEntry.
//   SetValue       the text typed or chosen; written to every selected component.
// Drawing (owner-drawn value lists and cells): ListMeasureWidth, ListMeasureHeight,
// ListDrawValue, PropDrawName, PropDrawValue; release 5 has them here, release 6 through
// ICustomPropertyListDrawing and ICustomPropertyDrawing (VCLEditors).
class PACKAGE TPropertyEditor : public TObject
#if OM_HOST_RELEASE == 6
    ,
                                public IProperty
#endif
{
  OM_CLASS(TPropertyEditor, TObject)
 public:
  using TCreateSignature = TPropertyEditor*(const TDesignerRef& ADesigner, int APropCount);

#if OM_HOST_RELEASE == 6
  virtual void Initialize();
  virtual void SetPropEntry(int Index, TPersistent* AInstance, PPropInfo APropInfo);
#endif
  TPropertyEditor(const TDesignerRef& ADesigner, int APropCount);
  ~TPropertyEditor() override;
  virtual void Activate();
  virtual bool AllEqual();
  virtual bool AutoFill();
  virtual void Edit();
  virtual TPropertyAttributes GetAttributes();
  virtual int GetEditLimit();
  virtual String GetName();
#if OM_HOST_RELEASE == 5
  virtual void GetProperties(const TGetPropEditProc& Proc);
#else
  virtual void GetProperties(const TGetPropProc& Proc);
  virtual PPropInfo GetPropInfo();
#endif
  virtual String GetValue();
  virtual void GetValues(const TGetStrProc& Proc);
#if OM_HOST_RELEASE == 5
  virtual void Initialize();
#endif
  virtual void SetValue(const String& Value);
#if OM_HOST_RELEASE == 5
  virtual void ListMeasureWidth(const String& Value, TCanvas* ACanvas, int& AWidth);
  virtual void ListMeasureHeight(const String& Value, TCanvas* ACanvas, int& AHeight);
  virtual void ListDrawValue(const String& Value, TCanvas* ACanvas, const TRect& ARect,
                             bool ASelected);
  virtual void PropDrawName(TCanvas* ACanvas, const TRect& ARect, bool ASelected);
  virtual void PropDrawValue(TCanvas* ACanvas, const TRect& ARect, bool ASelected);
  void SetPropEntry(int Index, TPersistent* AInstance, PPropInfo APropInfo);
  PPropInfo GetPropInfo() const;
#else
  int AddRef() override;
  int Release() override;
  bool HasInstance(TPersistent* Instance) override;
  PTypeInfo GetPropType() override;
  void Revert() override;
  bool ValueAvailable() override;
#endif
#if OM_HOST_RELEASE == 5
  PTypeInfo GetPropType() const;
  void Revert();
  bool ValueAvailable();
#endif
  // The value as the inspector shows it: empty when the selected components differ.
  String GetVisualValue();
  TPersistent* GetComponent(int Index) const;
  int PropCount() const noexcept { return FPropCount; }
  // Every entry at once: the instances, a list the editors made for one selection share
  // (as many as PropCount), and the one property they all have. An entry set afterwards
  // makes the editor its own copy.
  void SetPropEntries(std::shared_ptr<std::vector<TPersistent*>> Instances, PPropInfo APropInfo);
  const TDesignerRef& Designer() const noexcept { return FDesigner; }
  String Value() { return GetValue(); }

 protected:
  long long GetOrdValue() const;
  long long GetOrdValueAt(int Index) const;
  void SetOrdValue(long long Value);
  String GetStrValue() const;
  String GetStrValueAt(int Index) const;
  void SetStrValue(const String& Value);
  TMethod GetMethodValue() const;
  TMethod GetMethodValueAt(int Index) const;
  void SetMethodValue(const TMethod& Value);
  TObject* GetObjectValue() const;
  // Tells the designer that the form changed.
  void Modified();

 private:
  TPersistent* InstanceAt(size_t Index) const { return FInstances ? (*FInstances)[Index] : nullptr; }
  PPropInfo PropInfoAt(size_t Index) const { return FPropInfos.empty() ? FPropInfo : FPropInfos[Index]; }
  PPropInfo FirstPropInfo() const;
  TDesignerRef FDesigner;
  // A selection of many thousand objects is one list of instances for all its editors,
  // not one each, and one property for all while they are of one class: the editors of
  // a selection cost little more than its list.
  std::shared_ptr<std::vector<TPersistent*>> FInstances;
  PPropInfo FPropInfo = nullptr;
  std::vector<PPropInfo> FPropInfos;  // one for each instance, once they differ
  int FPropCount;
#if OM_HOST_RELEASE == 6
  int FRefCount = 0;
#endif
};

// Editors of the platform's kinds of property, registered by the IDE itself.
class PACKAGE TOrdinalProperty : public TPropertyEditor {
  OM_CLASS(TOrdinalProperty, TPropertyEditor)
 public:
  using TPropertyEditor::TPropertyEditor;
  bool AllEqual() override;
  int GetEditLimit() override;
};

class PACKAGE TIntegerProperty : public TOrdinalProperty {
  OM_CLASS(TIntegerProperty, TOrdinalProperty)
 public:
  using TOrdinalProperty::TOrdinalProperty;
  String GetValue() override;
  void SetValue(const String& Value) override;
};

// An integer type with named constants (colours): the names are the value list.
class PACKAGE TIdentIntegerProperty : public TIntegerProperty {
  OM_CLASS(TIdentIntegerProperty, TIntegerProperty)
 public:
  using TIntegerProperty::TIntegerProperty;
  TPropertyAttributes GetAttributes() override;
  String GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const String& Value) override;
};

class PACKAGE TEnumProperty : public TOrdinalProperty {
  OM_CLASS(TEnumProperty, TOrdinalProperty)
 public:
  using TOrdinalProperty::TOrdinalProperty;
  TPropertyAttributes GetAttributes() override;
  String GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const String& Value) override;
};

class PACKAGE TSetProperty : public TOrdinalProperty {
  OM_CLASS(TSetProperty, TOrdinalProperty)
 public:
  using TOrdinalProperty::TOrdinalProperty;
  TPropertyAttributes GetAttributes() override;
#if OM_HOST_RELEASE == 5
  void GetProperties(const TGetPropEditProc& Proc) override;
#else
  void GetProperties(const TGetPropProc& Proc) override;
#endif
  String GetValue() override;
  void SetValue(const String& Value) override;
};

class PACKAGE TStringProperty : public TPropertyEditor {
  OM_CLASS(TStringProperty, TPropertyEditor)
 public:
  using TPropertyEditor::TPropertyEditor;
  bool AllEqual() override;
  int GetEditLimit() override;
  String GetValue() override;
  void SetValue(const String& Value) override;
};

// A component's Name: one component at a time, renamed through the designer's rules.
class PACKAGE TComponentNameProperty : public TStringProperty {
  OM_CLASS(TComponentNameProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  TPropertyAttributes GetAttributes() override;
  int GetEditLimit() override;
};

// A property holding an object the component owns (a font, a collection): shown as
// "(TClassName)" and expanded into the object's own properties.
class PACKAGE TClassProperty : public TPropertyEditor {
  OM_CLASS(TClassProperty, TPropertyEditor)
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() override;
#if OM_HOST_RELEASE == 5
  void GetProperties(const TGetPropEditProc& Proc) override;
#else
  void GetProperties(const TGetPropProc& Proc) override;
#endif
  String GetValue() override;
};

// A reference to another component of the form, chosen by name.
class PACKAGE TComponentProperty : public TPropertyEditor {
  OM_CLASS(TComponentProperty, TPropertyEditor)
 public:
  using TPropertyEditor::TPropertyEditor;
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
  int GetEditLimit() override;
  String GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const String& Value) override;
};

// An event: its handler's name in the root's source.
class PACKAGE TMethodProperty : public TPropertyEditor {
  OM_CLASS(TMethodProperty, TPropertyEditor)
 public:
  using TPropertyEditor::TPropertyEditor;
  bool AllEqual() override;
  // Creates the handler when there is none, then shows it.
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
  int GetEditLimit() override;
  String GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const String& Value) override;
  // The handler name the IDE proposes: the component's name and the event's without "On".
  String GetFormMethodName();
  String GetTrimmedEventName();
};

// --- Component editors --------------------------------------------------------------------

#if OM_HOST_RELEASE == 5
class TMenuItem;
#else
class IMenuItem;
using _di_IMenuItem = DelphiInterface<IMenuItem>;
#endif

// The IDE creates one for a selected component (its context menu, a double-click) and
// frees it afterwards. Verbs are the editor's items of the component's context menu.
class PACKAGE TComponentEditor : public TObject {
  OM_CLASS(TComponentEditor, TObject)
 public:
  using TCreateSignature = TComponentEditor*(TComponent* AComponent, const TDesignerRef& ADesigner);
  TComponentEditor(TComponent* AComponent, const TDesignerRef& ADesigner);
  ~TComponentEditor() override;
  // Double-click: runs the first verb when there is one.
  virtual void Edit();
  virtual void ExecuteVerb(int Index);
  virtual String GetVerb(int Index);
  virtual int GetVerbCount();
#if OM_HOST_RELEASE == 5
  virtual void PrepareItem(int Index, TMenuItem* AItem);
  virtual void Copy();
#else
  virtual void Copy();
  virtual void PrepareItem(int Index, const _di_IMenuItem& AItem);
#endif
  TComponent* Component() const noexcept { return FComponent; }
  const TDesignerRef& Designer() const noexcept { return FDesigner; }

 private:
  TComponent* FComponent;
  TDesignerRef FDesigner;
};

// The editor of components without one of their own: a double-click edits the most
// likely event (OnCreate, else OnChange, else OnClick, else the first event).
class PACKAGE TDefaultEditor : public TComponentEditor {
  OM_CLASS(TDefaultEditor, TComponentEditor)
 public:
  using TComponentEditor::TComponentEditor;
  ~TDefaultEditor() override;
  // Offers the component's properties to EditProperty one by one while it lets the
  // walk go on, then edits the event it chose, if any.
  void Edit() override;
#if OM_HOST_RELEASE == 5
  virtual void EditProperty(TPropertyEditor* PropertyEditor, bool& Continue, bool& FreeEditor);
#else
  virtual void EditProperty(const _di_IProperty& Prop, bool& Continue);
#endif

 private:
#if OM_HOST_RELEASE == 5
  void CheckEdit(TPropertyEditor* PropertyEditor);
  TPropertyEditor* FFirst = nullptr;
  TPropertyEditor* FBest = nullptr;
#else
  void CheckEdit(const _di_IProperty& Prop);
  _di_IProperty FFirst;
  _di_IProperty FBest;
#endif
  bool FContinue = true;
};

// Every property of the selected components that all of them have, one editor each, as
// the object inspector shows them (Filter: the kinds to include; empty: all).
#if OM_HOST_RELEASE == 5
PACKAGE void GetComponentProperties(TDesignerSelectionList* Components, TSet<TTypeKind> Filter,
                                    const _di_IFormDesigner& Designer,
                                    const TGetPropEditProc& Proc);
#else
PACKAGE void GetComponentProperties(const _di_IDesignerSelections& Components,
                                    TSet<TTypeKind> Filter, const _di_IDesigner& Designer,
                                    const TGetPropProc& Proc);
#endif
