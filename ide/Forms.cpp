#include "Forms.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Paint.h"
#include "ShellAPI.h"
#include "StdCtrls.h"

OM_ENUM_TYPE_INFO(TCloseAction, "caNone", "caHide", "caFree", "caMinimize");
OM_EVENT_TYPE_INFO(TCloseEvent);
OM_EVENT_TYPE_INFO(TCloseQueryEvent);
OM_EVENT_TYPE_INFO(TExceptionEvent);
OM_ENUM_TYPE_INFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp");
OM_SET_TYPE_INFO(TBorderIcons, TBorderIcon);
OM_ENUM_TYPE_INFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                  "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter");
OM_ENUM_TYPE_INFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized");
OM_ENUM_TYPE_INFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop");
OM_IMPLEMENT_CLASS(EResNotFound, "Forms");
OM_IMPLEMENT_CLASS(EInputError, "Forms");

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

// Marks a form busy while input is handled in it, so that a Release from one of its
// own handlers frees it only once the handler has returned.
class TFormBusy {
 public:
  explicit TFormBusy(TCustomForm* F);
  ~TFormBusy();
  TFormBusy(const TFormBusy&) = delete;
  TFormBusy& operator=(const TFormBusy&) = delete;

 private:
  TCustomForm* FForm;
};

String ControlName(const TComponent* C) {
  if (!C) return "(none)";
  String N = C->Name().empty() ? C->ClassName() : C->Name();
  if (C->Owner() && !C->Owner()->Name().empty() && !dynamic_cast<const TApplication*>(C->Owner()))
    return C->Owner()->Name() + "." + N;
  return N;
}

namespace {

String WindowName(const TCustomForm* F) {
  String N = F->Name().empty() ? F->ClassName() : F->Name();
  return "\"" + F->Caption() + "\" (" + N + ")";
}

String KeyText(Word Key, TShiftState Shift) {
  String S = ShortCutToText(ShortCut(Key, Shift));
  return S.empty() ? Format("key %d", {int(Key)}) : S;
}

}  // namespace

// --- TCustomForm ----------------------------------------------------------------------------

template <>
struct TPublished<TCustomForm> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomForm::Width, &TCustomForm::SetWidth, &TCustomForm::IsFormSizeStored>(
          "Width", NoDefault),
      Property<&TCustomForm::Height, &TCustomForm::SetHeight, &TCustomForm::IsFormSizeStored>(
          "Height", NoDefault),
      Property<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>("ActiveControl"),
      Property<&TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll>("AutoScroll", 1),
      Property<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>(
          "BorderIcons", (1 << biSystemMenu) | (1 << biMinimize) | (1 << biMaximize)),
      Property<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>("BorderStyle", bsSizeable),
      Property<&TCustomForm::Caption, &TCustomForm::SetCaption>("Caption"),
      Property<&TCustomForm::GetClientHeight, &TCustomForm::SetClientHeight,
               &TCustomForm::IsClientSizeStored>("ClientHeight", NoDefault),
      Property<&TCustomForm::GetClientWidth, &TCustomForm::SetClientWidth,
               &TCustomForm::IsClientSizeStored>("ClientWidth", NoDefault),
      Property<&TCustomForm::Color, &TCustomForm::SetColor>("Color", clBtnFace),
      Property<&TCustomForm::Constraints, &TCustomForm::SetConstraints>("Constraints"),
      Property<&TCustomForm::Enabled, &TCustomForm::SetEnabled>("Enabled", 1),
      Property<&TCustomForm::Font, &TCustomForm::SetFont>("Font"),
      Property<&TCustomForm::FormStyle, &TCustomForm::SetFormStyle>("FormStyle", fsNormal),
      Property<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>("KeyPreview", 0),
      Property<&TCustomForm::Menu, &TCustomForm::SetMenu>("Menu"),
      Property<&TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder>("OldCreateOrder",
                                                                              NoDefault),
      Property<&TCustomForm::PopupMenu, &TCustomForm::SetPopupMenu>("PopupMenu"),
      Property<&TCustomForm::Position, &TCustomForm::SetPosition>("Position", poDesigned),
      Property<&TCustomForm::Scaled, &TCustomForm::SetScaled>("Scaled", 1),
      Property<&TCustomForm::ShowHint, &TCustomForm::SetShowHint>("ShowHint", 0),
      Property<&TCustomForm::GetVisible, &TCustomForm::SetVisible>("Visible", 0),
      Property<&TCustomForm::WindowState, &TCustomForm::SetWindowState>("WindowState", wsNormal),
      Property<&TCustomForm::OnActivate, &TCustomForm::OnActivate>("OnActivate"),
      Property<&TCustomForm::OnClick, &TCustomForm::OnClick>("OnClick"),
      Property<&TCustomForm::OnClose, &TCustomForm::OnClose>("OnClose"),
      Property<&TCustomForm::OnCloseQuery, &TCustomForm::OnCloseQuery>("OnCloseQuery"),
      Property<&TCustomForm::OnCreate, &TCustomForm::OnCreate>("OnCreate"),
      Property<&TCustomForm::OnDblClick, &TCustomForm::OnDblClick>("OnDblClick"),
      Property<&TCustomForm::OnDeactivate, &TCustomForm::OnDeactivate>("OnDeactivate"),
      Property<&TCustomForm::OnDestroy, &TCustomForm::OnDestroy>("OnDestroy"),
      Property<&TCustomForm::OnHide, &TCustomForm::OnHide>("OnHide"),
      Property<&TCustomForm::OnKeyDown, &TCustomForm::OnKeyDown>("OnKeyDown"),
      Property<&TCustomForm::OnKeyPress, &TCustomForm::OnKeyPress>("OnKeyPress"),
      Property<&TCustomForm::OnKeyUp, &TCustomForm::OnKeyUp>("OnKeyUp"),
      Property<&TCustomForm::OnPaint, &TCustomForm::OnPaint>("OnPaint"),
      Property<&TCustomForm::OnResize, &TCustomForm::OnResize>("OnResize"),
      Property<&TCustomForm::OnShow, &TCustomForm::OnShow>("OnShow"),
      Property<&TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch>("PixelsPerInch",
                                                                            NoDefault),
  };
};
OM_IMPLEMENT_CLASS(TCustomForm, "Forms");
OM_IMPLEMENT_CLASS(TForm, "Forms");

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomForm(AOwner, 0) {}

TCustomForm::TCustomForm(TComponent* AOwner, int) : TWinControl(AOwner) {
  // NOLINTNEXTLINE(clang-analyzer-optin.cplusplus.VirtualCall): the base's own, on purpose
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  FActiveControl = nullptr;
  if (Application) Application->FormGone(this);
  // The form that becomes active in its place runs its activation, which may raise; a
  // destructor cannot pass that on (it would end the IDE), so the application hears it.
  try {
    if (Screen) Screen->RemoveForm(this);
  } catch (Exception& E) {
    try {
      if (Application) Application->HandleException(E);
    } catch (...) {
      // A handler that raises in turn has nobody left to tell.
    }
  } catch (...) {
  }
}

void TCustomForm::ReadForm() {
  // The description names the form; a second window of the same class gets a name of
  // its own among its owner's components, as the platform names it.
  TComponent* Keeper = Owner();
  if (Keeper) Keeper->RemoveComponent(this);
  bool Found;
  try {
    Found = InitInheritedComponent(this, TCustomForm::StaticClass());
  } catch (...) {
    if (Keeper) Keeper->InsertComponent(this);
    throw;
  }
  if (Keeper) {
    String Base = Name();
    for (int I = 1; !Base.empty() && Keeper->FindComponent(Name()); ++I)
      SetName(Base + "_" + IntToStr(I));
    Keeper->InsertComponent(this);
  }
  if (!Found) throw EResNotFound(Format("Resource %s not found", {ClassName()}));
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

TRect TCustomForm::BorderMargins() const {
  int Frame = 0, Caption = 0;
  switch (FBorderStyle) {
    case bsNone:
      break;
    case bsSingle:
    case bsDialog:
      Frame = 3;
      Caption = 19;
      break;
    case bsSizeable:
      Frame = 4;
      Caption = 19;
      break;
    case bsToolWindow:
      Frame = 3;
      Caption = 16;
      break;
    case bsSizeToolWin:
      Frame = 4;
      Caption = 16;
      break;
  }
  int MenuBar = 0;
  if (FMenu && FMenu->Items()->Count() > 0) MenuBar = 19;
  return Rect(Frame, Frame + Caption + MenuBar, Frame, Frame);
}

bool TCustomForm::KeepsClientSize() const {
  // A form read from a description keeps the size it stored: the client area's, or,
  // where the window's was stored, the window's.
  return !ComponentState().Contains(csLoading) || !FAutoScroll;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == FBorderStyle) return;
  int CW = ClientWidth(), CH = ClientHeight();
  FBorderStyle = Value;
  if (KeepsClientSize()) {
    SetClientWidth(CW);
    SetClientHeight(CH);
  }
  Realign();
}

void TCustomForm::SetPosition(TPosition Value) { FPosition = Value; }

void TCustomForm::SetWindowState(TWindowState Value) {
  if (Value == FWindowState) return;
  FWindowState = Value;
  if (Value == wsMinimized && FActive && Screen)
    Screen->SetActiveForm(Screen->NextActiveCandidate(this));
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (Value == FMenu) return;
  int CW = ClientWidth(), CH = ClientHeight();
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (FMenu) FMenu->FreeNotification(this);
  if (KeepsClientSize()) {
    SetClientWidth(CW);
    SetClientHeight(CH);
  }
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
  if (Value == FActiveControl) return;
  if (Value && !ContainsControl(Value))
    throw EInvalidOperation(
        Format("%s is not a control of %s", {ControlName(Value), ControlName(this)}));
  TWinControl* Old = FActiveControl;
  FActiveControl = Value;
  if (Old && Old->OnExit && !ComponentState().Contains(csLoading)) Old->OnExit(Old);
  if (Value && Value->OnEnter && !ComponentState().Contains(csLoading)) Value->OnEnter(Value);
  if (auto* E = dynamic_cast<TCustomEdit*>(Value))
    if (!dynamic_cast<TCustomMemo*>(Value) && !ComponentState().Contains(csLoading)) E->SelectAll();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
}

void TCustomForm::DefineProperties(TFiler* Filer) {
  TWinControl::DefineProperties(Filer);
  Filer->DefineProperty(
      "TextHeight", [](TReader* R) { R->ReadInteger(); },
      [this](TWriter* W) {
        TCanvas C;
        C.Font()->Assign(Font());
        W->WriteInteger(C.TextHeight("0"));
      },
      true);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  FPositioned = false;
  // A description that makes the form visible shows it once it is whole.
  if (Visible()) VisibleChanged();
}

void TCustomForm::SetVisible(bool Value) {
  if (Value && FReleased) return;
  TWinControl::SetVisible(Value);
}

void TCustomForm::VisibleChanged() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (Visible()) {
    if (!FPositioned) ApplyPosition();
    Realign();
    DoShow();
    if (Screen && Visible()) {
      Screen->BringToFront(this);
      Screen->SetActiveForm(this);
    }
  } else {
    DoHide();
    if (Screen && FActive) Screen->SetActiveForm(Screen->NextActiveCandidate(this));
  }
}

void TCustomForm::ApplyPosition() {
  FPositioned = true;
  const TCustomForm* Over = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      SetBounds((1024 - Width()) / 2, (768 - Height()) / 2, Width(), Height());
      return;
    case poMainFormCenter:
      Over = Application ? Application->MainForm() : nullptr;
      break;
    case poOwnerFormCenter:
      Over = dynamic_cast<const TCustomForm*>(Owner());
      break;
    case poDefault:
    case poDefaultPosOnly:
      SetBounds(88, 116, Width(), Height());
      return;
    default:
      return;
  }
  if (!Over || Over == this) Over = nullptr;
  if (Over)
    SetBounds(Over->Left() + (Over->Width() - Width()) / 2,
              Over->Top() + (Over->Height() - Height()) / 2, Width(), Height());
  else
    SetBounds((1024 - Width()) / 2, (768 - Height()) / 2, Width(), Height());
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (Screen && Visible()) {
    Screen->BringToFront(this);
    Screen->SetActiveForm(this);
  }
}

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  switch (Action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TCustomForm::Release() {
  if (FReleased) return;
  FReleased = true;
  if (Visible()) Hide();
  // Gone for whoever walks the screen's forms (to find an open window again): only its
  // freeing waits.
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->ReleaseForm(this);
}

void TCustomForm::CloseModal() {
  if (!CloseQuery()) {
    FModalResult = mrNone;
    return;
  }
  TCloseAction Action = caHide;
  DoClose(Action);
  if (Action == caNone) FModalResult = mrNone;
  if (Action == caFree) Release();
}

int TCustomForm::ShowModal() {
  if (Visible() || FModal)
    throw EInvalidOperation(Format("Cannot make a visible window modal: %s", {WindowName(this)}));
  if (!Application) throw EInvalidOperation("There is no application to run a modal window");
  TInputWait Wait{Name().empty() ? Caption() : Name(), "the modal window " + WindowName(this)};
  FModal = true;
  FModalResult = mrNone;
  ++FBusy;
  Application->FModalForms.push_back(this);
  auto Finish = [this] {
    if (Application) std::erase(Application->FModalForms, this);
    FModal = false;
    if (Visible()) Hide();
    --FBusy;
  };
  try {
    Show();
    for (;;) {
      if (Application->Terminated() && FModalResult == mrNone) FModalResult = mrCancel;
      if (FModalResult != mrNone) {
        CloseModal();
        if (FModalResult != mrNone) break;
        continue;
      }
      if (!Application->HandleMessage(Wait))
        throw EInputError(Format("No input for %s: the input queue is empty", {Wait.Description}));
    }
  } catch (...) {
    Finish();
    // An error ends the loop as a cancel would, so the window's close action still
    // applies: one that frees itself on closing (an about box made for one showing)
    // does not stay behind, hidden, for the rest of the session. It is not asked whether
    // it may close; what its handler raises is reported and gives way to the error.
    FModalResult = mrCancel;
    try {
      TCloseAction Action = caHide;
      DoClose(Action);
      if (Action == caFree) Release();
    } catch (Exception& E) {
      if (Application) Application->HandleException(E);
    }
    throw;
  }
  int Result = FModalResult;
  Finish();
  return Result;
}

void TCustomForm::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (Value) {
    if (!FActiveControl) SelectFirst();
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

namespace {
bool RunListShortCuts(TComponent* Owner, TShortCut Key) {
  for (int I = 0; I < Owner->ComponentCount(); ++I) {
    TComponent* C = Owner->Components(I);
    if (auto* L = dynamic_cast<TCustomActionList*>(C))
      if (L->IsShortCut(Key)) return true;
  }
  return false;
}

void CollectButtons(const TWinControl* W, std::vector<TButton*>& Out) {
  for (int I = 0; I < W->ControlCount(); ++I) {
    TControl* C = W->Controls(I);
    if (auto* B = dynamic_cast<TButton*>(C)) Out.push_back(B);
    if (auto* P = dynamic_cast<TWinControl*>(C)) CollectButtons(P, Out);
  }
}

void CollectFocusable(const TWinControl* W, std::vector<TWinControl*>& Out) {
  for (TWinControl* C : W->TabList()) {
    if (!C->Visible() || !C->Enabled()) continue;
    if (C->TabStop()) Out.push_back(C);
    CollectFocusable(C, Out);
  }
}
}  // namespace

bool TCustomForm::IsShortCut(TShortCut Key) {
  if (Key == 0) return false;
  if (FMenu && FMenu->IsShortCut(Key)) return true;
  if (RunListShortCuts(this, Key)) return true;
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* P = dynamic_cast<TPopupMenu*>(Components(I)))
      if (P->IsShortCut(Key)) return true;
  return false;
}

TButton* TCustomForm::DefaultButton() const {
  std::vector<TButton*> All;
  CollectButtons(this, All);
  for (TButton* B : All)
    if (B->Default() && B->Showing() && B->IsEnabledOnScreen()) return B;
  return nullptr;
}

TButton* TCustomForm::CancelButton() const {
  std::vector<TButton*> All;
  CollectButtons(this, All);
  for (TButton* B : All)
    if (B->Cancel() && B->Showing() && B->IsEnabledOnScreen()) return B;
  return nullptr;
}

void TCustomForm::SelectFirst() {
  std::vector<TWinControl*> List;
  CollectFocusable(this, List);
  if (!List.empty()) SetActiveControl(List.front());
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TWinControl::GetChildren(Proc, Root);
  if (Root == this)
    for (int I = 0; I < ComponentCount(); ++I)
      if (!Components(I)->HasParent()) Proc(Components(I));
}

void TCustomForm::Paint(TCanvas* Canvas) {
  TRect M = BorderMargins();
  int W = Width(), H = Height();
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, W, H));
  if (FBorderStyle != bsNone) {
    om_paint::Frame3D(Canvas, Rect(0, 0, W, H), TColor(0x80000016), TColor(0x80000015));
    om_paint::Frame3D(Canvas, Rect(1, 1, W - 1, H - 1), TColor(0x80000014), TColor(0x80000010));
    // The caption bar: the active window's is dark, the others grey.
    bool Tool = FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    int Frame = M.Left;
    int CaptionH = Tool ? 15 : 18;
    Canvas->Font()->Assign(Font());
    om_paint::CaptionBar(Canvas, Rect(Frame, Frame, W - Frame, Frame + CaptionH), Caption(), FActive,
                         FBorderIcons.Contains(biSystemMenu));
    if (FMenu && FMenu->Items()->Count() > 0) {
      int Y = M.Top - 19;
      Canvas->Brush()->SetColor(TColor(0x80000004));
      Canvas->FillRect(Rect(Frame, Y, W - Frame, Y + 19));
      Canvas->Font()->Assign(Font());
      int X = Frame + 6;
      for (int I = 0; I < FMenu->Items()->Count(); ++I) {
        TMenuItem* Item = FMenu->Items()->Items(I);
        if (!Item->Visible()) continue;
        om_paint::AccelText(Canvas, X, Y + 3, Item->Caption(), Item->Enabled());
        X += Canvas->TextWidth(StripHotkey(Item->Caption())) + 14;
      }
    }
  }
  // The client area has the window's colour from the first fill: nothing above drew there.
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(TBitmap* Bitmap) {
  Bitmap->SetSize(Width(), Height());
  om_paint::PaintControl(this, Bitmap->Canvas(), Point(0, 0), Rect(0, 0, Width(), Height()));
}

TBitmap* TCustomForm::GetFormImage() {
  TBitmap Window;
  PaintWindow(&Window);
  TRect M = BorderMargins();
  auto* Result = new TBitmap(ClientWidth(), ClientHeight());
  for (int Y = 0; Y < Result->Height(); ++Y)
    for (int X = 0; X < Result->Width(); ++X)
      Result->SetPixel(X, Y, Window.Pixel(X + M.Left, Y + M.Top));
  return Result;
}

TFormBusy::TFormBusy(TCustomForm* F) : FForm(F) {
  if (FForm) ++FForm->FBusy;
}

TFormBusy::~TFormBusy() {
  if (FForm) --FForm->FBusy;
}

// --- Input -----------------------------------------------------------------------------------

String TInputEvent::Describe() const {
  String T = TargetGone ? TargetName + " (freed)" : Target ? ControlName(Target) : TargetName;
  switch (Kind) {
    case Click:
      return String(Button == mbRight ? "right-click "
                    : Double          ? "double-click "
                                      : "click ") +
             T + (HasPoint ? Format(" at %d,%d", {At.X, At.Y}) : String());
    case ClickItem:
      return Format("click item %d of ", {Index}) + T;
    case Key:
      return "key " + KeyText(KeyCode, Shift);
    case Typing:
      return "type '" + Text + "'";
    case MenuChoice:
      return "choose " + T;
    case Drag:
      return "drag on " + T + Format(" from %d,%d to %d,%d", {At.X, At.Y, To.X, To.Y}) +
             (Hold ? " (held)" : "");
    case DragMove:
      return "move the drag to " + (Target ? T + Format(" at %d,%d", {To.X, To.Y})
                                           : Format("%d,%d", {To.X, To.Y}));
    case DragRelease:
      return "release the drag";
    case SplitterDrag:
      return "drag " + T + Format(" by %d", {Index});
    case Answer:
      return Format("answer %d", {Index});
    case FileName:
      return "file name '" + Text + "'";
  }
  return "input";
}

class TInputWatcher : public TComponent {
 public:
  explicit TInputWatcher(TInputQueue* Q) : TComponent(nullptr), FQueue(Q) {}
  void Watch(TComponent* C) {
    if (C) C->FreeNotification(this);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) FQueue->TargetFreed(AComponent);
  }

 private:
  TInputQueue* FQueue;
};

// The queue is a platform object, made once per application and never copied.
// cppcheck-suppress [noCopyConstructor, noOperatorEq]
TInputQueue::TInputQueue() : FWatcher(new TInputWatcher(this)) {}

TInputQueue::~TInputQueue() { delete FWatcher; }

TInputQueue& TInputQueue::Push(TInputEvent Event) {
  if (Event.Target && Event.TargetName.empty()) Event.TargetName = ControlName(Event.Target);
  FWatcher->Watch(Event.Target);
  FWatcher->Watch(Event.Target2);
  FEvents.push_back(std::move(Event));
  return *this;
}

TInputQueue& TInputQueue::Click(TControl* Control) {
  TInputEvent E;
  E.Kind = TInputEvent::Click;
  E.Target = Control;
  return Push(E);
}

TInputQueue& TInputQueue::ClickAt(TControl* Control, int X, int Y, TShiftState Shift,
                                  TMouseButton Button) {
  TInputEvent E;
  E.Kind = TInputEvent::Click;
  E.Target = Control;
  E.HasPoint = true;
  E.At = Point(X, Y);
  E.Shift = Shift;
  E.Button = Button;
  return Push(E);
}

TInputQueue& TInputQueue::DoubleClick(TControl* Control) {
  TInputEvent E;
  E.Kind = TInputEvent::Click;
  E.Target = Control;
  E.Double = true;
  return Push(E);
}

TInputQueue& TInputQueue::ClickItem(TControl* ListView, int Index, TShiftState Shift) {
  TInputEvent E;
  E.Kind = TInputEvent::ClickItem;
  E.Target = ListView;
  E.Index = Index;
  E.Shift = Shift;
  return Push(E);
}

TInputQueue& TInputQueue::Key(Word KeyCode, TShiftState Shift) {
  TInputEvent E;
  E.Kind = TInputEvent::Key;
  E.KeyCode = KeyCode;
  E.Shift = Shift;
  return Push(E);
}

TInputQueue& TInputQueue::Type(const String& Text) {
  TInputEvent E;
  E.Kind = TInputEvent::Typing;
  E.Text = Text;
  return Push(E);
}

TInputQueue& TInputQueue::Choose(TMenuItem* Item) {
  TInputEvent E;
  E.Kind = TInputEvent::MenuChoice;
  E.Target = Item;
  return Push(E);
}

TInputQueue& TInputQueue::Drag(TControl* Control, TPoint From, TPoint To, TControl* Over,
                               bool Hold) {
  TInputEvent E;
  E.Kind = TInputEvent::Drag;
  E.Target = Control;
  E.Target2 = Over;
  E.HasPoint = true;
  E.At = From;
  E.To = To;
  E.Hold = Hold;
  return Push(E);
}

TInputQueue& TInputQueue::DragMove(TControl* Over, TPoint To) {
  TInputEvent E;
  E.Kind = TInputEvent::DragMove;
  E.Target = Over;
  E.To = To;
  return Push(E);
}

TInputQueue& TInputQueue::DragRelease() {
  TInputEvent E;
  E.Kind = TInputEvent::DragRelease;
  return Push(E);
}

TInputQueue& TInputQueue::DragSplitter(TControl* Splitter, int Delta) {
  TInputEvent E;
  E.Kind = TInputEvent::SplitterDrag;
  E.Target = Splitter;
  E.Index = Delta;
  return Push(E);
}

TInputQueue& TInputQueue::Answer(int ModalResult) {
  TInputEvent E;
  E.Kind = TInputEvent::Answer;
  E.Index = ModalResult;
  return Push(E);
}

TInputQueue& TInputQueue::File(const String& FileName, int FilterIndex) {
  TInputEvent E;
  E.Kind = TInputEvent::FileName;
  E.Text = FileName;
  E.Index = FilterIndex;
  return Push(E);
}

bool TInputSource::NextFor(const TInputWait& Waiting, TInputEvent& Event) {
  while (!Next(Event))
    if (!FWhenEmpty || !FWhenEmpty(Waiting)) return false;
  return true;
}

bool TInputQueue::Next(TInputEvent& Event) {
  if (FEvents.empty()) return false;
  Event = std::move(FEvents.front());
  FEvents.pop_front();
  for (TComponent* C : {Event.Target, Event.Target2}) {
    if (!C) continue;
    bool Still = std::any_of(FEvents.begin(), FEvents.end(),
                             [C](const TInputEvent& E) { return E.Target == C || E.Target2 == C; });
    if (!Still) FWatcher->RemoveFreeNotification(C);
  }
  return true;
}

void TInputQueue::Clear() {
  while (!FEvents.empty()) {
    TInputEvent E;
    Next(E);
  }
}

void TInputQueue::TargetFreed(TComponent* C) {
  for (TInputEvent& E : FEvents) {
    if (E.Target == C) {
      E.Target = nullptr;
      E.TargetGone = true;
    }
    if (E.Target2 == C) {
      E.Target2 = nullptr;
      E.TargetGone = true;
    }
  }
}

// --- TApplication ----------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TApplication, "Forms");

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FInput(std::make_unique<TInputQueue>()) {}

bool TApplication::HelpContext(int Context) {
  if (FHelpFile.empty()) {
    LogDialog(Format("Help topic %d: there is no help file", {Context}));
    return false;
  }
  LogDialog(Format("Help topic %d of %s", {Context, FHelpFile}));
  HINSTANCE R = ShellExecuteA(nullptr, "open", FHelpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<std::intptr_t>(R) > 32;
}

TApplication::~TApplication() {
  Destroying();
  // The windows still open go first, while the application is whole: they tell it and
  // the screen as they go.
  FModalForms.clear();
  while (ComponentCount() > 0) {
    TComponent* C = Components(ComponentCount() - 1);
    if (auto* F = dynamic_cast<TCustomForm*>(C))
      if (F->OnDestroy) {
        try {
          F->OnDestroy(F);
        } catch (Exception& E) {
          FErrors.push_back(E.Message);
        }
      }
    delete C;
  }
  FReleased.clear();
}

void TApplication::SetMainForm(TCustomForm* Value) {
  if (Value == FMainForm) return;
  if (FMainForm) FMainForm->RemoveFreeNotification(this);
  FMainForm = Value;
  if (FMainForm) FMainForm->FreeNotification(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  // A drag whose control goes ends with it; the control under it may go by itself.
  if (AComponent == FDrag.Source) {
    FDrag.Source = nullptr;
    if (FDrag.Over == AComponent) FDrag.Over = nullptr;
    ForgetDrag();
  } else if (AComponent == FDrag.Over) {
    FDrag.Over = nullptr;
    FDrag.Accepted = false;
  }
}

void TApplication::SetInput(std::unique_ptr<TInputSource> Source) { FInput = std::move(Source); }

void TApplication::ReleaseForm(TCustomForm* Form) {
  if (std::find(FReleased.begin(), FReleased.end(), Form) == FReleased.end())
    FReleased.push_back(Form);
}

void TApplication::FormGone(TCustomForm* Form) {
  std::erase(FReleased, Form);
  std::erase(FModalForms, Form);
  if (FMainForm == Form) FMainForm = nullptr;
}

void TApplication::ProcessMessages() {
  // A released form whose code is still running (a handler, a modal loop) waits.
  for (bool Freed = true; Freed;) {
    Freed = false;
    for (TCustomForm* F : FReleased) {
      if (F->FBusy > 0) continue;
      std::erase(FReleased, F);
      if (F->OnDestroy) {
        try {
          F->OnDestroy(F);
        } catch (Exception& E) {
          HandleException(E);
        }
      }
      delete F;
      Freed = true;
      break;
    }
  }
}

void TApplication::HandleException(Exception& E) {
  // The silent exception ends an operation without a word, as on the platform.
  if (dynamic_cast<EAbort*>(&E)) return;
  if (OnException)
    OnException(this, &E);
  else
    FErrors.push_back(E.Message);
}

bool TApplication::HandleMessage() {
  TInputEvent E;
  if (!FInput || !FInput->Next(E)) return false;
  Handle(E);
  return true;
}

bool TApplication::HandleMessage(const TInputWait& Waiting) {
  TInputEvent E;
  if (!FInput || !FInput->NextFor(Waiting, E)) return false;
  Handle(E);
  return true;
}

void TApplication::Handle(const TInputEvent& E) {
  ++FDispatching;
  try {
    Dispatch(E);
  } catch (EInputError&) {
    --FDispatching;
    throw;
  } catch (Exception& X) {
    HandleException(X);
  } catch (...) {
    --FDispatching;
    throw;
  }
  --FDispatching;
  ProcessMessages();
}

void TApplication::ProcessInput() {
  while (FInput && FInput->HasInput()) HandleMessage();
  ProcessMessages();
}

TInputEvent TApplication::NextInput(const TInputWait& Waiting) {
  TInputEvent E;
  if (!FInput || !FInput->NextFor(Waiting, E))
    throw EInputError(Format("No input for %s: the input queue is empty", {Waiting.Description}));
  if (E.TargetGone)
    throw EInputError(Format("Input '%s' for %s: its target was freed before its turn",
                             {E.Describe(), Waiting.Description}));
  return E;
}

bool TApplication::Reachable(TControl* Control, bool Quiet) const {
  TCustomForm* F = GetParentForm(Control);
  if (!F) {
    if (Quiet) return false;
    throw EInputError(Format("%s is not on a window", {ControlName(Control)}));
  }
  if (!Control->Showing()) {
    if (Quiet) return false;
    throw EInputError(Format("%s cannot take input: it is not shown", {ControlName(Control)}));
  }
  // A modal window keeps input from every window but itself and those it opened.
  if (!FModalForms.empty() && F != FModalForms.back()) return false;
  return true;
}

namespace {
// The character a key types, if any.
char KeyChar(Word Key, TShiftState Shift) {
  if (Shift.Contains(ssAlt)) return 0;
  bool Ctrl = Shift.Contains(ssCtrl);
  if (Key >= 'A' && Key <= 'Z') {
    if (Ctrl) return char(Key - 'A' + 1);
    return Shift.Contains(ssShift) ? char(Key) : char(Key - 'A' + 'a');
  }
  if (Ctrl) return Key == VK_RETURN ? '\n' : 0;
  if (Key >= '0' && Key <= '9' && !Shift.Contains(ssShift)) return char(Key);
  switch (Key) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return 8;
    case VK_TAB:
      return '\t';
    default:
      return 0;
  }
}

// The key of a typed character, and whether it needs Shift.
Word CharKey(char C, bool& Shift) {
  Shift = false;
  unsigned char U = static_cast<unsigned char>(C);
  if (std::isalpha(U)) {
    Shift = std::isupper(U) != 0;
    return Word(std::toupper(U));
  }
  if (std::isdigit(U)) return Word(U);
  switch (C) {
    case ' ':
      return VK_SPACE;
    case '\r':
    case '\n':
      return VK_RETURN;
    case '\t':
      return VK_TAB;
    case 8:
      return VK_BACK;
    case 27:
      return VK_ESCAPE;
    default:
      return 0;
  }
}

// The accelerator letter of a caption ("&Lines" gives L), or 0.
char AccelOf(const String& Caption) {
  for (size_t I = 0; I + 1 < Caption.size(); ++I) {
    if (Caption[I] != '&') continue;
    if (Caption[I + 1] == '&') {
      ++I;
      continue;
    }
    return char(std::toupper(static_cast<unsigned char>(Caption[I + 1])));
  }
  return 0;
}

// Alt and a letter: the label with that accelerator puts the focus into its focus
// control, a button with it is clicked.
bool RunAccelerator(TWinControl* W, char Letter) {
  for (int I = 0; I < W->ControlCount(); ++I) {
    TControl* C = W->Controls(I);
    if (!C->Visible() || !C->Enabled()) continue;
    if (auto* L = dynamic_cast<TCustomLabel*>(C)) {
      if (L->Accelerator() == Letter && L->FocusControl() && L->FocusControl()->CanFocus()) {
        L->FocusControl()->SetFocus();
        return true;
      }
    } else if (auto* B = dynamic_cast<TButton*>(C)) {
      if (AccelOf(B->Caption()) == Letter) {
        B->SetFocus();
        B->Click();
        return true;
      }
    }
    if (auto* Inner = dynamic_cast<TWinControl*>(C))
      if (RunAccelerator(Inner, Letter)) return true;
  }
  return false;
}

TWinControl* KeyTarget(TCustomForm* F) {
  TWinControl* T = F->ActiveControl();
  if (T && T->CanFocus()) return T;
  return F;
}

// The deepest shown control under a point of a window's client area.
TControl* ControlAt(TWinControl* W, TPoint P) {
  TControl* C = W->ControlAtPos(P, true);
  if (!C) return W;
  if (auto* Inner = dynamic_cast<TWinControl*>(C)) {
    TRect M = Inner->BorderMargins();
    return ControlAt(Inner, Point(P.X - C->Left() - M.Left, P.Y - C->Top() - M.Top));
  }
  return C;
}
}  // namespace

TControl* FindWindowControl(const String& Path) {
  size_t Dot = Path.find('.');
  if (!Screen || Dot == String::npos) return nullptr;
  for (int I = 0; I < Screen->FormCount(); ++I) {
    TCustomForm* F = Screen->Forms(I);
    if (!SameText(F->Name(), Path.substr(0, Dot))) continue;
    return dynamic_cast<TControl*>(F->FindComponent(Path.substr(Dot + 1)));
  }
  return nullptr;
}

void TApplication::Dispatch(const TInputEvent& Event) {
  if (Event.TargetGone)
    throw EInputError(
        Format("Input '%s': its target was freed before its turn", {Event.Describe()}));
  // While the button of a drag is down the mouse can only move it on or let it go, and
  // only Escape of the keys means anything: it cancels the drag.
  if (FDrag.Source) {
    if (Event.Kind == TInputEvent::Key && Event.KeyCode == VK_ESCAPE) {
      EndDrag(false);
      return;
    }
    if (Event.Kind != TInputEvent::DragMove && Event.Kind != TInputEvent::DragRelease)
      throw EInputError(Format("Input '%s' while a drag from %s is held: move it, release it "
                               "or press Escape first",
                               {Event.Describe(), ControlName(FDrag.Source)}));
  } else if (Event.Kind == TInputEvent::DragMove || Event.Kind == TInputEvent::DragRelease) {
    throw EInputError(Format("Input '%s': no drag is held", {Event.Describe()}));
  }
  switch (Event.Kind) {
    case TInputEvent::Click: {
      auto* C = dynamic_cast<TControl*>(Event.Target);
      // A click given ahead for a window not open yet names its control: `Window.Control`.
      if (!C && !Event.TargetName.empty()) C = FindWindowControl(Event.TargetName);
      if (!C) throw EInputError(Format("Input '%s' needs a control", {Event.Describe()}));
      TPoint P = Event.HasPoint ? Event.At : Point(C->ClientWidth() / 2, C->ClientHeight() / 2);
      DispatchClick(C, P, Event.Shift, Event.Button, Event.Double);
      return;
    }
    case TInputEvent::ClickItem: {
      auto* L = dynamic_cast<TCustomListView*>(Event.Target);
      if (!L) throw EInputError(Format("Input '%s' needs a list view", {Event.Describe()}));
      if (Event.Index < 0 || Event.Index >= L->Items()->Count())
        throw EInputError(Format("%s has no item %d (it has %d)",
                                 {ControlName(L), Event.Index, L->Items()->Count()}));
      L->Items()->Item(Event.Index)->MakeVisible(false);
      TRect R = L->ItemRect(Event.Index);
      DispatchClick(L, Point(R.Left + 2, (R.Top + R.Bottom) / 2), Event.Shift, mbLeft, false);
      return;
    }
    case TInputEvent::Key: {
      DispatchKey(Event.KeyCode, Event.Shift);
      return;
    }
    case TInputEvent::Typing:
      // Each character is typed as a person types it: its key goes down, then the
      // character follows; characters without a key of their own come alone.
      for (char C : Event.Text) {
        bool Shifted;
        Word Key = CharKey(C, Shifted);
        if (Key)
          DispatchKey(Key, Shifted ? TShiftState{ssShift} : TShiftState(),
                      static_cast<unsigned char>(C));
        else
          DispatchChar(C);
      }
      return;
    case TInputEvent::MenuChoice: {
      auto* Item = dynamic_cast<TMenuItem*>(Event.Target);
      if (!Item) throw EInputError(Format("Input '%s' needs a menu item", {Event.Describe()}));
      TMenu* Menu = Item->GetParentMenu();
      if (!Menu) throw EInputError(Format("%s is in no menu", {ControlName(Item)}));
      auto* F = dynamic_cast<TCustomForm*>(Menu->Owner());
      if (F && !FModalForms.empty() && F != FModalForms.back()) return;
      TFormBusy Busy(F);
      auto* Popup = dynamic_cast<TPopupMenu*>(Menu);
      if (Popup && !Popup->IsPoppedUp()) Popup->Popup(0, 0);
      bool Choosable = true;
      for (TMenuItem* I = Item; I && I != Menu->Items(); I = I->Parent())
        if (!I->Visible() || !I->Enabled()) Choosable = false;
      if (Popup) Popup->CloseUp();
      if (Choosable && !Item->IsLine()) Item->Click();
      return;
    }
    case TInputEvent::Drag:
      DispatchDrag(Event);
      return;
    case TInputEvent::DragMove: {
      auto* Over = dynamic_cast<TControl*>(Event.Target);
      MoveDrag(Over ? Over->ClientToScreen(Event.To) : Event.To, Over);
      return;
    }
    case TInputEvent::DragRelease:
      EndDrag(true);
      return;
    case TInputEvent::SplitterDrag: {
      auto* S = dynamic_cast<TSplitter*>(Event.Target);
      if (!S) throw EInputError(Format("Input '%s' needs a splitter", {Event.Describe()}));
      if (!Reachable(S, false)) return;
      TFormBusy Busy(GetParentForm(S));
      S->DragBy(Event.Index);
      return;
    }
    case TInputEvent::Answer:
      DispatchAnswer(Event.Index);
      return;
    case TInputEvent::FileName:
      throw EInputError(Format("Input '%s': no file dialog is open", {Event.Describe()}));
  }
}

void TApplication::DispatchKey(Word Key, TShiftState Shift, int TypedChar) {
  TCustomForm* F = Screen ? Screen->ActiveForm() : nullptr;
  if (!F) throw EInputError(Format("No active window takes the %s", {KeyText(Key, Shift)}));
  TFormBusy Busy(F);
  TWinControl* Target = KeyTarget(F);
  char Char = TypedChar >= 0 ? char(TypedChar) : KeyChar(Key, Shift);
  Word K = Key;
  // Whether the key still goes where it went: a handler may move the focus or end the
  // window's modal loop.
  auto Same = [&] { return Screen->ActiveForm() == F && KeyTarget(F) == Target; };
  if (F->KeyPreview() || Target == F) F->KeyDown(K, Shift);
  if (K == 0 || !Same()) {
    if (Char && Same() && !(F->Modal() && F->ModalResult() != mrNone)) DispatchChar(Char);
    return;
  }
  if (F->IsShortCut(ShortCut(K, Shift))) return;
  if (!Same()) return;
  if (Shift.Contains(ssAlt) && std::isalnum(K) && RunAccelerator(F, char(K))) return;
  if (Target != F) Target->KeyDown(K, Shift);
  if (K != 0 && Same() && !Target->WantsKey(K, Shift)) {
    TButton* B = nullptr;
    if (K == VK_RETURN && !Shift.Contains(ssAlt))
      B = dynamic_cast<TButton*>(Target) ? static_cast<TButton*>(Target) : F->DefaultButton();
    else if (K == VK_ESCAPE && Shift.Empty())
      B = F->CancelButton();
    if (B) {
      B->Click();
      return;
    }
    if (K == VK_TAB && !Shift.Contains(ssCtrl)) {
      std::vector<TWinControl*> List;
      CollectFocusable(F, List);
      if (!List.empty()) {
        auto It = std::find(List.begin(), List.end(), Target);
        int I = It == List.end() ? -1 : int(It - List.begin());
        int N = int(List.size());
        I = Shift.Contains(ssShift) ? (I <= 0 ? N - 1 : I - 1) : (I + 1) % N;
        F->SetActiveControl(List[size_t(I)]);
      }
      return;
    }
  }
  if (K != 0 && Same()) Target->DefaultKeyDown(K, Shift);
  if (Char && Same() && !(F->Modal() && F->ModalResult() != mrNone)) DispatchChar(Char);
}

void TApplication::DispatchChar(char C) {
  TCustomForm* F = Screen ? Screen->ActiveForm() : nullptr;
  if (!F) throw EInputError("No active window takes the typed text");
  TFormBusy Busy(F);
  TWinControl* Target = KeyTarget(F);
  char K = C;
  if (F->KeyPreview() || Target == F) F->KeyPress(K);
  if (K == 0 || Screen->ActiveForm() != F || KeyTarget(F) != Target) return;
  if (Target != F) Target->KeyPress(K);
  if (K == 0 || Screen->ActiveForm() != F || KeyTarget(F) != Target) return;
  Target->DefaultKeyPress(K);
}

void TApplication::DispatchClick(TControl* Control, TPoint P, TShiftState Shift,
                                 TMouseButton Button, bool Double) {
  if (!Reachable(Control, false)) return;
  TCustomForm* F = GetParentForm(Control);
  TFormBusy Busy(F);
  Screen->SetActiveForm(F);
  if (!Control->IsEnabledOnScreen()) return;
  if (auto* W = dynamic_cast<TWinControl*>(Control))
    if (W->TabStop() && W->CanFocus() && W != F) W->SetFocus();
  TShiftState S = Shift;
  S << (Button == mbRight ? ssRight : Button == mbMiddle ? ssMiddle : ssLeft);
  Control->MouseDown(Button, S, P.X, P.Y);
  Control->MouseUp(Button, S, P.X, P.Y);
  if (Button == mbLeft) {
    Control->Click();
    if (Double) Control->DblClick();
  } else if (Button == mbRight) {
    for (TControl* C = Control; C; C = C->Parent())
      if (TPopupMenu* M = C->PopupMenu()) {
        if (M->AutoPopup()) {
          M->SetPopupComponent(Control);
          TPoint Screen = Control->ClientToScreen(P);
          M->Popup(Screen.X, Screen.Y);
        }
        break;
      }
  }
}

void TApplication::DispatchDrag(const TInputEvent& Event) {
  auto* Source = dynamic_cast<TControl*>(Event.Target);
  if (!Source) throw EInputError(Format("Input '%s' needs a control", {Event.Describe()}));
  if (!Reachable(Source, false)) return;
  TCustomForm* F = GetParentForm(Source);
  TFormBusy Busy(F);
  // A move shorter than the platform's drag threshold is a click.
  if (std::abs(Event.To.X - Event.At.X) < 5 && std::abs(Event.To.Y - Event.At.Y) < 5 &&
      !Event.Target2) {
    DispatchClick(Source, Event.At, Event.Shift, mbLeft, false);
    return;
  }
  Screen->SetActiveForm(F);
  if (!Source->IsEnabledOnScreen()) return;
  if (auto* W = dynamic_cast<TWinControl*>(Source))
    if (W->TabStop() && W->CanFocus() && W != F) W->SetFocus();
  TShiftState S = Event.Shift;
  S << ssLeft;
  Source->MouseDown(mbLeft, S, Event.At.X, Event.At.Y);
  if (Source->DragMode() != dmAutomatic) {
    Source->MouseUp(mbLeft, S, Event.To.X, Event.To.Y);
    return;
  }
  FDrag.Source = Source;
  Source->FreeNotification(this);
  auto* Over = dynamic_cast<TControl*>(Event.Target2);
  MoveDrag(Over ? Over->ClientToScreen(Event.To) : Source->ClientToScreen(Event.To), Over);
  if (!Event.Hold) EndDrag(true);
}

void TApplication::ForgetDrag() noexcept {
  for (TControl* C : {FDrag.Source, FDrag.Over})
    if (C && C != FMainForm) C->RemoveFreeNotification(this);
  FDrag = {};
}

// The mouse of the held drag moves to a screen point, over Over or whatever control is
// there: the control it leaves hears so, the one it reaches decides whether it would
// take the drop.
void TApplication::MoveDrag(TPoint ScreenTo, TControl* Over) {
  // A handler that raises lets the button go: no drag stays held by a failure.
  struct TForgetOnFailure {
    TApplication* App;
    int Exceptions = std::uncaught_exceptions();
    ~TForgetOnFailure() {
      if (std::uncaught_exceptions() > Exceptions) App->ForgetDrag();
    }
  } Guard{this};
  if (!Over)
    for (TCustomForm* Z : Screen->ZOrder())
      if (Z->BoundsRect().Contains(ScreenTo)) {
        Over = ControlAt(Z, Z->ScreenToClient(ScreenTo));
        break;
      }
  if (Over && !(Over->Showing() && Over->IsEnabledOnScreen() &&
                (FModalForms.empty() || GetParentForm(Over) == FModalForms.back())))
    Over = nullptr;
  TControl* Source = FDrag.Source;
  if (FDrag.Over && FDrag.Over != Over) {
    TControl* Left = FDrag.Over;
    FDrag.Over = nullptr;
    FDrag.Accepted = false;
    if (Left != FMainForm && Left != Source) Left->RemoveFreeNotification(this);
    bool Ignored = false;
    Left->DragOver(Source, FDrag.At.X, FDrag.At.Y, dsDragLeave, Ignored);
    if (!FDrag.Source) return;  // the handler freed what was dragged
  }
  if (!Over) return;
  bool Entering = FDrag.Over != Over;
  FDrag.Over = Over;
  Over->FreeNotification(this);
  FDrag.At = Over->ScreenToClient(ScreenTo);
  bool Accept = false;
  if (Entering) Over->DragOver(Source, FDrag.At.X, FDrag.At.Y, dsDragEnter, Accept);
  if (FDrag.Source && FDrag.Over == Over)
    Over->DragOver(Source, FDrag.At.X, FDrag.At.Y, dsDragMove, Accept);
  FDrag.Accepted = FDrag.Over == Over && Accept;
}

// The button goes up: a drop where the control under the mouse takes it (Drop), or the
// drag cancelled. The drag is over whatever the handlers do, raising included.
void TApplication::EndDrag(bool Drop) {
  struct TForget {
    TApplication* App;
    ~TForget() { App->ForgetDrag(); }
  } Forget{this};
  bool Dropped = Drop && FDrag.Accepted && FDrag.Over;
  TPoint At = FDrag.At;
  if (Dropped) {
    FDrag.Over->DragDrop(FDrag.Source, At.X, At.Y);
  } else if (FDrag.Over) {
    bool Ignored = false;
    FDrag.Over->DragOver(FDrag.Source, At.X, At.Y, dsDragLeave, Ignored);
  }
  if (FDrag.Source) FDrag.Source->EndDrag(Dropped ? FDrag.Over : nullptr, At.X, At.Y);
}

void TApplication::DispatchAnswer(int Result) {
  TCustomForm* F =
      FModalForms.empty() ? (Screen ? Screen->ActiveForm() : nullptr) : FModalForms.back();
  if (!F)
    throw EInputError(
        Format("An answer (%d) was given, but no window is waiting for one", {Result}));
  std::vector<TButton*> All;
  CollectButtons(F, All);
  String Offered;
  for (TButton* B : All) {
    if (!B->Showing() || !B->IsEnabledOnScreen() || B->ModalResult() == mrNone) continue;
    if (B->ModalResult() == Result) {
      DispatchClick(B, Point(B->Width() / 2, B->Height() / 2), TShiftState(), mbLeft, false);
      return;
    }
    Offered += (Offered.empty() ? "" : ", ") + StripHotkey(B->Caption()) +
               Format(" (%d)", {B->ModalResult()});
  }
  throw EInputError(Format("The window %s has no button that answers %d; it offers %s",
                           {WindowName(F), Result, Offered.empty() ? String("none") : Offered}));
}

// --- TScreen -------------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TScreen, "Forms");

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
  FActiveForm = nullptr;
  FForms.clear();
  FZOrder.clear();
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount())
    throw EListError(Format("Form index out of bounds (%d)", {Index}));
  return FForms[size_t(Index)];
}

TWinControl* TScreen::ActiveControl() const {
  return FActiveForm ? FActiveForm->ActiveControl() : nullptr;
}

std::vector<TCustomForm*> TScreen::ZOrder() const {
  std::vector<TCustomForm*> R;
  for (TCustomForm* F : FZOrder)
    if (F->Visible()) R.push_back(F);
  return R;
}

void TScreen::AddForm(TCustomForm* Form) {
  FForms.push_back(Form);
  FZOrder.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  std::erase(FZOrder, Form);
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    SetActiveForm(NextActiveCandidate(Form));
  }
}

void TScreen::BringToFront(TCustomForm* Form) {
  auto It = std::find(FZOrder.begin(), FZOrder.end(), Form);
  if (It == FZOrder.end()) return;
  FZOrder.erase(It);
  FZOrder.insert(FZOrder.begin(), Form);
}

TCustomForm* TScreen::NextActiveCandidate(TCustomForm* Except) const {
  const auto* Modal =
      Application && !Application->ModalForms().empty() ? &Application->ModalForms() : nullptr;
  for (TCustomForm* F : FZOrder) {
    if (F == Except || !F->Visible() || F->Released() || F->WindowState() == wsMinimized) continue;
    if (F->ComponentState().Contains(csDestroying)) continue;
    if (Modal && F != Modal->back()) continue;
    return F;
  }
  return nullptr;
}

void TScreen::FocusElsewhere() {
  if (Application && !Application->ModalForms().empty()) return;
  SetActiveForm(nullptr);
}

bool TScreen::SetActiveForm(TCustomForm* Form) {
  if (Form == FActiveForm) return true;
  if (Form && Application && !Application->ModalForms().empty() &&
      Form != Application->ModalForms().back())
    return false;
  TCustomForm* Old = FActiveForm;
  FActiveForm = Form;
  if (Form) BringToFront(Form);
  if (Old) Old->SetActive(false);
  if (Form && FActiveForm == Form) Form->SetActive(true);
  if (OnActiveFormChange) OnActiveFormChange(this);
  return true;
}
