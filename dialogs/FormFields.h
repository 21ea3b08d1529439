// Binding a form class's control fields to the components its form description created.
#pragma once

#include "Forms.h"
#include "SysUtils.h"

namespace FormFields {
// Field takes the component called Name; a description without it, or with another class
// under that name, is refused rather than left to be met as a null pointer later.
template <class T>
void Bind(TComponent* Root, T*& Field, const char* Name) {
  Field = dynamic_cast<T*>(Root->FindComponent(Name));
  if (!Field)
    throw EResNotFound(
        Format("Form description of %s has no %s", {Root->ClassName(), String(Name)}));
}
}  // namespace FormFields
