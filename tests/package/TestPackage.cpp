// Small packages that fail to load in one way each, for the loader's tests.
#include "DesignCommon.h"

namespace {
int BadRegCount = 0, GoodRegCount = 0;
void BadRegInit() {}
void GoodRegInit() {}
const TPackageUnitEntry Units[] = {
    {"GoodReg", &GoodRegInit, nullptr, &GoodRegCount},
    {"BadReg", &BadRegInit, nullptr, &BadRegCount},
};
const TPackageInfoTable Table{2, Units, OM_TEST_PACKAGE_RELEASE};

__attribute__((constructor)) void Attach() { RegisterModule(&OmThisModule); }
__attribute__((destructor)) void Detach() { UnregisterModule(&OmThisModule); }

class TTestPackageComponent : public TComponent {
  OM_CLASS(TTestPackageComponent, TComponent)
 public:
  explicit TTestPackageComponent(TComponent* AOwner) : TComponent(AOwner) {}
};
}  // namespace
OM_IMPLEMENT_CLASS(TTestPackageComponent, "GoodReg");

extern "C" {
PACKAGE void Initialize() { InitializePackageUnits(&Table); }
#ifndef OM_TEST_PACKAGE_NO_FINALIZE
PACKAGE void Finalize() { FinalizePackageUnits(&Table); }
#endif
PACKAGE const TPackageInfoTable* GetPackageInfoTable() { return &Table; }
}

namespace Goodreg {
PACKAGE void Register() { RegisterComponents("Samples", {TTestPackageComponent::StaticClass()}); }
}  // namespace Goodreg

namespace Badreg {
PACKAGE void Register() { throw EComponentError("the palette page is full"); }
}  // namespace Badreg
