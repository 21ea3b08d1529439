// ComCtrls: list views and tool bars.
#pragma once

#include <span>
#include <vector>

#include "Controls.h"

class TCustomListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
OM_ENUM_TYPE(TViewStyle)
enum TItemState { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
OM_ENUM_TYPE(TItemState)
OM_SET_TYPE(TItemStates, TItemState)
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemChange { ctText, ctImage, ctState };
enum THotTrackStyle { htHandPoint, htUnderlineCold, htUnderlineHot };
OM_ENUM_TYPE(THotTrackStyle)
OM_SET_TYPE(THotTrackStyles, THotTrackStyle)

class PACKAGE TListColumn : public TCollectionItem {
  OM_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* Collection);
  void Assign(TPersistent* Source) override;
  const String& Caption() const noexcept { return FCaption; }
  void SetCaption(const String& Value);
  TAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  bool AutoSize() const noexcept { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  // The width in pixels. Setting -1 makes the column as wide as its widest item
  // caption, -2 as wide as its header caption; reading gives the pixels that came of it.
  int Width() const;
  void SetWidth(int Value);

 protected:
  String GetDisplayName() const override;

 private:
  TCustomListView* ListView() const;
  String FCaption;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
  int FWidth = 50;
};

class PACKAGE TListColumns : public TCollection {
  OM_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView* AOwner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int Index) const {
    return static_cast<TListColumn*>(TCollection::Items(Index));
  }
  TCustomListView* Owner() const noexcept { return FOwner; }

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;

 private:
  TCustomListView* FOwner;
};

class PACKAGE TListItem : public TPersistent {
  OM_CLASS(TListItem, TPersistent)
 public:
  explicit TListItem(TListItems* AOwner);
  ~TListItem() override;
  TListItems* Owner() const noexcept { return FOwner; }
  TCustomListView* ListView() const;
  const String& Caption() const noexcept { return FCaption; }
  void SetCaption(const String& Value);
  void* Data() const noexcept { return FData; }
  void SetData(void* Value) { FData = Value; }
  int ImageIndex() const noexcept { return FImageIndex; }
  void SetImageIndex(int Value);
  TStrings* SubItems() const;
  bool Selected() const noexcept { return FSelected; }
  // Selecting or deselecting an item fires the list's OnSelectItem.
  void SetSelected(bool Value);
  bool Focused() const noexcept { return FFocused; }
  void SetFocused(bool Value);
  int Index() const;
  void Delete();
  void MakeVisible(bool PartialOK);
  TRect DisplayRect() const;

 private:
  friend class TListItems;
  friend class TCustomListView;
  TListItems* FOwner;
  String FCaption;
  void* FData = nullptr;
  int FImageIndex = -1;
  // Made when first asked for: most lists never have sub-items, and some have rows by
  // the ten thousand.
  mutable std::unique_ptr<TStringList> FSubItems;
  bool FSelected = false;
  bool FFocused = false;
  bool FSeen = false;  // while a new order is checked
};

class PACKAGE TListItems : public TPersistent {
  OM_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TCustomListView* AOwner);
  ~TListItems() override;
  TCustomListView* Owner() const noexcept { return FOwner; }
  int Count() const noexcept { return int(FItems.size()); }
  // Inline: walks over every row ask for each one, some of them several times.
  TListItem* Item(int Index) const {
    if (Index < 0 || size_t(Index) >= FItems.size()) ListIndexError(Index);
    return FItems[size_t(Index)];
  }
  TListItem* operator[](int Index) const { return Item(Index); }
  TListItem* Add();
  // A new item at Index; the items from there move down one.
  TListItem* Insert(int Index);
  void Delete(int Index);
  // Deletes the items given, each an item of this list and given once, in any order; the
  // others keep their order, captions, data, selection and focus. One pass over the list
  // and one redraw, where deleting them one by one would shift the rest for each. A wrong
  // set leaves the list as it was.
  void DeleteItems(std::span<TListItem* const> Doomed);
  void Clear();
  // As Clear and Count Adds, in one pass and one redraw, but the items the list has keep
  // their objects and their captions' storage, emptied: a list of many thousand rows is
  // rebuilt without an allocation a row. With an OnDeletion handler, which must see each
  // item go, it is Clear and Count Adds.
  void Refill(int Count);
  // Puts the items in the order given, which holds each of them once, in one pass; every
  // item keeps its caption, data, selection and focus. One redraw.
  void Reorder(std::span<TListItem* const> Order);
  int IndexOf(const TListItem* Value) const;
  // Holds the list's redrawing until the last EndUpdate, which redraws once.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const noexcept { return FUpdateCount; }

 private:
  friend class TListItem;
  friend class TCustomListView;
  void Free(TListItem* I);
  TCustomListView* FOwner;
  std::vector<TListItem*> FItems;
  int FUpdateCount = 0;
  // Kept as items change, so that asking for the selection or the focus of a list with
  // many thousand rows does not walk them all.
  int FSelCount = 0;
  TListItem* FFocused = nullptr;
};

OM_EVENT_TYPE(TLVSelectItemEvent, TObject*, TListItem*, bool)
OM_EVENT_TYPE(TLVDeletedEvent, TObject*, TListItem*)

// A list of items; in report view, rows under columns. Items are selected by clicks
// (Ctrl adds or removes one, Shift selects a range from the focused item), by keys and
// by code; every change of an item's selection fires OnSelectItem. Redraws are counted:
// each change outside BeginUpdate/EndUpdate redraws, a whole update once.
class PACKAGE TCustomListView : public TWinControl {
  OM_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListItems* Items() const noexcept { return FItems; }
  TListColumns* Columns() const noexcept { return FColumns; }
  void SetColumns(TListColumns* Value) { FColumns->Assign(Value); }
  TListColumn* Column(int Index) const { return FColumns->Items(Index); }
  TViewStyle ViewStyle() const noexcept { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  bool MultiSelect() const noexcept { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool RowSelect() const noexcept { return FRowSelect; }
  void SetRowSelect(bool Value) { FRowSelect = Value; }
  bool ReadOnly() const noexcept { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool HideSelection() const noexcept { return FHideSelection; }
  void SetHideSelection(bool Value) { FHideSelection = Value; }
  bool ShowColumnHeaders() const noexcept { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);
  bool HotTrack() const noexcept { return FHotTrack; }
  void SetHotTrack(bool Value) { FHotTrack = Value; }
  THotTrackStyles HotTrackStyles() const noexcept { return FHotTrackStyles; }
  void SetHotTrackStyles(THotTrackStyles Value) { FHotTrackStyles = Value; }
  TCustomImageList* SmallImages() const noexcept { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* LargeImages() const noexcept { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);

  // The first selected item (the lowest index), or null; setting selects only that.
  TListItem* Selected() const;
  void SetSelected(TListItem* Value);
  int SelCount() const;
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* Value);
  // The next item after StartItem (from the first with null) with all of States.
  TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction,
                         TItemStates States) const;
  // The item under a point of the client area, or null.
  TListItem* GetItemAt(int X, int Y) const;
  // Where an item's row is, in client coordinates.
  TRect ItemRect(int Index) const;
  int RowHeight() const;
  int HeaderHeight() const;
  int TopIndex() const noexcept { return FTopIndex; }
  void Scroll(int Rows);
  int VisibleRowCount() const;
  void ClearSelection();
  void SelectAll();
  // The row drawn as the place of a drop while a drag that would be taken is over it.
  TListItem* DropTarget() const noexcept { return FDropTarget; }
  void SetDropTarget(TListItem* Value);
  // Redraws so far: every change outside an update, and each outermost EndUpdate.
  int RedrawCount() const noexcept { return FRedrawCount; }

  TLVSelectItemEvent OnSelectItem;
  TLVDeletedEvent OnDeletion;
  TNotifyEvent OnChange;

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // A drag over the list marks the row under it as the drop target when it would be taken.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void DefaultKeyDown(Word Key, TShiftState Shift) override;
  void DefaultKeyPress(char Key) override;
  void Paint(TCanvas* Canvas) override;
  TRect BorderMargins() const override { return Rect(2, 2, 2, 2); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void SelectItem(TListItem* Item, bool Selected);

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  void Redraw();
  int AutoColumnWidth(int Index) const;
  void ClickSelect(int Index, TShiftState Shift);
  TListItems* FItems;
  TListColumns* FColumns;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false;
  bool FRowSelect = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FShowColumnHeaders = true;
  bool FHotTrack = false;
  THotTrackStyles FHotTrackStyles;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  int FTopIndex = 0;
  int FRedrawCount = 0;
  TListItem* FAnchor = nullptr;
  TListItem* FPending = nullptr;  // pressed while selected: selected alone unless dragged
  TListItem* FDropTarget = nullptr;
};

class PACKAGE TListView : public TCustomListView {
  OM_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

// --- Tool bars ------------------------------------------------------------------------

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
OM_ENUM_TYPE(TToolButtonStyle)
enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
OM_ENUM_TYPE(TEdgeBorder)
OM_SET_TYPE(TEdgeBorders, TEdgeBorder)

// A button of a tool bar. A check-style button stays down when clicked until clicked
// again; grouped check buttons release each other, and with AllowAllUp all may be up.
// Linked to an action, it takes the action's caption, hint, image and checked state.
class PACKAGE TToolButton : public TGraphicControl {
  OM_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* AOwner);
  TToolBar* ToolBar() const;
  int ImageIndex() const noexcept { return FImageIndex; }
  void SetImageIndex(int Value);
  TToolButtonStyle Style() const noexcept { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  bool Grouped() const noexcept { return FGrouped; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  bool AllowAllUp() const noexcept { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool Down() const noexcept { return FDown; }
  void SetDown(bool Value);
  bool Wrap() const noexcept { return FWrap; }
  void SetWrap(bool Value) { FWrap = Value; }
  bool Indeterminate() const noexcept { return FIndeterminate; }
  void SetIndeterminate(bool Value) { FIndeterminate = Value; }
  bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
  void Click() override;
  void Paint(TCanvas* Canvas) override;

 protected:
  void ActionUpdated(TCustomAction* Action, bool CheckDefaults, TActionChange What) override;
  void TextChanged() override;
  void VisibleChanged() override;

 private:
  bool IsImageIndexStored() const;
  bool IsDownStored() const;
  bool IsWidthStored() const;
  bool IsHeightStored() const { return false; }  // the bar's button height
  int GetWidth() const { return Width(); }
  void SetWidthProp(int Value);
  int FImageIndex = -1;
  TToolButtonStyle FStyle = tbsButton;
  bool FGrouped = false;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FWrap = false;
  bool FIndeterminate = false;
  bool FWidthSet = false;
};

// A row of tool buttons laid out left to right from Indent, each ButtonWidth by
// ButtonHeight; with ShowCaptions the buttons grow to hold their captions under their
// images.
class PACKAGE TToolBar : public TWinControl {
  OM_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;
  bool AcceptsControls() const override { return true; }
  int ButtonCount() const;
  TToolButton* Buttons(int Index) const;
  int ButtonHeight() const noexcept { return FButtonHeight; }
  void SetButtonHeight(int Value);
  int ButtonWidth() const noexcept { return FButtonWidth; }
  void SetButtonWidth(int Value);
  bool ShowCaptions() const noexcept { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  TCustomImageList* Images() const noexcept { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool Flat() const noexcept { return FFlat; }
  void SetFlat(bool Value) { FFlat = Value; }
  int Indent() const noexcept { return FIndent; }
  void SetIndent(int Value);
  bool Wrapable() const noexcept { return FWrapable; }
  void SetWrapable(bool Value);
  TEdgeBorders EdgeBorders() const noexcept { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);
  bool AutoSize() const noexcept { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  // Lays out the buttons again (they move and size with the bar's settings).
  void ArrangeButtons();
  void Paint(TCanvas* Canvas) override;
  // Each edge border takes two pixels, inside the border width.
  TRect BorderMargins() const override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  TRect AlignRect() const override;
  void AlignControls() override;

 private:
  friend class TToolButton;
  int FButtonHeight = 22;
  int FButtonWidth = 23;
  bool FShowCaptions = false;
  TCustomImageList* FImages = nullptr;
  bool FFlat = false;
  int FIndent = 0;
  bool FWrapable = true;
  TEdgeBorders FEdgeBorders{ebTop};
  bool FAutoSize = false;
  bool FArranging = false;
};
