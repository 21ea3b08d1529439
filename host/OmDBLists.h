// OmDBLists: the column-chooser dialogs of the run-time package.
#pragma once

#include "OmDBGrids.h"

enum TOmColumnsDialogOption { cdoApplyButton, cdoResizeColumns, cdoShowHidden, cdoSortByName };
OM_ENUM_TYPE(TOmColumnsDialogOption)
OM_SET_TYPE(TOmColumnsDialogOptions, TOmColumnsDialogOption)

// Lets the user of a finished program choose which columns of a grid show, and how wide.
class PACKAGE TOmDBColumnsDialog : public TComponent {
  OM_CLASS(TOmDBColumnsDialog, TComponent)
 public:
  explicit TOmDBColumnsDialog(TComponent* AOwner);
  ~TOmDBColumnsDialog() override;
  // Shows the dialog for the grid; true when the user confirmed it.
  virtual bool Execute();

  TOmDBGrid* DBGrid() const noexcept { return FDBGrid; }
  void SetDBGrid(TOmDBGrid* Value);
  TStrings* ButtonsTitles() const noexcept { return FButtonsTitles; }
  void SetButtonsTitles(TStrings* Value) { FButtonsTitles->Assign(Value); }
  String ColumnsTitle = "Columns";
  String Title = "Columns";
  int DefaultCount = 0, DefaultWidth = 64, MinimumCount = 1, MinimumWidth = 8;
  TFormBorderStyle BorderStyle = bsDialog;
  // The help topic the dialog's Help button opens; 0: no help.
  int HelpContext = 0;
  TOmColumnsDialogOptions Options;
  TNotifyEvent OnApply, OnClose, OnCreate, OnShow;
  // How many times the dialog ran, and what it last showed (the columns, one a line).
  int RunCount = 0;
  String LastShown;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The title a new dialog of this class has.
  String DefaultTitle() const;

 private:
  // Texts are stored only where they differ from the ones a new dialog has, so a form
  // holds what its developer changed.
  bool IsTitleStored() const { return Title != DefaultTitle(); }
  bool IsColumnsTitleStored() const { return ColumnsTitle != "Columns"; }
  bool IsButtonsTitlesStored() const;
  TOmDBGrid* FDBGrid = nullptr;
  TStrings* FButtonsTitles;
};

// The same dialog for choosing the columns a report prints.
class PACKAGE TOmDBPrintColumnsDialog : public TOmDBColumnsDialog {
  OM_CLASS(TOmDBPrintColumnsDialog, TOmDBColumnsDialog)
 public:
  explicit TOmDBPrintColumnsDialog(TComponent* AOwner);
  bool Execute() override;
};

namespace Omdblists {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omdblists
