#include "Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "SysUtils.h"

extern char** environ;

namespace {

bool Interactive = false;

// Made on first use: loading the library runs no code.
std::vector<TShellRequest>& Requests() {
  static std::vector<TShellRequest> List;
  return List;
}
std::vector<pid_t>& Openers() {  // started and not yet waited for
  static std::vector<pid_t> List;
  return List;
}

// Collects openers that have finished, so that none lingers as a zombie.
void ReapOpeners(bool Wait) {
  std::erase_if(Openers(), [Wait](pid_t Pid) {
    int Status;
    pid_t R;
    do R = waitpid(Pid, &Status, Wait ? 0 : WNOHANG);
    while (R < 0 && errno == EINTR);
    return R != 0;
  });
}

// Starts "xdg-open File" without a shell: the address is one argument, whatever it holds.
int StartOpener(const String& File, const String& Directory, pid_t& Pid) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
  if (!Directory.empty()) posix_spawn_file_actions_addchdir_np(&Actions, Directory.c_str());
  String Program = "xdg-open";
  char* Argv[] = {Program.data(), const_cast<char*>(File.c_str()), nullptr};
  int Err = posix_spawnp(&Pid, Program.c_str(), &Actions, nullptr, Argv, environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Err != 0) {
    Pid = 0;
    return Err == ENOMEM ? SE_ERR_OOM : SE_ERR_NOASSOC;
  }
  Openers().push_back(Pid);
  return 42;
}

}  // namespace

HWND GetDesktopWindow() {
  static char Desktop;
  return reinterpret_cast<HWND>(&Desktop);
}

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd) {
  ReapOpeners(false);
  TShellRequest R{hwnd,
                  lpOperation ? lpOperation : "",
                  lpFile ? lpFile : "",
                  lpParameters ? lpParameters : "",
                  lpDirectory ? lpDirectory : "",
                  nShowCmd,
                  42,
                  0};
  if (R.File.empty())
    R.Result = SE_ERR_FNF;
  else if (!R.Operation.empty() && !SameText(R.Operation, "open"))
    R.Result = SE_ERR_NOASSOC;  // the desktop's opener only opens
  else if (R.File[0] == '-')
    R.Result = SE_ERR_ACCESSDENIED;  // the opener would take it for one of its options
  else if (!R.Directory.empty() && !DirectoryExists(R.Directory))
    R.Result = SE_ERR_PNF;
  else if (Interactive)
    R.Result = StartOpener(R.File, R.Directory, R.Opener);
  Requests().push_back(R);
  // The platform's ShellExecute returns its result code as a handle.
  return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(R.Result));  // NOLINT(performance-no-int-to-ptr)
}

const std::vector<TShellRequest>& ShellRequests() { return Requests(); }
void ClearShellRequests() { Requests().clear(); }
void SetShellInteractive(bool Value) { Interactive = Value; }
bool ShellInteractive() { return Interactive; }
void WaitForShellOpeners() { ReapOpeners(true); }
