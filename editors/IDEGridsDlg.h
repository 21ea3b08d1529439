// IDEGridsDlg: the grid's property editors and the columns editor window.
#pragma once

#include <span>

#include "ActnList.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "ImgList.h"
#include "Menus.h"
#include "OmDBGrids.h"
#include "System.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#include "Dsgnwnds.h"
#else
#include "DesignEditors.h"
#include "DesignIntf.h"
#include "DesignWindows.h"
#include "VCLEditors.h"
#endif

// A modeless window that lists one grid's columns, keeps the IDE's selection in step with
// its list and offers the column commands. One per grid; it frees itself when closed.
class PACKAGE TOmDBGridColumnsEditor : public TDesignWindow {
  OM_CLASS(TOmDBGridColumnsEditor, TDesignWindow)
 public:
  TOmDBGridColumnsEditor(const TDesignerRef& ADesigner, TOmDBGrid* AGrid);
  ~TOmDBGridColumnsEditor() override;

  TOmDBGrid* Grid() const noexcept { return FGrid; }

  String UniqueName(TComponent* Component) override;
  TEditState GetEditState() override;
#if OM_HOST_RELEASE == 5
  void EditAction(TEditAction Action) override;
  void ComponentDeleted(const _di_IPersistent& Item) override;
  void SelectionChanged(TDesignerSelectionList* ASelection) override;
  void FormClosed(TCustomForm* AForm) override;
  void FormModified() override;
#else
  bool EditAction(TEditAction Action) override;
  void ItemDeleted(const _di_IDesigner& ADesigner, TPersistent* AItem) override;
  void SelectionChanged(const _di_IDesigner& ADesigner,
                        const _di_IDesignerSelections& ASelection) override;
  void DesignerClosed(const _di_IDesigner& ADesigner, bool AGoingDormant) override;
  void ItemsModified(const _di_IDesigner& ADesigner) override;
#endif
  void Activated() override;

  void FillList();
  // The window's title names the grid, as it is called now.
  void UpdateTitle();
  void UpdateCaptions();
  bool RemoveFreedRows(bool InStep, std::span<TListItem* const> Freed, int First);
  void UpdateSelection();
  void UpdateCommands();

  // Form and control handlers, bound by name from the form description.
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyPress(TObject* Sender, char& Key);
  void FormResize(TObject* Sender);
  void FormSplitterCanResize(TObject* Sender, int& NewSize, bool& Accept);
  void FormListViewClick(TObject* Sender);
  void FormListViewKeyPress(TObject* Sender, char& Key);
  void FormListViewSelectItem(TObject* Sender, TListItem* Item, bool Selected);
  void FormListViewDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                            bool& Accept);
  void FormListViewDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  // Selects (or deselects) the rows nested under every selected expandable column.
  void SelectNestedColumns(bool Select);
  void CheckedExecute(TObject* Sender);
  void LabelsExecute(TObject* Sender);
  void ToolbarExecute(TObject* Sender);
  void AddNewExecute(TObject* Sender);
  void DeleteExecute(TObject* Sender);
  void SelectExecute(TObject* Sender);
  void AddAllExecute(TObject* Sender);
  void RestoreExecute(TObject* Sender);
  void SynchroExecute(TObject* Sender);
  void StretchExecute(TObject* Sender);

  TToolBar* FormToolBar = nullptr;
  TToolButton *AddNewToolButton = nullptr, *DeleteToolButton = nullptr, *Break1ToolButton = nullptr,
              *AddAllToolButton = nullptr, *RestoreToolButton = nullptr,
              *SynchroToolButton = nullptr, *Break2ToolButton = nullptr,
              *StretchToolButton = nullptr;
  TPopupMenu* ToolPopupMenu = nullptr;
  TMenuItem* LabelsMenuItem = nullptr;
  TSplitter* FormSplitter = nullptr;
  TListView* FormListView = nullptr;
  TPopupMenu* ListPopupMenu = nullptr;
  TMenuItem *AddNewMenuItem = nullptr, *DeleteMenuItem = nullptr, *SelectMenuItem = nullptr,
            *Break1MenuItem = nullptr, *AddAllMenuItem = nullptr, *RestoreMenuItem = nullptr,
            *SynchroMenuItem = nullptr, *Break2MenuItem = nullptr, *StretchMenuItem = nullptr,
            *ToolbarMenuItem = nullptr;
  TActionList* FormActionList = nullptr;
  TAction *Labels = nullptr, *AddNew = nullptr, *Delete = nullptr, *Select = nullptr,
          *AddAll = nullptr, *Restore = nullptr, *Synchro = nullptr, *Stretch = nullptr,
          *Toolbar = nullptr;
  TImageList* FormImageList = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetGrid(TOmDBGrid* Value);
  void LoadSettings();
  void SaveSettings();
  String SettingsKey();
  void ForgetGrid();
  void CloseForDesigner();
  void ColumnGone(TPersistent* Item);
  void CheckRows();
  int FirstSelected() const;
  void ReselectAt(int Position);
  void SelectRow(int Index);
  static void RowCaption(String& Into, int Index, TOmColumn* Column);
  TListItem* MarkNestedRows(bool Select, std::vector<TListItem*>* Marked);
  void ModifiedAfterFill();
  bool RowsMatchColumns();

  TOmDBGrid* FGrid = nullptr;
  bool FUpdating = false;
  bool FSelectionOwned = false;
  // Set once the designer is closing: the window then leaves it alone.
  bool FDesignerGone = false;
  // Something of the form was deleted while the list had rows: a row's column may be gone.
  bool FStaleRows = false;
  // Rows whose column is gone: the next relabelling rebuilds the list.
  bool FEmptyRows = false;
  // The list was rebuilt from the collection an instant ago: its captions are current.
  bool FListFresh = false;
  String FSettingsKey;
};

// The object inspector's editor of a grid's Columns: opens the grid's columns editor, or
// shows the one already open for it.
class PACKAGE TOmDBGridColumnsProperty : public TClassProperty {
  OM_CLASS(TOmDBGridColumnsProperty, TClassProperty)
 public:
  using TClassProperty::TClassProperty;
  void Edit() override;
  TPropertyAttributes GetAttributes() override;
  String GetValue() override;
};

// The inspector's editor of a grid's MasterGrid: the grids that can become its master,
// none of them a detail of it, directly or through others.
class PACKAGE TOmDBGridMasterGridProperty : public TComponentProperty {
  OM_CLASS(TOmDBGridMasterGridProperty, TComponentProperty)
 public:
  using TComponentProperty::TComponentProperty;
  void GetValues(const TGetStrProc& Proc) override;
  void FilterProc(const String& S);

 private:
  // The inspector's callback, held only while GetValues runs.
  TGetStrProc FSaveProc;
};

// The inspector's editor of a column's FieldName: the fields of the dataset behind the
// column's grid, the fields of object and array fields among them.
class PACKAGE TOmDBGridFieldNameProperty : public TStringProperty {
  OM_CLASS(TOmDBGridFieldNameProperty, TStringProperty)
 public:
  using TStringProperty::TStringProperty;
  TPropertyAttributes GetAttributes() override;
  void GetValues(const TGetStrProc& Proc) override;
};

// The inspector's editor of the integers that index a grid's image lists: the images
// themselves in the value list and the value cell, each beside its number.
class PACKAGE TOmDBGridImageIndexProperty : public TIntegerProperty
#if OM_HOST_RELEASE == 6
    ,
                                            public ICustomPropertyListDrawing,
                                            public ICustomPropertyDrawing
#endif
{
  OM_CLASS(TOmDBGridImageIndexProperty, TIntegerProperty)
 public:
  using TIntegerProperty::TIntegerProperty;
  // The list for values from 0 up, and the one for values from -2 down (image -value-2).
  virtual TCustomImageList* GetImageList();
  virtual TCustomImageList* GetIndicators();
  TPropertyAttributes GetAttributes() override;
  void GetValues(const TGetStrProc& Proc) override;
#if OM_HOST_RELEASE == 5
  void ListMeasureWidth(const String& Value, TCanvas* ACanvas, int& AWidth) override;
  void ListMeasureHeight(const String& Value, TCanvas* ACanvas, int& AHeight) override;
  void ListDrawValue(const String& Value, TCanvas* ACanvas, const TRect& ARect,
                     bool ASelected) override;
  void PropDrawValue(TCanvas* ACanvas, const TRect& ARect, bool ASelected) override;
#else
  void ListMeasureWidth(const String& Value, TCanvas* ACanvas, int& AWidth) override;
  void ListMeasureHeight(const String& Value, TCanvas* ACanvas, int& AHeight) override;
  void ListDrawValue(const String& Value, TCanvas* ACanvas, const TRect& ARect,
                     bool ASelected) override;
  void PropDrawName(TCanvas* ACanvas, const TRect& ARect, bool ASelected) override;
  void PropDrawValue(TCanvas* ACanvas, const TRect& ARect, bool ASelected) override;
#endif
};

namespace Idegridsdlg {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Idegridsdlg
