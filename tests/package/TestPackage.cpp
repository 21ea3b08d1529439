// Small packages that fail to load in one way each, for the loader's tests.
#include "DesignCommon.h"

namespace {
class TTestPackageComponent : public TComponent {
  OM_CLASS(TTestPackageComponent, TComponent)
 public:
  explicit TTestPackageComponent(TComponent* AOwner) : TComponent(AOwner) {}
};
}  // namespace
OM_IMPLEMENT_CLASS(TTestPackageComponent, "GoodReg");

namespace {
#ifdef OM_TEST_PACKAGE_INIT_RAISES
// The second unit's initialization raises after the first has registered a class and a
// property editor of nothing but the IDE's classes; the third is never reached.
int EarlyCount = 0, RaisingCount = 0, LateCount = 0;
void EarlyInit() {
  RegisterClass(TTestPackageComponent::StaticClass());
  RegisterPropertyEditor(TypeInfo<String>(), nullptr, "TestPackageText",
                         TStringProperty::StaticClass());
}
void EarlyFInit() {}
void RaisingInit() { throw EComponentError("the unit's resources are missing"); }
void LateInit() { RegisterClass(TTestPackageComponent::StaticClass()); }
const TPackageUnitEntry Units[] = {
    {"EarlyUnit", &EarlyInit, &EarlyFInit, &EarlyCount},
    {"RaisingUnit", &RaisingInit, nullptr, &RaisingCount},
    {"LateUnit", &LateInit, nullptr, &LateCount},
};
#else
int BadRegCount = 0, GoodRegCount = 0;
void BadRegInit() {}
void GoodRegInit() {}
const TPackageUnitEntry Units[] = {
    {"GoodReg", &GoodRegInit, nullptr, &GoodRegCount},
    {"BadReg", &BadRegInit, nullptr, &BadRegCount},
};
#endif
const TPackageInfoTable Table{int(std::size(Units)), Units, OM_TEST_PACKAGE_RELEASE};

__attribute__((constructor)) void Attach() { RegisterModule(&OmThisModule); }
__attribute__((destructor)) void Detach() { UnregisterModule(&OmThisModule); }
}  // namespace

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
