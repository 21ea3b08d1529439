// The run-time package's grid as the design package relies on it: column states,
// automatic columns from the dataset's fields, nesting, links kept safe, layout.
#include <gtest/gtest.h>

#include "DBClient.h"
#include "Forms.h"
#include "Desktop.h"
#include "OmDBGrids.h"
#include "OmDBLists.h"
#include "OmQRGrids.h"

namespace {

class RuntimeTest : public ::testing::Test {
 protected:
  TDesktop Desktop;
  TForm Form{nullptr, 0};
  TOmDBGrid* Grid = new TOmDBGrid(&Form);
  TDataSource* Source = new TDataSource(&Form);
  TClientDataSet* Data = new TClientDataSet(&Form);

  void SetUp() override {
    Form.SetName("Form1");
    Grid->SetName("Grid1");
    Grid->SetParent(&Form);
    Data->FieldDefs()->Add("CustNo", ftInteger);
    TFieldDef* Address = Data->FieldDefs()->Add("Address", ftADT);
    Address->ChildDefs()->Add("Street", ftString, 30);
    Address->ChildDefs()->Add("City", ftString, 20);
    Data->FieldDefs()->Add("Company", ftString, 40);
    Source->SetDataSet(Data);
    Grid->SetDataSource(Source);
  }

  std::vector<String> Names() const {
    std::vector<String> R;
    for (int I = 0; I < Grid->Columns()->Count(); ++I) R.push_back(Grid->Columns()->GetColumn(I)->FieldName());
    return R;
  }
};

TEST_F(RuntimeTest, TheDefaultStateShowsAColumnForEveryFieldNestedUnderObjectFields) {
  EXPECT_EQ(Grid->Columns()->GetState(), csDefault);
  EXPECT_EQ(Grid->Columns()->Count(), 0);
  Data->Open();
  EXPECT_EQ(Names(), (std::vector<String>{"CustNo", "Address", "Address.Street", "Address.City", "Company"}));
  TOmColumn* Address = Grid->Columns()->GetColumn(1);
  EXPECT_TRUE(Address->GetExpandable());
  EXPECT_EQ(Address->GetExpandIndex(), 3);
  EXPECT_EQ(Grid->Columns()->GetColumn(2)->GetParentColumn(), Address);
  EXPECT_EQ(Grid->Columns()->GetColumn(4)->GetParentColumn(), nullptr);
  EXPECT_FALSE(Grid->Columns()->GetColumn(0)->GetExpandable());
  Data->Close();
  EXPECT_EQ(Grid->Columns()->Count(), 0);  // automatic columns follow the dataset
}

TEST_F(RuntimeTest, CustomizingKeepsTheColumnsAndDefaultRebuildsThem) {
  Data->Open();
  Grid->Columns()->SetState(csCustomized);
  EXPECT_EQ(Grid->Columns()->Count(), 5);
  Data->Close();
  EXPECT_EQ(Grid->Columns()->Count(), 5);  // persistent columns stay
  delete Grid->Columns()->GetColumn(0);
  Grid->Columns()->SetState(csDefault);
  EXPECT_EQ(Grid->Columns()->Count(), 0);  // the dataset is closed: no fields
  Data->Open();
  EXPECT_EQ(Grid->Columns()->Count(), 5);
}

TEST_F(RuntimeTest, AddingAColumnCustomizesTheGridAndOnlyCustomizedColumnsAreStored) {
  Data->Open();
  EXPECT_EQ(ComponentToText(&Form).find("Columns = <"), String::npos);
  TOmColumn* C = Grid->Columns()->Add();
  C->SetFieldName("Extra");
  EXPECT_EQ(Grid->Columns()->GetState(), csCustomized);
  EXPECT_EQ(Grid->Columns()->Count(), 6);
  String Text = ComponentToText(&Form);
  EXPECT_NE(Text.find("FieldName = 'Extra'"), String::npos);
  // A form whose grid has columns of its own reads back customized.
  TForm Again(nullptr, 0);
  RegisterClasses({TOmDBGrid::StaticClass(), TDataSource::StaticClass(), TClientDataSet::StaticClass()});
  ComponentFromText(Text, "Form.dfm", &Again);
  auto* G = static_cast<TOmDBGrid*>(Again.FindComponent("Grid1"));
  ASSERT_NE(G, nullptr);
  EXPECT_EQ(G->Columns()->GetState(), csCustomized);
  EXPECT_EQ(G->Columns()->Count(), 6);
}

TEST_F(RuntimeTest, NestingFollowsTheBlockOfFieldNamesAfterTheParent) {
  Grid->Columns()->SetState(csCustomized);
  for (const char* N : {"A", "A.B", "A.B.C", "A.D", "E", "A.X"}) Grid->Columns()->Add()->SetFieldName(N);
  auto Col = [&](int I) { return Grid->Columns()->GetColumn(I); };
  EXPECT_EQ(Col(0)->GetExpandIndex(), 3);  // A.X stands apart: not nested
  EXPECT_EQ(Col(1)->GetExpandIndex(), 2);
  EXPECT_EQ(Col(2)->GetParentColumn(), Col(1));
  EXPECT_EQ(Col(3)->GetParentColumn(), Col(0));
  EXPECT_EQ(Col(5)->GetParentColumn(), nullptr);
  // Moving a nested column away takes it out of the block, and the count follows.
  Col(3)->SetIndex(5);
  EXPECT_EQ(Col(0)->GetExpandIndex() - Col(0)->Index(), 2);
}

// Worked out once and kept: whatever changes the order or a name is seen at once, and a
// block's head is the nearest column whose name begins the names, not only a direct one.
TEST_F(RuntimeTest, NestingFollowsEveryChangeOfOrderAndName) {
  TOmDBGridColumns* Columns = Grid->Columns();
  for (const char* N : {"P", "P.X.Y", "Q", "Q.A"}) Columns->Add()->SetFieldName(N);
  auto Col = [&](int I) { return Columns->GetColumn(I); };
  EXPECT_EQ(Col(1)->GetParentColumn(), Col(0));  // no P.X: P.X.Y is P's
  EXPECT_EQ(Col(0)->GetExpandIndex(), 1);
  EXPECT_EQ(Columns->ParentIndex(3), 2);
  Col(2)->SetFieldName("P.Q");  // Q.A now stands apart
  EXPECT_EQ(Col(0)->GetExpandIndex(), 2);
  EXPECT_EQ(Col(3)->GetParentColumn(), nullptr);
  Columns->Add()->SetFieldName("P.Z");
  EXPECT_EQ(Columns->ExpandIndex(0), 2);
  Col(4)->SetIndex(1);
  EXPECT_EQ(Columns->ExpandIndex(0), 3);
  std::vector<TCollectionItem*> Order{Col(4), Col(0), Col(1), Col(2), Col(3)};
  Columns->Reorder(Order);  // Q.A, P, P.Z, P.X.Y, P.Q
  EXPECT_EQ(Columns->ExpandIndex(1), 4);
  EXPECT_EQ(Columns->ParentIndex(0), -1);
  delete Col(1);
  EXPECT_EQ(Columns->Count(), 1);  // P went with its block
  EXPECT_EQ(Columns->ExpandIndex(0), 0);
  EXPECT_THROW(Columns->ParentIndex(1), EListError);
}

TEST_F(RuntimeTest, MasterGridsMakeNoCircleAndLinksClearWhenTheirTargetGoes) {
  auto* Detail = new TOmDBGrid(&Form);
  auto* Third = new TOmDBGrid(&Form);
  Detail->SetMasterGrid(Grid);
  Third->SetMasterGrid(Detail);
  EXPECT_THROW(Grid->SetMasterGrid(Third), EInvalidOperation);
  EXPECT_THROW(Grid->SetMasterGrid(Grid), EInvalidOperation);
  EXPECT_EQ(Grid->MasterGrid(), nullptr);
  Detail->SetManageGrid(Grid);
  auto* Images = new TImageList(&Form);
  Grid->SetTitleImages(Images);
  Grid->Columns()->Add()->SetImages(Images);
  delete Images;
  EXPECT_EQ(Grid->TitleImages(), nullptr);
  EXPECT_EQ(Grid->Columns()->GetColumn(0)->Images(), nullptr);
  delete Grid;
  EXPECT_EQ(Detail->MasterGrid(), nullptr);
  EXPECT_EQ(Detail->GetManageGrid(), nullptr);
  EXPECT_EQ(Third->MasterGrid(), Detail);
  delete Source;
  EXPECT_EQ(Detail->GetDataSource(), nullptr);
}

TEST_F(RuntimeTest, SynchronizeGivesLinkedGridsThisGridsWidths) {
  Data->Open();
  Grid->Columns()->SetState(csCustomized);
  Grid->Columns()->GetColumn(0)->SetWidth(111);
  auto* Detail = new TOmDBGrid(&Form);
  Detail->SetDataSource(Source);
  Detail->Columns()->SetState(csCustomized);
  Detail->SetMasterGrid(Grid);
  Grid->Synchronize();
  EXPECT_EQ(Detail->Columns()->GetColumn(0)->Width(), 111);
}

TEST_F(RuntimeTest, StretchModeSpreadsTheColumnsOverTheGrid) {
  Grid->SetBounds(0, 0, 412, 100);
  Grid->Columns()->SetState(csCustomized);
  for (int W : {100, 100, 200}) Grid->Columns()->Add()->SetWidth(W);
  Grid->SetStretchMode(true);
  int Total = 0;
  for (int I = 0; I < 3; ++I) Total += Grid->Columns()->GetColumn(I)->Width();
  EXPECT_EQ(Total, Grid->ClientWidth() - Grid->IndicatorWidth);
  // In proportion to the widths they had; the last takes what rounding leaves.
  EXPECT_EQ(Grid->Columns()->GetColumn(0)->Width(), Grid->Columns()->GetColumn(1)->Width());
  EXPECT_NEAR(Grid->Columns()->GetColumn(2)->Width(), 2 * Grid->Columns()->GetColumn(0)->Width(), 2);
  Grid->SetStretchMode(false);
  Grid->Columns()->GetColumn(0)->SetWidth(10);  // widths stay as set once stretching is off
  EXPECT_EQ(Grid->Columns()->GetColumn(0)->Width(), 10);
}

TEST_F(RuntimeTest, UpdateMarkersSetsWhatTheOrderFieldsDetermineAndKeepsTheRest) {
  Grid->Columns()->SetState(csCustomized);
  for (const char* N : {"A", "B", "C", ""}) Grid->Columns()->Add()->SetFieldName(N);
  Grid->Columns()->GetColumn(1)->Title()->SetMarkerIndex(3);  // chosen by the developer
  Grid->Columns()->GetColumn(3)->Title()->SetMarkerIndex(2);
  Grid->Columns()->UpdateMarkers();  // no order yet: nothing is derived
  EXPECT_EQ(Grid->Columns()->GetColumn(1)->Title()->MarkerIndex(), 3);
  Grid->OrderFields()->SetText("C\nA");
  Grid->Columns()->UpdateMarkers();
  EXPECT_EQ(Grid->Columns()->GetColumn(0)->Title()->MarkerIndex(), 1);
  EXPECT_EQ(Grid->Columns()->GetColumn(1)->Title()->MarkerIndex(), 3);
  EXPECT_EQ(Grid->Columns()->GetColumn(2)->Title()->MarkerIndex(), 0);
  EXPECT_EQ(Grid->Columns()->GetColumn(3)->Title()->MarkerIndex(), 2);
  EXPECT_EQ(Grid->Columns()->UpdateCount(), 0);
}

TEST_F(RuntimeTest, FreeingAHeadColumnFreesItsNestedGroupToAnyDepth) {
  Grid->Columns()->SetState(csCustomized);
  for (const char* N : {"Id", "Address", "Address.Geo", "Address.Geo.Lat", "Address.City", "Name"})
    Grid->Columns()->Add()->SetFieldName(N);
  delete Grid->Columns()->GetColumn(2);  // a nested head takes only its own group
  EXPECT_EQ(Names(), (std::vector<String>{"Id", "Address", "Address.City", "Name"}));
  Grid->Columns()->Add()->SetFieldName("Name.First");
  delete Grid->Columns()->GetColumn(1);
  EXPECT_EQ(Names(), (std::vector<String>{"Id", "Name", "Name.First"}));
  Grid->Columns()->Clear();  // from the end: no column is freed twice
  EXPECT_EQ(Grid->Columns()->Count(), 0);
}

TEST_F(RuntimeTest, TheManageGridIsAPublishedReferenceClearedWhenItGoes) {
  auto* Other = new TOmDBGrid(&Form);
  Other->SetName("Grid2");
  PPropInfo P = GetPropInfo(Grid, "ManageGrid");
  ASSERT_NE(P, nullptr);
  SetObjectProp(Grid, P, Other);
  EXPECT_EQ(Grid->GetManageGrid(), Other);
  EXPECT_THROW(SetObjectProp(Grid, P, Grid), EInvalidOperation);
  delete Other;
  EXPECT_EQ(Grid->GetManageGrid(), nullptr);
}

TEST_F(RuntimeTest, TheReportShowsTheGridsRowsAndForgetsAGridThatGoes) {
  Data->Open();
  Data->Append();
  Data->FieldByName("CustNo")->SetAsInteger(1221);
  Data->FieldByName("Company")->SetAsString("Kauai Dive Shoppe");
  auto* Report = new TOmQRGrid(&Form);
  EXPECT_THROW(Report->Preview(), EInvalidOperation);
  Report->SetReportDBGrid(Grid);
  Report->ReportTitle()->CenterCaption = "Customers";
  Desktop.Input().Answer(mrOk);
  Report->Preview();
  EXPECT_EQ(Desktop.Input().Count(), 0);  // the window took the answer that closed it
  EXPECT_NE(Report->Pages().Text().find("1221"), String::npos);
  EXPECT_NE(Report->Pages().Text().find("Customers"), String::npos);
  delete Grid;
  EXPECT_EQ(Report->ReportDBGrid(), nullptr);
}

}  // namespace

namespace {

TEST_F(RuntimeTest, TheColumnsDialogsStoreOnlyTheTextsTheirDeveloperChanged) {
  auto* Dialog = new TOmDBColumnsDialog(&Form);
  Dialog->SetName("Dialog1");
  auto* Print = new TOmDBPrintColumnsDialog(&Form);
  Print->SetName("Print1");
  EXPECT_EQ(Print->Title, "Print Columns");
  auto Stored = [&](TComponent* C) {
    String Text = ComponentToText(&Form);
    size_t At = Text.find("object " + C->Name() + ":");
    return Text.substr(At, Text.find("\n  end", At) - At);
  };
  EXPECT_EQ(Stored(Dialog).find("Title"), String::npos);
  EXPECT_EQ(Stored(Print).find("Title"), String::npos);
  Dialog->Title = "Print Columns";
  Dialog->ButtonsTitles()->SetText("OK\nAbbrechen\nApply\nHelp");
  Print->ColumnsTitle = "Spalten";
  EXPECT_NE(Stored(Dialog).find("Title = 'Print Columns'"), String::npos);
  EXPECT_NE(Stored(Dialog).find("'Abbrechen'"), String::npos);
  EXPECT_NE(Stored(Print).find("ColumnsTitle = 'Spalten'"), String::npos);
  EXPECT_EQ(Stored(Print).find("  Title ="), String::npos);
}

}  // namespace
