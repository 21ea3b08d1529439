// The list view: items, selection by clicks and keys with its events, the item under a
// point, redraws held by updates, dragging within the list.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "WindowFixture.h"

namespace {

class TListLog : public TObject {
 public:
  std::vector<String> Seen;
  TListView* Target = nullptr;
  bool AcceptDrop = true;
  void SelectItem(TObject*, TListItem* Item, bool Selected) {
    Seen.push_back((Selected ? "+" : "-") + Item->Caption());
  }
  void Click(TObject*) { Seen.push_back("click"); }
  void Deletion(TObject*, TListItem* Item) { Seen.push_back("deleted " + Item->Caption()); }
  void DragOver(TObject*, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TListItem* Over = Target->GetItemAt(X, Y);
    if (State == dsDragMove) Seen.push_back("over " + (Over ? Over->Caption() : String("nothing")));
    Accept = Source == Target && Over && !Over->Selected() && AcceptDrop;
  }
  void DragDrop(TObject*, TObject*, int X, int Y) {
    Seen.push_back("drop on " + Target->GetItemAt(X, Y)->Caption());
  }
};

class ListViewTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Form", 264, 205);
    List = Add<TListView>(Form, "FormListView");
    List->SetAlign(alClient);
    List->SetViewStyle(vsReport);
    List->SetShowColumnHeaders(false);
    List->SetMultiSelect(true);
    List->SetRowSelect(true);
    List->Columns()->Add()->SetWidth(260);
    for (const char* C : {"A", "B", "C", "D", "E", "F"}) List->Items()->Add()->SetCaption(C);
    Log.Target = List;
    List->OnSelectItem = Closure<&TListLog::SelectItem>(&Log);
    List->OnClick = Closure<&TListLog::Click>(&Log);
    Form->Show();
  }
  // The rows as they stand now, in order.
  std::vector<TListItem*> AllRows() {
    std::vector<TListItem*> R;
    for (int I = 0; I < List->Items()->Count(); ++I) R.push_back(List->Items()->Item(I));
    return R;
  }
  std::vector<String> SelectedCaptions() {
    std::vector<String> R;
    for (TListItem* I = List->Selected(); I; I = List->GetNextItem(I, sdAll, {isSelected}))
      R.push_back(I->Caption());
    return R;
  }
  // Rows dragged by themselves, handlers that log, and B and E selected by clicks.
  void DraggableWithBAndESelected() {
    List->SetDragMode(dmAutomatic);
    List->OnDragOver = Closure<&TListLog::DragOver>(&Log);
    List->OnDragDrop = Closure<&TListLog::DragDrop>(&Log);
    Input().ClickItem(List, 1).ClickItem(List, 4, {ssCtrl});
    Application->ProcessInput();
    Log.Seen.clear();
  }
  TListLog Log;
  TForm* Form;
  TListView* List;
};

TEST_F(ListViewTest, ClicksSelectAsThePlatformDoes) {
  Input().ClickItem(List, 1).ClickItem(List, 3, {ssCtrl});
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"B", "D"}));
  EXPECT_EQ(Log.Seen, (std::vector<String>{"+B", "click", "+D", "click"}));
  EXPECT_EQ(List->ItemFocused()->Caption(), "D");

  Log.Seen.clear();
  Input().ClickItem(List, 5, {ssShift});
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"D", "E", "F"}));
  EXPECT_EQ(Log.Seen, (std::vector<String>{"-B", "+E", "+F", "click"}));

  // A plain click selects that row alone; a click below the rows clears the selection.
  Log.Seen.clear();
  Input().ClickItem(List, 4);
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"E"}));
  Input().ClickAt(List, 10, List->ClientHeight() - 2);
  Application->ProcessInput();
  EXPECT_EQ(List->Selected(), nullptr);
  EXPECT_EQ(List->SelCount(), 0);
}

TEST_F(ListViewTest, ASingleSelectionListKeepsOneItem) {
  List->SetMultiSelect(false);
  List->Items()->Item(0)->SetSelected(true);
  List->Items()->Item(2)->SetSelected(true);
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"C"}));
  EXPECT_EQ(Log.Seen, (std::vector<String>{"+A", "-A", "+C"}));
}

TEST_F(ListViewTest, TheItemAtAPointFollowsTheRowsAndTheScrolling) {
  int H = List->RowHeight();
  EXPECT_EQ(H, 17);
  EXPECT_EQ(List->GetItemAt(5, 0)->Caption(), "A");
  EXPECT_EQ(List->GetItemAt(5, H * 2 + 1)->Caption(), "C");
  EXPECT_EQ(List->GetItemAt(5, H * 6), nullptr) << "below the last row";
  List->Column(0)->SetWidth(200);
  EXPECT_EQ(List->GetItemAt(199, 1)->Caption(), "A");
  EXPECT_EQ(List->GetItemAt(200, 1), nullptr) << "right of the only column";
  List->SetShowColumnHeaders(true);
  EXPECT_EQ(List->GetItemAt(5, 2), nullptr) << "on the header";
  EXPECT_EQ(List->GetItemAt(5, List->HeaderHeight() + 1)->Caption(), "A");
  List->SetShowColumnHeaders(false);
  for (int I = 0; I < 20; ++I) List->Items()->Add()->SetCaption("X" + IntToStr(I));
  List->Items()->Item(25)->MakeVisible(false);
  EXPECT_EQ(List->GetItemAt(5, List->ItemRect(25).Top + 1)->Caption(), "X19");
  EXPECT_GT(List->TopIndex(), 0);
}

TEST_F(ListViewTest, AnUpdateRedrawsOnce) {
  int Before = List->RedrawCount();
  List->Items()->Item(0)->SetCaption("A2");
  List->Items()->Add();
  EXPECT_EQ(List->RedrawCount(), Before + 2);
  Before = List->RedrawCount();
  List->Items()->BeginUpdate();
  List->Items()->BeginUpdate();
  List->Items()->Clear();
  for (int I = 0; I < 10; ++I) List->Items()->Add()->SetCaption(IntToStr(I));
  List->Items()->EndUpdate();
  EXPECT_EQ(List->RedrawCount(), Before);
  List->Items()->EndUpdate();
  EXPECT_EQ(List->RedrawCount(), Before + 1);
  EXPECT_EQ(List->Items()->Count(), 10);
}

TEST_F(ListViewTest, InsertAndDeleteKeepTheOtherItems) {
  TListItem* C = List->Items()->Item(2);
  TListItem* New = List->Items()->Insert(1);
  New->SetCaption("N");
  EXPECT_EQ(List->Items()->Item(1), New);
  EXPECT_EQ(C->Index(), 3);
  int Tag = 7;
  New->SetData(&Tag);
  List->Items()->Delete(0);
  EXPECT_EQ(List->Items()->Item(0)->Data(), &Tag);
  EXPECT_TRUE(Log.Seen.empty()) << "deleting fires no selection event";
  EXPECT_THROW(List->Items()->Delete(99), EListError);
}

// The list counts its selected rows and remembers its focused one as they change, so
// these must follow every way an item is selected, focused or removed.
TEST_F(ListViewTest, TheSelectionCountAndFocusFollowEveryChange) {
  TListItems* Items = List->Items();
  EXPECT_EQ(List->SelCount(), 0);
  EXPECT_EQ(List->Selected(), nullptr);
  Items->Item(1)->SetSelected(true);
  Items->Item(4)->SetSelected(true);
  Items->Item(4)->SetSelected(true);  // no change
  EXPECT_EQ(List->SelCount(), 2);
  EXPECT_EQ(List->Selected(), Items->Item(1));
  Items->Item(2)->SetFocused(true);
  Items->Item(5)->SetFocused(true);
  EXPECT_FALSE(Items->Item(2)->Focused());
  EXPECT_EQ(List->ItemFocused(), Items->Item(5));
  Items->Delete(1);  // selected: the count drops
  EXPECT_EQ(List->SelCount(), 1);
  EXPECT_EQ(List->Selected(), Items->Item(3));
  Items->Delete(4);  // focused: nothing is
  EXPECT_EQ(List->ItemFocused(), nullptr);
  List->SetMultiSelect(false);
  Items->Item(0)->SetSelected(true);  // one at a time now
  EXPECT_EQ(SelectedCaptions(), std::vector<String>{"A"});
  EXPECT_EQ(List->SelCount(), 1);
  Items->Clear();
  EXPECT_EQ(List->SelCount(), 0);
  Items->Add()->SetCaption("G");
  EXPECT_EQ(List->Selected(), nullptr);
}

TEST_F(ListViewTest, AColumnOfWidthMinusOneIsAsWideAsTheWidestCaption) {
  TListColumn* Col = List->Column(0);
  Col->SetWidth(-1);
  int Narrow = Col->Width();
  EXPECT_EQ(Narrow, 6 + 12);
  List->Items()->Add()->SetCaption("0 - A much longer caption");
  EXPECT_EQ(Col->Width(), 6 * 25 + 12);
}

TEST_F(ListViewTest, KeysMoveTheSelectionAndTypeAhead) {
  Input().ClickItem(List, 0).Key(VK_DOWN).Key(VK_DOWN, {ssShift});
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"B", "C"}));
  Input().Type("e");
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"E"}));
}

TEST_F(ListViewTest, ADragAsksTheTargetAndDropsOnlyWhereAccepted) {
  DraggableWithBAndESelected();
  // Pressing on a selected row keeps the whole selection for the drag.
  TRect From = List->ItemRect(1), To = List->ItemRect(3);
  Input().Drag(List, Point(10, From.Top + 5), Point(10, To.Top + 5));
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"over D", "drop on D"}));
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"B", "E"}));

  // Onto a selected row: refused, nothing dropped.
  Log.Seen.clear();
  TRect E = List->ItemRect(4);
  Input().Drag(List, Point(10, From.Top + 5), Point(10, E.Top + 5));
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"over E"}));

  // A move shorter than the drag threshold is a click: B alone.
  Log.Seen.clear();
  Input().Drag(List, Point(10, From.Top + 5), Point(12, From.Top + 7));
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"B"}));
}

TEST_F(ListViewTest, WithoutAutomaticDragModeNothingIsDragged) {
  List->OnDragOver = Closure<&TListLog::DragOver>(&Log);
  Input().Drag(List, Point(10, 5), Point(10, 60));
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"+A"}));
}

TEST_F(ListViewTest, QueuedInputForAFreedControlIsReportedNotDispatched) {
  Input().ClickItem(List, 0);
  delete List;
  try {
    Application->ProcessInput();
    FAIL() << "no error";
  } catch (EInputError& E) {
    EXPECT_NE(String(E.Message).find("FormListView"), String::npos) << E.Message;
  }
  EXPECT_TRUE(Log.Seen.empty());
}

TEST_F(ListViewTest, ReorderMovesTheRowsThemselvesWithOneRedrawAndRefusesAnyOtherOrder) {
  TListItems* Items = List->Items();
  std::vector<TListItem*> Rows = AllRows();
  Rows[1]->SetSelected(true);
  Rows[4]->SetFocused(true);
  Log.Seen.clear();
  int Redraws = List->RedrawCount();
  std::vector<TListItem*> Order{Rows[5], Rows[4], Rows[0], Rows[1], Rows[2], Rows[3]};
  Items->Reorder(Order);
  EXPECT_EQ(List->RedrawCount(), Redraws + 1);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(Items->Item(I), Order[size_t(I)]);
  EXPECT_EQ(SelectedCaptions(), std::vector<String>{"B"});
  EXPECT_EQ(List->ItemFocused(), Rows[4]);
  EXPECT_TRUE(Log.Seen.empty());  // nothing was selected or deselected
  auto Other = Add<TListView>(Form, "OtherList");
  TListItem* Stranger = Other->Items()->Add();
  for (std::vector<TListItem*> Wrong :
       {std::vector<TListItem*>(Order.begin(), Order.end() - 1),
        std::vector<TListItem*>{Rows[0], Rows[0], Rows[1], Rows[2], Rows[3], Rows[4]},
        std::vector<TListItem*>{Stranger, Rows[0], Rows[1], Rows[2], Rows[3], Rows[4]}}) {
    EXPECT_THROW(Items->Reorder(Wrong), EListError);
    for (int I = 0; I < 6; ++I) EXPECT_EQ(Items->Item(I), Order[size_t(I)]);
  }
  // A refused order leaves no row marked: the same rows in a right order still go.
  Items->Reorder(Rows);
  EXPECT_EQ(Items->Item(0), Rows[0]);
}

TEST_F(ListViewTest, DeleteItemsTakesAnySetOfRowsInOnePassAndRefusesAWrongOne) {
  TListItems* Items = List->Items();
  std::vector<TListItem*> Rows = AllRows();
  Rows[1]->SetSelected(true);
  Rows[2]->SetSelected(true);
  Rows[3]->SetFocused(true);
  auto Other = Add<TListView>(Form, "OtherList");
  TListItem* Stranger = Other->Items()->Add();
  for (std::vector<TListItem*> Wrong : {std::vector<TListItem*>{Rows[0], Rows[0]},
                                        std::vector<TListItem*>{Rows[5], Stranger},
                                        std::vector<TListItem*>{Rows[4], nullptr}}) {
    EXPECT_THROW(Items->DeleteItems(Wrong), EListError);
    EXPECT_EQ(Items->Count(), 6);
  }
  Log.Seen.clear();
  int Redraws = List->RedrawCount();
  Items->DeleteItems(std::vector<TListItem*>{Rows[5], Rows[1], Rows[3], Rows[0]});
  EXPECT_EQ(List->RedrawCount(), Redraws + 1);
  ASSERT_EQ(Items->Count(), 2);
  EXPECT_EQ(Items->Item(0), Rows[2]);
  EXPECT_EQ(Items->Item(1), Rows[4]);
  EXPECT_EQ(List->SelCount(), 1);
  EXPECT_EQ(SelectedCaptions(), std::vector<String>{"C"});
  EXPECT_EQ(List->ItemFocused(), nullptr);
  EXPECT_TRUE(Log.Seen.empty());  // nothing was selected or deselected
  // A refused set left no row marked: those rows still go.
  Items->DeleteItems(std::vector<TListItem*>{Rows[4]});
  EXPECT_EQ(Items->Count(), 1);
}

TEST_F(ListViewTest, RefillKeepsTheRowObjectsEmptiedAndLeavesTheListAsClearAndAddsWould) {
  TListItems* Items = List->Items();
  Input().ClickItem(List, 0);  // row A becomes the anchor of shift-clicks
  Application->ProcessInput();
  std::vector<TListItem*> Rows = AllRows();
  Rows[1]->SetSelected(true);
  Rows[4]->SetFocused(true);
  Rows[2]->SetData(Rows[2]);
  Rows[2]->SetImageIndex(3);
  Rows[3]->SubItems()->Add("sub");
  Log.Seen.clear();
  int Redraws = List->RedrawCount();
  Items->Refill(4);
  EXPECT_EQ(List->RedrawCount(), Redraws + 1);
  EXPECT_EQ(AllRows(), std::vector<TListItem*>(Rows.begin(), Rows.begin() + 4));
  for (TListItem* Row : AllRows()) {
    EXPECT_EQ(Row->Caption(), "");
    EXPECT_EQ(Row->Data(), nullptr);
    EXPECT_EQ(Row->ImageIndex(), -1);
    EXPECT_EQ(Row->SubItems()->Count(), 0);
    EXPECT_FALSE(Row->Selected());
  }
  EXPECT_EQ(List->SelCount(), 0);
  EXPECT_EQ(List->Selected(), nullptr);
  EXPECT_EQ(List->ItemFocused(), nullptr);
  EXPECT_TRUE(Log.Seen.empty());  // as Clear: no row is deselected one by one

  // Grown again, with new rows after the kept ones; the old anchor is gone, so a
  // shift-click reaches from the focused row, as in a list built anew.
  Items->Refill(6);
  ASSERT_EQ(Items->Count(), 6);
  EXPECT_EQ(Items->Item(3), Rows[3]);
  for (int I = 0; I < 6; ++I) Items->Item(I)->SetCaption(String(1, char('A' + I)));
  Items->Item(4)->SetFocused(true);
  Input().ClickItem(List, 5, {ssShift});
  Application->ProcessInput();
  EXPECT_EQ(SelectedCaptions(), (std::vector<String>{"E", "F"}));

  EXPECT_THROW(Items->Refill(-1), EListError);
  EXPECT_EQ(Items->Count(), 6);
  Items->Refill(0);
  EXPECT_EQ(Items->Count(), 0);
}

TEST_F(ListViewTest, RefillWithADeletionHandlerLetsItSeeEveryRowGo) {
  List->OnDeletion = Closure<&TListLog::Deletion>(&Log);
  List->Items()->Refill(2);
  EXPECT_EQ(Log.Seen, (std::vector<String>{"deleted F", "deleted E", "deleted D", "deleted C",
                                           "deleted B", "deleted A"}));
  ASSERT_EQ(List->Items()->Count(), 2);
  EXPECT_EQ(List->Items()->Item(0)->Caption(), "");
}

// With the button held the drag stays: the row it would drop on is marked, moving on
// asks again, other input is refused, Escape lets go without a drop.
TEST_F(ListViewTest, AHeldDragMarksItsTargetAndEndsByReleaseOrEscape) {
  DraggableWithBAndESelected();
  auto At = [&](int Row) { return Point(10, List->ItemRect(Row).Top + 5); };
  Input().Drag(List, At(1), At(3), nullptr, true);
  Application->ProcessInput();
  const TApplication::TDragInfo* D = Application->Dragging();
  ASSERT_NE(D, nullptr);
  EXPECT_EQ(D->Source, List);
  EXPECT_EQ(D->Over, List);
  EXPECT_TRUE(D->Accepted);
  EXPECT_EQ(List->DropTarget(), List->Items()->Item(3));
  Input().DragMove(List, At(4));  // a selected row: refused
  Application->ProcessInput();
  EXPECT_FALSE(Application->Dragging()->Accepted);
  EXPECT_EQ(List->DropTarget(), nullptr);
  Input().ClickItem(List, 0);
  EXPECT_THROW(Application->ProcessInput(), EInputError);
  Input().Clear();
  Input().Key(VK_ESCAPE);
  Application->ProcessInput();
  EXPECT_EQ(Application->Dragging(), nullptr);
  EXPECT_EQ(Log.Seen, (std::vector<String>{"over D", "over E"}));
  EXPECT_THROW((Input().DragRelease(), Application->ProcessInput()), EInputError);
  Input().Clear();

  Input().Drag(List, At(1), At(2), nullptr, true).DragMove(List, At(5)).DragRelease();
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen.back(), "drop on F");
  EXPECT_EQ(List->DropTarget(), nullptr);
  EXPECT_EQ(Application->Dragging(), nullptr);
}

TEST_F(ListViewTest, AHeldDragEndsWithTheControlItCameFrom) {
  List->SetDragMode(dmAutomatic);
  List->OnDragOver = Closure<&TListLog::DragOver>(&Log);
  Input().Drag(List, Point(10, 5), Point(10, 60), nullptr, true);
  Application->ProcessInput();
  ASSERT_NE(Application->Dragging(), nullptr);
  delete List;
  EXPECT_EQ(Application->Dragging(), nullptr);
  EXPECT_THROW((Input().DragRelease(), Application->ProcessInput()), EInputError);
}

}  // namespace
