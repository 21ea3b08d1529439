// omide: the stand-in IDE's front end. Loads the package built beside it, opens forms,
// and reads commands from a script, the command line or a terminal.
#include <getopt.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "FileUtil.h"
#include "Packages.h"
#include "Session.h"
#include "Settings.h"
#include "Shell.h"

namespace {

const char* const Help =
    "usage: omide%d [options] [FORM.dfm ...]\n"
    "  Loads the design package built beside it, opens the forms (the bundled demo when\n"
    "  none is named), then runs commands.\n"
    "options:\n"
    "  --script FILE    run the commands of FILE; stop at the first error\n"
    "  -c COMMANDS      run these commands (separated by ';' or new lines)\n"
    "  --json           print one JSON document per command\n"
    "  --pictures DIR   after every command that changes what is on screen, write a\n"
    "                   picture of the window it changed: DIR/0001-line7-verb-WINDOW.png\n"
    "  --package FILE   load this design package instead of the one beside omide\n"
    "  --no-package     load no design package\n"
    "  --no-demo        open no form when none is named\n"
    "  --demo           at a terminal, the demo and the prompt; else the tour (--tour)\n"
    "  --tour           run the bundled tour of the demo: every editor, step by step\n"
    "  --settings FILE  the per-user settings store (default: $OMIDE_SETTINGS, else\n"
    "                   omide/settings.db in $XDG_CONFIG_HOME or ~/.config)\n"
    "  --version        the version of omide and of the IDE release it stands in for\n"
    "  -h, --help       this text\n"
    "With neither --script nor -c, commands come from the terminal (or standard input).\n"
    "At a terminal, Tab completes and the lines typed are kept in $OMIDE_HISTORY, else\n"
    "omide/history in $XDG_DATA_HOME or ~/.local/share.\n"
    "Type 'help' for the commands, 'help COMMAND' for one with an example.\n"
    "Exit status: 0 success, 1 a failed command, script or package load, 2 bad usage.\n";

String TourScript() {
#ifdef OM_TOUR_SCRIPT
  return OM_TOUR_SCRIPT;
#else
  return {};
#endif
}

String DemoForm() {
#ifdef OM_DEMO_FORM
  return OM_DEMO_FORM;
#else
  return {};
#endif
}

// --- Tab: the session says what completes the word, readline shows it --------------------

const TSession* Completing = nullptr;
std::vector<String> Offered;

char* NextOffered(const char*, int State) {
  static size_t At;
  if (!State) At = 0;
  return At < Offered.size() ? strdup(Offered[At++].c_str()) : nullptr;
}

char** CompleteAtPrompt(const char* Text, int Start, int End) {
  rl_attempted_completion_over = 1;  // never readline's own file names: the session knows better
  rl_completion_suppress_quote = 1;  // the candidates close their own quotes
  String Line(rl_line_buffer, size_t(End));
  TCompletion C;
  try {
    C = Completing->Complete(Line);
  } catch (...) {
    return nullptr;  // nothing to offer is better than an exception through readline's C
  }
  // Readline replaces from where it thinks the word starts (after an opening quote, or
  // at a blank inside quotes); the candidates replace from where the session does.
  size_t From = size_t(Start);
  Offered.clear();
  for (const String& Each : C.Candidates) {
    if (From >= C.Start)
      Offered.push_back(From - C.Start <= Each.size() ? Each.substr(From - C.Start) : String());
    else
      Offered.push_back(Line.substr(From, C.Start - From) + Each);
  }
  if (Offered.empty()) return nullptr;
  // A folder, a window's name before its control, or a collection before its item goes on
  // without a blank.
  char Tail = Offered.size() == 1 && !Offered[0].empty() ? Offered[0].back() : ' ';
  rl_completion_append_character = Tail == '/' || Tail == '.' || Tail == '[' || Tail == '+' ? 0 : int(' ');
  return rl_completion_matches(Text, NextOffered);
}

// --- History: kept between runs in the user's data folder ----------------------------------

const int HistoryLines = 1000;

String HistoryFile() {
  if (const char* F = getenv("OMIDE_HISTORY"); F && *F) return F;
  String Data;
  if (const char* X = getenv("XDG_DATA_HOME"); X && *X)
    Data = X;
  else if (const char* H = getenv("HOME"); H && *H)
    Data = String(H) + "/.local/share";
  else
    return {};
  return Data + "/omide/history";
}

// Each line goes to the file as it is entered, so that a crash loses none; a file that
// cannot be written is said once and the session goes on without it.
class THistory {
 public:
  explicit THistory(String File) : FFile(std::move(File)) {
    stifle_history(HistoryLines);
    if (FFile.empty()) return;
    std::error_code E;
    std::filesystem::path Folder = std::filesystem::path(FFile).parent_path();
    if (!Folder.empty()) std::filesystem::create_directories(Folder, E);
    // Appending needs the file to be there.
    FILE* F = E ? nullptr : std::fopen(FFile.c_str(), "a");
    if (!F) {
      Fail(E ? E.value() : errno);
      return;
    }
    std::fclose(F);
    read_history(FFile.c_str());
    history_truncate_file(FFile.c_str(), HistoryLines);
  }
  ~THistory() {
    if (!FFile.empty()) history_truncate_file(FFile.c_str(), HistoryLines);
  }
  void Add(const String& Line) {
    if (Trim(Line).empty()) return;
    HIST_ENTRY* Last = history_length ? history_get(history_base + history_length - 1) : nullptr;
    if (Last && Line == Last->line) return;
    add_history(Line.c_str());
    if (FFile.empty()) return;
    if (int E = append_history(1, FFile.c_str())) Fail(E);
  }

 private:
  void Fail(int Error) {
    std::fprintf(stderr, "omide%d: the history is not kept: %s: %s\n", OM_HOST_RELEASE, FFile.c_str(),
                 std::strerror(Error));
    FFile.clear();
  }
  String FFile;
};

// The line a person sees first: what is open and how to go on.
String Hint(TSession& Session) {
  const auto& Forms = Session.Ide().Designers();
  String Open;
  if (Forms.empty()) {
    Open = "no form open";
  } else if (Forms.size() == 1) {
    TComponent* Root = Forms.front()->GetRoot();
    Open = Format("%s open (%d components)", {Root->Name(), Root->ComponentCount()});
  } else {
    Open = Format("%d forms open", {int(Forms.size())});
    if (TDesigner* D = Session.Ide().ActiveDesigner()) Open += ", " + D->GetRoot()->Name() + " active";
  }
  return Format("omide%d %s: %s. Type 'help', Tab completes, Ctrl+D quits.",
                {OM_HOST_RELEASE, String(OM_VERSION), Open});
}

}  // namespace

int main(int Argc, char** Argv) {
  RegisterModule(&OmThisModule);
  String Script, Commands, PackageFile, Pictures;
  bool Json = false, NoPackage = false, NoDemo = false, Demo = false, Tour = false;
  static const option Options[] = {{"script", required_argument, nullptr, 's'},
                                   {"json", no_argument, nullptr, 'j'},
                                   {"pictures", required_argument, nullptr, 'P'},
                                   {"package", required_argument, nullptr, 'p'},
                                   {"no-package", no_argument, nullptr, 'n'},
                                   {"no-demo", no_argument, nullptr, 'd'},
                                   {"demo", no_argument, nullptr, 'D'},
                                   {"tour", no_argument, nullptr, 'T'},
                                   {"settings", required_argument, nullptr, 'S'},
                                   {"help", no_argument, nullptr, 'h'},
                                   {"version", no_argument, nullptr, 'v'},
                                   {nullptr, 0, nullptr, 0}};
  int Opt;
  while ((Opt = getopt_long(Argc, Argv, "c:h", Options, nullptr)) != -1) {
    switch (Opt) {
      case 's': Script = optarg; break;
      case 'c': Commands = optarg; break;
      case 'j': Json = true; break;
      case 'P': Pictures = optarg; break;
      case 'p': PackageFile = optarg; break;
      case 'n': NoPackage = true; break;
      case 'd': NoDemo = true; break;
      case 'D': Demo = true; break;
      case 'T': Tour = true; break;
      case 'S': SetSettingsStoreFile(optarg); break;
      case 'h': std::printf(Help, OM_HOST_RELEASE); return 0;
      case 'v':
        std::printf("omide%d %s: the stand-in IDE of release %d for Ombrix Components 3.0\n", OM_HOST_RELEASE,
                    OM_VERSION, OM_HOST_RELEASE);
        return 0;
      default: std::fprintf(stderr, Help, OM_HOST_RELEASE); return 2;
    }
  }

  // Not at a terminal, the demo is shown by its tour: nobody is there to type.
  if (Demo && !isatty(STDIN_FILENO)) Tour = true;
  if (int(!Script.empty()) + int(!Commands.empty()) + int(Tour) > 1) {
    std::fprintf(stderr, "omide%d: only one of --script, -c and --tour can be given\n", OM_HOST_RELEASE);
    return 2;
  }
  if ((Demo || Tour) && (NoDemo || optind < Argc)) {
    std::fprintf(stderr, "omide%d: --demo and --tour open the demo, not other forms\n", OM_HOST_RELEASE);
    return 2;
  }
  if (Tour) Script = TourScript();

  TSession Session(Json);
  bool PackageFailed = false;
  try {
    if (!Pictures.empty()) Session.SetPicturesFolder(Pictures);
    if (!NoPackage) {
      String File = PackageFile.empty() ? PackageFileBesideIde(OM_HOST_RELEASE == 5 ? "DCLOmbrix50" : "DCLOmbrix60")
                                        : PackageFile;
      TPackageRecord* P = Session.Ide().Packages().Load(File);
      for (const String& E : P->Errors) std::fprintf(stderr, "%s\n", E.c_str());
      // A script or commands run with what did register, and end with status 1.
      PackageFailed = !P->Errors.empty();
    }
    std::vector<String> Forms(Argv + optind, Argv + Argc);
    if (Forms.empty() && !NoDemo && !DemoForm().empty()) Forms.push_back(DemoForm());
    for (const String& F : Forms) Session.Ide().OpenForm(F);
  } catch (Exception& E) {
    std::fprintf(stderr, "omide%d: %s\n", OM_HOST_RELEASE, E.Message.c_str());
    return 1;
  }

  if (!Script.empty()) {
    String Text;
    try {
      Text = ReadFileToString(Script);
    } catch (Exception& E) {
      std::fprintf(stderr, "omide%d: %s\n", OM_HOST_RELEASE, E.Message.c_str());
      return 1;
    }
    int Status = Session.RunScript(Text, Script, stdout);
    return Status ? Status : PackageFailed ? 1 : 0;
  }
  if (!Commands.empty()) {
    // A `;` separates commands, but not inside a quoted word (`echo 'a;b'`).
    char Quote = 0;
    for (char& C : Commands) {
      if (Quote && C == Quote) Quote = 0;
      else if (!Quote && (C == '\'' || C == '"')) Quote = C;
      else if (!Quote && C == ';') C = '\n';
    }
    int Status = Session.RunScript(Commands, "-c", stdout);
    return Status ? Status : PackageFailed ? 1 : 0;
  }

  // A person at a terminal: errors are told and the session goes on, and the about box's
  // links open in the desktop's browser.
  bool Terminal = isatty(STDIN_FILENO);
  SetShellInteractive(Terminal);
  String Prompt = "omide" + IntToStr(OM_HOST_RELEASE);
  std::unique_ptr<THistory> History;
  if (Terminal) {
    Completing = &Session;
    rl_readline_name = "omide";
    rl_attempted_completion_function = CompleteAtPrompt;
    rl_completer_word_break_characters = const_cast<char*>(" \t");
    rl_completer_quote_characters = "'\"";
    rl_variable_bind("completion-ignore-case", "on");
    History = std::make_unique<THistory>(HistoryFile());
    if (!Json) {  // with --json every line printed is a JSON document
      std::printf("%s\n", Hint(Session).c_str());
      std::fflush(stdout);
    }
  }
  Session.RunInteractive(
      [&](const String& Inside, String& Line) {
        if (Terminal) {
          // Inside a modal window the prompt names it: what is typed runs there.
          String Shown = Prompt + (Inside.empty() ? String() : " [" + Inside + "]") + "> ";
          char* Raw = readline(Shown.c_str());
          if (!Raw) return false;
          Line = Raw;
          std::free(Raw);
          History->Add(Line);
          return true;
        }
        char Buf[65536];
        if (!std::fgets(Buf, sizeof Buf, stdin)) return false;
        Line = TrimRight(Buf);
        return true;
      },
      stdout);
  return 0;
}
