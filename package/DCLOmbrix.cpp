// The package's main unit: its library entry, its unit table and its exports.
#include <dlfcn.h>

#include "IDEAboutDlg.h"
#include "IDEGridsDlg.h"
#include "IDELinesDlg.h"
#include "OmDBGrids.h"
#include "OmDBGridsReg.h"
#include "OmDBLists.h"
#include "OmDBListsReg.h"
#include "OmQRGrids.h"
#include "OmQRGridsReg.h"

namespace {

int MainUnitCount = 0;

// Every unit after the units it uses: the run-time package's units first (their own
// package's code), then the package's own units, the main unit last.
const TPackageUnitEntry Units[] = {
    {"SysInit", nullptr, nullptr, nullptr},
    {"OmDBGrids", &Omdbgrids::Initialization, &Omdbgrids::Finalization, &Omdbgrids::InitCount},
    {"OmDBLists", &Omdblists::Initialization, &Omdblists::Finalization, &Omdblists::InitCount},
    {"OmQRGrids", &Omqrgrids::Initialization, &Omqrgrids::Finalization, &Omqrgrids::InitCount},
    {"IDEAboutDlg", &Ideaboutdlg::Initialization, &Ideaboutdlg::Finalization, &Ideaboutdlg::InitCount},
    {"IDELinesDlg", &Idelinesdlg::Initialization, &Idelinesdlg::Finalization, &Idelinesdlg::InitCount},
    {"IDEGridsDlg", &Idegridsdlg::Initialization, &Idegridsdlg::Finalization, &Idegridsdlg::InitCount},
    {"OmDBGridsReg", &Omdbgridsreg::Initialization, &Omdbgridsreg::Finalization, &Omdbgridsreg::InitCount},
    {"OmDBListsReg", &Omdblistsreg::Initialization, &Omdblistsreg::Finalization, &Omdblistsreg::InitCount},
    {"OmQRGridsReg", &Omqrgridsreg::Initialization, &Omqrgridsreg::Finalization, &Omqrgridsreg::InitCount},
#if OM_HOST_RELEASE == 5
    {"DCLOmbrix50", nullptr, nullptr, &MainUnitCount},
#else
    {"DCLOmbrix60", nullptr, nullptr, &MainUnitCount},
#endif
};

const TPackageInfoTable PackageInfoTable{int(std::size(Units)), Units, OM_HOST_RELEASE};

#if OM_HOST_RELEASE == 5
void* LanguageModule = nullptr;
#endif

// The library entry, at load: register the module with the host runtime; no unit code
// runs here. Release 5 takes its resources from a language module beside the library
// file when there is one; release 6 leaves that to the runtime.
__attribute__((constructor)) void LibraryAttach() {
#if OM_HOST_RELEASE == 5
  Dl_info Self;
  if (dladdr(reinterpret_cast<void*>(&LibraryAttach), &Self) && Self.dli_fname)
    OmThisModule.ResourceModule = LoadResourceModule(Self.dli_fname, LanguageModule);
#endif
  RegisterModule(&OmThisModule);
}

__attribute__((destructor)) void LibraryDetach() {
  UnregisterModule(&OmThisModule);
#if OM_HOST_RELEASE == 5
  if (LanguageModule) FreeResourceModule(LanguageModule);
  OmThisModule.ResourceModule = nullptr;
#endif
}

}  // namespace

extern "C" {
PACKAGE void Initialize() { InitializePackageUnits(&PackageInfoTable); }
PACKAGE void Finalize() { FinalizePackageUnits(&PackageInfoTable); }
PACKAGE const TPackageInfoTable* GetPackageInfoTable() { return &PackageInfoTable; }
}
