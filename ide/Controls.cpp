#include "Controls.h"

#include <algorithm>
#include <climits>

#include "Forms.h"
#include "Paint.h"

OM_ENUM_TYPE_INFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient");
OM_ENUM_TYPE_INFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter");
OM_ENUM_TYPE_INFO(TMouseButton, "mbLeft", "mbRight", "mbMiddle");
OM_ENUM_TYPE_INFO(TDragMode, "dmManual", "dmAutomatic");
OM_ENUM_TYPE_INFO(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove");
OM_ENUM_TYPE_INFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                  "bsSizeToolWin");

namespace {
constexpr TIdentMapEntry CursorIdents[] = {
    {crDefault, "crDefault"},
    {crNone, "crNone"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSize, "crSize"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
};
}  // namespace
const TTypeInfo TypeInfo_TCursor{
    tkInteger, "TCursor", -32768,  32767,        nullptr,
    nullptr,   nullptr,   nullptr, CursorIdents, int(std::size(CursorIdents))};
const TTypeInfo TypeInfo_TModalResult{tkInteger, "TModalResult", INT32_MIN, INT32_MAX};

OM_EVENT_TYPE_INFO(TKeyEvent);
OM_EVENT_TYPE_INFO(TKeyPressEvent);
OM_EVENT_TYPE_INFO(TMouseEvent);
OM_EVENT_TYPE_INFO(TMouseMoveEvent);
OM_EVENT_TYPE_INFO(TDragOverEvent);
OM_EVENT_TYPE_INFO(TDragDropEvent);
OM_EVENT_TYPE_INFO(TEndDragEvent);

// --- TSizeConstraints -------------------------------------------------------------------

template <>
struct TPublished<TSizeConstraints> {
  static constexpr TPropInfo Props[] = {
      Property<&TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight>("MaxHeight", 0),
      Property<&TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth>("MaxWidth", 0),
      Property<&TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight>("MinHeight", 0),
      Property<&TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth>("MinWidth", 0),
  };
};
OM_IMPLEMENT_CLASS(TSizeConstraints, "Controls");

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* C = dynamic_cast<TSizeConstraints*>(Source);
  if (!C) return TPersistent::Assign(Source);
  FMaxHeight = C->FMaxHeight;
  FMaxWidth = C->FMaxWidth;
  FMinHeight = C->FMinHeight;
  FMinWidth = C->FMinWidth;
  Changed();
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// A maximum below the minimum raises the minimum's partner, as the platform keeps them.
void TSizeConstraints::SetMaxHeight(int Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = std::max(0, Value);
  if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
  Changed();
}
void TSizeConstraints::SetMaxWidth(int Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = std::max(0, Value);
  if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
  Changed();
}
void TSizeConstraints::SetMinHeight(int Value) {
  if (Value == FMinHeight) return;
  FMinHeight = std::max(0, Value);
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  Changed();
}
void TSizeConstraints::SetMinWidth(int Value) {
  if (Value == FMinWidth) return;
  FMinWidth = std::max(0, Value);
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  Changed();
}

void TSizeConstraints::Apply(int& Width, int& Height) const {
  if (FMaxWidth > 0 && Width > FMaxWidth) Width = FMaxWidth;
  if (Width < FMinWidth) Width = FMinWidth;
  if (FMaxHeight > 0 && Height > FMaxHeight) Height = FMaxHeight;
  if (Height < FMinHeight) Height = FMinHeight;
}

// --- TControl ---------------------------------------------------------------------------

template <>
struct TPublished<TControl> {
  static constexpr TPropInfo Props[] = {
      Property<&TControl::Left, &TControl::SetLeft>("Left", NoDefault),
      Property<&TControl::Top, &TControl::SetTop>("Top", NoDefault),
      Property<&TControl::Width, &TControl::SetWidth>("Width", NoDefault),
      Property<&TControl::Height, &TControl::SetHeight>("Height", NoDefault),
      Property<&TControl::Cursor, &TControl::SetCursor>("Cursor", crDefault),
      Property<&TControl::Hint, &TControl::SetHint, &TControl::IsHintStored>("Hint"),
  };
};
OM_IMPLEMENT_CLASS(TControl, "Controls");

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TFont), FConstraints(new TSizeConstraints) {
  FFont->OnChange = Closure<&TControl::FontChange>(this);
  FConstraints->OnChange = Closure<&TControl::ConstraintsChange>(this);
}

TControl::~TControl() {
  Destroying();
  if (FAction) FAction->UnRegisterChanges(this);
  if (FParent) FParent->RemoveControl(this);
  delete FConstraints;
  delete FFont;
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  for (TWinControl* P = AParent; P; P = P->Parent())
    if (P == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* W = dynamic_cast<TWinControl*>(Value)) SetParent(W);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FConstraints->Apply(AWidth, AHeight);
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool Sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  RequestAlign();
  if (Sized && !ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() const {
  TRect M = BorderMargins();
  return Rect(0, 0, std::max(0, FWidth - M.Left - M.Right),
              std::max(0, FHeight - M.Top - M.Bottom));
}

void TControl::SetClientWidth(int Value) {
  TRect M = BorderMargins();
  SetWidth(Value + M.Left + M.Right);
}

void TControl::SetClientHeight(int Value) {
  TRect M = BorderMargins();
  SetHeight(Value + M.Top + M.Bottom);
}

TPoint TControl::ClientOrigin() const {
  TRect M = BorderMargins();
  TPoint P = Point(FLeft + M.Left, FTop + M.Top);
  if (FParent) {
    TPoint O = FParent->ClientOrigin();
    P.X += O.X;
    P.Y += O.Y;
  }
  return P;
}

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint O = ClientOrigin();
  return Point(P.X + O.X, P.Y + O.Y);
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint O = ClientOrigin();
  return Point(P.X - O.X, P.Y - O.Y);
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetAlign(TAlign Value) {
  if (Value == FAlign) return;
  TAlign Old = FAlign;
  FAlign = Value;
  if (FParent && (Old != alNone || Value != alNone)) FParent->Realign();
}

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  VisibleChanged();
  Invalidate();
  RequestAlign();
}

bool TControl::Showing() const {
  if (!FVisible) return false;
  if (FParent) return FParent->Showing();
  return dynamic_cast<const TCustomForm*>(this) != nullptr;
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Invalidate();
}

bool TControl::IsEnabledOnScreen() const {
  return FEnabled && (!FParent || FParent->IsEnabledOnScreen());
}

void TControl::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  Invalidate();
  TextChanged();
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  FParentShowHint = false;
  // The children that take it from this control take it now, not when next read.
  if (auto* W = dynamic_cast<TWinControl*>(this)) W->ChildrenParentChanged();
}

void TControl::SetParentShowHint(bool Value) {
  FParentShowHint = Value;
  if (Value) ParentChanged();
}

void TControl::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value) ParentChanged();
}

void TControl::SetColor(TColor Value) {
  if (Value == FColor && !FParentColor) return;
  FColor = Value;
  FParentColor = false;
  Invalidate();
  if (auto* W = dynamic_cast<TWinControl*>(this)) W->ChildrenParentChanged();
}

void TControl::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  if (Value) ParentChanged();
}

void TControl::ParentChanged() {
  if (!FParent) return;
  if (FParentFont && !FFont->Equals(FParent->Font())) {
    FCopyingParentFont = true;
    FFont->Assign(FParent->Font());
    FCopyingParentFont = false;
  }
  if (FParentColor && FColor != FParent->Color()) {
    FColor = FParent->Color();
    Invalidate();
    if (auto* W = dynamic_cast<TWinControl*>(this)) W->ChildrenParentChanged();
  }
  if (FParentShowHint && FShowHint != FParent->ShowHint()) {
    FShowHint = FParent->ShowHint();
    if (auto* W = dynamic_cast<TWinControl*>(this)) W->ChildrenParentChanged();
  }
}

void TControl::FontChange(TObject*) {
  if (!FCopyingParentFont) FParentFont = false;
  FontChanged();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::ConstraintsChange(TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); }

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (Value == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TControl::SetAction(TBasicAction* Value) { SetClientAction(this, this, FAction, Value); }

TCustomAction* TControl::LinkedAction() const { return dynamic_cast<TCustomAction*>(FAction); }

void TControl::ActionChanged(TBasicAction* Sender, TActionChange What) {
  if (auto* A = dynamic_cast<TCustomAction*>(Sender))
    ActionUpdated(A, ComponentState().Contains(csLoading), What);
}

void TControl::ActionUpdated(TCustomAction* Action, bool CheckDefaults, TActionChange What) {
  if (ActionChangeReaches(What, acCaption) && (!CheckDefaults || FText.empty()))
    SetCaption(Action->Caption());
  if (ActionChangeReaches(What, acEnabled) && (!CheckDefaults || FEnabled))
    SetEnabled(Action->Enabled());
  if (ActionChangeReaches(What, acHint) && (!CheckDefaults || FHint.empty()))
    SetHint(Action->Hint());
  if (ActionChangeReaches(What, acVisible) && (!CheckDefaults || FVisible))
    SetVisible(Action->Visible());
}

// What the action supplies is not stored again with the control.
bool TControl::IsCaptionStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->Caption() != FText;
}
bool TControl::IsEnabledStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->Enabled() != FEnabled;
}
bool TControl::IsHintStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->Hint() != FHint;
}
bool TControl::IsVisibleStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->Visible() != FVisible;
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& L = FParent->FControls;
  L.erase(std::find(L.begin(), L.end(), this));
  L.push_back(this);
  FParent->Realign();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& L = FParent->FControls;
  L.erase(std::find(L.begin(), L.end(), this));
  L.insert(L.begin(), this);
  FParent->Realign();
}

void TControl::Click() {
  ClickClient(this, OnClick, FAction);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::EndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::Paint(TCanvas*) {}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  ParentChanged();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (AComponent == FAction) FAction = nullptr;
}

// --- TWinControl ------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TWinControl, "Controls");

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // The platform frees a window's child controls with it, whoever owns them.
  while (!FControls.empty()) {
    TControl* C = FControls.back();
    RemoveControl(C);
    delete C;
  }
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError(Format("Control index out of bounds (%d)", {Index}));
  return FControls[size_t(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
  FControls.push_back(AControl);
  AControl->FParent = this;
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(W);
  AControl->ParentChanged();
  Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto It = std::find(FControls.begin(), FControls.end(), AControl);
  if (It == FControls.end()) return;
  FControls.erase(It);
  // Compared by address: a control being destroyed is no longer a TWinControl to a cast.
  std::erase_if(FTabList,
                [AControl](TWinControl* W) { return static_cast<TControl*>(W) == AControl; });
  AControl->FParent = nullptr;
  // The focus does not stay on a control that left its window.
  if (TCustomForm* F = GetParentForm(this))
    if (TWinControl* Active = F->ActiveControl()) {
      auto* W = dynamic_cast<TWinControl*>(AControl);
      if (static_cast<TControl*>(Active) == AControl || (W && W->ContainsControl(Active)))
        F->SetActiveControl(nullptr);
    }
  Realign();
}

bool TWinControl::ContainsControl(const TControl* AControl) const {
  for (const TControl* C = AControl; C; C = C->Parent())
    if (C == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled) const {
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
    TControl* C = *It;
    if (C->Visible() && (AllowDisabled || C->Enabled()) && C->BoundsRect().Contains(P)) return C;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& L = Parent()->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : int(It - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ComponentState().Contains(csReading)) {
    FReadTabOrder = Value;
    return;
  }
  if (!Parent()) return;
  auto& L = Parent()->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  if (It == L.end()) return;
  L.erase(It);
  if (Value < 0 || Value > int(L.size())) Value = int(L.size());
  L.insert(L.begin() + Value, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return FTabList; }

bool TWinControl::CanFocus() const { return Showing() && IsEnabledOnScreen(); }

void TWinControl::SetFocus() {
  TCustomForm* F = GetParentForm(this);
  if (!F) return;
  if (!CanFocus())
    throw EInvalidOperation(Format("Cannot focus a disabled or invisible window (%s)",
                                   {Name().empty() ? ClassName() : Name()}));
  F->SetActiveControl(this);
}

bool TWinControl::Focused() const {
  TCustomForm* F = GetParentForm(this);
  return F && F->ActiveControl() == this;
}

void TWinControl::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = std::max(0, Value);
  Realign();
}

TRect TWinControl::BorderMargins() const {
  return Rect(FBorderWidth, FBorderWidth, FBorderWidth, FBorderWidth);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int W = Width(), H = Height();
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (W != Width() || H != Height()) Realign();
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning) return;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  FAligning = true;
  try {
    AlignControls();
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

TRect TWinControl::AlignRect() const { return ClientRect(); }

void TWinControl::AlignControls() {
  ++FAlignCount;
  TRect R = AlignRect();
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> List;
    for (TControl* C : FControls)
      if (C->Visible() && C->Align() == A) List.push_back(C);
    // Controls of one alignment keep the order of their places: the top-most of the
    // top-aligned goes first, the bottom-most of the bottom-aligned, and so on.
    std::stable_sort(List.begin(), List.end(), [A](TControl* X, TControl* Y) {
      switch (A) {
        case alTop:
          return X->Top() < Y->Top();
        case alBottom:
          return X->Top() + X->Height() > Y->Top() + Y->Height();
        case alLeft:
          return X->Left() < Y->Left();
        case alRight:
          return X->Left() + X->Width() > Y->Left() + Y->Width();
        default:
          return false;
      }
    });
    for (TControl* C : List) {
      switch (A) {
        case alTop:
          C->SetBounds(R.Left, R.Top, R.Width(), C->Height());
          R.Top += C->Height();
          break;
        case alBottom:
          C->SetBounds(R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
          C->SetBounds(R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
          R.Bottom -= C->Height();
          break;
        case alLeft:
          C->SetBounds(R.Left, R.Top, C->Width(), std::max(0, R.Height()));
          R.Left += C->Width();
          break;
        case alRight:
          C->SetBounds(R.Right - C->Width(), R.Top, C->Width(), std::max(0, R.Height()));
          C->SetBounds(R.Right - C->Width(), R.Top, C->Width(), std::max(0, R.Height()));
          R.Right -= C->Width();
          break;
        default:
          C->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
          break;
      }
    }
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Every child read with this control stands in its tab list at the place its file gave
  // (a parent is loaded before its children, once the whole form is read).
  std::stable_sort(FTabList.begin(), FTabList.end(), [](TWinControl* A, TWinControl* B) {
    auto Key = [](TWinControl* W) { return W->FReadTabOrder < 0 ? INT_MAX : W->FReadTabOrder; };
    return Key(A) < Key(B);
  });
  for (TWinControl* W : FTabList) W->FReadTabOrder = -1;
  // Read into a parent that was already there (a paste): taken as set.
  if (FReadTabOrder >= 0) {
    int Order = FReadTabOrder;
    FReadTabOrder = -1;
    SetTabOrder(Order);
  }
  Realign();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  ChildrenParentChanged();
}

void TWinControl::ChildrenParentChanged() {
  for (TControl* C : FControls) C->ParentChanged();
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* C : FControls)
    if (C->Owner() == Root) Proc(C);
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
  om_paint::PaintControl(this, Canvas, Point(X, Y), Rect(X, Y, X + Width(), Y + Height()));
}

OM_IMPLEMENT_CLASS(TGraphicControl, "Controls");
OM_IMPLEMENT_CLASS(TCustomControl, "Controls");

template <>
struct TPublished<TImageList> {
  static constexpr TPropInfo Props[] = {
      Property<&TImageList::BkColor, &TImageList::SetBkColor>("BkColor", clNone),
      Property<&TImageList::AllocBy, &TImageList::SetAllocBy>("AllocBy", 4),
      Property<&TImageList::BlendColor, &TImageList::SetBlendColor>("BlendColor", clNone),
      Property<&TImageList::DrawingStyle, &TImageList::SetDrawingStyle>("DrawingStyle", dsNormal),
      Property<&TImageList::Height, &TImageList::SetHeight>("Height", 16),
      Property<&TImageList::ImageType, &TImageList::SetImageType>("ImageType", itImage),
      Property<&TImageList::Masked, &TImageList::SetMasked>("Masked", 1),
      Property<&TImageList::ShareImages, &TImageList::SetShareImages>("ShareImages", 0),
      Property<&TImageList::Width, &TImageList::SetWidth>("Width", 16),
      Property<&TImageList::OnChange, &TImageList::OnChange>("OnChange"),
  };
};
OM_IMPLEMENT_CLASS(TImageList, "Controls");

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* C = Control;
  while (C && C->Parent()) C = C->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(C));
}
