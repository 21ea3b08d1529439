// The settings store's values: whatever bytes a value, a section or a name holds, a value
// reads back exactly as written, an integer is read only from plain decimal text that
// fits, and a Boolean is an integer other than 0. Input: SECTION \0 IDENT \0 VALUE.
#include <algorithm>
#include <climits>
#include <string>

#include "FuzzSupport.h"
#include "Registry.h"
#include "Settings.h"

namespace {

// Plain decimal text (an optional minus, digits) in the range of int, else the default.
int ModelInteger(const std::string& S, int Default) {
  size_t I = S.size() > 1 && S[0] == '-' ? 1 : 0;
  if (I == S.size()) return Default;
  long long V = 0;
  for (size_t J = I; J < S.size(); ++J) {
    if (S[J] < '0' || S[J] > '9') return Default;
    V = V * 10 + (S[J] - '0');
    if (V > (long long)INT_MAX + 1) return Default;
  }
  if (I) V = -V;
  return V < INT_MIN || V > INT_MAX ? Default : int(V);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool Once = [] {
    SetSettingsStoreFile(OmFuzz::Scratch() + "/settings.db");
    return true;
  }();
  (void)Once;
  const uint8_t *At = Data, *End = Data + Size;
  std::string Section = OmFuzz::Take(At, End), Ident = OmFuzz::Take(At, End), Value(reinterpret_cast<const char*>(At), size_t(End - At));
  try {
    TRegIniFile Reg("Software\\Fuzz");
    Reg.WriteString(Section, Ident, Value);
    String Back = Reg.ReadString(Section, Ident, "\x01missing");
    OM_FUZZ_CHECK(Back == Value, "wrote [" + Value + "], read [" + Back + "]");
    OM_FUZZ_CHECK(Reg.ValueExists(Section, Ident), Section + "/" + Ident);
    OM_FUZZ_CHECK(Reg.ReadInteger(Section, Ident, -7) == ModelInteger(Value, -7), Value);
    OM_FUZZ_CHECK(Reg.ReadBool(Section, Ident, true) == (ModelInteger(Value, 1) != 0), Value);
    Reg.DeleteKey(Section, Ident);
    OM_FUZZ_CHECK(!Reg.ValueExists(Section, Ident), Section + "/" + Ident);
  } catch (ERegistryException& E) {
    // A refusal is fine when it says where: the store and the key.
    OM_FUZZ_CHECK(E.Message.find("Settings store") != String::npos, E.Message);
  }
  return 0;
}
