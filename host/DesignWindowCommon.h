// The designer window of both releases (release 5 unit Dsgnwnds, release 6 unit
// DesignWindows); the package includes the release's own unit.
#pragma once

#include "DesignCommon.h"
#include "Forms.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignIntf.h"
#endif

// A modeless window of the IDE that works with a designer: it hears what happens in the
// designers (the overridable notifications below, in the release's order), can make its
// selection the designer's, and serves the IDE's Edit menu while it is active.
class PACKAGE TDesignWindow : public TForm {
  OM_CLASS(TDesignWindow, TForm)
 public:
  explicit TDesignWindow(TComponent* AOwner);
  ~TDesignWindow() override;

  virtual String UniqueName(TComponent* Component);
  // The IDE's Edit menu while the window is active: what it offers, and a choice of it.
  virtual TEditState GetEditState();
#if OM_HOST_RELEASE == 5
  virtual void EditAction(TEditAction Action);
  virtual void ComponentDeleted(const _di_IPersistent& Item);
  virtual void ComponentInserted(const _di_IPersistent& Item);
  virtual void SelectionChanged(TDesignerSelectionList* ASelection);
  virtual void FormClosed(TCustomForm* AForm);
  virtual void FormModified();
#else
  virtual bool EditAction(TEditAction Action);
  virtual void ItemDeleted(const _di_IDesigner& ADesigner, TPersistent* AItem);
  virtual void ItemInserted(const _di_IDesigner& ADesigner, TPersistent* AItem);
  virtual void SelectionChanged(const _di_IDesigner& ADesigner, const _di_IDesignerSelections& ASelection);
  virtual void DesignerOpened(const _di_IDesigner& ADesigner, bool AResurrecting);
  virtual void DesignerClosed(const _di_IDesigner& ADesigner, bool AGoingDormant);
  virtual void ItemsModified(const _di_IDesigner& ADesigner);
#endif
  virtual void WindowHide();
  virtual void WindowShow();
  // The window became the active window.
  virtual void Activated();

  const TDesignerRef& Designer() const noexcept { return FDesigner; }
  void SetDesigner(const TDesignerRef& Value) { FDesigner = Value; }
  // Makes the list the designer's selection, so that the object inspector shows it; in
  // release 5 the list passes to the IDE.
#if OM_HOST_RELEASE == 5
  void SetSelection(TDesignerSelectionList* List);
#else
  void SetSelection(const _di_IDesignerSelections& List);
  // The window as the object inspector returns to it after a modal edit.
  _di_IActivatable Activatable();
#endif
  // The IDE's component clipboard holds components.
  bool ClipboardComponents();

 protected:
  void Activate() override;

 private:
  class TSink;
  class TReturnTo;
  TDesignerRef FDesigner;
  TSink* FSink;
#if OM_HOST_RELEASE == 6
  TReturnTo* FReturnTo;
#endif
};
