// Components used by the foundation's tests and benchmarks: a little of everything a
// form file can hold (nested objects, a collection, a set, a string list, binary data,
// a component reference, an event handler).
#pragma once

#include "Classes.h"

enum TTestAlign { tlNone, tlTop, tlBottom, tlLeft, tlRight, tlClient };
OM_ENUM_TYPE(TTestAlign)
enum TTestFontStyle { tsBold, tsItalic, tsUnderline, tsStrikeOut };
OM_ENUM_TYPE(TTestFontStyle)
OM_SET_TYPE(TTestFontStyles, TTestFontStyle)

class PACKAGE TTestFont : public TPersistent {
  OM_CLASS(TTestFont, TPersistent)
 public:
  TTestFont() = default;
  void Assign(TPersistent* Source) override;
  String Name = "MS Sans Serif";
  int Size = 8;
  TColor Color = clWindowText;
  TTestFontStyles Style;

 private:
  bool IsNameStored() const { return Name != "MS Sans Serif"; }
};

class PACKAGE TTestItem : public TCollectionItem {
  OM_CLASS(TTestItem, TCollectionItem)
 public:
  explicit TTestItem(TCollection* Collection);
  ~TTestItem() override;
  void Assign(TPersistent* Source) override;
  String Caption;
  int Width = 64;
  bool Visible = true;
  TTestFont* Font() const { return FFont; }

 protected:
  String GetDisplayName() const override;

 private:
  void SetCaption(const String& Value);
  TTestFont* FFont;
};

class TTestItems : public TOwnedCollection {
  OM_CLASS(TTestItems, TOwnedCollection)
 public:
  explicit TTestItems(TPersistent* Owner) : TOwnedCollection(Owner, TTestItem::StaticClass()) {}
  TTestItem* Items(int Index) const { return static_cast<TTestItem*>(TCollection::Items(Index)); }
  // What the owner heard: every update notification, the item or null for all.
  std::vector<TCollectionItem*> Updates;
  std::vector<std::pair<TCollectionItem*, TCollectionNotification>> Notifications;

 protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    Notifications.emplace_back(Item, Action);
  }
};

class PACKAGE TTestButton : public TComponent {
  OM_CLASS(TTestButton, TComponent)
 public:
  explicit TTestButton(TComponent* AOwner);
  ~TTestButton() override;
  String Caption;
  int Left = 0;
  bool Enabled = true;
  TTestAlign Align = tlNone;
  TColor Color = clBtnFace;
  TNotifyEvent OnClick;
  TTestFont* Font() const { return FFont; }
  TStrings* Lines() const { return FLines; }
  TTestItems* Items() const { return FItems; }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* Value);
  std::vector<Byte> Data;  // stored as binary data
  int LoadedCount = 0;
  std::vector<TComponent*> Children;

  void SetParentComponent(TComponent* Value) override;
  TComponent* GetParentComponent() const override { return FParent; }
  bool HasParent() const override { return FParent != nullptr; }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void DefineProperties(TFiler* Filer) override;

 private:
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TTestFont* FFont;
  TStrings* FLines;
  TTestItems* FItems;
  TComponent* FBuddy = nullptr;
  TComponent* FParent = nullptr;
};

// A design root with published handlers, as a form class has.
class PACKAGE TTestForm : public TComponent {
  OM_CLASS(TTestForm, TComponent)
 public:
  explicit TTestForm(TComponent* AOwner) : TComponent(AOwner) {}
  String Caption;
  int ClientWidth = 0;
  TNotifyEvent OnCreate;
  int Clicks = 0;
  void ButtonClick(TObject* Sender) { ++Clicks; }
  void OtherClick(TObject* Sender) { Clicks += 10; }
  void WrongSignature(TObject* Sender, int Key) {}
};

// Registers the classes above (and unregisters them when it goes).
struct TTestClassesRegistration {
  TTestClassesRegistration();
  ~TTestClassesRegistration();
};
