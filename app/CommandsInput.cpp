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
    K = Word(UpperCase(Rest)[0]);
  int F;
  if (!K && Rest.size() >= 2 && (Rest[0] == 'F' || Rest[0] == 'f') &&
      TryStrToInt(Rest.substr(1), F) && F >= 1 && F <= 12)
    K = Word(VK_F1 + F - 1);
  if (!K) throw EConvertError(Format("no key %s", {Text}));
}

}  // namespace

void TSession::DefineInputCommands() {
  Define("ahead", "ahead INPUT-COMMAND...",
         "gives input now for a modal window a later command opens", {1, Unbounded},
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

  Define("click-at", "click-at CONTROL X Y [right]", "clicks a control at a point of it", {3, 4},
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

  Define("double", "double CONTROL", "double-clicks a control of a window", {1, 1},
         [this](const auto& A) {
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.DoubleClick(C); });
           return TCommandResult{};
         });

  Define("item", "item LIST INDEX [ctrl|shift]", "clicks a row of a list (with Ctrl or Shift held)",
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
         {1, 1}, [this](const auto& A) {
           Word K;
           TShiftState Shift;
           ParseKey(A[0], K, Shift);
           Input([&](TInputQueue& Q) { Q.Key(K, Shift); });
           return TCommandResult{};
         });

  Define("type", "type TEXT", "types text into the focused control (quote text with blanks)",
         {1, 1}, [this](const auto& A) {
           Input([&](TInputQueue& Q) { Q.Type(A[0]); });
           return TCommandResult{};
         });

  Define("choose", "choose MENUITEM", "chooses a menu item (WINDOW.ITEM, or of the active window)",
         {1, 1}, [this](const auto& A) {
           size_t Dot = A[0].find('.');
           TCustomForm* F = Dot == String::npos ? Window("active") : Window(A[0].substr(0, Dot));
           String Name = Dot == String::npos ? A[0] : A[0].substr(Dot + 1);
           auto* Item = dynamic_cast<TMenuItem*>(F->FindComponent(Name));
           if (!Item) throw EConvertError(Format("%s has no menu item %s", {WindowTitle(F), Name}));
           Input([&](TInputQueue& Q) { Q.Choose(Item); });
           return TCommandResult{};
         });

  Define("drag", "drag LIST FROM TO", "drags in a list from one row to another", {3, 3},
         [this](const auto& A) {
           int From, To;
           if (!TryStrToInt(A[1], From) || !TryStrToInt(A[2], To)) Usage("drag LIST FROM TO");
           auto* L = dynamic_cast<TListView*>(Control(A[0]));
           if (!L) throw EConvertError(Format("%s is not a list", {A[0]}));
           auto Centre = [&](int Row) {
             if (Row < 0 || Row >= L->Items()->Count())
               throw EConvertError(Format("%s has no row %d", {A[0], Row}));
             TRect R = L->Items()->Item(Row)->DisplayRect();
             return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
           };
           TPoint P1 = Centre(From), P2 = Centre(To);
           Input([&](TInputQueue& Q) { Q.Drag(L, P1, P2); });
           return TCommandResult{};
         });

  Define("splitter", "splitter SPLITTER PIXELS",
         "drags a splitter by some pixels (down or right is positive)", {2, 2},
         [this](const auto& A) {
           int Delta;
           if (!TryStrToInt(A[1], Delta)) Usage("splitter SPLITTER PIXELS");
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.DragSplitter(C, Delta); });
           return TCommandResult{};
         });

  Define("answer", "answer BUTTON",
         "answers a message box or a modal window (Yes, No, OK, Cancel...)", {1, 1},
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
         "types a file name into an open or save dialog and confirms it", {1, 2},
         [this](const auto& A) {
           int Filter = 0;
           if (A.size() == 2 && !TryStrToInt(A[1], Filter)) Usage("file NAME [FILTER]");
           Input([&](TInputQueue& Q) { Q.File(A[0], Filter); });
           return TCommandResult{};
         });
}
