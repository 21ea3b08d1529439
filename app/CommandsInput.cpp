// Input as a person gives it: clicks, keys, typing, menu choices, drags, answers to modal
// windows and file names for dialogs, now or ahead of the window that takes them.
#include "ComCtrls.h"
#include "Commands.h"
#include "Menus.h"

using namespace Commands;

namespace {

// "Enter", "Ctrl+A", "Shift+Tab", "F2"...
void ParseKey(const String& Text, Word& K, TShiftState& Shift) {
  K = 0;
  String Rest = Text;
  for (;;) {
    size_t Plus = Rest.find('+');
    if (Plus == String::npos || Plus + 1 == Rest.size()) break;
    String Mod = Rest.substr(0, Plus);
    if (SameText(Mod, "Ctrl"))
      Shift << ssCtrl;
    else if (SameText(Mod, "Shift"))
      Shift << ssShift;
    else if (SameText(Mod, "Alt"))
      Shift << ssAlt;
    else
      throw EConvertError(Format("no modifier %s (Ctrl, Shift, Alt)", {Mod}));
    Rest = Rest.substr(Plus + 1);
  }
  static const std::pair<const char*, Word> Keys[] = {
      {"Enter", VK_RETURN},  {"Return", VK_RETURN}, {"Escape", VK_ESCAPE},  {"Esc", VK_ESCAPE},
      {"Tab", VK_TAB},       {"Space", VK_SPACE},   {"Backspace", VK_BACK}, {"BkSp", VK_BACK},
      {"Insert", VK_INSERT}, {"Ins", VK_INSERT},    {"Delete", VK_DELETE},  {"Del", VK_DELETE},
      {"Up", VK_UP},         {"Down", VK_DOWN},     {"Left", VK_LEFT},      {"Right", VK_RIGHT},
      {"Home", VK_HOME},     {"End", VK_END},       {"PgUp", VK_PRIOR},     {"PgDn", VK_NEXT}};
  for (auto [Name, Code] : Keys)
    if (SameText(Rest, Name)) K = Code;
  if (!K && Rest.size() == 1 &&
      ((Rest[0] >= 'A' && Rest[0] <= 'Z') || (Rest[0] >= 'a' && Rest[0] <= 'z') ||
       (Rest[0] >= '0' && Rest[0] <= '9')))
    K = Word(static_cast<unsigned char>(UpperCase(Rest)[0]));
  int F;
  if (!K && Rest.size() >= 2 && (Rest[0] == 'F' || Rest[0] == 'f') &&
      TryStrToInt(Rest.substr(1), F) && F >= 1 && F <= 12)
    K = Word(VK_F1 + F - 1);
  if (!K) throw EConvertError(Format("no key %s", {Text}));
}

}  // namespace

void TSession::DefineInputCommands() {
  Define("ahead", "ahead INPUT-COMMAND...",
         "gives input now for a modal window a later command opens",
         "ahead answer Yes", {1, Unbounded},
         [this](const auto& A) {
           // Ahead of ahead is ahead: the words are passed on as they are, never joined
           // and split again at each level.
           size_t First = 0;
           while (First < A.size() && SameText(A[First], "ahead")) ++First;
           if (First == A.size()) Usage("ahead INPUT-COMMAND...");
           bool Was = FAhead;
           FAhead = true;
           try {
             RunWords(std::vector<String>(A.begin() + long(First), A.end()));
           } catch (...) {
             FAhead = Was;
             throw;
           }
           FAhead = Was;
           return TCommandResult{};
         });

  Define("click", "click CONTROL", "clicks a control (WINDOW.CONTROL, or in the active window)",
         "click OmDBGridColumnsEditor.AddNewToolButton",
         {1, 1}, [this](const auto& A) {
           // Ahead of a window that is not open yet, the click names its control.
           if (FAhead && A[0].find('.') != String::npos && !FindWindowControl(A[0])) {
             TInputEvent E;
             E.Kind = TInputEvent::Click;
             E.TargetName = A[0];
             Input([&](TInputQueue& Q) { Q.Push(E); });
             return TCommandResult{};
           }
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.Click(C); });
           return TCommandResult{};
         });

  Define("click-at", "click-at CONTROL X Y [right]", "clicks a control at a point of it",
         "click-at FormListView 10 10 right", {3, 4},
         [this](const auto& A) {
           int X, Y;
           if (!TryStrToInt(A[1], X) || !TryStrToInt(A[2], Y) ||
               (A.size() == 4 && !SameText(A[3], "right")))
             Usage("click-at CONTROL X Y [right]");
           TControl* C = Control(A[0]);
           bool Right = A.size() == 4;
           Input([&](TInputQueue& Q) { Q.ClickAt(C, X, Y, {}, Right ? mbRight : mbLeft); });
           return TCommandResult{};
         });

  Define("double", "double CONTROL", "double-clicks a control of a window",
         "double FormListView", {1, 1},
         [this](const auto& A) {
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.DoubleClick(C); });
           return TCommandResult{};
         });

  Define("item", "item LIST INDEX [ctrl|shift]", "clicks a row of a list (with Ctrl or Shift held)",
         "item FormListView 2 shift",
         {2, 3}, [this](const auto& A) {
           int Index;
           if (!TryStrToInt(A[1], Index)) Usage("item LIST INDEX [ctrl|shift]");
           TControl* C = Control(A[0]);
           TShiftState Shift;
           if (A.size() == 3) {
             if (SameText(A[2], "ctrl"))
               Shift << ssCtrl;
             else if (SameText(A[2], "shift"))
               Shift << ssShift;
             else
               Usage("item LIST INDEX [ctrl|shift]");
           }
           Input([&](TInputQueue& Q) { Q.ClickItem(C, Index, Shift); });
           return TCommandResult{};
         });

  Define("key", "key KEY",
         "presses a key, with Ctrl+, Shift+ or Alt+ (Enter, Insert, Delete, Escape, A, Ctrl+A...)",
         "key Insert",
         {1, 1}, [this](const auto& A) {
           Word K;
           TShiftState Shift;
           ParseKey(A[0], K, Shift);
           Input([&](TInputQueue& Q) { Q.Key(K, Shift); });
           return TCommandResult{};
         });

  Define("type", "type TEXT", "types text into the focused control (quote text with blanks)",
         "type Total",
         {1, 1}, [this](const auto& A) {
           Input([&](TInputQueue& Q) { Q.Type(A[0]); });
           return TCommandResult{};
         });

  Define("choose", "choose MENUITEM",
         "chooses a menu item by name or caption (WINDOW.ITEM, or of the active window)",
         "choose OmDBGridColumnsEditor.'Stretch Mode'", {1, 1}, [this](const auto& A) {
           auto* Item = dynamic_cast<TMenuItem*>(WindowPart(A[0]));
           if (!Item) throw EConvertError(Format("%s is not a menu item", {A[0]}));
           Input([&](TInputQueue& Q) { Q.Choose(Item); });
           return TCommandResult{};
         });

  Define("drag", "drag CONTROL FROM TO [hold]",
         "drags from one row (or X,Y point) of a list to another and lets go there, or holds "
         "the button down (hold) to look, hover and release", "drag FormListView 1 4",
         {3, 4}, [this](const auto& A) {
           if (A.size() == 4 && !SameText(A[3], "hold")) Usage("drag CONTROL FROM TO [hold]");
           TControl* C = Control(A[0]);
           TPoint From = DragPoint(C, A[1]), To = DragPoint(C, A[2]);
           Input([&](TInputQueue& Q) { Q.Drag(C, From, To, nullptr, true); });
           if (FAhead) {
             if (A.size() == 3) Input([](TInputQueue& Q) { Q.DragRelease(); });
             return TCommandResult{};
           }
           if (!Application->Dragging()) {
             TCommandResult R;
             R.Text = "no drag: the press did not start one (a move this short is a click, or "
                      "the control does not drag by itself)\n";
             return R;
           }
           return A.size() == 4 ? DragReport() : ReleaseDrag();
         });

  Define("hover", "hover [CONTROL] TO",
         "moves a held drag to a row or X,Y point (of CONTROL, else of the control it is over) "
         "and tells whether a drop there would be taken", "hover 3",
         {1, 2}, [this](const auto& A) {
           const TApplication::TDragInfo* D = Application->Dragging();
           if (!D) throw EConvertError("no drag is held: start one with drag CONTROL FROM TO hold");
           TControl* C = A.size() == 2 ? Control(A[0]) : D->Over ? D->Over : D->Source;
           TPoint To = DragPoint(C, A.back());
           Input([&](TInputQueue& Q) { Q.DragMove(C, To); });
           return DragReport();
         });

  Define("release", "release",
         "lets go of a held drag: it drops where the control under it takes it", "release",
         {0, 0}, [this](const auto&) {
           if (!Application->Dragging() && !FAhead)
             throw EConvertError("no drag is held: start one with drag CONTROL FROM TO hold");
           if (FAhead) {
             Input([](TInputQueue& Q) { Q.DragRelease(); });
             return TCommandResult{};
           }
           return ReleaseDrag();
         });

  Define("splitter", "splitter SPLITTER PIXELS",
         "drags a splitter by some pixels (down or right is positive)",
         "splitter FormSplitter 20", {2, 2},
         [this](const auto& A) {
           int Delta;
           if (!TryStrToInt(A[1], Delta)) Usage("splitter SPLITTER PIXELS");
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.DragSplitter(C, Delta); });
           return TCommandResult{};
         });

  Define("answer", "answer BUTTON",
         "answers a message box or a modal window (Yes, No, OK, Cancel...)",
         "answer Cancel", {1, 1},
         [this](const auto& A) {
           static const std::pair<const char*, int> Results[] = {
               {"OK", mrOk},         {"Cancel", mrCancel}, {"Abort", mrAbort}, {"Retry", mrRetry},
               {"Ignore", mrIgnore}, {"Yes", mrYes},       {"No", mrNo},       {"All", mrAll}};
           int Result = -1;
           for (auto [Name, Value] : Results)
             if (SameText(A[0], Name) || SameText(A[0], String("mr") + Name)) Result = Value;
           if (Result < 0)
             throw EConvertError(
                 Format("no button %s (OK, Cancel, Yes, No, Abort, Retry, Ignore, All)", {A[0]}));
           Input([&](TInputQueue& Q) { Q.Answer(Result); });
           return TCommandResult{};
         });

  Define("file", "file NAME [FILTER]",
         "types a file name into an open or save dialog and confirms it", "file Report", {1, 2},
         [this](const auto& A) {
           int Filter = 0;
           if (A.size() == 2 && !TryStrToInt(A[1], Filter)) Usage("file NAME [FILTER]");
           Input([&](TInputQueue& Q) { Q.File(A[0], Filter); });
           return TCommandResult{};
         });
}

// A row of a list (its middle, scrolled into view) or an X,Y point of any control.
TPoint TSession::DragPoint(TControl* C, const String& Where) const {
  size_t Comma = Where.find(',');
  int X, Y;
  if (Comma != String::npos) {
    if (!TryStrToInt(Where.substr(0, Comma), X) || !TryStrToInt(Where.substr(Comma + 1), Y))
      throw EConvertError(Format("%s is neither a row number nor a point X,Y", {Where}));
    return {X, Y};
  }
  auto* L = dynamic_cast<TCustomListView*>(C);
  if (!L) throw EConvertError(Format("%s has no rows: give a point X,Y", {ControlName(C)}));
  int Row;
  if (!TryStrToInt(Where, Row)) throw EConvertError(Format("%s is neither a row number nor a point X,Y", {Where}));
  if (Row < 0 || Row >= L->Items()->Count())
    throw EConvertError(Format("%s has no row %d (it has %d)", {ControlName(C), Row, L->Items()->Count()}));
  L->Items()->Item(Row)->MakeVisible(false);
  TRect R = L->ItemRect(Row);
  return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

// Where a held drag is and what it would do there, as the cursor and the list show it.
TCommandResult TSession::DragReport() const {
  TCommandResult R;
  const TApplication::TDragInfo* D = Application->Dragging();
  if (!D) {
    R.Text = "the drag ended\n";
    R.Json["dragging"] = false;
    return R;
  }
  R.Json["dragging"] = true;
  R.Json["accepted"] = D->Accepted;
  R.Text = "over " + DragPlace(R.Json);
  R.Text += D->Accepted ? ": a drop here is taken\n" : ": refused, a drop here does nothing\n";
  return R;
}

String TSession::DragPlace(TJson& Json) const {
  const TApplication::TDragInfo* D = Application->Dragging();
  if (!D->Over) {
    Json["over"] = nullptr;
    return "nothing";
  }
  Json["over"] = D->Over->Name();
  Json["x"] = D->At.X;
  Json["y"] = D->At.Y;
  String Place = ControlName(D->Over);
  if (auto* L = dynamic_cast<TCustomListView*>(D->Over)) {
    TListItem* Row = L->GetItemAt(D->At.X, D->At.Y);
    Json["row"] = Row ? TJson(Row->Index()) : TJson(nullptr);
    return Row ? Place + Format(" row %d '%s'", {Row->Index(), Row->Caption()})
               : Place + Format(" at %d,%d, on no row", {D->At.X, D->At.Y});
  }
  return Place + Format(" at %d,%d", {D->At.X, D->At.Y});
}

TCommandResult TSession::ReleaseDrag() {
  TCommandResult R;
  const TApplication::TDragInfo* D = Application->Dragging();
  bool Accepted = D->Accepted;
  String Place = DragPlace(R.Json);
  Input([](TInputQueue& Q) { Q.DragRelease(); });
  R.Json["dropped"] = Accepted;
  R.Text = Accepted ? "dropped on " + Place + "\n" : "not dropped: " + Place + " refused it\n";
  return R;
}
