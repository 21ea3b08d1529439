// A form freed while it is active hands the activation to the one behind it, whose
// handler may raise: a destructor cannot pass that on, so the application's handler hears
// it and the IDE goes on.
#include <gtest/gtest.h>

#include "WindowFixture.h"

namespace {

struct TRaisingActivation : TObject {
  void Activated(TObject*) { throw EInvalidOperation("the activation failed"); }
};

class FormActivationTest : public WindowTest {};

TEST_F(FormActivationTest, AnActivationThatRaisesWhileAFormIsFreedReachesTheHandler) {
  Application->ClearErrors();
  TForm* A = NewForm("A");
  TForm* B = NewForm("B");
  A->Show();
  B->Show();
  ASSERT_EQ(Screen->ActiveForm(), B);
  TRaisingActivation Raising;
  A->OnActivate = Closure<&TRaisingActivation::Activated>(&Raising);
  delete B;
  EXPECT_EQ(Screen->ActiveForm(), A);
  ASSERT_EQ(Application->Errors().size(), 1u);
  EXPECT_EQ(Application->Errors()[0], "the activation failed");
  A->OnActivate = {};
  Application->ClearErrors();
}

}  // namespace
