#include "ComponentEditors.h"

#include <memory>

#include "Registries.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#include "Menus.h"
#else
#include "DesignMenus.h"
#endif

namespace {

// The editor lives while one request runs, as the IDE creates and frees it.
struct TEditorLease {
  explicit TEditorLease(TDesigner* Designer, TComponent* Component)
      : Editor(ComponentEditorClassOf(Component).Create(Component, TDesignerRef(Designer))) {}
  std::unique_ptr<TComponentEditor> Editor;
};

#if OM_HOST_RELEASE == 6
// The menu item a release-6 editor prepares.
class TMenuItemIntf final : public IMenuItem {
 public:
  explicit TMenuItemIntf(TContextMenuItem& Item) : FItem(Item) {}
  int AddRef() override { return ++FRefCount; }
  int Release() override { return --FRefCount; }  // lives on the stack of its request
  String GetCaption() override { return FItem.Caption; }
  void SetCaption(const String& Value) override { FItem.Caption = Value; }
  bool GetEnabled() override { return FItem.Enabled; }
  void SetEnabled(bool Value) override { FItem.Enabled = Value; }
  bool GetChecked() override { return FItem.Checked; }
  void SetChecked(bool Value) override { FItem.Checked = Value; }
  bool GetVisible() override { return FItem.Visible; }
  void SetVisible(bool Value) override { FItem.Visible = Value; }

 private:
  TContextMenuItem& FItem;
  int FRefCount = 0;
};
#endif

const char* const IdeItems[] = {"-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"};

}  // namespace

TComponentEditorClass ComponentEditorClassOf(TComponent* Component) {
  return TRegistries::Instance().ComponentEditorFor(Component->ClassType());
}

std::vector<TContextMenuItem> ComponentContextMenu(TDesigner* Designer, TComponent* Component) {
  std::vector<TContextMenuItem> Menu;
  {
    TEditorLease Lease(Designer, Component);
    int Count = Lease.Editor->GetVerbCount();
    for (int I = 0; I < Count; ++I) {
      TContextMenuItem Item;
      Item.Caption = Lease.Editor->GetVerb(I);
      Item.Verb = I;
#if OM_HOST_RELEASE == 6
      TMenuItemIntf Intf(Item);
      Lease.Editor->PrepareItem(I, _di_IMenuItem(&Intf));
#else
      // Release 5 hands the editor the menu item itself.
      TMenuItem MenuItem(nullptr);
      MenuItem.SetCaption(Item.Caption);
      Lease.Editor->PrepareItem(I, &MenuItem);
      Item.Caption = MenuItem.Caption();
      Item.Enabled = MenuItem.Enabled();
      Item.Checked = MenuItem.Checked();
      Item.Visible = MenuItem.Visible();
#endif
      Menu.push_back(Item);
    }
  }
  bool IsRoot = Component == Designer->GetRoot();
  // The separator stands between the editor's verbs and the IDE's items, when there are verbs.
  for (size_t I = Menu.empty() ? 1 : 0; I < std::size(IdeItems); ++I) {
    const char* Caption = IdeItems[I];
    TContextMenuItem Item;
    Item.Caption = Caption;
    String C = Caption;
    if (C == "Cut" || C == "Copy" || C == "Delete") Item.Enabled = !IsRoot;
    if (C == "Paste") Item.Enabled = Designer->CanPaste();
    Menu.push_back(Item);
  }
  return Menu;
}

void ChooseContextMenuItem(TDesigner* Designer, TComponent* Component, int Position) {
  std::vector<TContextMenuItem> Menu = ComponentContextMenu(Designer, Component);
  if (Position < 0 || Position >= int(Menu.size()))
    throw EListError(Format("The context menu has no item %d", {Position}));
  const TContextMenuItem& Item = Menu[size_t(Position)];
  if (!Item.Enabled || !Item.Visible || (Item.Caption == "-" && Item.Verb < 0)) return;
  if (Item.Verb >= 0) {
    TEditorLease Lease(Designer, Component);
    Lease.Editor->ExecuteVerb(Item.Verb);
    return;
  }
  // The IDE's own items act on the component the menu was opened on.
  Designer->SelectComponent(Component);
  if (Item.Caption == "Cut") Designer->CutSelection();
  else if (Item.Caption == "Copy") Designer->CopySelection();
  else if (Item.Caption == "Paste") Designer->PasteSelection();
#if OM_HOST_RELEASE == 5
  else if (Item.Caption == "Delete") Designer->DeleteSelection();
#else
  else if (Item.Caption == "Delete") Designer->DeleteSelection(false);
#endif
  else if (Item.Caption == "Select All") {
    std::vector<TPersistent*> All;
    TComponent* Root = Designer->GetRoot();
    for (int I = 0; I < Root->ComponentCount(); ++I) All.push_back(Root->Components(I));
    Designer->SetSelection(All);
  }
}

void DoubleClickComponent(TDesigner* Designer, TComponent* Component) {
  TEditorLease Lease(Designer, Component);
  Lease.Editor->Edit();
}
