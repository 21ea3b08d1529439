// Listeners that come and go while an event is being told.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Listeners.h"

namespace {

struct TListener {
  std::string Name;
  std::string* Heard;
};

TEST(ListenersTest, ThoseGoneMeanwhileHearNothingAndThoseAddedHearTheNextEvent) {
  std::string Heard;
  TListener A{"a", &Heard}, B{"b", &Heard}, C{"c", &Heard}, D{"d", &Heard};
  TListeners<TListener*> L;
  L.Add(&A);
  L.Add(&B);
  L.Add(&C);
  L.Add(&A);  // once only
  L.Each([&](TListener* X) {
    *X->Heard += X->Name;
    if (X == &A) {
      L.Remove(&B);  // later in the list: not told
      L.Remove(&A);  // itself
      L.Add(&D);     // hears the next one
    }
  });
  EXPECT_EQ(Heard, "ac");
  Heard.clear();
  L.Each([](TListener* X) { *X->Heard += X->Name; });
  EXPECT_EQ(Heard, "cd");
}

TEST(ListenersTest, AListenerThatFailsLeavesTheListUsable) {
  std::string Heard;
  TListener A{"a", &Heard}, B{"b", &Heard};
  TListeners<TListener*> L;
  L.Add(&A);
  L.Add(&B);
  auto Failing = [&](TListener* X) {
    L.Remove(&B);
    if (X == &A) throw std::runtime_error("failed");
  };
  EXPECT_THROW(L.Each(Failing), std::runtime_error);
  L.Each([](TListener* X) { *X->Heard += X->Name; });
  EXPECT_EQ(Heard, "a");
  L.Remove(&A);  // outside an event: gone at once
  L.Each([](TListener* X) { *X->Heard += X->Name; });
  EXPECT_EQ(Heard, "a");
}

}  // namespace
