// Whole omide sessions in one process, and opening a large form through the IDE.
//
// EditColumnsSession: a TSession with the package loaded runs a script that opens a form
// whose grid has N columns, opens the columns editor, selects all and deletes; beside
// it, BareSession: the same session set up and ended, running one trivial command. Each
// run of the first also times a bare session, so it reports its ratio (x_floor) itself.
//
// OpenForm: `open FILE` of that form in a session, beside ReadAndParseForm: the file's
// bytes read and the same text read by the form reader alone (ComponentFromText) into a
// root that is not designed. x_floor again from both timed in every run.
//
// Times are CPU time of the process: the machine is shared, and wall time measures the
// others too. tools/perf-table reads the medians as ratios.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>

#include "Designer.h"
#include "FileUtil.h"
#include "OmDBGrids.h"
#include "Packages.h"
#include "Session.h"
#include "Settings.h"

namespace {

const String Package = String(OM_BIN_DIR) + "/" + (OM_HOST_RELEASE == 5 ? "DCLOmbrix50.so" : "DCLOmbrix60.so");

double CpuSeconds() {
  timespec T;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// A folder of this process's own for the forms and the settings store, gone at the end.
struct TScratch {
  std::filesystem::path Dir =
      std::filesystem::temp_directory_path() / ("omide-session-bench-" + std::to_string(getpid()));
  TScratch() {
    std::filesystem::create_directories(Dir);
    SetSettingsStoreFile((Dir / "settings.db").string());
  }
  ~TScratch() {
    SetSettingsStoreFile("");
    std::filesystem::remove_all(Dir);
  }
};

TScratch& Scratch() {
  static TScratch S;
  return S;
}

// A form with one of the package's grids of N columns, as the IDE writes them: a field
// name (as long as real datasets have them) and a title each. Written once a size.
const String& ColumnsForm(int Columns) {
  static std::map<int, String> Files;
  String& File = Files[Columns];
  if (!File.empty()) return File;
  File = (Scratch().Dir / ("Columns" + std::to_string(Columns) + ".dfm")).string();
  TIde Ide;
  Ide.Packages().Load(Package);
  TDesigner* D = Ide.NewForm(TForm::StaticClass(), "Form1");
  auto* Grid = static_cast<TOmDBGrid*>(
      D->CreateComponent(TOmDBGrid::StaticClass(), D->GetRoot(), 0, 0, 200, 100));
  Grid->SetName("Grid1");
  Grid->Columns()->BeginUpdate();
  for (int I = 0; I < Columns; ++I) {
    auto* C = Grid->Columns()->Add();
    C->SetFieldName("CustomerAddressLine" + IntToStr(I));
    C->Title()->SetCaption("Customer address " + IntToStr(I));
  }
  Grid->Columns()->EndUpdate();
  // The root's own class, so that the reader alone finds it too.
  WriteComponentFile(File, D->GetRoot());
  return File;
}

// A session as omide makes one: the IDE, the package beside it, the script, the end.
// False (and the reason in Error) when the script failed.
bool RunSession(const String& Script, int Columns, String& Error) {
  FILE* Out = std::fopen("/dev/null", "w");
  bool Ok = true;
  {
    TSession Session(false);
    Session.Ide().Packages().Load(Package);
    if (Session.RunScript(Script, "bench.omide", Out) != 0) {
      Ok = false;
      Error = "the script failed: " + Script;
    } else if (Columns >= 0) {
      TDesigner* D = Session.Ide().ActiveDesigner();
      auto* Grid = D ? dynamic_cast<TOmDBGrid*>(D->GetRoot()->FindComponent("Grid1")) : nullptr;
      if (!Grid || Grid->Columns()->Count() != Columns) {
        Ok = false;
        Error = "the grid does not have the columns it should";
      }
    }
  }
  std::fclose(Out);
  return Ok;
}

const String BareScript = "echo bare";

void BareSession(benchmark::State& State) {
  Scratch();
  String Error;
  for (auto _ : State)
    if (!RunSession(BareScript, -1, Error)) State.SkipWithError(Error.c_str());
}

void EditColumnsSession(benchmark::State& State) {
  const String& File = ColumnsForm(int(State.range(0)));
  const String Script = "open '" + File + "'\ndblclick Grid1\nchoose SelectMenuItem\nclick DeleteToolButton\n";
  String Error;
  double Floor = 0, Spent = 0;
  for (auto _ : State) {
    State.PauseTiming();
    double T0 = CpuSeconds();
    bool Ok = RunSession(BareScript, -1, Error);
    double T1 = CpuSeconds();
    State.ResumeTiming();
    Ok = Ok && RunSession(Script, 0, Error);
    Spent += CpuSeconds() - T1;
    Floor += T1 - T0;
    if (!Ok) State.SkipWithError(Error.c_str());
  }
  State.counters["floor_ms"] = benchmark::Counter(Floor * 1000, benchmark::Counter::kAvgIterations);
  State.counters["x_floor"] = Floor > 0 ? Spent / Floor : 0;
}

// The floor of opening: the bytes from the file, and the reader over them.
TComponent* ReadAndParse(const String& File) { return ComponentFromText(ReadFileToString(File), File); }

// One session, the package loaded, for the opening benchmarks.
struct TOpenBench {
  FILE* Out = std::fopen("/dev/null", "w");
  TSession Session{false};
  TOpenBench() { Session.Ide().Packages().Load(Package); }
  ~TOpenBench() { std::fclose(Out); }
};

void ReadAndParseForm(benchmark::State& State) {
  const String& File = ColumnsForm(int(State.range(0)));
  TOpenBench B;
  for (auto _ : State) {
    TComponent* Form = ReadAndParse(File);
    State.PauseTiming();
    delete Form;
    State.ResumeTiming();
  }
}

void OpenForm(benchmark::State& State) {
  int Columns = int(State.range(0));
  const String& File = ColumnsForm(Columns);
  TOpenBench B;
  const String Open = "open '" + File + "'";
  double Floor = 0, Spent = 0;
  for (auto _ : State) {
    State.PauseTiming();
    double T0 = CpuSeconds();
    TComponent* Read = ReadAndParse(File);
    double Read1 = CpuSeconds();
    delete Read;
    double T1 = CpuSeconds();
    State.ResumeTiming();
    B.Session.Run(Open);
    double T2 = CpuSeconds();
    State.PauseTiming();
    TDesigner* D = B.Session.Ide().ActiveDesigner();
    auto* Grid = D ? dynamic_cast<TOmDBGrid*>(D->GetRoot()->FindComponent("Grid1")) : nullptr;
    if (!Grid || Grid->Columns()->Count() != Columns) State.SkipWithError("the form did not open whole");
    B.Session.Run("close --discard Form1");
    State.ResumeTiming();
    // The floor's freeing is not timed, nor is the form's closing.
    Spent += T2 - T1;
    Floor += Read1 - T0;
  }
  State.counters["floor_ms"] = benchmark::Counter(Floor * 1000, benchmark::Counter::kAvgIterations);
  State.counters["x_floor"] = Floor > 0 ? Spent / Floor : 0;
}

}  // namespace

BENCHMARK(BareSession)->Unit(benchmark::kMillisecond);
BENCHMARK(EditColumnsSession)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndParseForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
