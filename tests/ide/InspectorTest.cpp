// The object inspector and the editors it uses; the component editor host.
#include "DesignTestSupport.h"

namespace {

// A component with events of every likely name, for the double-click rule.
class TEventful : public TComponent {
  OM_CLASS(TEventful, TComponent)
 public:
  explicit TEventful(TComponent* AOwner) : TComponent(AOwner) {}
  TNotifyEvent OnEnter, OnChange, OnClick, OnExit;
};

// A caption in another place of its object than a button's.
class TLabelled : public TComponent {
  OM_CLASS(TLabelled, TComponent)
 public:
  explicit TLabelled(TComponent* AOwner) : TComponent(AOwner) {}
  String Hint = "hint";
  String Caption;
};

}  // namespace

template <>
struct TPublished<TLabelled> {
  static constexpr TPropInfo Props[] = {
      Property<&TLabelled::Caption, &TLabelled::Caption>("Caption"),
  };
};
OM_IMPLEMENT_CLASS(TLabelled, "InspectorTest");

template <>
struct TPublished<TEventful> {
  static constexpr TPropInfo Props[] = {
      Property<&TEventful::OnChange, &TEventful::OnChange>("OnChange"),
      Property<&TEventful::OnClick, &TEventful::OnClick>("OnClick"),
      Property<&TEventful::OnEnter, &TEventful::OnEnter>("OnEnter"),
      Property<&TEventful::OnExit, &TEventful::OnExit>("OnExit"),
  };
};
OM_IMPLEMENT_CLASS(TEventful, "InspectorTest");

namespace {

// Editors that only say who they are, to see which one the IDE picks.
#define OM_MARKER_EDITOR(Name)                                  \
  class Name : public TStringProperty {                         \
    OM_CLASS(Name, TStringProperty)                             \
   public:                                                      \
    using TStringProperty::TStringProperty;                     \
  };
OM_MARKER_EDITOR(TAnyCaptionEditor)
OM_MARKER_EDITOR(TButtonStringEditor)
OM_MARKER_EDITOR(TButtonCaptionEditor)
OM_MARKER_EDITOR(TLaterButtonCaptionEditor)
#undef OM_MARKER_EDITOR

class TFontPicker : public TClassProperty {
  OM_CLASS(TFontPicker, TClassProperty)
 public:
  using TClassProperty::TClassProperty;
};

}  // namespace
OM_IMPLEMENT_CLASS(TAnyCaptionEditor, "InspectorTest");
OM_IMPLEMENT_CLASS(TButtonStringEditor, "InspectorTest");
OM_IMPLEMENT_CLASS(TButtonCaptionEditor, "InspectorTest");
OM_IMPLEMENT_CLASS(TLaterButtonCaptionEditor, "InspectorTest");
OM_IMPLEMENT_CLASS(TFontPicker, "InspectorTest");

namespace {

String EditorOf(PTypeInfo T, const char* Prop, TClass C) {
  return TRegistries::Instance().PropertyEditorFor(T, Prop, C)->ClassName();
}

TEST_F(DesignTest, EditorMatchingPrefersTheMostSpecificAndThenTheLatest) {
  PTypeInfo Str = TypeInfo<String>();
  TClass Button = TTestButton::StaticClass();
  EXPECT_EQ(EditorOf(Str, "Caption", Button), "TStringProperty");  // the kind's own
  RegisterPropertyEditor(Str, nullptr, "Caption", TAnyCaptionEditor::StaticClass());
  RegisterPropertyEditor(Str, Button, "", TButtonStringEditor::StaticClass());
  // A named property beats any property, whatever the order.
  EXPECT_EQ(EditorOf(Str, "caption", TTestForm::StaticClass()), "TAnyCaptionEditor");
  EXPECT_EQ(EditorOf(Str, "Caption", Button), "TAnyCaptionEditor");
  RegisterPropertyEditor(Str, Button, "CAPTION", TButtonCaptionEditor::StaticClass());
  EXPECT_EQ(EditorOf(Str, "Caption", Button), "TButtonCaptionEditor");
  // A registration for the base class does not beat one for the derived class.
  RegisterPropertyEditor(Str, TComponent::StaticClass(), "Caption", TAnyCaptionEditor::StaticClass());
  EXPECT_EQ(EditorOf(Str, "Caption", Button), "TButtonCaptionEditor");
  // Among equals, the latest.
  RegisterPropertyEditor(Str, Button, "Caption", TLaterButtonCaptionEditor::StaticClass());
  EXPECT_EQ(EditorOf(Str, "Caption", Button), "TLaterButtonCaptionEditor");
  // Class types: a registration for an ancestor type reaches its descendants; an exact one wins.
  RegisterPropertyEditor(TypeInfo<TPersistent*>(), nullptr, "", TFontPicker::StaticClass());
  EXPECT_EQ(EditorOf(TypeInfo<TTestFont*>(), "Font", Button), "TFontPicker");
  RegisterPropertyEditor(TypeInfo<TTestFont*>(), nullptr, "", TClassProperty::StaticClass());
  EXPECT_EQ(EditorOf(TypeInfo<TTestFont*>(), "Font", Button), "TClassProperty");
  EXPECT_EQ(EditorOf(TypeInfo<TTestItems*>(), "Items", Button), "TFontPicker");
}

// When the clauses disagree, the first that tells two registrations apart decides, and
// the order they were registered in does not matter.
TEST_F(DesignTest, EditorMatchingDecidesByTheFirstClauseThatTellsTwoApartInEitherOrder) {
  struct TReg {
    PTypeInfo Type;
    TClass Component;
    const char* Name;
  };
  struct TCase {
    const char* What;
    TReg Winner, Loser;
    PTypeInfo PropType;
    const char* PropName;
  };
  PTypeInfo Str = TypeInfo<String>(), Font = TypeInfo<TTestFont*>(),
            Persistent = TypeInfo<TPersistent*>();
  TClass Button = TTestButton::StaticClass(), Component = TComponent::StaticClass();
  const TCase Cases[] = {
      {"a named property over a component class",
       {Str, nullptr, "Caption"},
       {Str, Button, ""},
       Str,
       "Caption"},
      {"a named property over an exact type",
       {Persistent, nullptr, "Font"},
       {Font, nullptr, ""},
       Font,
       "Font"},
      {"a component class over an exact type",
       {Persistent, Button, ""},
       {Font, nullptr, ""},
       Font,
       "Font"},
      {"a derived class over an exact type",
       {Persistent, Button, "Font"},
       {Font, Component, "Font"},
       Font,
       "Font"},
      {"a nearer ancestor type",
       {Persistent, nullptr, ""},
       {TypeInfo<TObject*>(), nullptr, ""},
       Font,
       "Font"},
  };
  auto& Editors = TRegistries::Instance().PropertyEditors;
  const auto Before = Editors;
  for (const TCase& C : Cases)
    for (bool WinnerFirst : {true, false}) {
      Editors = Before;
      auto Register = [](const TReg& R, TClass Editor) {
        RegisterPropertyEditor(R.Type, R.Component, R.Name, Editor);
      };
      if (WinnerFirst) Register(C.Winner, TAnyCaptionEditor::StaticClass());
      Register(C.Loser, TButtonStringEditor::StaticClass());
      if (!WinnerFirst) Register(C.Winner, TAnyCaptionEditor::StaticClass());
      EXPECT_EQ(EditorOf(C.PropType, C.PropName, Button), "TAnyCaptionEditor")
          << C.What << (WinnerFirst ? ", registered first" : ", registered last");
    }
  Editors = Before;
}

TEST_F(DesignTest, InspectorShowsTheSelectionsPropertiesByName) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  B->Caption = "Go";
  D->SelectComponent(B);
  TObjectInspector& I = Ide.Inspector();
  std::vector<String> Names;
  for (const TInspectorRow& R : I.Rows()) Names.push_back(R.Name);
  EXPECT_EQ(Names, (std::vector<String>{"Align", "Buddy", "Caption", "Color", "Enabled", "Font", "Items",
                                        "Left", "Lines", "Name", "OnClick", "Tag"}));
  EXPECT_EQ(I.Row("caption").Value(), "Go");
  EXPECT_EQ(I.Row("Color").Value(), "clBtnFace");
  EXPECT_EQ(I.Row("Font").Value(), "(TTestFont)");
  EXPECT_EQ(I.Row("Align").EditorClass(), "TEnumProperty");
  EXPECT_EQ(I.Row("Buddy").EditorClass(), "TComponentProperty");
  EXPECT_EQ(I.Row("OnClick").EditorClass(), "TMethodProperty");
  EXPECT_TRUE(I.Row("Font").Attributes().Contains(paSubProperties));
  EXPECT_THROW(I.Row("Nothing"), EPropertyError);
}

TEST_F(DesignTest, SeveralSelectedShowOnlyWhatAllowsItAndBlankDifferences) {
  TDesigner* D = NewForm();
  TTestButton* A = AddButton("A");
  TTestButton* B = AddButton("B");
  A->Left = 1;
  B->Left = 2;
  A->Caption = B->Caption = "Same";
  D->SetSelection({A, B});
  TObjectInspector& I = Ide.Inspector();
  EXPECT_THROW(I.Row("Name"), EPropertyError);  // names are never shared
  EXPECT_EQ(I.Row("Left").Value(), "");
  EXPECT_EQ(I.Row("Caption").Value(), "Same");
  I.SetValue("Left", "7");
  EXPECT_EQ(A->Left, 7);
  EXPECT_EQ(B->Left, 7);
  EXPECT_EQ(I.Row("Left").Value(), "7");
  // A form and a button share only what both have, each through its own class's
  // property.
  D->SetSelection({Root, A});
  EXPECT_NO_THROW(I.Row("Tag"));
  EXPECT_THROW(I.Row("Left"), EPropertyError);
  auto* L = new TLabelled(Root);
  L->Caption = "Label";
  D->SetSelection({A, L});
  EXPECT_EQ(I.Row("Caption").Value(), "");
  I.SetValue("Caption", "Both");
  EXPECT_EQ(L->Caption, "Both");
  EXPECT_EQ(L->Hint, "hint");
  EXPECT_EQ(A->Caption, "Both");
  EXPECT_EQ(B->Caption, "Same");
}

TEST_F(DesignTest, TypingAValueWritesItAndMarksTheFormModified) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  TTestButton* Other = AddButton("Button2");
  D->SelectComponent(B);
  TObjectInspector& I = Ide.Inspector();
  I.SetValue("Align", "tlTop");
  EXPECT_EQ(B->Align, tlTop);
  EXPECT_TRUE(D->IsModified());
  I.SetValue("Color", "clRed");
  EXPECT_EQ(B->Color, clRed);
  I.SetValue("Color", "255");
  EXPECT_EQ(I.Row("Color").Value(), "clRed");
  I.SetValue("Buddy", "Button2");
  EXPECT_EQ(B->Buddy(), Other);
  EXPECT_THROW(I.SetValue("Buddy", "Nobody"), EPropertyError);
  EXPECT_THROW(I.SetValue("Left", "12a"), EPropertyError);
  EXPECT_THROW(I.SetValue("Align", "tlMiddle"), EPropertyError);
  EXPECT_THROW(I.SetValue("Font", "Arial"), EPropertyError);  // read-only row
  EXPECT_EQ(B->Left, 0);
}

TEST_F(DesignTest, ValueListsAreSortedWhenTheEditorAsks) {
  TDesigner* D = NewForm();
  AddButton("Zeta");
  AddButton("Alpha");
  D->SelectComponent(Root->FindComponent("Zeta"));
  TObjectInspector& I = Ide.Inspector();
  EXPECT_EQ(I.ValueList("Buddy"), (std::vector<String>{"Alpha", "Zeta"}));
  EXPECT_EQ(I.ValueList("Enabled"), (std::vector<String>{"False", "True"}));
  EXPECT_EQ(I.ValueList("Align").front(), "tlBottom");
  EXPECT_TRUE(I.ValueList("Caption").empty());
}

TEST_F(DesignTest, SubPropertiesExpandAndEditTheirObject) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  D->SelectComponent(B);
  TObjectInspector& I = Ide.Inspector();
  I.Expand("Font");
  EXPECT_EQ(I.Row("Font.Size").Value(), "8");
  EXPECT_EQ(I.Row("Font.Size").Depth, 1);
  I.SetValue("Font.Size", "12");
  EXPECT_EQ(B->Font()->Size, 12);
  I.Expand("Font.Style");
  I.SetValue("Font.Style.tsItalic", "True");
  EXPECT_TRUE(B->Font()->Style.Contains(tsItalic));
  EXPECT_EQ(I.Row("Font.Style").Value(), "[tsItalic]");
  I.Collapse("Font");
  EXPECT_THROW(I.Row("Font.Size"), EPropertyError);
}

TEST_F(DesignTest, RevertGivesTheDeclaredDefault) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  B->Color = clRed;
  B->Caption = "x";
  D->SelectComponent(B);
  Ide.Inspector().Revert("Color");
  Ide.Inspector().Revert("Caption");
  EXPECT_EQ(B->Color, clBtnFace);
  EXPECT_EQ(B->Caption, "");
}

TEST_F(DesignTest, TheEllipsisOfAnEventCreatesAndShowsItsHandler) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  D->SelectComponent(B);
  Ide.Inspector().Edit("OnClick");
  EXPECT_EQ(D->GetMethodName(B->OnClick.Method()), "Button1Click");
  EXPECT_EQ(D->LastShownMethod(), "Button1Click");
  EXPECT_EQ(Ide.Inspector().ValueList("OnClick"), std::vector<String>{"Button1Click"});
}

TEST_F(DesignTest, CategoryViewGroupsByRegistrationAndDefaultsToMiscellaneous) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
#if OM_HOST_RELEASE == 5
  RegisterPropertiesInCategory(TVisualCategory::StaticClass(), TTestButton::StaticClass(), {"Color", "font", "Align"});
  RegisterPropertiesInCategory(TLayoutCategory::StaticClass(), TComponent::StaticClass(), {"Align", "Left"});
#else
  RegisterPropertiesInCategory("Visual", TTestButton::StaticClass(), {"Color", "font", "Align"});
  RegisterPropertiesInCategory("Layout", TComponent::StaticClass(), {"Align", "Left"});
#endif
  D->SelectComponent(B);
  auto Cats = Ide.Inspector().Categories();
  ASSERT_EQ(Cats.size(), 3u);
  EXPECT_EQ(Cats[0].first, "Layout");
  EXPECT_EQ(Cats[0].second, (std::vector<String>{"Align", "Left"}));
  EXPECT_EQ(Cats[1].first, "Miscellaneous");
  EXPECT_EQ(Cats[2].first, "Visual");
  EXPECT_EQ(Cats[2].second, (std::vector<String>{"Align", "Color", "Font"}));
}

TEST_F(DesignTest, DoubleClickEditsTheLikeliestEvent) {
  TDesigner* D = NewForm();
  auto* E = new TEventful(Root);
  E->SetName("Edit1");
  DoubleClickComponent(D, E);
  EXPECT_EQ(D->GetMethodName(E->OnChange.Method()), "Edit1Change");
  EXPECT_FALSE(E->OnClick);
  // The root's OnCreate beats everything.
  DoubleClickComponent(D, Root);
  EXPECT_EQ(D->GetMethodName(Root->OnCreate.Method()), "Form1Create");
  // OnClick without OnChange; and the first event when none of the three exists.
  TTestButton* B = AddButton("Button1");
  DoubleClickComponent(D, B);
  EXPECT_EQ(D->GetMethodName(B->OnClick.Method()), "Button1Click");
}

class TTwoVerbEditor : public TComponentEditor {
  OM_CLASS(TTwoVerbEditor, TComponentEditor)
 public:
  using TComponentEditor::TComponentEditor;
  int GetVerbCount() override { return 2; }
  String GetVerb(int Index) override { return Index == 0 ? "&Count" : "Never"; }
  void ExecuteVerb(int Index) override { static_cast<TTestButton*>(Component())->Left += 1; }
#if OM_HOST_RELEASE == 6
  void PrepareItem(int Index, const _di_IMenuItem& AItem) override;
#else
  void PrepareItem(int Index, TMenuItem* AItem) override;
#endif
};

}  // namespace
OM_IMPLEMENT_CLASS(TTwoVerbEditor, "InspectorTest");
#if OM_HOST_RELEASE == 6
#include "DesignMenus.h"
void TTwoVerbEditor::PrepareItem(int Index, const _di_IMenuItem& AItem) {
  if (Index == 1) AItem->SetEnabled(false);
}
#else
#include "Menus.h"
void TTwoVerbEditor::PrepareItem(int Index, TMenuItem* AItem) {
  if (Index == 1) AItem->SetEnabled(false);
}
#endif

namespace {

TEST_F(DesignTest, TheContextMenuShowsVerbsThenTheIdesItems) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  RegisterComponentEditor(TTestButton::StaticClass(), TTwoVerbEditor::StaticClass());
  auto Menu = ComponentContextMenu(D, B);
  ASSERT_GE(Menu.size(), 4u);
  EXPECT_EQ(Menu[0].Caption, "&Count");
  EXPECT_EQ(Menu[1].Caption, "Never");
  EXPECT_EQ(Menu[2].Caption, "-");
  EXPECT_EQ(Menu[3].Caption, "Cut");
  ChooseContextMenuItem(D, B, 0);
  EXPECT_EQ(B->Left, 1);
  EXPECT_FALSE(Menu[1].Enabled);
  ChooseContextMenuItem(D, B, 1);  // disabled: nothing
  EXPECT_EQ(B->Left, 1);
  DoubleClickComponent(D, B);  // a plain editor's Edit runs its first verb
  EXPECT_EQ(B->Left, 2);
  EXPECT_THROW(ChooseContextMenuItem(D, B, 99), EListError);
}

}  // namespace

#include "Graphics.h"
#if OM_HOST_RELEASE == 6
#include "VCLEditors.h"
#endif

namespace {

// Draws its value with a mark before it, and makes its list entries tall and wide.
class TMarkedEditor : public TEnumProperty
#if OM_HOST_RELEASE == 6
    ,
                      public ICustomPropertyDrawing,
                      public ICustomPropertyListDrawing
#endif
{
  OM_CLASS(TMarkedEditor, TEnumProperty)
 public:
  using TEnumProperty::TEnumProperty;
  void ListMeasureHeight(const String&, TCanvas*, int& AHeight) override { AHeight = 30; }
  void ListMeasureWidth(const String&, TCanvas*, int& AWidth) override { AWidth += 20; }
  void ListDrawValue(const String& Value, TCanvas* C, const TRect& R, bool Selected) override {
    C->TextOut(R.Left, R.Top, (Selected ? "* " : "  ") + Value);
  }
  void PropDrawValue(TCanvas* C, const TRect& R, bool) override { C->TextOut(R.Left, R.Top, "> " + GetValue()); }
  void PropDrawName(TCanvas* C, const TRect& R, bool) override { C->TextOut(R.Left, R.Top, "[" + GetName() + "]"); }
};

}  // namespace
OM_IMPLEMENT_CLASS(TMarkedEditor, "InspectorTest");

namespace {

std::vector<String> Texts(const TCanvas& C) {
  std::vector<String> R;
  for (const TCanvasOp& Op : C.Operations())
    if (!Op.Text.empty()) R.push_back(Op.Text);
  return R;
}

TEST_F(DesignTest, TheInspectorLetsEditorsDrawThemselvesAndDrawsTheRestAsText) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  B->Caption = "Go";
  D->SelectComponent(B);
  TCanvas Plain;
  Ide.Inspector().DrawValue("Caption", &Plain, TRect{0, 0, 100, 16}, false);
  Ide.Inspector().DrawName("Caption", &Plain, TRect{0, 0, 100, 16}, false);
  EXPECT_EQ(Texts(Plain), (std::vector<String>{"Go", "Caption"}));

  RegisterPropertyEditor(TypeInfo<TTestAlign>(), nullptr, "", TMarkedEditor::StaticClass());
  D->SelectComponent(B);
  TCanvas Drawn;
  Ide.Inspector().DrawValue("Align", &Drawn, TRect{0, 0, 100, 16}, false);
  Ide.Inspector().DrawName("Align", &Drawn, TRect{0, 0, 100, 16}, false);
  EXPECT_EQ(Texts(Drawn), (std::vector<String>{"> tlNone", "[Align]"}));
  TCanvas List;
  std::vector<TRect> Rects = Ide.Inspector().DrawValueList("Align", &List, 50);
  ASSERT_EQ(Rects.size(), 6u);
  EXPECT_EQ(Rects[1], (TRect{0, 30, 70, 60}));
  EXPECT_EQ(Texts(List)[3], "* tlNone");  // the current value, in the sorted list
  EXPECT_EQ(Texts(List)[0], "  tlBottom");
}

}  // namespace
