#include "IDELinesDlg.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "SysUtils.h"

namespace Idelinesdlg {

const char* const DeletionMarker = "\x1b";

String ReplaceAll(const String& Source, const String& Pattern, const String& Replacement) {
  if (Pattern.empty()) return Source;
  // Left to right, without overlap, the inserted text never searched again; the source is
  // read once from where the last occurrence ended, never cut down and copied.
  const size_t M = Pattern.size();
  const char *From = Source.data(), *End = From + Source.size();
  auto Find = [&](const char* At) -> const char* {
    while (At + M <= End) {
      At = static_cast<const char*>(std::memchr(At, Pattern[0], size_t(End - At) - M + 1));
      if (!At || std::memcmp(At + 1, Pattern.data() + 1, M - 1) == 0) return At;
      ++At;
    }
    return nullptr;
  };
  String Result;
  if (Replacement.size() <= M) {
    // Never longer than the source: written in place, no growing on the way.
    Result.resize(Source.size());
    char* Out = Result.data();
    for (const char* At; (At = Find(From)); From = At + M) {
      std::memcpy(Out, From, size_t(At - From));
      Out += At - From;
      // NOLINTNEXTLINE(bugprone-not-null-terminated-result): a std::string's buffer, sized after
      std::memcpy(Out, Replacement.data(), Replacement.size());
      Out += Replacement.size();
    }
    std::memcpy(Out, From, size_t(End - From));
    Out += End - From;
    Result.resize(size_t(Out - Result.data()));
    return Result;
  }
  Result.reserve(Source.size());
  for (const char* At; (At = Find(From)); From = At + M)
    Result.append(From, size_t(At - From)).append(Replacement);
  Result.append(From, size_t(End - From));
  return Result;
}

int RowCount(const String& Value) {
  if (Value.empty()) return 0;
  // From separator to separator: a value of many megabytes is passed over, not looked at
  // character by character.
  int Rows = 1;
  const char *At = Value.data(), *End = At + Value.size();
  while ((At = static_cast<const char*>(std::memchr(At, '|', size_t(End - At))))) {
    ++Rows;
    ++At;
  }
  return Rows;
}

namespace {

// Where row Index starts, passing as many separators as there are up to it: the number
// passed and the position after the last of them.
std::pair<int, size_t> WalkTo(const String& Value, int Index) {
  int Passed = 0;
  size_t At = 0;
  while (Passed < Index) {
    size_t Next = Value.find('|', At);
    if (Next == String::npos) break;
    At = Next + 1;
    ++Passed;
  }
  return {Passed, At};
}

size_t RowEnd(const String& Value, size_t Start) {
  size_t End = Value.find('|', Start);
  return End == String::npos ? Value.size() : End;
}

}  // namespace

String GetRow(const String& Value, int Index) {
  if (Index < 0) return {};
  auto [Passed, Start] = WalkTo(Value, Index);
  if (Passed != Index) return {};
  return Value.substr(Start, RowEnd(Value, Start) - Start);
}

void PutRow(String& Value, int Index, const String& Text) {
  if (Index < 0) return;
  String Row = ReplaceAll(Text, "|", "");
  bool Delete = Row == DeletionMarker;
  auto [Passed, Start] = WalkTo(Value, Index);
  if (Passed + 1 == Index) {
    // One past the last row: a new last row, unless there is nothing to put.
    if (!Row.empty() && !Delete) Value.append("|").append(Row);
    return;
  }
  if (Passed != Index) return;
  size_t Length = RowEnd(Value, Start) - Start;
  if (!Delete) {
    // In one shift of what follows, and none when the row is as it was.
    if (Value.compare(Start, Length, Row) != 0) Value.replace(Start, Length, Row);
    return;
  }
  // The row with the separator before it (after it, for row 0), in one shift.
  if (Start > 0)
    Value.erase(Start - 1, Length + 1);
  else
    Value.erase(0, std::min(Length + 1, Value.size()));
}

namespace {
// The line counter's words, for counts other than one and for one. Released with the
// unit when the package is unloaded.
String LineWords[2] = {"&Lines", "&Line"};
}  // namespace

int InitCount = 0;
void Initialization() {}
void Finalization() {
  for (String& Word : LineWords) String().swap(Word);
}

}  // namespace Idelinesdlg

using namespace Idelinesdlg;

template <>
struct TPublished<TOmStringEditor> {
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TOmStringEditor, MemoChange),  OM_METHOD(TOmStringEditor, MemoKeyDown),
      OM_METHOD(TOmStringEditor, MemoKeyPress), OM_METHOD(TOmStringEditor, PriorClick),
      OM_METHOD(TOmStringEditor, NextClick),   OM_METHOD(TOmStringEditor, DeleteClick),
      OM_METHOD(TOmStringEditor, LoadClick),   OM_METHOD(TOmStringEditor, SaveClick),
  };
  static constexpr TFieldEntry Fields[] = {
      OM_FIELD(TOmStringEditor, Panel),        OM_FIELD(TOmStringEditor, LinesLabel),
      OM_FIELD(TOmStringEditor, RowNoLabel),   OM_FIELD(TOmStringEditor, Memo),
      OM_FIELD(TOmStringEditor, PriorButton),  OM_FIELD(TOmStringEditor, NextButton),
      OM_FIELD(TOmStringEditor, DeleteButton), OM_FIELD(TOmStringEditor, OKButton),
      OM_FIELD(TOmStringEditor, CancelButton), OM_FIELD(TOmStringEditor, OpenDialog),
      OM_FIELD(TOmStringEditor, SaveDialog),   OM_FIELD(TOmStringEditor, PopupMenu),
      OM_FIELD(TOmStringEditor, LoadMenuItem), OM_FIELD(TOmStringEditor, SaveMenuItem),
  };
};
OM_IMPLEMENT_CLASS(TOmStringEditor, "IDELinesDlg");

TOmStringEditor::TOmStringEditor(bool AHeaderMode, const String& Value) : TForm(Application) {
  ReadForm();
  DoCreate();
  FHeaderMode = AHeaderMode;
  if (FHeaderMode) {
    SetCaption("Header editor");
    for (TControl* C : std::initializer_list<TControl*>{RowNoLabel, PriorButton, NextButton, DeleteButton})
      C->SetVisible(true);
  }
  SetEditValue(Value);
}

void TOmStringEditor::SetEditValue(const String& Value) {
  if (!FHeaderMode) {
    Memo->SetText(Value);
    return;
  }
  FValue = Value;
  Memo->SetText(GetRow(0));
  GoToRow(0);
}

String TOmStringEditor::GetEditValue() {
  if (!FHeaderMode) return ReplaceAll(Memo->Text(), "\r\n", "\r");
  GoToRow(FRow);
  return FValue;
}

int TOmStringEditor::RowCount() const { return Idelinesdlg::RowCount(FValue); }
String TOmStringEditor::GetRow(int Index) const { return Idelinesdlg::GetRow(FValue, Index); }
void TOmStringEditor::PutRow(int Index, const String& Text) { Idelinesdlg::PutRow(FValue, Index, Text); }

// The memo's text goes into the current row; then the row asked for, no further than the
// empty slot past the last row, where a new row is typed.
void TOmStringEditor::GoToRow(int NewIndex) {
  PutRow(FRow, ReplaceAll(Memo->Text(), "\r\n", "\r"));
  if (NewIndex < 0)
    NewIndex = 0;
  else if (NewIndex > RowCount())
    NewIndex = RowCount();
  FRow = NewIndex;
  Memo->SetText(GetRow(FRow));
  RowNoLabel->SetCaption(Format("Row No. %d", {FRow}));
}

void TOmStringEditor::MemoChange(TObject*) {
  // The memo does not count an empty last line; the counter does.
  const String& Text = Memo->Text();
  int Lines = Memo->Lines()->Count();
  if (!Text.empty() && Text.back() == '\n') ++Lines;
  LinesLabel->SetCaption(Format("%d %s", {Lines, LineWords[Lines == 1 ? 1 : 0]}));
}

void TOmStringEditor::MemoKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE)
    CancelButton->Click();
  else if (Key == VK_RETURN && Shift == TShiftState{ssCtrl})
    OKButton->Click();
}

void TOmStringEditor::MemoKeyPress(TObject*, char& Key) {
  if (FHeaderMode && Key == '|') Key = 0;
}

void TOmStringEditor::PriorClick(TObject*) { GoToRow(FRow - 1); }
void TOmStringEditor::NextClick(TObject*) { GoToRow(FRow + 1); }

void TOmStringEditor::DeleteClick(TObject*) {
  Memo->SetText(DeletionMarker);
  GoToRow(FRow);
}

// A file that cannot be read leaves the memo as it was: it is read whole first.
void TOmStringEditor::LoadClick(TObject*) {
  if (OpenDialog->Execute()) Memo->Lines()->LoadFromFile(OpenDialog->FileName());
}

// Saved to a file beside the target and renamed over it: a failing save leaves the file
// that was there whole.
void TOmStringEditor::SaveClick(TObject*) {
  SaveDialog->SetFileName(OpenDialog->FileName());
  if (SaveDialog->Execute()) Memo->Lines()->SaveToFile(SaveDialog->FileName());
}

// --- The property editors -------------------------------------------------------------

namespace {

// Opens the dialog on the property's value and writes back what OK returns; the dialog
// goes whatever happens.
void EditInDialog(TPropertyEditor* Editor, bool HeaderMode) {
  std::unique_ptr<TOmStringEditor> Dialog(new TOmStringEditor(HeaderMode, Editor->GetValue()));
  if (Dialog->ShowModal() == mrOk) Editor->SetValue(Dialog->GetEditValue());
}

}  // namespace

OM_IMPLEMENT_CLASS(TOmStringProperty, "IDELinesDlg");
OM_IMPLEMENT_CLASS(TOmHeaderProperty, "IDELinesDlg");

void TOmStringProperty::Edit() { EditInDialog(this, false); }
TPropertyAttributes TOmStringProperty::GetAttributes() {
  return TPropertyEditor::GetAttributes() << paDialog;
}

void TOmHeaderProperty::Edit() { EditInDialog(this, true); }
TPropertyAttributes TOmHeaderProperty::GetAttributes() {
  return TPropertyEditor::GetAttributes() << paDialog;
}
