// omide's script language: any line splits into words that, quoted again, split back into
// the same words; and a session on the demo form runs any line of the commands that stay
// inside the IDE (no shell, no files written, no packages loaded from elsewhere) to a
// result or an error, never to a crash.
#include <set>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "Packages.h"
#include "Session.h"

namespace {

std::string Quote(const std::string& W) {
  std::string R = "'";
  for (char C : W) R += C == '\'' ? "''" : std::string(1, C);
  return R + "'";
}

// Commands that write files, run programs, load libraries or read files named by the
// line are left out: a fuzzer must not be able to reach outside its scratch folder.
const std::set<std::string> Allowed = {
    "expect", "forms", "new", "activate", "close", "components", "text", "methods", "menu",
    "verb", "dblclick", "drop", "editmenu", "click", "click-at", "double", "item", "key",
    "type", "choose", "drag", "hover", "release", "splitter", "select", "selection", "inspect",
    "row", "inspector", "values", "set", "categories", "packages", "package-log", "palette",
    "windows", "window", "closewindow", "activatewindow", "dialogs", "message", "expression",
    "help", "echo", "quit", "answer", "ahead"};

// `ahead` queues the input of a later window; a file name for a file dialog is left out.
bool MayRun(const std::vector<String>& Words) {
  if (Words.empty() || !Allowed.count(Words[0])) return false;
  return Words[0] != "ahead" || (Words.size() > 1 && Allowed.count(Words[1]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string Text(reinterpret_cast<const char*>(Data), Size);
  std::istringstream In(Text);
  std::vector<std::vector<String>> Lines;
  for (std::string Line; std::getline(In, Line);) {
    std::vector<String> Words;
    try {
      Words = TSession::Words(Line);
    } catch (EConvertError& E) {
      OM_FUZZ_CHECK(E.Message.find("column") != String::npos, E.Message);
      continue;
    }
    bool Variables = Line.find("${") != std::string::npos;
    if (!Variables) {
      std::string Again;
      for (const String& W : Words) Again += Quote(W) + " ";
      OM_FUZZ_CHECK(TSession::Words(Again) == Words, Line);
    }
    if (MayRun(Words)) Lines.push_back(Words);
  }
  if (Lines.empty()) return 0;

  TSession Session(false);
  Session.Ide().Packages().Load(PackageFileBesideIde(OM_HOST_RELEASE == 5 ? "DCLOmbrix50" : "DCLOmbrix60"));
  Session.Ide().OpenForm(OM_FUZZ_DEMO_FORM);
  for (auto& Words : Lines) {
    if (Session.QuitRequested()) break;
    try {
      Session.RunWords(Words);
    } catch (Exception& E) {
      OM_FUZZ_CHECK(!E.Message.empty(), Words[0]);
    }
  }
  return 0;
}
