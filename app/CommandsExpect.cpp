// `expect`: what a script checks. Any value another command shows can be expected: a
// property, the selection, an inspector row, a window's control, a list's rows, a form's
// modified state, a file. A failed expectation is the script's failure, with both values.
#include <algorithm>
#include <filesystem>

#include "ActnList.h"
#include "ComCtrls.h"
#include "Commands.h"
#include "Inspector.h"
#include "Menus.h"
#include "StdCtrls.h"

using namespace Commands;

namespace {

const char* const ExpectUsage =
    "expect NAME = VALUE... | expect NAME STATE | expect file PATH exists|missing";

// A value as a script would give it: quoted when it holds blanks or quotes, or is empty.
String Quoted(const String& S) {
  bool Plain = !S.empty() && S.find_first_of(" \t'\"") == String::npos;
  if (Plain) return S;
  String R = "'";
  for (char C : S) R += C == '\'' ? String("''") : String(1, C);
  return R + "'";
}

String QuotedList(const std::vector<String>& Values) {
  if (Values.empty()) return "(nothing)";
  std::vector<String> Q;
  for (const String& V : Values) Q.push_back(Quoted(V));
  return Join(Q, " ");
}

// The states a thing can be expected in, each with its opposite.
struct TState {
  const char* Name;
  const char* Opposite;
};
constexpr TState States[] = {{"enabled", "disabled"}, {"visible", "hidden"}, {"checked", "unchecked"},
                             {"down", "up"},          {"focused", "unfocused"}, {"modified", "saved"},
                             {"open", "closed"},      {"active", "inactive"},   {"modal", "modeless"}};

// The state's pair and whether the word names its first side; null when no state.
const TState* FindState(const String& Word, bool& Positive) {
  for (const TState& S : States) {
    if (SameText(Word, S.Name)) return Positive = true, &S;
    if (SameText(Word, S.Opposite)) return Positive = false, &S;
  }
  return nullptr;
}

}  // namespace

// A window's part, and when a bare name names nothing, so said of the form too.
TComponent* TSession::ExpectedPart(const String& Name) const {
  try {
    return WindowPart(Name);
  } catch (EConvertError&) {
    TDesigner* D = FIde->ActiveDesigner();
    if (!D || Name.find('.') != String::npos) throw;
    throw EConvertError(Format("%s has no component %s, and no window has a control or menu item of that name",
                               {D->GetRoot()->Name(), Name}));
  }
}

// The subject of `expect NAME = ...`: the values it has, as the commands that look show them.
std::vector<String> TSession::ExpectedValues(const String& Name, bool& Many) const {
  Many = false;
  if (SameText(Name, "selection")) {
    Many = true;
    std::vector<String> R;
    for (TPersistent* P : Form()->Selection()) R.push_back(ObjectName(P));
    return R;
  }
  if (LowerCase(Name.substr(0, 10)) == "inspector.") return {FIde->Inspector().Row(Name.substr(10)).Value()};

  // A thing of the form (Grid1.Columns[2].Title.Caption) or of a window
  // (OmDBGridColumnsEditor.DeleteToolButton.Caption), and the property asked of it.
  auto OfForm = [&](const String& Path) {
    TDesigner* D = FIde->ActiveDesigner();
    if (!D) return false;
    String Head = Path.substr(0, Path.find_first_of(".["));
    return SameText(Head, D->GetRoot()->Name()) || D->GetRoot()->FindComponent(Head);
  };
  TPersistent* Object = nullptr;
  String Prop;
  size_t Dot = Name.rfind('.');
  bool OnForm = OfForm(Name);
  if (OnForm && Name.back() == ']') {
    Object = Resolve(Name);
  } else if (Dot != String::npos) {
    String Owner = Name.substr(0, Dot);
    Prop = Name.substr(Dot + 1);
    if (OnForm) {
      Object = Resolve(Owner);
    } else {
      // The whole name may be a control whose caption holds a dot.
      try {
        Object = WindowPart(Owner);
      } catch (EConvertError&) {
        Object = ExpectedPart(Name);
        Prop.clear();
      }
    }
  } else {
    Object = OnForm ? static_cast<TPersistent*>(Resolve(Name)) : ExpectedPart(Name);
  }

  if (Prop.empty()) {
    // A control's own value: the text it shows.
    if (auto* E = dynamic_cast<TCustomEdit*>(Object)) return {E->Text()};
    if (auto* C = dynamic_cast<TControl*>(Object)) return {C->Caption()};
    if (auto* M = dynamic_cast<TMenuItem*>(Object)) return {M->Caption()};
    throw EConvertError(Format("%s has no value of its own: name one of its properties", {Name}));
  }
  if (auto* C = dynamic_cast<TCollection*>(Object); C && SameText(Prop, "Count"))
    return {IntToStr(C->Count())};
  if (auto* L = dynamic_cast<TListView*>(Object)) {
    bool Rows = SameText(Prop, "rows"), Selected = SameText(Prop, "selected");
    if (Rows || Selected) {
      Many = true;
      std::vector<String> R;
      for (int I = 0; I < L->Items()->Count(); ++I) {
        TListItem* Item = L->Items()->Item(I);
        if (Rows) R.push_back(Item->Caption());
        else if (Item->Selected()) R.push_back(IntToStr(I));
      }
      return R;
    }
  }
  if (auto* M = dynamic_cast<TCustomMemo*>(Object); M && SameText(Prop, "lines")) {
    Many = true;
    std::vector<String> R;
    for (int I = 0; I < M->Lines()->Count(); ++I) R.push_back(M->Lines()->Strings(I));
    return R;
  }
  PPropInfo P = GetPropInfo(Object, Prop);
  if (!P) throw EConvertError(Format("%s has no property %s", {ObjectName(Object), Prop}));
  return {GetPropValueText(Object, P)};
}

// Whether NAME is in the state's first side.
bool TSession::InState(const String& Name, const String& State) const {
  bool Positive;
  const TState* S = FindState(State, Positive);
  String Which = S->Name;
  if (Which == "modified") {
    for (const auto& D : FIde->Designers())
      if (SameText(D->GetRoot()->Name(), Name)) return D->IsModified();
    throw EConvertError(Format("no form %s is open (see 'forms')", {Name}));
  }
  if (Which == "open") return FindWindow(Name) != nullptr;
  if (Which == "active") return Window(Name) == Screen->ActiveForm();
  if (Which == "modal") return Window(Name)->Modal();

  // A component of the form, else a window or its part.
  TComponent* Thing = nullptr;
  if (TDesigner* D = FIde->ActiveDesigner())
    if (Name.find_first_of(".[") == String::npos &&
        (D->GetRoot()->FindComponent(Name) || SameText(Name, D->GetRoot()->Name())))
      Thing = ResolveComponent(Name);
  if (!Thing) Thing = ExpectedPart(Name);
  if (!Thing) throw EConvertError(Format("nothing is named %s", {Name}));
  auto* C = dynamic_cast<TControl*>(Thing);
  auto* Item = dynamic_cast<TMenuItem*>(Thing);
  auto* Action = dynamic_cast<TCustomAction*>(Thing);
  if (Which == "enabled" && (C || Item || Action))
    return C ? C->Enabled() : Item ? Item->Enabled() : Action->Enabled();
  if (Which == "visible" && (C || Item || Action))
    return C ? C->Visible() : Item ? Item->Visible() : Action->Visible();
  if (Which == "checked" && (Item || Action)) return Item ? Item->Checked() : Action->Checked();
  if (Which == "down")
    if (auto* B = dynamic_cast<TToolButton*>(Thing)) return B->Down();
  if (Which == "focused")
    if (auto* W = dynamic_cast<TWinControl*>(Thing)) return W->Focused();
  throw EConvertError(Format("%s (%s) cannot be %s", {Name, Thing->ClassName(), State}));
}

void TSession::DefineExpectCommands() {
  Define(
      "expect", ExpectUsage,
      "checks a value or state; a script that expected otherwise fails with both values",
      "expect OrdersGrid.DataSource = OrdersSource", {2, Unbounded}, [this](const auto& A) {
        TCommandResult R;
        auto Fail = [&](const String& Expected, const String& Actual) {
          throw EConvertError(Format("expected %s, but %s", {Expected, Actual}));
        };
        if (SameText(A[0], "file")) {
          if (A.size() != 3 || (!SameText(A[2], "exists") && !SameText(A[2], "missing")))
            Usage(ExpectUsage);
          std::error_code Error;
          bool Exists = std::filesystem::exists(A[1], Error);
          if (Exists != SameText(A[2], "exists"))
            Fail("file " + A[1] + " " + LowerCase(A[2]),
                 Exists ? String("it exists") : String("it is missing"));
          R.Json["actual"] = Exists;
          return R;
        }
        if (A[1] == "=") {
          bool Many;
          std::vector<String> Actual = ExpectedValues(A[0], Many);
          std::vector<String> Expected(A.begin() + 2, A.end());
          // A selection is given as `select` takes it: by words or by commas.
          if (SameText(A[0], "selection")) {
            std::vector<String> Split;
            for (const String& W : Expected)
              for (size_t Pos = 0; Pos <= W.size();) {
                size_t Comma = std::min(W.find(',', Pos), W.size());
                if (Comma > Pos) Split.push_back(W.substr(Pos, Comma - Pos));
                Pos = Comma + 1;
              }
            Expected = Split;
          }
          if (!Many && Expected.size() != 1)
            throw EConvertError(Format("%s has one value: quote a value that holds blanks", {A[0]}));
          bool Same = Expected.size() == Actual.size() &&
                      std::equal(Expected.begin(), Expected.end(), Actual.begin());
          if (!Same) {
            if (Many)
              Fail(A[0] + " = " + QuotedList(Expected), "they are " + QuotedList(Actual));
            Fail(A[0] + " = " + Quoted(Expected[0]), "it is " + Quoted(Actual[0]));
          }
          R.Json["actual"] = Actual;
          return R;
        }
        bool Positive;
        const TState* S = A.size() == 2 ? FindState(A[1], Positive) : nullptr;
        if (!S) Usage(ExpectUsage);
        bool First = InState(A[0], A[1]);
        if (First != Positive)
          Fail(A[0] + " " + LowerCase(A[1]), "it is " + String(First ? S->Name : S->Opposite));
        R.Json["actual"] = String(First ? S->Name : S->Opposite);
        return R;
      });
}
