// How data-aware controls follow a dataset: data sources, links, DisableControls, and
// references that are cleared when what they point at goes.
#include <gtest/gtest.h>

#include "DBClient.h"
#include "DataTestSupport.h"

namespace {

class DataLinkTest : public ::testing::Test {
 protected:
  DataLinkTest() {
    Data->SetName("Data");
    Data->FieldDefs()->Add("N", ftInteger);
    Source->SetDataSet(Data);
    Link.SetDataSource(Source);
  }
  void AddRecords(int Count) {
    for (int I = 0; I < Count; ++I) {
      Data->Append();
      Data->Fields(0)->SetAsInteger(I);
    }
  }

  TComponent Owner{nullptr};
  TClientDataSet* Data = new TClientDataSet(&Owner);
  TDataSource* Source = new TDataSource(&Owner);
  TCountingLink Link;
};

TEST_F(DataLinkTest, ALinkHearsOpeningClosingChangesAndScrolling) {
  EXPECT_FALSE(Link.Active());
  Data->Open();
  EXPECT_EQ(Link.ActiveChanges, 1);
  EXPECT_TRUE(Link.WasActive);
  AddRecords(2);
  EXPECT_GT(Link.DataSetChanges, 0);
  Data->First();
  Data->Next();
  EXPECT_EQ(Link.Scrolls, 2);  // Append moved to the new record; First and Next move back
  Source->SetEnabled(false);
  EXPECT_EQ(Link.ActiveChanges, 2);
  EXPECT_FALSE(Link.WasActive);
  Data->First();
  EXPECT_EQ(Link.Scrolls, 2);
  Source->SetEnabled(true);
  Data->Close();
  EXPECT_EQ(Link.ActiveChanges, 4);
  EXPECT_FALSE(Link.Active());
}

TEST_F(DataLinkTest, DisableControlsCountsAndTheLastEnableTellsOnce) {
  Data->Open();
  AddRecords(3);
  Link.DataSetChanges = Link.Scrolls = 0;
  Data->DisableControls();
  Data->DisableControls();
  EXPECT_TRUE(Data->ControlsDisabled());
  Data->First();
  Data->Next();
  Data->Fields(0)->SetAsInteger(42);
  Data->EnableControls();
  EXPECT_TRUE(Data->ControlsDisabled());  // one DisableControls is still open
  EXPECT_EQ(Link.DataSetChanges + Link.Scrolls, 0);
  Data->EnableControls();
  EXPECT_FALSE(Data->ControlsDisabled());
  EXPECT_EQ(Link.DataSetChanges, 1);
  EXPECT_EQ(Link.Scrolls, 0);
  Data->EnableControls();  // one too many changes nothing
  EXPECT_FALSE(Data->ControlsDisabled());
  Data->DisableControls();
  EXPECT_TRUE(Data->ControlsDisabled());
  Data->EnableControls();
  EXPECT_EQ(Link.DataSetChanges, 1);  // nothing happened meanwhile
}

TEST_F(DataLinkTest, OpeningForAMomentWhileDisabledLeavesTheLinksUndisturbed) {
  // How a property editor lists the fields of a closed dataset.
  Data->DisableControls();
  Data->Open();
  EXPECT_EQ(Data->FieldCount(), 1);
  Data->Close();
  Data->EnableControls();
  EXPECT_EQ(Link.ActiveChanges, 0);
  EXPECT_EQ(Link.DataSetChanges, 0);
  EXPECT_FALSE(Data->Active());
  // An open dataset closed and opened again while disabled has new fields: links start over.
  Data->Open();
  Data->DisableControls();
  Data->Close();
  Data->Open();
  Data->EnableControls();
  EXPECT_EQ(Link.ActiveChanges, 2);
  EXPECT_TRUE(Link.WasActive);
}

TEST_F(DataLinkTest, ADataSourceForgetsAFreedDatasetAndADatasetAFreedDataSource) {
  Data->Open();
  delete Data;
  EXPECT_EQ(Source->DataSet(), nullptr);
  EXPECT_FALSE(Link.Active());
  EXPECT_EQ(Source->State(), dsInactive);

  auto* Other = new TClientDataSet(&Owner);
  Other->FieldDefs()->Add("N", ftInteger);
  Source->SetDataSet(Other);
  Other->Open();
  EXPECT_TRUE(Link.Active());
  delete Source;  // the link and the dataset both let go of it
  EXPECT_EQ(Link.DataSource(), nullptr);
  EXPECT_FALSE(Link.Active());
  Other->Close();  // would reach the freed source if the dataset still knew it
  Other->Open();
}

TEST_F(DataLinkTest, ADataSourceMovedToAnotherDatasetFollowsOnlyThatOne) {
  auto* Other = new TClientDataSet(&Owner);
  Other->FieldDefs()->Add("M", ftString);
  Data->Open();
  Source->SetDataSet(Other);
  EXPECT_FALSE(Link.Active());
  int Changes = Link.ActiveChanges;
  AddRecords(1);
  Data->Close();
  EXPECT_EQ(Link.ActiveChanges, Changes);
  Other->Open();
  EXPECT_TRUE(Link.Active());
}

}  // namespace
