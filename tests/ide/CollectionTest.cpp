// Collections: items, their order, update notification and ownership.
#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

std::vector<String> Captions(TTestItems& Items) {
  std::vector<String> R;
  for (int I = 0; I < Items.Count(); ++I) R.push_back(Items.Items(I)->Caption);
  return R;
}

class CollectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* C : {"A", "B", "C", "D"}) static_cast<TTestItem*>(Items.Add())->Caption = C;
    Items.Updates.clear();
    Items.Notifications.clear();
  }
  TTestButton Owner{nullptr};
  TTestItems& Items = *Owner.Items();
};

TEST_F(CollectionTest, IndexSetterMovesTheItem) {
  Items.Items(0)->SetIndex(2);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"B", "C", "A", "D"}));
  Items.Items(3)->SetIndex(0);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"D", "B", "C", "A"}));
  for (int I = 0; I < Items.Count(); ++I) EXPECT_EQ(Items.Items(I)->Index(), I);
  EXPECT_THROW(Items.Items(0)->SetIndex(4), EListError);
  EXPECT_THROW(Items.Items(0)->SetIndex(-1), EListError);
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{nullptr, nullptr}));
}

TEST_F(CollectionTest, FreeingAnItemRemovesItFromItsCollection) {
  TTestItem* C = Items.Items(2);
  delete Items.Items(1);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"A", "C", "D"}));
  EXPECT_EQ(C->Index(), 1);
  ASSERT_EQ(Items.Notifications.size(), 1u);
  EXPECT_EQ(Items.Notifications[0].second, cnExtracting);
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{nullptr}));
}

TEST_F(CollectionTest, ItemAfterSkipsTheGapsOfFreedItems) {
  TCollectionItem *A = Items.Items(0), *B = Items.Items(1), *C = Items.Items(2), *D = Items.Items(3);
  delete B;  // a gap in the middle
  EXPECT_EQ(Items.ItemAfter(A), C);
  delete C;
  EXPECT_EQ(Items.ItemAfter(A), D);
  EXPECT_EQ(Items.ItemAfter(D), nullptr);
  D->SetIndex(0);  // after a move, by the new order
  EXPECT_EQ(Items.ItemAfter(D), A);
  EXPECT_EQ(Items.ItemAfter(A), nullptr);
}

TEST_F(CollectionTest, DeleteTellsOfTheDeletionFirst) {
  TTestItem* B = Items.Items(1);
  Items.Delete(1);
  ASSERT_EQ(Items.Notifications.size(), 2u);
  EXPECT_EQ(Items.Notifications[0], std::make_pair(static_cast<TCollectionItem*>(B), cnDeleting));
  EXPECT_EQ(Items.Notifications[1].second, cnExtracting);
  EXPECT_THROW(Items.Delete(9), EListError);
}

TEST_F(CollectionTest, UpdatesAreHeldUntilTheLastEndUpdate) {
  Items.BeginUpdate();
  Items.BeginUpdate();
  Items.Add();
  Items.Items(0)->SetIndex(1);
  Items.Items(0)->SetDisplayName("x");
  delete Items.Items(0);
  Items.EndUpdate();
  EXPECT_TRUE(Items.Updates.empty());
  Items.EndUpdate();
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{nullptr}));
  Items.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(Items.UpdateCount(), 0);
}

TEST_F(CollectionTest, AnItemChangeNamesTheItem) {
  Items.Items(2)->SetDisplayName("renamed");
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{Items.Items(2)}));
}

TEST_F(CollectionTest, InsertAddsAtThePosition) {
  auto* X = static_cast<TTestItem*>(Items.Insert(1));
  X->Caption = "X";
  EXPECT_EQ(Captions(Items), (std::vector<String>{"A", "X", "B", "C", "D"}));
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{nullptr}));
}

TEST_F(CollectionTest, IdsStayWithTheirItems) {
  int IdOfC = Items.Items(2)->ID();
  Items.Items(2)->SetIndex(0);
  EXPECT_EQ(Items.FindItemID(IdOfC), Items.Items(0));
  int Next = Items.Add()->ID();
  EXPECT_GT(Next, IdOfC);
}

TEST_F(CollectionTest, NamePathsFollowTheOwner) {
  Owner.SetName("Button1");
  EXPECT_EQ(Items.GetNamePath(), "Button1.Items");
  EXPECT_EQ(Items.Items(3)->GetNamePath(), "Button1.Items[3]");
  EXPECT_EQ(Items.Items(0)->DisplayName(), "A");
}

TEST_F(CollectionTest, AssignCopiesEveryItem) {
  TTestButton Other(nullptr);
  Other.Items()->Assign(&Items);
  EXPECT_EQ(Captions(*Other.Items()), Captions(Items));
  EXPECT_NE(Other.Items()->Items(0), Items.Items(0));
}

TEST_F(CollectionTest, ClearFreesEveryItemWithOneUpdate) {
  Items.Clear();
  EXPECT_EQ(Items.Count(), 0);
  EXPECT_EQ(Items.Updates, (std::vector<TCollectionItem*>{nullptr}));
}

// Items freed out of order leave the rest in order, with indexes that follow, whatever
// is asked of the collection in between.
TEST_F(CollectionTest, FreeingManyItemsKeepsOrderAndIndexes) {
  for (const char* C : {"E", "F", "G", "H"}) static_cast<TTestItem*>(Items.Add())->Caption = C;
  TTestItem* G = Items.Items(6);
  delete Items.Items(5);  // F
  delete Items.Items(3);  // D
  EXPECT_EQ(Items.Count(), 6);
  EXPECT_EQ(Items.Items(2)->Caption, "C");  // before the first gap
  EXPECT_EQ(G->Index(), 4);
  delete Items.Items(1);  // B
  delete Items.Items(4);  // H, the last: the gaps before it stay
  EXPECT_EQ(Captions(Items), (std::vector<String>{"A", "C", "E", "G"}));
  for (int I = 0; I < Items.Count(); ++I) EXPECT_EQ(Items.Items(I)->Index(), I);
  delete Items.Items(2);  // E
  static_cast<TTestItem*>(Items.Add())->Caption = "I";
  Items.Items(3)->SetIndex(0);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"I", "A", "C", "G"}));
  EXPECT_EQ(Items.FindItemID(G->ID()), G);
  delete Items.Items(1);
  delete Items.Items(2);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"I", "C"}));
  EXPECT_EQ(Items.Items(1)->Index(), 1);
}

TEST_F(CollectionTest, ItemsFreedFromTheEndThenTheCollection) {
  // Gaps left inside go with the last item when it is freed after them.
  delete Items.Items(2);
  delete Items.Items(1);
  delete Items.Items(1);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"A"}));
  TTestButton Other{nullptr};
  for (int I = 0; I < 5; ++I) Other.Items()->Add();
  delete Other.Items()->Items(1);
  delete Other.Items()->Items(2);
  Items.Assign(Other.Items());
  EXPECT_EQ(Items.Count(), 3);  // the destructor and Assign both meet gaps
}

// A move renumbers only the items it passed; the others' indexes must still be right,
// holes of freed items included.
TEST_F(CollectionTest, MovesAmongGapsKeepEveryIndexRight) {
  for (const char* C : {"E", "F"}) static_cast<TTestItem*>(Items.Add())->Caption = C;
  delete Items.Items(1);  // B: a gap inside
  Items.Items(3)->SetIndex(1);  // E
  EXPECT_EQ(Captions(Items), (std::vector<String>{"A", "E", "C", "D", "F"}));
  Items.Items(0)->SetIndex(4);
  Items.Items(3)->SetIndex(2);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"E", "C", "F", "D", "A"}));
  for (int I = 0; I < Items.Count(); ++I) EXPECT_EQ(Items.Items(I)->Index(), I);
}

TEST_F(CollectionTest, ReorderPutsTheGivenOrderWithOneUpdateAndRefusesAnyOther) {
  delete Items.Items(1);  // a gap before the new order
  TCollectionItem *A = Items.Items(0), *C = Items.Items(1), *D = Items.Items(2);
  Items.Updates.clear();
  std::vector<TCollectionItem*> Order{D, A, C};
  Items.Reorder(Order);
  EXPECT_EQ(Captions(Items), (std::vector<String>{"D", "A", "C"}));
  for (int I = 0; I < Items.Count(); ++I) EXPECT_EQ(Items.Items(I)->Index(), I);
  EXPECT_EQ(Items.Updates, std::vector<TCollectionItem*>{nullptr});
  TTestButton Other{nullptr};
  TCollectionItem* Stranger = Other.Items()->Add();
  for (std::vector<TCollectionItem*> Wrong : {std::vector<TCollectionItem*>{A, C},
                                              std::vector<TCollectionItem*>{A, A, C},
                                              std::vector<TCollectionItem*>{D, D, C},
                                              std::vector<TCollectionItem*>{A, C, Stranger},
                                              std::vector<TCollectionItem*>{A, C, nullptr}}) {
    EXPECT_THROW(Items.Reorder(Wrong), EListError);
    EXPECT_EQ(Captions(Items), (std::vector<String>{"D", "A", "C"}));
  }
  EXPECT_EQ(Items.Updates.size(), 1u);
}

}  // namespace
