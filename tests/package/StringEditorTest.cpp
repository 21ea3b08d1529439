// The string editor dialog as the inspector's ellipsis opens it: the plain and multi-row
// formats, moving between rows, deleting them, the line counter, its keys, loading and
// saving, the two property editors; and the format's operations against plain models.
#include <dlfcn.h>
#include <sys/stat.h>

#include <deque>
#include <fstream>
#include <functional>
#include <random>

#include "ColumnsEditorFixture.h"
#include "Faults.h"

namespace {

using TNames = std::vector<String>;

// The dialog as a person sees it.
struct TDialog {
  explicit TDialog(TCustomForm* F)
      : Form(F),
        Memo(Part<TMemo>(F, "Memo")),
        LinesLabel(Part<TLabel>(F, "LinesLabel")),
        RowNoLabel(Part<TLabel>(F, "RowNoLabel")),
        OpenDialog(Part<TOpenDialog>(F, "OpenDialog")),
        SaveDialog(Part<TSaveDialog>(F, "SaveDialog")) {}
  TCustomForm* Form;
  TMemo* Memo;
  TLabel *LinesLabel, *RowNoLabel;
  TOpenDialog* OpenDialog;
  TSaveDialog* SaveDialog;
};

// What is done to the dialog while it is open, one step at a time: a step looks at it or
// changes it directly, or gives the next input as a person would.
using TStep = std::function<bool(TDialog&, TInputEvent&)>;

TStep Look(const std::function<void(TDialog&)>& F) {
  return [F](TDialog& D, TInputEvent&) {
    F(D);
    return false;
  };
}
TStep Typed(const String& Text) {
  return [Text](TDialog&, TInputEvent& E) {
    E.Kind = TInputEvent::Typing;
    E.Text = Text;
    return true;
  };
}
TStep Pressed(Word Key, TShiftState Shift = {}) {
  return [Key, Shift](TDialog&, TInputEvent& E) {
    E.Kind = TInputEvent::Key;
    E.KeyCode = Key;
    E.Shift = Shift;
    return true;
  };
}
TStep Clicked(const char* Name) {
  return [Name](TDialog& D, TInputEvent& E) {
    E.Kind = TInputEvent::Click;
    E.Target = D.Form->FindComponent(Name);
    return true;
  };
}
TStep Chosen(const char* Name) {
  return [Name](TDialog& D, TInputEvent& E) {
    E.Kind = TInputEvent::MenuChoice;
    E.Target = D.Form->FindComponent(Name);
    return true;
  };
}
TStep FileNamed(const String& Name) {
  return [Name](TDialog&, TInputEvent& E) {
    E.Kind = TInputEvent::FileName;
    E.Text = Name;
    return true;
  };
}
TStep Answered(int Result) {
  return [Result](TDialog&, TInputEvent& E) {
    E.Kind = TInputEvent::Answer;
    E.Index = Result;
    return true;
  };
}
const TStep Ok = Answered(mrOk), Cancel = Answered(mrCancel), Next = Clicked("NextButton"),
            Prior = Clicked("PriorButton"), DeleteRow = Clicked("DeleteButton");
// Sets the memo's text as a paste or a program would.
TStep MemoText(const String& Text) {
  return Look([Text](TDialog& D) { D.Memo->SetText(Text); });
}

class TDialogInput : public TInputSource {
 public:
  explicit TDialogInput(const std::vector<TStep>& Steps) : FSteps(Steps.begin(), Steps.end()) {}
  bool HasInput() const override { return !FSteps.empty(); }
  bool Next(TInputEvent& Event) override {
    while (!FSteps.empty()) {
      TStep Step = FSteps.front();
      FSteps.pop_front();
      TCustomForm* F = nullptr;
      for (int I = 0; I < Screen->FormCount(); ++I)
        if (Screen->Forms(I)->ClassName() == String("TOmStringEditor")) F = Screen->Forms(I);
      if (!F) {
        ADD_FAILURE() << "no string editor open for the next step";
        return false;
      }
      TDialog D(F);
      Event = TInputEvent();
      if (Step(D, Event)) return true;
    }
    return false;
  }

 private:
  std::deque<TStep> FSteps;
};

class StringEditorTest : public ColumnsEditorTest {
 protected:
  TOmColumn* Column = nullptr;
  void SetUp() override {
    ColumnsEditorTest::SetUp();
    Column = Grid->Columns()->Add();
  }
  // The ellipsis of Property of what is selected, the dialog taking Steps.
  void Edit(const String& Property, const std::vector<TStep>& Steps) {
    Application->SetInput(std::make_unique<TDialogInput>(Steps));
    Ide.Inspector().Edit(Property);
    Application->SetInput(std::make_unique<TInputQueue>());
  }
  String Hint(const String& Value, const std::vector<TStep>& Steps) {
    Grid->SetHint(Value);
    D->SelectComponent(Grid);
    Edit("Hint", Steps);
    return Grid->Hint();
  }
  String Header(const String& Value, const std::vector<TStep>& Steps) {
    Column->Title()->SetHeader(Value);
    D->SelectComponent(Column);
    Ide.Inspector().Expand("Title");
    Edit("Title.Header", Steps);
    return Column->Title()->Header();
  }
  static TStep Shows(const String& MemoText, int Row) {
    return Look([=](TDialog& D) {
      EXPECT_EQ(D.Memo->Text(), MemoText);
      EXPECT_EQ(D.RowNoLabel->Caption(), "Row No. " + IntToStr(Row));
    });
  }
};

// --- Format ----------------------------------------------------------------------------

TEST_F(StringEditorTest, PlainTextComesBackWithCrBreaksAndBarsAsTheyAre) {
  EXPECT_EQ(Hint("", {Typed("a"), Pressed(VK_RETURN), Typed("b"), Ok}), "a\rb");
  EXPECT_EQ(Hint("", {Typed("a|b"), Pressed(VK_RETURN), Ok}), "a|b\r");
  EXPECT_EQ(Hint("a\nb", {Look([](TDialog& D) { EXPECT_EQ(D.Memo->Lines()->Count(), 2); }), Ok}),
            "a\rb");
  EXPECT_EQ(Hint("a\rb\r\nc", {Ok}), "a\rb\rc");
}

TEST_F(StringEditorTest, TheDialogIsLaidOutAsDescribed) {
  Hint("", {Look([](TDialog& D) {
              EXPECT_EQ(D.Form->Caption(), "String editor");
              EXPECT_EQ(D.Form->ClientWidth(), 428);
              EXPECT_EQ(D.Form->ClientHeight(), 277);
              EXPECT_FALSE(D.RowNoLabel->Visible());
              EXPECT_EQ(D.LinesLabel->FocusControl(), D.Memo);
              EXPECT_EQ(D.OpenDialog->Title(), "Load text");
              EXPECT_EQ(D.SaveDialog->Title(), "Save text");
              EXPECT_EQ(D.OpenDialog->Filter(), "Text files (*.txt)|*.txt|All files (*.*)|*.*");
              EXPECT_EQ(D.OpenDialog->Options(),
                        (TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist}));
              EXPECT_EQ(D.SaveDialog->Options(),
                        (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist}));
              EXPECT_EQ(D.SaveDialog->DefaultExt(), "txt");
            }),
            Cancel});
  Header("", {Look([](TDialog& D) {
                EXPECT_EQ(D.Form->Caption(), "Header editor");
                EXPECT_TRUE(D.RowNoLabel->Visible());
              }),
              Cancel});
}

// --- Navigation --------------------------------------------------------------------------

TEST_F(StringEditorTest, AnEmptyHeaderOpensOnRowZeroAndTakesWhatIsTyped) {
  EXPECT_EQ(Header("", {Shows("", 0), Typed("x"), Ok}), "x");
  EXPECT_EQ(Header("", {Ok}), "");
}

TEST_F(StringEditorTest, NextStopsAtTheEmptySlotAndPriorAtRowZero) {
  EXPECT_EQ(Header("a|b", {Shows("a", 0), Prior, Shows("a", 0), Next, Shows("b", 1), Next,
                           Shows("", 2), Next, Shows("", 2), Ok}),
            "a|b");
}

TEST_F(StringEditorTest, TextTypedIntoTheEmptySlotBecomesANewLastRow) {
  EXPECT_EQ(Header("a|b", {Next, Next, MemoText("c"), Next, Shows("", 3), Ok}), "a|b|c");
  EXPECT_EQ(Header("a|b", {Next, Next, MemoText("c"), Ok}), "a|b|c");
  EXPECT_EQ(Header("a|b", {Next, Next, Next, Ok}), "a|b");
}

TEST_F(StringEditorTest, AnEmptiedRowStaysAnEmptyRow) {
  EXPECT_EQ(Header("a|b", {MemoText(""), Ok}), "|b");
  EXPECT_EQ(Header("a|b", {Next, MemoText(""), Ok}), "a|");
  EXPECT_EQ(Header("a", {MemoText(""), Ok}), "");
}

TEST_F(StringEditorTest, RowLineBreaksComeBackAsCr) {
  EXPECT_EQ(Header("x\ny|b", {Shows("x\r\ny", 0), Ok}), "x\ry|b");
  // A click past the text puts the caret at its end.
  EXPECT_EQ(Header("a|b", {Next, Clicked("Memo"), Typed("1"), Pressed(VK_RETURN), Typed("2"), Ok}),
            "a|b1\r2");
}

// --- Deletion --------------------------------------------------------------------------

TEST_F(StringEditorTest, DeleteRemovesTheRowAndShowsTheOneThatFollowed) {
  EXPECT_EQ(Header("a|b", {DeleteRow, Shows("b", 0), Ok}), "b");
  EXPECT_EQ(Header("a|b|c", {Next, DeleteRow, Shows("c", 1), Ok}), "a|c");
  EXPECT_EQ(Header("a|b", {Next, DeleteRow, Shows("", 1), Ok}), "a");
  EXPECT_EQ(Header("a", {DeleteRow, Shows("", 0), Ok}), "");
  EXPECT_EQ(Header("a|b", {Next, Next, DeleteRow, Shows("", 2), Ok}), "a|b");
}

// --- Counter and keys -------------------------------------------------------------------

TEST_F(StringEditorTest, TheCounterCountsABreakAtTheEndAsALine) {
  auto Count = [](const char* Caption) {
    return Look([Caption](TDialog& D) { EXPECT_EQ(D.LinesLabel->Caption(), Caption); });
  };
  Hint("", {Count("0 &Lines"), Typed("x"), Count("1 &Line"), Pressed(VK_RETURN),
            Count("2 &Lines"), MemoText("a\r\nb\r\nc"), Count("3 &Lines"), Cancel});
  Header("a|b\nc", {Count("1 &Line"), Next, Count("2 &Lines"), Cancel});
}

TEST_F(StringEditorTest, CtrlEnterConfirmsEscapeCancelsCtrlShiftEnterDoesNeither) {
  EXPECT_EQ(Hint("old", {Typed("x"), Pressed(VK_RETURN, {ssCtrl})}), "xold");
  EXPECT_TRUE(D->IsModified());
  EXPECT_EQ(Hint("old", {Typed("x"), Pressed(VK_ESCAPE)}), "old");
  EXPECT_EQ(Hint("old", {Typed("x"), Ok}), "xold");
  EXPECT_EQ(Hint("old", {Typed("x"), Pressed(VK_RETURN, {ssCtrl, ssShift}),
                         Look([](TDialog& D) { EXPECT_TRUE(D.Form->Showing()); }), Cancel}),
            "old");
}

TEST_F(StringEditorTest, ABarIsNeverTypedIntoAHeaderAndOneArrivingOtherwiseIsDropped) {
  EXPECT_EQ(Header("", {Typed("a|b"), Look([](TDialog& D) { EXPECT_EQ(D.Memo->Text(), "ab"); }), Ok}),
            "ab");
  EXPECT_EQ(Header("x", {MemoText("p|q"), Next, Ok}), "pq");
}

// --- Files -------------------------------------------------------------------------------

TEST_F(StringEditorTest, LoadReplacesTheMemoAndSaveProposesTheLoadedName) {
  String In = Folder / "in.txt", Out = Folder / "out.txt";
  std::ofstream(In, std::ios::binary) << "one\ntwo";
  EXPECT_EQ(Hint("kept", {Look([](TDialog& D) { EXPECT_EQ(D.SaveDialog->FileName(), ""); }),
                          Chosen("LoadMenuItem"), FileNamed(In),
                          Look([](TDialog& D) { EXPECT_EQ(D.Memo->Text(), "one\r\ntwo"); }),
                          Chosen("SaveMenuItem"),
                          Look([&](TDialog& D) { EXPECT_EQ(D.SaveDialog->FileName(), In); }),
                          FileNamed(Out), Ok}),
            "one\rtwo");
  std::ifstream Saved(Out, std::ios::binary);
  // Line by line, each with its CR LF, as the platform's memo saves.
  EXPECT_EQ(String((std::istreambuf_iterator<char>(Saved)), std::istreambuf_iterator<char>()),
            "one\r\ntwo\r\n");
}

TEST_F(StringEditorTest, SavingWithoutALoadProposesNoName) {
  String Out = Folder / "plain.txt";
  Hint("text", {Chosen("SaveMenuItem"),
                Look([](TDialog& D) { EXPECT_EQ(D.SaveDialog->FileName(), ""); }), FileNamed(Out),
                Cancel});
  EXPECT_TRUE(std::ifstream(Out).good());
}

// A save that fails reaches the IDE's handler; the file that was there and the memo stay.
TEST_F(StringEditorTest, ASaveThatFailsLeavesTheFileAndTheMemoAsTheyWere) {
  Application->ClearErrors();
  String Kept = Folder / "kept.txt";
  std::ofstream(Kept, std::ios::binary) << "precious";
  chmod(Kept.c_str(), 0444);
  EXPECT_EQ(Hint("memo", {Chosen("SaveMenuItem"), FileNamed(Kept), Answered(mrYes),
                          Look([](TDialog& D) {
                            EXPECT_EQ(D.Memo->Text(), "memo");
                            EXPECT_TRUE(D.Form->Showing());
                          }),
                          Ok}),
            "memo");
  chmod(Kept.c_str(), 0644);
  std::ifstream Old(Kept);
  EXPECT_EQ(String((std::istreambuf_iterator<char>(Old)), std::istreambuf_iterator<char>()),
            "precious");
  ASSERT_FALSE(Application->Errors().empty());
  EXPECT_NE(Application->Errors()[0].find("kept.txt"), String::npos) << Application->Errors()[0];
  Application->ClearErrors();
}

// A full disk and a folder without write permission: the save's error reaches the IDE's
// handler naming the file, the old file stays whole and the dialog keeps the text.
TEST_F(StringEditorTest, ASaveOntoAFullDiskOrIntoAReadOnlyFolderKeepsTheOldFile) {
  // A folder of its own: the settings store beside it stays writable.
  const String Work = Folder / "work", Kept = Work + "/kept.txt", Old = String(10000, 'p');
  std::filesystem::create_directory(Work);
  for (bool Disk : {true, false}) {
    SCOPED_TRACE(Disk ? "full disk" : "read-only folder");
    Application->ClearErrors();
    std::ofstream(Kept, std::ios::binary) << Old;
    std::unique_ptr<TDiskFull> Full;
    std::unique_ptr<TReadOnlyFolder> ReadOnly;
    if (Disk) {
      Full = std::make_unique<TDiskFull>(100);
    } else {
      ReadOnly = std::make_unique<TReadOnlyFolder>(Work);
      if (!ReadOnly->Effective()) {
        std::printf("skipped the read-only folder: %s\n", TReadOnlyFolder::WhyNot);
        continue;
      }
    }
    EXPECT_EQ(Hint(String(300, 'm'), {Chosen("SaveMenuItem"), FileNamed(Kept), Answered(mrYes),
                                      Look([](TDialog& D) { EXPECT_TRUE(D.Form->Showing()); }), Ok}),
              String(300, 'm'));
    Full.reset();
    ReadOnly.reset();
    EXPECT_EQ(ReadWholeFile(Kept), Old);
    ASSERT_EQ(Application->Errors().size(), 1u);
    EXPECT_NE(Application->Errors()[0].find(Kept), String::npos) << Application->Errors()[0];
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Work), std::filesystem::directory_iterator()), 1)
        << "a temporary was left";
  }
  Application->ClearErrors();
}

// --- The property editors ----------------------------------------------------------------

TEST_F(StringEditorTest, TheEllipsisWritesOnOkToEverySelectedGridAndNothingOnCancel) {
  D->SelectComponent(Grid);
  EXPECT_EQ(Ide.Inspector().Row("Hint").Attributes(),
            (TPropertyAttributes{paDialog, paMultiSelect, paRevertable}));
  TOmDBGrid* Other = NewGrid("OmDBGrid2");
  Grid->SetHint("first");
  Other->SetHint("second");
  D->SetSelection({Grid, Other});
  Edit("Hint", {Look([](TDialog& D) { EXPECT_EQ(D.Memo->Text(), "first"); }), Typed("!"), Ok});
  EXPECT_EQ(Grid->Hint(), "!first");
  EXPECT_EQ(Other->Hint(), "!first");
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Edit("Hint", {Typed("?"), Cancel});
  EXPECT_EQ(Grid->Hint(), "!first");
  EXPECT_EQ(Sink.Events, TNames{});
  Edit("Hint", {Ok});  // unchanged, still written back
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(Sink.Events, TNames{"modified Form1"});
}

TEST_F(StringEditorTest, TheHeaderEditorKeepsRowsAndTheDialogGoesEveryTime) {
  EXPECT_EQ(Header("a|b", {Ok}), "a|b");
  for (int I = 0; I < Screen->FormCount(); ++I)
    EXPECT_NE(Screen->Forms(I)->ClassName(), String("TOmStringEditor"));
  // A modal loop that ends in an error still frees the dialog.
  D->SelectComponent(Column);
  Ide.Inspector().Expand("Title");
  EXPECT_THROW(Ide.Inspector().Edit("Title.Header"), EInputError);
  Application->ProcessMessages();
  for (int I = 0; I < Screen->FormCount(); ++I)
    EXPECT_NE(Screen->Forms(I)->ClassName(), String("TOmStringEditor"));
}

// --- The format against models ------------------------------------------------------------

// The package's own functions, reached as the IDE reaches them: in the loaded library.
template <class F>
F Function(const char* Symbol) {
  void* Library = dlopen((String(OM_BIN_DIR) + "/DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0.so").c_str(),
                         RTLD_NOW | RTLD_NOLOAD);
  EXPECT_NE(Library, nullptr);
  void* S = Library ? dlsym(Library, Symbol) : nullptr;
  EXPECT_NE(S, nullptr) << Symbol;
  if (Library) dlclose(Library);
  return reinterpret_cast<F>(S);
}

using TReplaceAll = String (*)(const String&, const String&, const String&);
using TRowCount = int (*)(const String&);
using TGetRow = String (*)(const String&, int);
using TPutRow = void (*)(String&, int, const String&);

// Rows as a vector, split and joined the plain way.
std::vector<String> Split(const String& V) {
  std::vector<String> R;
  if (V.empty()) return R;
  size_t From = 0;
  for (size_t At; (At = V.find('|', From)) != String::npos; From = At + 1) R.push_back(V.substr(From, At - From));
  R.push_back(V.substr(From));
  return R;
}
String Join(const std::vector<String>& Rows) {
  String R;
  for (size_t I = 0; I < Rows.size(); ++I) R += (I ? "|" : "") + Rows[I];
  return R;
}

TEST_F(StringEditorTest, RowsAgreeWithAPlainModelOverThousandsOfRandomEdits) {
  auto RowCount = Function<TRowCount>("_ZN11Idelinesdlg8RowCountERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
  auto GetRow = Function<TGetRow>("_ZN11Idelinesdlg6GetRowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEi");
  auto PutRow = Function<TPutRow>("_ZN11Idelinesdlg6PutRowERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEiRKS5_");
  ASSERT_TRUE(RowCount && GetRow && PutRow);
  std::mt19937 Random(4242);
  auto Pick = [&](int N) { return int(Random() % unsigned(N)); };
  const char* Pieces[] = {"a", "bc", "\r", "\n", "\r\n", "|", "x|y", ""};
  for (int Round = 0; Round < 200; ++Round) {
    String Value;
    std::vector<String> Model;
    for (int Edit = 0; Edit < 30; ++Edit) {
      int N = int(Model.size());
      int K = Pick(N + 3) - 1;  // -1 up to two past the last row
      String Text;
      int Kind = Pick(6);
      if (Kind == 0) {
        Text = "\x1b";
      } else {
        for (int P = Pick(4); P-- > 0;) Text += Pieces[Pick(8)];
      }
      PutRow(Value, K, Text);
      // The model, on the vector: bars dropped; a row in range replaced, or deleted by
      // the marker; one past the last a new row unless empty or the marker; one empty
      // row is no rows.
      String Row;
      for (char C : Text)
        if (C != '|') Row += C;
      int Separators = N == 0 ? 0 : N - 1;
      int Passed = std::min(std::max(K, 0), Separators);
      if (K < 0) {
      } else if (Passed + 1 == K) {
        if (!Row.empty() && Row != "\x1b") {
          if (N == 0) Model = {"", Row};
          else Model.push_back(Row);
        }
      } else if (Passed == K) {
        if (Row != "\x1b") {
          if (N == 0) Model = {Row};
          else Model[size_t(K)] = Row;
        } else if (N > 0) {
          Model.erase(Model.begin() + K);
        }
      }
      if (Model.size() == 1 && Model[0].empty()) Model.clear();
      ASSERT_EQ(Value, Join(Model)) << "round " << Round << " edit " << Edit << " row " << K;
      ASSERT_EQ(Split(Value), Model);
      ASSERT_EQ(RowCount(Value), int(Model.size()));
      for (int I = -1; I <= int(Model.size()) + 1; ++I)
        ASSERT_EQ(GetRow(Value, I), I >= 0 && I < int(Model.size()) ? Model[size_t(I)] : String());
    }
  }
}

TEST_F(StringEditorTest, ReplaceAllAgreesWithAPlainModelOverlapsIncluded) {
  auto ReplaceAll = Function<TReplaceAll>(
      "_ZN11Idelinesdlg10ReplaceAllERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEES7_S7_");
  ASSERT_TRUE(ReplaceAll);
  auto Model = [](String S, const String& P, const String& R) {
    String Out;
    while (!S.empty()) {
      if (S.compare(0, P.size(), P) == 0) {
        Out += R;
        S.erase(0, P.size());
      } else {
        Out += S[0];
        S.erase(0, 1);
      }
    }
    return Out;
  };
  std::mt19937 Random(77);
  const char Alphabet[] = "ab\r\n|";
  auto Text = [&](int Max) {
    String S;
    for (int N = int(Random() % unsigned(Max)); N-- > 0;) S += Alphabet[Random() % 5];
    return S;
  };
  for (int I = 0; I < 5000; ++I) {
    String S = Text(40), P = Text(4), R = Text(3);
    if (P.empty()) continue;
    ASSERT_EQ(ReplaceAll(S, P, R), Model(S, P, R)) << "[" << S << "] [" << P << "] [" << R << "]";
  }
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("a\r\n\r\nb", "\r\n", "\r"), "a\r\rb");
}

}  // namespace
