// What packages register: component editors by class, the palette, and what an unloaded
// package leaves behind.
#include "DesignTestSupport.h"

namespace {

class TButtonEditor : public TComponentEditor {
  OM_CLASS(TButtonEditor, TComponentEditor)
 public:
  using TComponentEditor::TComponentEditor;
};
class TAnyComponentEditor : public TComponentEditor {
  OM_CLASS(TAnyComponentEditor, TComponentEditor)
 public:
  using TComponentEditor::TComponentEditor;
};
class TDerivedButton : public TTestButton {
  OM_CLASS(TDerivedButton, TTestButton)
 public:
  using TTestButton::TTestButton;
};

}  // namespace
OM_IMPLEMENT_CLASS(TButtonEditor, "RegistrationTest");
OM_IMPLEMENT_CLASS(TAnyComponentEditor, "RegistrationTest");
OM_IMPLEMENT_CLASS(TDerivedButton, "RegistrationTest");

namespace {

String EditorFor(TClass C) { return TRegistries::Instance().ComponentEditorFor(C)->ClassName(); }

TEST_F(DesignTest, ComponentEditorsGoToTheNearestRegisteredClass) {
  EXPECT_EQ(EditorFor(TTestButton::StaticClass()), "TDefaultEditor");
  RegisterComponentEditor(TTestButton::StaticClass(), TButtonEditor::StaticClass());
  RegisterComponentEditor(TComponent::StaticClass(), TAnyComponentEditor::StaticClass());
  // The later registration for an ancestor does not take the button's own.
  EXPECT_EQ(EditorFor(TTestButton::StaticClass()), "TButtonEditor");
  EXPECT_EQ(EditorFor(TDerivedButton::StaticClass()), "TButtonEditor");
  EXPECT_EQ(EditorFor(TTestForm::StaticClass()), "TAnyComponentEditor");
  RegisterComponentEditor(TTestButton::StaticClass(), TAnyComponentEditor::StaticClass());
  EXPECT_EQ(EditorFor(TDerivedButton::StaticClass()), "TAnyComponentEditor");  // the latest for it
  EXPECT_THROW(RegisterComponentEditor(TComponentClass(), TButtonEditor::StaticClass()), EComponentError);
}

TEST_F(DesignTest, APackagesRegistrationsGoWithItAndTheIdesStay) {
  TRegistries& R = TRegistries::Instance();
  size_t IdeCategories = R.Categories.size(), IdeEditors = R.PropertyEditors.size();
  TPackageRecord* Fake = reinterpret_cast<TPackageRecord*>(&R);  // any tag will do
  R.Registering = Fake;
  RegisterComponents("Samples", {TTestButton::StaticClass()});
  RegisterComponentEditor(TTestButton::StaticClass(), TButtonEditor::StaticClass());
  RegisterPropertyEditor(TypeInfo<String>(), TTestButton::StaticClass(), "Caption",
                         TStringProperty::StaticClass());
  R.Registering = nullptr;
  // A registration that names a class of the going module goes too, whoever made it.
  RegisterPropertyEditor(TypeInfo<String>(), nullptr, "Hint", TStringProperty::StaticClass());
  RegisterComponentEditor(TDerivedButton::StaticClass(), TAnyComponentEditor::StaticClass());
  R.DropPackage(Fake, &OmThisModule);
  EXPECT_TRUE(R.Palette.empty());
  EXPECT_TRUE(R.ComponentEditors.empty());  // the second named a class of this module
  ASSERT_EQ(R.PropertyEditors.size(), IdeEditors + 1);  // the IDE's own and the Hint one
  EXPECT_EQ(R.Categories.size(), IdeCategories);
}

TEST_F(DesignTest, PalettePagesKeepTheOrderTheyCameIn) {
  RegisterComponents("Samples", {TTestButton::StaticClass()});
  RegisterComponents("Data Controls", {TTestForm::StaticClass()});
  RegisterComponents("Samples", {TDerivedButton::StaticClass()});
  EXPECT_EQ(TRegistries::Instance().PalettePages(), (std::vector<String>{"Samples", "Data Controls"}));
  EXPECT_TRUE(GetClass("TDerivedButton"));  // a form file may name it now
  EXPECT_THROW(RegisterComponents("Samples", {TComponentClass()}), EComponentError);
}

}  // namespace
