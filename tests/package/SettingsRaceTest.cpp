// Two IDEs closing their columns editors at the same moment, again and again: the settings
// store stays a valid database, and what it holds is one IDE's settings, never a mix.
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ColumnsEditorFixture.h"

namespace {

// Waits for an IDE's word that it closed its editor (its number) and counts it in Closed:
// "" when it comes, else why not. An IDE that dies or hangs before its last round fails the
// test at once or within a minute, instead of leaving it waiting for ctest's limit.
std::string AwaitClose(int Done, pid_t (&Children)[2], int (&Closed)[2], int Rounds) {
  for (int Tenths = 0; Tenths < 600; ++Tenths) {
    pollfd P{Done, POLLIN, 0};
    char C;
    if (poll(&P, 1, 100) == 1) {
      if (read(Done, &C, 1) != 1) return "both IDEs are gone";
      ++Closed[C - '0'];
      return "";
    }
    for (int I = 0; I < 2; ++I) {
      int Status = 0;
      if (Children[I] > 0 && Closed[I] < Rounds && waitpid(Children[I], &Status, WNOHANG) == Children[I]) {
        Children[I] = 0;
        return "IDE " + std::to_string(I) + " ended after " + std::to_string(Closed[I]) +
               " rounds, " +
               (WIFEXITED(Status) ? "exit status " + std::to_string(WEXITSTATUS(Status))
                                  : "signal " + std::to_string(WTERMSIG(Status)));
      }
    }
  }
  return "an IDE did not close its columns editor within a minute";
}

class SettingsRaceTest : public ColumnsEditorTest {
 protected:
  bool StoreIsValid() {
    sqlite3* Db = nullptr;
    sqlite3_open_v2((Folder / "settings.db").c_str(), &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, "PRAGMA integrity_check", -1, &S, nullptr);
    bool Ok = sqlite3_step(S) == SQLITE_ROW &&
              std::string(reinterpret_cast<const char*>(sqlite3_column_text(S, 0))) == "ok";
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return Ok;
  }
};

TEST_F(SettingsRaceTest, TwoIdesClosingColumnsEditorsAtOnceLeaveOneIdesSettings) {
  const int Rounds = 40;
  // Each IDE's window has a size and a layout of its own: IDE 0 small with the tool bar,
  // IDE 1 large with large buttons and without it.
  int Go[2][2], Done[2];
  ASSERT_EQ(pipe(Done), 0);
  pid_t Children[2] = {0, 0};
  int Closed[2] = {0, 0};
  for (int P = 0; P < 2; ++P) {
    ASSERT_EQ(pipe(Go[P]), 0);
    Children[P] = fork();
    ASSERT_GE(Children[P], 0);
    if (Children[P] == 0) {
      for (int Round = 0; Round < Rounds; ++Round) {
        TOmDBGridColumnsEditor* W = Open();
        W->SetBounds(0, 0, P ? 640 : 420, P ? 560 : 330);
        if (W->Labels->Checked() != (P == 1)) Perform(W->Labels);
        if (W->Toolbar->Checked() != (P == 0)) Perform(W->Toolbar);
        char C;
        if (read(Go[P][0], &C, 1) != 1) _exit(2);
        W->Close();
        Application->ProcessMessages();
        C = char('0' + P);
        if (write(Done[1], &C, 1) != 1) _exit(3);
      }
      _exit(Application->Errors().empty() ? 0 : 1);
    }
  }
  // Only the children write Done: when both are gone, reading it ends.
  close(Done[1]);
  // However the test ends, no IDE is left behind waiting for a round that never comes.
  struct TReaper {
    pid_t* Children;
    ~TReaper() {
      for (int P = 0; P < 2; ++P)
        if (Children[P] > 0) {
          kill(Children[P], SIGKILL);
          waitpid(Children[P], nullptr, 0);
        }
    }
  } Reaper{Children};
  // A child that died leaves its Go pipe without a reader: writing to it fails, not kills.
  struct TNoSigPipe {
    void (*Old)(int) = signal(SIGPIPE, SIG_IGN);
    ~TNoSigPipe() { signal(SIGPIPE, Old); }
  } NoSigPipe;
  for (int Round = 0; Round < Rounds; ++Round) {
    // Both are let go at once; the round ends when both have closed.
    for (int P = 0; P < 2; ++P) {
      ASSERT_EQ(write(Go[P][1], "g", 1), 1) << "round " << Round << ": IDE " << P << " is gone";
    }
    for (int P = 0; P < 2; ++P) ASSERT_EQ(AwaitClose(Done[0], Children, Closed, Rounds), "") << "round " << Round;
    ASSERT_TRUE(StoreIsValid()) << "round " << Round;
    TRegIniFile Ini(SettingsKey());
    int Width = Ini.ReadInteger("TDBGridColumns", "Width", -1),
        Height = Ini.ReadInteger("TDBGridColumns", "Height", -1);
    bool Large = Ini.ReadBool("TDBGridColumns", "LargeButtons", false),
         Bar = Ini.ReadBool("TDBGridColumns", "Toolbar", false);
    bool Ide0 = Width == 420 && Height == 330 && !Large && Bar;
    bool Ide1 = Width == 640 && Height == 560 && Large && !Bar;
    EXPECT_TRUE(Ide0 || Ide1) << "round " << Round << ": a mix of both IDEs' settings: " << Width << "x"
                              << Height << ", large buttons " << Large << ", tool bar " << Bar;
  }
  for (pid_t& C : Children) {
    int Status = -1;
    ASSERT_EQ(waitpid(C, &Status, 0), C);
    C = 0;
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
  }
}

}  // namespace
