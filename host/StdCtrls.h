// StdCtrls: labels, buttons, single-line edits and memos.
#pragma once

#include "Controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
OM_ENUM_TYPE(TTextLayout)
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
OM_ENUM_TYPE(TScrollStyle)

// Text on the form; its accelerator (Alt and the underlined letter) puts the focus into
// its focus control.
class PACKAGE TCustomLabel : public TGraphicControl {
  OM_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  TWinControl* FocusControl() const noexcept { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const noexcept { return FAutoSize; }
  void SetAutoSize(bool Value);
  TTextLayout Layout() const noexcept { return FLayout; }
  void SetLayout(TTextLayout Value) { FLayout = Value; }
  bool Transparent() const noexcept { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  bool WordWrap() const noexcept { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  bool ShowAccelChar() const noexcept { return FShowAccelChar; }
  void SetShowAccelChar(bool Value) { FShowAccelChar = Value; }
  // The accelerator letter of the caption (upper case), or 0.
  char Accelerator() const;
  void Paint(TCanvas* Canvas) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void TextChanged() override;
  void FontChanged() override;
  void Loaded() override;
  void AdjustBounds();

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TTextLayout FLayout = tlTop;
  bool FTransparent = false;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
};

class PACKAGE TLabel : public TCustomLabel {
  OM_CLASS(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// A push button. Clicking it sets its form's ModalResult to its own (ending a modal
// loop) before its action or OnClick runs. Enter clicks the form's default button and
// Escape its cancel button, unless the focused control keeps the key.
class PACKAGE TButton : public TWinControl {
  OM_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* AOwner);
  bool Default() const noexcept { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const noexcept { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const noexcept { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Click() override;
  void DefaultKeyPress(char Key) override;
  void Paint(TCanvas* Canvas) override;

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

// Editable text: typed characters go in at the caret (replacing the selection);
// OnChange follows every change, typed or set.
class PACKAGE TCustomEdit : public TWinControl {
  OM_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  int MaxLength() const noexcept { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value; }
  bool ReadOnly() const noexcept { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool Modified() const noexcept { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  int SelStart() const noexcept { return FSelStart; }
  void SetSelStart(int Value);
  int SelLength() const noexcept { return FSelLength; }
  void SetSelLength(int Value);
  String SelText() const;
  // Replaces the selection (or inserts at the caret) as typing does.
  void SetSelText(const String& Value);
  void SelectAll();
  void Clear() { SetText(String()); }
  TNotifyEvent OnChange;

  void DefaultKeyDown(Word Key, TShiftState Shift) override;
  void DefaultKeyPress(char Key) override;
  // A click puts the caret after the text (entering by Tab selects all of it instead).
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  TRect BorderMargins() const override { return Rect(2, 2, 2, 2); }

 protected:
  void TextChanged() override;
  virtual void Change();

 private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  bool FModified = false;
  int FSelStart = 0;
  int FSelLength = 0;
  bool FEditing = false;
};

class PACKAGE TEdit : public TCustomEdit {
  OM_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  void Paint(TCanvas* Canvas) override;
};

// A multi-line edit. Its text holds CR LF line breaks; Lines shows it line by line, and
// counts lines as the platform does: an empty last line is not counted.
class PACKAGE TCustomMemo : public TCustomEdit {
  OM_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* Lines() const noexcept { return FLines; }
  void SetLines(TStrings* Value);
  TScrollStyle ScrollBars() const noexcept { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value) { FScrollBars = Value; }
  bool WordWrap() const noexcept { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  bool WantReturns() const noexcept { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const noexcept { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  TAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  // The line and column of the caret, counted from 0.
  TPoint CaretPos() const;

  bool WantsKey(Word Key, TShiftState Shift) const override;
  void DefaultKeyPress(char Key) override;
  void Paint(TCanvas* Canvas) override;

 protected:
  // Lone CRs and LFs become CR LF, so that every break the text holds is a line.
  void TextChanged() override;

 private:
  TStrings* FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TAlignment FAlignment = taLeftJustify;
};

class PACKAGE TMemo : public TCustomMemo {
  OM_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
