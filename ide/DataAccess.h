// The IDE's side of data access: the classes forms may hold, and the folder a form's
// relative database names are taken from.
#pragma once

#include "System.h"

// While one of these lives, datasets made (a form file being read, a component dropped on
// a form or pasted into it) take relative database names from the folder of that form
// file. The IDE opens each form file inside one. They nest; the innermost counts.
class PACKAGE TFormFolderScope {
 public:
  explicit TFormFolderScope(const String& FormFileName);
  ~TFormFolderScope();
  TFormFolderScope(const TFormFolderScope&) = delete;
  TFormFolderScope& operator=(const TFormFolderScope&) = delete;

 private:
  String FPrevious;
};

// The folder of the innermost scope, or empty.
PACKAGE String CurrentFormFolder();

// Data sources, datasets and fields, by class name for form files.
PACKAGE void RegisterDataClasses();
PACKAGE void UnRegisterDataClasses();

// The IDE's own editors of its data access components' properties (a dataset's table
// names from its database).
PACKAGE void RegisterDataAccessEditors();
