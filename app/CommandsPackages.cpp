// Packages and the component palette: what is loaded, what loading did, loading and
// unloading, and the pages the packages filled.
#include "Commands.h"
#include "Packages.h"
#include "Registries.h"

using namespace Commands;

void TSession::DefinePackageCommands() {
  Define("packages", "packages", "the loaded packages with their identity", "packages", {0, 0},
         [this](const auto&) {
           TCommandResult R;
           R.Json["packages"] = TJson::array();
           for (const auto& P : FIde->Packages().Packages()) {
             String Version;
             for (const auto& [K, V] : P->Version)
               if (K == "FileVersion") Version = V;
             R.Text += Format("%s  %s\n", {ExtractFileName(P->FileName), P->Description});
             R.Text += "  kind: " + P->Kind + "\n  release: " + IntToStr(P->HostRelease) +
                       "\n  version: " + Version + "\n";
             R.Text += "  requires: " + Join(P->Requires, ", ") +
                       "\n  contains: " + Join(P->Contains, ", ") + "\n";
             for (const String& E : P->Errors) R.Text += "  error: " + E + "\n";
             TJson V = TJson::object();
             for (const auto& [K, Val] : P->Version) V[K] = Val;
             R.Json["packages"].push_back({{"file", P->FileName},
                                           {"description", P->Description},
                                           {"kind", P->Kind},
                                           {"release", P->HostRelease},
                                           {"requires", P->Requires},
                                           {"contains", P->Contains},
                                           {"version", V},
                                           {"log", P->Log},
                                           {"errors", P->Errors}});
           }
           if (R.Text.empty()) R.Text = "(no package loaded)\n";
           return R;
         });

  Define("package-log", "package-log [NAME]",
         "what loading a package (the first by default) did, in order",
         "package-log DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0", {0, 1},
         [this](const auto& A) {
           const auto& All = FIde->Packages().Packages();
           TPackageRecord* P = A.empty() ? (All.empty() ? nullptr : All.front().get())
                                         : FIde->Packages().Find(A[0]);
           if (!P)
             throw EConvertError(A.empty() ? String("no package is loaded")
                                           : Format("no package %s is loaded", {A[0]}));
           TCommandResult R;
           R.Text = Join(P->Log, "\n") + "\n";
           R.Json["log"] = P->Log;
           return R;
         });

  Define(
      "load", "load FILE|NAME", "loads a design package (a bare name: the one beside omide)",
      "load DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0",
      {1, 1},
      [this](const auto& A) {
        String File =
            A[0].find('/') == String::npos ? PackageFileBesideIde(ChangeFileExt(A[0], "")) : A[0];
        TPackageRecord* P = FIde->Packages().Load(File);
        // Loaded, but a registration raised: the other registrations ran and stay, and
        // the load still fails, so that a script notices.
        if (!P->Errors.empty()) {
          String Why;
          for (const String& E : P->Errors) Why += (Why.empty() ? "" : "; ") + E;
          throw EConvertError(Format("%s was loaded, but not all of it registered: %s",
                                     {ExtractFileName(P->FileName), Why}));
        }
        TCommandResult R;
        R.Text = "loaded " + ExtractFileName(P->FileName) + "\n";
        R.Json["file"] = P->FileName;
        R.Json["errors"] = P->Errors;
        return R;
      },
      BehindModal);

  // Unloading frees the package's windows and closes its library: never while a window
  // of it, or code of it, waits on the stack for input.
  Define(
      "unload", "unload NAME", "unloads a design package",
      "unload DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0", {1, 1},
      [this](const auto& A) {
        TPackageRecord* P = FIde->Packages().Find(A[0]);
        if (!P) throw EConvertError(Format("no package %s is loaded", {A[0]}));
        String Name = ExtractFileName(P->FileName);
        FIde->Packages().Unload(P);
        TCommandResult R;
        R.Text = "unloaded " + Name + "\n";
        return R;
      },
      BehindModal);

  Define("palette", "palette", "the component palette: pages and their components",
         "palette", {0, 0},
         [](const auto&) {
           TCommandResult R;
           R.Json["pages"] = TJson::array();
           TRegistries& Reg = TRegistries::Instance();
           for (const String& Page : Reg.PalettePages()) {
             R.Text += Page + ":\n";
             TJson J = {{"page", Page}, {"components", TJson::array()}};
             for (const TPaletteEntry& E : Reg.Palette) {
               if (E.Page != Page) continue;
               String Bitmap = "no bitmap";
               int W = 0, H = 0, Bits = 0;
               if (E.Bitmap && E.Bitmap->Size >= 30) {
                 auto U32 = [&](size_t At) {
                   return int(E.Bitmap->Data[At] | E.Bitmap->Data[At + 1] << 8 |
                              E.Bitmap->Data[At + 2] << 16 | E.Bitmap->Data[At + 3] << 24);
                 };
                 W = U32(18);
                 H = U32(22);
                 Bits = E.Bitmap->Data[28];
                 Bitmap = Format("bitmap %s %dx%d, %d colours",
                                 {String(E.Bitmap->Name), W, H, 1 << Bits});
               }
               R.Text += "  " + Pad(E.ComponentClass->ClassName(), 26) + " " + Bitmap + "\n";
               J["components"].push_back({{"class", E.ComponentClass->ClassName()},
                                          {"unit", E.ComponentClass->UnitName},
                                          {"bitmap", E.Bitmap ? String(E.Bitmap->Name) : String()},
                                          {"width", W},
                                          {"height", H}});
             }
             R.Json["pages"].push_back(J);
           }
           if (R.Text.empty()) R.Text = "(the palette is empty)\n";
           return R;
         });
}
