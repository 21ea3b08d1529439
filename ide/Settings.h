// Where the IDE keeps its per-user settings, and the registry key the IDE reports to the
// packages it loads.
#pragma once

#include "System.h"

// The key below the current user under which this IDE release keeps its settings.
PACKAGE String IDEBaseRegistryKey();

// The settings store every TRegIniFile opens: the file set here (the IDE's command-line
// option), else $OMIDE_SETTINGS, else omide/settings.db in $XDG_CONFIG_HOME (when it is an
// absolute path), else in ~/.config. An empty name goes back to that order.
PACKAGE void SetSettingsStoreFile(const String& FileName);
PACKAGE String SettingsStoreFile();
