// Loading, registering and unloading the design package, against the floor of a
// dlopen/dlclose of the package itself (its library entry only: no unit initialized, nothing
// registered), and beside an empty library's; the same in a fresh process each time, as the
// first load of an omide session is; opening the object inspector on a grid. The program
// does not link the run-time package: each load maps it as the IDE's does.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "Ide.h"
#include "Inspector.h"
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

// Floor: the dynamic loader's own work for the package and the run-time package it needs,
// with the library entry as the only code run.
void DlopenPackage(benchmark::State& State) {
  String File = Bin(Package);
  for (auto _ : State) {
    void* H = dlopen(File.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!H) return State.SkipWithError(dlerror());
    dlclose(H);
  }
}

// Runs Timed in a child forked for each run, whose libraries are the benchmark's own (the
// package not among them), and reports the time the child measured of it.
template <class F>
void InFreshProcess(benchmark::State& State, F&& Timed) {
  for (auto _ : State) {
    int Pipe[2];
    if (pipe(Pipe) != 0) return State.SkipWithError("no pipe");
    pid_t Child = fork();
    if (Child == 0) {
      close(Pipe[0]);
      double Seconds = Timed();
      _exit(write(Pipe[1], &Seconds, sizeof Seconds) == sizeof Seconds && Seconds >= 0 ? 0 : 1);
    }
    close(Pipe[1]);
    double Seconds = -1;
    bool Read = read(Pipe[0], &Seconds, sizeof Seconds) == sizeof Seconds;
    close(Pipe[0]);
    int Status = 0;
    waitpid(Child, &Status, 0);
    if (!Read || Seconds < 0 || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
      return State.SkipWithError("the child failed");
    State.SetIterationTime(Seconds);
  }
}

double Since(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// The first load of a session: the IDE made, then the package loaded, registered and
// unloaded.
void LoadPackageInFreshProcess(benchmark::State& State) {
  InFreshProcess(State, [] {
    TIde Ide;
    auto Start = std::chrono::steady_clock::now();
    TPackageRecord* P = Ide.Packages().Load(Bin(Package));
    Ide.Packages().Unload(P);
    return Since(Start);
  });
}

void DlopenPackageInFreshProcess(benchmark::State& State) {
  InFreshProcess(State, [] {
    TIde Ide;
    auto Start = std::chrono::steady_clock::now();
    void* H = dlopen(Bin(Package).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!H) return -1.0;
    dlclose(H);
    return Since(Start);
  });
}

// What any library costs the loader: one with nothing in it.
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
  TComponent* Grid =
      D->CreateComponent(TComponentClass(FindClass("TOmDBGrid")), D->GetRoot(), -1, -1, -1, -1);
  for (auto _ : State) {
    D->SelectComponent(Grid);
    benchmark::DoNotOptimize(Ide.Inspector().Rows().data());
    for (const TInspectorRow& R : Ide.Inspector().Rows()) benchmark::DoNotOptimize(R.Value());
  }
  State.counters["rows"] = double(Ide.Inspector().Rows().size());
}

}  // namespace

BENCHMARK(LoadAndUnloadPackage)->Unit(benchmark::kMicrosecond);
BENCHMARK(DlopenPackage)->Unit(benchmark::kMicrosecond);
BENCHMARK(DlopenEmptyLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadPackageInFreshProcess)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(DlopenPackageInFreshProcess)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(InspectGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
