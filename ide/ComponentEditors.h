// The component editor host: a component's context menu (the editor's verbs, then the
// IDE's own items), running a verb, and double-click.
#pragma once

#include <vector>

#include "Designer.h"

struct TContextMenuItem {
  String Caption;  // "-" for a separator
  bool Enabled = true;
  bool Checked = false;
  bool Visible = true;
  int Verb = -1;   // the editor's verb, or -1 for an item of the IDE's own
};

// The menu a right-click on the component shows.
std::vector<TContextMenuItem> ComponentContextMenu(TDesigner* Designer, TComponent* Component);
// Chooses an item of that menu by its position; a disabled item or a separator does
// nothing, as in the IDE.
void ChooseContextMenuItem(TDesigner* Designer, TComponent* Component, int Position);
// The IDE's double-click on a component: its editor's Edit.
void DoubleClickComponent(TDesigner* Designer, TComponent* Component);
// The editor class the IDE uses for a component.
TComponentEditorClass ComponentEditorClassOf(TComponent* Component);
