// The form designer: one per design root. It keeps the root, its selection, its event
// handlers and its clipboard operations, and tells its hub's listeners what happens.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "DesignCommon.h"
#include "DesignHub.h"
#include "Selection.h"

class TDesigner final :
#if OM_HOST_RELEASE == 5
    public IFormDesigner,
#else
    public IDesigner,
#endif
    public IDesignerNotify {
 public:
  // Designs Root (the designer owns it from now on); RootClassName is the class the form
  // file names (the class of the form in the developer's source). The hub's listeners
  // hear what happens; it must outlive the designer.
  TDesigner(TDesignHub& Hub, TComponent* Root, const String& RootClassName, const String& FileName);
  TDesigner(const TDesigner&) = delete;
  TDesigner& operator=(const TDesigner&) = delete;

  // Frees the root after telling every listener; the designer stays dormant (every call
  // is then harmless) until the last reference to it goes.
  void Close();
  bool Closed() const noexcept { return FRoot == nullptr; }
  const String& FileName() const noexcept { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  bool IsModified() const noexcept { return FModified; }
  void Save(const String& FileName);
  // What the form's file held when it was last read or written here, so that a change by
  // another program shows before a save replaces it.
  void RememberFileText(std::string_view Text);
  // True when the form's file exists and holds something else than that.
  bool FileChangedOnDisk() const;
  String FormText();

  const std::vector<TPersistent*>& Selection() const { return FSelection.Items(); }
  // Changes whenever the selection does, told or not yet told.
  std::uint64_t SelectionVersion() const noexcept { return FSelection.Version(); }
  void SetSelection(const std::vector<TPersistent*>& Items);
  // Tells the listeners of a selection that lost freed objects, if it has not been told.
  void FlushSelection();
  // The event handlers of the root's source, in the order they were made.
  const std::vector<String>& MethodNames() const noexcept { return FMethodNames; }
  const String& LastShownMethod() const noexcept { return FLastShownMethod; }
  // The text the clipboard holds after Cut or Copy (shared by every designer).
  static String& Clipboard();

  // IInterface
  int AddRef() override { return ++FRefCount; }
  int Release() override;

  // IDesigner
  void Modified() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
#if OM_HOST_RELEASE == 5
  TCustomForm* GetCustomForm() override;
#endif
  String UniqueName(const String& BaseName) override;
  TComponent* GetRoot() override { return FRoot; }
#if OM_HOST_RELEASE == 6
  _di_IDesignEnvironment Environment() override;
#endif
  TMethod CreateMethod(const String& Name, PTypeInfo EventType) override;
  String GetMethodName(const TMethod& Method) override;
  void GetMethods(PTypeInfo EventType, const TGetStrProc& Proc) override;
  bool MethodExists(const String& Name) override;
  void RenameMethod(const String& CurName, const String& NewName) override;
  void ShowMethod(const String& Name) override;
  bool MethodFromAncestor(const TMethod& Method) override { return false; }
  String GetRootClassName() override { return FRootClassName; }
#if OM_HOST_RELEASE == 5
  void GetSelections(TDesignerSelectionList* List) override;
  void SetSelections(TDesignerSelectionList* List) override;
#else
  void GetSelections(const _di_IDesignerSelections& List) override;
  void SetSelections(const _di_IDesignerSelections& List) override;
#endif
  void SelectComponent(TPersistent* Instance) override;
  void ClearSelection() override { SetSelection({}); }
  void NoSelection() override { SetSelection({}); }
  void GetComponentNames(PTypeInfo ClassType, const TGetStrProc& Proc) override;
  TComponent* GetComponent(const String& Name) override;
  String GetComponentName(TComponent* Component) override;
  TPersistent* GetObject(const String& Name) override;
  String GetObjectName(TPersistent* Instance) override;
  TComponent* CreateComponent(TComponentClass ComponentClass, TComponent* Parent, int Left, int Top,
                              int Width, int Height) override;
  bool GetIsDormant() override { return Closed(); }
  void CutSelection() override;
  void CopySelection() override;
  bool CanPaste() override;
  void PasteSelection() override;
#if OM_HOST_RELEASE == 5
  void DeleteSelection() override;
#else
  void DeleteSelection(bool ADoAll) override;
#endif

  // IDesignerNotify, from the root
  void Notification(TPersistent* AnObject, TOperation Operation) override;
  void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) override;

  // The designer's own names for its handlers: the code part of a design-time method.
  struct TMethodToken {
    String Name;
  };

 private:
  ~TDesigner();
  void DropFromSelection(TPersistent* Gone);
  std::vector<TComponent*> SelectedComponents() const;
  void DeleteItems();
  const TMethodToken* TokenOf(const TMethod& Method) const;

  TDesignHub& FHub;
  TComponent* FRoot;
  String FRootClassName;
  String FFileName;
  TSelection FSelection;
  // Objects freed while selected left the selection without the listeners hearing of it
  // yet: a collection freeing thousands of selected items says so once, not each time.
  bool FSelectionUntold = false;
  std::vector<std::unique_ptr<TMethodToken>> FMethods;
  std::vector<String> FMethodNames;
  String FLastShownMethod;
  bool FModified = false;
  std::size_t FFileSize = 0, FFileHash = 0;
  bool FFileKnown = false;
  int FRefCount = 0;
  // The root's components by name (any case), for GetComponent: a value list asks it for
  // every name it offers. Built when first asked after a component came, went or was
  // renamed; a name it does not know is still looked for the plain way.
  struct TNameHash {
    size_t operator()(const String& S) const noexcept;
  };
  struct TNameEqual {
    bool operator()(const String& A, const String& B) const noexcept { return SameText(A, B); }
  };
  std::unordered_map<String, TComponent*, TNameHash, TNameEqual> FNames;
  bool FNamesValid = false;
};
using TDesignerRefPtr = DelphiInterface<TDesigner>;
