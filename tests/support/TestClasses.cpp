#include "TestClasses.h"

#include <algorithm>

OM_ENUM_TYPE_INFO(TTestAlign, "tlNone", "tlTop", "tlBottom", "tlLeft", "tlRight", "tlClient");
OM_ENUM_TYPE_INFO(TTestFontStyle, "tsBold", "tsItalic", "tsUnderline", "tsStrikeOut");
OM_SET_TYPE_INFO(TTestFontStyles, TTestFontStyle);

template <>
struct TPublished<TTestFont> {
  static constexpr TPropInfo Props[] = {
      Property<&TTestFont::Name, &TTestFont::Name, &TTestFont::IsNameStored>("Name"),
      Property<&TTestFont::Size, &TTestFont::Size>("Size", 8),
      Property<&TTestFont::Color, &TTestFont::Color>("Color", clWindowText),
      Property<&TTestFont::Style, &TTestFont::Style>("Style", 0),
  };
};
OM_IMPLEMENT_CLASS(TTestFont, "TestClasses");

void TTestFont::Assign(TPersistent* Source) {
  auto* F = dynamic_cast<TTestFont*>(Source);
  if (!F) return TPersistent::Assign(Source);
  Name = F->Name;
  Size = F->Size;
  Color = F->Color;
  Style = F->Style;
}

template <>
struct TPublished<TTestItem> {
  static constexpr TPropInfo Props[] = {
      Property<&TTestItem::Caption, &TTestItem::SetCaption>("Caption"),
      Property<&TTestItem::Width, &TTestItem::Width>("Width", 64),
      Property<&TTestItem::Visible, &TTestItem::Visible>("Visible", 1),
      Property<&TTestItem::Font>("Font"),
  };
};
OM_IMPLEMENT_CLASS(TTestItem, "TestClasses");
OM_IMPLEMENT_CLASS(TTestItems, "TestClasses");

TTestItem::TTestItem(TCollection* Collection) : TCollectionItem(Collection), FFont(new TTestFont) {}
TTestItem::~TTestItem() { delete FFont; }

void TTestItem::Assign(TPersistent* Source) {
  auto* I = dynamic_cast<TTestItem*>(Source);
  if (!I) return TCollectionItem::Assign(Source);
  Caption = I->Caption;
  Width = I->Width;
  Visible = I->Visible;
  FFont->Assign(I->FFont);
}

void TTestItem::SetCaption(const String& Value) {
  Caption = Value;
  Changed(false);
}

String TTestItem::GetDisplayName() const { return Caption.empty() ? ClassName() : Caption; }

template <>
struct TPublished<TTestButton> {
  static constexpr TPropInfo Props[] = {
      Property<&TTestButton::Caption, &TTestButton::Caption>("Caption"),
      Property<&TTestButton::Left, &TTestButton::Left>("Left", 0),
      Property<&TTestButton::Enabled, &TTestButton::Enabled>("Enabled", 1),
      Property<&TTestButton::Align, &TTestButton::Align>("Align", tlNone),
      Property<&TTestButton::Color, &TTestButton::Color>("Color", clBtnFace),
      Property<&TTestButton::Font>("Font"),
      Property<&TTestButton::Lines, &TTestButton::SetLines>("Lines"),
      Property<&TTestButton::Items>("Items"),
      Property<&TTestButton::Buddy, &TTestButton::SetBuddy>("Buddy"),
      Property<&TTestButton::OnClick, &TTestButton::OnClick>("OnClick"),
  };
};
OM_IMPLEMENT_CLASS(TTestButton, "TestClasses");

TTestButton::TTestButton(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TTestFont), FLines(new TStringList), FItems(new TTestItems(this)) {}

TTestButton::~TTestButton() {
  delete FItems;
  delete FLines;
  delete FFont;
}

void TTestButton::SetBuddy(TComponent* Value) {
  if (FBuddy == Value) return;
  if (FBuddy) FBuddy->RemoveFreeNotification(this);
  FBuddy = Value;
  if (FBuddy) FBuddy->FreeNotification(this);
}

void TTestButton::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBuddy) FBuddy = nullptr;
  if (AComponent == FParent) FParent = nullptr;
  std::erase(Children, AComponent);
}

void TTestButton::SetParentComponent(TComponent* Value) {
  auto* P = dynamic_cast<TTestButton*>(Value);
  if (FParent) {
    if (auto* Old = dynamic_cast<TTestButton*>(FParent)) std::erase(Old->Children, this);
    FParent->RemoveFreeNotification(this);
  }
  FParent = P;
  if (P) {
    P->Children.push_back(this);
    P->FreeNotification(this);
  }
}

void TTestButton::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TComponent* C : Children) Proc(C);
}

void TTestButton::Loaded() {
  TComponent::Loaded();
  ++LoadedCount;
}

void TTestButton::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data",
      [this](TStream* S) {
        Data.resize(size_t(S->Size()));
        S->SetPosition(0);
        S->ReadBuffer(Data.data(), long(Data.size()));
      },
      [this](TStream* S) { S->WriteBuffer(Data.data(), long(Data.size())); }, !Data.empty());
}

template <>
struct TPublished<TTestForm> {
  static constexpr TPropInfo Props[] = {
      Property<&TTestForm::Caption, &TTestForm::Caption>("Caption"),
      Property<&TTestForm::ClientWidth, &TTestForm::ClientWidth>("ClientWidth", 0),
      Property<&TTestForm::OnCreate, &TTestForm::OnCreate>("OnCreate"),
  };
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TTestForm, ButtonClick),
      OM_METHOD(TTestForm, OtherClick),
      OM_METHOD(TTestForm, WrongSignature),
  };
};
OM_IMPLEMENT_CLASS(TTestForm, "TestClasses");

TTestClassesRegistration::TTestClassesRegistration() {
  RegisterClasses({TTestButton::StaticClass(), TTestForm::StaticClass()});
}

TTestClassesRegistration::~TTestClassesRegistration() {
  UnRegisterClass(TTestButton::StaticClass());
  UnRegisterClass(TTestForm::StaticClass());
  UnRegisterClass(TComponent::StaticClass());
}
