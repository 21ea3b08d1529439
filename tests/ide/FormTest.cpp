// Forms, the application that owns them and the screen that lists them: showing,
// activation, the close actions and who frees what, modal loops.
#include <gtest/gtest.h>

#include "StdCtrls.h"
#include "WindowFixture.h"

namespace {

// Records what a form went through; its handlers are bound by name from a description.
class TProbeForm : public TForm {
  OM_CLASS(TProbeForm, TForm)
 public:
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner, 0) {}
  TCloseAction Action = caHide;
  bool CanClose = true;
  int Activations = 0, Deactivations = 0, Closes = 0, HookActivations = 0;
  bool* Destroyed = nullptr;
  ~TProbeForm() override {
    if (Destroyed) *Destroyed = true;
  }
  void FormClose(TObject*, TCloseAction& A) {
    ++Closes;
    A = Action;
  }
  void FormCloseQuery(TObject*, bool& C) { C = CanClose; }
  void FormActivate(TObject*) { ++Activations; }
  void FormDeactivate(TObject*) { ++Deactivations; }
  void CloseClick(TObject*) {
    Close();
    // Still whole after closing itself with caFree: the free waits for this handler.
    Caption();
    Closes += 100;
  }

 protected:
  void Activate() override {
    ++HookActivations;
    TForm::Activate();
  }
};

}  // namespace

template <>
struct TPublished<TProbeForm> {
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TProbeForm, FormClose),    OM_METHOD(TProbeForm, FormCloseQuery),
      OM_METHOD(TProbeForm, FormActivate), OM_METHOD(TProbeForm, FormDeactivate),
      OM_METHOD(TProbeForm, CloseClick),
  };
};
OM_IMPLEMENT_CLASS(TProbeForm, "FormTest");

namespace {

class FormTest : public WindowTest {
 protected:
  TProbeForm* Probe(const String& Name) {
    auto* F = new TProbeForm(Application);
    F->SetName(Name);
    F->SetCaption(Name);
    F->OnClose = Closure<&TProbeForm::FormClose>(F);
    F->OnCloseQuery = Closure<&TProbeForm::FormCloseQuery>(F);
    F->OnActivate = Closure<&TProbeForm::FormActivate>(F);
    F->OnDeactivate = Closure<&TProbeForm::FormDeactivate>(F);
    return F;
  }
};

TEST_F(FormTest, ScreenListsFormsInCreationOrderAndTheActiveOne) {
  TForm* A = NewForm("A");
  TForm* B = NewForm("B");
  TForm* C = NewForm("C");
  ASSERT_EQ(Screen->FormCount(), 3);
  EXPECT_EQ(Screen->Forms(0), A);
  EXPECT_EQ(Screen->Forms(2), C);
  EXPECT_EQ(Screen->ActiveForm(), nullptr);
  C->Show();
  A->Show();
  EXPECT_EQ(Screen->ActiveForm(), A);
  EXPECT_EQ(Screen->ZOrder(), (std::vector<TCustomForm*>{A, C}));
  // Showing brings to the front but leaves the creation order alone.
  EXPECT_EQ(Screen->Forms(0), A);
  delete B;
  EXPECT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Application->ComponentCount(), 2);
}

TEST_F(FormTest, ActivationRunsTheHookAndTheEventsOfBothForms) {
  TProbeForm* A = Probe("A");
  TProbeForm* B = Probe("B");
  A->Show();
  EXPECT_EQ(A->Activations, 1);
  EXPECT_EQ(A->HookActivations, 1);
  EXPECT_TRUE(A->Active());
  B->Show();
  EXPECT_EQ(A->Deactivations, 1);
  EXPECT_EQ(B->Activations, 1);
  // Clicking into the other window activates it again.
  auto* Btn = Add<TButton>(A, "Btn");
  Input().Click(Btn);
  Application->ProcessInput();
  EXPECT_EQ(Screen->ActiveForm(), A);
  EXPECT_EQ(A->Activations, 2);
  EXPECT_EQ(B->Deactivations, 1);
  // Hiding the active window activates the one behind it.
  A->Hide();
  EXPECT_EQ(Screen->ActiveForm(), B);
}

TEST_F(FormTest, CloseActionsHideMinimizeKeepOrFree) {
  TProbeForm* F = Probe("F");
  F->Show();
  F->Close();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(Screen->FormCount(), 1);

  F->Show();
  F->Action = caMinimize;
  F->Close();
  EXPECT_EQ(F->WindowState(), wsMinimized);
  EXPECT_NE(Screen->ActiveForm(), F);

  F->SetWindowState(wsNormal);
  F->Action = caNone;
  F->Close();
  EXPECT_TRUE(F->Visible());

  F->Action = caFree;
  F->CanClose = false;
  F->Close();
  EXPECT_TRUE(F->Visible()) << "OnCloseQuery said no";
  EXPECT_EQ(F->Closes, 3);

  bool Destroyed = false;
  F->Destroyed = &Destroyed;
  F->CanClose = true;
  F->Close();
  // Off the screen at once, freed once the input being handled is done, then gone
  // from its owner too.
  EXPECT_FALSE(Destroyed);
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_EQ(Application->ComponentCount(), 1);
  F->Show();
  EXPECT_FALSE(F->Visible()) << "a released form is not shown again";
  Application->ProcessMessages();
  EXPECT_TRUE(Destroyed);
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(FormTest, AFormClosingItselfFromItsHandlerIsFreedAfterTheHandler) {
  TProbeForm* F = Probe("F");
  F->Action = caFree;
  auto* Btn = Add<TButton>(F, "CloseButton");
  Btn->OnClick = Closure<&TProbeForm::CloseClick>(F);
  bool Destroyed = false;
  F->Destroyed = &Destroyed;
  F->Show();
  Input().Click(Btn);
  Application->ProcessInput();
  EXPECT_TRUE(Destroyed);
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplication) {
  TForm* F = NewForm("Main");
  Application->SetMainForm(F);
  F->Show();
  F->Close();
  EXPECT_TRUE(Application->Terminated());
  delete F;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormTest, ShowModalReturnsTheResultOfTheButtonClicked) {
  TForm* Owner = NewForm("Owner");
  Owner->Show();
  TForm* D = NewForm("Dialog");
  auto* Ok = Add<TButton>(D, "OKButton");
  Ok->SetModalResult(mrOk);
  auto* Elsewhere = Add<TButton>(Owner, "Elsewhere");
  int Clicks = 0;
  struct TCounter : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Clicks;
  Elsewhere->OnClick = Closure<&TCounter::Click>(&Counter);
  // The owner window takes no input while the dialog is up.
  Input().Click(Elsewhere).Click(Ok);
  EXPECT_EQ(D->ShowModal(), mrOk);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(D->Visible());
  EXPECT_FALSE(D->Modal());
  EXPECT_EQ(Screen->ActiveForm(), Owner);
  EXPECT_TRUE(Application->ModalForms().empty());
}

TEST_F(FormTest, AModalLoopOnAnEmptyQueueIsAnErrorNamingTheWindow) {
  TForm* D = NewForm("Waiting");
  D->SetCaption("Columns");
  try {
    D->ShowModal();
    FAIL() << "no error";
  } catch (EInputError& E) {
    EXPECT_NE(String(E.Message).find("\"Columns\" (Waiting)"), String::npos) << E.Message;
    EXPECT_NE(String(E.Message).find("empty"), String::npos) << E.Message;
  }
  EXPECT_FALSE(D->Visible());
  EXPECT_FALSE(D->Modal());
  EXPECT_TRUE(Application->ModalForms().empty());
  // It can be shown modally again afterwards.
  Input().Key(VK_ESCAPE);
  auto* Cancel = Add<TButton>(D, "Cancel");
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  EXPECT_EQ(D->ShowModal(), mrCancel);
}

TEST_F(FormTest, ModalCloseWithCaFreeFreesTheDialogAfterItsLoop) {
  TProbeForm* D = Probe("About");
  D->Action = caFree;
  bool Destroyed = false;
  D->Destroyed = &Destroyed;
  auto* Ok = Add<TButton>(D, "OK");
  Ok->SetModalResult(mrOk);
  Input().Click(Ok);
  EXPECT_EQ(D->ShowModal(), mrOk);
  EXPECT_FALSE(Destroyed);
  Application->ProcessMessages();
  EXPECT_TRUE(Destroyed);
}

TEST_F(FormTest, AModalLoopEndedByAnErrorStillAppliesTheCloseAction) {
  TProbeForm* D = Probe("About");
  D->Action = caFree;
  bool Destroyed = false;
  D->Destroyed = &Destroyed;
  EXPECT_THROW(D->ShowModal(), EInputError);
  Application->ProcessMessages();
  EXPECT_TRUE(Destroyed) << "a window that frees itself on closing is freed";
  EXPECT_TRUE(Application->ModalForms().empty());
}

TEST_F(FormTest, AFormItsDescriptionMakesVisibleIsShownAndActivated) {
  TForm* F = NewForm("Shown");
  ComponentFromText("object Shown: TForm\n  Caption = 'Here'\n  Visible = True\nend\n", "Shown.dfm", F);
  EXPECT_TRUE(F->Visible());
  EXPECT_EQ(Screen->ActiveForm(), F);
  EXPECT_EQ(F->Caption(), "Here");
}

TEST_F(FormTest, ShowingAVisibleFormModallyIsRefused) {
  TForm* F = NewForm("F");
  F->Show();
  EXPECT_THROW(F->ShowModal(), EInvalidOperation);
}

TEST(DesktopTest, ItsEndFreesTheWindowsTheApplicationStillOwns) {
  bool Released = false, Open = false;
  {
    TDesktop Desktop;
    EXPECT_THROW(TDesktop Second, EInvalidOperation);
    auto* F = new TProbeForm(Application);
    F->Destroyed = &Released;
    F->Show();
    F->Release();
    auto* G = new TProbeForm(Application);
    G->Destroyed = &Open;
    G->Show();
    EXPECT_EQ(Application->ComponentCount(), 2);
  }
  EXPECT_TRUE(Released);
  EXPECT_TRUE(Open);
  EXPECT_EQ(Application, nullptr);
  EXPECT_EQ(Screen, nullptr);
  EXPECT_EQ(GetClass("TButton"), nullptr);
}

TEST_F(FormTest, ClientSizeFollowsTheBorderStyleAndTheMenu) {
  TForm* F = NewForm("F", 272, 232);
  EXPECT_EQ(F->Width(), 272 + 8);
  EXPECT_EQ(F->Height(), 232 + 27);
  F->SetBorderStyle(bsDialog);
  EXPECT_EQ(F->ClientWidth(), 272);
  EXPECT_EQ(F->Width(), 278);
  auto* Menu = new TMainMenu(F);
  auto* File = new TMenuItem(F);
  File->SetCaption("&File");
  Menu->Items()->Add(File);
  F->SetMenu(Menu);
  EXPECT_EQ(F->ClientHeight(), 232);
  EXPECT_EQ(F->Height(), 232 + 25 + 19);
  F->SetPosition(poScreenCenter);
  F->Show();
  EXPECT_EQ(F->Left(), (1024 - F->Width()) / 2);
}

}  // namespace
