// OmDBListsReg: puts the column-chooser dialogs on the palette, lets the columns dialog be
// test-run from the form designer, and files its properties into categories.
#pragma once

#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignEditors.h"
#include "DesignIntf.h"
#endif
#include "OmDBLists.h"

#if OM_HOST_RELEASE == 5
class PACKAGE TOmDBColumnsDialogCategory : public TPropertyCategory {
  OM_CLASS(TOmDBColumnsDialogCategory, TPropertyCategory)
 public:
  TOmDBColumnsDialogCategory() = default;
  String Name() override;
};
#endif

// The columns dialog's component editor: the about box, and a run of the dialog on the
// designed grid, on a double-click or through its verb.
class PACKAGE TOmDBColumnsDialogEditor : public TDefaultEditor {
  OM_CLASS(TOmDBColumnsDialogEditor, TDefaultEditor)
 public:
  using TDefaultEditor::TDefaultEditor;
  void Edit() override;
  void ExecuteVerb(int Index) override;
  String GetVerb(int Index) override;
  int GetVerbCount() override;
  void About();
  // Runs the dialog as the finished program would, with its help topic suspended: the
  // help file a topic belongs to is the program's, which the designer does not have.
  void TestDialog();
};

namespace Omdblistsreg {
PACKAGE void Register();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omdblistsreg
