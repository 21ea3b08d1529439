// Menus: main menus, pop-up menus and their items, which follow their actions.
#pragma once

#include <vector>

#include "ActnList.h"

class TMenu;

PACKAGE TShortCut ShortCut(Word Key, TShiftState Shift);
PACKAGE void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Ins", "Del", "F1"..., and back; an unknown text gives 0.
PACKAGE String ShortCutToText(TShortCut ShortCut);
PACKAGE TShortCut TextToShortCut(const String& Text);
// The caption without its accelerator marks: "&Add" gives "Add", "&&" gives "&".
PACKAGE String StripHotkey(const String& Text);

class PACKAGE TMenuItem : public TComponent, public IActionClient {
  OM_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const noexcept { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const noexcept { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const noexcept { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const noexcept { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const noexcept { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool RadioItem() const noexcept { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  int GroupIndex() const noexcept { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  int HelpContext() const noexcept { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  const String& Hint() const noexcept { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  int ImageIndex() const noexcept { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const noexcept { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  TBasicAction* Action() const noexcept { return FAction; }
  void SetAction(TBasicAction* Value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return FCaption == "-"; }

  int Count() const noexcept { return int(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const noexcept { return FParent; }
  int MenuIndex() const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  void Delete(int Index);
  void Clear();
  // The menu this item belongs to, through its parents.
  TMenu* GetParentMenu() const;
  // What choosing the item does: its action, or its OnClick. Nothing while disabled.
  virtual void Click();
  TNotifyEvent OnClick;

  void ActionChanged(TBasicAction* Sender, TActionChange What) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenu;
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsHelpContextStored() const;
  TCustomAction* LinkedAction() const;
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  String FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  TBasicAction* FAction = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
};

class PACKAGE TMenu : public TComponent {
  OM_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The invisible root whose children are the menu's items.
  TMenuItem* Items() const noexcept { return FItems; }
  TCustomImageList* Images() const noexcept { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Finds the enabled item with this shortcut, here or in a submenu, and clicks it.
  bool IsShortCut(TShortCut Key);
  // The item whose (accelerator-free) caption path this is: "File|Open".
  TMenuItem* FindItem(const String& CaptionPath) const;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
  TDesignPosition FDesign;
};

class PACKAGE TMainMenu : public TMenu {
  OM_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

enum TPopupAlignment { paLeft, paRight, paCenter };
OM_ENUM_TYPE(TPopupAlignment)

class PACKAGE TPopupMenu : public TMenu {
  OM_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  bool AutoPopup() const noexcept { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // The control whose context menu this was when it last popped up.
  TComponent* PopupComponent() const noexcept { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  TPoint PopupPoint() const noexcept { return FPopupPoint; }
  // Opens the menu at a screen point: OnPopup runs, so that its items are up to date.
  // The item chosen then comes from the application's input as a menu choice.
  virtual void Popup(int X, int Y);
  bool IsPoppedUp() const noexcept { return FPoppedUp; }
  void CloseUp() { FPoppedUp = false; }
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
  bool FPoppedUp = false;
};

OM_EXCEPTION(EMenuError, Exception)
