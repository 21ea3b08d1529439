// OmDBGridsReg: puts the grid on the palette and gives it its editors and categories.
#pragma once

#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignEditors.h"
#include "DesignIntf.h"
#endif
#include "OmDBGrids.h"

#if OM_HOST_RELEASE == 5
class PACKAGE TOmDBGridCategory : public TPropertyCategory {
  OM_CLASS(TOmDBGridCategory, TPropertyCategory)
 public:
  TOmDBGridCategory() = default;
  String Name() override;
};

class PACKAGE TImageCategory : public TPropertyCategory {
  OM_CLASS(TImageCategory, TPropertyCategory)
 public:
  TImageCategory() = default;
  String Name() override;
};
#endif

// The grid's component editor: the about box, and the columns editor on a double-click or
// through its verb, by way of the Columns property editor; never an event handler.
class PACKAGE TOmDBGridEditor : public TDefaultEditor {
  OM_CLASS(TOmDBGridEditor, TDefaultEditor)
 public:
  using TDefaultEditor::TDefaultEditor;
  void ExecuteVerb(int Index) override;
  String GetVerb(int Index) override;
  int GetVerbCount() override;
#if OM_HOST_RELEASE == 5
  void EditProperty(TPropertyEditor* PropertyEditor, bool& Continue, bool& FreeEditor) override;
#else
  void EditProperty(const _di_IProperty& Prop, bool& Continue) override;
#endif
  void About();
};

// One property-editor binding: type, component class, property name, editor class. The
// editor class is none for an editor a later version of the package brings.
struct TOmEditorBinding {
  PTypeInfo PropertyType;
  TClass ComponentClass;
  const char* PropertyName;
  TPropertyEditorClass EditorClass;
};

namespace Omdbgridsreg {
PACKAGE void Register();
// The grid's fifteen property-editor bindings, in the order Register makes them.
PACKAGE const std::vector<TOmEditorBinding>& EditorBindings();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omdbgridsreg
