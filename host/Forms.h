// Forms: windows built from their form descriptions, the application that owns them and
// takes their input, and the screen that lists them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "Controls.h"

class TMainMenu;
class TButton;
class TBitmap;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
OM_ENUM_TYPE(TCloseAction)
OM_EVENT_TYPE(TCloseEvent, TObject*, TCloseAction&)
OM_EVENT_TYPE(TCloseQueryEvent, TObject*, bool&)

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
OM_ENUM_TYPE(TBorderIcon)
OM_SET_TYPE(TBorderIcons, TBorderIcon)
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
OM_ENUM_TYPE(TPosition)
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
OM_ENUM_TYPE(TWindowState)
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
OM_ENUM_TYPE(TFormStyle)

OM_EXCEPTION(EResNotFound, Exception)
// Input that cannot be had or cannot be applied: a modal window waiting on an empty
// queue, an answer no button gives, a click on a control that no longer exists.
OM_EXCEPTION(EInputError, Exception)

class PACKAGE TCustomForm : public TWinControl {
  OM_CLASS(TCustomForm, TWinControl)
 public:
  // The platform reads the form description in this constructor. A C++ base constructor
  // cannot see the class being built, so a form class calls ReadForm first thing in its
  // own constructor, binds its fields, then calls DoCreate.
  explicit TCustomForm(TComponent* AOwner);
  // An empty form without a description (the platform's CreateNew).
  TCustomForm(TComponent* AOwner, int Dummy);
  bool AcceptsControls() const override { return true; }
  ~TCustomForm() override;

  // Reads the description named after the most derived class that has one, from the
  // module that defines that class; raises EResNotFound when there is none.
  void ReadForm();
  // Runs OnCreate.
  virtual void DoCreate();

  TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const noexcept { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
  TPosition Position() const noexcept { return FPosition; }
  void SetPosition(TPosition Value);
  TWindowState WindowState() const noexcept { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const noexcept { return FFormStyle; }
  void SetFormStyle(TFormStyle Value) { FFormStyle = Value; }
  bool KeyPreview() const noexcept { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool Scaled() const noexcept { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  int PixelsPerInch() const noexcept { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  bool OldCreateOrder() const noexcept { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
  bool AutoScroll() const noexcept { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }
  TMainMenu* Menu() const noexcept { return FMenu; }
  void SetMenu(TMainMenu* Value);
  TWinControl* ActiveControl() const noexcept { return FActiveControl; }
  void SetActiveControl(TWinControl* Value);
  TModalResult ModalResult() const noexcept { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  // The frame, the caption bar and the menu bar around the client area.
  TRect BorderMargins() const override;

  // Visible and brought to the front, and activated.
  void Show();
  // Asks OnCloseQuery, then OnClose with the form's close action: caHide hides it,
  // caFree frees it once the input being handled is done, caMinimize minimizes it,
  // caNone keeps it open. A modal form ends its modal loop with mrCancel instead.
  void Close();
  // Hides the form and takes it off the screen's list at once; frees it once nothing
  // of it is running any more (TApplication::ProcessMessages).
  void Release();
  bool Released() const noexcept { return FReleased; }
  virtual bool CloseQuery();
  // Shows the form and handles the application's input until ModalResult is set; the
  // form is hidden again and the result returned.
  virtual int ShowModal();
  bool Modal() const noexcept { return FModal; }
  bool Active() const noexcept { return FActive; }
  // Runs the shortcut through the form's main menu and the action lists and pop-up
  // menus it owns; true when something ran.
  virtual bool IsShortCut(TShortCut Key);
  // The default or cancel button, if any.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;
  // The focus on the first control that can take it, in tab order.
  void SelectFirst();
  // The window as a person sees it: frame, caption bar and client area.
  void PaintWindow(TBitmap* Bitmap);
  // The client area only, in a new bitmap that the caller frees.
  TBitmap* GetFormImage();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  bool HasParent() const override { return false; }
  void SetVisible(bool Value) override;
  void Paint(TCanvas* Canvas) override;

 protected:
  // The activation hooks: the form became, or stopped being, the active window.
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoClose(TCloseAction& Action);
  virtual void DoShow();
  virtual void DoHide();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void VisibleChanged() override;

 private:
  friend class TApplication;
  friend class TScreen;
  friend class TFormBusy;
  bool IsFormSizeStored() const { return FAutoScroll; }
  bool IsClientSizeStored() const { return !FAutoScroll; }
  int GetClientWidth() const { return ClientWidth(); }
  int GetClientHeight() const { return ClientHeight(); }
  bool GetVisible() const { return Visible(); }
  void CloseModal();
  void ApplyPosition();
  bool KeepsClientSize() const;
  void SetActive(bool Value);
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FKeyPreview = false;
  bool FScaled = true;
  int FPixelsPerInch = 96;
  bool FOldCreateOrder = false;
  bool FAutoScroll = true;
  TMainMenu* FMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FActive = false;
  bool FReleased = false;
  bool FPositioned = false;
  int FBusy = 0;  // input being handled by the form, or its modal loop running
};

class PACKAGE TForm : public TCustomForm {
  OM_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  TForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner, Dummy) {}
};

using TFormClass = TClassRef<TCustomForm>;

// --- Input ------------------------------------------------------------------------------

// One thing a person does. The IDE's windows take all their input as such events, from
// the one input source of the application.
struct PACKAGE TInputEvent {
  enum TKind {
    Click,         // a click on Target (at its centre, or At)
    ClickItem,     // a click on item Index of the list view Target
    Key,           // a key with its shift state, to the active window
    Typing,        // characters typed into the focused control
    MenuChoice,    // the menu item Target chosen
    Drag,          // a mouse drag on Target from At to To (over Target2 when given)
    DragMove,      // the held drag moved to To of Target (or to the screen point To)
    DragRelease,   // the held drag's button released: a drop where it is taken
    SplitterDrag,  // the splitter Target dragged by Index pixels
    Answer,        // a button of the active modal window with modal result Index
    FileName,      // a file name typed into an open or save dialog (filter Index if > 0)
  };
  TKind Kind = Click;
  TComponent* Target = nullptr;
  TComponent* Target2 = nullptr;
  bool HasPoint = false;
  TPoint At;
  TPoint To;
  int Index = 0;
  Word KeyCode = 0;
  TShiftState Shift;
  TMouseButton Button = mbLeft;
  bool Double = false;
  bool Hold = false;  // a drag whose button stays down at its end
  String Text;
  String TargetName;  // kept for messages once a target is gone
  bool TargetGone = false;
  // "click OKButton", "key Ctrl+Enter", "answer mrYes"... for messages.
  String Describe() const;
};

// Where the application's input comes from: a queue in tests, a script or a terminal in
// the IDE's front end. Next returns false when no input will ever come.
// The control `Window.Control` names among the open windows, or null.
PACKAGE TControl* FindWindowControl(const String& Path);
// How input and its messages name a component: `Window.Control`, its class when it has no
// name, "(none)" for none.
PACKAGE String ControlName(const TComponent* C);

// Who waits for input: a modal window, a message box, a file dialog.
struct PACKAGE TInputWait {
  String Name;  // short, for a prompt: the window's name (else its caption), a dialog's title
  String Description;  // for messages: `the modal window "About" (TAboutForm)`
  // A dialog that handles its own input (a file dialog), for a front end to show it.
  TComponent* Dialog = nullptr;
};

class PACKAGE TInputSource {
 public:
  virtual ~TInputSource() = default;
  virtual bool Next(TInputEvent& Event) = 0;
  // Whether an event is waiting, without taking it.
  virtual bool HasInput() const = 0;

  // Asked when a window waits for input and none is queued: a front end may give input
  // then (omide runs its next command inside the window). It returns false when it has
  // none to give, and raises when none will ever come. A hook that returns true without
  // giving input is asked again.
  using TWhenEmpty = std::function<bool(const TInputWait& Waiting)>;
  void SetWhenEmpty(TWhenEmpty Hook) { FWhenEmpty = std::move(Hook); }
  // The next event for a window that waits: what is queued first, then what the hook
  // gives; false when nothing comes.
  bool NextFor(const TInputWait& Waiting, TInputEvent& Event);

 private:
  TWhenEmpty FWhenEmpty;
};

class TInputWatcher;

// Input queued ahead, as tests do. A queued event whose target is freed before its turn
// is reported as such when it comes, never dispatched to freed memory.
class PACKAGE TInputQueue : public TInputSource {
 public:
  TInputQueue();
  ~TInputQueue() override;
  TInputQueue& Push(TInputEvent Event);
  TInputQueue& Click(TControl* Control);
  TInputQueue& ClickAt(TControl* Control, int X, int Y, TShiftState Shift = {},
                       TMouseButton Button = mbLeft);
  TInputQueue& DoubleClick(TControl* Control);
  TInputQueue& ClickItem(TControl* ListView, int Index, TShiftState Shift = {});
  TInputQueue& Key(Word KeyCode, TShiftState Shift = {});
  TInputQueue& Type(const String& Text);
  TInputQueue& Choose(TMenuItem* Item);
  // A drag from one point of Control to another (of Over, when given). Held, the button
  // stays down until DragRelease, or Escape cancels the drag.
  TInputQueue& Drag(TControl* Control, TPoint From, TPoint To, TControl* Over = nullptr,
                    bool Hold = false);
  TInputQueue& DragMove(TControl* Over, TPoint To);
  TInputQueue& DragRelease();
  TInputQueue& DragSplitter(TControl* Splitter, int Delta);
  TInputQueue& Answer(int ModalResult);
  TInputQueue& File(const String& FileName, int FilterIndex = 0);
  bool Next(TInputEvent& Event) override;
  bool HasInput() const override { return !FEvents.empty(); }
  int Count() const noexcept { return int(FEvents.size()); }
  void Clear();

 private:
  friend class TInputWatcher;
  void TargetFreed(TComponent* C);
  std::deque<TInputEvent> FEvents;
  TInputWatcher* FWatcher;
};

// --- Application and screen ---------------------------------------------------------------

OM_EVENT_TYPE(TExceptionEvent, TObject*, Exception*)

class PACKAGE TApplication : public TComponent {
  OM_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  const String& Title() const noexcept { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  TCustomForm* MainForm() const noexcept { return FMainForm; }
  void SetMainForm(TCustomForm* Value);
  bool Terminated() const noexcept { return FTerminated; }
  void Terminate() { FTerminated = true; }
  const String& Hint() const noexcept { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // The program's help file, and a look-up of one of its topics: the shell is asked to
  // open the file, and the dialog log tells which topic. False when there is no file.
  const String& HelpFile() const noexcept { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  bool HelpContext(int Context);

  // The input source; the application owns it. Replacing it frees the old one.
  TInputSource* Input() const noexcept { return FInput.get(); }
  void SetInput(std::unique_ptr<TInputSource> Source);
  // Handles one input event; false when the source has none.
  bool HandleMessage();
  // Handles one input event for a window that waits for it (a modal loop): the source's
  // hook is asked when none is queued; false when none comes.
  bool HandleMessage(const TInputWait& Waiting);
  // Handles input until the source has no more waiting.
  void ProcessInput();
  // Frees the forms released meanwhile whose code is no longer running.
  void ProcessMessages();
  // Applies one input event to the windows.
  void Dispatch(const TInputEvent& Event);
  // The next event for a dialog that handles its own input (file dialogs), asking the
  // source's hook when none is queued; raises EInputError naming Waiting when none comes.
  TInputEvent NextInput(const TInputWait& Waiting);
  // The modal windows, innermost last.
  const std::vector<TCustomForm*>& ModalForms() const noexcept { return FModalForms; }

  // An exception raised by an event handler while input was handled: OnException, or
  // kept in Errors for the front end to show. Input errors are never swallowed.
  void HandleException(Exception& E);
  // What the message boxes and dialogs showed and how they were answered, one line
  // each, for the front end and tests to read.
  const std::vector<String>& DialogLog() const noexcept { return FDialogLog; }
  void LogDialog(const String& Line) { FDialogLog.push_back(Line); }
  const std::vector<String>& Errors() const noexcept { return FErrors; }
  void ClearErrors() { FErrors.clear(); }
  // A drag whose mouse button is down: what it started on, the control under the mouse
  // and the point there, and whether that control would take the drop (the drag cursor
  // shows which). Null while nothing is dragged.
  struct TDragInfo {
    TControl* Source = nullptr;
    TControl* Over = nullptr;
    TPoint At;
    bool Accepted = false;
  };
  const TDragInfo* Dragging() const noexcept { return FDrag.Source ? &FDrag : nullptr; }
  TExceptionEvent OnException;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCustomForm;
  void ReleaseForm(TCustomForm* Form);
  void FormGone(TCustomForm* Form);
  void DispatchKey(Word Key, TShiftState Shift, int Char = -1);
  void DispatchChar(char C);
  void DispatchClick(TControl* Control, TPoint P, TShiftState Shift, TMouseButton Button,
                     bool Double);
  void DispatchDrag(const TInputEvent& Event);
  void MoveDrag(TPoint ScreenTo, TControl* Over);
  void EndDrag(bool Drop);
  void ForgetDrag() noexcept;
  void DispatchAnswer(int Result);
  void Handle(const TInputEvent& Event);
  bool Reachable(TControl* Control, bool Quiet) const;
  String FTitle = "Ombrix IDE";
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  String FHint;
  String FHelpFile;
  std::unique_ptr<TInputSource> FInput;
  std::vector<TCustomForm*> FReleased;
  std::vector<TCustomForm*> FModalForms;
  std::vector<String> FErrors;
  std::vector<String> FDialogLog;
  int FDispatching = 0;
  TDragInfo FDrag;
};

class PACKAGE TScreen : public TComponent {
  OM_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  // The forms in the order they were created.
  int FormCount() const noexcept { return int(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  TCustomForm* ActiveForm() const noexcept { return FActiveForm; }
  // The desktop's focus went to a window that is none of these forms (a form being
  // designed): the active form is deactivated. A modal window keeps the focus.
  void FocusElsewhere();
  TWinControl* ActiveControl() const;
  // The shown forms, front-most first.
  std::vector<TCustomForm*> ZOrder() const;
  int Width() const noexcept { return 1024; }
  int Height() const noexcept { return 768; }
  int PixelsPerInch() const noexcept { return 96; }
  TCursor Cursor() const noexcept { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  TNotifyEvent OnActiveFormChange;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void BringToFront(TCustomForm* Form);
  // Makes Form the active window; null activates none. Refused (false) for a form that
  // a modal window keeps from being activated.
  bool SetActiveForm(TCustomForm* Form);
  // The front-most shown form that may take the activation, or null.
  TCustomForm* NextActiveCandidate(TCustomForm* Except) const;
  std::vector<TCustomForm*> FForms;
  std::vector<TCustomForm*> FZOrder;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
};

extern PACKAGE TApplication* Application;
extern PACKAGE TScreen* Screen;
