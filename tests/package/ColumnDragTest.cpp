// Reordering columns by dragging rows of the columns editor's list: what is accepted, where
// the block lands, what stays selected and focused, and a check of thousands of random
// drops against a model written the plain way.
#include <map>
#include <random>
#include <set>

#include "ColumnsEditorFixture.h"

namespace {

class ColumnDragTest : public ColumnsEditorTest {
 protected:
  TOmDBGridColumnsEditor* OpenWith(std::initializer_list<const char*> Names) {
    for (const char* N : Names) Grid->Columns()->Add()->SetFieldName(N);
    TOmDBGridColumnsEditor* W = Open();
    W->Show();
    W->SetBounds(0, 0, 300, 900);  // every row of these lists on screen
    return W;
  }
  std::vector<String> Names() const {
    std::vector<String> R;
    for (int I = 0; I < Grid->Columns()->Count(); ++I) R.push_back(Grid->Columns()->GetColumn(I)->FieldName());
    return R;
  }
  static TListItem* Row(TOmDBGridColumnsEditor* W, int I) { return W->FormListView->Items()->Item(I); }
  static TOmColumn* ColumnOf(TListItem* Item) { return static_cast<TOmColumn*>(Item->Data()); }
  static std::vector<int> SelectedRows(TOmDBGridColumnsEditor* W) {
    std::vector<int> R;
    for (int I = 0; I < W->FormListView->Items()->Count(); ++I)
      if (Row(W, I)->Selected()) R.push_back(I);
    return R;
  }
  static TPoint Centre(TOmDBGridColumnsEditor* W, int I) {
    TRect R = Row(W, I)->DisplayRect();
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  // What the list asks while the mouse is over a point.
  static bool Accepts(TOmDBGridColumnsEditor* W, TPoint P, TObject* Source = nullptr) {
    bool Accept = true;
    TListView* L = W->FormListView;
    L->OnDragOver(L, Source ? Source : L, P.X, P.Y, dsDragMove, Accept);
    return Accept;
  }
  static bool AcceptsRow(TOmDBGridColumnsEditor* W, int I) { return Accepts(W, Centre(W, I)); }
  // The drop where the list makes it: only after an accepting drag-over.
  static void DropOn(TOmDBGridColumnsEditor* W, int I) {
    ASSERT_TRUE(AcceptsRow(W, I)) << "row " << I;
    TPoint P = Centre(W, I);
    W->FormListView->OnDragDrop(W->FormListView, W->FormListView, P.X, P.Y);
  }
  // Selects exactly these rows, as Ctrl+clicks would.
  static void Choose(TOmDBGridColumnsEditor* W, std::initializer_list<int> Rows) {
    W->FormListView->ClearSelection();
    SelectRows(W, Rows);
  }
};

using TNames = std::vector<String>;

// --- Where the block lands -----------------------------------------------------------------

TEST_F(ColumnDragTest, AMoveDownPutsEverySelectedRowAfterTheTargetInItsOrder) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "B", "C", "D", "E", "F"});
  std::vector<TListItem*> Before;
  for (int I = 0; I < 6; ++I) Before.push_back(Row(W, I));
  Choose(W, {1, 4});
  int Redraws = W->FormListView->RedrawCount();
  DropOn(W, 3);
  EXPECT_EQ(W->FormListView->RedrawCount(), Redraws + 1);
  EXPECT_EQ(Names(), (TNames{"A", "C", "D", "B", "E", "F"}));
  EXPECT_EQ(Captions(W), (TNames{"0 - A", "1 - C", "2 - D", "3 - B", "4 - E", "5 - F"}));
  EXPECT_EQ(SelectedRows(W), (std::vector<int>{3, 4}));
  EXPECT_EQ(W->FormListView->ItemFocused(), Row(W, 4));  // the last row moved
  // The rows that did not move are the same rows.
  EXPECT_EQ(Row(W, 0), Before[0]);
  EXPECT_EQ(Row(W, 1), Before[2]);
  EXPECT_EQ(Row(W, 2), Before[3]);
  EXPECT_EQ(Row(W, 5), Before[5]);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(ColumnOf(Row(W, I)), Grid->Columns()->GetColumn(I));
}

TEST_F(ColumnDragTest, AMoveUpPutsTheBlockBeforeTheTarget) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "B", "C", "D", "E", "F"});
  Choose(W, {2, 4});
  DropOn(W, 1);
  EXPECT_EQ(Names(), (TNames{"A", "C", "E", "B", "D", "F"}));
  EXPECT_EQ(SelectedRows(W), (std::vector<int>{1, 2}));
  EXPECT_EQ(W->FormListView->ItemFocused(), Row(W, 2));
}

TEST_F(ColumnDragTest, ASelectedRowBelowADownwardTargetJoinsTheBlockAfterIt) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "B", "C", "D", "E", "F"});
  Choose(W, {0, 4});
  DropOn(W, 2);
  EXPECT_EQ(Names(), (TNames{"B", "C", "A", "E", "D", "F"}));
  EXPECT_EQ(SelectedRows(W), (std::vector<int>{2, 3}));
}

TEST_F(ColumnDragTest, DroppedDownOnAnExpandableColumnTheBlockLandsAfterItsNestedOnes) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "P", "P.1", "P.2", "B"});
  Choose(W, {0});
  DropOn(W, 1);
  EXPECT_EQ(Names(), (TNames{"P", "P.1", "P.2", "A", "B"}));
  EXPECT_EQ(SelectedRows(W), std::vector<int>{3});
}

TEST_F(ColumnDragTest, AnExpandableColumnMovesWithItsNestedOnesAndAloneStaysSelected) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "P", "P.1", "P.2", "B", "C"});
  Choose(W, {1});
  DropOn(W, 5);
  EXPECT_EQ(Names(), (TNames{"A", "B", "C", "P", "P.1", "P.2"}));
  EXPECT_EQ(SelectedRows(W), std::vector<int>{3});
  EXPECT_EQ(W->FormListView->ItemFocused(), Row(W, 3));  // the expandable row, not P.2
  EXPECT_EQ(Grid->Columns()->GetColumn(3)->GetExpandIndex(), 5);
  EXPECT_EQ(Grid->Columns()->GetColumn(5)->GetParentColumn(), Grid->Columns()->GetColumn(3));
}

// --- What is accepted ----------------------------------------------------------------------

TEST_F(ColumnDragTest, ANestedColumnIsDroppedOnlyAmongItsSiblings) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "P", "P.1", "P.2", "B"});
  Choose(W, {2});
  EXPECT_TRUE(AcceptsRow(W, 3));
  for (int Refused : {0, 1, 4}) EXPECT_FALSE(AcceptsRow(W, Refused)) << Refused;
  DropOn(W, 3);
  EXPECT_EQ(Names(), (TNames{"A", "P", "P.2", "P.1", "B"}));
  // Rows of two nesting levels selected together go nowhere.
  Choose(W, {3, 4});
  for (int I = 0; I < 5; ++I) EXPECT_FALSE(AcceptsRow(W, I)) << I;
}

TEST_F(ColumnDragTest, SelectedRowsEmptySpaceOtherControlsAndNoSelectionAreRefused) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "B", "C"});
  EXPECT_FALSE(AcceptsRow(W, 1));  // nothing selected: nothing to move
  Choose(W, {0, 1});
  EXPECT_FALSE(AcceptsRow(W, 1));
  EXPECT_TRUE(AcceptsRow(W, 2));
  TRect Last = Row(W, 2)->DisplayRect();
  EXPECT_FALSE(Accepts(W, {10, Last.Bottom + 40}));
  EXPECT_FALSE(Accepts(W, Centre(W, 2), W->FormToolBar));
  // A drop the list would not have made changes nothing.
  TPoint P = Centre(W, 1);
  W->FormListView->OnDragDrop(W->FormListView, W->FormListView, P.X, P.Y);
  EXPECT_EQ(Names(), (TNames{"A", "B", "C"}));
}

TEST_F(ColumnDragTest, DraggingWithTheMouseMovesTheColumnsAndTellsTheIdeOnce) {
  TOmDBGridColumnsEditor* W = OpenWith({"A", "B", "C", "D"});
  Choose(W, {0, 1});
  Push(W);
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Input().Drag(W->FormListView, Centre(W, 1), Centre(W, 3));
  Application->ProcessInput();
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(Names(), (TNames{"C", "D", "A", "B"}));
  EXPECT_EQ(Sink.Events, (TNames{"selection 2", "modified Form1"}));
  EXPECT_EQ(Selection(), (std::vector<TPersistent*>{Grid->Columns()->GetColumn(2),
                                                    Grid->Columns()->GetColumn(3)}));
  EXPECT_TRUE(D->IsModified());
}

// A column whose name can be made to fail: the drop relabels every row.
class TBrittleColumn : public TOmColumn {
 public:
  using TOmColumn::TOmColumn;
  bool Fail = false;

 protected:
  String GetDisplayName() const override {
    if (Fail) throw Exception("no name today");
    return TOmColumn::GetDisplayName();
  }
};

TEST_F(ColumnDragTest, AFailingDropLeavesNoUpdateOpenAndTheListStillPushes) {
  AddColumns(3);
  auto* Brittle = new TBrittleColumn(Grid->Columns());
  Brittle->SetFieldName("Z");
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  Choose(W, {0});
  Brittle->Fail = true;
  ASSERT_TRUE(AcceptsRow(W, 2));
  TPoint P = Centre(W, 2);
  EXPECT_THROW(W->FormListView->OnDragDrop(W->FormListView, W->FormListView, P.X, P.Y), Exception);
  EXPECT_EQ(W->FormListView->Items()->UpdateCount(), 0);
  EXPECT_EQ(Grid->Columns()->UpdateCount(), 0);
  Brittle->Fail = false;
  // The selection pushes again: the bulk flag went down with the failure.
  Choose(W, {3});
  Push(W);
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Brittle});
}

// --- Against a model ------------------------------------------------------------------------

// The list as the plain reading of the drop has it: rows carrying column numbers, moved
// one by one as the loop of inserts and deletes does, nesting asked of the names each time.
struct TModel {
  struct TRow {
    int Column;
    bool Selected;
    int Serial;  // a row object: moved rows are new ones
  };
  std::vector<String> ColumnNames;
  std::vector<TRow> Rows;
  int Focused = -1;  // serial of the focused row
  int NextSerial = 0;

  const String& Name(int Pos) const { return ColumnNames[size_t(Rows[size_t(Pos)].Column)]; }
  bool Under(int Pos, int Head) const {
    const String& H = Name(Head);
    return !H.empty() && Name(Pos).size() > H.size() + 1 && Name(Pos).compare(0, H.size() + 1, H + ".") == 0;
  }
  int Last(int Head) const {
    int L = Head;
    while (L + 1 < int(Rows.size()) && Under(L + 1, Head)) ++L;
    return L;
  }
  int Parent(int Pos) const {
    for (int J = Pos - 1; J >= 0; --J)
      if (Last(J) >= Pos) return Rows[size_t(J)].Column;
    return -1;
  }
  int PosOf(int Serial) const {
    for (size_t I = 0; I < Rows.size(); ++I)
      if (Rows[I].Serial == Serial) return int(I);
    return -1;
  }
  int NextSelectedAfter(int Pos) const {
    for (int I = Pos + 1; I < int(Rows.size()); ++I)
      if (Rows[size_t(I)].Selected) return I;
    return -1;
  }
  int FirstSelected() const { return NextSelectedAfter(-1); }
  bool Accepts(int Target) const {
    int First = FirstSelected();
    if (First < 0 || Target < 0 || Rows[size_t(Target)].Selected) return false;
    int P = Parent(First);
    if (Parent(Target) != P) return false;
    for (int I = 0; I < int(Rows.size()); ++I)
      if (Rows[size_t(I)].Selected && Parent(I) != P) return false;
    return true;
  }
  void SelectNested(bool Flag) {
    for (int I = 0; I < int(Rows.size()); ++I) {
      if (!Rows[size_t(I)].Selected || Last(I) == I) continue;
      for (int J = I + 1; J <= Last(I); ++J) Rows[size_t(J)].Selected = Flag;
      Focused = Rows[size_t(I)].Serial;
    }
  }
  void Drop(int Target) {
    int Source = FirstSelected();
    if (Target > Source && Last(Target) > Target) Target = Last(Target);
    bool After = Target > Source;
    int Anchor = Rows[size_t(Target)].Serial;
    SelectNested(true);
    int Current = Rows[size_t(Source)].Serial, Destination = Rows[size_t(Target)].Serial;
    while (Current >= 0) {
      int At = PosOf(Destination) + (After ? 1 : 0);
      TRow New{Rows[size_t(PosOf(Current))].Column, true, NextSerial++};
      Rows.insert(Rows.begin() + At, New);
      Focused = New.Serial;
      int Old = Current;
      int Next = NextSelectedAfter(PosOf(Old));
      if (After) {
        Destination = New.Serial;
        if (Next >= 0 && Next > PosOf(Anchor) && Next <= PosOf(New.Serial))
          Next = NextSelectedAfter(PosOf(New.Serial));
      }
      Current = Next < 0 ? -1 : Rows[size_t(Next)].Serial;
      Rows.erase(Rows.begin() + PosOf(Old));
    }
    SelectNested(false);
  }
};

TEST_F(ColumnDragTest, ThousandsOfRandomDropsAgreeWithThePlainModel) {
  std::mt19937 Random(20261209);
  auto Pick = [&](int N) { return int(Random() % unsigned(N)); };
  int Dropped = 0, Refused = 0;
  for (int List = 0; List < 300; ++List) {
    // Names in blocks up to three levels deep, now and then a dotted name with no head.
    std::vector<String> Names;
    int Tops = 2 + Pick(6);
    for (int T = 0; T < Tops; ++T) {
      String Top = String(1, char('a' + T));
      Names.push_back(Top);
      for (int K = Pick(4); K-- > 0;) {
        String Mid = Top + "." + String(1, char('k' + K));
        Names.push_back(Mid);
        for (int L = Pick(3); L-- > 0;) Names.push_back(Mid + "." + String(1, char('u' + L)));
      }
      if (Pick(8) == 0) Names.push_back("z" + Top + ".orphan");
    }
    Grid->Columns()->Clear();
    for (const String& N : Names) Grid->Columns()->Add()->SetFieldName(N);
    std::vector<TOmColumn*> Columns;
    for (int I = 0; I < Grid->Columns()->Count(); ++I) Columns.push_back(Grid->Columns()->GetColumn(I));
    TOmDBGridColumnsEditor* W = Open();
    W->Show();
    W->SetBounds(0, 0, 300, 900);
    TModel M;
    M.ColumnNames = Names;
    for (int I = 0; I < int(Names.size()); ++I) M.Rows.push_back({I, false, M.NextSerial++});

    for (int Drop = 0; Drop < 12; ++Drop) {
      int N = int(M.Rows.size());
      // Mostly siblings of one parent dropped on another, sometimes anything anywhere.
      W->FormListView->ClearSelection();
      for (auto& R : M.Rows) R.Selected = false;
      int Parent = M.Parent(Pick(N));
      std::vector<int> Siblings;
      for (int I = 0; I < N; ++I)
        if (M.Parent(I) == Parent) Siblings.push_back(I);
      auto Select = [&](int I) {
        M.Rows[size_t(I)].Selected = true;
        Row(W, I)->SetSelected(true);
      };
      for (int I : Siblings)
        if (Pick(3) == 0) Select(I);
      if (M.FirstSelected() < 0 || Pick(6) == 0) Select(Pick(N));
      std::vector<int> Free;
      for (int I : Siblings)
        if (!M.Rows[size_t(I)].Selected) Free.push_back(I);
      int Target = !Free.empty() && Pick(5) > 0 ? Free[size_t(Pick(int(Free.size())))]
                                                : Pick(N + 1) - 1;  // -1: empty space below
      TPoint P = Target < 0 ? TPoint{10, Row(W, N - 1)->DisplayRect().Bottom + 30} : Centre(W, Target);
      bool Accepted = Accepts(W, P);
      ASSERT_EQ(Accepted, M.Accepts(Target)) << "list " << List << " drop " << Drop << " target " << Target;
      if (!Accepted) {
        ++Refused;
        continue;
      }
      ++Dropped;
      std::map<TOmColumn*, TOmColumn*> ParentsBefore;
      std::map<TOmColumn*, TListItem*> UnmovedRows;
      for (int I = 0; I < N; ++I) {
        TOmColumn* C = Grid->Columns()->GetColumn(I);
        ParentsBefore[C] = C->GetParentColumn();
      }
      TModel Before = M;
      Before.SelectNested(true);
      for (int I = 0; I < N; ++I)
        if (!Before.Rows[size_t(I)].Selected) UnmovedRows[ColumnOf(Row(W, I))] = Row(W, I);
      W->FormListView->OnDragDrop(W->FormListView, W->FormListView, P.X, P.Y);
      M.Drop(Target);

      ASSERT_EQ(Grid->Columns()->Count(), N);
      std::set<TOmColumn*> Seen;
      for (int I = 0; I < N; ++I) {
        TOmColumn* C = Grid->Columns()->GetColumn(I);
        ASSERT_EQ(ColumnOf(Row(W, I)), C) << "the collection follows the list, row " << I;
        ASSERT_EQ(C, Columns[size_t(M.Rows[size_t(I)].Column)]) << "row " << I;
        ASSERT_EQ(Row(W, I)->Selected(), M.Rows[size_t(I)].Selected) << "row " << I;
        ASSERT_EQ(Row(W, I)->Caption(), IntToStr(I) + " - " + C->FieldName());
        ASSERT_EQ(C->GetParentColumn(), ParentsBefore[C]) << "nesting kept, row " << I;
        if (auto It = UnmovedRows.find(C); It != UnmovedRows.end()) {
          ASSERT_EQ(Row(W, I), It->second) << "an unmoved row keeps its object";
        }
        Seen.insert(C);
      }
      ASSERT_EQ(Seen.size(), size_t(N));
      TListItem* Focused = W->FormListView->ItemFocused();
      ASSERT_NE(Focused, nullptr);
      ASSERT_EQ(ColumnOf(Focused), Columns[size_t(M.Rows[size_t(M.PosOf(M.Focused))].Column)]);
    }
    W->Close();
    Application->ProcessMessages();
    Windows.clear();
  }
  EXPECT_GT(Dropped, 1200);
  EXPECT_GT(Refused, 1000);
}

}  // namespace
