// Class references, type information and published properties by name.
#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

TEST(ClassReference, KnowsNameParentAndAncestry) {
  TClass C = TTestButton::StaticClass();
  EXPECT_STREQ(C->ClassName(), "TTestButton");
  EXPECT_EQ(C->ClassParent(), TComponent::StaticClass());
  EXPECT_TRUE(C->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_TRUE(C->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(C));
  TTestButton B(nullptr);
  TObject* O = &B;
  EXPECT_EQ(O->ClassType(), C);
  EXPECT_EQ(O->ClassName(), "TTestButton");
  EXPECT_TRUE(O->Is<TComponent>());
  EXPECT_FALSE(O->Is<TCollection>());
}

TEST(ClassReference, CreatesThroughTheVirtualConstructorOfItsHierarchy) {
  TComponent Owner(nullptr);
  TComponentClass C = TTestButton::StaticClass();
  TComponent* B = C.Create(&Owner);
  EXPECT_EQ(B->ClassType(), TTestButton::StaticClass());
  EXPECT_EQ(B->Owner(), &Owner);
  EXPECT_EQ(static_cast<TTestButton*>(B)->Color, clBtnFace);  // its own constructor ran

  TTestItems Items(nullptr);
  TCollectionItemClass IC = TTestItem::StaticClass();
  TCollectionItem* Item = IC.Create(&Items);
  EXPECT_EQ(Item->Collection(), &Items);
}

TEST(ClassReference, RefusesToCreateAnAbstractClass) {
  TPersistentClass C = TStrings::StaticClass();
  EXPECT_TRUE(C->IsAbstract());
  EXPECT_THROW(C.Create(), EAbstractError);
  EXPECT_THROW(TPersistentClass().Create(), EAbstractError);
}

TEST(TypeInformation, TellsKindNameAndMembers) {
  EXPECT_EQ(TypeInfo<int>()->Kind, tkInteger);
  EXPECT_STREQ(TypeInfo<int>()->Name, "Integer");
  EXPECT_EQ(TypeInfo<bool>()->Kind, tkEnumeration);
  EXPECT_STREQ(TypeInfo<bool>()->Name, "Boolean");
  EXPECT_STREQ(TypeInfo<String>()->Name, "string");
  EXPECT_STREQ(TypeInfo<TColor>()->Name, "TColor");
  EXPECT_EQ(TypeInfo<TTestItems*>()->Kind, tkClass);
  EXPECT_EQ(TypeInfo<TTestItems*>()->ClassType, TTestItems::StaticClass());
  EXPECT_STREQ(TypeInfo<TTestItems*>()->Name, "TTestItems");
  EXPECT_EQ(TypeInfo<TNotifyEvent>()->Kind, tkMethod);

  PTypeInfo Align = TypeInfo<TTestAlign>();
  EXPECT_EQ(Align->Kind, tkEnumeration);
  EXPECT_EQ(GetEnumName(Align, tlClient), "tlClient");
  EXPECT_EQ(GetEnumValue(Align, "TLRIGHT"), tlRight);
  EXPECT_EQ(GetEnumValue(Align, "tlMiddle"), -1);

  PTypeInfo Styles = TypeInfo<TTestFontStyles>();
  EXPECT_EQ(Styles->Kind, tkSet);
  EXPECT_EQ(Styles->CompType, TypeInfo<TTestFontStyle>());
  long long Bits = StringToSet(Styles, "[tsBold, tsStrikeOut]");
  EXPECT_EQ(Bits, (TTestFontStyles{tsBold, tsStrikeOut}).Bits());
  EXPECT_EQ(SetToString(Styles, Bits, true), "[tsBold,tsStrikeOut]");
  EXPECT_THROW(StringToSet(Styles, "[tsHuge]"), EPropertyConvertError);
}

TEST(PublishedProperties, ListAncestorsFirstInDeclarationOrder) {
  std::vector<String> Names;
  for (PPropInfo P : GetPropList(TTestButton::StaticClass())) Names.push_back(P->Name);
  ASSERT_GE(Names.size(), 3u);
  EXPECT_EQ(Names[0], "Name");
  EXPECT_EQ(Names[1], "Tag");
  EXPECT_EQ(Names[2], "Caption");
  EXPECT_EQ(Names.back(), "OnClick");
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "caption"),
            GetPropInfo(TTestButton::StaticClass(), "Caption"));
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "Captoin"), nullptr);
}

TEST(PublishedProperties, AreFoundByTheWholeNameInAnyCaseOnly) {
  for (TClass C : {TTestButton::StaticClass(), TTestForm::StaticClass(), TTestFont::StaticClass()})
    for (PPropInfo P : GetPropList(C)) {
      String Name = P->Name;
      EXPECT_EQ(GetPropInfo(C, UpperCase(Name)), P) << Name;
      EXPECT_EQ(GetPropInfo(C, LowerCase(Name)), P) << Name;
      // A part of the name, more than the name, or the name with a NUL and more after it
      // is another name.
      EXPECT_EQ(GetPropInfo(C, Name.substr(0, Name.size() - 1)), nullptr) << Name;
      EXPECT_EQ(GetPropInfo(C, Name + "s"), nullptr) << Name;
      EXPECT_EQ(GetPropInfo(C, Name + String(1, '\0')), nullptr) << Name;
      EXPECT_EQ(GetPropInfo(C, Name + String(1, '\0') + "x"), nullptr) << Name;
    }
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), ""), nullptr);
  // Characters that are not letters have no case: '[' is not '{', nor '@' '`'.
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "C@ption"), nullptr);
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "Capti\x7Fn"), nullptr);
  // Asking another class between two look-ups of one gives each its own.
  PPropInfo FormCaption = GetPropInfo(TTestForm::StaticClass(), "Caption");
  PPropInfo ButtonCaption = GetPropInfo(TTestButton::StaticClass(), "Caption");
  EXPECT_NE(FormCaption, ButtonCaption);
  EXPECT_EQ(GetPropInfo(TTestForm::StaticClass(), "CAPTION"), FormCaption);
  EXPECT_EQ(GetPropInfo(TTestFont::StaticClass(), "Caption"), nullptr);
}

TEST(PublishedProperties, ReadAndWriteEveryKindByName) {
  TTestForm Form(nullptr);
  auto* B = new TTestButton(&Form);
  auto* Other = new TTestButton(&Form);
  SetStrProp(B, "Caption", "Go");
  EXPECT_EQ(B->Caption, "Go");
  SetOrdProp(B, "Left", -7);
  EXPECT_EQ(GetOrdProp(B, "Left"), -7);
  SetOrdProp(B, "Align", tlTop);
  EXPECT_EQ(B->Align, tlTop);
  SetOrdProp(B, "Enabled", 0);
  EXPECT_FALSE(B->Enabled);
  SetObjectProp(B, "Buddy", Other);
  EXPECT_EQ(B->Buddy(), Other);
  EXPECT_EQ(GetObjectProp(B, "Font"), B->Font());
  SetMethodProp(B, "OnClick", Form.MethodAddress("ButtonClick"));
  B->OnClick(B);
  EXPECT_EQ(Form.Clicks, 1);
  EXPECT_EQ(GetPropValueText(B, GetPropInfo(B, "OnClick")), "ButtonClick");
  EXPECT_EQ(GetPropValueText(B, GetPropInfo(B, "Color")), "clBtnFace");
  EXPECT_EQ(GetPropValueText(B, GetPropInfo(B, "Font")), "(TTestFont)");
  EXPECT_EQ(GetPropValueText(B, GetPropInfo(B, "Buddy")), "");  // unnamed
}

TEST(PublishedProperties, RefuseWhatDoesNotFit) {
  TTestButton B(nullptr);
  TStringList NotAComponent;
  EXPECT_THROW(SetOrdProp(&B, "NoSuch", 1), EPropertyError);
  EXPECT_THROW(SetObjectProp(&B, "Font", nullptr), EPropertyError);  // read-only
  EXPECT_THROW(SetObjectProp(&B, "Buddy", &NotAComponent), EPropertyConvertError);
  EXPECT_THROW(SetOrdProp(&B, "Align", 17), EPropertyConvertError);
  EXPECT_THROW(SetOrdProp(&B, "Caption", 1), EPropertyConvertError);  // a string property
  EXPECT_EQ(B.Align, tlNone);
}

TEST(Events, CompareClearAndCall) {
  TTestForm A(nullptr), B(nullptr);
  TNotifyEvent E1 = Closure<&TTestForm::ButtonClick>(&A);
  TNotifyEvent E2 = Closure<&TTestForm::ButtonClick>(&A);
  TNotifyEvent E3 = Closure<&TTestForm::ButtonClick>(&B);
  TNotifyEvent E4 = Closure<&TTestForm::OtherClick>(&A);
  EXPECT_EQ(E1, E2);
  EXPECT_NE(E1, E3);  // same code, other object
  EXPECT_NE(E1, E4);  // same object, other code
  E4(nullptr);
  EXPECT_EQ(A.Clicks, 10);
  E1 = nullptr;
  EXPECT_FALSE(E1);
  EXPECT_EQ(E1.Method().Data, nullptr);
  // A published method found by name is the same closure as one bound in code.
  EXPECT_EQ(TNotifyEvent(A.MethodAddress("buttonclick")), E2);
  EXPECT_FALSE(A.MethodAddress("NoSuchMethod"));
}

}  // namespace
