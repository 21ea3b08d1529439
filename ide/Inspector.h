// The object inspector: the properties of the current selection, one row each, with the
// editor the registries give, as a person sees and uses them.
#pragma once

#include <memory>
#include <vector>

#include "Designer.h"
#include "Graphics.h"

class TIde;

#if OM_HOST_RELEASE == 5
using TEditorHandle = std::shared_ptr<TPropertyEditor>;
#else
using TEditorHandle = _di_IProperty;
#endif

struct TInspectorRow {
  String Name;       // "Font.Size" for a sub-property
  int Depth = 0;     // 0 for the selection's own properties
  TEditorHandle Editor;
  bool Expanded = false;

  TPropertyEditor* Get() const;
  String Value() const;  // the value text (empty when the selected objects differ)
  TPropertyAttributes Attributes() const;
  String EditorClass() const;
  String TypeName() const;
};

class TObjectInspector : public TDesignSink {
 public:
  explicit TObjectInspector(TIde* Ide);
  ~TObjectInspector() override;

  // Shows the properties of what that designer has selected, from now on.
  void Inspect(TDesigner* Designer);
  void Clear();
  TDesigner* Designer() const noexcept { return FDesigner; }
  const std::vector<TPersistent*>& Objects() const;
  // The rows are made when they are next looked at, not each time the selection changes:
  // a selection that changes many times in one command costs one set of editors.
  const std::vector<TInspectorRow>& Rows() const;
  // The row of that name ("Columns", "Font.Size"), without regard to case; raises
  // EPropertyError when the inspector shows none.
  const TInspectorRow& Row(const String& Name) const;

  // The drop-down list of a row (paValueList), sorted when the editor asks for it.
  std::vector<String> ValueList(const String& Name);
  // Typing a value and pressing Enter.
  void SetValue(const String& Name, const String& Value);
  // The ellipsis button (paDialog), or a double-click on the value.
  void Edit(const String& Name);
  void Revert(const String& Name);
  void Expand(const String& Name);
  void Collapse(const String& Name);

  // Owner drawing, as the inspector paints: the row's name and value cells, and its
  // drop-down list, each entry measured and drawn below the one before. Editors that draw
  // themselves do; the others get the text. Returns the rectangles of the list's entries.
  void DrawName(const String& Name, TCanvas* Canvas, const TRect& Rect, bool Selected);
  void DrawValue(const String& Name, TCanvas* Canvas, const TRect& Rect, bool Selected);
  std::vector<TRect> DrawValueList(const String& Name, TCanvas* Canvas, int Width);

  // The row the inspector stands on (the first by default), and its modal edit: the
  // inspector activated by a window with a key typed into that row's value.
  String CurrentRow() const;
  void SetCurrentRow(const String& Name);
  void ModalEdit(char Key);
  bool Editing() const noexcept { return FEditing; }
  const String& EditText() const noexcept { return FEditText; }
  void TypeText(const String& Text) { FEditText += Text; }
  // Enter in the inspector: the typed text becomes the value; Escape drops it.
  void FinishEdit(bool Accept);

  // The category view: each category with the names of its rows, categories sorted by
  // name; a property filed nowhere stands under "Miscellaneous".
  std::vector<std::pair<String, std::vector<String>>> Categories() const;

  // TDesignSink
  void SelectionChanged(TDesigner* Designer, const std::vector<TPersistent*>& Selection) override;
  void DesignerClosed(TDesigner* Designer) override;
  // Drops every editor whose class lives in that module (a package being unloaded).
  void DropEditorsOf(const TLibModule* Module);

 private:
  size_t IndexOf(const String& Name) const;
  // Makes the rows again if the selection changed since they were made.
  void Sync() const;
  void CollectRows(std::vector<TInspectorRow>& Into, const TEditorHandle& Editor, const String& Prefix, int Depth);

  TIde* FIde;
  TDesigner* FDesigner = nullptr;
  // The rows, and the designer and selection version they were made for.
  mutable std::vector<TInspectorRow> FRows;
  mutable TDesigner* FRowsFor = nullptr;
  mutable std::uint64_t FRowsVersion = 0;
  String FCurrent;
  bool FEditing = false;
  String FEditText;
};
