#include "OmDBGrids.h"

#include <algorithm>

OM_ENUM_TYPE_INFO(TDBGridColumnsState, "csDefault", "csCustomized");
OM_ENUM_TYPE_INFO(TOmVAlignment, "vaTop", "vaCenter", "vaBottom");
OM_ENUM_TYPE_INFO(TOmImageDraw, "idNone", "idImage", "idImageAndText", "idText");
OM_ENUM_TYPE_INFO(TOmShowEdit, "seAuto", "seAlways", "seNever");
OM_ENUM_TYPE_INFO(TOmListOption, "loAutoDropDown", "loDropDownRows", "loSorted", "loIncremental", "loStrict");
OM_SET_TYPE_INFO(TOmListOptions, TOmListOption);
OM_ENUM_TYPE_INFO(TOmPickOption, "poAutoComplete", "poCaseSensitive", "poShowValues", "poAllowEmpty");
OM_SET_TYPE_INFO(TOmPickOptions, TOmPickOption);
OM_ENUM_TYPE_INFO(TOmGridStyle, "gsStandard", "gsFlat", "gsRaised", "gsThemed");
OM_ENUM_TYPE_INFO(TOmFixedStyle, "fxStandard", "fxFlat", "fxButton");
OM_ENUM_TYPE_INFO(TOmScrollBars, "sbNone", "sbHorizontal", "sbVertical", "sbBoth");
OM_ENUM_TYPE_INFO(TOmHintOption, "hoCells", "hoTitles", "hoIndicator", "hoFiller", "hoTruncated");
OM_SET_TYPE_INFO(TOmHintOptions, TOmHintOption);
OM_EVENT_TYPE_INFO(TOmColumnEvent);
OM_EVENT_TYPE_INFO(TOmColumnTextEvent);
OM_EVENT_TYPE_INFO(TOmCalcImageIndexEvent);
OM_EVENT_TYPE_INFO(TOmColumnMovingEvent);
OM_EVENT_TYPE_INFO(TOmCellHintEvent);
OM_EVENT_TYPE_INFO(TOmRowEvent);
OM_EVENT_TYPE_INFO(TOmPaintCellEvent);

namespace {
// A font stands in the form file only when it is not the default one.
bool IsDefaultFont(const TFont* F) {
  static const TFont Default;
  return F->Equals(&Default);
}

char UpperAscii(char C) noexcept { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }

// Name is the name of a field of Head's field: it begins with Head and a dot, in any case.
bool NestedName(const String& Name, const String& Head) noexcept {
  size_t N = Head.size();
  if (N == 0 || Name.size() <= N + 1 || Name[N] != '.') return false;
  for (size_t I = 0; I < N; ++I)
    if (UpperAscii(Name[I]) != UpperAscii(Head[I])) return false;
  return true;
}
}  // namespace

// --- TOmColumnTitle ----------------------------------------------------------------------

template <>
struct TPublished<TOmColumnTitle> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmColumnTitle::Alignment, &TOmColumnTitle::SetAlignment>("Alignment", taLeftJustify),
      Property<&TOmColumnTitle::Caption, &TOmColumnTitle::SetCaption>("Caption"),
      Property<&TOmColumnTitle::Color, &TOmColumnTitle::SetColor>("Color", clBtnFace),
      Property<&TOmColumnTitle::Font, &TOmColumnTitle::SetFont, &TOmColumnTitle::IsFontStored>("Font"),
      Property<&TOmColumnTitle::Header, &TOmColumnTitle::SetHeader>("Header"),
      Property<&TOmColumnTitle::HeaderHint, &TOmColumnTitle::SetHeaderHint>("HeaderHint"),
      Property<&TOmColumnTitle::Hint, &TOmColumnTitle::SetHint>("Hint"),
      Property<&TOmColumnTitle::ImageIndex, &TOmColumnTitle::SetImageIndex>("ImageIndex", -1),
      Property<&TOmColumnTitle::MarkerIndex, &TOmColumnTitle::SetMarkerIndex>("MarkerIndex", -1),
  };
};
OM_IMPLEMENT_CLASS(TOmColumnTitle, "OmDBGrids");

TOmColumnTitle::TOmColumnTitle(TOmColumn* Column) : FColumn(Column) {}
bool TOmColumnTitle::IsFontStored() const { return !IsDefaultFont(&FFont); }
TOmColumnTitle::~TOmColumnTitle() = default;

TPersistent* TOmColumnTitle::GetOwner() { return FColumn; }

void TOmColumnTitle::Changed() {
  if (FColumn) FColumn->TitleChanged();
}

void TOmColumnTitle::Assign(TPersistent* Source) {
  auto* T = dynamic_cast<TOmColumnTitle*>(Source);
  if (!T) return TPersistent::Assign(Source);
  FCaption = T->FCaption;
  FHint = T->FHint;
  FHeader = T->FHeader;
  FHeaderHint = T->FHeaderHint;
  FImageIndex = T->FImageIndex;
  FMarkerIndex = T->FMarkerIndex;
  FAlignment = T->FAlignment;
  FColor = T->FColor;
  FFont.Assign(&T->FFont);
  Changed();
}

void TOmColumnTitle::RestoreDefaults() {
  FCaption.clear();
  FHint.clear();
  FHeader.clear();
  FHeaderHint.clear();
  FImageIndex = FMarkerIndex = -1;
  FAlignment = taLeftJustify;
  FColor = clBtnFace;
  TFont Default;
  FFont.Assign(&Default);
  Changed();
}

String TOmColumnTitle::DisplayCaption() const {
  if (!FCaption.empty()) return FCaption;
  if (TField* F = FColumn ? FColumn->Field() : nullptr) return F->DisplayLabel();
  return FColumn ? FColumn->FieldName() : String();
}

void TOmColumnTitle::SetCaption(const String& Value) {
  FCaption = Value;
  Changed();
}
void TOmColumnTitle::SetHeader(const String& Value) {
  FHeader = Value;
  Changed();
}
void TOmColumnTitle::SetImageIndex(int Value) {
  if (Value < -1 - 1000000) throw EPropertyError("Invalid image index");
  FImageIndex = Value;
  Changed();
}
void TOmColumnTitle::SetMarkerIndex(int Value) {
  FMarkerIndex = Value;
  Changed();
}
void TOmColumnTitle::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed();
}
void TOmColumnTitle::SetColor(TColor Value) {
  FColor = Value;
  Changed();
}

// --- TOmColumnReport ----------------------------------------------------------------------

template <>
struct TPublished<TOmColumnReport> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmColumnReport::Printed, &TOmColumnReport::Printed>("Printed", 1),
      Property<&TOmColumnReport::PrintWidth, &TOmColumnReport::PrintWidth>("PrintWidth", 0),
      Property<&TOmColumnReport::TotalText, &TOmColumnReport::TotalText>("TotalText"),
  };
};
OM_IMPLEMENT_CLASS(TOmColumnReport, "OmDBGrids");

TPersistent* TOmColumnReport::GetOwner() { return FColumn; }

void TOmColumnReport::Assign(TPersistent* Source) {
  auto* R = dynamic_cast<TOmColumnReport*>(Source);
  if (!R) return TPersistent::Assign(Source);
  TotalText = R->TotalText;
  Printed = R->Printed;
  PrintWidth = R->PrintWidth;
}

// --- TOmColumn ------------------------------------------------------------------------------

template <>
struct TPublished<TOmColumn> {
  using C = TOmColumn;
  static constexpr TPropInfo Props[] = {
      Property<&C::Alignment, &C::Alignment>("Alignment", taLeftJustify),
      Property<&C::CheckBox, &C::CheckBox>("CheckBox", 0),
      Property<&C::CheckBoxToggle, &C::CheckBoxToggle>("CheckBoxToggle", 1),
      Property<&C::CheckBoxValues, &C::CheckBoxValues, &C::IsCheckBoxValuesStored>("CheckBoxValues"),
      Property<&C::Color, &C::Color>("Color", clWindow),
      Property<&C::EditorHint, &C::EditorHint>("EditorHint"),
      Property<&C::Ellipsis, &C::Ellipsis>("Ellipsis", 0),
      Property<&C::FieldName, &C::SetFieldName>("FieldName"),
      Property<&C::Font, &C::SetFont, &C::IsFontStored>("Font"),
      Property<&C::Hint, &C::Hint>("Hint"),
      Property<&C::ImageDraw, &C::ImageDraw>("ImageDraw", idNone),
      Property<&C::ImageOffsetX, &C::ImageOffsetX>("ImageOffsetX", 0),
      Property<&C::ImageOffsetY, &C::ImageOffsetY>("ImageOffsetY", 0),
      Property<&C::Images, &C::SetImages>("Images"),
      Property<&C::ListOptions, &C::ListOptions>("ListOptions", 0),
      Property<&C::PickList, &C::SetPickList>("PickList"),
      Property<&C::PickOptions, &C::PickOptions>("PickOptions", 0),
      Property<&C::PickText, &C::PickText>("PickText"),
      Property<&C::QuickDraw, &C::QuickDraw>("QuickDraw", 0),
      Property<&C::ReadOnly, &C::ReadOnly>("ReadOnly", 0),
      Property<&C::Report, &C::SetReport>("Report"),
      Property<&C::ShowBlob, &C::ShowBlob>("ShowBlob", 0),
      Property<&C::ShowEdit, &C::ShowEdit>("ShowEdit", seAuto),
      Property<&C::Title, &C::SetTitle>("Title"),
      Property<&C::ToolTips, &C::ToolTips>("ToolTips", 0),
      Property<&C::ToolTipsWidth, &C::ToolTipsWidth>("ToolTipsWidth", 0),
      Property<&C::Transparent, &C::Transparent>("Transparent", 0),
      Property<&C::TransparentColor, &C::TransparentColor>("TransparentColor", clNone),
      Property<&C::VAlignment, &C::VAlignment>("VAlignment", vaTop),
      Property<&C::Visible, &C::SetVisible>("Visible", 1),
      Property<&C::Wallpaper, &C::SetWallpaper>("Wallpaper"),
      Property<&C::Width, &C::SetWidth>("Width", 64),
      Property<&C::WidthBase, &C::WidthBase>("WidthBase", 0),
      Property<&C::WidthMax, &C::WidthMax>("WidthMax", 0),
      Property<&C::WidthMin, &C::WidthMin>("WidthMin", 0),
      Property<&C::WordWrap, &C::WordWrap>("WordWrap", 0),
  };
};
OM_IMPLEMENT_CLASS(TOmColumn, "OmDBGrids");

TOmColumn::TOmColumn(TCollection* Collection) : TCollectionItem(Collection) {}

// A nested group goes with its head: the columns nested under this one, which stand
// right after it, are freed first, each taking its own nested columns along. A collection
// that clears itself frees from its end, so there a head finds none left. The walk reads
// no index: freeing many columns must not close the collection's gaps each time.
TOmColumn::~TOmColumn() {
  TCollection* Columns = Collection();
  if (!Columns || FFieldName.empty()) return;
  while (auto* Next = static_cast<TOmColumn*>(Columns->ItemAfter(this))) {
    if (!NestedName(Next->FFieldName, FFieldName)) break;
    delete Next;
  }
}

bool TOmColumn::IsCheckBoxValuesStored() const { return CheckBoxValues != "True;False"; }
bool TOmColumn::IsFontStored() const { return !IsDefaultFont(&FFont); }

TOmDBGrid* TOmColumn::GetGrid() const {
  auto* Columns = dynamic_cast<TOmDBGridColumns*>(Collection());
  return Columns ? Columns->Grid() : nullptr;
}

void TOmColumn::Assign(TPersistent* Source) {
  auto* C = dynamic_cast<TOmColumn*>(Source);
  if (!C) return TCollectionItem::Assign(Source);
  FFieldName = C->FFieldName;
  if (TOmDBGridColumns* Columns = GridColumns()) Columns->NestingChanged();
  FWidth = C->FWidth;
  FVisible = C->FVisible;
  FTitle.Assign(&C->FTitle);
  FReport.Assign(&C->FReport);
  FPickList.Assign(&C->FPickList);
  FFont.Assign(&C->FFont);
  FWallpaper.Assign(&C->FWallpaper);
  SetImages(C->FImages);
  EditorHint = C->EditorHint;
  Hint = C->Hint;
  PickText = C->PickText;
  CheckBoxValues = C->CheckBoxValues;
  ToolTips = C->ToolTips;
  CheckBox = C->CheckBox;
  CheckBoxToggle = C->CheckBoxToggle;
  QuickDraw = C->QuickDraw;
  Transparent = C->Transparent;
  Ellipsis = C->Ellipsis;
  ShowBlob = C->ShowBlob;
  WordWrap = C->WordWrap;
  ReadOnly = C->ReadOnly;
  ToolTipsWidth = C->ToolTipsWidth;
  ImageOffsetX = C->ImageOffsetX;
  ImageOffsetY = C->ImageOffsetY;
  WidthBase = C->WidthBase;
  WidthMax = C->WidthMax;
  WidthMin = C->WidthMin;
  Alignment = C->Alignment;
  VAlignment = C->VAlignment;
  ImageDraw = C->ImageDraw;
  ShowEdit = C->ShowEdit;
  ListOptions = C->ListOptions;
  PickOptions = C->PickOptions;
  TransparentColor = C->TransparentColor;
  Color = C->Color;
  Changed(false);
}

String TOmColumn::GetDisplayName() const {
  return FFieldName.empty() ? TCollectionItem::GetDisplayName() : FFieldName;
}

void TOmColumn::SetFieldName(const String& Value) {
  if (FFieldName == Value) return;
  FFieldName = Value;
  if (TOmDBGridColumns* Columns = GridColumns()) Columns->NestingChanged();
  Changed(false);
}

TField* TOmColumn::Field() const {
  TOmDBGrid* Grid = GetGrid();
  TDataSource* Source = Grid ? Grid->GetDataSource() : nullptr;
  TDataSet* Data = Source ? Source->DataSet() : nullptr;
  return Data && Data->Active() && !FFieldName.empty() ? Data->FindField(FFieldName) : nullptr;
}

// Asked of every column of large grids, so by the class table rather than dynamic_cast.
TOmDBGridColumns* TOmColumn::GridColumns() const noexcept {
  TCollection* C = Collection();
  return C && C->Is<TOmDBGridColumns>() ? static_cast<TOmDBGridColumns*>(C) : nullptr;
}

TOmColumn* TOmColumn::GetParentColumn() const {
  TOmDBGridColumns* Columns = GridColumns();
  if (!Columns) return nullptr;
  int Parent = Columns->NestingOf(Index()).Parent;
  return Parent < 0 ? nullptr : Columns->GetColumn(Parent);
}

int TOmColumn::GetExpandIndex() const {
  TOmDBGridColumns* Columns = GridColumns();
  return Columns ? Columns->NestingOf(Index()).Last : Index();
}

void TOmColumn::RestoreDefaults() {
  FTitle.RestoreDefaults();
  FReport.TotalText.clear();
  FReport.Printed = true;
  FReport.PrintWidth = 0;
  FPickList.Clear();
  TFont Default;
  FFont.Assign(&Default);
  FWidth = 64;
  Alignment = taLeftJustify;
  Color = clWindow;
  ReadOnly = false;
  // A column shows its field as the field says: width and alignment from the field.
  if (TField* F = Field()) FWidth = std::max(16, F->DisplayWidth() * 7 + 4);
  Changed(false);
}

void TOmColumn::SetWidth(int Value) {
  if (Value < 0) throw EPropertyError("A column's width cannot be negative");
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(false);
}

void TOmColumn::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(true);
}

void TOmColumn::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  TOmDBGrid* Grid = GetGrid();
  FImages = Value;
  // The grid hears of the list's end and tells its columns.
  if (Value && Grid) Value->FreeNotification(Grid);
  Changed(false);
}

void TOmColumn::ComponentRemoved(TComponent* AComponent) {
  if (AComponent == FImages) FImages = nullptr;
}

// --- TOmDBGridColumns -----------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TOmDBGridColumns, "OmDBGrids");

TOmDBGridColumns::TOmDBGridColumns(TOmDBGrid* Grid, TCollectionItemClass ColumnClass)
    : TOwnedCollection(Grid, ColumnClass), FGrid(Grid) {}

TOmColumn* TOmDBGridColumns::Add() {
  TOmColumn* C = static_cast<TOmColumn*>(TCollection::Add());
  FState = csCustomized;
  return C;
}

const TOmDBGridColumns::TNesting& TOmDBGridColumns::NestingOf(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  if (!FNestingValid || FNestingStamp != OrderStamp()) {
    // The columns whose blocks are still open, innermost last: a name that does not
    // belong to the innermost closes it, and may close those around it.
    int N = Count();
    FNesting.assign(size_t(N), TNesting{-1, 0});
    std::vector<int> Open;
    for (int I = 0; I < N; ++I) {
      const String& Name = GetColumn(I)->FieldName();
      while (!Open.empty() && !NestedName(Name, GetColumn(Open.back())->FieldName())) {
        FNesting[size_t(Open.back())].Last = I - 1;
        Open.pop_back();
      }
      FNesting[size_t(I)] = {Open.empty() ? -1 : Open.back(), I};
      if (!Name.empty()) Open.push_back(I);
    }
    for (int I : Open) FNesting[size_t(I)].Last = N - 1;
    FNestingStamp = OrderStamp();
    FNestingValid = true;
  }
  return FNesting[size_t(Index)];
}

void TOmDBGridColumns::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  // A column that comes from anywhere but the automatic rebuild (a form file, Add) makes
  // the columns the grid's own.
  if (Action == cnAdded && !FRebuilding) FState = csCustomized;
}

void TOmDBGridColumns::SetState(TDBGridColumnsState Value) {
  if (FState == Value) return;
  if (Value == csCustomized) {
    // The automatic columns become persistent ones, as they are.
    FState = csCustomized;
    Changed();
    return;
  }
  FState = csDefault;
  RebuildColumns();
}

void TOmDBGridColumns::RebuildColumns() {
  if (FState != csDefault) return;
  TDataSource* Source = FGrid ? FGrid->GetDataSource() : nullptr;
  TDataSet* Data = Source ? Source->DataSet() : nullptr;
  BeginUpdate();
  FRebuilding = true;
  try {
    Clear();
    if (Data && Data->Active()) {
      // Each field, and under an object field its fields, depth first.
      std::function<void(TField*)> AddField = [&](TField* F) {
        auto* C = static_cast<TOmColumn*>(TCollection::Add());
        C->SetFieldName(F->FullName());
        if (F->DataType() == ftADT || F->DataType() == ftArray)
          if (auto* O = dynamic_cast<TObjectField*>(F))
            for (int I = 0; I < O->FieldCount(); ++I) AddField(O->Fields()->Fields(I));
      };
      for (int I = 0; I < Data->FieldCount(); ++I) AddField(Data->Fields(I));
    }
  } catch (...) {
    FRebuilding = false;
    EndUpdate();
    throw;
  }
  FRebuilding = false;
  EndUpdate();
}

// A column whose field is listed in OrderFields shows the marker of its place in that
// list; any other column keeps the marker it has, which its developer may have chosen.
void TOmDBGridColumns::UpdateMarkers() {
  TStrings* Order = FGrid ? FGrid->OrderFields() : nullptr;
  if (!Order || Order->Count() == 0) return;
  BeginUpdate();
  try {
    for (int I = 0; I < Count(); ++I) {
      TOmColumn* C = GetColumn(I);
      if (C->FieldName().empty()) continue;
      if (int Pos = Order->IndexOf(C->FieldName()); Pos >= 0) C->Title()->SetMarkerIndex(Pos);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TOmDBGridColumns::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TOmDBGridColumns*>(Source);
  TCollection::Assign(Source);
  if (S) FState = S->FState;
}

void TOmDBGridColumns::Update(TCollectionItem* Item) {
  if (!FGrid || FGrid->ComponentState().Contains(csLoading)) return;
  // Stretching sets widths itself; what it changes does not start it again.
  if (FGrid->StretchMode() && !FGrid->FLayingOut) FGrid->LayoutColumns();
  FGrid->Invalidate();
}

// --- TOmCustomDBGrid --------------------------------------------------------------------------

class TOmCustomDBGrid::TGridDataLink : public TDataLink {
 public:
  explicit TGridDataLink(TOmCustomDBGrid* Grid) : FGrid(Grid) {}

 protected:
  void ActiveChanged() override { FGrid->LinkActiveChanged(); }
  void DataSetChanged() override { FGrid->Invalidate(); }
  void DataSetScrolled() override { FGrid->Invalidate(); }

 private:
  TOmCustomDBGrid* FGrid;
};

OM_IMPLEMENT_CLASS(TOmCustomDBGrid, "OmDBGrids");

TOmCustomDBGrid::TOmCustomDBGrid(TComponent* AOwner)
    : TCustomControl(AOwner),
      FDataLink(new TGridDataLink(this)),
      FHeaderFont(new TFont),
      FOrderFields(new TStringList) {
  SetBounds(0, 0, 320, 120);
  SetColor(clWindow);
}

TOmCustomDBGrid::~TOmCustomDBGrid() {
  delete FDataLink;
  delete FOrderFields;
  delete FHeaderFont;
}

TDataSource* TOmCustomDBGrid::GetDataSource() const { return FDataLink->DataSource(); }

void TOmCustomDBGrid::SetDataSource(TDataSource* Value) {
  if (Value == GetDataSource()) return;
  if (TDataSource* Old = GetDataSource()) Old->RemoveFreeNotification(this);
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  LinkActiveChanged();
}

// A slow and a fast walker: should the chain run in a circle, the fast one comes round
// to the slow one, and the walk stops with no more than twice the links of the chain.
bool TOmCustomDBGrid::MastersReach(const TOmCustomDBGrid* Grid) const noexcept {
  const TOmCustomDBGrid *Slow = this, *Fast = this;
  for (;;) {
    for (int Step = 0; Step < 2; ++Step) {
      if (!Fast) return false;
      if (Fast == Grid) return true;
      Fast = Fast->FMasterGrid;
    }
    Slow = Slow->FMasterGrid;
    if (Fast && Fast == Slow) return false;
  }
}

void TOmCustomDBGrid::SetMasterGrid(TOmCustomDBGrid* Value) {
  if (Value == FMasterGrid) return;
  if (Value && Value->MastersReach(this))
    throw EInvalidOperation(Format("%s cannot follow %s: the grids would follow each other in a circle",
                                   {Name(), Value->Name()}));
  if (FMasterGrid) FMasterGrid->RemoveFreeNotification(this);
  FMasterGrid = Value;
  if (Value) Value->FreeNotification(this);
}

void TOmCustomDBGrid::SetStretchMode(bool Value) {
  if (FStretchMode == Value) return;
  FStretchMode = Value;
  if (Value) LayoutColumns();
  Invalidate();
}

void TOmCustomDBGrid::Synchronize() { LayoutChanged(); }

void TOmCustomDBGrid::SetIndicatorWidth(int Value) {
  IndicatorWidth = Value;
  if (FStretchMode) LayoutColumns();
  Invalidate();
}

void TOmCustomDBGrid::SetStretchWidthMax(int Value) {
  StretchWidthMax = Value;
  if (FStretchMode) LayoutColumns();
}

void TOmCustomDBGrid::SetStretchWidthMin(int Value) {
  StretchWidthMin = Value;
  if (FStretchMode) LayoutColumns();
}

void TOmCustomDBGrid::SetImageList(TCustomImageList*& Field, TCustomImageList* Value) {
  if (Field == Value) return;
  if (Field) Field->RemoveFreeNotification(this);
  Field = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TOmCustomDBGrid::SetPopup(TPopupMenu*& Field, TPopupMenu* Value) {
  if (Field == Value) return;
  if (Field) Field->RemoveFreeNotification(this);
  Field = Value;
  if (Value) Value->FreeNotification(this);
}

void TOmCustomDBGrid::SetTitleImages(TCustomImageList* Value) { SetImageList(FTitleImages, Value); }
void TOmCustomDBGrid::SetIndicatorImages(TCustomImageList* Value) { SetImageList(FIndicatorImages, Value); }
void TOmCustomDBGrid::SetTitleMarkers(TCustomImageList* Value) { SetImageList(FTitleMarkers, Value); }
void TOmCustomDBGrid::SetFillerPopupMenu(TPopupMenu* Value) { SetPopup(FFillerPopupMenu, Value); }
void TOmCustomDBGrid::SetIndicatorPopupMenu(TPopupMenu* Value) { SetPopup(FIndicatorPopupMenu, Value); }

void TOmCustomDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMasterGrid) FMasterGrid = nullptr;
  if (AComponent == FTitleImages) FTitleImages = nullptr;
  if (AComponent == FIndicatorImages) FIndicatorImages = nullptr;
  if (AComponent == FTitleMarkers) FTitleMarkers = nullptr;
  if (AComponent == FFillerPopupMenu) FFillerPopupMenu = nullptr;
  if (AComponent == FIndicatorPopupMenu) FIndicatorPopupMenu = nullptr;
  if (AComponent == GetDataSource()) FDataLink->SetDataSource(nullptr);
}

void TOmCustomDBGrid::Resize() {
  TCustomControl::Resize();
  if (FStretchMode) LayoutColumns();
}

void TOmCustomDBGrid::Paint(TCanvas* Canvas) {
  TRect R = ClientRect();
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(R);
}

// --- TOmDBGrid ----------------------------------------------------------------------------------

template <>
struct TPublished<TOmDBGrid> {
  using G = TOmDBGrid;
  static constexpr TPropInfo Props[] = {
      Property<&TControl::Align, &TControl::SetAlign>("Align", alNone),
      // What a grid takes from its parent is stored only where it does not.
      Property<&TControl::Color, &TControl::SetColor, &G::IsColorStored>("Color", clWindow),
      Property<&TControl::Enabled, &TControl::SetEnabled>("Enabled", 1),
      Property<&TControl::Font, &TControl::SetFont, &G::IsFontStored>("Font"),
      Property<&TControl::ParentColor, &TControl::SetParentColor>("ParentColor", 0),
      Property<&TControl::ParentFont, &TControl::SetParentFont>("ParentFont", 1),
      Property<&TControl::ParentShowHint, &TControl::SetParentShowHint>("ParentShowHint", 1),
      Property<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu"),
      Property<&TControl::ShowHint, &TControl::SetShowHint, &G::IsShowHintStored>("ShowHint",
                                                                                          NoDefault),
      Property<&TWinControl::TabOrder, &TWinControl::SetTabOrder>("TabOrder", -1),
      Property<&TControl::Visible, &TControl::SetVisible>("Visible", 1),
      Property<&G::Columns, &G::SetColumns, &G::IsColumnsStored>("Columns"),
      Property<&G::GetDataSource, &G::SetDataSource>("DataSource"),
      Property<&G::DragRows, &G::DragRows>("DragRows", 0),
      Property<&G::FillerButton, &G::FillerButton>("FillerButton", 0),
      Property<&G::FillerColor, &G::FillerColor>("FillerColor", clBtnFace),
      Property<&G::FillerHint, &G::FillerHint>("FillerHint"),
      Property<&G::FillerIndex, &G::SetFillerIndex>("FillerIndex", -1),
      Property<&G::FillerPopupMenu, &G::SetFillerPopupMenu>("FillerPopupMenu"),
      Property<&G::FixedCols, &G::FixedCols>("FixedCols", 0),
      Property<&G::FixedStyle, &G::FixedStyle>("FixedStyle", fxStandard),
      Property<&G::FixedTheme, &G::FixedTheme>("FixedTheme", 0),
      Property<&G::GridStyle, &G::GridStyle>("GridStyle", gsStandard),
      Property<&G::HeaderColor, &G::HeaderColor>("HeaderColor", clBtnFace),
      Property<&G::HeaderFont, &G::SetHeaderFont, &G::IsHeaderFontStored>("HeaderFont"),
      Property<&G::HeaderLinesCount, &G::HeaderLinesCount>("HeaderLinesCount", 1),
      Property<&G::HintOptions, &G::HintOptions>("HintOptions", 0),
      Property<&G::IndicatorHint, &G::IndicatorHint>("IndicatorHint"),
      Property<&G::IndicatorImages, &G::SetIndicatorImages>("IndicatorImages"),
      Property<&G::IndicatorPopupMenu, &G::SetIndicatorPopupMenu>("IndicatorPopupMenu"),
      Property<&G::IndicatorWidth, &G::SetIndicatorWidth>("IndicatorWidth", 12),
      Property<&G::LinesCount, &G::LinesCount>("LinesCount", 1),
      Property<&G::LinesCountMax, &G::LinesCountMax>("LinesCountMax", 0),
      Property<&G::LinesCountMin, &G::LinesCountMin>("LinesCountMin", 1),
      Property<&G::GetManageGrid, &G::SetManageGrid>("ManageGrid"),
      Property<&G::MasterGrid, &G::SetMasterGrid>("MasterGrid"),
      Property<&G::OrderFields, &G::SetOrderFields>("OrderFields"),
      Property<&G::ScrollBars, &G::ScrollBars>("ScrollBars", sbBoth),
      Property<&G::StretchMode, &G::SetStretchMode>("StretchMode", 0),
      Property<&G::StretchWidthMax, &G::SetStretchWidthMax>("StretchWidthMax", 0),
      Property<&G::StretchWidthMin, &G::SetStretchWidthMin>("StretchWidthMin", 0),
      Property<&G::TitleImages, &G::SetTitleImages>("TitleImages"),
      Property<&G::TitleLinesCount, &G::TitleLinesCount>("TitleLinesCount", 1),
      Property<&G::TitleMarkers, &G::SetTitleMarkers>("TitleMarkers"),
      Property<&G::OnCalcImageIndex, &G::OnCalcImageIndex>("OnCalcImageIndex"),
      Property<&G::OnCellHint, &G::OnCellHint>("OnCellHint"),
      Property<&G::OnColExpand, &G::OnColExpand>("OnColExpand"),
      Property<&G::OnColGetText, &G::OnColGetText>("OnColGetText"),
      Property<&G::OnColSetText, &G::OnColSetText>("OnColSetText"),
      Property<&G::OnColumnMoving, &G::OnColumnMoving>("OnColumnMoving"),
      Property<&G::OnColumnResize, &G::OnColumnResize>("OnColumnResize"),
      Property<&G::OnColumnScroll, &G::OnColumnScroll>("OnColumnScroll"),
      Property<&G::OnFillerClick, &G::OnFillerClick>("OnFillerClick"),
      Property<&G::OnHeaderClick, &G::OnHeaderClick>("OnHeaderClick"),
      Property<&G::OnOrderChanged, &G::OnOrderChanged>("OnOrderChanged"),
      Property<&G::OnPaintColumnCell, &G::OnPaintColumnCell>("OnPaintColumnCell"),
      Property<&G::OnRowResize, &G::OnRowResize>("OnRowResize"),
      Property<&G::OnRowSelect, &G::OnRowSelect>("OnRowSelect"),
  };
};
OM_IMPLEMENT_CLASS(TOmDBGrid, "OmDBGrids");

TOmDBGrid::TOmDBGrid(TComponent* AOwner)
    : TOmCustomDBGrid(AOwner), FColumns(new TOmDBGridColumns(this, TOmColumn::StaticClass())) {}

TOmDBGrid::~TOmDBGrid() {
  // The columns go while the grid is still whole: a designer may hold some of them.
  delete FColumns;
  FColumns = nullptr;
}

bool TOmDBGrid::IsFontStored() const { return !ParentFont(); }
bool TOmDBGrid::IsHeaderFontStored() const { return !IsDefaultFont(HeaderFont()); }

void TOmDBGrid::SetManageGrid(TOmDBGrid* Value) {
  if (Value == FManageGrid) return;
  if (Value == this) throw EInvalidOperation(Format("%s cannot manage itself", {Name()}));
  if (FManageGrid) FManageGrid->RemoveFreeNotification(this);
  FManageGrid = Value;
  if (Value) Value->FreeNotification(this);
}

void TOmDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TOmCustomDBGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FManageGrid) FManageGrid = nullptr;
  if (FColumns)
    for (int I = 0; I < FColumns->Count(); ++I) FColumns->GetColumn(I)->ComponentRemoved(AComponent);
}

void TOmDBGrid::LinkActiveChanged() {
  if (!FColumns || ComponentState().Contains(csLoading)) return;
  FColumns->RebuildColumns();
  Invalidate();
}

void TOmDBGrid::Synchronize() {
  // Every grid linked with this one (its manage grid, and the grids whose master or
  // manage grid it is) takes this grid's widths for the fields both show.
  std::vector<TOmDBGrid*> Linked;
  if (FManageGrid) Linked.push_back(FManageGrid);
  if (TComponent* O = Owner())
    for (int I = 0; I < O->ComponentCount(); ++I)
      if (auto* G = dynamic_cast<TOmDBGrid*>(O->Components(I)); G && G != this &&
                                                               (G->MasterGrid() == this || G->GetManageGrid() == this))
        Linked.push_back(G);
  for (TOmDBGrid* G : Linked) {
    G->Columns()->BeginUpdate();
    for (int I = 0; I < G->Columns()->Count(); ++I) {
      TOmColumn* Target = G->Columns()->GetColumn(I);
      for (int J = 0; J < FColumns->Count(); ++J)
        if (SameText(FColumns->GetColumn(J)->FieldName(), Target->FieldName()) && !Target->FieldName().empty())
          Target->SetWidth(FColumns->GetColumn(J)->Width());
    }
    G->Columns()->EndUpdate();
    G->LayoutChanged();
  }
  LayoutChanged();
}

void TOmDBGrid::LayoutColumns() {
  // A grid being read takes the widths its file stored, which were laid out when it was
  // saved: laying them out again with half its settings read would change them.
  if (ComponentState().Contains(csLoading)) return;
  // Spread the visible columns over the client width, within the stretch limits.
  int Count = 0, Total = 0;
  for (int I = 0; I < FColumns->Count(); ++I)
    if (FColumns->GetColumn(I)->Visible()) {
      ++Count;
      Total += FColumns->GetColumn(I)->Width();
    }
  int Room = ClientWidth() - IndicatorWidth;
  if (Count == 0 || Total <= 0 || Room <= 0) return;
  // Laying out lasts until the collection has reported the new widths: the report of
  // the last end of the update must not start the layout again.
  struct TLayingOut {
    TOmDBGrid* Grid;
    explicit TLayingOut(TOmDBGrid* G) : Grid(G) {
      Grid->FLayingOut = true;
      Grid->FColumns->BeginUpdate();
    }
    ~TLayingOut() {
      Grid->FColumns->EndUpdate();
      Grid->FLayingOut = false;
    }
  };
  {
    TLayingOut Guard(this);
    int Left = Room;
    for (int I = 0, Seen = 0; I < FColumns->Count(); ++I) {
      TOmColumn* C = FColumns->GetColumn(I);
      if (!C->Visible()) continue;
      int W = ++Seen == Count ? Left : C->Width() * Room / Total;
      if (StretchWidthMin > 0) W = std::max(W, StretchWidthMin);
      if (StretchWidthMax > 0) W = std::min(W, StretchWidthMax);
      W = std::max(W, 0);
      C->SetWidth(W);
      Left -= W;
    }
  }
  LayoutChanged();
}

void TOmDBGrid::Paint(TCanvas* Canvas) {
  TOmCustomDBGrid::Paint(Canvas);
  // Titles on top, then a row for each record the dataset has, as far as they fit.
  int X = IndicatorWidth, RowHeight = Canvas->TextHeight("Wg") + 4;
  TDataSource* Source = GetDataSource();
  TDataSet* Data = Source ? Source->DataSet() : nullptr;
  Canvas->Brush()->SetColor(HeaderColor);
  Canvas->FillRect(Rect(0, 0, ClientWidth(), RowHeight));
  for (int I = 0; I < FColumns->Count(); ++I) {
    TOmColumn* C = FColumns->GetColumn(I);
    if (!C->Visible()) continue;
    TRect Cell = Rect(X, 0, X + C->Width(), RowHeight);
    Canvas->Brush()->SetColor(C->Title()->Color());
    Canvas->TextRect(Cell, X + 2, 2, C->Title()->DisplayCaption());
    X += C->Width() + 1;
  }
  if (!Data || !Data->Active()) return;
  int Y = RowHeight + 1;
  int Saved = Data->RecNo();
  Data->DisableControls();
  try {
    for (Data->First(); !Data->Eof() && Y < ClientHeight(); Data->Next()) {
      X = IndicatorWidth;
      for (int I = 0; I < FColumns->Count(); ++I) {
        TOmColumn* C = FColumns->GetColumn(I);
        if (!C->Visible()) continue;
        TField* F = Data->FindField(C->FieldName());
        Canvas->Brush()->SetColor(C->Color);
        Canvas->TextRect(Rect(X, Y, X + C->Width(), Y + RowHeight), X + 2, Y + 2, F ? F->DisplayText() : String());
        X += C->Width() + 1;
      }
      Y += RowHeight + 1;
    }
    if (Saved > 0) Data->SetRecNo(Saved);
  } catch (...) {
    Data->EnableControls();
    throw;
  }
  Data->EnableControls();
}

// --- The unit -----------------------------------------------------------------------------------

namespace Omdbgrids {
int InitCount = 0;
void Initialization() { RegisterClasses({TOmDBGrid::StaticClass()}); }
void Finalization() {
  UnRegisterClass(TOmDBGrid::StaticClass());
  UnRegisterClass(TOmCustomDBGrid::StaticClass());
}
}  // namespace Omdbgrids
