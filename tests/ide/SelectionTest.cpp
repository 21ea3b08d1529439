// The designer's selection under bulk frees: order kept, holes closed, one notice.
#include <numeric>

#include "DesignTestSupport.h"

namespace {

// Small selections are walked, large ones indexed: both must behave the same.
class SelectionTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    for (int I = 0; I < GetParam(); ++I) Objects.push_back(std::make_unique<TPersistent>());
    for (auto& O : Objects) All.push_back(O.get());
    S.Assign(All);
  }
  TPersistent* At(int I) { return Objects[size_t(I)].get(); }
  std::vector<std::unique_ptr<TPersistent>> Objects;
  std::vector<TPersistent*> All;
  TSelection S;
};

TEST_P(SelectionTest, RemovalsFromAnyPlaceKeepTheOthersInOrder) {
  int N = GetParam();
  std::vector<TPersistent*> Expected = All;
  // From the end (as a list deletes), then the front, then the middle.
  for (int I : {N - 1, N - 2, 0, N / 2}) {
    EXPECT_TRUE(S.Remove(At(I)));
    std::erase(Expected, At(I));
  }
  EXPECT_EQ(S.Items(), Expected);
  EXPECT_FALSE(S.Contains(At(0)));
  EXPECT_TRUE(S.Contains(At(1)));

  // Read back, then removed again: the index must follow the closed-up positions.
  EXPECT_TRUE(S.Remove(At(1)));
  std::erase(Expected, At(1));
  EXPECT_EQ(S.Items(), Expected);
  EXPECT_TRUE(S.Remove(At(N - 3)));
  std::erase(Expected, At(N - 3));
  EXPECT_EQ(S.Items(), Expected);
}

TEST_P(SelectionTest, WhatWentIsNotFoundAgainBeforeTheSelectionIsRead) {
  int N = GetParam();
  // From the end, as a list deletes, and from the middle, asked again at once.
  for (int I : {N - 1, N - 2, N / 2}) {
    ASSERT_TRUE(S.Remove(At(I)));
    EXPECT_FALSE(S.Contains(At(I))) << I;
    EXPECT_FALSE(S.Remove(At(I))) << I;
  }
  EXPECT_TRUE(S.Contains(At(N - 3)));
  EXPECT_EQ(S.Items().size(), size_t(N - 3));
}

TEST_P(SelectionTest, EveryObjectRemovedInAnyOrderLeavesItEmpty) {
  int N = GetParam();
  auto Order = std::vector<int>(size_t(N));
  std::iota(Order.begin(), Order.end(), 0);
  // Every other one forwards, the rest backwards.
  std::stable_partition(Order.begin(), Order.end(), [](int I) { return I % 2 == 0; });
  std::reverse(Order.begin() + N / 2 + N % 2, Order.end());
  for (int I : Order) ASSERT_TRUE(S.Remove(At(I))) << I;
  EXPECT_TRUE(S.Empty());
  EXPECT_FALSE(S.Remove(At(0)));
}

TEST_P(SelectionTest, WhatIsNotSelectedIsNotRemovedAndChangesNothing) {
  TPersistent Other;
  auto Version = S.Version();
  EXPECT_FALSE(S.Remove(&Other));
  EXPECT_FALSE(S.Remove(nullptr));
  EXPECT_EQ(S.Version(), Version);
  EXPECT_EQ(S.Items(), All);
  EXPECT_TRUE(S.Remove(At(0)));
  EXPECT_NE(S.Version(), Version);
}

TEST_P(SelectionTest, AnObjectListedTwiceGoesWithOneRemoval) {
  std::vector<TPersistent*> Twice = All;
  Twice.push_back(At(0));
  Twice.push_back(nullptr);
  S.Assign(Twice);
  EXPECT_TRUE(S.Remove(At(0)));
  EXPECT_FALSE(S.Contains(At(0)));
  EXPECT_EQ(S.Items(), std::vector<TPersistent*>(All.begin() + 1, All.end()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SelectionTest, ::testing::Values(8, 200));

// A grid of the test classes: a button whose items are selected and freed in bulk.
class BulkDeleteTest : public DesignTest {
 protected:
  void SetUp() override {
    D = NewForm();
    B = AddButton("Button1");
    for (int I = 0; I < 100; ++I) B->Items()->Add();
    Ide.AddSink(&Sink);
  }
  void TearDown() override { Ide.RemoveSink(&Sink); }
  std::vector<TPersistent*> Items() {
    std::vector<TPersistent*> R;
    for (int I = 0; I < B->Items()->Count(); ++I) R.push_back(B->Items()->Items(I));
    return R;
  }
  size_t Count(const String& Prefix) {
    return size_t(std::count_if(Sink.Events.begin(), Sink.Events.end(),
                                [&](const String& E) { return E.rfind(Prefix, 0) == 0; }));
  }
  TDesigner* D = nullptr;
  TTestButton* B = nullptr;
  TRecordingSink Sink;
};

TEST_F(BulkDeleteTest, SelectedItemsFreedInOneUpdateAreToldOnceAtModified) {
  D->SetSelection(Items());
  Sink.Events.clear();
  B->Items()->BeginUpdate();
  for (int I = B->Items()->Count() - 1; I >= 10; I -= 2) delete B->Items()->Items(I);
  B->Items()->EndUpdate();
  // The selection is already without them, though nobody has heard so yet.
  EXPECT_EQ(D->Selection(), Items());
  EXPECT_EQ(Count("deleted"), 45u);
  EXPECT_EQ(Count("selection"), 0u);
  D->Modified();
  EXPECT_EQ(Sink.Events.end()[-2], "selection 55");
  EXPECT_EQ(Sink.Events.back(), "modified Form1");
  D->Modified();
  EXPECT_EQ(Count("selection"), 1u);
}

TEST_F(BulkDeleteTest, ANewSelectionSupersedesTheUntoldOne) {
  D->SetSelection(Items());
  delete B->Items()->Items(3);
  D->SelectComponent(B);
  D->Modified();
  EXPECT_EQ(Count("selection"), 2u);  // the full one and the button, nothing between
  EXPECT_EQ(Sink.Events.end()[-2], "selection 1");
}

TEST_F(BulkDeleteTest, TheInspectorNeverShowsAFreedItem) {
  D->SetSelection(Items());
  TObjectInspector& I = Ide.Inspector();
  ASSERT_FALSE(I.Rows().empty());  // editors made for all hundred
  for (int K = B->Items()->Count() - 1; K >= 1; --K) delete B->Items()->Items(K);
  // The rows are made again for the one item left, before anybody is told.
  EXPECT_EQ(I.Objects(), Items());
  for (const TInspectorRow& R : I.Rows()) EXPECT_EQ(R.Get()->PropCount(), 1) << R.Name;
  delete B->Items()->Items(0);
  EXPECT_TRUE(I.Rows().empty());
}

TEST_F(BulkDeleteTest, TheIdesDeleteOfAWholeSelectionEndsWithOneNotice) {
  D->SetSelection(Items());
  Sink.Events.clear();
#if OM_HOST_RELEASE == 5
  D->DeleteSelection();
#else
  D->DeleteSelection(false);
#endif
  EXPECT_EQ(B->Items()->Count(), 0);
  EXPECT_TRUE(D->Selection().empty());
  EXPECT_EQ(Count("selection"), 1u);
  EXPECT_EQ(Sink.Events.back(), "modified Form1");
}

}  // namespace
