// The IDE's side of the shell: what was asked of it, and whether it really opens things.
#pragma once

#include <sys/types.h>

#include <vector>

#include "ShellAPI.h"

// One ShellExecuteA call as it was made, and what came of it.
struct TShellRequest {
  HWND Parent;
  String Operation;
  String File;
  String Parameters;
  String Directory;
  int ShowCmd;
  int Result;    // as ShellExecuteA returned it
  pid_t Opener;  // the opener started for it, or 0
};

PACKAGE const std::vector<TShellRequest>& ShellRequests();
PACKAGE void ClearShellRequests();

// In an interactive session the address goes to the desktop's opener (xdg-open, found
// on PATH); otherwise requests are only recorded. Off until the front end turns it on.
PACKAGE void SetShellInteractive(bool Value);
PACKAGE bool ShellInteractive();
// Waits for every opener started so far to finish (a session that ends, a test).
PACKAGE void WaitForShellOpeners();
