// The selection and the object inspector: what the designer selects, the inspector's rows
// and what a person does with them.
#include <algorithm>

#include "Commands.h"
#include "Desktop.h"
#include "Inspector.h"
#include "Pictures.h"

using namespace Commands;

namespace {

std::vector<String> AttributeNames(TPropertyAttributes A) {
  std::vector<String> R;
  PTypeInfo T = TypeInfo<TPropertyAttribute>();
  for (long long V = T->MinValue; V <= T->MaxValue; ++V)
    if (A.Contains(TPropertyAttribute(V))) R.push_back(GetEnumName(T, V));
  return R;
}

}  // namespace

TCommandResult TSession::Inspect(const std::vector<String>& Args) {
  TObjectInspector& I = FIde->Inspector();
  TCommandResult R;
  R.Json["rows"] = TJson::array();
  auto Describe = [&](const TInspectorRow& Row) {
    TJson J = {{"name", Row.Name},
               {"value", Row.Value()},
               {"type", Row.TypeName()},
               {"editor", Row.EditorClass()},
               {"attributes", AttributeNames(Row.Attributes())}};
    return J;
  };
  if (!Args.empty()) {
    const TInspectorRow& Row = I.Row(Args[0]);
    R.Json["rows"].push_back(Describe(Row));
    R.Text = Format("%s = %s\n  type %s, editor %s\n  [%s]\n",
                    {Row.Name, Row.Value(), Row.TypeName(), Row.EditorClass(),
                     Join(AttributeNames(Row.Attributes()), ", ")});
    return R;
  }
  if (I.Objects().empty()) {
    R.Text = "(nothing selected)\n";
    return R;
  }
  String Current = I.CurrentRow();
  size_t W = 0;
  for (const TInspectorRow& Row : I.Rows())
    W = std::max(W, Row.Name.size() + size_t(Row.Depth) * 2);
  for (const TInspectorRow& Row : I.Rows()) {
    R.Json["rows"].push_back(Describe(Row));
    String Name =
        String(size_t(Row.Depth) * 2, ' ') +
        Row.Name.substr(Row.Name.rfind('.') == String::npos ? 0 : Row.Name.rfind('.') + 1);
    String Marker = Row.Attributes().Contains(paSubProperties) ? (Row.Expanded ? "-" : "+") : " ";
    bool Here = Row.Name == Current;
    R.Text += Marker + (Here ? ">" : " ") + Pad(Name, W) + "  " + Row.Value();
    if (Row.Attributes().Contains(paDialog)) R.Text += " [...]";
    if (Row.Attributes().Contains(paValueList)) R.Text += " [v]";
    if (Here && I.Editing()) R.Text += "  (editing: '" + I.EditText() + "')";
    R.Text += "\n";
  }
  R.Json["current"] = Current;
  R.Json["editing"] = I.Editing();
  return R;
}

void TSession::DefineInspectorCommands() {
  // Several words are several objects too: `select A B` is `select A,B`.
  Define(
      "select", "select [OBJECT[,OBJECT...]...]",
      "selects components, a collection (Grid1.Columns) or items (Grid1.Columns[2])",
      "select OrdersGrid,OrdersReport",
      {0, Unbounded},
      [this](const auto& A) {
        std::vector<TPersistent*> Items;
        for (const String& Arg : A) {
          size_t Pos = 0;
          while (Pos <= Arg.size()) {
            size_t Comma = Arg.find(',', Pos);
            String Part = Trim(Arg.substr(Pos, Comma == String::npos ? String::npos : Comma - Pos));
            if (!Part.empty()) Items.push_back(Resolve(Part));
            if (Comma == String::npos) break;
            Pos = Comma + 1;
          }
        }
        // Selecting on the form is working on the form: its window becomes the active one.
        FIde->SetActiveDesigner(Form());
        Form()->SetSelection(Items);
        return TCommandResult{};
      },
      BehindModal);

  Define("selection", "selection", "what the designer has selected",
         "selection", {0, 0}, [this](const auto&) {
    TCommandResult R;
    R.Json["selection"] = TJson::array();
    for (TPersistent* P : Form()->Selection()) {
      R.Text += ObjectName(P) + ": " + P->ClassName() + "\n";
      R.Json["selection"].push_back({{"name", ObjectName(P)}, {"class", P->ClassName()}});
    }
    if (R.Text.empty()) R.Text = "(nothing selected)\n";
    return R;
  });

  Define("inspect", "inspect [PROPERTY]", "the object inspector's rows, or one row in detail",
         "inspect DataSource",
         {0, 1}, [this](const auto& A) { return Inspect(A); });

  Define(
      "row", "row PROPERTY", "puts the object inspector on a row (marked > by inspect)",
      "row Align", {1, 1},
      [this](const auto& A) {
        FIde->Inspector().SetCurrentRow(A[0]);
        return TCommandResult{};
      },
      BehindModal);

  Define("inspector", "inspector [type TEXT|enter|escape]",
         "the object inspector when a window activated it: types on into its edit, finishes or "
         "cancels the edit", "inspector",
         {0, 2}, [this](const auto& A) {
           TObjectInspector& I = FIde->Inspector();
           TCommandResult R;
           if (A.empty()) {
             R.Text = I.Editing() ? "editing " + I.CurrentRow() + ": '" + I.EditText() + "'\n"
                                  : String("not editing\n");
             R.Json["editing"] = I.Editing();
             R.Json["row"] = I.CurrentRow();
             R.Json["text"] = I.EditText();
             return R;
           }
           CheckNotBehindModal("inspector " + A[0]);
           if (!I.Editing()) throw EConvertError("the object inspector is not editing a value");
           if (SameText(A[0], "enter") && A.size() == 1)
             I.FinishEdit(true);
           else if (SameText(A[0], "escape") && A.size() == 1)
             I.FinishEdit(false);
           else if (SameText(A[0], "type") && A.size() == 2)
             I.TypeText(A[1]);
           else
             Usage("inspector [type TEXT|enter|escape]");
           return R;
         });

  Define("values", "values PROPERTY", "the drop-down list of a property",
         "values DataSource", {1, 1},
         [this](const auto& A) {
           TCommandResult R;
           std::vector<String> V = FIde->Inspector().ValueList(A[0]);
           R.Text = V.empty() ? String("(no value list)\n") : Join(V, "\n") + "\n";
           R.Json["values"] = V;
           return R;
         });

  Define(
      "set", "set PROPERTY VALUE",
      "types a value into a property and presses Enter (quote a value with blanks)",
      "set Align alClient", {2, 2},
      [this](const auto& A) {
        FIde->Inspector().SetValue(A[0], A[1]);
        TCommandResult R;
        R.Text = A[0] + " = " + FIde->Inspector().Row(A[0]).Value() + "\n";
        return R;
      },
      BehindModal);

  // What a person does to one row of the inspector, with nothing to show afterwards.
  auto RowCommand = [this](const char* Name, const char* Help, const char* Example,
                           void (TObjectInspector::*Action)(const String&)) {
    Define(
        Name, String(Name) + " PROPERTY", Help, Example, {1, 1},
        [this, Action](const auto& A) {
          (FIde->Inspector().*Action)(A[0]);
          return TCommandResult{};
        },
        BehindModal);
  };
  RowCommand("edit", "presses the property's ellipsis button", "edit Columns",
             &TObjectInspector::Edit);
  RowCommand("revert", "reverts a property to its default", "revert Align",
             &TObjectInspector::Revert);
  RowCommand("expand", "shows a property's sub-properties", "expand HeaderFont",
             &TObjectInspector::Expand);
  RowCommand("collapse", "hides a property's sub-properties", "collapse HeaderFont",
             &TObjectInspector::Collapse);

  Define("draw", "draw PROPERTY list|row [FILE.png]",
         "draws a property's open drop-down list, or its row, as the inspector does: the "
         "canvas operations, and with FILE a picture", "draw DataSource list",
         {2, 3}, [this](const auto& A) {
           bool List = SameText(A[1], "list");
           if (!List && !SameText(A[1], "row")) Usage("draw PROPERTY list|row [FILE.png]");
           TObjectInspector& I = FIde->Inspector();
           using om_pictures::NameWidth, om_pictures::RowHeight, om_pictures::ValueWidth;
           std::vector<TRect> Entries;
           auto Paint = [&](TCanvas* C) {
             C->Brush()->SetColor(clWindow);
             C->Font()->SetColor(clWindowText);
             if (List) {
               Entries = I.DrawValueList(A[0], C, ValueWidth);
               return;
             }
             I.DrawName(A[0], C, {0, 0, NameWidth, RowHeight}, false);
             I.DrawValue(A[0], C, {NameWidth, 0, NameWidth + ValueWidth, RowHeight}, false);
           };
           TCanvas Record;
           Paint(&Record);
           TCommandResult R;
           R.Json["operations"] = TJson::array();
           for (const TCanvasOp& Op : Record.Operations()) {
             R.Text += Op.ToString() + "\n";
             R.Json["operations"].push_back(Op.ToString());
           }
           if (List && Entries.empty()) R.Text = "(no value list)\n";
           if (A.size() == 3) {
             // The list is the picture `picture dropdown` paints, in its border.
             std::unique_ptr<TBitmap> Image;
             if (List) {
               Image = om_pictures::ValueList(I, A[0]);
               if (!Image) throw EConvertError(Format("%s has no drop-down list to paint", {A[0]}));
             } else {
               Image = std::make_unique<TBitmap>(NameWidth + ValueWidth, RowHeight);
               TCanvas* C = Image->Canvas();
               C->Brush()->SetColor(clWindow);
               C->FillRect({0, 0, Image->Width(), Image->Height()});
               Paint(C);
             }
             SaveBitmapAsPng(Image.get(), A[2]);
             R.Text += Format("painted %dx%d into %s\n", {Image->Width(), Image->Height(), A[2]});
           }
           return R;
         });

  Define("categories", "categories", "the inspector's view by category", "categories", {0, 0},
         [this](const auto&) {
           TCommandResult R;
           R.Json["categories"] = TJson::array();
           for (const auto& [Cat, Names] : FIde->Inspector().Categories()) {
             R.Text += Format("%s (%d)\n", {Cat, int(Names.size())});
             for (const String& N : Names) R.Text += "  " + N + "\n";
             R.Json["categories"].push_back({{"category", Cat}, {"properties", Names}});
           }
           if (R.Text.empty()) R.Text = "(nothing selected)\n";
           return R;
         });
}
