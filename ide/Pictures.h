// Pictures of what a person looks at in the IDE besides its windows: the component
// palette, a component's context menu as it pops up, the object inspector, a property's
// open drop-down list, and the common file dialog while it waits for a name.
#pragma once

#include <memory>
#include <vector>

#include "ComponentEditors.h"
#include "Graphics.h"

class TObjectInspector;
class TOpenDialog;

namespace om_pictures {

// The object inspector's geometry: a row of the default font's height and a margin, a
// name column and a value column; a drop-down list is as wide as the value column.
constexpr int RowHeight = 18;
constexpr int NameWidth = 120;
constexpr int ValueWidth = 160;

// The palette with its page tabs, Page in front (the first page when empty); raises
// EConvertError when the palette has no such page or no page at all.
std::unique_ptr<TBitmap> Palette(const String& Page);
// The pop-up menu of these items; hidden items are left out.
std::unique_ptr<TBitmap> ContextMenu(const std::vector<TContextMenuItem>& Items);
// The inspector's window for its selection: the tab of the current row, its rows.
std::unique_ptr<TBitmap> Inspector(TObjectInspector& Inspector);
// The property's drop-down list as its editor draws it, in its list border; null when the
// property has no list.
std::unique_ptr<TBitmap> ValueList(TObjectInspector& Inspector, const String& Property);
// The file dialog as it waits: its folder, the files its chosen filter shows there, the
// name it offers, its filters and buttons.
std::unique_ptr<TBitmap> FileDialog(TOpenDialog* Dialog, const String& Title);

}  // namespace om_pictures
