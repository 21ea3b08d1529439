// IDELinesDlg: the string editor dialog, and the property editors that open it for the
// grid's multi-line strings and its titles' multi-row headers.
#pragma once

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "System.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignEditors.h"
#endif

// A modal dialog that edits one string. Plain mode shows the whole multi-line value in the
// memo; header mode edits a multi-row value ("|" between rows) one row at a time, with
// buttons to the prior and next row and to delete the row shown.
class PACKAGE TOmStringEditor : public TForm {
  OM_CLASS(TOmStringEditor, TForm)
 public:
  // The dialog for a value, in header mode or plain mode, owned by the application.
  TOmStringEditor(bool AHeaderMode, const String& Value);
  // The edited value, in the format of the mode; asked once the dialog closed with OK.
  String GetEditValue();

  void MemoChange(TObject* Sender);
  void MemoKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void MemoKeyPress(TObject* Sender, char& Key);
  void PriorClick(TObject* Sender);
  void NextClick(TObject* Sender);
  void DeleteClick(TObject* Sender);
  void LoadClick(TObject* Sender);
  void SaveClick(TObject* Sender);

  TPanel* Panel = nullptr;
  TLabel *LinesLabel = nullptr, *RowNoLabel = nullptr;
  TMemo* Memo = nullptr;
  TButton *PriorButton = nullptr, *NextButton = nullptr, *DeleteButton = nullptr,
          *OKButton = nullptr, *CancelButton = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  TPopupMenu* PopupMenu = nullptr;
  TMenuItem *LoadMenuItem = nullptr, *SaveMenuItem = nullptr;

 private:
  void SetEditValue(const String& Value);
  int RowCount() const;
  String GetRow(int Index) const;
  void PutRow(int Index, const String& Text);
  void GoToRow(int NewIndex);

  bool FHeaderMode = false;
  int FRow = 0;
  // Every row but the one in the memo is up to date here.
  String FValue;
};

// The inspector's editor of a multi-line string: the ellipsis opens the dialog in plain mode.
class PACKAGE TOmStringProperty : public TStringProperty {
  OM_CLASS(TOmStringProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
};

// The inspector's editor of a multi-row header: the ellipsis opens the dialog in header mode.
class PACKAGE TOmHeaderProperty : public TStringProperty {
  OM_CLASS(TOmHeaderProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
};

namespace Idelinesdlg {
// The multi-row format: rows joined by "|", no escape; the empty string has no rows.
// A row past the last reads empty; a row whose text is DeletionMarker is deleted when put.
extern PACKAGE const char* const DeletionMarker;
PACKAGE String ReplaceAll(const String& Source, const String& Pattern, const String& Replacement);
PACKAGE int RowCount(const String& Value);
PACKAGE String GetRow(const String& Value, int Index);
PACKAGE void PutRow(String& Value, int Index, const String& Text);
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Idelinesdlg
