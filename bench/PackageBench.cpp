// Loading and unloading the design package, against the floor of a dlopen/dlclose of an
// empty library; opening the object inspector on a grid.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include "Ide.h"
#include "Inspector.h"
#include "OmDBGrids.h"
#include "Packages.h"

namespace {

String Bin(const String& File) { return String(OM_BIN_DIR) + "/" + File; }
const String Package = OM_HOST_RELEASE == 5 ? "DCLOmbrix50.so" : "DCLOmbrix60.so";

void LoadAndUnloadPackage(benchmark::State& State) {
  TIde Ide;
  for (auto _ : State) {
    TPackageRecord* P = Ide.Packages().Load(Bin(Package));
    Ide.Packages().Unload(P);
  }
}

// Floor: the dynamic loader's own work for a library with nothing in it.
void DlopenEmptyLibrary(benchmark::State& State) {
  String File = Bin("omempty" + IntToStr(OM_HOST_RELEASE) + ".so");
  for (auto _ : State) {
    void* H = dlopen(File.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!H) State.SkipWithError(dlerror());
    dlclose(H);
  }
}

void InspectGrid(benchmark::State& State) {
  TIde Ide;
  Ide.Packages().Load(Bin(Package));
  TDesigner* D = Ide.NewForm(TDataModule::StaticClass(), "Module1");
  TComponent* Grid = D->CreateComponent(TOmDBGrid::StaticClass(), D->GetRoot(), -1, -1, -1, -1);
  for (auto _ : State) {
    D->SelectComponent(Grid);
    benchmark::DoNotOptimize(Ide.Inspector().Rows().data());
    for (const TInspectorRow& R : Ide.Inspector().Rows()) benchmark::DoNotOptimize(R.Value());
  }
  State.counters["rows"] = double(Ide.Inspector().Rows().size());
}

}  // namespace

BENCHMARK(LoadAndUnloadPackage)->Unit(benchmark::kMicrosecond);
BENCHMARK(DlopenEmptyLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(InspectGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
