// The form reader, as the IDE opens a form file with the package loaded: any text is
// either refused with a place and leaves no designer behind, or opens a form whose text,
// saved and opened again, reads back as the same text.
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "Ide.h"
#include "Packages.h"

namespace {

void Put(const std::string& File, const std::string& Text) {
  std::ofstream Out(File, std::ios::binary | std::ios::trunc);
  Out.write(Text.data(), std::streamsize(Text.size()));
}

TIde& Ide() {
  static TIde* I = [] {
    auto* Ide = new TIde;
    Ide->RegisterStandardComponents();
    Ide->Packages().Load(PackageFileBesideIde(OM_HOST_RELEASE == 5 ? "DCLOmbrix50" : "DCLOmbrix60"));
    return Ide;
  }();
  return *I;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TIde& I = Ide();
  const std::string File = OmFuzz::Scratch() + "/Fuzz.dfm";
  Put(File, std::string(reinterpret_cast<const char*>(Data), Size));
  String First;
  try {
    TDesigner* D = I.OpenForm(File);
    First = D->FormText();
    I.CloseDesigner(D);
  } catch (EReadError& E) {
    OM_FUZZ_CHECK(E.Line >= 1 && E.Column >= 1, E.Message);
    OM_FUZZ_CHECK(I.Designers().empty(), "a refused form left a designer");
    return 0;
  } catch (Exception& E) {
    OM_FUZZ_CHECK(!E.Message.empty(), E.ClassName());
    OM_FUZZ_CHECK(I.Designers().empty(), "a refused form left a designer");
    return 0;
  }
  OM_FUZZ_CHECK(I.Designers().empty(), "a closed form left a designer");
  Put(File, First);
  String Second;
  try {
    TDesigner* D = I.OpenForm(File);
    Second = D->FormText();
    I.CloseDesigner(D);
  } catch (Exception& E) {
    OmFuzz::Wrong("the IDE refused a form it wrote", E.Message + "\n" + First);
  }
  OM_FUZZ_CHECK(Second == First, "written:\n" + First + "\nread back and written:\n" + Second);
  return 0;
}
