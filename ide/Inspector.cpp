#include "Inspector.h"

#include <algorithm>

#include "Ide.h"
#include "Registries.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "VCLEditors.h"
#endif

TPropertyEditor* TInspectorRow::Get() const {
#if OM_HOST_RELEASE == 5
  return Editor.get();
#else
  return dynamic_cast<TPropertyEditor*>(Editor.get());
#endif
}
String TInspectorRow::Value() const { return Get()->GetVisualValue(); }
TPropertyAttributes TInspectorRow::Attributes() const { return Get()->GetAttributes(); }
String TInspectorRow::EditorClass() const { return Get()->ClassName(); }
String TInspectorRow::TypeName() const { return Get()->GetPropType()->Name; }

TObjectInspector::TObjectInspector(TIde* Ide) : FIde(Ide) { FIde->AddSink(this); }

TObjectInspector::~TObjectInspector() {
  FIde->RemoveSink(this);
  Clear();
}

void TObjectInspector::Clear() {
  FRows.clear();
  FRowsFor = FDesigner = nullptr;
}

const std::vector<TPersistent*>& TObjectInspector::Objects() const {
  static const std::vector<TPersistent*> None;
  return FDesigner ? FDesigner->Selection() : None;
}

const std::vector<TInspectorRow>& TObjectInspector::Rows() const {
  Sync();
  return FRows;
}

namespace {
// Receives the editors GetComponentProperties makes, in the order it makes them.
struct TEditorCollector : TObject {
  std::vector<TEditorHandle> Editors;
#if OM_HOST_RELEASE == 5
  void Add(TPropertyEditor* E) { Editors.emplace_back(E); }
#else
  void Add(const _di_IProperty& E) { Editors.push_back(E); }
#endif
};

std::vector<TEditorHandle> PropertiesOf(const std::vector<TPersistent*>& Objects, TDesigner* Designer) {
  TEditorCollector Collector;
  auto Selected = std::make_shared<std::vector<TPersistent*>>(Objects);
#if OM_HOST_RELEASE == 5
  GetSelectionProperties(std::move(Selected), {}, _di_IFormDesigner(Designer),
                         Closure<&TEditorCollector::Add>(&Collector));
#else
  GetSelectionProperties(std::move(Selected), {}, _di_IDesigner(Designer),
                         Closure<&TEditorCollector::Add>(&Collector));
#endif
  // The inspector lists properties by name.
  std::stable_sort(Collector.Editors.begin(), Collector.Editors.end(),
                   [](const TEditorHandle& A, const TEditorHandle& B) {
                     return CompareText(A->GetName(), B->GetName()) < 0;
                   });
  return Collector.Editors;
}
}  // namespace

void TObjectInspector::Inspect(TDesigner* Designer) { FDesigner = Designer; }

String TObjectInspector::CurrentRow() const {
  Sync();
  for (const TInspectorRow& R : FRows)
    if (SameText(R.Name, FCurrent)) return R.Name;
  return FRows.empty() ? String() : FRows.front().Name;
}

void TObjectInspector::SetCurrentRow(const String& Name) {
  FCurrent = FRows[IndexOf(Name)].Name;
  FEditing = false;
}

void TObjectInspector::ModalEdit(char Key) {
  FEditing = !Rows().empty();
  FEditText = Key ? String(1, Key) : String();
}

void TObjectInspector::FinishEdit(bool Accept) {
  if (!FEditing) return;
  FEditing = false;
  if (Accept) SetValue(CurrentRow(), FEditText);
}

void TObjectInspector::Sync() const {
  if (FRowsFor == FDesigner && (!FDesigner || FRowsVersion == FDesigner->SelectionVersion()))
    return;
  std::vector<TInspectorRow> Rows;
  try {
    const std::vector<TPersistent*>& Objects = this->Objects();
    if (!Objects.empty())
      for (const TEditorHandle& E : PropertiesOf(Objects, FDesigner)) {
        TInspectorRow Row;
        Row.Name = E->GetName();
        Row.Editor = E;
        Rows.push_back(std::move(Row));
      }
  } catch (...) {
    // Rows made for another selection may point at objects that are gone.
    FRows.clear();
    FRowsFor = nullptr;
    throw;
  }
  // The old editors go only after the new ones exist: an editor may be running.
  FRows.swap(Rows);
  FRowsFor = FDesigner;
  FRowsVersion = FDesigner ? FDesigner->SelectionVersion() : 0;
}

size_t TObjectInspector::IndexOf(const String& Name) const {
  Sync();
  for (size_t I = 0; I < FRows.size(); ++I)
    if (SameText(FRows[I].Name, Name)) return I;
  throw EPropertyError(Format("The object inspector shows no property %s", {Name}));
}

const TInspectorRow& TObjectInspector::Row(const String& Name) const { return FRows[IndexOf(Name)]; }

namespace {
struct TValueCollector : TObject {
  std::vector<String> Values;
  void Add(const String& S) { Values.push_back(S); }
};
}  // namespace

std::vector<String> TObjectInspector::ValueList(const String& Name) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;  // held while it runs
  TValueCollector Collector;
  if (!Editor->GetAttributes().Contains(paValueList)) return {};
  Editor->GetValues(Closure<&TValueCollector::Add>(&Collector));
  if (Editor->GetAttributes().Contains(paSortList))
    std::stable_sort(Collector.Values.begin(), Collector.Values.end(),
                     [](const String& A, const String& B) { return CompareText(A, B) < 0; });
  return Collector.Values;
}

void TObjectInspector::SetValue(const String& Name, const String& Value) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
  if (Editor->GetAttributes().Contains(paReadOnly))
    throw EPropertyError(Format("Property %s is read-only in the object inspector", {Name}));
  Editor->SetValue(Value);
}

void TObjectInspector::Edit(const String& Name) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
  Editor->Edit();
}

void TObjectInspector::Revert(const String& Name) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
  if (!Editor->GetAttributes().Contains(paRevertable))
    throw EPropertyError(Format("Property %s cannot be reverted", {Name}));
  Editor->Revert();
}

#if OM_HOST_RELEASE == 5
namespace {
struct TSubCollector : TObject {
  std::vector<TEditorHandle> Editors;
  void Add(TPropertyEditor* E) { Editors.emplace_back(E); }
};
}  // namespace
#else
namespace {
struct TSubCollector : TObject {
  std::vector<TEditorHandle> Editors;
  void Add(const _di_IProperty& E) { Editors.push_back(E); }
};
}  // namespace
#endif

void TObjectInspector::CollectRows(std::vector<TInspectorRow>& Into, const TEditorHandle& Editor,
                                   const String& Prefix, int Depth) {
  TSubCollector Collector;
  Editor->GetProperties(Closure<&TSubCollector::Add>(&Collector));
  for (const TEditorHandle& E : Collector.Editors) {
    TInspectorRow Row;
    Row.Name = Prefix + "." + E->GetName();
    Row.Depth = Depth;
    Row.Editor = E;
    Into.push_back(std::move(Row));
  }
}

void TObjectInspector::Expand(const String& Name) {
  size_t I = IndexOf(Name);
  if (FRows[I].Expanded) return;
  if (!FRows[I].Attributes().Contains(paSubProperties))
    throw EPropertyError(Format("Property %s has no sub-properties", {Name}));
  std::vector<TInspectorRow> Sub;
  CollectRows(Sub, FRows[I].Editor, FRows[I].Name, FRows[I].Depth + 1);
  FRows[I].Expanded = true;
  FRows.insert(FRows.begin() + long(I) + 1, std::make_move_iterator(Sub.begin()),
               std::make_move_iterator(Sub.end()));
}

void TObjectInspector::Collapse(const String& Name) {
  size_t I = IndexOf(Name);
  size_t End = I + 1;
  while (End < FRows.size() && FRows[End].Depth > FRows[I].Depth) ++End;
  FRows[I].Expanded = false;
  FRows.erase(FRows.begin() + long(I) + 1, FRows.begin() + long(End));
}

void TObjectInspector::DrawName(const String& Name, TCanvas* Canvas, const TRect& Rect, bool Selected) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
#if OM_HOST_RELEASE == 5
  Editor->PropDrawName(Canvas, Rect, Selected);
#else
  if (auto Drawing = Supports<ICustomPropertyDrawing>(Editor))
    Drawing->PropDrawName(Canvas, Rect, Selected);
  else
    DefaultPropertyDrawName(FRows[IndexOf(Name)].Get(), Canvas, Rect);
#endif
}

void TObjectInspector::DrawValue(const String& Name, TCanvas* Canvas, const TRect& Rect, bool Selected) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
#if OM_HOST_RELEASE == 5
  Editor->PropDrawValue(Canvas, Rect, Selected);
#else
  if (auto Drawing = Supports<ICustomPropertyDrawing>(Editor))
    Drawing->PropDrawValue(Canvas, Rect, Selected);
  else
    DefaultPropertyDrawValue(FRows[IndexOf(Name)].Get(), Canvas, Rect);
#endif
}

std::vector<TRect> TObjectInspector::DrawValueList(const String& Name, TCanvas* Canvas, int Width) {
  TEditorHandle Editor = FRows[IndexOf(Name)].Editor;
  std::vector<TRect> Rects;
  String Current = Editor->GetValue();
  int Top = 0;
  for (const String& Value : ValueList(Name)) {
    int W = Width, H = Canvas->TextHeight(Value) + 2;
#if OM_HOST_RELEASE == 5
    Editor->ListMeasureWidth(Value, Canvas, W);
    Editor->ListMeasureHeight(Value, Canvas, H);
#else
    auto Drawing = Supports<ICustomPropertyListDrawing>(Editor);
    if (Drawing) {
      Drawing->ListMeasureWidth(Value, Canvas, W);
      Drawing->ListMeasureHeight(Value, Canvas, H);
    }
#endif
    TRect R{0, Top, W, Top + H};
    bool Selected = SameText(Value, Current);
    // The list box colours the entry for its state before the editor draws it, as the
    // platform's owner-drawn lists do: the current value in the highlight.
    Canvas->Brush()->SetColor(Selected ? clHighlight : clWindow);
    Canvas->Font()->SetColor(Selected ? clHighlightText : clWindowText);
#if OM_HOST_RELEASE == 5
    Editor->ListDrawValue(Value, Canvas, R, Selected);
#else
    if (Drawing)
      Drawing->ListDrawValue(Value, Canvas, R, Selected);
    else
      DefaultPropertyListDrawValue(Value, Canvas, R, Selected);
#endif
    Rects.push_back(R);
    Top += H;
  }
  return Rects;
}

std::vector<std::pair<String, std::vector<String>>> TObjectInspector::Categories() const {
  std::vector<std::pair<String, std::vector<String>>> Result;
  if (Objects().empty()) return Result;
  TClass C = Objects()[0]->ClassType();
  auto Add = [&](const String& Category, const String& Name) {
    auto It = std::find_if(Result.begin(), Result.end(), [&](const auto& E) { return E.first == Category; });
    if (It == Result.end()) It = Result.insert(Result.end(), {Category, {}});
    It->second.push_back(Name);
  };
  for (const TInspectorRow& Row : Rows()) {
    if (Row.Depth > 0) continue;
    std::vector<String> Cats = TRegistries::Instance().CategoriesOf(C, Row.Name);
    if (Cats.empty()) Cats.push_back("Miscellaneous");
    for (const String& K : Cats) Add(K, Row.Name);
  }
  std::sort(Result.begin(), Result.end(), [](const auto& A, const auto& B) { return CompareText(A.first, B.first) < 0; });
  return Result;
}

void TObjectInspector::SelectionChanged(TDesigner* Designer, const std::vector<TPersistent*>&) {
  if (Designer == FIde->ActiveDesigner() || !FIde->ActiveDesigner()) Inspect(Designer);
}

void TObjectInspector::DesignerClosed(TDesigner* Designer) {
  if (Designer == FDesigner) Clear();
}

void TObjectInspector::DropEditorsOf(const TLibModule* Module) {
  bool Any = std::any_of(FRows.begin(), FRows.end(),
                         [&](const TInspectorRow& R) { return R.Get()->ClassType()->Module == Module; });
  if (Any) Clear();
}
