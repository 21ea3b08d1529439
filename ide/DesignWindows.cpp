// The designer window: a form that hears what happens in the designers.
#include "DesignWindowCommon.h"

#include "DesignHub.h"
#include "Designer.h"

OM_IMPLEMENT_CLASS(TDesignWindow, "Dsgnwnds");

namespace {
TDesignHub* GWindowHub = nullptr;
}  // namespace

void SetDesignWindowHub(TDesignHub* Hub) noexcept { GWindowHub = Hub; }

// Hands the IDE's design notifications to the window's overridable operations.
class TDesignWindow::TSink final : public TDesignSink {
 public:
  explicit TSink(TDesignWindow* Window) : FWindow(Window) {}
  void Join(TDesignHub* Hub) {
    if (!Hub) return;
    FHub = Hub;
    FHubAlive = Hub->Alive();
    FHub->AddSink(this);
  }
  ~TSink() override {
    // A window that outlives its hub (and its IDE) has nothing left to leave.
    if (FHub && !FHubAlive.expired()) FHub->RemoveSink(this);
  }
#if OM_HOST_RELEASE == 5
  void ItemDeleted(TDesigner*, TPersistent* Item) override { FWindow->ComponentDeleted(MakeIPersistent(Item)); }
  void ItemInserted(TDesigner*, TPersistent* Item) override { FWindow->ComponentInserted(MakeIPersistent(Item)); }
  void ItemsModified(TDesigner*) override { FWindow->FormModified(); }
  void SelectionChanged(TDesigner*, const std::vector<TPersistent*>& Selection) override {
    TDesignerSelectionList List;
    for (TPersistent* P : Selection) List.Add(P);
    FWindow->SelectionChanged(&List);
  }
  void DesignerClosed(TDesigner* D) override { FWindow->FormClosed(D->GetCustomForm()); }
#else
  void ItemDeleted(TDesigner* D, TPersistent* Item) override { FWindow->ItemDeleted(_di_IDesigner(D), Item); }
  void ItemInserted(TDesigner* D, TPersistent* Item) override { FWindow->ItemInserted(_di_IDesigner(D), Item); }
  void ItemsModified(TDesigner* D) override { FWindow->ItemsModified(_di_IDesigner(D)); }
  void SelectionChanged(TDesigner* D, const std::vector<TPersistent*>& Selection) override {
    _di_IDesignerSelections List = CreateSelectionList();
    for (TPersistent* P : Selection) List->Add(P);
    FWindow->SelectionChanged(_di_IDesigner(D), List);
  }
  void DesignerOpened(TDesigner* D) override { FWindow->DesignerOpened(_di_IDesigner(D), false); }
  void DesignerClosed(TDesigner* D) override { FWindow->DesignerClosed(_di_IDesigner(D), false); }
#endif

 private:
  TDesignWindow* FWindow;
  TDesignHub* FHub = nullptr;
  std::weak_ptr<const bool> FHubAlive;
};

#if OM_HOST_RELEASE == 6
// What the object inspector returns to: the window, shown and in front again.
class TDesignWindow::TReturnTo final : public IActivatable {
 public:
  explicit TReturnTo(TDesignWindow* Window) : FWindow(Window) {}
  int AddRef() override { return 1; }  // lives as long as its window
  int Release() override { return 1; }
  void Activate() override { FWindow->Show(); }
  TDesignWindow* Window() const { return FWindow; }

 private:
  TDesignWindow* FWindow;
};

_di_IActivatable TDesignWindow::Activatable() { return _di_IActivatable(FReturnTo); }
#endif

TDesignWindow::TDesignWindow(TComponent* AOwner) : TForm(AOwner), FSink(new TSink(this)) {
#if OM_HOST_RELEASE == 6
  FReturnTo = new TReturnTo(this);
#endif
  FSink->Join(GWindowHub);
}

TDesignWindow::~TDesignWindow() {
  // Deaf from here on: the derived window is gone already.
  delete FSink;
#if OM_HOST_RELEASE == 6
  delete FReturnTo;
#endif
}

String TDesignWindow::UniqueName(TComponent* Component) {
  return FDesigner ? FDesigner->UniqueName(Component->ClassName()) : Component->ClassName();
}

TEditState TDesignWindow::GetEditState() { return {}; }

#if OM_HOST_RELEASE == 5
void TDesignWindow::EditAction(TEditAction) {}
void TDesignWindow::ComponentDeleted(const _di_IPersistent&) {}
void TDesignWindow::ComponentInserted(const _di_IPersistent&) {}
void TDesignWindow::SelectionChanged(TDesignerSelectionList*) {}
void TDesignWindow::FormClosed(TCustomForm*) {}
void TDesignWindow::FormModified() {}

void TDesignWindow::SetSelection(TDesignerSelectionList* List) {
  // The list passes to the IDE: it is freed here once the designer has taken it.
  std::unique_ptr<TDesignerSelectionList> Owned(List);
  if (FDesigner && !FDesigner->GetIsDormant()) FDesigner->SetSelections(List);
}
#else
bool TDesignWindow::EditAction(TEditAction) { return false; }
void TDesignWindow::ItemDeleted(const _di_IDesigner&, TPersistent*) {}
void TDesignWindow::ItemInserted(const _di_IDesigner&, TPersistent*) {}
void TDesignWindow::SelectionChanged(const _di_IDesigner&, const _di_IDesignerSelections&) {}
void TDesignWindow::DesignerOpened(const _di_IDesigner&, bool) {}
void TDesignWindow::DesignerClosed(const _di_IDesigner&, bool) {}
void TDesignWindow::ItemsModified(const _di_IDesigner&) {}

void TDesignWindow::SetSelection(const _di_IDesignerSelections& List) {
  if (FDesigner && !FDesigner->GetIsDormant()) FDesigner->SetSelections(List);
}
#endif

void TDesignWindow::WindowHide() {}
void TDesignWindow::WindowShow() {}
void TDesignWindow::Activated() {}

void TDesignWindow::Activate() {
  TForm::Activate();
  Activated();
}

bool TDesignWindow::ClipboardComponents() { return TDesigner::Clipboard().find("object ") != String::npos; }
