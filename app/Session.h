// An omide session: the IDE, and the commands a person gives it, from a script, the
// command line or a terminal.
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "Forms.h"
#include "Ide.h"

using TJson = nlohmann::ordered_json;

// What a command shows: text for people, JSON for programs.
struct TCommandResult {
  String Text;
  TJson Json = TJson::object();
};

class TSession {
 public:
  explicit TSession(bool Json);
  ~TSession();

  TIde& Ide() noexcept { return *FIde; }
  // Runs one line; raises Exception with what was wrong.
  TCommandResult Run(const String& Line);
  // Runs every line of a script; stops at the first error, which names the line.
  // Returns the process exit status.
  int RunScript(const String& Text, const String& Where, FILE* Out);
  // Prints a result as the session's mode wants it.
  void Print(const TCommandResult& R, const String& Command, FILE* Out);
  bool QuitRequested() const noexcept { return FQuit; }
  std::vector<String> CommandNames() const;

  // Splits a line into words: blanks separate, quotes ('...' or "...") keep blanks.
  static std::vector<String> Words(const String& Line);

 private:
  using THandler = std::function<TCommandResult(const std::vector<String>& Args)>;
  static constexpr size_t Unbounded = std::numeric_limits<size_t>::max();
  // How many words follow the command's name.
  struct TWords {
    size_t Min = 0;
    size_t Max = 0;
  };
  // Whether a command may run while a modal window waits: looking and giving input may;
  // changing the forms, packages, selection or inspector behind it may not, since the
  // code that opened the window still holds them.
  enum TReach { Anywhere, BehindModal };
  struct TCommand {
    String Usage;
    String Help;
    TWords Words;
    TReach Reach;
    THandler Handler;
  };
  void Define(const String& Name, const String& Usage, const String& Help, TWords Words,
              THandler Handler, TReach Reach = Anywhere);

  // The commands by area, each in its own file.
  void DefineSessionCommands();    // Session.cpp: help, quit, echo, shell, settings
  void DefinePackageCommands();    // CommandsPackages.cpp
  void DefineFormCommands();       // CommandsForms.cpp
  void DefineInspectorCommands();  // CommandsInspector.cpp
  void DefineWindowCommands();     // CommandsWindows.cpp
  void DefineInputCommands();      // CommandsInput.cpp

  TDesigner* Form() const;  // the active designer, or an error
  TPersistent* Resolve(const String& Path) const;
  TComponent* ResolveComponent(const String& Path) const;
  TCommandResult Inspect(const std::vector<String>& Args);
  TCustomForm* Window(const String& Name) const;
  TControl* Control(const String& Path) const;
  // Input given now is handled now; input given `ahead` waits for the modal window a
  // later command opens.
  void Input(const std::function<void(TInputQueue&)>& Give);
  // Refuses a command that would change what the code of an open modal window holds.
  void CheckNotBehindModal(const String& Command) const;
  bool FAhead = false;

  std::unique_ptr<TIde> FIde;
  std::map<String, TCommand> FCommands;
  bool FJson;
  bool FQuit = false;
};
