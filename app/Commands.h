// What the files of omide's commands share: how they word usage errors and lay out text.
#pragma once

#include <vector>

#include "Session.h"

namespace Commands {

// A command's words could not be read as it takes them.
[[noreturn]] inline void Usage(const String& Text) { throw EConvertError("usage: " + Text); }

inline String Pad(const String& S, size_t Width) {
  return S.size() >= Width ? S : S + String(Width - S.size(), ' ');
}

inline String Join(const std::vector<String>& Items, const String& Sep) {
  String R;
  for (size_t I = 0; I < Items.size(); ++I) R += (I ? Sep : String()) + Items[I];
  return R;
}

// A component by its name (or its class when it has none), anything else by its path.
inline String ObjectName(TPersistent* P) {
  if (auto* C = dynamic_cast<TComponent*>(P))
    return C->Name().empty() ? "(" + C->ClassName() + ")" : C->Name();
  return P->GetNamePath();
}

}  // namespace Commands

// A window by its name; a message box has none, only its caption.
String WindowTitle(TCustomForm* F);
