// The grid's drop-down property editors as the object inspector meets them: which grids
// may be a master, which field names a column offers, and the image lists drawn beside
// their numbers, list entries and value cells alike.
#include <filesystem>

#include "ColumnsEditorFixture.h"
#include "DataTestSupport.h"
#include "SQLiteDB.h"
#if OM_HOST_RELEASE == 6
#include "VCLEditors.h"
#endif

namespace {

using TNames = std::vector<String>;

class GridPropertyEditorsTest : public ColumnsEditorTest {
 protected:
  TNames Values(TPersistent* Selected, const String& Property) {
    D->SelectComponent(Selected);
    return Ide.Inspector().ValueList(Property);
  }
  // A strip of Count square images of Size pixels, named for the canvas record.
  TImageList* Images(const String& Name, int Count, int Size) {
    auto* L = static_cast<TImageList*>(
        D->CreateComponent(TImageList::StaticClass(), D->GetRoot(), 0, 0, Size, Size));
    L->SetName(Name);
    TBitmap Image(Size, Size);
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) Image.SetPixel(X, Y, clRed);
    for (int I = 0; I < Count; ++I) L->AddMasked(&Image, clNone);
    return L;
  }
  // The list's order, as the editor offers it.
  TNames Unsorted(const String& Property) {
    TNames Seen;
    struct TSink : TObject {
      TNames* Into;
      void Add(const String& S) { Into->push_back(S); }
    } Sink;
    Sink.Into = &Seen;
    Ide.Inspector().Row(Property).Get()->GetValues(Closure<&TSink::Add>(&Sink));
    return Seen;
  }
  // One entry of the drop-down, as the inspector asks the editor to draw it.
  void DrawEntry(const String& Value, TCanvas* C, const TRect& R) {
    TPropertyEditor* E = Ide.Inspector().Row("FillerIndex").Get();
#if OM_HOST_RELEASE == 5
    E->ListDrawValue(Value, C, R, false);
#else
    auto* Drawing = dynamic_cast<ICustomPropertyListDrawing*>(E);
    ASSERT_NE(Drawing, nullptr);
    Drawing->ListDrawValue(Value, C, R, false);
#endif
  }
  static TNames Ops(const TCanvas& C) {
    TNames R;
    for (const TCanvasOp& Op : C.Operations()) R.push_back(Op.ToString());
    return R;
  }
};

// --- Master grids -----------------------------------------------------------------------

TEST_F(GridPropertyEditorsTest, AGridIsOfferedEveryGridButItselfAndItsDetails) {
  Grid->SetName("A");
  TOmDBGrid* B = NewGrid("B");
  TOmDBGrid* C = NewGrid("C");
  EXPECT_EQ(Values(Grid, "MasterGrid"), (TNames{"B", "C"}));
  B->SetMasterGrid(Grid);
  C->SetMasterGrid(B);
  EXPECT_EQ(Values(Grid, "MasterGrid"), TNames{});
  EXPECT_EQ(Values(B, "MasterGrid"), TNames{"A"});
  EXPECT_EQ(Values(C, "MasterGrid"), (TNames{"A", "B"}));
  // With several grids selected the first one's details are left out.
  D->SetSelection({B, Grid});
  EXPECT_EQ(Ide.Inspector().ValueList("MasterGrid"), TNames{"A"});
}

// A descendant that sets the link itself can close a circle the setter refuses; the
// list, and the setter, still end, and the grids of the circle count as no details.
class TLinkingGrid : public TOmDBGrid {
 public:
  using TOmDBGrid::TOmDBGrid;
  void LinkTo(TOmCustomDBGrid* Master) { FMasterGrid = Master; }
};

TEST_F(GridPropertyEditorsTest, ACircleOfMastersBelowTheSetterEndsTheWalk) {
  Grid->SetName("A");
  auto* B = new TLinkingGrid(D->GetRoot());
  B->SetName("B");
  auto* C = new TLinkingGrid(D->GetRoot());
  C->SetName("C");
  B->LinkTo(C);
  C->LinkTo(B);
  EXPECT_EQ(Values(Grid, "MasterGrid"), (TNames{"B", "C"}));
  EXPECT_FALSE(B->MastersReach(Grid));
  EXPECT_TRUE(B->MastersReach(C));
  Grid->SetMasterGrid(B);  // the setter's own walk ends too
  EXPECT_EQ(Grid->MasterGrid(), B);
  EXPECT_THROW(C->SetMasterGrid(Grid), EInvalidOperation);
  B->LinkTo(nullptr);
  C->LinkTo(nullptr);
}

// References are resolved once the file is read, through the setter: the second link of
// a circle is refused, and the reading says so.
TEST_F(GridPropertyEditorsTest, AFormFileCannotMakeACircleOfMasters) {
  String Text =
      "object Form1: TForm\n"
      "  object G1: TOmDBGrid\n    MasterGrid = G2\n  end\n"
      "  object G2: TOmDBGrid\n    MasterGrid = G1\n  end\n"
      "end\n";
  TForm Form(nullptr, 0);
  RegisterClasses({TOmDBGrid::StaticClass()});
  try {
    ComponentFromText(Text, "Circle.dfm", &Form);
    auto* G1 = dynamic_cast<TOmDBGrid*>(Form.FindComponent("G1"));
    auto* G2 = dynamic_cast<TOmDBGrid*>(Form.FindComponent("G2"));
    ASSERT_TRUE(G1 && G2);
    EXPECT_FALSE(G1->MasterGrid() == G2 && G2->MasterGrid() == G1);
  } catch (Exception& E) {
    EXPECT_NE(E.Message.find("circle"), String::npos) << E.Message;
  }
}

// --- Field names -------------------------------------------------------------------------

class FieldNameTest : public GridPropertyEditorsTest {
 protected:
  TOmColumn* Column = nullptr;
  TDataSource* Source = nullptr;
  void SetUp() override {
    GridPropertyEditorsTest::SetUp();
    Column = Grid->Columns()->Add();
    Source = static_cast<TDataSource*>(
        D->CreateComponent(TDataSource::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
    Grid->SetDataSource(Source);
  }
  TClientDataSet* ClientData() {
    auto* Data = static_cast<TClientDataSet*>(
        D->CreateComponent(TClientDataSet::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
    Source->SetDataSet(Data);
    return Data;
  }
};

TEST_F(FieldNameTest, TheListIsSortedAndMayBeTypedIntoWithoutADataset) {
  D->SelectComponent(Column);
  EXPECT_EQ(Ide.Inspector().Row("FieldName").Attributes(),
            (TPropertyAttributes{paValueList, paMultiSelect, paSortList, paRevertable}));
  EXPECT_EQ(Ide.Inspector().ValueList("FieldName"), TNames{});
  Grid->SetDataSource(nullptr);
  EXPECT_EQ(Values(Column, "FieldName"), TNames{});
  Ide.Inspector().SetValue("FieldName", "Anything");
  EXPECT_EQ(Column->FieldName(), "Anything");
}

TEST_F(FieldNameTest, ObjectAndArrayFieldsNameTheirFieldsAfterThemselvesNestedDatasetsDoNot) {
  TClientDataSet* Data = ClientData();
  Data->FieldDefs()->Add("Id", ftInteger);
  TFieldDef* Address = Data->FieldDefs()->AddFieldDef();
  Address->SetName("Address");
  Address->SetDataType(ftADT);
  Address->ChildDefs()->Add("Street", ftString);
  TFieldDef* Geo = Address->ChildDefs()->AddFieldDef();
  Geo->SetName("Geo");
  Geo->SetDataType(ftArray);
  Geo->SetSize(1);
  Geo->ChildDefs()->Add("Lat", ftFloat);
  TFieldDef* Orders = Data->FieldDefs()->AddFieldDef();
  Orders->SetName("Orders");
  Orders->SetDataType(ftDataSet);
  Orders->ChildDefs()->Add("Total", ftFloat);
  D->SelectComponent(Column);
  TNames Seen = Ide.Inspector().Row("FieldName").Get() ? Unsorted("FieldName") : TNames{};
  EXPECT_EQ(Seen, (TNames{"Id", "Address", "Address.Street", "Address.Geo", "Address.Geo[0]",
                          "Orders"}));
}

TEST_F(FieldNameTest, AClosedDatasetIsOpenedForTheNamesOnlyAnOpenOneStaysOpen) {
  TClientDataSet* Data = ClientData();
  Data->FieldDefs()->Add("B", ftInteger);
  Data->FieldDefs()->Add("A", ftString);
  EXPECT_EQ(Values(Column, "FieldName"), (TNames{"A", "B"}));
  EXPECT_FALSE(Data->Active());
  EXPECT_FALSE(Data->ControlsDisabled());
  Data->Open();
  EXPECT_EQ(Values(Column, "FieldName"), (TNames{"A", "B"}));
  EXPECT_TRUE(Data->Active());
}

// Whatever stops the names half way, the dataset opened for them is closed again.
TEST_F(FieldNameTest, ADatasetOpenedForTheNamesIsClosedWhenTakingThemFails) {
  TClientDataSet* Data = ClientData();
  Data->FieldDefs()->Add("A", ftString);
  D->SelectComponent(Column);
  struct TRefuse : TObject {
    void Take(const String&) { throw Exception("no more names"); }
  } Refuse;
  EXPECT_THROW(Ide.Inspector().Row("FieldName").Get()->GetValues(Closure<&TRefuse::Take>(&Refuse)),
               Exception);
  EXPECT_FALSE(Data->Active());
  EXPECT_FALSE(Data->ControlsDisabled());
}

TEST_F(FieldNameTest, AnSQLiteDatasetWhoseDatabaseIsMissingRaisesAndOffersNothing) {
  auto* Data = static_cast<TSQLiteDataSet*>(
      D->CreateComponent(TSQLiteDataSet::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
  Source->SetDataSet(Data);
  Data->SetDatabaseName(Folder / "missing.db");
  Data->SetTableName("Orders");
  D->SelectComponent(Column);
  EXPECT_THROW(Ide.Inspector().ValueList("FieldName"), Exception);
  EXPECT_FALSE(Data->Active());
  EXPECT_FALSE(Data->ControlsDisabled());
  EXPECT_FALSE(std::filesystem::exists(Folder / "missing.db"));
}

TEST_F(FieldNameTest, AClosedSQLiteDatasetYieldsItsColumnsAndIsClosedAgain) {
  String Path = Folder / "orders.db";
  RunSql(Path, "create table Orders (OrderNo integer, CustName text)");
  auto* Data = static_cast<TSQLiteDataSet*>(
      D->CreateComponent(TSQLiteDataSet::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
  Source->SetDataSet(Data);
  Data->SetDatabaseName(Path);
  Data->SetTableName("Orders");
  EXPECT_EQ(Values(Column, "FieldName"), (TNames{"CustName", "OrderNo"}));
  EXPECT_FALSE(Data->Active());
}

// --- Image indexes -----------------------------------------------------------------------

TEST_F(GridPropertyEditorsTest, FillerIndexOffersTitleImagesThenIndicatorsAndNeverMinusOne) {
  D->SelectComponent(Grid);
  EXPECT_EQ(Ide.Inspector().Row("FillerIndex").Attributes(),
            (TPropertyAttributes{paValueList, paMultiSelect, paRevertable}));
  Grid->SetIndicatorImages(Images("Indicators", 2, 16));
  EXPECT_EQ(Values(Grid, "FillerIndex"), (TNames{"-2", "-3"}));
  Grid->SetTitleImages(Images("Titles", 3, 16));
  EXPECT_EQ(Values(Grid, "FillerIndex"), (TNames{"0", "1", "2", "-2", "-3"}));
}

TEST_F(GridPropertyEditorsTest, TitleImageAndMarkerIndexesOfferTheirOwnListsOnly) {
  Grid->SetIndicatorImages(Images("Indicators", 2, 16));
  TOmColumn* Column = Grid->Columns()->Add();
  D->SelectComponent(Column);
  Ide.Inspector().Expand("Title");
  EXPECT_EQ(Ide.Inspector().ValueList("Title.ImageIndex"), TNames{});
  Grid->SetTitleMarkers(Images("Markers", 2, 8));
  Grid->SetTitleImages(Images("Titles", 1, 16));
  D->SelectComponent(Column);
  Ide.Inspector().Expand("Title");
  EXPECT_EQ(Ide.Inspector().ValueList("Title.MarkerIndex"), (TNames{"0", "1"}));
  EXPECT_EQ(Ide.Inspector().ValueList("Title.ImageIndex"), TNames{"0"});
}

TEST_F(GridPropertyEditorsTest, TheDropDownIsWidenedAndHeightenedForTheImages) {
  Grid->SetTitleImages(Images("Titles", 3, 16));
  Grid->SetIndicatorImages(Images("Indicators", 2, 12));
  D->SelectComponent(Grid);
  TCanvas C;
  std::vector<TRect> Rows = Ide.Inspector().DrawValueList("FillerIndex", &C, 100);
  ASSERT_EQ(Rows.size(), 5u);
  EXPECT_EQ(Rows[0], (TRect{0, 0, 120, 20}));
  EXPECT_EQ(Rows[4], (TRect{0, 80, 120, 100}));
  // -3 is indicator image 1, centred: 2 + (20 - 12 - 4) / 2 below the row's top.
  TNames Drawn = Ops(C);
  EXPECT_NE(std::find(Drawn.begin(), Drawn.end(), "ImageDraw(Indicators,1,2,84)"), Drawn.end());
}

TEST_F(GridPropertyEditorsTest, AnEntryIsABlockInTheBrushColourTheImageCentredAndTheNumber) {
  Grid->SetTitleImages(Images("Titles", 3, 16));
  D->SelectComponent(Grid);
  TCanvas C;
  C.Brush()->SetColor(clWindow);
  C.Pen()->SetColor(clRed);
  DrawEntry("2", &C, {5, 10, 105, 35});  // 25 high: (25 - 16 - 4) / 2 = 2 below the top inset
  EXPECT_EQ(Ops(C), (TNames{"Rectangle(5,10,25,35) pen=clWindow brush=clWindow",
                            "ImageDraw(Titles,2,7,14)",
                            "TextRect(25,10,105,35,26,11,'2') font=clWindowText brush=clWindow"}));
  EXPECT_EQ(C.Pen()->Color(), clRed);  // the pen is the caller's again
}

TEST_F(GridPropertyEditorsTest, WhatHasNoImageOrNoRoomForItIsTheNumberAlone) {
  Grid->SetTitleImages(Images("Titles", 3, 16));
  D->SelectComponent(Grid);
  for (auto [Value, Rect] : {std::pair<String, TRect>{"-1", {0, 0, 100, 20}},
                            {"3", {0, 0, 100, 20}},
                            {"abc", {0, 0, 100, 20}},
                            {"1", {0, 0, 100, 19}},
                            {"1", {0, 0, 19, 20}}}) {
    TCanvas C;
    DrawEntry(Value, &C, Rect);
    ASSERT_EQ(C.Operations().size(), 1u) << Value;
    EXPECT_EQ(C.Operations()[0].Kind, TCanvasOp::TextRect) << Value;
    EXPECT_EQ(C.Operations()[0].Rect, Rect) << Value;
  }
  // A typed -2 of a marker index has no list to draw from.
  Grid->SetTitleMarkers(Images("Markers", 2, 8));
  TOmColumn* Column = Grid->Columns()->Add();
  Column->Title()->SetMarkerIndex(-2);
  D->SelectComponent(Column);
  Ide.Inspector().Expand("Title");
  TCanvas C;
  Ide.Inspector().DrawValue("Title.MarkerIndex", &C, {0, 0, 100, 20}, false);
  ASSERT_EQ(C.Operations().size(), 1u);
  EXPECT_EQ(C.Operations()[0].Text, "-2");
}

TEST_F(GridPropertyEditorsTest, TheValueCellShowsTheImageWhereItFitsAndDiffersPlainly) {
  Grid->SetTitleImages(Images("Titles", 3, 16));
  Grid->SetFillerIndex(1);
  D->SelectComponent(Grid);
  TCanvas Tall, Short;
  Ide.Inspector().DrawValue("FillerIndex", &Tall, {0, 0, 100, 20}, false);
  EXPECT_EQ(Ops(Tall)[1], "ImageDraw(Titles,1,2,2)");
  Ide.Inspector().DrawValue("FillerIndex", &Short, {0, 0, 100, 19}, false);
  EXPECT_EQ(Ops(Short), TNames{"TextRect(0,0,100,19,1,1,'1') font=clWindowText brush=clWhite"});
  TOmDBGrid* Other = NewGrid("OmDBGrid2");
  Other->SetFillerIndex(2);
  D->SetSelection({Other, Grid});
  TCanvas Mixed;
  Ide.Inspector().DrawValue("FillerIndex", &Mixed, {0, 0, 100, 20}, false);
  ASSERT_EQ(Mixed.Operations().size(), 1u);
  EXPECT_EQ(Mixed.Operations()[0].Text, "");
  // The lists come from the first selected grid: it has no title images.
  EXPECT_EQ(Ide.Inspector().ValueList("FillerIndex"), TNames{});
  TCanvas Name;
  Ide.Inspector().DrawName("FillerIndex", &Name, {0, 0, 80, 20}, false);
  EXPECT_EQ(Ops(Name), TNames{"TextRect(0,0,80,20,1,1,'FillerIndex') font=clWindowText brush=clWhite"});
}

}  // namespace
