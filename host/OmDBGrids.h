// OmDBGrids: the data-aware grid of the run-time package, its columns and their titles.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Db.h"
#include "Graphics.h"
#include "ImgList.h"
#include "Menus.h"

class TOmCustomDBGrid;
class TOmDBGrid;
class TOmColumn;
class TOmDBGridColumns;

// Whether a grid shows columns of its own or one for each field of its dataset.
enum TDBGridColumnsState { csDefault, csCustomized };
OM_ENUM_TYPE(TDBGridColumnsState)

enum TOmVAlignment { vaTop, vaCenter, vaBottom };
OM_ENUM_TYPE(TOmVAlignment)
enum TOmImageDraw { idNone, idImage, idImageAndText, idText };
OM_ENUM_TYPE(TOmImageDraw)
enum TOmShowEdit { seAuto, seAlways, seNever };
OM_ENUM_TYPE(TOmShowEdit)
enum TOmListOption { loAutoDropDown, loDropDownRows, loSorted, loIncremental, loStrict };
OM_ENUM_TYPE(TOmListOption)
OM_SET_TYPE(TOmListOptions, TOmListOption)
enum TOmPickOption { poAutoComplete, poCaseSensitive, poShowValues, poAllowEmpty };
OM_ENUM_TYPE(TOmPickOption)
OM_SET_TYPE(TOmPickOptions, TOmPickOption)
enum TOmGridStyle { gsStandard, gsFlat, gsRaised, gsThemed };
OM_ENUM_TYPE(TOmGridStyle)
enum TOmFixedStyle { fxStandard, fxFlat, fxButton };
OM_ENUM_TYPE(TOmFixedStyle)
enum TOmScrollBars { sbNone, sbHorizontal, sbVertical, sbBoth };
OM_ENUM_TYPE(TOmScrollBars)
enum TOmHintOption { hoCells, hoTitles, hoIndicator, hoFiller, hoTruncated };
OM_ENUM_TYPE(TOmHintOption)
OM_SET_TYPE(TOmHintOptions, TOmHintOption)

OM_EVENT_TYPE(TOmColumnEvent, TObject*, TOmColumn*)
OM_EVENT_TYPE(TOmColumnTextEvent, TObject*, TOmColumn*, String&)
OM_EVENT_TYPE(TOmCalcImageIndexEvent, TObject*, TOmColumn*, int&)
OM_EVENT_TYPE(TOmColumnMovingEvent, TObject*, int, int, bool&)
OM_EVENT_TYPE(TOmCellHintEvent, TObject*, TOmColumn*, String&)
OM_EVENT_TYPE(TOmRowEvent, TObject*, int)
OM_EVENT_TYPE(TOmPaintCellEvent, TObject*, TCanvas*, TOmColumn*, const TRect&)

// The title of a column: caption, hints, header rows and images.
class PACKAGE TOmColumnTitle : public TPersistent {
  OM_CLASS(TOmColumnTitle, TPersistent)
 public:
  explicit TOmColumnTitle(TOmColumn* Column);
  ~TOmColumnTitle() override;
  TOmColumn* Column() const noexcept { return FColumn; }
  void Assign(TPersistent* Source) override;
  void RestoreDefaults();
  // What the grid shows: its own caption, else the field's name.
  String DisplayCaption() const;

  const String& Caption() const noexcept { return FCaption; }
  void SetCaption(const String& Value);
  const String& Hint() const noexcept { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // Rows of a multi-row title, joined by "|"; a row's lines broken by CR.
  const String& Header() const noexcept { return FHeader; }
  void SetHeader(const String& Value);
  const String& HeaderHint() const noexcept { return FHeaderHint; }
  void SetHeaderHint(const String& Value) { FHeaderHint = Value; }
  int ImageIndex() const noexcept { return FImageIndex; }
  void SetImageIndex(int Value);
  int MarkerIndex() const noexcept { return FMarkerIndex; }
  void SetMarkerIndex(int Value);
  TAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor Value);
  TFont* Font() const noexcept { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }

 protected:
  TPersistent* GetOwner() override;

 private:
  bool IsFontStored() const;
  void Changed();
  TOmColumn* FColumn;
  String FCaption, FHint, FHeader, FHeaderHint;
  int FImageIndex = -1;
  int FMarkerIndex = -1;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clBtnFace;
  // Part of the title, not a block of its own: grids have columns by the ten thousand.
  mutable TFont FFont;
};

// What a column prints in a report.
class PACKAGE TOmColumnReport : public TPersistent {
  OM_CLASS(TOmColumnReport, TPersistent)
 public:
  explicit TOmColumnReport(TOmColumn* Column) : FColumn(Column) {}
  void Assign(TPersistent* Source) override;
  TOmColumn* Column() const noexcept { return FColumn; }
  String TotalText;
  bool Printed = true;
  int PrintWidth = 0;

 protected:
  TPersistent* GetOwner() override;

 private:
  TOmColumn* FColumn;
};

// One column of a grid. The columns of an object field's fields (`Address.City`) stand
// directly after the column of the object field (`Address`): they are nested under it.
class PACKAGE TOmColumn : public TCollectionItem {
  OM_CLASS(TOmColumn, TCollectionItem)
  // First of the column's data, beside the item's index: walks over many thousand
  // columns (nesting, relabelling, reordering) read both, and find them in one place.
  String FFieldName;

 public:
  explicit TOmColumn(TCollection* Collection);
  ~TOmColumn() override;
  void Assign(TPersistent* Source) override;

  TOmDBGrid* GetGrid() const;
  const String& FieldName() const noexcept { return FFieldName; }
  void SetFieldName(const String& Value);
  // The dataset's field the column shows, or null.
  TField* Field() const;
  // The column this one is nested under, or null for a top-level column: the nearest
  // column before it whose field name, with a dot, begins its own name and every name
  // between (`Address.Geo.Lat` under `Address.Geo`, or under `Address` where there is no
  // `Address.Geo`). So the nested columns of a column always stand in one block right
  // after it, and GetExpandIndex - Index is their number.
  TOmColumn* GetParentColumn() const;
  // It has nested columns.
  bool GetExpandable() const { return GetExpandIndex() > Index(); }
  // The collection index of its last nested column (its own when it has none); the
  // nested columns stand at Index + 1 to GetExpandIndex.
  int GetExpandIndex() const;
  // What a new column for its field would have again.
  virtual void RestoreDefaults();

  TOmColumnTitle* Title() const noexcept { return &FTitle; }
  void SetTitle(TOmColumnTitle* Value) { FTitle.Assign(Value); }
  TOmColumnReport* Report() const noexcept { return &FReport; }
  void SetReport(TOmColumnReport* Value) { FReport.Assign(Value); }
  TStrings* PickList() const noexcept { return &FPickList; }
  void SetPickList(TStrings* Value) { FPickList.Assign(Value); }
  TFont* Font() const noexcept { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }
  TCustomImageList* Images() const noexcept { return FImages; }
  void SetImages(TCustomImageList* Value);
  TPicture* Wallpaper() const noexcept { return &FWallpaper; }
  void SetWallpaper(TPicture* Value) { FWallpaper.Assign(Value); }
  int Width() const noexcept { return FWidth; }
  void SetWidth(int Value);
  bool Visible() const noexcept { return FVisible; }
  void SetVisible(bool Value);

  // Settings the grid's drawing and editing read.
  String EditorHint, Hint, PickText, CheckBoxValues = "True;False";
  bool ToolTips = false, CheckBox = false, CheckBoxToggle = true, QuickDraw = false;
  bool Transparent = false, Ellipsis = false, ShowBlob = false, WordWrap = false, ReadOnly = false;
  int ToolTipsWidth = 0, ImageOffsetX = 0, ImageOffsetY = 0;
  int WidthBase = 0, WidthMax = 0, WidthMin = 0;
  TAlignment Alignment = taLeftJustify;
  TOmVAlignment VAlignment = vaTop;
  TOmImageDraw ImageDraw = idNone;
  TOmShowEdit ShowEdit = seAuto;
  TOmListOptions ListOptions;
  TOmPickOptions PickOptions;
  TColor TransparentColor = clNone;
  TColor Color = clWindow;

  // The grid tells every column of a component that goes away.
  void ComponentRemoved(TComponent* AComponent);
  void TitleChanged() { Changed(false); }

 protected:
  String GetDisplayName() const override;

 private:
  bool IsCheckBoxValuesStored() const;
  bool IsFontStored() const;
  TOmDBGridColumns* GridColumns() const noexcept;
  // The parts live inside the column: one allocation for a column, not six. The accessors
  // hand them out for change, as the platform's do, hence mutable.
  mutable TOmColumnTitle FTitle{this};
  mutable TOmColumnReport FReport{this};
  mutable TStringList FPickList;
  mutable TFont FFont;
  mutable TPicture FWallpaper;
  TCustomImageList* FImages = nullptr;
  int FWidth = 64;
  bool FVisible = true;
};

// The columns of a grid.
class PACKAGE TOmDBGridColumns : public TOwnedCollection {
  OM_CLASS(TOmDBGridColumns, TOwnedCollection)
 public:
  TOmDBGridColumns(TOmDBGrid* Grid, TCollectionItemClass ColumnClass);
  TOmDBGrid* Grid() const noexcept { return FGrid; }
  // Appends a column; the grid shows its own columns from now on.
  TOmColumn* Add();
  TOmColumn* GetColumn(int Index) const { return static_cast<TOmColumn*>(Items(Index)); }
  TDBGridColumnsState GetState() const noexcept { return FState; }
  // Customized keeps the columns there are as persistent ones; default replaces them by
  // one automatic column for each field of the grid's dataset.
  void SetState(TDBGridColumnsState Value);
  // Title markers numbered after the columns' order again.
  void UpdateMarkers();
  // The automatic columns again, from the dataset's fields (default state only).
  void RebuildColumns();
  // The nesting by collection index, for walks over many columns that know where they
  // are: the index of the column's parent (-1 for a top-level column) and of its last
  // nested column (its own when it has none). What GetParentColumn and GetExpandIndex
  // give, without reading the columns themselves.
  int ParentIndex(int Index) const { return NestingOf(Index).Parent; }
  int ExpandIndex(int Index) const { return NestingOf(Index).Last; }
  void Assign(TPersistent* Source) override;

 protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

 private:
  friend class TOmColumn;
  // Where each column stands in the nesting, by collection index: worked out for all
  // columns in one pass when first asked after a change of order or of a field name, so
  // that asking it of every column of a large grid stays linear.
  struct TNesting {
    int Parent;  // -1 for a top-level column
    int Last;    // index of its last nested column, its own when it has none
  };
  const TNesting& NestingOf(int Index) const;
  void NestingChanged() noexcept { FNestingValid = false; }
  mutable std::vector<TNesting> FNesting;
  mutable unsigned FNestingStamp = 0;
  mutable bool FNestingValid = false;
  TOmDBGrid* FGrid;
  TDBGridColumnsState FState = csDefault;
  bool FRebuilding = false;
};

// The grid as its descendants share it: data link, images, master grid, stretching.
class PACKAGE TOmCustomDBGrid : public TCustomControl {
  OM_CLASS(TOmCustomDBGrid, TCustomControl)
 public:
  explicit TOmCustomDBGrid(TComponent* AOwner);
  ~TOmCustomDBGrid() override;

  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* Value);
  // The grid whose rows this one follows, or null; never a loop of masters.
  TOmCustomDBGrid* MasterGrid() const noexcept { return FMasterGrid; }
  void SetMasterGrid(TOmCustomDBGrid* Value);
  // This grid is Grid, or Grid is its master, its master's master and so on. A chain
  // that runs in a circle without meeting Grid does not reach it: the walk ends there.
  bool MastersReach(const TOmCustomDBGrid* Grid) const noexcept;
  bool StretchMode() const noexcept { return FStretchMode; }
  // Stretching spreads the columns over the grid's width; turning it off leaves widths.
  void SetStretchMode(bool Value);
  // The grids that take their layout from this one get its column widths again.
  virtual void Synchronize();
  // Image lists: the row indicator's and the title markers'.
  TCustomImageList* GetIndicators() const noexcept { return FIndicatorImages; }
  TCustomImageList* GetMarkers() const noexcept { return FTitleMarkers; }
  TCustomImageList* TitleImages() const noexcept { return FTitleImages; }
  void SetTitleImages(TCustomImageList* Value);
  TCustomImageList* IndicatorImages() const noexcept { return FIndicatorImages; }
  void SetIndicatorImages(TCustomImageList* Value);
  TCustomImageList* TitleMarkers() const noexcept { return FTitleMarkers; }
  void SetTitleMarkers(TCustomImageList* Value);
  TPopupMenu* FillerPopupMenu() const noexcept { return FFillerPopupMenu; }
  void SetFillerPopupMenu(TPopupMenu* Value);
  TPopupMenu* IndicatorPopupMenu() const noexcept { return FIndicatorPopupMenu; }
  void SetIndicatorPopupMenu(TPopupMenu* Value);
  TFont* HeaderFont() const noexcept { return FHeaderFont; }
  void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
  TStrings* OrderFields() const noexcept { return FOrderFields; }
  void SetOrderFields(TStrings* Value) { FOrderFields->Assign(Value); }
  // Times the grid re-laid out its columns (stretching, synchronizing).
  int LayoutCount() const noexcept { return FLayoutCount; }
  // What a stretched grid lays its columns out by: changing one lays them out again.
  void SetIndicatorWidth(int Value);
  void SetStretchWidthMax(int Value);
  void SetStretchWidthMin(int Value);

  // Settings of the grid's look and behaviour.
  bool DragRows = false, FillerButton = false;
  TColor FillerColor = clBtnFace, HeaderColor = clBtnFace;
  String FillerHint, IndicatorHint;
  int FixedCols = 0, HeaderLinesCount = 1, IndicatorWidth = 12, LinesCount = 1;
  int LinesCountMax = 0, LinesCountMin = 1, StretchWidthMax = 0, StretchWidthMin = 0;
  int TitleLinesCount = 1;
  TOmFixedStyle FixedStyle = fxStandard;
  bool FixedTheme = false;
  TOmGridStyle GridStyle = gsStandard;
  TOmScrollBars ScrollBars = sbBoth;
  TOmHintOptions HintOptions;

  TOmCalcImageIndexEvent OnCalcImageIndex;
  TOmCellHintEvent OnCellHint;
  TOmColumnEvent OnColExpand;
  TOmColumnTextEvent OnColGetText;
  TOmColumnTextEvent OnColSetText;
  TOmColumnMovingEvent OnColumnMoving;
  TOmColumnEvent OnColumnResize;
  TOmColumnEvent OnColumnScroll;
  TNotifyEvent OnFillerClick;
  TOmColumnEvent OnHeaderClick;
  TNotifyEvent OnOrderChanged;
  TOmPaintCellEvent OnPaintColumnCell;
  TOmRowEvent OnRowResize;
  TOmRowEvent OnRowSelect;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint(TCanvas* Canvas) override;
  void Resize() override;
  // The dataset opened, closed or changed its fields.
  virtual void LinkActiveChanged() {}
  // The column widths when stretching is on: spread over the client width.
  virtual void LayoutColumns() {}
  void LayoutChanged() { ++FLayoutCount; }
  bool FLayingOut = false;
  // The master link as the setter leaves it. A descendant that sets it itself bypasses
  // the setter's refusal of circles: what reads the links must not trust it to end.
  TOmCustomDBGrid* FMasterGrid = nullptr;

 private:
  friend class TOmDBGridColumns;
  class TGridDataLink;
  void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
  void SetPopup(TPopupMenu*& Field, TPopupMenu* Value);
  TGridDataLink* FDataLink;
  TCustomImageList* FTitleImages = nullptr;
  TCustomImageList* FIndicatorImages = nullptr;
  TCustomImageList* FTitleMarkers = nullptr;
  TPopupMenu* FFillerPopupMenu = nullptr;
  TPopupMenu* FIndicatorPopupMenu = nullptr;
  TFont* FHeaderFont;
  TStrings* FOrderFields;
  bool FStretchMode = false;
  int FLayoutCount = 0;
};

// The grid on the palette: columns of its own or one for each field of its dataset.
class PACKAGE TOmDBGrid : public TOmCustomDBGrid {
  OM_CLASS(TOmDBGrid, TOmCustomDBGrid)
 public:
  explicit TOmDBGrid(TComponent* AOwner);
  ~TOmDBGrid() override;
  TOmDBGridColumns* Columns() const noexcept { return FColumns; }
  void SetColumns(TOmDBGridColumns* Value) { FColumns->Assign(Value); }
  // The grid that this one takes its column layout from (a grid whose MasterGrid is
  // this one, kept in step by Synchronize), or null.
  TOmDBGrid* GetManageGrid() const noexcept { return FManageGrid; }
  void SetManageGrid(TOmDBGrid* Value);
  int FillerIndex() const noexcept { return FFillerIndex; }
  void SetFillerIndex(int Value) { FFillerIndex = Value; }
  void Synchronize() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void LinkActiveChanged() override;
  void LayoutColumns() override;
  void Paint(TCanvas* Canvas) override;

 private:
  friend class TOmDBGridColumns;
  bool IsColumnsStored() const { return FColumns->GetState() == csCustomized; }
  bool IsFontStored() const;
  bool IsHeaderFontStored() const;
  TOmDBGridColumns* FColumns;
  TOmDBGrid* FManageGrid = nullptr;
  int FFillerIndex = -1;
};

// The unit's initialization and finalization, reached through a package's unit table.
namespace Omdbgrids {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omdbgrids
