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

class TOpenDialog;

// What Tab offers for the word a person is typing.
struct TCompletion {
  size_t Start = 0;                // where that word starts in the line
  std::vector<String> Candidates;  // each replaces the line from Start, quoted where it must be
};

class TSession {
 public:
  explicit TSession(bool Json);
  ~TSession();

  TIde& Ide() noexcept { return *FIde; }
  // Runs one line; raises Exception with what was wrong. A modal window it opens takes
  // only the input queued ahead.
  TCommandResult Run(const String& Line);
  // Runs a command already split into words (its name first).
  TCommandResult RunWords(std::vector<String> Words);
  // Runs every line of a script; stops at the first error, which names the line.
  // A modal window that finds no input queued runs the script's next lines inside it
  // until it closes.
  // Returns the process exit status.
  int RunScript(const String& Text, const String& Where, FILE* Out);
  // The next line a person types; Inside names the modal window (or dialog) the line
  // will run in, empty when none waits. False at the end of input.
  using TReadLine = std::function<bool(const String& Inside, String& Line)>;
  // Runs what a person types until quit or the end of input: an error is told and the
  // session goes on, inside a modal window too.
  void RunInteractive(const TReadLine& Read, FILE* Out);
  // Prints a result as the session's mode wants it.
  void Print(const TCommandResult& R, const String& Command, FILE* Out);
  bool QuitRequested() const noexcept { return FQuit; }
  std::vector<String> CommandNames() const;
  // The example `help COMMAND` shows under the usage (empty for no such command).
  String CommandExample(const String& Name) const;
  // The words that may end LineBeforeCursor, by what its command takes there: command
  // names, then forms, components, properties, windows, controls... of the session as it
  // is now. Matched without regard to case (Completion.cpp).
  TCompletion Complete(const String& LineBeforeCursor) const;

  // Splits a line into words: blanks separate, quotes ('...' or "...") keep blanks.
  static std::vector<String> Words(const String& Line);

  // From now on, a picture goes into Folder (made if missing) after every line that
  // changed what is on screen; empty stops it. Raises EFCreateError when the folder
  // cannot be made.
  void SetPicturesFolder(const String& Folder);
  // A window as `picture WINDOW` paints it, frame and caption bar and all: by name (an
  // unnamed one by its caption), `active`, or the waiting file dialog by its title. Shown
  // gets the name of what was painted.
  std::unique_ptr<TBitmap> WindowPicture(const String& Name, String& Shown) const;

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
    String Example;  // one line that works on the bundled demo form, for `help COMMAND`
    TWords Words;
    TReach Reach;
    THandler Handler;
  };
  void Define(const String& Name, const String& Usage, const String& Help, const String& Example,
              TWords Words, THandler Handler, TReach Reach = Anywhere);

  // The commands by area, each in its own file.
  void DefineSessionCommands();    // Session.cpp: help, quit, echo, shell, settings
  void DefinePackageCommands();    // CommandsPackages.cpp
  void DefineFormCommands();       // CommandsForms.cpp
  void DefineInspectorCommands();  // CommandsInspector.cpp
  void DefineWindowCommands();     // CommandsWindows.cpp
  void DefineInputCommands();      // CommandsInput.cpp
  void DefineExpectCommands();     // CommandsExpect.cpp
  // What `expect NAME = ...` compares: NAME's values as the looking commands show them
  // (Many when NAME has a list of them); whether NAME is in a state's first side.
  std::vector<String> ExpectedValues(const String& Name, bool& Many) const;
  bool InState(const String& Name, const String& State) const;
  TComponent* ExpectedPart(const String& Name) const;
  void DefinePictureCommands();    // CommandsPictures.cpp

  TDesigner* Form() const;  // the active designer, or an error
  // Whether a modified form may go: a person is asked (save, discard, cancel); a script
  // must have said --discard. False when the person cancelled.
  bool LetGo(TDesigner* D, bool Discard, const String& Command);
  // Saves the form to File (its own file when empty); its own file changed by another
  // program since is replaced only when Overwrite says so or a person agrees. False when
  // the person declined.
  bool SaveForm(TDesigner* D, const String& File, bool Overwrite);
  // Every form may go (see LetGo); false when a person cancelled for one of them.
  bool LetAllGo(bool Discard, const String& Command);
  TPersistent* Resolve(const String& Path) const;
  TComponent* ResolveComponent(const String& Path) const;
  TCommandResult Inspect(const std::vector<String>& Args);
  // The candidates for one word of a command's, of the kind the command takes there.
  void CompleteWord(const String& Kind, const String& Before, const String& Typed,
                    std::vector<String>& Into) const;
  // Windows by name or caption ("active" for the active one); Window raises when none is
  // open, FindWindow gives null.
  TCustomForm* Window(const String& Name) const;
  TCustomForm* FindWindow(const String& Name) const;
  // A window's control or menu item (by name or caption), or the window itself.
  TComponent* WindowPart(const String& Path) const;
  // The file dialog waiting for input innermost, when Name is empty or its title; else null.
  TOpenDialog* WaitingFileDialog(const String& Name) const;
  TControl* Control(const String& Path) const;
  // The drags of the input commands: a point given as a row or X,Y, what a held drag is
  // over, and letting it go.
  TPoint DragPoint(TControl* C, const String& Where) const;
  TCommandResult DragReport() const;
  String DragPlace(TJson& Json) const;
  TCommandResult ReleaseDrag();
  // Input given now is handled now; input given `ahead` waits for the modal window a
  // later command opens; input given inside a modal window waits for its loop.
  void Input(const std::function<void(TInputQueue&)>& Give);
  // Refuses a command that would change what the code of a waiting window holds.
  void CheckNotBehindModal(const String& Command) const;
  bool FAhead = false;

  // Where the lines come from while a script or a person runs them; a modal window
  // that waits for input takes the next line from here.
  struct TFeed {
    std::function<bool(const String& Inside, String& Line, int& Number)> Read;
    String Where;  // the script's file, "-c", or empty for a person
    bool StopAtError = true;
    FILE* Out = nullptr;
  };
  int RunFeed(TFeed& Feed);
  // Runs one line of the feed and prints what it shows or what went wrong; false when
  // it failed and the feed stops at errors.
  bool Step(const String& Line, int Number);
  void Report(const String& Line, int Number, const String& Message);
  // The input source's hook: runs the feed's next lines inside the waiting window.
  bool GiveInput(const TInputWait& Waiting);
  TFeed* FFeed = nullptr;
  // The line running innermost, which what is on screen now comes from unless a window's
  // loop is still to handle the input of FPendingLine.
  String FRunningLine;
  int FRunningNumber = 0;

  // --pictures: what was on screen when the last picture was written (each shown window,
  // front first, and its picture), and how many were written.
  struct TShownWindow {
    String Name;
    std::shared_ptr<TBitmap> Image;
  };
  std::vector<TShownWindow> ShownWindows() const;
  // Writes a picture of the front-most window that changed since the last one written,
  // named after the line (its number and command); nothing when nothing changed.
  void RecordScreen(const String& Line, int Number);
  String FPicturesFolder;
  std::vector<TShownWindow> FShown;
  int FPicturesWritten = 0;
  // The windows waiting for the lines the feed gives now, innermost last.
  std::vector<TInputWait> FWaits;
  // The last line run inside a waiting window: the window's loop handles its input
  // after it, and an error of a handler there is that line's.
  String FPendingLine;
  int FPendingNumber = 0;
  bool FPendingInput = false;  // the window's loop has not yet asked for more
  String FLastCommand;

  std::unique_ptr<TIde> FIde;
  std::map<String, TCommand> FCommands;
  bool FJson;
  bool FQuit = false;
};
