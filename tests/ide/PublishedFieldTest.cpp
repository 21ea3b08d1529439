// Published fields: the form reader sets a root's fields to the components of their
// names, refuses a component of another class or a field left without one, and a field
// is cleared when its component leaves the root.
#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

class TFieldedForm : public TTestForm {
  OM_CLASS(TFieldedForm, TTestForm)
 public:
  explicit TFieldedForm(TComponent* AOwner) : TTestForm(AOwner) {}
  TTestButton* OkButton = nullptr;
  TComponent* Spare = nullptr;  // any component will do
};

// Its fields and its ancestor's.
class TMoreFieldedForm : public TFieldedForm {
  OM_CLASS(TMoreFieldedForm, TFieldedForm)
 public:
  explicit TMoreFieldedForm(TComponent* AOwner) : TFieldedForm(AOwner) {}
  TTestButton* CancelButton = nullptr;
};

}  // namespace

template <>
struct TPublished<TFieldedForm> {
  static constexpr TFieldEntry Fields[] = {
      OM_FIELD(TFieldedForm, OkButton),
      OM_FIELD(TFieldedForm, Spare),
  };
};
OM_IMPLEMENT_CLASS(TFieldedForm, "PublishedFieldTest");

template <>
struct TPublished<TMoreFieldedForm> {
  static constexpr TFieldEntry Fields[] = {
      OM_FIELD(TMoreFieldedForm, CancelButton),
  };
};
OM_IMPLEMENT_CLASS(TMoreFieldedForm, "PublishedFieldTest");

namespace {

class PublishedFieldTest : public ::testing::Test {
 protected:
  TTestClassesRegistration Registration;
  TMoreFieldedForm Root{nullptr};

  void Read(const String& Body) {
    ComponentFromText("object Form1: TMoreFieldedForm\n" + Body + "end\n", "Fielded.dfm", &Root);
  }
  // The reason of the read error, with where it was.
  String ReadError(const String& Body) {
    try {
      Read(Body);
    } catch (EReadError& E) {
      return E.Message;
    }
    return "(read)";
  }
  bool FieldsClear() const { return !Root.OkButton && !Root.Spare && !Root.CancelButton; }
};

const char* const AllFields =
    "  object OkButton: TTestButton\n"
    "  end\n"
    "  object cancelbutton: TTestButton\n"
    "    object Spare: TTestForm\n"
    "    end\n"
    "  end\n"
    "  object Other: TTestButton\n"
    "  end\n";

TEST_F(PublishedFieldTest, TheReaderSetsEveryFieldOfTheRootAndItsAncestorsByName) {
  Read(AllFields);
  ASSERT_EQ(Root.ComponentCount(), 4);
  EXPECT_EQ(Root.OkButton, Root.FindComponent("OkButton"));
  EXPECT_EQ(Root.CancelButton, Root.FindComponent("CancelButton"));  // any case
  EXPECT_EQ(Root.Spare, Root.FindComponent("Spare"));  // a child of a child, still the root's
  EXPECT_NE(Root.OkButton, nullptr);
  EXPECT_NE(Root.CancelButton, nullptr);
  EXPECT_NE(Root.Spare, nullptr);
  TClass Form = TMoreFieldedForm::StaticClass();
  EXPECT_EQ(Form->FieldAddress("okbutton")->FieldClass, TTestButton::StaticClass());
  EXPECT_EQ(Form->FieldAddress("Other"), nullptr);
}

TEST_F(PublishedFieldTest, AComponentOfAnotherClassOrAFieldWithoutOneFailsTheRead) {
  EXPECT_EQ(ReadError("  object OkButton: TTestForm\n  end\n"
                      "  object CancelButton: TTestButton\n  end\n"
                      "  object Spare: TTestButton\n  end\n"),
            "Fielded.dfm:2:20: OkButton is a TTestForm, "
            "but the field OkButton of TMoreFieldedForm holds a TTestButton");
  EXPECT_EQ(Root.ComponentCount(), 0);
  EXPECT_TRUE(FieldsClear());
  // The fields of what was read before the failure do not point at freed components.
  EXPECT_EQ(ReadError("  object OkButton: TTestButton\n  end\n"
                      "  object Spare: TTestButton\n  end\n"),
            "Fielded.dfm:1:8: field CancelButton of TMoreFieldedForm: "
            "the form has no TTestButton of that name");
  EXPECT_EQ(Root.ComponentCount(), 0);
  EXPECT_TRUE(FieldsClear());
  // A design root's components come and go as it is edited: a field may stay empty.
  Root.SetDesigning(true);
  Read("  object OkButton: TTestButton\n  end\n");
  EXPECT_EQ(Root.OkButton, Root.FindComponent("OkButton"));
  EXPECT_EQ(Root.CancelButton, nullptr);
}

TEST_F(PublishedFieldTest, AFieldIsClearedWhenItsComponentIsFreedOrLeavesTheRoot) {
  Read(AllFields);
  delete Root.OkButton;
  EXPECT_EQ(Root.OkButton, nullptr);
  EXPECT_NE(Root.CancelButton, nullptr);
  // Under whatever name it has by then.
  Root.CancelButton->SetName("Renamed");
  delete Root.FindComponent("Renamed");
  EXPECT_EQ(Root.CancelButton, nullptr);
  TComponent Elsewhere(nullptr);
  TComponent* Spare = Root.Spare;
  Elsewhere.InsertComponent(Spare);
  EXPECT_EQ(Root.Spare, nullptr);
  EXPECT_EQ(Spare->Owner(), &Elsewhere);
}

}  // namespace
