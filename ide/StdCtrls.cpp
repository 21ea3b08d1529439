#include "StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "Forms.h"
#include "Paint.h"

OM_ENUM_TYPE_INFO(TTextLayout, "tlTop", "tlCenter", "tlBottom");
OM_ENUM_TYPE_INFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth");

namespace {
// Line breaks as the edit control keeps them: a CR, an LF or a CR LF each becomes CR LF.
String AdjustLineBreaks(const String& S) {
  String R;
  R.reserve(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\r') {
      R += "\r\n";
      if (I + 1 < S.size() && S[I + 1] == '\n') ++I;
    } else if (S[I] == '\n') {
      R += "\r\n";
    } else {
      R += S[I];
    }
  }
  return R;
}

// Where each line of a CR LF text starts.
std::vector<size_t> LineStarts(const String& S) {
  std::vector<size_t> Starts{0};
  for (size_t P = S.find("\r\n"); P != String::npos; P = S.find("\r\n", P + 2))
    Starts.push_back(P + 2);
  return Starts;
}

size_t LineLength(const String& S, const std::vector<size_t>& Starts, size_t Line) {
  size_t End = Line + 1 < Starts.size() ? Starts[Line + 1] - 2 : S.size();
  return End - Starts[Line];
}
}  // namespace

// --- TCustomLabel ------------------------------------------------------------------------------

template <>
struct TPublished<TCustomLabel> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomLabel::Align, &TCustomLabel::SetAlign>("Align", alNone),
      Property<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>("Alignment", taLeftJustify),
      Property<&TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize>("AutoSize", 1),
      Property<&TCustomLabel::Caption, &TCustomLabel::SetCaption, &TCustomLabel::IsCaptionStored>(
          "Caption"),
      Property<&TCustomLabel::Color, &TCustomLabel::SetColor, &TCustomLabel::IsColorStored>(
          "Color", NoDefault),
      Property<&TCustomLabel::Constraints, &TCustomLabel::SetConstraints>("Constraints"),
      Property<&TCustomLabel::DragMode, &TCustomLabel::SetDragMode>("DragMode", dmManual),
      Property<&TCustomLabel::Enabled, &TCustomLabel::SetEnabled, &TCustomLabel::IsEnabledStored>(
          "Enabled", 1),
      Property<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>("FocusControl"),
      Property<&TCustomLabel::Font, &TCustomLabel::SetFont, &TCustomLabel::IsFontStored>("Font"),
      Property<&TCustomLabel::Layout, &TCustomLabel::SetLayout>("Layout", tlTop),
      Property<&TCustomLabel::ParentColor, &TCustomLabel::SetParentColor>("ParentColor", 1),
      Property<&TCustomLabel::ParentFont, &TCustomLabel::SetParentFont>("ParentFont", 1),
      Property<&TCustomLabel::ParentShowHint, &TCustomLabel::SetParentShowHint>("ParentShowHint",
                                                                                1),
      Property<&TCustomLabel::PopupMenu, &TCustomLabel::SetPopupMenu>("PopupMenu"),
      Property<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>("ShowAccelChar", 1),
      Property<&TCustomLabel::ShowHint, &TCustomLabel::SetShowHint,
               &TCustomLabel::IsShowHintStored>("ShowHint", NoDefault),
      Property<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent", 0),
      Property<&TCustomLabel::Visible, &TCustomLabel::SetVisible, &TCustomLabel::IsVisibleStored>(
          "Visible", 1),
      Property<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>("WordWrap", 0),
      Property<&TCustomLabel::OnClick, &TCustomLabel::OnClick>("OnClick"),
      Property<&TCustomLabel::OnDblClick, &TCustomLabel::OnDblClick>("OnDblClick"),
      Property<&TCustomLabel::OnDragDrop, &TCustomLabel::OnDragDrop>("OnDragDrop"),
      Property<&TCustomLabel::OnDragOver, &TCustomLabel::OnDragOver>("OnDragOver"),
      Property<&TCustomLabel::OnMouseDown, &TCustomLabel::OnMouseDown>("OnMouseDown"),
      Property<&TCustomLabel::OnMouseUp, &TCustomLabel::OnMouseUp>("OnMouseUp"),
  };
};
OM_IMPLEMENT_CLASS(TCustomLabel, "StdCtrls");
OM_IMPLEMENT_CLASS(TLabel, "StdCtrls");

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustBounds();
}

char TCustomLabel::Accelerator() const {
  if (!FShowAccelChar) return 0;
  const String& T = Caption();
  for (size_t I = 0; I + 1 < T.size(); ++I) {
    if (T[I] != '&') continue;
    if (T[I + 1] == '&') {
      ++I;
      continue;
    }
    return char(std::toupper(static_cast<unsigned char>(T[I + 1])));
  }
  return 0;
}

void TCustomLabel::TextChanged() { AdjustBounds(); }
void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}
void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || FWordWrap || ComponentState().Contains(csLoading)) return;
  TCanvas C;
  C.Font()->Assign(Font());
  String T = FShowAccelChar ? StripHotkey(Caption()) : Caption();
  TPoint E = C.TextExtent(T.empty() ? String(" ") : T);
  int NewLeft = Left();
  // A right-aligned label keeps its right edge.
  if (FAlignment == taRightJustify) NewLeft = Left() + Width() - E.X;
  SetBounds(NewLeft, Top(), E.X, E.Y);
}

void TCustomLabel::Paint(TCanvas* Canvas) {
  if (!FTransparent) {
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(Rect(0, 0, Width(), Height()));
  }
  String T = FShowAccelChar ? StripHotkey(Caption()) : Caption();
  int W = Canvas->TextWidth(T);
  int X = FAlignment == taRightJustify ? Width() - W
          : FAlignment == taCenter     ? (Width() - W) / 2
                                       : 0;
  int H = Canvas->TextHeight(T);
  int Y = FLayout == tlBottom ? Height() - H : FLayout == tlCenter ? (Height() - H) / 2 : 0;
  if (FShowAccelChar)
    om_paint::AccelText(Canvas, X, Y, Caption(), IsEnabledOnScreen());
  else {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->TextOut(X, Y, T);
  }
}

// --- TButton -----------------------------------------------------------------------------------

template <>
struct TPublished<TButton> {
  static constexpr TPropInfo Props[] = {
      Property<&TButton::Action, &TButton::SetAction>("Action"),
      Property<&TButton::Cancel, &TButton::SetCancel>("Cancel", 0),
      Property<&TButton::Caption, &TButton::SetCaption, &TButton::IsCaptionStored>("Caption"),
      Property<&TButton::Constraints, &TButton::SetConstraints>("Constraints"),
      Property<&TButton::Default, &TButton::SetDefault>("Default", 0),
      Property<&TButton::Enabled, &TButton::SetEnabled, &TButton::IsEnabledStored>("Enabled", 1),
      Property<&TButton::Font, &TButton::SetFont, &TButton::IsFontStored>("Font"),
      Property<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult", mrNone),
      Property<&TButton::ParentFont, &TButton::SetParentFont>("ParentFont", 1),
      Property<&TButton::ParentShowHint, &TButton::SetParentShowHint>("ParentShowHint", 1),
      Property<&TButton::PopupMenu, &TButton::SetPopupMenu>("PopupMenu"),
      Property<&TButton::ShowHint, &TButton::SetShowHint, &TButton::IsShowHintStored>("ShowHint",
                                                                                      NoDefault),
      Property<&TButton::TabOrder, &TButton::SetTabOrder>("TabOrder", -1),
      Property<&TButton::TabStop, &TButton::SetTabStop>("TabStop", 1),
      Property<&TButton::Visible, &TButton::SetVisible, &TButton::IsVisibleStored>("Visible", 1),
      Property<&TButton::OnClick, &TButton::OnClick>("OnClick"),
      Property<&TButton::OnKeyDown, &TButton::OnKeyDown>("OnKeyDown"),
      Property<&TButton::OnKeyPress, &TButton::OnKeyPress>("OnKeyPress"),
  };
};
OM_IMPLEMENT_CLASS(TButton, "StdCtrls");

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::Click() {
  if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::DefaultKeyPress(char Key) {
  if (Key == ' ') Click();
}

void TButton::Paint(TCanvas* Canvas) {
  TRect R = Rect(0, 0, Width(), Height());
  bool Frame = FDefault || Focused();
  if (Frame) {
    Canvas->Brush()->SetColor(clBlack);
    Canvas->FrameRect(R);
    R = Rect(1, 1, Width() - 1, Height() - 1);
  }
  om_paint::ButtonFace(Canvas, R, false);
  String T = StripHotkey(Caption());
  int X = (Width() - Canvas->TextWidth(T)) / 2;
  int Y = (Height() - Canvas->TextHeight(T)) / 2;
  om_paint::AccelText(Canvas, X, Y, Caption(), IsEnabledOnScreen());
}

// --- TCustomEdit -------------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TCustomEdit, "StdCtrls");

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::SetSelStart(int Value) {
  FSelStart = std::clamp(Value, 0, int(Text().size()));
  FSelLength = 0;
}

void TCustomEdit::SetSelLength(int Value) {
  FSelLength = std::clamp(Value, 0, int(Text().size()) - FSelStart);
}

String TCustomEdit::SelText() const { return Text().substr(size_t(FSelStart), size_t(FSelLength)); }

void TCustomEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = int(Text().size());
}

void TCustomEdit::SetSelText(const String& Value) {
  String T = Text();
  String Insert = Value;
  if (FMaxLength > 0) {
    int Room = FMaxLength - (int(T.size()) - FSelLength);
    if (Room < int(Insert.size())) Insert.resize(size_t(std::max(0, Room)));
  }
  T.replace(size_t(FSelStart), size_t(FSelLength), Insert);
  int Caret = FSelStart + int(Insert.size());
  FEditing = true;
  SetText(T);
  FEditing = false;
  FSelStart = std::min(Caret, int(Text().size()));
  FSelLength = 0;
}

void TCustomEdit::TextChanged() {
  if (FSelStart > int(Text().size()) || !FEditing) {
    // Text set from outside puts the caret at its start, as the platform does.
    FSelStart = FEditing ? int(Text().size()) : 0;
    FSelLength = 0;
  }
  if (FEditing) FModified = true;
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) SetSelStart(int(Text().size()));
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomEdit::DefaultKeyDown(Word Key, TShiftState Shift) {
  if (Key == VK_DELETE && !FReadOnly) {
    if (FSelLength == 0 && FSelStart < int(Text().size())) {
      bool Pair = Text().compare(size_t(FSelStart), 2, "\r\n") == 0;
      FSelLength = Pair ? 2 : 1;
    }
    if (FSelLength > 0) SetSelText(String());
  } else if (Key == VK_LEFT) {
    SetSelStart(FSelStart -
                (FSelStart >= 2 && Text().compare(size_t(FSelStart) - 2, 2, "\r\n") == 0 ? 2 : 1));
  } else if (Key == VK_RIGHT) {
    SetSelStart(FSelStart + (Text().compare(size_t(FSelStart), 2, "\r\n") == 0 ? 2 : 1));
  } else if (Key == VK_HOME) {
    size_t P = Text().rfind("\r\n", FSelStart > 0 ? size_t(FSelStart - 1) : 0);
    SetSelStart(P == String::npos || FSelStart == 0 ? 0 : int(P) + 2);
  } else if (Key == VK_END) {
    size_t P = Text().find("\r\n", size_t(FSelStart));
    SetSelStart(P == String::npos ? int(Text().size()) : int(P));
  }
}

void TCustomEdit::DefaultKeyPress(char Key) {
  if (FReadOnly) return;
  if (Key == 8) {
    if (FSelLength == 0 && FSelStart > 0) {
      bool Pair = FSelStart >= 2 && Text().compare(size_t(FSelStart) - 2, 2, "\r\n") == 0;
      FSelStart -= Pair ? 2 : 1;
      FSelLength = Pair ? 2 : 1;
    }
    if (FSelLength > 0) SetSelText(String());
    return;
  }
  if (static_cast<unsigned char>(Key) >= 32) SetSelText(String(1, Key));
}

template <>
struct TPublished<TEdit> {
  static constexpr TPropInfo Props[] = {
      Property<&TEdit::Align, &TEdit::SetAlign>("Align", alNone),
      Property<&TEdit::Color, &TEdit::SetColor, &TEdit::IsColorStored>("Color", clWindow),
      Property<&TEdit::Enabled, &TEdit::SetEnabled, &TEdit::IsEnabledStored>("Enabled", 1),
      Property<&TEdit::Font, &TEdit::SetFont, &TEdit::IsFontStored>("Font"),
      Property<&TEdit::MaxLength, &TEdit::SetMaxLength>("MaxLength", 0),
      Property<&TEdit::ParentFont, &TEdit::SetParentFont>("ParentFont", 1),
      Property<&TEdit::PopupMenu, &TEdit::SetPopupMenu>("PopupMenu"),
      Property<&TEdit::ReadOnly, &TEdit::SetReadOnly>("ReadOnly", 0),
      Property<&TEdit::TabOrder, &TEdit::SetTabOrder>("TabOrder", -1),
      Property<&TEdit::TabStop, &TEdit::SetTabStop>("TabStop", 1),
      Property<&TEdit::Text, &TEdit::SetText>("Text"),
      Property<&TEdit::Visible, &TEdit::SetVisible, &TEdit::IsVisibleStored>("Visible", 1),
      Property<&TEdit::OnChange, &TEdit::OnChange>("OnChange"),
      Property<&TEdit::OnKeyDown, &TEdit::OnKeyDown>("OnKeyDown"),
      Property<&TEdit::OnKeyPress, &TEdit::OnKeyPress>("OnKeyPress"),
  };
};
OM_IMPLEMENT_CLASS(TEdit, "StdCtrls");

void TEdit::Paint(TCanvas* Canvas) {
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, Width(), Height()));
  om_paint::SunkenBorder(Canvas, Rect(0, 0, Width(), Height()));
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(Rect(2, 2, Width() - 2, Height() - 2), 4,
                   (Height() - Canvas->TextHeight("0")) / 2, Text());
}

// --- TCustomMemo -------------------------------------------------------------------------------

// The memo's text seen line by line, as the platform's memo strings count and edit it.
// Where each line starts is kept until the text changes, and between BeginUpdate and
// EndUpdate (a form file's lines, Assign) the lines are edited in a copy that the memo
// takes once at the end: line by line through the memo, loading n lines would read and
// copy the whole text n times.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  // The memo's own text changed: where its lines start is found again when next asked.
  void TextChanged() {
    if (!FBatch) FIndexed = false;
  }
  int Count() const override {
    Index();
    return FCount;
  }
  String Strings(int Index) const override {
    Check(Index, Count());
    return Text().substr(FStarts[size_t(Index)], Length(size_t(Index)));
  }
  void SetStrings(int Index, const String& Value) override {
    Check(Index, Count());
    size_t Start = FStarts[size_t(Index)], Len = Length(size_t(Index));
    Edit([&](String& T) { T.replace(Start, Len, Value); });
  }
  void Insert(int Index, const String& Value) override {
    int N = Count();
    Check(Index, N + 1);
    if (Index < N) {
      size_t At = FStarts[size_t(Index)];
      Edit([&](String& T) { T.insert(At, Value + "\r\n"); });
      return;
    }
    // After the last line the text grows at its end; in a batch, its index grows with it.
    bool Open = FCount < int(FStarts.size());  // the text ends with a line break
    size_t End = Text().size();
    String Piece = Open ? Value + "\r\n" : "\r\n" + Value;
    if (!FBatch) {
      Edit([&](String& T) { T += Piece; });
      return;
    }
    FWork += Piece;
    FStarts.push_back(Open ? End + Piece.size() : End + 2);
    ++FCount;
  }
  void Delete(int Index) override {
    Check(Index, Count());
    size_t Start = FStarts[size_t(Index)];
    size_t End = size_t(Index) + 1 < FStarts.size() ? FStarts[size_t(Index) + 1] : Text().size();
    Edit([&](String& T) { T.erase(Start, End - Start); });
  }
  void Clear() override {
    Edit([](String& T) { T.clear(); });
  }
  void SetText(const String& Value) override {
    String Adjusted = AdjustLineBreaks(Value);
    Edit([&](String& T) { T = std::move(Adjusted); });
  }

 protected:
  void SetUpdateState(bool Updating) override {
    if (Updating) {
      FWork = FMemo->Text();
      FBatch = true;
      return;
    }
    FBatch = false;
    FIndexed = false;
    String Done = std::move(FWork);
    FWork.clear();
    FMemo->SetText(Done);
  }

 private:
  const String& Text() const { return FBatch ? FWork : FMemo->Text(); }
  static void Check(int Index, int Limit) {
    if (Index < 0 || Index >= Limit)
      throw EStringListError(Format("List index out of bounds (%d)", {Index}));
  }
  void Index() const {
    if (FIndexed) return;
    const String& T = Text();
    FStarts = LineStarts(T);
    FCount = int(FStarts.size());
    if (LineLength(T, FStarts, FStarts.size() - 1) == 0) --FCount;
    FIndexed = true;
  }
  size_t Length(size_t Line) const { return LineLength(Text(), FStarts, Line); }
  template <class F>
  void Edit(F&& Change) {
    FIndexed = false;
    if (FBatch) return Change(FWork);
    String T = FMemo->Text();
    Change(T);
    FMemo->SetText(T);
  }
  TCustomMemo* FMemo;
  String FWork;  // the text being edited between BeginUpdate and EndUpdate
  bool FBatch = false;
  mutable std::vector<size_t> FStarts;
  mutable int FCount = 0;
  mutable bool FIndexed = false;
};

template <>
struct TPublished<TCustomMemo> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomMemo::Align, &TCustomMemo::SetAlign>("Align", alNone),
      Property<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>("Alignment", taLeftJustify),
      Property<&TCustomMemo::Color, &TCustomMemo::SetColor, &TCustomMemo::IsColorStored>("Color",
                                                                                         clWindow),
      Property<&TCustomMemo::Enabled, &TCustomMemo::SetEnabled, &TCustomMemo::IsEnabledStored>(
          "Enabled", 1),
      Property<&TCustomMemo::Font, &TCustomMemo::SetFont, &TCustomMemo::IsFontStored>("Font"),
      Property<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines"),
      Property<&TCustomMemo::MaxLength, &TCustomMemo::SetMaxLength>("MaxLength", 0),
      Property<&TCustomMemo::ParentFont, &TCustomMemo::SetParentFont>("ParentFont", 1),
      Property<&TCustomMemo::PopupMenu, &TCustomMemo::SetPopupMenu>("PopupMenu"),
      Property<&TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly>("ReadOnly", 0),
      Property<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars", ssNone),
      Property<&TCustomMemo::TabOrder, &TCustomMemo::SetTabOrder>("TabOrder", -1),
      Property<&TCustomMemo::TabStop, &TCustomMemo::SetTabStop>("TabStop", 1),
      Property<&TCustomMemo::Visible, &TCustomMemo::SetVisible, &TCustomMemo::IsVisibleStored>(
          "Visible", 1),
      Property<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns", 1),
      Property<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs", 0),
      Property<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap", 1),
      Property<&TCustomMemo::OnChange, &TCustomMemo::OnChange>("OnChange"),
      Property<&TCustomMemo::OnKeyDown, &TCustomMemo::OnKeyDown>("OnKeyDown"),
      Property<&TCustomMemo::OnKeyPress, &TCustomMemo::OnKeyPress>("OnKeyPress"),
      Property<&TCustomMemo::OnKeyUp, &TCustomMemo::OnKeyUp>("OnKeyUp"),
  };
};
OM_IMPLEMENT_CLASS(TCustomMemo, "StdCtrls");
OM_IMPLEMENT_CLASS(TMemo, "StdCtrls");

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this)) {
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() { delete FLines; }

void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

void TCustomMemo::TextChanged() {
  static_cast<TMemoStrings*>(FLines)->TextChanged();
  String A = AdjustLineBreaks(Text());
  if (A != Text()) {
    SetText(A);
    return;
  }
  TCustomEdit::TextChanged();
}

TPoint TCustomMemo::CaretPos() const {
  std::vector<size_t> S = LineStarts(Text());
  size_t Line = size_t(std::upper_bound(S.begin(), S.end(), size_t(SelStart())) - S.begin()) - 1;
  return Point(int(size_t(SelStart()) - S[Line]), int(Line));
}

bool TCustomMemo::WantsKey(Word Key, TShiftState Shift) const {
  if (Key == VK_RETURN) return FWantReturns || Shift.Contains(ssCtrl);
  if (Key == VK_TAB) return FWantTabs;
  return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

void TCustomMemo::DefaultKeyPress(char Key) {
  if (ReadOnly()) return;
  if (Key == '\r') {
    if (FWantReturns) SetSelText("\r\n");
    return;
  }
  if (Key == '\n') {
    SetSelText("\r\n");
    return;
  }
  if (Key == '\t') {
    if (FWantTabs) SetSelText("\t");
    return;
  }
  TCustomEdit::DefaultKeyPress(Key);
}

void TCustomMemo::Paint(TCanvas* Canvas) {
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, Width(), Height()));
  om_paint::SunkenBorder(Canvas, Rect(0, 0, Width(), Height()));
  int Right = Width() - 2 - (FScrollBars == ssVertical || FScrollBars == ssBoth ? 16 : 0);
  int Bottom = Height() - 2 - (FScrollBars == ssHorizontal || FScrollBars == ssBoth ? 16 : 0);
  TRect Area = Rect(2, 2, Right, Bottom);
  Canvas->Brush()->SetStyle(bsClear);
  int H = Canvas->TextHeight("0");
  for (int I = 0; I < FLines->Count() && 2 + I * H < Bottom; ++I)
    Canvas->TextRect(Area, 4, 2 + I * H, FLines->Strings(I));
  Canvas->Brush()->SetColor(clBtnFace);
  if (Right < Width() - 2) Canvas->FillRect(Rect(Right, 2, Width() - 2, Bottom));
  if (Bottom < Height() - 2) Canvas->FillRect(Rect(2, Bottom, Width() - 2, Height() - 2));
}
