#include "IDEGridsDlg.h"

#include <algorithm>
#include <charconv>
#include <memory_resource>
#include <typeinfo>
#include <unordered_set>

#include "DBClient.h"
#include "Db.h"
#include "Dialogs.h"
#include "Registry.h"
#include "SysUtils.h"
#if OM_HOST_RELEASE == 5
#include "Libintf.h"
#endif

namespace {

const char* const SettingsSection = "TDBGridColumns";
const char* const SettingsPath = "\\Property Editors\\Collection Editor";
const char* const ConfirmDeleteText = "Delete existing columns?";
const int SmallBarHeight = 30, LargeBarHeight = 44;

TOmColumn* RowColumn(TListItem* Item) { return static_cast<TOmColumn*>(Item->Data()); }

// Calls Row with the position and row of every selected row, in list order, and stops once
// it has met as many as the list has selected: a list of many thousand rows with one
// selected near the top is not walked to its end.
template <class F>
void ForEachSelected(TListView* List, F&& Row) {
  TListItems* Items = List->Items();
  for (int I = 0, Left = List->SelCount(); I < Items->Count() && Left > 0; ++I)
    if (TListItem* Item = Items->Item(I); Item->Selected()) {
      --Left;
      Row(I, Item);
    }
}

// The stretch bracket: a stretched grid lays its columns out again on every change, so
// the mode is off while a command changes them and on again after, also when the command
// fails. A failure of the closing call itself reaches the caller, unless another one is
// already on its way.
class TStretchOff {
 public:
  TStretchOff(TOmDBGrid* Grid, bool Stretched) : FGrid(Grid), FStretched(Stretched) {
    if (FStretched) FGrid->SetStretchMode(false);
  }
  ~TStretchOff() noexcept(false) {
    if (!FStretched) return;
    if (std::uncaught_exceptions() == FExceptions) {
      FGrid->SetStretchMode(true);
      return;
    }
    try {
      FGrid->SetStretchMode(true);
    } catch (...) {
    }
  }
  TStretchOff(const TStretchOff&) = delete;
  TStretchOff& operator=(const TStretchOff&) = delete;

 private:
  TOmDBGrid* FGrid;
  bool FStretched;
  int FExceptions = std::uncaught_exceptions();
};

// The stretch bracket around the collection's update bracket: no collection stays in an
// update and no grid stays without its stretch mode.
class TBrackets {
 public:
  TBrackets(TOmDBGrid* Grid, bool Stretched) : FStretch(Grid, Stretched), FColumns(Grid->Columns()) {
    FColumns->BeginUpdate();
  }
  ~TBrackets() noexcept(false) {
    if (std::uncaught_exceptions() == FExceptions) {
      FColumns->EndUpdate();
      return;
    }
    try {
      FColumns->EndUpdate();
    } catch (...) {
    }
  }
  TBrackets(const TBrackets&) = delete;
  TBrackets& operator=(const TBrackets&) = delete;

 private:
  TStretchOff FStretch;  // made first, undone last
  TOmDBGridColumns* FColumns;
  int FExceptions = std::uncaught_exceptions();
};

// Sets a flag for the life of a scope: FUpdating holds the selection pushes of a bulk
// change, and must not stay set when the change fails.
class TFlagOn {
 public:
  explicit TFlagOn(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagOn() { FFlag = false; }
  TFlagOn(const TFlagOn&) = delete;
  TFlagOn& operator=(const TFlagOn&) = delete;

 private:
  bool& FFlag;
};

// Runs Step and hands whatever it raises to the IDE's handler, for the steps of a
// destructor, which must not throw.
template <class F>
void Reporting(F&& Step) noexcept {
  try {
    Step();
  } catch (Exception& E) {
    if (Application) Application->HandleException(E);
  } catch (std::exception& E) {
    Exception Wrapped(E.what());
    if (Application) Application->HandleException(Wrapped);
  } catch (...) {
    Exception Unknown("The columns editor failed while it closed");
    if (Application) Application->HandleException(Unknown);
  }
}

// A stored size the window cannot have (a damaged or hand-edited store) counts as none.
int StoredSize(TRegIniFile& Ini, const char* Name, int Current, int Min, int Max) {
  int Value = Ini.ReadInteger(SettingsSection, Name, Current);
  const int Largest = 16384;
  if (Value < std::max(Min, 1) || Value > Largest || (Max > 0 && Value > Max)) return Current;
  return Value;
}

// One redraw of the list for a whole command: rebuild and reselection included.
class TListUpdate {
 public:
  explicit TListUpdate(TListView* List) : FItems(List->Items()) { FItems->BeginUpdate(); }
  ~TListUpdate() { FItems->EndUpdate(); }
  TListUpdate(const TListUpdate&) = delete;
  TListUpdate& operator=(const TListUpdate&) = delete;

 private:
  TListItems* FItems;
};

}  // namespace

template <>
struct TPublished<TOmDBGridColumnsEditor> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmDBGridColumnsEditor::OnClose, &TOmDBGridColumnsEditor::OnClose>("OnClose"),
  };
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TOmDBGridColumnsEditor, FormClose),
      OM_METHOD(TOmDBGridColumnsEditor, FormKeyPress),
      OM_METHOD(TOmDBGridColumnsEditor, FormResize),
      OM_METHOD(TOmDBGridColumnsEditor, FormSplitterCanResize),
      OM_METHOD(TOmDBGridColumnsEditor, FormListViewClick),
      OM_METHOD(TOmDBGridColumnsEditor, FormListViewKeyPress),
      OM_METHOD(TOmDBGridColumnsEditor, FormListViewSelectItem),
      OM_METHOD(TOmDBGridColumnsEditor, FormListViewDragOver),
      OM_METHOD(TOmDBGridColumnsEditor, FormListViewDragDrop),
      OM_METHOD(TOmDBGridColumnsEditor, CheckedExecute),
      OM_METHOD(TOmDBGridColumnsEditor, LabelsExecute),
      OM_METHOD(TOmDBGridColumnsEditor, ToolbarExecute),
      OM_METHOD(TOmDBGridColumnsEditor, AddNewExecute),
      OM_METHOD(TOmDBGridColumnsEditor, DeleteExecute),
      OM_METHOD(TOmDBGridColumnsEditor, SelectExecute),
      OM_METHOD(TOmDBGridColumnsEditor, AddAllExecute),
      OM_METHOD(TOmDBGridColumnsEditor, RestoreExecute),
      OM_METHOD(TOmDBGridColumnsEditor, SynchroExecute),
      OM_METHOD(TOmDBGridColumnsEditor, StretchExecute),
  };
  static constexpr TFieldEntry Fields[] = {
      OM_FIELD(TOmDBGridColumnsEditor, FormToolBar),
      OM_FIELD(TOmDBGridColumnsEditor, AddNewToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, DeleteToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, Break1ToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, AddAllToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, RestoreToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, SynchroToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, Break2ToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, StretchToolButton),
      OM_FIELD(TOmDBGridColumnsEditor, ToolPopupMenu),
      OM_FIELD(TOmDBGridColumnsEditor, LabelsMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, FormSplitter),
      OM_FIELD(TOmDBGridColumnsEditor, FormListView),
      OM_FIELD(TOmDBGridColumnsEditor, ListPopupMenu),
      OM_FIELD(TOmDBGridColumnsEditor, AddNewMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, DeleteMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, SelectMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, Break1MenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, AddAllMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, RestoreMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, SynchroMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, Break2MenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, StretchMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, ToolbarMenuItem),
      OM_FIELD(TOmDBGridColumnsEditor, FormActionList),
      OM_FIELD(TOmDBGridColumnsEditor, Labels),
      OM_FIELD(TOmDBGridColumnsEditor, AddNew),
      OM_FIELD(TOmDBGridColumnsEditor, Delete),
      OM_FIELD(TOmDBGridColumnsEditor, Select),
      OM_FIELD(TOmDBGridColumnsEditor, AddAll),
      OM_FIELD(TOmDBGridColumnsEditor, Restore),
      OM_FIELD(TOmDBGridColumnsEditor, Synchro),
      OM_FIELD(TOmDBGridColumnsEditor, Stretch),
      OM_FIELD(TOmDBGridColumnsEditor, Toolbar),
      OM_FIELD(TOmDBGridColumnsEditor, FormImageList),
  };
};
OM_IMPLEMENT_CLASS(TOmDBGridColumnsEditor, "IDEGridsDlg");

TOmDBGridColumnsEditor::TOmDBGridColumnsEditor(const TDesignerRef& ADesigner, TOmDBGrid* AGrid)
    : TDesignWindow(Application) {
  ReadForm();
  SetBorderIcons({biSystemMenu});
  FormListView->SetShowColumnHeaders(false);
  DoCreate();

  SetDesigner(ADesigner);
  // Taken now: a window closed with its designer must not ask the designer again.
  FSettingsKey = SettingsKey();
  SetGrid(AGrid);
  SetHeight(232);
  SetWidth(272);
  FormListView->Column(0)->SetWidth(-1);
  LoadSettings();
}

TOmDBGridColumnsEditor::~TOmDBGridColumnsEditor() {
  // A destructor cannot pass a failure on; the IDE hears of each one, and the window
  // still goes.
  Reporting([this] { SaveSettings(); });
  Reporting([this] {
    if (FSelectionOwned && FGrid && !FDesignerGone && Designer()) Designer()->SelectComponent(FGrid);
  });
  if (FGrid) FGrid->RemoveFreeNotification(this);
}

String TOmDBGridColumnsEditor::SettingsKey() {
#if OM_HOST_RELEASE == 5
  String Base = DelphiIDE ? DelphiIDE->GetBaseRegKey() : String();
#else
  String Base = Designer() ? Designer()->Environment()->GetBaseRegKey() : String();
#endif
  return Base + SettingsPath;
}

void TOmDBGridColumnsEditor::SetGrid(TOmDBGrid* Value) {
  FGrid = Value;
  if (FGrid) FGrid->FreeNotification(this);
  FillList();
  UpdateTitle();
}

void TOmDBGridColumnsEditor::UpdateTitle() {
  String Title = Format("Editing %s.Columns", {FGrid ? FGrid->Name() : String()});
  if (Caption() != Title) SetCaption(Title);
}

void TOmDBGridColumnsEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TDesignWindow::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FGrid) ForgetGrid();
}

void TOmDBGridColumnsEditor::ForgetGrid() {
  if (!FGrid) return;
  FGrid->RemoveFreeNotification(this);
  FGrid = nullptr;
  {
    // The rows point into the grid's collection, which goes with it.
    TListUpdate Update(FormListView);
    for (int I = 0; I < FormListView->Items()->Count(); ++I)
      FormListView->Items()->Item(I)->SetData(nullptr);
  }
  Close();
}

void TOmDBGridColumnsEditor::CloseForDesigner() {
  FDesignerGone = true;
  Close();
}

void TOmDBGridColumnsEditor::LoadSettings() {
  TRegIniFile Ini(FSettingsKey);
  TSizeConstraints* Limits = Constraints();
  SetHeight(StoredSize(Ini, "Height", Height(), Limits->MinHeight(), Limits->MaxHeight()));
  SetWidth(StoredSize(Ini, "Width", Width(), Limits->MinWidth(), Limits->MaxWidth()));
  if (Ini.ReadBool(SettingsSection, "LargeButtons", false)) LabelsExecute(Labels);
  if (!Ini.ReadBool(SettingsSection, "Toolbar", true)) ToolbarExecute(Toolbar);
}

// One transaction for all of them: a sync of the disk for each would cost more than the
// window's whole close, and a failure midway leaves the settings the window opened with.
void TOmDBGridColumnsEditor::SaveSettings() {
  TRegIniFile Ini(FSettingsKey);
  Ini.BeginUpdate();
  Ini.WriteInteger(SettingsSection, "Height", Height());
  Ini.WriteInteger(SettingsSection, "Width", Width());
  Ini.WriteInteger(SettingsSection, "Column0", FormListView->Column(0)->Width());
  Ini.WriteBool(SettingsSection, "LargeButtons", Labels->Checked());
  Ini.WriteBool(SettingsSection, "Toolbar", Toolbar->Checked());
  Ini.EndUpdate();
}

// --- Host notifications --------------------------------------------------------------

String TOmDBGridColumnsEditor::UniqueName(TComponent* Component) {
  return Designer()->UniqueName(Component->Name());
}

TEditState TOmDBGridColumnsEditor::GetEditState() {
  TEditState State{esCanCut, esCanCopy, esCanDelete};
  if (ClipboardComponents()) State << esCanPaste;
  return State;
}

#if OM_HOST_RELEASE == 5
void TOmDBGridColumnsEditor::EditAction(TEditAction Action) {
  switch (Action) {
    case eaCut:
      Designer()->CutSelection();
      break;
    case eaCopy:
      Designer()->CopySelection();
      break;
    case eaPaste:
      Designer()->PasteSelection();
      break;
    case eaDelete:
      Designer()->DeleteSelection();
      break;
    default:
      break;
  }
}

void TOmDBGridColumnsEditor::ComponentDeleted(const _di_IPersistent& Item) {
  TPersistent* P = ExtractPersistent(Item);
  if (P && P == FGrid)
    ForgetGrid();
  else
    ColumnGone(P);
}

void TOmDBGridColumnsEditor::SelectionChanged(TDesignerSelectionList*) { FSelectionOwned = false; }

void TOmDBGridColumnsEditor::FormClosed(TCustomForm* AForm) {
  // Roots that are not forms (data modules) have none: none is never the window's form.
  if (!FDesignerGone && AForm && Designer() && AForm == Designer()->GetCustomForm()) CloseForDesigner();
}

void TOmDBGridColumnsEditor::FormModified() {
  // A rename of the grid comes as a modification of the form.
  UpdateTitle();
  UpdateCaptions();
  UpdateCommands();
}
#else
bool TOmDBGridColumnsEditor::EditAction(TEditAction Action) {
  switch (Action) {
    case eaCut:
      Designer()->CutSelection();
      return true;
    case eaCopy:
      Designer()->CopySelection();
      return true;
    case eaPaste:
      Designer()->PasteSelection();
      return true;
    case eaDelete:
      Designer()->DeleteSelection(false);
      return true;
    default:
      return false;
  }
}

void TOmDBGridColumnsEditor::ItemDeleted(const _di_IDesigner&, TPersistent* AItem) {
  if (AItem && AItem == FGrid)
    ForgetGrid();
  else
    ColumnGone(AItem);
}

void TOmDBGridColumnsEditor::SelectionChanged(const _di_IDesigner&,
                                              const _di_IDesignerSelections&) {
  FSelectionOwned = false;
}

void TOmDBGridColumnsEditor::DesignerClosed(const _di_IDesigner& ADesigner, bool) {
  if (!FDesignerGone && ADesigner.get() == Designer().get()) CloseForDesigner();
}

void TOmDBGridColumnsEditor::ItemsModified(const _di_IDesigner&) {
  // A rename of the grid comes as a modification of the form.
  UpdateTitle();
  UpdateCaptions();
  UpdateCommands();
}
#endif

// A column deleted by the IDE itself (its delete, which the Edit menu forwards) leaves a
// row pointing at freed memory. The item may already be half destroyed, so nothing is
// asked of it; the rows are checked against the collection before they are next read.
void TOmDBGridColumnsEditor::ColumnGone(TPersistent*) {
  if (FGrid && FormListView->Items()->Count() > 0) FStaleRows = true;
}

// Rows whose column is no longer in the collection lose it, by pointer comparison only.
void TOmDBGridColumnsEditor::CheckRows() {
  if (!FStaleRows || !FGrid) return;
  FStaleRows = false;
  TOmDBGridColumns* Columns = FGrid->Columns();
  std::unordered_set<const void*> Alive;
  Alive.reserve(size_t(Columns->Count()));
  for (int I = 0; I < Columns->Count(); ++I) Alive.insert(Columns->GetColumn(I));
  TListItems* Items = FormListView->Items();
  for (int I = 0; I < Items->Count(); ++I) {
    TListItem* Item = Items->Item(I);
    if (Item->Data() && !Alive.count(Item->Data())) {
      Item->SetData(nullptr);
      FEmptyRows = true;
    }
  }
}

void TOmDBGridColumnsEditor::Activated() {
  if (!FSelectionOwned) UpdateSelection();
}

// --- Form handlers ---------------------------------------------------------------------

void TOmDBGridColumnsEditor::FormClose(TObject*, TCloseAction& Action) {
  if (Action != caNone) Action = caFree;
}

void TOmDBGridColumnsEditor::FormKeyPress(TObject*, char& Key) {
  if (Key != 13) return;
#if OM_HOST_RELEASE == 5
  if (DelphiIDE) DelphiIDE->ModalEdit('\0', this);
#else
  if (Designer()) Designer()->Environment()->ModalEdit('\0', Activatable());
#endif
}

void TOmDBGridColumnsEditor::FormResize(TObject*) {}

void TOmDBGridColumnsEditor::FormSplitterCanResize(TObject*, int& NewSize, bool& Accept) {
  if ((NewSize <= SmallBarHeight && Labels->Checked()) ||
      (NewSize >= LargeBarHeight && !Labels->Checked()))
    LabelsExecute(Labels);
  Accept = NewSize <= SmallBarHeight || NewSize >= LargeBarHeight;
}

void TOmDBGridColumnsEditor::CheckedExecute(TObject* Sender) {
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (!Action) return;
  Action->SetChecked(!Action->Checked());
  Action->SetImageIndex(Action->Checked() ? 0 : -1);
}

void TOmDBGridColumnsEditor::LabelsExecute(TObject*) {
  CheckedExecute(Labels);
  if (Labels->Checked()) {
    FormToolBar->SetHeight(LargeBarHeight);
    FormToolBar->SetShowCaptions(true);
  } else {
    FormToolBar->SetShowCaptions(false);
    FormToolBar->SetButtonHeight(22);
    FormToolBar->SetButtonWidth(23);
    FormToolBar->SetHeight(SmallBarHeight);
  }
}

void TOmDBGridColumnsEditor::ToolbarExecute(TObject*) {
  CheckedExecute(Toolbar);
  FormSplitter->SetVisible(Toolbar->Checked());
  FormToolBar->SetVisible(Toolbar->Checked());
}

// --- The list ----------------------------------------------------------------------------

// "%d - %s" with the row's position and the column's name, built into a buffer the
// caller keeps: every row of a list of many thousands is labelled again after each
// change, and a row's caption then takes the text into the room it already has.
void TOmDBGridColumnsEditor::RowCaption(String& Into, int Index, TOmColumn* Column) {
  char Digits[12];
  char* End = std::to_chars(Digits, Digits + sizeof Digits, Index).ptr;
  Into.assign(Digits, End).append(" - ");
  // A column of the library's own class, not a descendant that may name itself otherwise,
  // is named by its field when it has one: no copy of the name.
  if (typeid(*Column) == typeid(TOmColumn) && !Column->FieldName().empty())
    Into.append(Column->FieldName());
  else
    Into.append(Column->DisplayName());
}

namespace {

// Columns, their names and the rows' captions lie far apart in the heap, and a list of
// many thousand rows reads each once: fetched some rows ahead, they are in the cache by
// the time their captions are built. ColumnAt(I) is the column of row I, or none.
template <class F>
void FetchAhead(int I, int Count, F&& ColumnAt) {
  if (I + 32 < Count) __builtin_prefetch(ColumnAt(I + 32));
  if (I + 16 < Count)
    if (TOmColumn* Ahead = ColumnAt(I + 16)) __builtin_prefetch(Ahead->FieldName().data());
}

// Fetches every line of a column some rows before it is freed: its destructors read most
// of them, and columns made long before are no longer in the cache.
void FetchColumn(const TOmColumn* Column) {
  if (!Column) return;
  const char* P = reinterpret_cast<const char*>(Column);
  for (size_t Line = 0; Line < sizeof(TOmColumn); Line += 64) __builtin_prefetch(P + Line);
}

}  // namespace

void TOmDBGridColumnsEditor::FillList() {
  if (!FGrid) return;
  TListItems* Items = FormListView->Items();
  TListUpdate Update(FormListView);
  FStaleRows = FEmptyRows = false;
  TOmDBGridColumns* Columns = FGrid->Columns();
  int Count = Columns->GetState() == csCustomized ? Columns->Count() : 0;
  // The rows there are serve again, emptied: adding all fields rebuilds a list of many
  // thousand rows, and new rows and captions would cost an allocation or two each.
  Items->Refill(Count);
  String Caption;
  for (int I = 0; I < Count; ++I) {
    FetchAhead(I, Count, [&](int At) { return Columns->GetColumn(At); });
    TListItem* Item = Items->Item(I);
    TOmColumn* Column = Columns->GetColumn(I);
    RowCaption(Caption, I, Column);
    Item->SetCaption(Caption);
    Item->SetData(Column);
  }
}

void TOmDBGridColumnsEditor::UpdateCaptions() {
  if (!FGrid || FListFresh) return;
  CheckRows();
  if (FEmptyRows) {
    // Rows lost their columns to the IDE's delete; the list is built again from the
    // collection rather than relabelled, and keeps no row without a column.
    FillList();
    return;
  }
  TListItems* Items = FormListView->Items();
  TListUpdate Update(FormListView);
  String Caption;
  auto ColumnAt = [&](int At) { return RowColumn(Items->Item(At)); };
  for (int I = 0, Count = Items->Count(); I < Count; ++I) {
    FetchAhead(I, Count, ColumnAt);
    if (I + 16 < Count) __builtin_prefetch(Items->Item(I + 16)->Caption().data());
    if (TOmColumn* Column = RowColumn(Items->Item(I))) {
      RowCaption(Caption, I, Column);
      Items->Item(I)->SetCaption(Caption);
    }
  }
}

// After a delete whose selected rows (Freed, the first of them at First) lost their
// columns: when the list held every column in order and no column went beyond the
// selected ones, those rows leave the list
// and the rows after the first of them are labelled with their new places. Rebuilding
// would clear every row and make the survivors again. False when the list must be built
// anew (some column went with a parent, or rows and columns were out of step).
bool TOmDBGridColumnsEditor::RemoveFreedRows(bool InStep, std::span<TListItem* const> Freed,
                                             int First) {
  TListItems* Items = FormListView->Items();
  if (!InStep || Items->Count() - int(Freed.size()) != FGrid->Columns()->Count()) return false;
  Items->DeleteItems(Freed);
  // Each freed column told the window it went; the rows left are exactly the collection's.
  FStaleRows = FEmptyRows = false;
  String Caption;
  auto ColumnAt = [&](int At) { return RowColumn(Items->Item(At)); };
  for (int I = std::max(First, 0), Count = Items->Count(); I < Count; ++I) {
    FetchAhead(I, Count, ColumnAt);
    if (I + 16 < Count) __builtin_prefetch(Items->Item(I + 16)->Caption().data());
    RowCaption(Caption, I, RowColumn(Items->Item(I)));
    Items->Item(I)->SetCaption(Caption);
  }
  return true;
}

// A command's own modified notification finds the list it has just rebuilt; labelling
// every row again would format each caption a second time.
void TOmDBGridColumnsEditor::ModifiedAfterFill() {
  TFlagOn Fresh(FListFresh);
  Designer()->Modified();
}

void TOmDBGridColumnsEditor::UpdateSelection() {
  if (FUpdating || !FGrid || FDesignerGone || !Designer()) return;
  CheckRows();
  bool Any = false;
#if OM_HOST_RELEASE == 5
  auto* List = new TDesignerSelectionList;
#else
  _di_IDesignerSelections List = CreateSelectionList();
#endif
  ForEachSelected(FormListView, [&](int, TListItem* Item) {
    Any = true;
    if (TOmColumn* Column = RowColumn(Item)) List->Add(Column);
  });
  if (Any) {
    SetSelection(List);
  } else {
#if OM_HOST_RELEASE == 5
    delete List;
#endif
    Designer()->SelectComponent(FGrid->Columns());
  }
  FSelectionOwned = true;
  UpdateCommands();
}

void TOmDBGridColumnsEditor::FormListViewSelectItem(TObject*, TListItem*, bool Selected) {
  if (Selected && Active()) UpdateSelection();
}

void TOmDBGridColumnsEditor::FormListViewClick(TObject*) {
  if (FirstSelected() < 0) UpdateSelection();
}

void TOmDBGridColumnsEditor::FormListViewKeyPress(TObject*, char& Key) {
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code < 33 || Code > 126) return;
#if OM_HOST_RELEASE == 5
  if (DelphiIDE) DelphiIDE->ModalEdit(Key, this);
#else
  if (Designer()) Designer()->Environment()->ModalEdit(Key, Activatable());
#endif
  Key = 0;
}

int TOmDBGridColumnsEditor::FirstSelected() const {
  TListItem* Item = FormListView->Selected();
  return Item ? Item->Index() : -1;
}

void TOmDBGridColumnsEditor::SelectRow(int Index) {
  ForEachSelected(FormListView, [&](int I, TListItem* Item) {
    if (I != Index) Item->SetSelected(false);
  });
  TListItem* Item = FormListView->Items()->Item(Index);
  Item->SetSelected(true);
  Item->SetFocused(true);
  // The list pushes on selection only while the window is active; a command chosen from
  // elsewhere still makes its row the IDE's selection.
  if (!Active()) UpdateSelection();
}

void TOmDBGridColumnsEditor::ReselectAt(int Position) {
  int Count = FormListView->Items()->Count();
  if (Position > Count - 1) Position = Count - 1;
  if (Position >= 0)
    SelectRow(Position);
  else
    UpdateSelection();
}

// --- Drag and drop ---------------------------------------------------------------------

// Every row carries a column and the list holds them all, in the collection's order:
// the drop works on row positions and collection indexes as one.
bool TOmDBGridColumnsEditor::RowsMatchColumns() {
  if (!FGrid) return false;
  CheckRows();
  return !FEmptyRows && FormListView->Items()->Count() == FGrid->Columns()->Count();
}

void TOmDBGridColumnsEditor::FormListViewDragOver(TObject*, TObject* Source, int X, int Y,
                                                  TDragState, bool& Accept) {
  Accept = false;
  TListItem* First = FormListView->Selected();
  TListItem* Target = FormListView->GetItemAt(X, Y);
  if (Source != FormListView || !First || !Target || Target->Selected() || !RowsMatchColumns())
    return;
  // Only among siblings: a column never leaves or enters a nested block by a drag. The
  // parents are asked by position, each row checked to stand where its column does.
  TOmDBGridColumns* Columns = FGrid->Columns();
  auto ParentAt = [&](int Position, TListItem* Row) {
    return RowColumn(Row) == Columns->GetColumn(Position) ? Columns->ParentIndex(Position) : -2;
  };
  int Parent = ParentAt(First->Index(), First);
  if (Parent == -2 || ParentAt(Target->Index(), Target) != Parent) return;
  bool Siblings = true;
  ForEachSelected(FormListView, [&](int I, TListItem* Item) {
    Siblings = Siblings && ParentAt(I, Item) == Parent;
  });
  Accept = Siblings;
}

void TOmDBGridColumnsEditor::SelectNestedColumns(bool Select) { MarkNestedRows(Select, nullptr); }

// The walk of SelectNestedColumns. It returns the last selected expandable row that lies
// in no block marked before it (the row the walk that deselects again would leave
// focused), and with Marked it keeps the rows of those outermost blocks: deselecting
// exactly them is that walk's effect, without asking the nesting again.
TListItem* TOmDBGridColumnsEditor::MarkNestedRows(bool Select, std::vector<TListItem*>* Marked) {
  if (!RowsMatchColumns()) return nullptr;
  TListItems* Items = FormListView->Items();
  TOmDBGridColumns* Columns = FGrid->Columns();
  int Count = Items->Count(), MarkedUntil = -1;
  TListItem* LastHead = nullptr;
  for (int I = 0; I < Count; ++I) {
    TListItem* Item = Items->Item(I);
    // A row not where its column stands (the list not yet rebuilt) marks nothing.
    if (!Item->Selected() || RowColumn(Item) != Columns->GetColumn(I)) continue;
    int Last = Columns->ExpandIndex(I);
    if (Last == I) continue;
    bool Outermost = I > MarkedUntil;
    for (int J = I + 1; J <= Last; ++J) {
      TListItem* Nested = Items->Item(J);
      Nested->SetSelected(Select);
      if (Outermost && Marked) Marked->push_back(Nested);
    }
    if (Outermost) {
      MarkedUntil = Last;
      LastHead = Item;
    }
    Item->SetFocused(true);
  }
  return LastHead;
}

// The selected rows, each with its nested rows, move as one block: before the target when
// it is above them, else after it (after its last nested row when it has some). The rows
// are put in their new order in one pass and the collection follows it in one more, where
// a row-by-row move would shift the rows and columns between for each moved one. Every
// row keeps its row object; the last row of the block takes the focus, as the last one
// moved would, unless a selected expandable row takes it back.
void TOmDBGridColumnsEditor::FormListViewDragDrop(TObject*, TObject*, int X, int Y) {
  TListItem* Source = FormListView->Selected();
  TListItem* Target = FormListView->GetItemAt(X, Y);
  // Only what a drag-over accepts can be dropped; anything else would move no block.
  if (!Source || !Target || Target->Selected() || !RowsMatchColumns()) return;
  TListItems* Items = FormListView->Items();
  TOmDBGridColumns* Columns = FGrid->Columns();
  int Count = Items->Count();
  int From = Source->Index(), To = Target->Index();
  if (To > From && RowColumn(Target) == Columns->GetColumn(To)) To = Columns->ExpandIndex(To);
  int Cut = To > From ? To + 1 : To;  // the block stands before the row now at Cut
  {
    TListUpdate Update(FormListView);
    TFlagOn Bulk(FUpdating);
    std::vector<TListItem*> Joined;
    TListItem* LastHead = MarkNestedRows(true, &Joined);
    std::vector<TListItem*> Rows(static_cast<size_t>(Count));
    for (int I = 0; I < Count; ++I) Rows[size_t(I)] = Items->Item(I);
    auto Moved = [](const TListItem* Row) { return Row->Selected(); };
    auto Stays = [](const TListItem* Row) { return !Row->Selected(); };
    auto BlockStart = std::stable_partition(Rows.begin(), Rows.begin() + Cut, Stays);
    auto BlockEnd = std::stable_partition(Rows.begin() + Cut, Rows.end(), Moved);
    {
      TBrackets Brackets(FGrid, false);
      // The collection first: should it refuse the order, the list has not moved either.
      std::vector<TCollectionItem*> Order(static_cast<size_t>(Count));
      for (int I = 0; I < Count; ++I) Order[size_t(I)] = RowColumn(Rows[size_t(I)]);
      Columns->Reorder(Order);
      Items->Reorder(Rows);
      String Caption;
      for (int I = 0; I < Count; ++I) {
        // Columns, their names and the rows' captions lie far apart: fetched some rows
        // ahead, they are there in time.
        if (I + 32 < Count) __builtin_prefetch(Rows[size_t(I) + 32]->Data());
        if (I + 16 < Count) {
          TListItem* Ahead = Rows[size_t(I) + 16];
          __builtin_prefetch(RowColumn(Ahead)->FieldName().data());
          __builtin_prefetch(Ahead->Caption().data());
        }
        RowCaption(Caption, I, RowColumn(Rows[size_t(I)]));
        Rows[size_t(I)]->SetCaption(Caption);
      }
    }
    for (TListItem* Row : Joined) Row->SetSelected(false);
    if (LastHead)
      LastHead->SetFocused(true);
    else if (BlockEnd != BlockStart)
      (*std::prev(BlockEnd))->SetFocused(true);
  }
  UpdateSelection();
  ModifiedAfterFill();
}

// --- Commands ----------------------------------------------------------------------------

void TOmDBGridColumnsEditor::AddNewExecute(TObject*) {
  if (!FGrid) return;
  TListUpdate Update(FormListView);
  {
    TStretchOff Bracket(FGrid, Stretch->Checked());
    FGrid->Columns()->Add();
  }
  FillList();
  int Count = FormListView->Items()->Count();
  if (Count > 0) SelectRow(Count - 1);
  ModifiedAfterFill();
}

void TOmDBGridColumnsEditor::DeleteExecute(TObject*) {
  if (!FGrid) return;
  TListUpdate Update(FormListView);
  int Position = FirstSelected();
  bool InStep = RowsMatchColumns();
  std::vector<TListItem*> Freed;  // the selected rows, from the last
  int First = -1;
  {
    TBrackets Brackets(FGrid, Stretch->Checked());
    // One block for the whole set: tens of thousands of node allocations otherwise.
    std::pmr::monotonic_buffer_resource Arena;
    std::pmr::unordered_set<TOmColumn*> Doomed(&Arena);
    TOmDBGridColumns* Columns = FGrid->Columns();
    TListItems* Items = FormListView->Items();
    // While row I holds column I, a selected row's column is freed by its position,
    // walking from the end: what goes from there on (a column, or a head with the group
    // after it) leaves every column before it in its place. Any other is freed by
    // membership below.
    Freed.reserve(size_t(FormListView->SelCount()));
    for (int I = Items->Count() - 1, Left = FormListView->SelCount(); I >= 0 && Left > 0; --I) {
      if (I >= 32) __builtin_prefetch(Items->Item(I - 32));
      if (TListItem* Ahead = I >= 16 ? Items->Item(I - 16) : nullptr; Ahead && Ahead->Selected())
        FetchColumn(RowColumn(Ahead));
      TListItem* Item = Items->Item(I);
      if (!Item->Selected()) continue;
      --Left;
      TOmColumn* Column = RowColumn(Item);
      Item->SetData(nullptr);
      Freed.push_back(Item);
      First = I;
      if (!Column) continue;
      if (InStep && I < Columns->Count() && Columns->GetColumn(I) == Column)
        delete Column;
      else
        Doomed.insert(Column);
    }
    // Freed from the collection's end by membership, never through a row's pointer: a
    // column that went together with another one cannot be freed a second time.
    for (int I = Columns->Count() - 1; I >= 0 && !Doomed.empty(); --I) {
      if (I >= Columns->Count()) continue;
      TOmColumn* Column = Columns->GetColumn(I);
      if (Doomed.erase(Column)) delete Column;
    }
    Columns->UpdateMarkers();
  }
  if (!RemoveFreedRows(InStep, Freed, First)) FillList();
  ReselectAt(Position);
  ModifiedAfterFill();
}

void TOmDBGridColumnsEditor::SelectExecute(TObject*) {
  if (!FGrid) return;
  TListUpdate Update(FormListView);
  try {
    TFlagOn Bulk(FUpdating);
    TListItems* Items = FormListView->Items();
    for (int I = 0; I < Items->Count(); ++I) Items->Item(I)->SetSelected(true);
  } catch (...) {
    UpdateSelection();  // one push, whatever was selected before the failure
    throw;
  }
  UpdateSelection();
}

void TOmDBGridColumnsEditor::AddAllExecute(TObject*) {
  if (!FGrid) return;
  TListUpdate Update(FormListView);
  int Position = FirstSelected();
  bool Filled = false;
  {
    TFlagOn Bulk(FUpdating);
    TOmDBGridColumns* Columns = FGrid->Columns();
    bool Default = Columns->GetState() == csDefault;
    int Answer =
        Default ? int(mrYes) : MessageDlg(ConfirmDeleteText, mtConfirmation, mbYesNoCancel, 0);
    if (Answer != mrCancel) {
      {
        TBrackets Brackets(FGrid, Stretch->Checked());
        if (Default) {
          Columns->SetState(csCustomized);
        } else {
          if (Answer == mrYes) Columns->Clear();
          TDataSource* Source = FGrid->GetDataSource();
          TDataSet* DataSet = Source ? Source->DataSet() : nullptr;
          if (DataSet && DataSet->Active())
            for (int I = 0; I < DataSet->FieldCount(); ++I)
              Columns->Add()->SetFieldName(DataSet->Fields(I)->FieldName());
        }
      }
      FillList();
      Filled = true;
    }
  }
  if (Filled) {
    ReselectAt(Position);
    ModifiedAfterFill();
  } else {
    // Cancel: the first selected row is selected again, which changes nothing; with no
    // row selected the collection is shown.
    if (Position < 0) UpdateSelection();
    Designer()->Modified();
  }
}

void TOmDBGridColumnsEditor::RestoreExecute(TObject*) {
  if (!FGrid) return;
  CheckRows();
  {
    TBrackets Brackets(FGrid, Stretch->Checked());
    ForEachSelected(FormListView, [](int, TListItem* Item) {
      if (TOmColumn* Column = RowColumn(Item)) Column->RestoreDefaults();
    });
  }
  UpdateCommands();
  Designer()->Modified();
}

void TOmDBGridColumnsEditor::SynchroExecute(TObject*) {
  if (!FGrid) return;
  FGrid->Synchronize();
  Designer()->Modified();
}

void TOmDBGridColumnsEditor::StretchExecute(TObject*) {
  if (!FGrid) return;
  CheckedExecute(Stretch);
  StretchToolButton->SetImageIndex(Stretch->ImageIndex() + 7);
  FGrid->SetStretchMode(Stretch->Checked());
  if (Designer() && !FDesignerGone) Designer()->Modified();
}

void TOmDBGridColumnsEditor::UpdateCommands() {
  if (!FGrid) return;
  bool AnySelected = FirstSelected() >= 0;
  Delete->SetEnabled(AnySelected);
  Select->SetEnabled(FormListView->Items()->Count() > 0);
  TDataSource* Source = FGrid->GetDataSource();
  TDataSet* DataSet = Source ? Source->DataSet() : nullptr;
  AddAll->SetEnabled(DataSet && DataSet->Active());
  Restore->SetEnabled(AnySelected);
  Synchro->SetEnabled(FGrid->GetManageGrid() != nullptr);
  Stretch->SetEnabled(FGrid->MasterGrid() == nullptr);
  if (Stretch->Checked() != FGrid->StretchMode()) StretchExecute(Stretch);
}

// --- The Columns property editor ------------------------------------------------------

OM_IMPLEMENT_CLASS(TOmDBGridColumnsProperty, "IDEGridsDlg");

TPropertyAttributes TOmDBGridColumnsProperty::GetAttributes() { return {paDialog, paReadOnly}; }

String TOmDBGridColumnsProperty::GetValue() { return Format("(%s)", {GetPropType()->Name}); }

void TOmDBGridColumnsProperty::Edit() {
  auto* Grid = dynamic_cast<TOmDBGrid*>(GetComponent(0));
  if (!Grid) return;
  for (int I = 0; I < Screen->FormCount(); ++I) {
    auto* Window = dynamic_cast<TOmDBGridColumnsEditor*>(Screen->Forms(I));
    // A window already released is on its way out and no longer counts.
    if (Window && !Window->Released() && Window->Grid() == Grid) {
      Window->Show();
      return;
    }
  }
  auto* Window = new TOmDBGridColumnsEditor(Designer(), Grid);
  Window->Show();
}

// --- The MasterGrid property editor ---------------------------------------------------

OM_IMPLEMENT_CLASS(TOmDBGridMasterGridProperty, "IDEGridsDlg");

void TOmDBGridMasterGridProperty::GetValues(const TGetStrProc& Proc) {
  FSaveProc = Proc;
  try {
    TComponentProperty::GetValues(Closure<&TOmDBGridMasterGridProperty::FilterProc>(this));
  } catch (...) {
    FSaveProc = nullptr;
    throw;
  }
  FSaveProc = nullptr;
}

// A grid whose chain of masters reaches the edited grid is a detail of it: as its master
// it would close a loop. A name that names no grid passes.
void TOmDBGridMasterGridProperty::FilterProc(const String& S) {
  if (!FSaveProc) return;  // asked outside GetValues: nobody to tell
  auto* Candidate = Designer() ? dynamic_cast<TOmCustomDBGrid*>(Designer()->GetComponent(S)) : nullptr;
  if (!Candidate || !Candidate->MastersReach(dynamic_cast<TOmCustomDBGrid*>(GetComponent(0))))
    FSaveProc(S);
}

// --- The FieldName property editor ----------------------------------------------------

OM_IMPLEMENT_CLASS(TOmDBGridFieldNameProperty, "IDEGridsDlg");

TPropertyAttributes TOmDBGridFieldNameProperty::GetAttributes() {
  return {paValueList, paMultiSelect, paSortList, paRevertable};
}

void TOmDBGridFieldNameProperty::GetValues(const TGetStrProc& Proc) {
  auto* Column = dynamic_cast<TOmColumn*>(GetComponent(0));
  TOmDBGrid* Grid = Column ? Column->GetGrid() : nullptr;
  TDataSource* Source = Grid ? Grid->GetDataSource() : nullptr;
  TDataSet* DataSet = Source ? Source->DataSet() : nullptr;
  if (!DataSet) return;
  // Each field, then the fields of an object or array field after it, to any depth: a
  // stack of the fields still to name, not a recursion as deep as the nesting.
  auto List = [&] {
    std::vector<TField*> Pending;
    for (int I = DataSet->FieldCount() - 1; I >= 0; --I) Pending.push_back(DataSet->Fields(I));
    while (!Pending.empty()) {
      TField* F = Pending.back();
      Pending.pop_back();
      Proc(F->FullName());
      if (F->DataType() != ftADT && F->DataType() != ftArray) continue;
      if (auto* Object = dynamic_cast<TObjectField*>(F))
        for (int I = Object->FieldCount() - 1; I >= 0; --I)
          Pending.push_back(Object->Fields()->Fields(I));
    }
  };
  if (DataSet->Active()) {
    List();
    return;
  }
  // Open only while the names are taken, its controls hearing nothing of it.
  DataSet->DisableControls();
  try {
    DataSet->Open();
    // A failure while the names are taken closes it again too.
    try {
      List();
    } catch (...) {
      DataSet->Close();
      throw;
    }
    DataSet->Close();
  } catch (...) {
    DataSet->EnableControls();
    throw;
  }
  DataSet->EnableControls();
}

// --- The image index property editor --------------------------------------------------

OM_IMPLEMENT_CLASS(TOmDBGridImageIndexProperty, "IDEGridsDlg");

namespace {

// The grid whose lists a title's properties index.
TOmDBGrid* TitleGrid(TPersistent* P) {
  auto* Title = dynamic_cast<TOmColumnTitle*>(P);
  return Title && Title->Column() ? Title->Column()->GetGrid() : nullptr;
}

String PropName(TPropertyEditor* Editor) {
  PPropInfo Info = Editor->GetPropInfo();
  return Info ? String(Info->Name) : String();
}

}  // namespace

TCustomImageList* TOmDBGridImageIndexProperty::GetImageList() {
  TPersistent* P = GetComponent(0);
  String Name = PropName(this);
  if (auto* Grid = dynamic_cast<TOmDBGrid*>(P)) return Name == "FillerIndex" ? Grid->TitleImages() : nullptr;
  TOmDBGrid* Grid = TitleGrid(P);
  if (!Grid) return nullptr;
  if (Name == "MarkerIndex") return Grid->GetMarkers();
  if (Name == "ImageIndex") return Grid->TitleImages();
  return nullptr;
}

TCustomImageList* TOmDBGridImageIndexProperty::GetIndicators() {
  auto* Grid = dynamic_cast<TOmDBGrid*>(GetComponent(0));
  return Grid && PropName(this) == "FillerIndex" ? Grid->GetIndicators() : nullptr;
}

TPropertyAttributes TOmDBGridImageIndexProperty::GetAttributes() {
  return {paValueList, paMultiSelect, paRevertable};
}

void TOmDBGridImageIndexProperty::GetValues(const TGetStrProc& Proc) {
  if (TCustomImageList* Images = GetImageList())
    for (int I = 0; I < Images->Count(); ++I) Proc(IntToStr(I));
  if (TCustomImageList* Indicators = GetIndicators())
    for (int I = 0; I < Indicators->Count(); ++I) Proc(IntToStr(-I - 2));
}

void TOmDBGridImageIndexProperty::ListMeasureHeight(const String&, TCanvas*, int& AHeight) {
  for (TCustomImageList* List : {GetImageList(), GetIndicators()})
    if (List && List->Height() + 4 > AHeight) AHeight = List->Height() + 4;
}

void TOmDBGridImageIndexProperty::ListMeasureWidth(const String&, TCanvas*, int& AWidth) {
  TCustomImageList* Images = GetImageList();
  TCustomImageList* Indicators = GetIndicators();
  int W = Indicators ? Indicators->Width() : 0;
  if (Images && Images->Width() > W) W = Images->Width();
  if (W > 0) AWidth += W + 4;
}

void TOmDBGridImageIndexProperty::ListDrawValue(const String& Value, TCanvas* ACanvas,
                                                const TRect& ARect, bool ASelected) {
#if OM_HOST_RELEASE == 5
  auto DrawText = [&](const TRect& R) { TIntegerProperty::ListDrawValue(Value, ACanvas, R, ASelected); };
#else
  auto DrawText = [&](const TRect& R) { DefaultPropertyListDrawValue(Value, ACanvas, R, ASelected); };
#endif
  int Index = StrToIntDef(Value, -1);
  TCustomImageList* List;
  if (Index < -1) {
    List = GetIndicators();
    Index = -Index - 2;
  } else {
    List = GetImageList();
  }
  if (!List || Index < 0 || Index >= List->Count() ||
      ARect.Bottom - ARect.Top < List->Height() + 4 || ARect.Right - ARect.Left < List->Width() + 4) {
    DrawText(ARect);
    return;
  }
  int X = ARect.Left + List->Width() + 4;
  int D = std::max(0, (ARect.Bottom - ARect.Top - List->Height() - 4) / 2);
  // The pen comes back, and the number is written, whatever drawing the image does.
  TColor Pen = ACanvas->Pen()->Color();
  try {
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
    ACanvas->Rectangle(ARect.Left, ARect.Top, X, ARect.Bottom);
    List->Draw(ACanvas, ARect.Left + 2, ARect.Top + 2 + D, Index, true);
  } catch (...) {
    ACanvas->Pen()->SetColor(Pen);
    DrawText(TRect{X, ARect.Top, ARect.Right, ARect.Bottom});
    throw;
  }
  ACanvas->Pen()->SetColor(Pen);
  DrawText(TRect{X, ARect.Top, ARect.Right, ARect.Bottom});
}

void TOmDBGridImageIndexProperty::PropDrawValue(TCanvas* ACanvas, const TRect& ARect,
                                                bool ASelected) {
  String Value = GetVisualValue();
  if (!Value.empty()) {
#if OM_HOST_RELEASE == 5
    ListDrawValue(Value, ACanvas, ARect, ASelected);
#else
    TOmDBGridImageIndexProperty::ListDrawValue(Value, ACanvas, ARect, ASelected);
#endif
    return;
  }
#if OM_HOST_RELEASE == 5
  TIntegerProperty::PropDrawValue(ACanvas, ARect, ASelected);
#else
  DefaultPropertyDrawValue(this, ACanvas, ARect);
#endif
}

#if OM_HOST_RELEASE == 6
void TOmDBGridImageIndexProperty::PropDrawName(TCanvas* ACanvas, const TRect& ARect, bool) {
  DefaultPropertyDrawName(this, ACanvas, ARect);
}
#endif

namespace Idegridsdlg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
}  // namespace Idegridsdlg
