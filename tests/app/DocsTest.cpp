// The manual's examples are run as they stand: a block that starts at the prompt
// (`omide6> ...`) is typed into a fresh omide on the demo, a block that starts with
// `$ omide6 ...` is run from the shell, and what they print must be what the manual shows.
// A line `...` stands for any lines. So the manual cannot drift from what omide does.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using std::string;

const string Release = std::to_string(OM_HOST_RELEASE);
const string Prompt = "omide" + Release;
// The manual is written for release 6, for a person whose home is /home/me with this
// checkout in ombrix and its build in ombrix/build/default.
const string ManualRoot = "/home/me/ombrix";

struct TExample {
  int Line = 0;                  // of the manual, where the block starts
  string Shell;                  // the arguments of a `$ omide6 ...` block
  std::vector<string> Commands;  // what is typed at the prompt
  std::vector<string> Expected;  // what the block shows omide print
};

string ReplaceAll(string S, const string& From, const string& To) {
  for (size_t At = 0; (At = S.find(From, At)) != string::npos; At += To.size()) S.replace(At, From.size(), To);
  return S;
}

// The manual's words for release 6, said for the release under test.
string ForRelease(const string& S) {
  if (Release == "6") return S;
  // A release-5 package names the packages it requires without their files.
  string R = ReplaceAll(S, "requires: VCLOmbrix60.bpl, designide60.bpl", "requires: VCLOmbrix50");
  R = ReplaceAll(R, "release: 6", "release: 5");
  R = ReplaceAll(R, "omide6", "omide" + Release);
  R = ReplaceAll(R, "DCLOmbrix60", "DCLOmbrix@0");
  R = ReplaceAll(R, "DCLOmbrix50", "DCLOmbrix60");
  R = ReplaceAll(R, "DCLOmbrix@0", "DCLOmbrix50");
  R = ReplaceAll(R, "release 5", "release @");
  R = ReplaceAll(R, "release 6", "release 5");
  return ReplaceAll(R, "release @", "release 6");
}

std::vector<TExample> Examples(const string& File) {
  std::ifstream In(File);
  std::vector<TExample> R;
  string Line;
  int Number = 0;
  bool InBlock = false;
  TExample* Current = nullptr;
  std::regex PromptLine("^omide6( \\[[^\\]]*\\])?> (.*)$");
  while (std::getline(In, Line)) {
    ++Number;
    if (Line.rfind("```", 0) == 0) {
      InBlock = !InBlock;
      Current = nullptr;
      if (InBlock) R.push_back(TExample{Number + 1, {}, {}, {}});
      continue;
    }
    if (!InBlock) continue;
    TExample& E = R.back();
    std::smatch M;
    bool First = E.Commands.empty() && E.Shell.empty() && E.Expected.empty();
    if (std::regex_match(Line, M, PromptLine) && E.Shell.empty()) {
      E.Commands.push_back(M[2]);
      Current = &E;
    } else if (First && Line.rfind("$ omide6 ", 0) == 0) {
      E.Shell = Line.substr(9);
      Current = &E;
    } else if (Current) {
      E.Expected.push_back(Line);
    } else {
      E.Line = 0;  // not an example: a sketch of the command line or of a file
    }
  }
  std::vector<TExample> Runnable;
  for (TExample& E : R)
    if (E.Line && (!E.Commands.empty() || !E.Shell.empty())) Runnable.push_back(E);
  return Runnable;
}

// Runs a shell command in the source folder; what it printed, both streams in order.
string Output(const string& Command) {
  string Full = "cd '" + string(OM_SOURCE_DIR) + "' && " + Command + " 2>&1";
  FILE* P = popen(Full.c_str(), "r");
  if (!P) return "(popen failed)";
  string Out;
  char Buf[4096];
  for (size_t N; (N = fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
  pclose(P);
  return Out;
}

std::vector<string> Lines(const string& Text) {
  std::vector<string> R;
  std::istringstream In(Text);
  for (string L; std::getline(In, L);) R.push_back(L);
  return R;
}

// Whether the lines match the expected ones, where a line `...` is any lines.
bool Matches(const std::vector<string>& Expected, size_t E, const std::vector<string>& Actual, size_t A) {
  if (E == Expected.size()) return A == Actual.size();
  if (Expected[E] == "...") {
    for (size_t Skip = A; Skip <= Actual.size(); ++Skip)
      if (Matches(Expected, E + 1, Actual, Skip)) return true;
    return false;
  }
  return A < Actual.size() && Expected[E] == Actual[A] && Matches(Expected, E + 1, Actual, A + 1);
}

class ManualTest : public ::testing::Test {
 protected:
  string Scratch = (std::filesystem::temp_directory_path() / ("omide-manual-" + std::to_string(getpid()))).string();
  void SetUp() override { std::filesystem::create_directories(Scratch); }
  void TearDown() override { std::filesystem::remove_all(Scratch); }

  // What omide printed for the example, in the manual's words. Each example starts afresh:
  // a settings store and a home folder of its own (examples save into ${HOME}), and what
  // it leaves modified is discarded once it is done.
  string Run(const TExample& E, int Index) {
    string Home = Scratch + "/home" + std::to_string(Index);
    std::filesystem::create_directories(Home);
    string Env = "HOME='" + Home + "' OMIDE_SETTINGS='" + Home + "/settings.db' ";
    string Omide = "'" + string(OM_OMIDE) + "' ";
    string Build = string(OM_BIN_DIR).substr(0, string(OM_BIN_DIR).size() - 4);
    string Out;
    if (!E.Shell.empty()) {
      Out = Output(Env + Omide + ReplaceAll(" " + ForRelease(E.Shell), " build/default", " " + Build));
    } else {
      string Typed;
      for (const string& C : E.Commands) Typed += ForRelease(C) + "\n";
      string Input = Home + "/input";
      std::ofstream(Input) << ReplaceAll(Typed, " build/default", " " + Build) << "quit --discard\n";
      Out = Output(Env + Omide + "< '" + Input + "'");
    }
    Out = ReplaceAll(Out, Build, ManualRoot + "/build/default");
    Out = ReplaceAll(Out, OM_SOURCE_DIR, ManualRoot);
    return ReplaceAll(Out, Home, "/home/me");
  }
};

TEST_F(ManualTest, EveryExamplePrintsWhatTheManualShows) {
  std::vector<TExample> All = Examples(string(OM_SOURCE_DIR) + "/docs/omide.md");
  ASSERT_GT(All.size(), 20u);
  for (size_t I = 0; I < All.size(); ++I) {
    const TExample& E = All[I];
    std::vector<string> Expected;
    for (const string& L : E.Expected) Expected.push_back(ForRelease(L));
    string Out = Run(E, int(I));
    EXPECT_TRUE(Matches(Expected, 0, Lines(Out), 0))
        << "docs/omide.md:" << E.Line << ": the example printed\n"
        << Out;
  }
}

// The tutorial is one session: its examples run one after the other in one omide, from a
// new form to the saved file, and print what the tutorial shows.
TEST_F(ManualTest, TheTutorialDesignsAndSavesItsFormAsItSays) {
  TExample Whole;
  for (const TExample& E : Examples(string(OM_SOURCE_DIR) + "/docs/tutorial.md")) {
    ASSERT_TRUE(E.Shell.empty()) << "docs/tutorial.md:" << E.Line << ": the tutorial is typed at the prompt";
    Whole.Commands.insert(Whole.Commands.end(), E.Commands.begin(), E.Commands.end());
    Whole.Expected.insert(Whole.Expected.end(), E.Expected.begin(), E.Expected.end());
  }
  ASSERT_GT(Whole.Commands.size(), 50u);
  std::vector<string> Expected;
  for (const string& L : Whole.Expected) Expected.push_back(ForRelease(L));
  string Out = Run(Whole, 0);
  EXPECT_TRUE(Matches(Expected, 0, Lines(Out), 0)) << "the tutorial printed\n" << Out;
  EXPECT_TRUE(std::filesystem::exists(Scratch + "/home0/OrdersForm.dfm"));
}

// Every command the session knows is shown at work in the manual.
TEST_F(ManualTest, EveryCommandHasAnExample) {
  std::set<string> Used;
  for (const TExample& E : Examples(string(OM_SOURCE_DIR) + "/docs/omide.md")) {
    for (const string& C : E.Commands) Used.insert(C.substr(0, C.find(' ')));
    std::smatch M;
    std::regex Word("(?:^|[ ';])([a-z-]+)(?=[ ';]|$)");
    for (string S = E.Shell; std::regex_search(S, M, Word); S = M.suffix()) Used.insert(M[1]);
  }
  string Help = Output("OMIDE_SETTINGS='" + Scratch + "/s.db' '" + string(OM_OMIDE) + "' --no-demo -c help");
  for (const string& L : Lines(Help)) {
    string Name = L.substr(0, L.find(' '));
    if (!Name.empty()) {
      EXPECT_TRUE(Used.count(Name)) << "the manual shows no example of " << Name;
    }
  }
}

}  // namespace
