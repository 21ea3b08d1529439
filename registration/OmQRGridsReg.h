// OmQRGridsReg: puts the report grid on the palette, gives it its component editor, the
// editors of its captions and expressions, and its categories.
#pragma once

#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignEditors.h"
#include "DesignIntf.h"
#endif
#include "IDELinesDlg.h"
#include "OmQRGrids.h"

#if OM_HOST_RELEASE == 5
class PACKAGE TOmQRGridCategory : public TPropertyCategory {
  OM_CLASS(TOmQRGridCategory, TPropertyCategory)
 public:
  TOmQRGridCategory() = default;
  String Name() override;
};
#endif

// The inspector's editor of a report expression: the ellipsis opens the expression builder.
class PACKAGE TOmQRExprProperty : public TStringProperty {
  OM_CLASS(TOmQRExprProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
};

// A report caption is text first: the string editor; when that leaves the caption as it
// was, the caption may be an expression, and the builder follows.
class PACKAGE TOmCaptionProperty : public TOmStringProperty {
  OM_CLASS(TOmCaptionProperty, TOmStringProperty)
 public:
  using TOmStringProperty::TOmStringProperty;
  void Edit() override;
};

// The report grid's component editor: the about box, and the report previewed, shown or
// saved as a source unit, once the report has a grid to print that is enabled.
class PACKAGE TOmQRGridEditor : public TDefaultEditor {
  OM_CLASS(TOmQRGridEditor, TDefaultEditor)
 public:
  using TDefaultEditor::TDefaultEditor;
  void Edit() override;
  void ExecuteVerb(int Index) override;
  String GetVerb(int Index) override;
  int GetVerbCount() override;
#if OM_HOST_RELEASE == 5
  void PrepareItem(int Index, TMenuItem* AItem) override;
#else
  void PrepareItem(int Index, const _di_IMenuItem& AItem) override;
#endif
  void About();
  void Preview();
  void ShowReport();
  void SaveReport();

 private:
  bool ReportReady();
};

namespace Omqrgridsreg {
PACKAGE void Register();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omqrgridsreg
