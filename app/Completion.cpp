// What Tab completes at the prompt: the word being typed, by what its command takes at
// that place. The terminal's glue (omide.cpp) only hands the line over and shows the
// candidates, so that all of this can be tested without a terminal.
#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "Commands.h"
#include "ComponentEditors.h"
#include "Dialogs.h"
#include "Inspector.h"
#include "Packages.h"
#include "Registries.h"

using namespace Commands;

namespace {

// What a command takes word by word: names of kinds of things (upper case) and words
// taken as they are, separated by |; "..." after the last place repeats it.
const std::map<String, std::vector<String>>& Places() {
  static const std::map<String, std::vector<String>> Table = {
      {"help", {"COMMAND"}},
      {"activate", {"FORM"}},
      {"close", {"FORM|--discard", "FORM"}},
      {"quit", {"--discard"}},
      {"open", {"FILE"}},
      {"run", {"FILE"}},
      {"load", {"FILE"}},
      {"unload", {"PACKAGE"}},
      {"package-log", {"PACKAGE"}},
      {"save", {"--overwrite|as|FILE..."}},
      {"drop", {"CLASS", "COMPONENT"}},
      {"select", {"OBJECT..."}},
      {"menu", {"COMPONENT"}},
      {"dblclick", {"COMPONENT"}},
      {"verb", {"COMPONENT", "VERB"}},
      {"inspect", {"PROPERTY"}},
      {"values", {"PROPERTY"}},
      {"edit", {"PROPERTY"}},
      {"revert", {"PROPERTY"}},
      {"expand", {"PROPERTY"}},
      {"collapse", {"PROPERTY"}},
      {"row", {"PROPERTY"}},
      {"set", {"PROPERTY", "VALUE"}},
      {"draw", {"PROPERTY", "list|row", "FILE"}},
      {"inspector", {"type|enter|escape"}},
      {"editmenu", {"cut|copy|paste|delete"}},
      {"window", {"WINDOW"}},
      {"closewindow", {"WINDOW"}},
      {"activatewindow", {"WINDOW"}},
      {"picture", {"WINDOW", "FILE"}},
      {"click", {"CONTROL"}},
      {"click-at", {"CONTROL", "", "", "right"}},
      {"double", {"CONTROL"}},
      {"item", {"CONTROL", "", "ctrl|shift"}},
      {"drag", {"CONTROL", "", "", "hold"}},
      {"hover", {"CONTROL"}},
      {"splitter", {"CONTROL"}},
      {"choose", {"MENUITEM"}},
      {"answer", {"OK|Cancel|Yes|No|Abort|Retry|Ignore|All"}},
      {"key", {"Enter|Escape|Tab|Space|Backspace|Insert|Delete|Up|Down|Left|Right|Home|End|PgUp|PgDn|"
               "F2|Ctrl+|Shift+|Alt+"}},
      {"message", {"information|warning|error|confirmation", "", "OK|OKCancel|YesNo|YesNoCancel"}},
      {"file", {"FILE"}},
  };
  return Table;
}

bool StartsText(const String& S, const String& Prefix) {
  return S.size() >= Prefix.size() && strncasecmp(S.c_str(), Prefix.c_str(), Prefix.size()) == 0;
}

// A word as it was typed so far: where it starts, and its text without quotes; Quote is
// the quote still open at the end of the line.
struct TTyped {
  size_t Start = 0;
  String Text;
  char Quote = 0;
};

// The words of the line as the session will split them, but without replacing ${NAME}
// and taking a quote left open as the word being typed; the last one is that word
// (empty after a blank).
std::vector<TTyped> TypedWords(const String& Line) {
  std::vector<TTyped> R;
  size_t I = 0, N = Line.size();
  auto Blank = [&](size_t At) { return Line[At] == ' ' || Line[At] == '\t'; };
  for (;;) {
    while (I < N && Blank(I)) ++I;
    TTyped W;
    W.Start = I;
    while (I < N && (W.Quote || !Blank(I))) {
      char C = Line[I++];
      if (W.Quote && C == W.Quote) {
        if (I < N && Line[I] == W.Quote) {
          W.Text += C;
          ++I;
        } else {
          W.Quote = 0;
        }
      } else if (!W.Quote && (C == '\'' || C == '"')) {
        W.Quote = C;
      } else {
        W.Text += C;
      }
    }
    R.push_back(W);
    if (I >= N) return R;
  }
}

// A candidate as the line must hold it: in the quote the person opened, or in quotes of
// its own when it has blanks or quotes.
String AsTyped(const String& Word, char Quote) {
  if (!Quote && Word.find_first_of(" \t'\"") == String::npos) return Word;
  char Q = Quote ? Quote : '\'';
  String R(1, Q);
  for (char C : Word) {
    R += C;
    if (C == Q) R += C;
  }
  return R + Q;
}

void Add(std::vector<String>& Into, const String& Candidate, const String& Typed) {
  if (!Candidate.empty() && StartsText(Candidate, Typed)) Into.push_back(Candidate);
}

// Files and folders beside what is typed; a folder ends with / so that the next Tab goes
// into it.
void CompleteFile(const String& Typed, std::vector<String>& Into) {
  size_t Slash = Typed.rfind('/');
  String Folder = Slash == String::npos ? String() : Typed.substr(0, Slash + 1);
  String Name = Slash == String::npos ? Typed : Typed.substr(Slash + 1);
  String Look = Folder.empty() ? String(".") : Folder;
  if (Look.rfind("~/", 0) == 0 && getenv("HOME")) Look = getenv("HOME") + Look.substr(1);
  std::error_code E;
  for (std::filesystem::directory_iterator It(Look, E), End; !E && It != End; It.increment(E)) {
    String Entry = It->path().filename().string();
    if (Entry[0] == '.' && (Name.empty() || Name[0] != '.')) continue;
    std::error_code DirE;
    Add(Into, Folder + Entry + (It->is_directory(DirE) ? "/" : ""), Typed);
  }
}

}  // namespace

void TSession::CompleteWord(const String& Kind, const String& Before, const String& Typed,
                            std::vector<String>& Into) const {
  static const std::set<String> Kinds = {"COMMAND", "FORM",    "COMPONENT", "OBJECT",  "PROPERTY", "VALUE",
                                         "VERB",    "WINDOW",  "CONTROL",   "MENUITEM", "FILE",    "PACKAGE",
                                         "CLASS"};
  if (!Kinds.count(Kind)) {
    Add(Into, Kind, Typed);  // a word taken as it is
    return;
  }
  TDesigner* D = FIde->ActiveDesigner();
  if (Kind == "COMMAND") {
    for (const auto& [Name, C] : FCommands) Add(Into, Name, Typed);
  } else if (Kind == "FORM") {
    for (const auto& Each : FIde->Designers()) Add(Into, Each->GetRoot()->Name(), Typed);
  } else if (Kind == "COMPONENT" && D) {
    TComponent* Root = D->GetRoot();
    Add(Into, Root->Name(), Typed);
    for (int I = 0; I < Root->ComponentCount(); ++I) Add(Into, Root->Components(I)->Name(), Typed);
  } else if (Kind == "OBJECT" && D) {
    // Several objects may be one word, separated by commas; each is a path whose head is
    // a component, then object properties and collection items.
    size_t Comma = Typed.rfind(',');
    String Done = Comma == String::npos ? String() : Typed.substr(0, Comma + 1);
    String Path = Typed.substr(Done.size());
    size_t Sep = Path.find_last_of(".[");
    std::vector<String> Found;
    if (Sep == String::npos) {
      CompleteWord("COMPONENT", Before, Path, Found);
    } else {
      TPersistent* Base = nullptr;
      try {
        Base = Resolve(Path.substr(0, Sep));
      } catch (Exception&) {
        return;  // nothing to offer below a path that leads nowhere
      }
      String Head = Path.substr(0, Sep);
      if (Path[Sep] == '[') {
        if (auto* Coll = dynamic_cast<TCollection*>(Base))
          for (int I = 0; I < Coll->Count(); ++I) Add(Found, Head + "[" + IntToStr(I) + "]", Path);
      } else {
        for (PPropInfo P : GetPropList(Base)) {
          if (P->PropType->Kind != tkClass) continue;
          auto* Sub = dynamic_cast<TPersistent*>(GetObjectProp(Base, P));
          if (!Sub) continue;
          Add(Found, Head + "." + P->Name, Path);
          // A collection's items go on after it without a blank.
          if (dynamic_cast<TCollection*>(Sub)) Add(Found, Head + "." + P->Name + "[", Path);
        }
      }
    }
    for (const String& F : Found) Into.push_back(Done + F);
  } else if (Kind == "PROPERTY") {
    if (!D || FIde->Inspector().Objects().empty()) return;
    for (const TInspectorRow& Row : FIde->Inspector().Rows()) Add(Into, Row.Name, Typed);
  } else if (Kind == "VALUE") {
    try {
      for (const String& V : FIde->Inspector().ValueList(Before)) Add(Into, V, Typed);
    } catch (Exception&) {
      // No such row, or one without a list: nothing to offer.
    }
  } else if (Kind == "VERB" && D) {
    try {
      for (const TContextMenuItem& Item : ComponentContextMenu(D, ResolveComponent(Before))) {
        if (Item.Caption == "-" || !Item.Visible) continue;
        String Plain = Item.Caption;
        Plain.erase(std::remove(Plain.begin(), Plain.end(), '&'), Plain.end());
        Add(Into, Plain, Typed);
      }
    } catch (Exception&) {
    }
  } else if (Kind == "WINDOW") {
    for (int I = 0; I < Screen->FormCount(); ++I) Add(Into, Screen->Forms(I)->Name(), Typed);
    if (WaitingFileDialog("")) Add(Into, FWaits.back().Name, Typed);
  } else if (Kind == "CONTROL" || Kind == "MENUITEM") {
    bool Menu = Kind == "MENUITEM";
    auto Named = [&](TCustomForm* F, const String& Prefix) {
      for (int I = 0; I < F->ComponentCount(); ++I) {
        TComponent* C = F->Components(I);
        if (Menu ? !dynamic_cast<TMenuItem*>(C) : !dynamic_cast<TControl*>(C)) continue;
        Add(Into, Prefix + C->Name(), Typed);
      }
    };
    size_t Dot = Typed.find('.');
    if (Dot != String::npos) {
      for (int I = 0; I < Screen->FormCount(); ++I)
        if (SameText(Screen->Forms(I)->Name(), Typed.substr(0, Dot)))
          Named(Screen->Forms(I), Typed.substr(0, Dot + 1));
      return;
    }
    // A bare name is looked for in the active window first, as the commands do.
    TCustomForm* Active = Screen->ActiveForm();
    if (!Active && !Screen->ZOrder().empty()) Active = Screen->ZOrder().front();
    if (Active) Named(Active, "");
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (!Screen->Forms(I)->Name().empty()) Add(Into, Screen->Forms(I)->Name() + ".", Typed);
  } else if (Kind == "FILE") {
    CompleteFile(Typed, Into);
  } else if (Kind == "PACKAGE") {
    for (const auto& P : FIde->Packages().Packages())
      Add(Into, ChangeFileExt(ExtractFileName(P->FileName), ""), Typed);
  } else if (Kind == "CLASS") {
    for (const TPaletteEntry& E : TRegistries::Instance().Palette) Add(Into, E.ComponentClass->ClassName(), Typed);
  }
}

TCompletion TSession::Complete(const String& LineBeforeCursor) const {
  std::vector<TTyped> Typed = TypedWords(LineBeforeCursor);
  // `ahead` takes a command of its own: what follows completes as a line of its own.
  size_t First = 0;
  while (First + 1 < Typed.size() && SameText(Typed[First].Text, "ahead")) ++First;
  const TTyped& Last = Typed.back();
  size_t Place = Typed.size() - 1 - First;  // 0 for the command's name
  std::vector<String> Found;
  if (Place == 0) {
    CompleteWord("COMMAND", String(), Last.Text, Found);
  } else {
    auto It = Places().find(LowerCase(Typed[First].Text));
    if (It != Places().end() && !It->second.empty()) {
      const std::vector<String>& Words = It->second;
      String Slot;
      if (Place <= Words.size())
        Slot = Words[Place - 1];
      else if (Words.back().size() > 3 && Words.back().compare(Words.back().size() - 3, 3, "...") == 0)
        Slot = Words.back();
      if (Slot.size() > 3 && Slot.compare(Slot.size() - 3, 3, "...") == 0) Slot.resize(Slot.size() - 3);
      const String& Before = Typed[Typed.size() - 2].Text;
      size_t From = 0;
      while (!Slot.empty() && From <= Slot.size()) {
        size_t Bar = Slot.find('|', From);
        CompleteWord(Slot.substr(From, Bar == String::npos ? String::npos : Bar - From), Before, Last.Text, Found);
        if (Bar == String::npos) break;
        From = Bar + 1;
      }
    }
  }
  std::sort(Found.begin(), Found.end(), [](const String& A, const String& B) {
    int C = strcasecmp(A.c_str(), B.c_str());
    return C ? C < 0 : A < B;
  });
  Found.erase(std::unique(Found.begin(), Found.end()), Found.end());
  TCompletion R;
  R.Start = Last.Start;
  // What was typed inside a quote stays inside it.
  char Quote = Last.Start < LineBeforeCursor.size() &&
                       (LineBeforeCursor[Last.Start] == '\'' || LineBeforeCursor[Last.Start] == '"')
                   ? LineBeforeCursor[Last.Start]
                   : 0;
  for (const String& F : Found) R.Candidates.push_back(AsTyped(F, Quote));
  return R;
}
