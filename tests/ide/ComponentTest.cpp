// Owners, names and free notification.
#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

// Counts its instances, so that a test sees what was freed.
class TCounted : public TComponent {
 public:
  explicit TCounted(TComponent* AOwner, int* Alive) : TComponent(AOwner), FAlive(Alive) { ++*FAlive; }
  ~TCounted() override { --*FAlive; }

 private:
  int* FAlive;
};

TEST(Ownership, AnOwnerFreesWhatItOwnsToAnyDepth) {
  int Alive = 0;
  auto* Root = new TComponent(nullptr);
  auto* A = new TCounted(Root, &Alive);
  new TCounted(A, &Alive);
  new TCounted(Root, &Alive);
  EXPECT_EQ(Alive, 3);
  EXPECT_EQ(Root->ComponentCount(), 2);
  delete Root;
  EXPECT_EQ(Alive, 0);
}

TEST(Ownership, AFreedComponentLeavesItsOwner) {
  TComponent Root(nullptr);
  auto* A = new TComponent(&Root);
  auto* B = new TComponent(&Root);
  delete A;
  ASSERT_EQ(Root.ComponentCount(), 1);
  EXPECT_EQ(Root.Components(0), B);
  EXPECT_EQ(B->ComponentIndex(), 0);
  EXPECT_THROW(Root.Components(1), EListError);
}

TEST(Ownership, MovingToAnotherOwner) {
  TComponent R1(nullptr), R2(nullptr);
  auto* A = new TComponent(&R1);
  R2.InsertComponent(A);
  EXPECT_EQ(A->Owner(), &R2);
  EXPECT_EQ(R1.ComponentCount(), 0);
  EXPECT_EQ(R2.ComponentCount(), 1);
}

TEST(Names, AreIdentifiersUniqueWithinTheOwnerWithoutRegardToCase) {
  TComponent Root(nullptr);
  auto* A = new TComponent(&Root);
  auto* B = new TComponent(&Root);
  A->SetName("Grid1");
  EXPECT_THROW(B->SetName("GRID1"), EComponentError);
  EXPECT_THROW(B->SetName("1Grid"), EComponentError);
  EXPECT_THROW(B->SetName("Grid 2"), EComponentError);
  EXPECT_EQ(B->Name(), "");
  B->SetName("Grid2");
  A->SetName("grid1");  // its own name in another case
  EXPECT_EQ(Root.FindComponent("GRID2"), B);
  EXPECT_EQ(Root.FindComponent("Nothing"), nullptr);
  TComponent Other(nullptr);
  auto* C = new TComponent(&Other);
  C->SetName("Grid2");
  EXPECT_THROW(Root.InsertComponent(C), EComponentError);  // the same name would clash
  EXPECT_EQ(C->Owner(), &Other);  // and it stays where it was
}

// An owner of many components finds them by name however their names and owners change.
TEST(Names, OfManyComponentsAreFoundAsTheyAreNow) {
  TComponent Root(nullptr), Other(nullptr);
  std::vector<TComponent*> C;
  for (int I = 0; I < 100; ++I) {
    C.push_back(new TComponent(&Root));
    if (I % 10) C.back()->SetName("Part" + IntToStr(I));  // every tenth has no name
  }
  ASSERT_EQ(Root.FindComponent("part99"), C[99]);  // asked once many are owned
  EXPECT_EQ(Root.FindComponent("Part10"), nullptr);
  EXPECT_EQ(Root.FindComponent(""), nullptr);
  EXPECT_THROW(C[1]->SetName("PART2"), EComponentError);
  C[10]->SetName("Part10");
  EXPECT_EQ(Root.FindComponent("PART10"), C[10]);
  C[11]->SetName("Renamed");
  EXPECT_EQ(Root.FindComponent("Part11"), nullptr);
  EXPECT_EQ(Root.FindComponent("renamed"), C[11]);
  C[12]->SetName("");
  EXPECT_EQ(Root.FindComponent("Part12"), nullptr);
  C[13]->SetName("part13");  // another case only
  EXPECT_EQ(Root.FindComponent("Part13"), C[13]);
  delete C[14];
  EXPECT_EQ(Root.FindComponent("Part14"), nullptr);
  new TComponent(&Root);  // the freed one's name is free again
  Root.Components(Root.ComponentCount() - 1)->SetName("Part14");
  EXPECT_EQ(Root.FindComponent("Part14"), Root.Components(Root.ComponentCount() - 1));
  Other.InsertComponent(C[15]);
  EXPECT_EQ(Root.FindComponent("Part15"), nullptr);
  EXPECT_EQ(Other.FindComponent("Part15"), C[15]);
  Root.InsertComponent(C[15]);
  EXPECT_EQ(Root.FindComponent("Part15"), C[15]);
  for (int I = 16; I < 100; ++I) {
    if (I % 10 == 0) continue;
    EXPECT_EQ(Root.FindComponent("PART" + IntToStr(I)), C[I]) << I;
  }
}

// An owner that lets two components share a name: the first is found, then the next.
class TLenientOwner : public TComponent {
 public:
  using TComponent::TComponent;

 protected:
  void ValidateRename(TComponent*, const String&, const String&) override {}
};

TEST(Names, SharedByAnOwnerThatAllowsItFindTheFirstLeft) {
  TLenientOwner Root(nullptr);
  std::vector<TComponent*> C;
  for (int I = 0; I < 40; ++I) {
    C.push_back(new TComponent(&Root));
    C.back()->SetName(I % 2 ? "Same" : "Own" + IntToStr(I));
  }
  EXPECT_EQ(Root.FindComponent("same"), C[1]);
  delete C[1];
  EXPECT_EQ(Root.FindComponent("same"), C[3]);
  C[3]->SetName("Other");
  EXPECT_EQ(Root.FindComponent("same"), C[5]);
}

TEST(FreeNotification, ClearsAReferenceToAFreedComponent) {
  TComponent Root(nullptr);
  auto* B = new TTestButton(&Root);
  auto* Target = new TTestButton(&Root);
  B->SetBuddy(Target);
  delete Target;
  EXPECT_EQ(B->Buddy(), nullptr);
}

TEST(FreeNotification, WorksAcrossOwners) {
  auto* FormA = new TComponent(nullptr);
  auto* FormB = new TComponent(nullptr);
  auto* B = new TTestButton(FormA);
  B->SetBuddy(new TTestButton(FormB));
  delete FormB;
  EXPECT_EQ(B->Buddy(), nullptr);
  delete FormA;
}

TEST(FreeNotification, OfTheHolderDropsTheLinkBothWays) {
  TComponent Root(nullptr);
  auto* Target = new TTestButton(&Root);
  auto* B = new TTestButton(&Root);
  B->SetBuddy(Target);
  delete B;  // Target must not call back into the freed holder later
  delete Target;
  EXPECT_EQ(Root.ComponentCount(), 0);
}

TEST(FreeNotification, ReachesReferencesBetweenSiblingsWhileTheOwnerGoes) {
  // Freeing an owner frees its components one by one; each one still clears the
  // references that the others hold to it.
  auto* Root = new TComponent(nullptr);
  auto* Holder = new TTestButton(Root);
  Holder->SetBuddy(new TTestButton(Root));
  new TTestButton(Root);
  delete Root;  // clean under the address sanitizer
}

TEST(Design, StateReachesOwnedComponents) {
  TComponent Root(nullptr);
  auto* A = new TComponent(&Root);
  Root.SetDesigning(true);
  EXPECT_TRUE(A->ComponentState().Contains(csDesigning));
  auto* B = new TComponent(&Root);  // inserted later
  EXPECT_TRUE(B->ComponentState().Contains(csDesigning));
}

}  // namespace
