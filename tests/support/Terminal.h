// A program at a pseudo-terminal, as a person at a terminal runs it: what is typed goes
// to its input, what it shows is read back with a deadline, so that nothing waits forever.
#pragma once

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

class TTerminal {
 public:
  using TEnv = std::vector<std::pair<std::string, std::string>>;

  // Starts Program with Args (Args[0] is its name) in a fresh terminal, with these
  // variables set besides the inherited ones.
  TTerminal(const std::string& Program, const std::vector<std::string>& Args, const TEnv& Env) {
    winsize Size{};
    Size.ws_row = 40;
    Size.ws_col = 200;
    FPid = forkpty(&FMaster, nullptr, nullptr, &Size);
    if (FPid == 0) {
      for (const auto& [Name, Value] : Env) setenv(Name.c_str(), Value.c_str(), 1);
      std::vector<char*> Argv;
      for (const std::string& A : Args) Argv.push_back(const_cast<char*>(A.c_str()));
      Argv.push_back(nullptr);
      execv(Program.c_str(), Argv.data());
      _exit(127);
    }
  }
  TTerminal(const TTerminal&) = delete;
  TTerminal& operator=(const TTerminal&) = delete;
  ~TTerminal() {
    if (FPid > 0 && !FExited) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
    if (FMaster >= 0) close(FMaster);
  }

  bool Started() const { return FPid > 0 && FMaster >= 0; }

  void Type(const std::string& Keys) {
    size_t Done = 0;
    while (Done < Keys.size()) {
      ssize_t N = write(FMaster, Keys.data() + Done, Keys.size() - Done);
      if (N <= 0) return;
      Done += size_t(N);
    }
  }

  // Reads until Text shows after what an earlier Expect found; false when the time is up
  // or the program closed the terminal first. The terminal's carriage returns and bells are dropped.
  bool Expect(const std::string& Text, double Seconds = 10) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
    for (;;) {
      size_t At = FShown.find(Text, FFrom);
      if (At != std::string::npos) {
        FFrom = At + Text.size();
        return true;
      }
      auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
      if (Left.count() <= 0 || !ReadSome(int(Left.count()))) return false;
    }
  }

  // Waits for the program to end, reading what it still shows; its exit status, or -1
  // when it had not ended in time (it is then killed).
  int Wait(double Seconds = 20) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
    for (;;) {
      int Status;
      pid_t P = waitpid(FPid, &Status, WNOHANG);
      if (P == FPid) {
        FExited = true;
        while (ReadSome(0)) {
        }
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
      }
      auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
      if (Left.count() <= 0) return -1;
      if (!ReadSome(int(std::min<long long>(Left.count(), 50)))) usleep(10000);
    }
  }

  // All the terminal showed so far.
  const std::string& Shown() const { return FShown; }
  // What it showed after the last thing Expect found.
  std::string Rest() const { return FShown.substr(FFrom); }

 private:
  bool ReadSome(int Milliseconds) {
    pollfd P{FMaster, POLLIN, 0};
    if (poll(&P, 1, Milliseconds) <= 0) return false;
    char Buffer[4096];
    ssize_t N = read(FMaster, Buffer, sizeof Buffer);
    if (N <= 0) return false;  // the program closed the terminal
    // A line redrawn goes back with backspaces and writes over what was there.
    for (ssize_t I = 0; I < N; ++I)
      if (Buffer[I] == '\b') {
        if (!FShown.empty() && FShown.back() != '\n') FShown.pop_back();
        FFrom = std::min(FFrom, FShown.size());
      } else if (Buffer[I] != '\r' && Buffer[I] != '\a') {
        FShown += Buffer[I];
      }
    return true;
  }

  int FMaster = -1;
  pid_t FPid = -1;
  bool FExited = false;
  std::string FShown;
  size_t FFrom = 0;
};
