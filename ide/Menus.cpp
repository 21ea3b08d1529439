#include "Menus.h"

#include <algorithm>

OM_ENUM_TYPE_INFO(TPopupAlignment, "paLeft", "paRight", "paCenter");
OM_IMPLEMENT_CLASS(EMenuError, "Menus");

// --- Shortcuts ---------------------------------------------------------------------------

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut S = Key;
  if (Shift.Contains(ssShift)) S |= scShift;
  if (Shift.Contains(ssCtrl)) S |= scCtrl;
  if (Shift.Contains(ssAlt)) S |= scAlt;
  return S;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift << ssShift;
  if (ShortCut & scCtrl) Shift << ssCtrl;
  if (ShortCut & scAlt) Shift << ssAlt;
}

namespace {
struct TKeyName {
  Word Key;
  const char* Name;
};
constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

String KeyName(Word Key) {
  for (const TKeyName& K : KeyNames)
    if (K.Key == Key) return K.Name;
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return String(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F1 + 23) return "F" + IntToStr(Key - VK_F1 + 1);
  return String();
}
}  // namespace

String ShortCutToText(TShortCut ShortCut) {
  String Name = KeyName(ShortCut & 0xFF);
  if (Name.empty()) return String();
  String Prefix;
  if (ShortCut & scShift) Prefix += "Shift+";
  if (ShortCut & scCtrl) Prefix += "Ctrl+";
  if (ShortCut & scAlt) Prefix += "Alt+";
  return Prefix + Name;
}

TShortCut TextToShortCut(const String& Text) {
  TShortCut Mods = 0;
  String Rest = Text;
  for (;;) {
    if (CompareText(Rest.substr(0, 6), "Shift+") == 0) {
      Mods |= scShift;
      Rest = Rest.substr(6);
    } else if (CompareText(Rest.substr(0, 5), "Ctrl+") == 0) {
      Mods |= scCtrl;
      Rest = Rest.substr(5);
    } else if (CompareText(Rest.substr(0, 4), "Alt+") == 0) {
      Mods |= scAlt;
      Rest = Rest.substr(4);
    } else {
      break;
    }
  }
  for (int K = 1; K < 256; ++K) {
    String Name = KeyName(Word(K));
    if (!Name.empty() && SameText(Name, Rest)) return TShortCut(K | Mods);
  }
  return 0;
}

String StripHotkey(const String& Text) {
  String R;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&') {
      if (I + 1 < Text.size() && Text[I + 1] == '&') {
        R += '&';
        ++I;
      }
      continue;
    }
    R += Text[I];
  }
  return R;
}

// --- TMenuItem ---------------------------------------------------------------------------

template <>
struct TPublished<TMenuItem> {
  static constexpr TPropInfo Props[] = {
      Property<&TMenuItem::Action, &TMenuItem::SetAction>("Action"),
      Property<&TMenuItem::Caption, &TMenuItem::SetCaption, &TMenuItem::IsCaptionStored>("Caption"),
      Property<&TMenuItem::Checked, &TMenuItem::SetChecked, &TMenuItem::IsCheckedStored>("Checked",
                                                                                         0),
      Property<&TMenuItem::Default, &TMenuItem::SetDefault>("Default", 0),
      Property<&TMenuItem::Enabled, &TMenuItem::SetEnabled, &TMenuItem::IsEnabledStored>("Enabled",
                                                                                         1),
      Property<&TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex>("GroupIndex", 0),
      Property<&TMenuItem::HelpContext, &TMenuItem::SetHelpContext,
               &TMenuItem::IsHelpContextStored>("HelpContext", 0),
      Property<&TMenuItem::Hint, &TMenuItem::SetHint, &TMenuItem::IsHintStored>("Hint"),
      Property<&TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, &TMenuItem::IsImageIndexStored>(
          "ImageIndex", -1),
      Property<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>("RadioItem", 0),
      Property<&TMenuItem::ShortCut, &TMenuItem::SetShortCut, &TMenuItem::IsShortCutStored>(
          "ShortCut", 0),
      Property<&TMenuItem::Visible, &TMenuItem::SetVisible, &TMenuItem::IsVisibleStored>("Visible",
                                                                                         1),
      Property<&TMenuItem::OnClick, &TMenuItem::OnClick>("OnClick"),
  };
};
OM_IMPLEMENT_CLASS(TMenuItem, "Menus");

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FAction) FAction->UnRegisterChanges(this);
  // Sub-items go with their item, whoever owns them, as on the platform.
  while (!FItems.empty()) {
    TMenuItem* I = FItems.back();
    FItems.pop_back();
    I->FParent = nullptr;
    delete I;
  }
  if (FParent) FParent->Remove(this);
}

void TMenuItem::SetCaption(const String& Value) { FCaption = Value; }
void TMenuItem::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  // A checked radio item unchecks the others of its group.
  if (Value && FRadioItem && FParent)
    for (TMenuItem* I : FParent->FItems)
      if (I != this && I->FRadioItem && I->FGroupIndex == FGroupIndex) I->FChecked = false;
}
void TMenuItem::SetEnabled(bool Value) { FEnabled = Value; }
void TMenuItem::SetVisible(bool Value) { FVisible = Value; }
void TMenuItem::SetImageIndex(int Value) { FImageIndex = Value; }

void TMenuItem::SetAction(TBasicAction* Value) { SetClientAction(this, this, FAction, Value); }

TCustomAction* TMenuItem::LinkedAction() const { return dynamic_cast<TCustomAction*>(FAction); }

void TMenuItem::ActionChanged(TBasicAction* Sender, TActionChange What) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A) return;
  // While the form is read, what the item set itself stays.
  bool Check = ComponentState().Contains(csLoading);
  auto Takes = [What](TActionChange P) { return ActionChangeReaches(What, P); };
  if (Takes(acCaption) && (!Check || FCaption.empty())) FCaption = A->Caption();
  if (Takes(acChecked) && (!Check || !FChecked)) FChecked = A->Checked();
  if (Takes(acEnabled) && (!Check || FEnabled)) FEnabled = A->Enabled();
  if (Takes(acHelpContext) && (!Check || FHelpContext == 0)) FHelpContext = A->HelpContext();
  if (Takes(acHint) && (!Check || FHint.empty())) FHint = A->Hint();
  if (Takes(acImageIndex) && (!Check || FImageIndex == -1)) FImageIndex = A->ImageIndex();
  if (Takes(acShortCut) && (!Check || FShortCut == 0)) FShortCut = A->ShortCut();
  if (Takes(acVisible) && (!Check || FVisible)) FVisible = A->Visible();
}

bool TMenuItem::IsCaptionStored() const {
  return !LinkedAction() || LinkedAction()->Caption() != FCaption;
}
bool TMenuItem::IsCheckedStored() const {
  return !LinkedAction() || LinkedAction()->Checked() != FChecked;
}
bool TMenuItem::IsEnabledStored() const {
  return !LinkedAction() || LinkedAction()->Enabled() != FEnabled;
}
bool TMenuItem::IsHintStored() const { return !LinkedAction() || LinkedAction()->Hint() != FHint; }
bool TMenuItem::IsImageIndexStored() const {
  return !LinkedAction() || LinkedAction()->ImageIndex() != FImageIndex;
}
bool TMenuItem::IsShortCutStored() const {
  return !LinkedAction() || LinkedAction()->ShortCut() != FShortCut;
}
bool TMenuItem::IsVisibleStored() const {
  return !LinkedAction() || LinkedAction()->Visible() != FVisible;
}
bool TMenuItem::IsHelpContextStored() const {
  return !LinkedAction() || LinkedAction()->HelpContext() != FHelpContext;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EMenuError(Format("Menu index out of bounds (%d)", {Index}));
  return FItems[size_t(Index)];
}

int TMenuItem::MenuIndex() const {
  if (!FParent) return -1;
  auto& L = FParent->FItems;
  return int(std::find(L.begin(), L.end(), this) - L.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  for (TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EMenuError("A menu item cannot hold itself");
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  FItems.erase(It);
  Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index) { Remove(Items(Index)); }

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* I = this;
  while (I->FParent) I = I->FParent;
  return I->FMenu;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  ClickClient(this, OnClick, FAction);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* M = dynamic_cast<TMenu*>(Value))
    M->Items()->Add(this);
  else if (auto* I = dynamic_cast<TMenuItem*>(Value))
    I->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TMenuItem* I : FItems)
    if (I->Owner() == Root) Proc(I);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
}

// --- Menus -------------------------------------------------------------------------------

template <>
struct TPublished<TMenu> {
  static constexpr TPropInfo Props[] = {
      Property<&TMenu::Images, &TMenu::SetImages>("Images"),
  };
};
OM_IMPLEMENT_CLASS(TMenu, "Menus");
OM_IMPLEMENT_CLASS(TMainMenu, "Menus");

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  delete FItems;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

namespace {
bool RunShortCut(TMenuItem* Item, TShortCut Key) {
  for (int I = 0; I < Item->Count(); ++I) {
    TMenuItem* C = Item->Items(I);
    if (!C->Visible()) continue;
    if (C->ShortCut() == Key && C->Enabled() && C->Count() == 0) {
      C->Click();
      return true;
    }
    if (C->Enabled() && RunShortCut(C, Key)) return true;
  }
  return false;
}
}  // namespace

bool TMenu::IsShortCut(TShortCut Key) { return Key != 0 && RunShortCut(FItems, Key); }

TMenuItem* TMenu::FindItem(const String& CaptionPath) const {
  TMenuItem* Item = FItems;
  size_t Start = 0;
  while (Start <= CaptionPath.size()) {
    size_t Bar = CaptionPath.find('|', Start);
    String Part = CaptionPath.substr(Start, Bar == String::npos ? String::npos : Bar - Start);
    TMenuItem* Found = nullptr;
    for (int I = 0; I < Item->Count() && !Found; ++I)
      if (SameText(StripHotkey(Item->Items(I)->Caption()), Part) ||
          SameText(Item->Items(I)->Name(), Part))
        Found = Item->Items(I);
    if (!Found) return nullptr;
    Item = Found;
    if (Bar == String::npos) break;
    Start = Bar + 1;
  }
  return Item == FItems ? nullptr : Item;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  FItems->GetChildren(Proc, Root);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  FDesign.Define(Filer);
}

template <>
struct TPublished<TPopupMenu> {
  static constexpr TPropInfo Props[] = {
      Property<&TPopupMenu::Alignment, &TPopupMenu::SetAlignment>("Alignment", paLeft),
      Property<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup", 1),
      Property<&TPopupMenu::OnPopup, &TPopupMenu::OnPopup>("OnPopup"),
  };
};
OM_IMPLEMENT_CLASS(TPopupMenu, "Menus");

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (Value == FPopupComponent) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = Point(X, Y);
  FPoppedUp = true;
  if (OnPopup) OnPopup(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}
