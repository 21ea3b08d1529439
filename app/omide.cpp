// omide: the stand-in IDE's front end. For now it opens form files with the classes the
// host knows and shows them as the form file format writes them, or says what is wrong.
#include <cstdio>
#include <cstring>

#include "Classes.h"

namespace {

void Usage(FILE* Out) {
  std::fprintf(Out,
               "usage: omide%d [--check] [FORM.dfm ...]\n"
               "  Opens each form file and prints it as the IDE writes it.\n"
               "  --check  only report whether each form reads; print nothing else\n"
               "  With no form file it tells what this IDE knows.\n",
               OM_HOST_RELEASE);
}

void ShowHost() {
  std::printf("omide%d: the stand-in IDE for host release %d\n", OM_HOST_RELEASE, OM_HOST_RELEASE);
  std::printf("modules:\n");
  for (TLibModule* M = LibModuleList(); M; M = M->Next)
    std::printf("  %s (%d resources)\n", M->Name, M->ResourceCount);
  std::printf("form classes:\n");
  for (const char* Name : {"TComponent"})
    if (TPersistentClass C = GetClass(Name)) std::printf("  %s (unit %s)\n", C->ClassName(), C->UnitName);
}

}  // namespace

int main(int Argc, char** Argv) {
  RegisterModule(&OmThisModule);
  RegisterClass(TComponent::StaticClass());
  bool CheckOnly = false;
  int Status = 0, Forms = 0;
  for (int I = 1; I < Argc; ++I) {
    String Arg = Argv[I];
    if (Arg == "--help" || Arg == "-h") {
      Usage(stdout);
      return 0;
    }
    if (Arg == "--check") {
      CheckOnly = true;
      continue;
    }
    if (!Arg.empty() && Arg[0] == '-') {
      std::fprintf(stderr, "omide%d: unknown option %s\n", OM_HOST_RELEASE, Arg.c_str());
      Usage(stderr);
      return 2;
    }
    ++Forms;
    try {
      TComponent* Form = ReadComponentFile(Arg);
      if (CheckOnly)
        std::printf("%s: %s (%s), %d components\n", Arg.c_str(), Form->Name().c_str(),
                    Form->ClassName().c_str(), Form->ComponentCount());
      else
        std::fputs(ComponentToText(Form).c_str(), stdout);
      delete Form;
    } catch (Exception& E) {
      std::fprintf(stderr, "%s\n", E.Message.c_str());
      Status = 1;
    }
  }
  if (Forms == 0) ShowHost();
  return Status;
}
