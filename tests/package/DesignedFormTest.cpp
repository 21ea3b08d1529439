// Forms as the designer makes them: what can stand where, what a component may be called,
// and that any form the designer can make reads back exactly as it was saved.
#include <gtest/gtest.h>

#include <random>

#include "Db.h"
#include "Designer.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Ide.h"
#include "OmDBGrids.h"
#include "Packages.h"
#include "Settings.h"
#include "TempFolder.h"

namespace {

class DesignedFormTest : public ::testing::Test {
 protected:
  TTempFolder Folder;
  TIde Ide;
  TDesigner* D = nullptr;

  void SetUp() override {
    SetSettingsStoreFile(Folder / "settings.db");
    Ide.Packages().Load(String(OM_BIN_DIR) + "/DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0.so");
    D = Ide.NewForm(TForm::StaticClass(), "Form1");
  }
  void TearDown() override { SetSettingsStoreFile(""); }

  template <class T>
  T* Drop(TComponent* Parent = nullptr) {
    return static_cast<T*>(D->CreateComponent(T::StaticClass(), Parent, -1, -1, -1, -1));
  }
  // Saves the form, opens the file as a second form and gives that form's text.
  String Reopened(const String& Name) {
    String File = Folder / (Name + ".dfm");
    D->Save(File);
    TDesigner* Again = Ide.OpenForm(File);
    String Text = Again->FormText();
    Ide.CloseDesigner(Again);
    Ide.SetActiveDesigner(D);
    return Text;
  }
};

TEST_F(DesignedFormTest, AControlStandsOnlyOnAControlThatHoldsControls) {
  auto* Source = Drop<TDataSource>();
  auto* Grid = Drop<TOmDBGrid>();
  int Before = D->GetRoot()->ComponentCount();
  EXPECT_THROW(Drop<TOmDBGrid>(Source), EComponentError);
  EXPECT_THROW(Drop<TOmDBGrid>(Grid), EComponentError);
  EXPECT_EQ(D->GetRoot()->ComponentCount(), Before);  // nothing made and left out
  auto* Panel = Drop<TPanel>();
  auto* OnPanel = Drop<TOmDBGrid>(Panel);
  EXPECT_EQ(OnPanel->Parent(), Panel);
  EXPECT_EQ(Grid->Parent(), D->GetRoot());
  // What the designer holds is what the form file holds.
  String Text = D->FormText();
  for (int I = 0; I < D->GetRoot()->ComponentCount(); ++I)
    EXPECT_NE(Text.find("object " + D->GetRoot()->Components(I)->Name() + ":"), String::npos);
}

TEST_F(DesignedFormTest, NamesTheFormCouldNotBeReadWithAreRefused) {
  auto* Grid = Drop<TOmDBGrid>();
  auto* Source = Drop<TDataSource>();
  Grid->SetDataSource(Source);
  for (const char* Bad : {"", "Form1", "FORM1", "2Grid", "Grid 1", "DataSource1"}) {
    SCOPED_TRACE(Bad);
    EXPECT_THROW(SetStrProp(Grid, "Name", Bad), EComponentError);
    EXPECT_EQ(Grid->Name(), "OmDBGrid1");
  }
  EXPECT_THROW(D->GetRoot()->SetName("omdbgrid1"), EComponentError);
  SetStrProp(Grid, "Name", "OrdersGrid");
  SetStrProp(Source, "Name", "OrdersSource");
  D->GetRoot()->SetName("OrdersForm");
  EXPECT_NE(D->FormText().find("DataSource = OrdersSource"), String::npos);
  EXPECT_EQ(Reopened("Renamed"), D->FormText());
}

TEST_F(DesignedFormTest, TabOrdersParentHintsAndStretchedWidthsReadBackAsSaved) {
  auto* First = Drop<TOmDBGrid>();
  auto* Second = Drop<TOmDBGrid>();
  SetOrdProp(Second, "TabOrder", 0);
  SetOrdProp(First, "TabOrder", 1);
  auto* Third = Drop<TOmDBGrid>();
  SetOrdProp(Third, "TabOrder", 0);
  SetOrdProp(D->GetRoot(), "ShowHint", 1);
  EXPECT_TRUE(First->ShowHint());  // shown as the form will have it
  SetOrdProp(Second, "StretchMode", 1);
  for (int W : {40, 50, 60}) Second->Columns()->Add()->SetWidth(W);
  SetOrdProp(Second, "IndicatorWidth", 20);
  int Total = 0;
  for (int I = 0; I < 3; ++I) Total += Second->Columns()->GetColumn(I)->Width();
  EXPECT_EQ(Total, Second->ClientWidth() - 20);  // laid out again at once
  EXPECT_EQ(Reopened("Orders"), D->FormText());
}

// Random designs of the shapes above, each saved, reopened and compared.
class TRandomDesign {
 public:
  TRandomDesign(TDesigner* D, unsigned Seed) : FD(D), FRng(Seed) {}

  void Step() {
    TComponent* Root = FD->GetRoot();
    std::vector<TWinControl*> Holders{static_cast<TWinControl*>(Root)};
    std::vector<TWinControl*> Controls;
    std::vector<TOmDBGrid*> Grids;
    for (int I = 0; I < Root->ComponentCount(); ++I) {
      if (auto* P = dynamic_cast<TPanel*>(Root->Components(I))) Holders.push_back(P);
      if (auto* W = dynamic_cast<TWinControl*>(Root->Components(I))) Controls.push_back(W);
      if (auto* G = dynamic_cast<TOmDBGrid*>(Root->Components(I))) Grids.push_back(G);
    }
    auto Pick = [&](auto& List) { return List[Below(int(List.size()))]; };
    // Not every control publishes every property: a panel has no hints.
    auto Set = [](TObject* C, const char* Name, int Value) {
      if (PPropInfo P = GetPropInfo(C, Name)) SetOrdProp(C, P, Value);
    };
    switch (Below(10)) {
      case 0: FD->CreateComponent(TOmDBGrid::StaticClass(), Pick(Holders), -1, -1, -1, -1); break;
      case 1: FD->CreateComponent(TPanel::StaticClass(), Pick(Holders), -1, -1, -1, -1); break;
      case 2:
        if (!Controls.empty()) Set(Pick(Controls), "TabOrder", Below(5));
        break;
      case 3: {
        TWinControl* C = Below(3) == 0 ? Holders[0] : Controls.empty() ? Holders[0] : Pick(Controls);
        Set(C, "ShowHint", Below(2));
        break;
      }
      case 4:
        if (!Controls.empty()) Set(Pick(Controls), "ParentShowHint", 1);
        break;
      case 5:
        if (!Grids.empty()) Set(Pick(Grids), "StretchMode", Below(2));
        break;
      case 6:
        if (!Grids.empty()) Set(Pick(Grids), "IndicatorWidth", 5 + Below(30));
        break;
      case 7:
        if (!Grids.empty()) Pick(Grids)->Columns()->Add()->SetWidth(10 + Below(140));
        break;
      case 8:
        if (!Controls.empty()) Pick(Controls)->SetBounds(Below(50), Below(50), 50 + Below(400), 50 + Below(200));
        break;
      case 9:
        if (!Controls.empty()) {
          TWinControl* C = Pick(Controls);
          if (Below(2))
            C->SetColor(TColor(Below(0x1000000)));
          else
            Set(C, "ParentColor", 1);
        }
        break;
    }
    FD->Modified();
  }

 private:
  int Below(int N) { return std::uniform_int_distribution<int>(0, N - 1)(FRng); }
  TDesigner* FD;
  std::mt19937 FRng;
};

TEST_F(DesignedFormTest, RandomDesignsReadBackByteForByte) {
  const unsigned Seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(Seed));
  std::mt19937 Seeds(Seed);
  for (int Design = 0; Design < 60; ++Design) {
    TDesigner* Form = Ide.NewForm(TForm::StaticClass(), "Design" + IntToStr(Design));
    D = Form;
    TRandomDesign Random(Form, Seeds());
    for (int I = 0; I < 25; ++I) Random.Step();
    String Saved = Form->FormText();
    String Again = Reopened("Design" + IntToStr(Design));
    ASSERT_EQ(Again, Saved) << "design " << Design;
    Ide.CloseDesigner(Form);
  }
}

}  // namespace
