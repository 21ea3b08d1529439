#include "ComCtrls.h"

#include <algorithm>
#include <cctype>

#include "Forms.h"
#include "Paint.h"

OM_ENUM_TYPE_INFO(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport");
OM_ENUM_TYPE_INFO(TItemState, "isNone", "isCut", "isDropHilited", "isFocused", "isSelected",
                  "isActivating");
OM_SET_TYPE_INFO(TItemStates, TItemState);
OM_ENUM_TYPE_INFO(THotTrackStyle, "htHandPoint", "htUnderlineCold", "htUnderlineHot");
OM_SET_TYPE_INFO(THotTrackStyles, THotTrackStyle);
OM_EVENT_TYPE_INFO(TLVSelectItemEvent);
OM_EVENT_TYPE_INFO(TLVDeletedEvent);
OM_ENUM_TYPE_INFO(TToolButtonStyle, "tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator",
                  "tbsDivider");
OM_ENUM_TYPE_INFO(TEdgeBorder, "ebLeft", "ebTop", "ebRight", "ebBottom");
OM_SET_TYPE_INFO(TEdgeBorders, TEdgeBorder);

// --- Columns -----------------------------------------------------------------------------------

template <>
struct TPublished<TListColumn> {
  static constexpr TPropInfo Props[] = {
      Property<&TListColumn::Alignment, &TListColumn::SetAlignment>("Alignment", taLeftJustify),
      Property<&TListColumn::AutoSize, &TListColumn::SetAutoSize>("AutoSize", 0),
      Property<&TListColumn::Caption, &TListColumn::SetCaption>("Caption"),
      Property<&TListColumn::Width, &TListColumn::SetWidth>("Width", 50),
  };
};
OM_IMPLEMENT_CLASS(TListColumn, "ComCtrls");

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::Assign(TPersistent* Source) {
  auto* C = dynamic_cast<TListColumn*>(Source);
  if (!C) return TCollectionItem::Assign(Source);
  FCaption = C->FCaption;
  FAlignment = C->FAlignment;
  FAutoSize = C->FAutoSize;
  FWidth = C->FWidth;
  Changed(false);
}

void TListColumn::SetCaption(const String& Value) {
  FCaption = Value;
  Changed(false);
}

TCustomListView* TListColumn::ListView() const {
  auto* Cols = dynamic_cast<TListColumns*>(Collection());
  return Cols ? Cols->Owner() : nullptr;
}

int TListColumn::Width() const {
  TCustomListView* L = ListView();
  if (FWidth == -1 && L) return L->AutoColumnWidth(Index());
  if (FWidth == -2 && L) {
    TCanvas C;
    C.Font()->Assign(L->Font());
    return C.TextWidth(FCaption) + 12;
  }
  return std::max(0, FWidth);
}

void TListColumn::SetWidth(int Value) {
  if (Value < -2) Value = 0;
  FWidth = Value;
  Changed(false);
}

String TListColumn::GetDisplayName() const {
  return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

OM_IMPLEMENT_CLASS(TListColumns, "ComCtrls");

TListColumns::TListColumns(TCustomListView* AOwner)
    : TCollection(TListColumn::StaticClass()), FOwner(AOwner) {}

TPersistent* TListColumns::GetOwner() { return FOwner; }

void TListColumns::Update(TCollectionItem*) {
  if (FOwner) FOwner->Redraw();
}

// --- Items ---------------------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TListItem, "ComCtrls");

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner) {}

TListItem::~TListItem() = default;

TStrings* TListItem::SubItems() const {
  if (!FSubItems) FSubItems = std::make_unique<TStringList>();
  return FSubItems.get();
}

TCustomListView* TListItem::ListView() const { return FOwner->Owner(); }

void TListItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  ListView()->Redraw();
}

void TListItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  ListView()->Redraw();
}

void TListItem::SetSelected(bool Value) {
  if (Value == FSelected) return;
  TCustomListView* L = ListView();
  if (Value && !L->MultiSelect())
    for (size_t I = 0; I < FOwner->FItems.size() && FOwner->FSelCount > 0; ++I)
      if (TListItem* Other = FOwner->FItems[I]; Other != this && Other->FSelected)
        Other->SetSelected(false);
  FSelected = Value;
  FOwner->FSelCount += Value ? 1 : -1;
  L->Redraw();
  L->SelectItem(this, Value);
}

void TListItem::SetFocused(bool Value) {
  if (Value == FFocused) return;
  if (Value && FOwner->FFocused) FOwner->FFocused->FFocused = false;
  FFocused = Value;
  FOwner->FFocused = Value ? this : nullptr;
  ListView()->Redraw();
}

int TListItem::Index() const { return FOwner->IndexOf(this); }

void TListItem::Delete() { FOwner->Delete(Index()); }

void TListItem::MakeVisible(bool) {
  TCustomListView* L = ListView();
  int I = Index(), Rows = std::max(1, L->VisibleRowCount());
  if (I < L->FTopIndex)
    L->FTopIndex = I;
  else if (I >= L->FTopIndex + Rows)
    L->FTopIndex = I - Rows + 1;
}

TRect TListItem::DisplayRect() const { return ListView()->ItemRect(Index()); }

OM_IMPLEMENT_CLASS(TListItems, "ComCtrls");

TListItems::TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}

TListItems::~TListItems() {
  for (TListItem* I : FItems) delete I;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int Index) {
  if (Index < 0 || Index > Count())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  auto* I = new TListItem(this);
  FItems.insert(FItems.begin() + Index, I);
  FOwner->Redraw();
  return I;
}

void TListItems::Delete(int Index) {
  TListItem* I = Item(Index);
  if (FOwner->OnDeletion) FOwner->OnDeletion(FOwner, I);
  // The handler may have deleted items itself; otherwise the item is still where it was,
  // and clearing from the end stays linear.
  auto It = size_t(Index) < FItems.size() && FItems[size_t(Index)] == I
                ? FItems.begin() + Index
                : std::find(FItems.begin(), FItems.end(), I);
  if (It == FItems.end()) return;
  FItems.erase(It);
  Free(I);
  FOwner->FTopIndex = std::clamp(FOwner->FTopIndex, 0, std::max(0, Count() - 1));
  FOwner->Redraw();
}

// An item out of the list goes, and nothing of the list or its view still points at it.
void TListItems::Free(TListItem* I) {
  if (I->FSelected) --FSelCount;
  if (FFocused == I) FFocused = nullptr;
  if (FOwner->FAnchor == I) FOwner->FAnchor = nullptr;
  if (FOwner->FPending == I) FOwner->FPending = nullptr;
  if (FOwner->FDropTarget == I) FOwner->FDropTarget = nullptr;
  delete I;
}

void TListItems::DeleteItems(std::span<TListItem* const> Doomed) {
  // Checked whole before anything goes, as a new order is.
  size_t Marked = 0;
  bool Valid = true;
  for (; Marked < Doomed.size(); ++Marked) {
    TListItem* I = Doomed[Marked];
    if (!I || I->FOwner != this || I->FSeen) {
      Valid = false;
      break;
    }
    I->FSeen = true;
  }
  if (!Valid) {
    for (size_t I = 0; I < Marked; ++I) Doomed[I]->FSeen = false;
    throw EListError("Items to delete must be items of the list, each once");
  }
  if (FOwner->OnDeletion) {
    // A handler may delete items itself: each goes as Delete would take it.
    for (TListItem* I : Doomed) I->FSeen = false;
    BeginUpdate();
    try {
      for (TListItem* I : Doomed)
        if (int At = IndexOf(I); At >= 0) Delete(At);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  // Each goes as the walk that closes up the rows passes it (remove_if asks once per
  // row): many thousand rows are read once, not twice.
  FItems.erase(std::remove_if(FItems.begin(), FItems.end(),
                              [this](TListItem* I) {
                                if (!I->FSeen) return false;
                                Free(I);
                                return true;
                              }),
               FItems.end());
  FOwner->FTopIndex = std::clamp(FOwner->FTopIndex, 0, std::max(0, Count() - 1));
  FOwner->Redraw();
}

void TListItems::Clear() {
  BeginUpdate();
  try {
    while (!FItems.empty()) Delete(Count() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  FOwner->FTopIndex = 0;
}

void TListItems::Refill(int Count) {
  if (Count < 0) ListIndexError(Count);
  BeginUpdate();
  try {
    if (FOwner->OnDeletion) {
      Clear();
      while (this->Count() < Count) Add();
    } else {
      while (this->Count() > Count) {
        Free(FItems.back());
        FItems.pop_back();
      }
      for (TListItem* I : FItems) {
        I->FCaption.clear();
        I->FData = nullptr;
        I->FImageIndex = -1;
        I->FSubItems.reset();
        I->FSelected = I->FFocused = false;
      }
      FSelCount = 0;
      FFocused = FOwner->FAnchor = FOwner->FPending = FOwner->FDropTarget = nullptr;
      FItems.reserve(size_t(Count));
      while (this->Count() < Count) FItems.push_back(new TListItem(this));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  FOwner->FTopIndex = 0;
}

void TListItems::Reorder(std::span<TListItem* const> Order) {
  // Checked whole before anything moves: a wrong order leaves the list as it was.
  bool Valid = Order.size() == FItems.size();
  size_t Marked = 0;
  for (; Valid && Marked < Order.size(); ++Marked) {
    TListItem* I = Order[Marked];
    if (!I || I->FOwner != this || I->FSeen) {
      Valid = false;
      break;
    }
    I->FSeen = true;
  }
  for (size_t I = 0; I < Marked; ++I) Order[I]->FSeen = false;
  if (!Valid) throw EListError("A new order must hold each item of the list once");
  std::copy(Order.begin(), Order.end(), FItems.begin());
  FOwner->Redraw();
}

int TListItems::IndexOf(const TListItem* Value) const {
  auto It = std::find(FItems.begin(), FItems.end(), Value);
  return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) {
    ++FOwner->FRedrawCount;
    FOwner->Invalidate();
  }
}

// --- TCustomListView
// ------------------------------------------------------------------------------

template <>
struct TPublished<TCustomListView> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomListView::Align, &TCustomListView::SetAlign>("Align", alNone),
      Property<&TCustomListView::Color, &TCustomListView::SetColor>("Color", clWindow),
      Property<&TCustomListView::Columns, &TCustomListView::SetColumns>("Columns"),
      Property<&TCustomListView::Constraints, &TCustomListView::SetConstraints>("Constraints"),
      Property<&TCustomListView::DragMode, &TCustomListView::SetDragMode>("DragMode", dmManual),
      Property<&TCustomListView::Enabled, &TCustomListView::SetEnabled>("Enabled", 1),
      Property<&TCustomListView::Font, &TCustomListView::SetFont, &TCustomListView::IsFontStored>(
          "Font"),
      Property<&TCustomListView::HideSelection, &TCustomListView::SetHideSelection>("HideSelection",
                                                                                    1),
      Property<&TCustomListView::HotTrack, &TCustomListView::SetHotTrack>("HotTrack", 0),
      Property<&TCustomListView::HotTrackStyles, &TCustomListView::SetHotTrackStyles>(
          "HotTrackStyles", 0),
      Property<&TCustomListView::LargeImages, &TCustomListView::SetLargeImages>("LargeImages"),
      Property<&TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect>("MultiSelect", 0),
      Property<&TCustomListView::ReadOnly, &TCustomListView::SetReadOnly>("ReadOnly", 0),
      Property<&TCustomListView::RowSelect, &TCustomListView::SetRowSelect>("RowSelect", 0),
      Property<&TCustomListView::ParentFont, &TCustomListView::SetParentFont>("ParentFont", 1),
      Property<&TCustomListView::ParentShowHint, &TCustomListView::SetParentShowHint>(
          "ParentShowHint", 1),
      Property<&TCustomListView::PopupMenu, &TCustomListView::SetPopupMenu>("PopupMenu"),
      Property<&TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders>(
          "ShowColumnHeaders", 1),
      Property<&TCustomListView::ShowHint, &TCustomListView::SetShowHint,
               &TCustomListView::IsShowHintStored>("ShowHint", NoDefault),
      Property<&TCustomListView::SmallImages, &TCustomListView::SetSmallImages>("SmallImages"),
      Property<&TCustomListView::TabOrder, &TCustomListView::SetTabOrder>("TabOrder", -1),
      Property<&TCustomListView::TabStop, &TCustomListView::SetTabStop>("TabStop", 1),
      Property<&TCustomListView::ViewStyle, &TCustomListView::SetViewStyle>("ViewStyle", vsIcon),
      Property<&TCustomListView::Visible, &TCustomListView::SetVisible>("Visible", 1),
      Property<&TCustomListView::OnChange, &TCustomListView::OnChange>("OnChange"),
      Property<&TCustomListView::OnClick, &TCustomListView::OnClick>("OnClick"),
      Property<&TCustomListView::OnDblClick, &TCustomListView::OnDblClick>("OnDblClick"),
      Property<&TCustomListView::OnDeletion, &TCustomListView::OnDeletion>("OnDeletion"),
      Property<&TCustomListView::OnDragDrop, &TCustomListView::OnDragDrop>("OnDragDrop"),
      Property<&TCustomListView::OnDragOver, &TCustomListView::OnDragOver>("OnDragOver"),
      Property<&TCustomListView::OnEndDrag, &TCustomListView::OnEndDrag>("OnEndDrag"),
      Property<&TCustomListView::OnKeyDown, &TCustomListView::OnKeyDown>("OnKeyDown"),
      Property<&TCustomListView::OnKeyPress, &TCustomListView::OnKeyPress>("OnKeyPress"),
      Property<&TCustomListView::OnMouseDown, &TCustomListView::OnMouseDown>("OnMouseDown"),
      Property<&TCustomListView::OnSelectItem, &TCustomListView::OnSelectItem>("OnSelectItem"),
  };
};
OM_IMPLEMENT_CLASS(TCustomListView, "ComCtrls");
OM_IMPLEMENT_CLASS(TListView, "ComCtrls");

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TListItems(this)), FColumns(new TListColumns(this)) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  Destroying();
  // Deleting items tells OnDeletion no more: the window is going.
  OnDeletion = nullptr;
  OnSelectItem = nullptr;
  delete FItems;
  FItems = nullptr;
  delete FColumns;
}

void TCustomListView::Redraw() {
  if (!FItems || FItems->FUpdateCount > 0) return;
  ++FRedrawCount;
  Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
  FViewStyle = Value;
  Redraw();
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  FMultiSelect = Value;
  // A single-selection list keeps only the first of what was selected.
  if (!Value)
    if (TListItem* First = Selected())
      for (TListItem* I : FItems->FItems)
        if (I != First && I->Selected()) I->SetSelected(false);
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
  FShowColumnHeaders = Value;
  Redraw();
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  if (Value == FSmallImages) return;
  if (FSmallImages) FSmallImages->RemoveFreeNotification(this);
  FSmallImages = Value;
  if (FSmallImages) FSmallImages->FreeNotification(this);
  Redraw();
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
  if (Value == FLargeImages) return;
  if (FLargeImages) FLargeImages->RemoveFreeNotification(this);
  FLargeImages = Value;
  if (FLargeImages) FLargeImages->FreeNotification(this);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSmallImages) FSmallImages = nullptr;
  if (AComponent == FLargeImages) FLargeImages = nullptr;
}

void TCustomListView::SelectItem(TListItem* Item, bool Selected) {
  if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

TListItem* TCustomListView::Selected() const {
  if (FItems->FSelCount == 0) return nullptr;
  for (TListItem* I : FItems->FItems)
    if (I->Selected()) return I;
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* Value) {
  for (TListItem* I : std::vector<TListItem*>(FItems->FItems))
    if (I != Value && I->Selected()) I->SetSelected(false);
  if (Value) Value->SetSelected(true);
}

int TCustomListView::SelCount() const { return FItems->FSelCount; }

TListItem* TCustomListView::ItemFocused() const { return FItems->FFocused; }

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value)
    Value->SetFocused(true);
  else if (TListItem* F = ItemFocused())
    F->SetFocused(false);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection,
                                        TItemStates States) const {
  int From = StartItem ? FItems->IndexOf(StartItem) + 1 : 0;
  for (int I = From; I < FItems->Count(); ++I) {
    TListItem* Item = FItems->FItems[size_t(I)];
    if (States.Contains(isSelected) && !Item->Selected()) continue;
    if (States.Contains(isFocused) && !Item->Focused()) continue;
    return Item;
  }
  return nullptr;
}

int TCustomListView::RowHeight() const {
  TCanvas C;
  C.Font()->Assign(Font());
  int H = C.TextHeight("0") + 4;
  if (FSmallImages) H = std::max(H, FSmallImages->Height() + 1);
  return H;
}

int TCustomListView::HeaderHeight() const {
  if (FViewStyle != vsReport || !FShowColumnHeaders) return 0;
  TCanvas C;
  C.Font()->Assign(Font());
  return C.TextHeight("0") + 8;
}

int TCustomListView::VisibleRowCount() const {
  return std::max(0, (ClientHeight() - HeaderHeight()) / RowHeight());
}

void TCustomListView::Scroll(int Rows) {
  int Max = std::max(0, FItems->Count() - VisibleRowCount());
  int Top = std::clamp(FTopIndex + Rows, 0, Max);
  if (Top == FTopIndex) return;
  FTopIndex = Top;
  Redraw();
}

TRect TCustomListView::ItemRect(int Index) const {
  int Y = HeaderHeight() + (Index - FTopIndex) * RowHeight();
  int Right = 0;
  if (FViewStyle == vsReport && FColumns->Count() > 0) {
    if (FRowSelect)
      for (int I = 0; I < FColumns->Count(); ++I) Right += FColumns->Items(I)->Width();
    else
      Right = FColumns->Items(0)->Width();
  } else {
    Right = ClientWidth();
  }
  return Rect(0, Y, std::min(Right, ClientWidth()), Y + RowHeight());
}

TListItem* TCustomListView::GetItemAt(int X, int Y) const {
  if (Y < HeaderHeight() || Y >= ClientHeight() || X < 0) return nullptr;
  int Row = (Y - HeaderHeight()) / RowHeight() + FTopIndex;
  if (Row < 0 || Row >= FItems->Count()) return nullptr;
  if (X >= ItemRect(Row).Right) return nullptr;
  return FItems->FItems[size_t(Row)];
}

int TCustomListView::AutoColumnWidth(int Index) const {
  TCanvas C;
  C.Font()->Assign(Font());
  int W = 0;
  for (TListItem* I : FItems->FItems) {
    String Text = Index == 0                           ? I->Caption()
                  : Index - 1 < I->SubItems()->Count() ? I->SubItems()->Strings(Index - 1)
                                                       : String();
    W = std::max(W, C.TextWidth(Text));
  }
  int Image = Index == 0 && FSmallImages ? FSmallImages->Width() + 2 : 0;
  return W + Image + 12;
}

void TCustomListView::SetDropTarget(TListItem* Value) {
  if (Value == FDropTarget) return;
  FDropTarget = Value;
  Redraw();
}

void TCustomListView::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  TWinControl::DragOver(Source, X, Y, State, Accept);
  SetDropTarget(State != dsDragLeave && Accept ? GetItemAt(X, Y) : nullptr);
}

void TCustomListView::DragDrop(TObject* Source, int X, int Y) {
  SetDropTarget(nullptr);
  TWinControl::DragDrop(Source, X, Y);
}

void TCustomListView::ClearSelection() {
  for (TListItem* I : std::vector<TListItem*>(FItems->FItems))
    if (I->Selected()) I->SetSelected(false);
}

void TCustomListView::SelectAll() {
  if (!FMultiSelect) return;
  for (TListItem* I : std::vector<TListItem*>(FItems->FItems)) I->SetSelected(true);
}

void TCustomListView::ClickSelect(int Index, TShiftState Shift) {
  FPending = nullptr;
  if (Index < 0) {
    if (!Shift.Contains(ssCtrl)) ClearSelection();
    return;
  }
  TListItem* Item = FItems->FItems[size_t(Index)];
  if (FMultiSelect && Shift.Contains(ssCtrl)) {
    Item->SetSelected(!Item->Selected());
    Item->SetFocused(true);
    FAnchor = Item;
    return;
  }
  if (FMultiSelect && Shift.Contains(ssShift)) {
    TListItem* Anchor = FAnchor ? FAnchor : ItemFocused() ? ItemFocused() : Item;
    int A = FItems->IndexOf(Anchor), B = Index;
    if (A > B) std::swap(A, B);
    for (int I = 0; I < FItems->Count(); ++I)
      if (I < A || I > B) FItems->FItems[size_t(I)]->SetSelected(false);
    for (int I = A; I <= B; ++I) FItems->FItems[size_t(I)]->SetSelected(true);
    Item->SetFocused(true);
    return;
  }
  if (Item->Selected() && FMultiSelect && SelCount() > 1) {
    // The selection stays as it is while the button is down: a drag takes all of it.
    FPending = Item;
    Item->SetFocused(true);
    return;
  }
  for (TListItem* I : std::vector<TListItem*>(FItems->FItems))
    if (I != Item && I->Selected()) I->SetSelected(false);
  Item->SetSelected(true);
  Item->SetFocused(true);
  FAnchor = Item;
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft || !Selected()) {
    TListItem* Item = GetItemAt(X, Y);
    ClickSelect(Item ? Item->Index() : -1, Shift);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (TListItem* P = FPending) {
    FPending = nullptr;
    for (TListItem* I : std::vector<TListItem*>(FItems->FItems))
      if (I != P && I->Selected()) I->SetSelected(false);
    FAnchor = P;
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TCustomListView::DefaultKeyDown(Word Key, TShiftState Shift) {
  int N = FItems->Count();
  if (N == 0) return;
  TListItem* F = ItemFocused();
  int At = F ? F->Index() : -1;
  int To;
  switch (Key) {
    case VK_UP:
      To = std::max(0, At - 1);
      break;
    case VK_DOWN:
      To = std::min(N - 1, At + 1);
      break;
    case VK_HOME:
      To = 0;
      break;
    case VK_END:
      To = N - 1;
      break;
    case VK_PRIOR:
      To = std::max(0, At - std::max(1, VisibleRowCount() - 1));
      break;
    case VK_NEXT:
      To = std::min(N - 1, At + std::max(1, VisibleRowCount() - 1));
      break;
    case VK_SPACE:
      if (F && Shift.Contains(ssCtrl) && FMultiSelect) F->SetSelected(!F->Selected());
      return;
    default:
      return;
  }
  FItems->FItems[size_t(To)]->MakeVisible(false);
  if (Shift.Contains(ssCtrl) && FMultiSelect) {
    FItems->FItems[size_t(To)]->SetFocused(true);
    return;
  }
  ClickSelect(To, Shift.Contains(ssShift) ? TShiftState{ssShift} : TShiftState());
}

void TCustomListView::DefaultKeyPress(char Key) {
  // Typing a character selects the next item whose caption starts with it.
  if (static_cast<unsigned char>(Key) <= 32 || FItems->Count() == 0) return;
  TListItem* F = ItemFocused();
  int From = F ? F->Index() + 1 : 0, N = FItems->Count();
  for (int K = 0; K < N; ++K) {
    TListItem* I = FItems->FItems[size_t((From + K) % N)];
    if (!I->Caption().empty() && std::toupper(static_cast<unsigned char>(I->Caption()[0])) ==
                                     std::toupper(static_cast<unsigned char>(Key))) {
      I->MakeVisible(false);
      ClickSelect(I->Index(), TShiftState());
      return;
    }
  }
}

void TCustomListView::Paint(TCanvas* Canvas) {
  int W = Width(), H = Height();
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, W, H));
  om_paint::SunkenBorder(Canvas, Rect(0, 0, W, H));
  TRect M = BorderMargins();
  TPoint SavedOrigin = Canvas->Origin();
  TRect SavedClip = Canvas->ClipRect();
  Canvas->SetOrigin(Point(SavedOrigin.X + M.Left, SavedOrigin.Y + M.Top));
  Canvas->SetClipRect(IntersectRect(Rect(SavedClip.Left - M.Left, SavedClip.Top - M.Top,
                                         SavedClip.Right - M.Left, SavedClip.Bottom - M.Top),
                                    Rect(0, 0, ClientWidth(), ClientHeight())));
  int HH = HeaderHeight();
  if (HH > 0) {
    int X = 0;
    for (int I = 0; I < FColumns->Count(); ++I) {
      int CW = FColumns->Items(I)->Width();
      om_paint::ButtonFace(Canvas, Rect(X, 0, X + CW, HH), false);
      Canvas->Brush()->SetStyle(bsClear);
      Canvas->TextRect(Rect(X + 2, 0, X + CW - 2, HH), X + 6, 4, FColumns->Items(I)->Caption());
      X += CW;
    }
  }
  bool ShowSel = Focused() || !FHideSelection;
  // Every row is as wide as the first: a column sized to its contents measures them all.
  TRect First = ItemRect(FTopIndex);
  int RH = RowHeight();
  for (int I = FTopIndex; I < FItems->Count(); ++I) {
    int Down = (I - FTopIndex) * RH;
    TRect R = Rect(First.Left, First.Top + Down, First.Right, First.Bottom + Down);
    if (R.Top >= ClientHeight()) break;
    TListItem* Item = FItems->FItems[size_t(I)];
    int X = 2;
    if (FSmallImages) {
      FSmallImages->Draw(Canvas, X, R.Top + (R.Height() - FSmallImages->Height()) / 2,
                         Item->ImageIndex());
      X += FSmallImages->Width() + 2;
    }
    TBrushStyle Style = Canvas->Brush()->Style();
    TRect Text =
        Rect(X, R.Top,
             FRowSelect ? R.Right : std::min(R.Right, X + Canvas->TextWidth(Item->Caption()) + 4),
             R.Bottom);
    if (Item == FDropTarget) {
      Canvas->Brush()->SetColor(clHighlight);
      Canvas->Font()->SetColor(clHighlightText);
    } else if (Item->Selected() && ShowSel) {
      Canvas->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
      Canvas->Font()->SetColor(Focused() ? clHighlightText : clWindowText);
    } else {
      Canvas->Brush()->SetColor(Color());
      Canvas->Font()->SetColor(Font()->Color());
      // On the list's own colour, filled above: a list of many rows paints only text.
      Canvas->Brush()->SetStyle(bsClear);
    }
    Canvas->TextRect(Text, X + 2, R.Top + 2, Item->Caption());
    Canvas->Brush()->SetStyle(Style);
    if (Item->Focused() && Focused()) {
      Canvas->Brush()->SetColor(clGray);
      Canvas->FrameRect(Text);
    }
  }
  Canvas->SetOrigin(SavedOrigin);
  Canvas->SetClipRect(SavedClip);
}

// --- TToolButton ---------------------------------------------------------------------------------

template <>
struct TPublished<TToolButton> {
  static constexpr TPropInfo Props[] = {
      Property<&TToolButton::GetWidth, &TToolButton::SetWidthProp, &TToolButton::IsWidthStored>(
          "Width", NoDefault),
      Property<&TToolButton::Height, &TToolButton::SetHeight, &TToolButton::IsHeightStored>(
          "Height", NoDefault),
      Property<&TToolButton::Action, &TToolButton::SetAction>("Action"),
      Property<&TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp>("AllowAllUp", 0),
      Property<&TToolButton::Caption, &TToolButton::SetCaption, &TToolButton::IsCaptionStored>(
          "Caption"),
      Property<&TToolButton::Down, &TToolButton::SetDown, &TToolButton::IsDownStored>("Down", 0),
      Property<&TToolButton::Enabled, &TToolButton::SetEnabled, &TToolButton::IsEnabledStored>(
          "Enabled", 1),
      Property<&TToolButton::Grouped, &TToolButton::SetGrouped>("Grouped", 0),
      Property<&TToolButton::ImageIndex, &TToolButton::SetImageIndex,
               &TToolButton::IsImageIndexStored>("ImageIndex", -1),
      Property<&TToolButton::Indeterminate, &TToolButton::SetIndeterminate>("Indeterminate", 0),
      Property<&TToolButton::ParentShowHint, &TToolButton::SetParentShowHint>("ParentShowHint", 1),
      Property<&TToolButton::PopupMenu, &TToolButton::SetPopupMenu>("PopupMenu"),
      Property<&TToolButton::ShowHint, &TToolButton::SetShowHint, &TToolButton::IsShowHintStored>(
          "ShowHint", NoDefault),
      Property<&TToolButton::Style, &TToolButton::SetStyle>("Style", tbsButton),
      Property<&TToolButton::Visible, &TToolButton::SetVisible, &TToolButton::IsVisibleStored>(
          "Visible", 1),
      Property<&TToolButton::Wrap, &TToolButton::SetWrap>("Wrap", 0),
      Property<&TToolButton::OnClick, &TToolButton::OnClick>("OnClick"),
  };
};
OM_IMPLEMENT_CLASS(TToolButton, "ComCtrls");

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 23, 22); }

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Invalidate();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  if (IsSeparator() && !FWidthSet && !ComponentState().Contains(csLoading)) SetWidth(8);
  if (TToolBar* B = ToolBar()) B->ArrangeButtons();
}

void TToolButton::SetWidthProp(int Value) {
  FWidthSet = true;
  SetWidth(Value);
  if (TToolBar* B = ToolBar()) B->ArrangeButtons();
}

bool TToolButton::IsWidthStored() const { return IsSeparator(); }

bool TToolButton::IsImageIndexStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->ImageIndex() != FImageIndex;
}

bool TToolButton::IsDownStored() const {
  TCustomAction* A = LinkedAction();
  return !A || A->Checked() != FDown;
}

void TToolButton::SetDown(bool Value) {
  if (Value == FDown) return;
  if (!Value && FGrouped && !FAllowAllUp && FStyle == tbsCheck &&
      !ComponentState().Contains(csLoading)) {
    // The last button down of a group without all-up stays down.
    bool Other = false;
    if (TToolBar* B = ToolBar())
      for (int I = 0; I < B->ButtonCount(); ++I)
        if (B->Buttons(I) != this && B->Buttons(I)->FGrouped && B->Buttons(I)->FDown) Other = true;
    if (!Other) return;
  }
  FDown = Value;
  // Down in a group: the others of the group (the adjacent grouped check buttons) go up.
  if (Value && FGrouped && FStyle == tbsCheck)
    if (TToolBar* B = ToolBar()) {
      int Me = -1;
      for (int I = 0; I < B->ButtonCount(); ++I)
        if (B->Buttons(I) == this) Me = I;
      for (int Dir : {-1, 1})
        for (int I = Me + Dir; I >= 0 && I < B->ButtonCount(); I += Dir) {
          TToolButton* O = B->Buttons(I);
          if (!O->FGrouped || O->FStyle != tbsCheck) break;
          O->FDown = false;
          O->Invalidate();
        }
    }
  Invalidate();
}

void TToolButton::Click() {
  if (FStyle == tbsCheck) {
    if (!FDown)
      SetDown(true);
    else if (!FGrouped || FAllowAllUp)
      SetDown(false);
  }
  TGraphicControl::Click();
}

void TToolButton::ActionUpdated(TCustomAction* Action, bool CheckDefaults, TActionChange What) {
  TGraphicControl::ActionUpdated(Action, CheckDefaults, What);
  if (ActionChangeReaches(What, acImageIndex) && (!CheckDefaults || FImageIndex == -1))
    SetImageIndex(Action->ImageIndex());
  if (ActionChangeReaches(What, acChecked) && (!CheckDefaults || !FDown))
    SetDown(Action->Checked());
}

void TToolButton::TextChanged() {
  if (TToolBar* B = ToolBar())
    if (B->ShowCaptions()) B->ArrangeButtons();
}

void TToolButton::VisibleChanged() {
  if (TToolBar* B = ToolBar()) B->ArrangeButtons();
}

void TToolButton::Paint(TCanvas* Canvas) {
  TToolBar* B = ToolBar();
  TRect R = Rect(0, 0, Width(), Height());
  if (IsSeparator()) {
    if (FStyle == tbsDivider)
      om_paint::Frame3D(Canvas, Rect(Width() / 2 - 1, 0, Width() / 2 + 1, Height()),
                        TColor(0x80000010), TColor(0x80000014));
    return;
  }
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(R);
  if (FDown)
    om_paint::Frame3D(Canvas, R, TColor(0x80000010), TColor(0x80000014));
  else if (!B || !B->Flat())
    om_paint::Frame3D(Canvas, R, TColor(0x80000014), TColor(0x80000010));
  TCustomImageList* Images = B ? B->Images() : nullptr;
  bool Captions = B && B->ShowCaptions();
  int TextH = Canvas->TextHeight("0");
  if (Images && FImageIndex >= 0) {
    int Y = Captions ? 3 : (Height() - Images->Height()) / 2;
    Images->Draw(Canvas, (Width() - Images->Width()) / 2 + (FDown ? 1 : 0), Y + (FDown ? 1 : 0),
                 FImageIndex, IsEnabledOnScreen());
  }
  if (Captions) {
    String T = StripHotkey(Caption());
    int Y = Images ? 3 + Images->Height() + 1 : (Height() - TextH) / 2;
    om_paint::AccelText(Canvas, (Width() - Canvas->TextWidth(T)) / 2, Y, Caption(),
                        IsEnabledOnScreen());
  }
}

// --- TToolBar ------------------------------------------------------------------------------------

template <>
struct TPublished<TToolBar> {
  static constexpr TPropInfo Props[] = {
      Property<&TToolBar::Align, &TToolBar::SetAlign>("Align", alTop),
      Property<&TToolBar::AutoSize, &TToolBar::SetAutoSize>("AutoSize", 0),
      Property<&TToolBar::BorderWidth, &TToolBar::SetBorderWidth>("BorderWidth", 0),
      Property<&TToolBar::ButtonHeight, &TToolBar::SetButtonHeight>("ButtonHeight", 22),
      Property<&TToolBar::ButtonWidth, &TToolBar::SetButtonWidth>("ButtonWidth", 23),
      Property<&TToolBar::Caption, &TToolBar::SetCaption>("Caption"),
      Property<&TToolBar::Color, &TToolBar::SetColor, &TToolBar::IsColorStored>("Color", clBtnFace),
      Property<&TToolBar::Constraints, &TToolBar::SetConstraints>("Constraints"),
      Property<&TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders>("EdgeBorders", 1 << ebTop),
      Property<&TToolBar::Enabled, &TToolBar::SetEnabled>("Enabled", 1),
      Property<&TToolBar::Flat, &TToolBar::SetFlat>("Flat", 0),
      Property<&TToolBar::Font, &TToolBar::SetFont, &TToolBar::IsFontStored>("Font"),
      Property<&TToolBar::Images, &TToolBar::SetImages>("Images"),
      Property<&TToolBar::Indent, &TToolBar::SetIndent>("Indent", 0),
      Property<&TToolBar::ParentColor, &TToolBar::SetParentColor>("ParentColor", 0),
      Property<&TToolBar::ParentFont, &TToolBar::SetParentFont>("ParentFont", 1),
      Property<&TToolBar::ParentShowHint, &TToolBar::SetParentShowHint>("ParentShowHint", 1),
      Property<&TToolBar::PopupMenu, &TToolBar::SetPopupMenu>("PopupMenu"),
      Property<&TToolBar::ShowCaptions, &TToolBar::SetShowCaptions>("ShowCaptions", 0),
      Property<&TToolBar::ShowHint, &TToolBar::SetShowHint, &TToolBar::IsShowHintStored>("ShowHint",
                                                                                         NoDefault),
      Property<&TToolBar::TabOrder, &TToolBar::SetTabOrder>("TabOrder", -1),
      Property<&TToolBar::Visible, &TToolBar::SetVisible>("Visible", 1),
      Property<&TToolBar::Wrapable, &TToolBar::SetWrapable>("Wrapable", 1),
      Property<&TToolBar::OnClick, &TToolBar::OnClick>("OnClick"),
      Property<&TToolBar::OnResize, &TToolBar::OnResize>("OnResize"),
  };
};
OM_IMPLEMENT_CLASS(TToolBar, "ComCtrls");

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  SetColor(clBtnFace);
}

TToolBar::~TToolBar() { Destroying(); }

int TToolBar::ButtonCount() const {
  int N = 0;
  for (int I = 0; I < ControlCount(); ++I)
    if (dynamic_cast<TToolButton*>(Controls(I))) ++N;
  return N;
}

TToolButton* TToolBar::Buttons(int Index) const {
  int N = 0;
  for (int I = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TToolButton*>(Controls(I))) {
      if (N == Index) return B;
      ++N;
    }
  throw EListError(Format("Button index out of bounds (%d)", {Index}));
}

void TToolBar::SetButtonHeight(int Value) {
  if (Value == FButtonHeight) return;
  FButtonHeight = std::max(1, Value);
  ArrangeButtons();
}

void TToolBar::SetButtonWidth(int Value) {
  if (Value == FButtonWidth) return;
  FButtonWidth = std::max(1, Value);
  ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool Value) {
  if (Value == FShowCaptions) return;
  FShowCaptions = Value;
  if (Value && !ComponentState().Contains(csLoading)) {
    // The buttons grow to hold the widest caption under the images.
    TCanvas C;
    C.Font()->Assign(Font());
    int TextW = 0;
    for (int I = 0; I < ButtonCount(); ++I)
      if (!Buttons(I)->IsSeparator())
        TextW = std::max(TextW, C.TextWidth(StripHotkey(Buttons(I)->Caption())));
    int ImageW = FImages ? FImages->Width() : 16, ImageH = FImages ? FImages->Height() : 16;
    FButtonWidth = std::max(FButtonWidth, std::max(TextW, ImageW) + 8);
    FButtonHeight = std::max(FButtonHeight, ImageH + C.TextHeight("0") + 7);
  }
  ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TToolBar::SetIndent(int Value) {
  FIndent = std::max(0, Value);
  ArrangeButtons();
}

void TToolBar::SetWrapable(bool Value) {
  FWrapable = Value;
  ArrangeButtons();
}

void TToolBar::SetEdgeBorders(TEdgeBorders Value) {
  FEdgeBorders = Value;
  ArrangeButtons();
}

TRect TToolBar::AlignRect() const { return ClientRect(); }

TRect TToolBar::BorderMargins() const {
  TRect M = TWinControl::BorderMargins();
  if (FEdgeBorders.Contains(ebLeft)) M.Left += 2;
  if (FEdgeBorders.Contains(ebTop)) M.Top += 2;
  if (FEdgeBorders.Contains(ebRight)) M.Right += 2;
  if (FEdgeBorders.Contains(ebBottom)) M.Bottom += 2;
  return M;
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  ArrangeButtons();
}

void TToolBar::AlignControls() {
  TWinControl::AlignControls();
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  if (FArranging || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
    return;
  FArranging = true;
  int X = FIndent, Y = 0;
  for (int I = 0; I < ControlCount(); ++I) {
    auto* B = dynamic_cast<TToolButton*>(Controls(I));
    if (!B || !B->Visible()) continue;
    int W = B->IsSeparator() ? B->Width() : FButtonWidth;
    if (FWrapable && X > FIndent && X + W > ClientWidth() && !B->IsSeparator()) {
      X = FIndent;
      Y += FButtonHeight;
    }
    B->SetBounds(X, Y, W, FButtonHeight);
    X += W;
    if (B->Wrap()) {
      X = FIndent;
      Y += FButtonHeight;
    }
  }
  if (FAutoSize) {
    TRect M = BorderMargins();
    SetHeight(Y + FButtonHeight + M.Top + M.Bottom);
  }
  FArranging = false;
}

void TToolBar::Paint(TCanvas* Canvas) {
  int W = Width(), H = Height();
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, W, H));
  TColor Dark = TColor(0x80000010), Light = TColor(0x80000014);
  auto HLine = [&](int Y, TColor C) {
    Canvas->Pen()->SetColor(C);
    Canvas->MoveTo(0, Y);
    Canvas->LineTo(W, Y);
  };
  if (FEdgeBorders.Contains(ebTop)) {
    HLine(0, Dark);
    HLine(1, Light);
  }
  if (FEdgeBorders.Contains(ebBottom)) {
    HLine(H - 2, Dark);
    HLine(H - 1, Light);
  }
}
