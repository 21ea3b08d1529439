// What the registration units share: the palette page, the editors' first verbs, and how a
// category is named to the host (release 5 by its class, release 6 by its name).
#pragma once

namespace Omreg {
inline constexpr const char* PalettePage = "Data Controls";
inline constexpr const char* AboutVerb = "Ombrix Components";
inline constexpr const char* SeparatorVerb = "-";
}  // namespace Omreg

#if OM_HOST_RELEASE == 5
#define OM_CATEGORY(Class, Name) Class::StaticClass()
#else
#define OM_CATEGORY(Class, Name) Name
#endif
