// Controls: the base classes of everything a window shows. A control has a parent (the
// windowed control that encloses it), a position and size in its parent's client area,
// an alignment that the parent's layout honours, and the mouse, key and drag events
// that the application's input sends it.
#pragma once

#include <vector>

#include "Menus.h"

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
OM_ENUM_TYPE(TAlign)
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
OM_ENUM_TYPE(TAlignment)
enum TMouseButton { mbLeft, mbRight, mbMiddle };
OM_ENUM_TYPE(TMouseButton)
enum TDragMode { dmManual, dmAutomatic };
OM_ENUM_TYPE(TDragMode)
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
OM_ENUM_TYPE(TDragState)
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
OM_ENUM_TYPE(TFormBorderStyle)
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for controls

enum TCursor : int {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSize = -22,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNoDrop = -13,
  crHSplit = -14,
  crVSplit = -15,
  crMultiDrag = -16,
  crSQLWait = -17,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
  crHandPoint = -21
};
extern PACKAGE const TTypeInfo TypeInfo_TCursor;
template <>
struct TTypeInfoOf<TCursor> {
  static constexpr PTypeInfo Get() { return &TypeInfo_TCursor; }
};

// What ends a modal window; buttons carry one.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10
};
extern PACKAGE const TTypeInfo TypeInfo_TModalResult;
template <>
struct TTypeInfoOf<TModalResult> {
  static constexpr PTypeInfo Get() { return &TypeInfo_TModalResult; }
};

using TCaption = String;

OM_EVENT_TYPE(TKeyEvent, TObject*, Word&, TShiftState)
OM_EVENT_TYPE(TKeyPressEvent, TObject*, char&)
OM_EVENT_TYPE(TMouseEvent, TObject*, TMouseButton, TShiftState, int, int)
OM_EVENT_TYPE(TMouseMoveEvent, TObject*, TShiftState, int, int)
OM_EVENT_TYPE(TDragOverEvent, TObject*, TObject*, int, int, TDragState, bool&)
OM_EVENT_TYPE(TDragDropEvent, TObject*, TObject*, int, int)
OM_EVENT_TYPE(TEndDragEvent, TObject*, TObject*, int, int)

// Limits of a control's size; 0 means none.
class PACKAGE TSizeConstraints : public TPersistent {
  OM_CLASS(TSizeConstraints, TPersistent)
 public:
  TSizeConstraints() = default;
  void Assign(TPersistent* Source) override;
  int MaxHeight() const noexcept { return FMaxHeight; }
  void SetMaxHeight(int Value);
  int MaxWidth() const noexcept { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MinHeight() const noexcept { return FMinHeight; }
  void SetMinHeight(int Value);
  int MinWidth() const noexcept { return FMinWidth; }
  void SetMinWidth(int Value);
  // A size held within the limits.
  void Apply(int& Width, int& Height) const;
  TNotifyEvent OnChange;

 private:
  void Changed();
  int FMaxHeight = 0;
  int FMaxWidth = 0;
  int FMinHeight = 0;
  int FMinWidth = 0;
};

class PACKAGE TControl : public TComponent, public IActionClient {
  OM_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const noexcept { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const noexcept { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const noexcept { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const noexcept { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const noexcept { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Moves and sizes the control, within its constraints; the parent lays out again.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
  // The area inside the control's borders, in its own coordinates.
  TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // The thickness of the borders (frame, caption, edges) on each side.
  virtual TRect BorderMargins() const { return TRect{}; }
  // Screen coordinates of a point of the client area, and back.
  TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  TAlign Align() const noexcept { return FAlign; }
  void SetAlign(TAlign Value);
  bool Visible() const noexcept { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a shown form too.
  bool Showing() const;
  bool Enabled() const noexcept { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled, and every parent too.
  bool IsEnabledOnScreen() const;

  const String& Caption() const noexcept { return FText; }
  void SetCaption(const String& Value) { SetText(Value); }
  const String& Text() const noexcept { return FText; }
  void SetText(const String& Value);
  const String& Hint() const noexcept { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const noexcept { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const noexcept { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  TFont* Font() const noexcept { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const noexcept { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const noexcept { return FParentColor; }
  void SetParentColor(bool Value);
  TPopupMenu* PopupMenu() const noexcept { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  TSizeConstraints* Constraints() const noexcept { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  TCursor Cursor() const noexcept { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  TDragMode DragMode() const noexcept { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TBasicAction* Action() const noexcept { return FAction; }
  void SetAction(TBasicAction* Value);
  // Raises the control above its siblings, or lowers it below them.
  void BringToFront();
  void SendToBack();

  // What a click does: the action, or OnClick.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // A drag reaching this control: OnDragOver decides (accepting unless it says no);
  // without a handler nothing is accepted.
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void EndDrag(TObject* Target, int X, int Y);
  // The control's own painting, in its own coordinates; Invalidate counts requests.
  virtual void Paint(TCanvas* Canvas);
  void Invalidate() { ++FInvalidateCount; }
  int InvalidateCount() const noexcept { return FInvalidateCount; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TNotifyEvent OnResize;

  void ActionChanged(TBasicAction* Sender, TActionChange What) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // The caption or text changed.
  virtual void TextChanged() {}
  virtual void Resize();
  virtual void FontChanged();
  virtual void VisibleChanged() {}
  // The parent's font, colour or hint setting, for controls that take them over.
  virtual void ParentChanged();
  // The action's caption, hint and so on, copied to the control: what changed (What), or
  // everything when the control is linked. While a form is read (CheckDefaults) only what
  // the form left at its default is taken from the action.
  virtual void ActionUpdated(TCustomAction* Action, bool CheckDefaults, TActionChange What);
  TCustomAction* LinkedAction() const;
  bool IsCaptionStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsVisibleStored() const;
  bool IsFontStored() const { return !FParentFont; }
  bool IsColorStored() const { return !FParentColor; }
  bool IsShowHintStored() const { return !FParentShowHint; }
  void RequestAlign();
  bool FSettingBounds = false;

 private:
  friend class TWinControl;
  void FontChange(TObject* Sender);
  void ConstraintsChange(TObject* Sender);
  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  String FText;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TFont* FFont;
  bool FParentFont = true;
  bool FCopyingParentFont = false;
  TColor FColor = clWindow;
  bool FParentColor = false;
  TPopupMenu* FPopupMenu = nullptr;
  TSizeConstraints* FConstraints;
  TCursor FCursor = crDefault;
  TDragMode FDragMode = dmManual;
  TBasicAction* FAction = nullptr;
  int FInvalidateCount = 0;
};

// A control that holds other controls, takes the keyboard focus and lays out its
// aligned children.
class PACKAGE TWinControl : public TControl {
  OM_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const noexcept { return int(FControls.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* AControl) const;
  // The visible, enabled child control under a point of the client area, or null.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled = false) const;

  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const noexcept { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  // The windowed children in tab order.
  std::vector<TWinControl*> TabList() const;
  // Can take the focus: shown and enabled.
  virtual bool CanFocus() const;
  // Whether the designer may place controls on this one (the platform's
  // csAcceptsControls): forms, panels and tool bars do, a grid or a button does not.
  virtual bool AcceptsControls() const { return false; }
  // Makes this the focused control of its form.
  virtual void SetFocus();
  bool Focused() const;
  int BorderWidth() const noexcept { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TRect BorderMargins() const override;

  // Lays out the aligned children again; held while loading or between DisableAlign and
  // EnableAlign.
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  int AlignCount() const noexcept { return FAlignCount; }

  // The control's reaction to a key the focused control receives: OnKeyDown or
  // OnKeyPress, then what the control itself does with it (a memo types a character).
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void DefaultKeyDown(Word Key, TShiftState Shift) {}
  virtual void DefaultKeyPress(char Key) {}
  // True when the control keeps Enter, Escape or Tab for itself rather than letting the
  // form's default or cancel button have it.
  virtual bool WantsKey(Word Key, TShiftState Shift) const { return false; }

  // Paints the control and its children into a canvas, at the canvas origin.
  void PaintTo(TCanvas* Canvas, int X, int Y);

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Loaded() override;
  void FontChanged() override;
  // The area aligned children fill, in client coordinates.
  virtual TRect AlignRect() const;
  virtual void AlignControls();
  void ChildrenParentChanged();

 private:
  friend class TControl;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  // The tab order a form file gave, kept until the whole form is read: applied one by one
  // as they come, a later sibling's order would move an earlier one.
  int FReadTabOrder = -1;
  bool FTabStop = false;
  int FBorderWidth = 0;
  int FAlignLevel = 0;
  bool FAligning = false;
  int FAlignCount = 0;
};

// A control without a window of its own (a label, a splitter, a tool button).
class PACKAGE TGraphicControl : public TControl {
  OM_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
};

// A windowed control that paints itself.
class PACKAGE TCustomControl : public TWinControl {
  OM_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
};

// The image list as form files name it.
class PACKAGE TImageList : public TCustomImageList {
  OM_CLASS(TImageList, TCustomImageList)
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

// The form a control is on, or null.
PACKAGE TCustomForm* GetParentForm(const TControl* Control);
