// The application's input: a replaceable source, errors in handlers, the order in which
// queued input is handled, and what a control that cannot be reached does with it.
#include <gtest/gtest.h>

#include "Dialogs.h"
#include "StdCtrls.h"
#include "WindowFixture.h"

namespace {

// Input from somewhere else than a queue, as the IDE's front end will supply it: a
// script of lines, read as they are asked for.
class TScriptSource : public TInputSource {
 public:
  TScriptSource(std::vector<String> Lines, TControl* Button)
      : FLines(std::move(Lines)), FButton(Button) {}
  bool Next(TInputEvent& Event) override {
    if (FAt >= FLines.size()) return false;
    const String& L = FLines[FAt++];
    Event = TInputEvent();
    if (L == "click") {
      Event.Kind = TInputEvent::Click;
      Event.Target = FButton;
    } else {
      Event.Kind = TInputEvent::Typing;
      Event.Text = L;
    }
    return true;
  }
  bool HasInput() const override { return FAt < FLines.size(); }

 private:
  std::vector<String> FLines;
  size_t FAt = 0;
  TControl* FButton;
};

class TFailing : public TObject {
 public:
  int Runs = 0;
  void Click(TObject*) {
    ++Runs;
    throw EConvertError("'x' is not a valid integer value");
  }
  void Change(TObject* Sender) {
    if (static_cast<TEdit*>(Sender)->Text() == "boom") throw EInvalidOperation("no booms");
  }
  std::vector<String> Seen;
  void OnError(TObject*, Exception* E) { Seen.push_back(E->Message); }
  void OpenNested(TObject*) {
    MessageDlg("Nested?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0);
  }
};

class InputTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Form");
    Edit = Add<TEdit>(Form, "Edit");
    Button = Add<TButton>(Form, "Button");
    Button->SetTop(30);
    Button->SetModalResult(mrOk);
    Form->Show();
  }
  TForm* Form;
  TEdit* Edit;
  TButton* Button;
  TFailing Handlers;
};

TEST_F(InputTest, TheSourceIsReplaceable) {
  Form->Hide();
  Application->SetInput(
      std::make_unique<TScriptSource>(std::vector<String>{"abc", "click"}, Button));
  EXPECT_THROW(Desktop.Input(), EInvalidOperation) << "the desktop's queue is gone";
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(Edit->Text(), "abc");
  EXPECT_FALSE(Application->Input()->HasInput());
}

TEST_F(InputTest, AnExceptionInAHandlerIsReportedAndTheInputGoesOn) {
  Button->SetModalResult(mrNone);
  Button->OnClick = Closure<&TFailing::Click>(&Handlers);
  Input().Click(Button).Type("z").Click(Button);
  Application->ProcessInput();
  EXPECT_EQ(Handlers.Runs, 2);
  EXPECT_EQ(Edit->Text(), "");
  EXPECT_EQ(Application->Errors(), (std::vector<String>{"'x' is not a valid integer value",
                                                        "'x' is not a valid integer value"}));
  Application->ClearErrors();
  struct TQuiet : TObject {
    void Click(TObject*) { Abort(); }
  } Quiet;
  Button->OnClick = Closure<&TQuiet::Click>(&Quiet);
  Input().Click(Button);
  Application->ProcessInput();
  EXPECT_TRUE(Application->Errors().empty()) << "Abort is silent";
  Application->OnException = Closure<&TFailing::OnError>(&Handlers);
  Edit->OnChange = Closure<&TFailing::Change>(&Handlers);
  Input().Click(Edit).Type("boom");
  Application->ProcessInput();
  EXPECT_EQ(Handlers.Seen, (std::vector<String>{"no booms"}));
  EXPECT_TRUE(Application->Errors().empty());
}

TEST_F(InputTest, InputErrorsInsideAHandlerAreNeverSwallowed) {
  Button->OnClick = Closure<&TFailing::OpenNested>(&Handlers);
  Button->SetModalResult(mrNone);
  Input().Click(Button);
  // The box the handler opens finds no answer: the error comes out, the box is gone.
  EXPECT_THROW(Application->ProcessInput(), EInputError);
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_TRUE(Application->ModalForms().empty());
  EXPECT_EQ(Screen->ActiveForm(), Form);
}

TEST_F(InputTest, ControlsThatCannotTakeInput) {
  // A hidden control cannot be clicked at all: that is the script's mistake.
  Button->Hide();
  Input().Click(Button);
  EXPECT_THROW(Application->ProcessInput(), EInputError);
  // A disabled one can, and nothing happens.
  Button->Show();
  Button->SetEnabled(false);
  Button->SetModalResult(mrOk);
  Input().Click(Button);
  Application->ProcessInput();
  EXPECT_EQ(Form->ModalResult(), mrNone);
  // A control of a form that is not shown is not there either.
  TForm* Hidden = NewForm("Hidden");
  Input().Click(Add<TButton>(Hidden, "B"));
  EXPECT_THROW(Application->ProcessInput(), EInputError);
}

TEST_F(InputTest, AnEditReplacesItsSelectionAndKeepsToItsLimits) {
  Edit->SetText("Name");
  Input().Click(Edit).Type("s");
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "Names") << "a click puts the caret after the text";
  Input().Key(VK_TAB).Key(VK_TAB).Type("City");
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "City") << "entered by Tab, the whole text is selected";
  Edit->SetSelStart(1);
  Edit->SetSelLength(2);
  EXPECT_EQ(Edit->SelText(), "it");
  Input().Type("o").Key(VK_HOME).Key(VK_DELETE).Key(VK_END).Type("!");
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "oy!");
  Edit->SetMaxLength(4);
  Input().Type("abc");
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "oy!a");
  Edit->SetReadOnly(true);
  Input().Type("q").Key(VK_BACK);
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "oy!a");
  EXPECT_TRUE(Edit->Modified());
}

TEST_F(InputTest, TheActiveFormChangeIsAnnounced) {
  struct TWatch : TObject {
    int N = 0;
    void Changed(TObject*) { ++N; }
  } Watch;
  Screen->OnActiveFormChange = Closure<&TWatch::Changed>(&Watch);
  TForm* Other = NewForm("Other");
  Other->Show();
  Form->Show();
  EXPECT_EQ(Watch.N, 2);
  Screen->OnActiveFormChange = nullptr;
}

TEST_F(InputTest, EscapeAnswersNoWhereABoxHasNoCancel) {
  Input().Key(VK_ESCAPE);
  EXPECT_EQ(MessageDlg("Replace it?", mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
  Input().Answer(mrYes);
  EXPECT_EQ(MessageDlg("Replace it?", mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0), mrYes);
  EXPECT_EQ(Screen->ActiveForm(), Form) << "the window behind the box is active again";
}

// A window that waits and finds nothing queued asks the source's hook, with its name,
// for as long as the hook gives something; the hook's input is handled by the window's
// own loop, and a hook with nothing to give leaves the usual error.
TEST_F(InputTest, AWaitingWindowAsksTheHookWhenNothingIsQueued) {
  Form->Hide();
  std::vector<String> Asked;
  int Calls = 0;
  Application->Input()->SetWhenEmpty([&](const TInputWait& W) {
    Asked.push_back(W.Name + " / " + W.Description);
    if (++Calls == 1) return true;  // looked, gave nothing: asked again
    if (Calls == 2) {
      Input().Type("xyz");
      return true;
    }
    if (Calls == 3) {
      Input().Click(Button);
      return true;
    }
    return false;
  });
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(Edit->Text(), "xyz");
  ASSERT_EQ(Asked.size(), 3u);
  EXPECT_EQ(Asked[0], "Form / the modal window \"Form\" (Form)");

  // Queued input goes first: the hook is not asked while there is some.
  Asked.clear();
  Input().Answer(mrNo);
  EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
  EXPECT_TRUE(Asked.empty());

  // Nothing to give: the box is an error naming it.
  try {
    MessageDlg("Sure?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0);
    ADD_FAILURE() << "no error";
  } catch (EInputError& E) {
    EXPECT_EQ(E.Message,
              "No input for the modal window \"Confirm\" (TForm): the input queue is empty");
  }
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0], "Confirm / the modal window \"Confirm\" (TForm)");

  // A file dialog asks it too, with its title.
  Asked.clear();
  TOpenDialog Dialog(nullptr);
  EXPECT_THROW(Dialog.Execute(), EInputError);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0], "Open / the open dialog \"Open\"");
  Application->Input()->SetWhenEmpty(nullptr);
}

}  // namespace
