// The session's core: how a line becomes words and runs, how scripts run, and how
// commands find the forms, windows and controls they name. The commands themselves are
// defined by area in the Commands*.cpp files.
#include "Session.h"

#include "Dialogs.h"
#include "Menus.h"

#include <cstdio>

#include "Commands.h"
#include "Registry.h"
#include "Settings.h"
#include "Shell.h"

using namespace Commands;

TSession::TSession(bool Json) : FIde(std::make_unique<TIde>()), FJson(Json) {
  FIde->RegisterStandardComponents();
  DefineSessionCommands();
  DefinePackageCommands();
  DefineFormCommands();
  DefineInspectorCommands();
  DefineWindowCommands();
  DefineInputCommands();
  DefineExpectCommands();
  DefinePictureCommands();
  // A modal window, message box or file dialog that finds nothing queued runs the
  // feed's next lines inside it.
  Application->Input()->SetWhenEmpty(
      [this](const TInputWait& Waiting) { return GiveInput(Waiting); });
}

TSession::~TSession() {
  if (Application && Application->Input()) Application->Input()->SetWhenEmpty(nullptr);
}

namespace {
// ${NAME} at Line[I] is the environment variable's value, for scripts that name scratch
// folders. Taken after the line is split, so a value with blanks stays one word.
String Variable(const String& Line, size_t& I) {
  size_t End = Line.find('}', I + 2);
  if (End == String::npos) throw EConvertError(Format("unterminated ${ at column %d", {int(I) + 1}));
  String Name = Line.substr(I + 2, End - I - 2);
  const char* Value = getenv(Name.c_str());
  if (!Value) throw EConvertError(Format("the environment has no variable %s", {Name}));
  I = End + 1;
  return Value;
}
}  // namespace

std::vector<String> TSession::Words(const String& Line) {
  std::vector<String> R;
  size_t I = 0;
  auto IsVariable = [&] { return Line.compare(I, 2, "${") == 0; };
  while (I < Line.size()) {
    while (I < Line.size() && (Line[I] == ' ' || Line[I] == '\t')) ++I;
    if (I >= Line.size()) break;
    String W;
    // A quoted word, or one a variable gave, is a word even when it is empty.
    bool Given = false;
    while (I < Line.size() && Line[I] != ' ' && Line[I] != '\t') {
      char Q = Line[I];
      if (Q == '\'' || Q == '"') {
        // As in form files, a doubled quote inside the quotes stands for one.
        Given = true;
        size_t Start = I;
        ++I;
        for (;;) {
          if (I >= Line.size()) throw EConvertError(Format("unterminated quote at column %d", {int(Start) + 1}));
          if (Line[I] == Q) {
            if (I + 1 < Line.size() && Line[I + 1] == Q) {
              W += Q;
              I += 2;
              continue;
            }
            ++I;
            break;
          }
          if (IsVariable())
            W += Variable(Line, I);
          else
            W += Line[I++];
        }
      } else if (IsVariable()) {
        Given = true;
        W += Variable(Line, I);
      } else {
        W += Line[I++];
      }
    }
    if (!W.empty() || Given) R.push_back(W);
  }
  return R;
}

void TSession::Define(const String& Name, const String& Usage, const String& Help,
                      const String& Example, TWords Words, THandler Handler, TReach Reach) {
  FCommands[Name] = TCommand{Usage, Help, Example, Words, Reach, std::move(Handler)};
}

String TSession::CommandExample(const String& Name) const {
  auto It = FCommands.find(LowerCase(Name));
  return It == FCommands.end() ? String() : It->second.Example;
}

std::vector<String> TSession::CommandNames() const {
  std::vector<String> R;
  for (const auto& [Name, C] : FCommands) R.push_back(Name);
  return R;
}

namespace {

// A command run inside a waiting window failed and was told where; the windows and
// commands it ran inside give up without a word of their own. An input error, so that
// no event handler's catch keeps it from the loops it ends.
class EScriptStopped : public EInputError {
 public:
  EScriptStopped() : EInputError("the script stopped at an error inside a modal window") {}
};

// What an event handler raised while the windows handled a command's input.
class EHandlerError : public EConvertError {
 public:
  using EConvertError::EConvertError;
};

}  // namespace

TCommandResult TSession::Run(const String& Line) {
  std::vector<String> W = Words(Line);
  if (W.empty() || W[0][0] == '#') return {};
  return RunWords(std::move(W));
}

TCommandResult TSession::RunWords(std::vector<String> W) {
  auto It = FCommands.find(LowerCase(W[0]));
  if (It == FCommands.end()) throw EConvertError(Format("unknown command '%s' (try 'help')", {W[0]}));
  W.erase(W.begin());
  const TCommand& C = It->second;
  // Every command says how many words it takes, so that none quietly drops the rest.
  if (W.size() < C.Words.Min || W.size() > C.Words.Max) Usage(C.Usage);
  if (C.Reach == BehindModal) CheckNotBehindModal(It->first);
  TCommandResult R = C.Handler(W);
  FLastCommand = It->first;
  // Windows released meanwhile go now; an event handler's failure is the command's.
  Application->ProcessMessages();
  if (!Application->Errors().empty()) {
    String E = Application->Errors().front();
    Application->ClearErrors();
    throw EHandlerError(E);
  }
  // Input given ahead that no modal window took is an error of the script, not input
  // for whatever window comes next. Inside a waiting window, what a command queued is
  // for the window's loop, which takes it once the command is done.
  if (FWaits.empty() && !FAhead && It->first != "ahead" && Application->Input()->HasInput()) {
    auto* Q = dynamic_cast<TInputQueue*>(Application->Input());
    int Left = Q ? Q->Count() : 1;
    if (Q) Q->Clear();
    throw EConvertError(Format("%d input(s) given ahead were not taken by a window", {Left}));
  }
  return R;
}

void TSession::Print(const TCommandResult& R, const String& Command, FILE* Out) {
  if (FJson) {
    TJson J = TJson::object();
    J["command"] = Command;
    J["ok"] = true;
    for (auto& [K, V] : R.Json.items()) J[K] = V;
    std::fprintf(Out, "%s\n", J.dump().c_str());
  } else if (!R.Text.empty()) {
    std::fputs(R.Text.c_str(), Out);
    if (R.Text.back() != '\n') std::fputc('\n', Out);
  }
  std::fflush(Out);
}

int TSession::RunScript(const String& Text, const String& Where, FILE* Out) {
  TStringList Lines;
  Lines.SetText(Text);
  int Next = 0;
  TFeed Feed;
  Feed.Read = [&](const String&, String& Line, int& Number) {
    if (Next >= Lines.Count()) return false;
    Number = Next + 1;
    Line = Lines.Strings(Next++);
    return true;
  };
  Feed.Where = Where;
  Feed.StopAtError = true;
  Feed.Out = Out;
  return RunFeed(Feed);
}

void TSession::RunInteractive(const TReadLine& Read, FILE* Out) {
  int Count = 0;
  TFeed Feed;
  Feed.Read = [&](const String& Inside, String& Line, int& Number) {
    if (!Read(Inside, Line)) return false;
    Number = ++Count;
    return true;
  };
  Feed.StopAtError = false;
  Feed.Out = Out;
  // The end of input with a form not saved: said once, and the session goes on when more
  // comes (a terminal reads again after Ctrl+D); a second end in a row ends it.
  for (int Before = -1;; Before = Count) {
    RunFeed(Feed);
    if (FQuit || Count == Before) return;
    std::vector<String> Modified;
    for (const auto& D : FIde->Designers())
      if (D->IsModified()) Modified.push_back(D->GetRoot()->Name());
    if (Modified.empty()) return;
    std::fprintf(Out, "%s not saved: save, or quit --discard to leave %s\n", Join(Modified, ", ").c_str(),
                 Modified.size() == 1 ? "it" : "them");
    std::fflush(Out);
  }
}

int TSession::RunFeed(TFeed& Feed) {
  struct TRestore {
    TFeed*& Slot;
    TFeed* Outer;
    ~TRestore() { Slot = Outer; }
  } Restore{FFeed, FFeed};
  FFeed = &Feed;
  String Line;
  int Number;
  while (!FQuit && Feed.Read(String(), Line, Number))
    if (!Step(Line, Number)) return 1;
  return 0;
}

bool TSession::Step(const String& RawLine, int Number) {
  String Line = Trim(RawLine);
  if (Line.empty() || Line[0] == '#') return true;
  // `! command` in a script: the command is expected to fail; its error is shown and the
  // script goes on, and a success stops the script instead.
  bool ExpectError = FFeed->StopAtError && Line[0] == '!';
  if (ExpectError) Line = Trim(Line.substr(1));
  struct TRunning {
    TSession& S;
    String Line;
    int Number;
    ~TRunning() {
      S.FRunningLine = Line;
      S.FRunningNumber = Number;
    }
  } Outer{*this, FRunningLine, FRunningNumber};
  FRunningLine = Line;
  FRunningNumber = Number;
  // What the line changed on screen; once a window's loop has yet to handle the input of
  // a line run inside it, the change is that line's.
  auto Shown = [&] {
    if (FPendingInput)
      RecordScreen(FPendingLine, FPendingNumber);
    else
      RecordScreen(Line, Number);
  };
  try {
    if (ExpectError) {
      try {
        Run(Line);
      } catch (EScriptStopped&) {
        throw;
      } catch (Exception& E) {
        TCommandResult R;
        R.Text = "error: " + E.Message + "\n";
        R.Json["error"] = E.Message;
        Print(R, Line, FFeed->Out);
        Shown();
        FPendingInput = false;
        return true;
      }
      throw EConvertError("the command succeeded, but the script expected an error");
    }
    Print(Run(Line), Line, FFeed->Out);
    Shown();
    FPendingInput = false;
    return true;
  } catch (EScriptStopped&) {
    FPendingInput = false;
    return false;
  } catch (Exception& E) {
    // A modal window this line opened failed on the input a line inside gave it (its
    // loop handled it after that line was done): the error is that line's.
    bool Inside =
        FPendingInput && (dynamic_cast<EInputError*>(&E) || dynamic_cast<EHandlerError*>(&E));
    FPendingInput = false;
    if (Inside)
      Report(FPendingLine, FPendingNumber, E.Message);
    else
      Report(Line, Number, E.Message);
    return !FFeed->StopAtError;
  }
}

void TSession::Report(const String& Line, int Number, const String& Message) {
  if (!FFeed->StopAtError) {
    std::fprintf(stderr, "error: %s\n", Message.c_str());
    return;
  }
  String Msg = Format("%s:%d: %s", {FFeed->Where, Number, Message});
  if (FJson) {
    TJson J = {{"command", Line}, {"ok", false}, {"error", Msg}};
    std::fprintf(FFeed->Out, "%s\n", J.dump().c_str());
    std::fflush(FFeed->Out);
  }
  std::fprintf(stderr, "%s\n", Msg.c_str());
}

bool TSession::GiveInput(const TInputWait& Waiting) {
  // Commands run one at a time (Run) have no lines to give: the window finds the queue
  // empty, as without a session.
  if (!FFeed) return false;
  // The window now waiting is on screen because of the line whose input its loop has
  // just handled, or else of the line that opened it.
  bool Handled = FPendingInput;
  // The window's loop has handled the last line's input: what its handlers raised is
  // that line's failure.
  FPendingInput = false;
  if (!Application->Errors().empty()) {
    String E = Application->Errors().front();
    Application->ClearErrors();
    Report(FPendingLine, FPendingNumber, E);
    if (FFeed->StopAtError) throw EScriptStopped();
  }
  FWaits.push_back(Waiting);
  struct TPop {
    std::vector<TInputWait>& Waits;
    ~TPop() { Waits.pop_back(); }
  } Pop{FWaits};
  if (Handled)
    RecordScreen(FPendingLine, FPendingNumber);
  else
    RecordScreen(FRunningLine, FRunningNumber);
  for (;;) {
    String Line;
    int Number;
    bool Ended = FQuit || !FFeed->Read(Waiting.Name, Line, Number);
    if (Ended) {
      String Ends = FQuit                  ? "the session ends"
                    : FFeed->Where.empty() ? "the input ends"
                                           : "the script ends";
      throw EInputError(
          Format("No input for %s: %s while it is open", {Waiting.Description, Ends}));
    }
    FLastCommand.clear();
    if (!Step(Line, Number)) throw EScriptStopped();
    FPendingLine = Trim(Line);
    FPendingNumber = Number;
    // Input given ahead inside the window is for a window a later line opens: the lines
    // go on until one gives input of its own (or just looks).
    if (FLastCommand != "ahead") {
      FPendingInput = true;
      return true;
    }
  }
}

TDesigner* TSession::Form() const {
  TDesigner* D = FIde->ActiveDesigner();
  if (!D) throw EConvertError("no form is open (use 'open FILE' or 'new CLASS NAME')");
  return D;
}

// `Form1`, `Grid1`, `Grid1.Columns`, `Grid1.Columns[2]`, `Grid1.Columns[2].Title`.
TPersistent* TSession::Resolve(const String& Path) const {
  TDesigner* D = Form();
  TComponent* Root = D->GetRoot();
  size_t Dot = Path.find_first_of(".[");
  String Head = Path.substr(0, Dot);
  TPersistent* Current = SameText(Head, Root->Name()) ? Root : Root->FindComponent(Head);
  if (!Current) throw EConvertError(Format("the form has no component %s", {Head}));
  size_t I = Dot;
  while (I != String::npos && I < Path.size()) {
    if (Path[I] == '[') {
      size_t End = Path.find(']', I);
      auto* Coll = dynamic_cast<TCollection*>(Current);
      int Index;
      if (End == String::npos || !TryStrToInt(Path.substr(I + 1, End - I - 1), Index))
        throw EConvertError(Format("bad index in %s", {Path}));
      if (!Coll) throw EConvertError(Format("%s is not a collection", {Path.substr(0, I)}));
      if (Index < 0 || Index >= Coll->Count())
        throw EConvertError(Format("%s has no item %d (it has %d)", {Path.substr(0, I), Index, Coll->Count()}));
      Current = Coll->Items(Index);
      I = End + 1;
    } else if (Path[I] == '.') {
      size_t End = Path.find_first_of(".[", I + 1);
      String Prop = Path.substr(I + 1, End == String::npos ? String::npos : End - I - 1);
      PPropInfo P = GetPropInfo(Current, Prop);
      auto* Sub = P && P->PropType->Kind == tkClass ? dynamic_cast<TPersistent*>(GetObjectProp(Current, P)) : nullptr;
      if (!Sub) throw EConvertError(Format("%s has no object property %s", {ObjectName(Current), Prop}));
      Current = Sub;
      I = End;
    } else {
      throw EConvertError(Format("bad object path %s", {Path}));
    }
  }
  return Current;
}

TComponent* TSession::ResolveComponent(const String& Path) const {
  auto* C = dynamic_cast<TComponent*>(Resolve(Path));
  if (!C) throw EConvertError(Format("%s is not a component", {Path}));
  return C;
}

String WindowTitle(TCustomForm* F) {
  return F->Name().empty() ? "the window '" + F->Caption() + "'" : F->Name();
}

TOpenDialog* TSession::WaitingFileDialog(const String& Name) const {
  if (FWaits.empty() || (!Name.empty() && !SameText(Name, FWaits.back().Name))) return nullptr;
  return dynamic_cast<TOpenDialog*>(FWaits.back().Dialog);
}

namespace {

// A name as a person reads it off the screen: case and the & of an accelerator aside.
bool SameCaption(const String& Caption, const String& Name) {
  return !Caption.empty() && SameText(StripHotkey(Caption), StripHotkey(Name));
}

// A part of a window by its name, or a menu item by its caption.
TComponent* FindPart(TCustomForm* F, const String& Name) {
  if (TComponent* C = F->FindComponent(Name)) return C;
  for (int I = 0; I < F->ComponentCount(); ++I)
    if (auto* Item = dynamic_cast<TMenuItem*>(F->Components(I)))
      if (!Item->IsLine() && SameCaption(Item->Caption(), Name)) return Item;
  return nullptr;
}

}  // namespace

TCustomForm* TSession::FindWindow(const String& Name) const {
  if (SameText(Name, "active")) return Screen->ActiveForm();
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (SameText(Screen->Forms(I)->Name(), Name)) return Screen->Forms(I);
  // A message box has no name, and a person knows any window by its caption.
  for (TCustomForm* F : Screen->ZOrder())
    if (SameCaption(F->Caption(), Name)) return F;
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (SameCaption(Screen->Forms(I)->Caption(), Name)) return Screen->Forms(I);
  return nullptr;
}

TCustomForm* TSession::Window(const String& Name) const {
  if (TCustomForm* F = FindWindow(Name)) return F;
  if (SameText(Name, "active")) throw EConvertError("no window is active");
  throw EConvertError(Format("no window %s is open (see 'windows')", {Name}));
}

// `WINDOW.PART`, or a part of the active window, else of the front-most shown window that
// has one of that name (working on a form leaves no window of the IDE's active, and a
// click on a control activates its window). A caption may hold dots
// ("Editing OrdersGrid.Columns"), so every dot is tried as the one that ends the window.
TComponent* TSession::WindowPart(const String& Path) const {
  for (size_t Dot = Path.find('.'); Dot != String::npos; Dot = Path.find('.', Dot + 1))
    if (TCustomForm* F = FindWindow(Path.substr(0, Dot))) {
      String Name = Path.substr(Dot + 1);
      if (SameText(F->Name(), Name)) return F;
      if (TComponent* C = FindPart(F, Name)) return C;
      if (Path.find('.', Dot + 1) == String::npos)
        throw EConvertError(Format("%s has no control or menu item %s", {WindowTitle(F), Name}));
    }
  if (TCustomForm* F = FindWindow(Path); F && !SameText(Path, "active")) return F;
  auto Has = [&](TCustomForm* F) { return SameText(F->Name(), Path) || FindPart(F, Path); };
  TCustomForm* Form = Screen->ActiveForm();
  if (!Form || !Has(Form)) {
    Form = nullptr;
    for (TCustomForm* F : Screen->ZOrder())
      if (Has(F)) {
        Form = F;
        break;
      }
  }
  if (!Form) {
    if (!Screen->ActiveForm() && Screen->ZOrder().empty())
      throw EConvertError(Format("no window is shown to look for %s in", {Path}));
    TCustomForm* Shown = Screen->ActiveForm() ? Screen->ActiveForm() : Screen->ZOrder().front();
    throw EConvertError(Format("%s has no control or menu item %s", {WindowTitle(Shown), Path}));
  }
  return SameText(Form->Name(), Path) ? Form : FindPart(Form, Path);
}

TControl* TSession::Control(const String& Path) const {
  TComponent* P = WindowPart(Path);
  auto* C = dynamic_cast<TControl*>(P);
  if (!C) throw EConvertError(Format("%s is a menu item, not a control (use 'choose')", {Path}));
  return C;
}

void TSession::Input(const std::function<void(TInputQueue&)>& Give) {
  auto* Queue = dynamic_cast<TInputQueue*>(Application->Input());
  if (!Queue) throw EConvertError("the IDE's input is not the session's");
  if (FAhead) {
    Give(*Queue);
    return;
  }
  // This input goes first; what was given ahead waits behind it for the modal window
  // this input opens.
  std::vector<TInputEvent> Ahead;
  for (TInputEvent E; Queue->Next(E);) Ahead.push_back(E);
  Give(*Queue);
  int Now = Queue->Count();
  for (TInputEvent& E : Ahead) Queue->Push(std::move(E));
  // Inside a waiting window, the window's loop takes the input once the command is done:
  // handling it here would run a loop under the window's own.
  if (!FWaits.empty()) return;
  for (int I = 0; I < Now && Application->HandleMessage(); ++I) {
  }
}

void TSession::CheckNotBehindModal(const String& Command) const {
  if (!FWaits.empty())
    throw EConvertError(Format("%s: not while %s waits for input (answer it or close it first)",
                               {Command, FWaits.back().Description}));
}

void TSession::DefineSessionCommands() {
  Define("help", "help [COMMAND]", "lists the commands, or tells how to use one",
         "help set", {0, 1},
         [this](const auto& A) {
           TCommandResult R;
           for (const auto& [Name, C] : FCommands) {
             if (!A.empty() && !SameText(A[0], Name)) continue;
             R.Text += Pad(C.Usage, 34) + " " + C.Help + "\n";
             // One command is told with an example a person can try on the demo form.
             if (!A.empty()) R.Text += "  example: " + C.Example + "\n";
             R.Json["commands"].push_back(
                 {{"usage", C.Usage}, {"help", C.Help}, {"example", C.Example}});
           }
           if (R.Text.empty()) throw EConvertError(Format("no command %s", {A[0]}));
           return R;
         });

  Define("quit", "quit [--discard]",
         "ends the session; with a modified form only once it is saved, or with --discard",
         "quit --discard", {0, 1},
         [this](const auto& A) {
           if (!A.empty() && A[0] != "--discard") throw EConvertError("usage: quit [--discard]");
           TCommandResult R;
           if (LetAllGo(!A.empty(), "quit"))
             FQuit = true;
           else
             R.Text = "the session goes on\n";
           return R;
         });

  Define("echo", "echo [TEXT...]", "prints its words (for scripts)",
         "echo Orders by carrier", {0, Unbounded},
         [](const auto& A) {
           TCommandResult R;
           R.Text = Join(A, " ") + "\n";
           R.Json["text"] = Join(A, " ");
           return R;
         });

  // --- Services --------------------------------------------------------------------------
  Define("shell", "shell", "what was asked of the desktop's shell (links opened)", "shell", {0, 0},
         [](const auto&) {
           TCommandResult R;
           R.Json["requests"] = TJson::array();
           for (const auto& Q : ShellRequests()) {
             R.Text += Q.Operation + " " + Q.File + "\n";
             R.Json["requests"].push_back({{"operation", Q.Operation}, {"file", Q.File}});
           }
           if (R.Text.empty()) R.Text = "(nothing was asked of the shell)\n";
           return R;
         });

  Define(
      "settings", "settings KEY SECTION",
      "the values the settings store holds in a key's section (a KEY starting with \\ is below the "
      "IDE's base key)", "settings '\\Property Editors\\Collection Editor' TDBGridColumns",
      {2, 2}, [](const auto& A) {
        TRegIniFile Ini(!A[0].empty() && A[0][0] == '\\' ? IDEBaseRegistryKey() + A[0] : A[0]);
        TStringList Names;
        Ini.ReadSection(A[1], &Names);
        TCommandResult R;
        for (int I = 0; I < Names.Count(); ++I) {
          String V = Ini.ReadString(A[1], Names.Strings(I), "");
          R.Text += Names.Strings(I) + " = " + V + "\n";
          R.Json["values"][Names.Strings(I)] = V;
        }
        if (R.Text.empty()) R.Text = "(no values)\n";
        return R;
      });
}
