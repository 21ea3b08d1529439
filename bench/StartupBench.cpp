// omide's start at a terminal with the demo form, until its first prompt shows, against
// the floor of the same program that loads the package, opens no form and says so: the
// process, the dynamic loading of omide and the package, and the package's registration,
// which no start can do without. Both are whole processes on a pseudo-terminal.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "Terminal.h"

namespace {

const std::string Omide = OM_OMIDE;
const std::string Prompt = "omide" + std::to_string(OM_HOST_RELEASE) + "> ";
const std::string Scratch =
    (std::filesystem::temp_directory_path() / ("omide-startup-bench-" + std::to_string(getpid()))).string();

// Seconds from the start of omide with these options until it shows Text.
double SecondsUntil(const std::vector<std::string>& Options, const std::string& Text, benchmark::State& State) {
  std::vector<std::string> Args = {Omide, "--settings", Scratch + "/settings.db"};
  Args.insert(Args.end(), Options.begin(), Options.end());
  auto Start = std::chrono::steady_clock::now();
  TTerminal T(Omide, Args,
              {{"OMIDE_HISTORY", Scratch + "/history"}, {"TERM", "dumb"}, {"INPUTRC", "/dev/null"}});
  if (!T.Expect(Text, 30)) {
    State.SkipWithError(("omide did not show '" + Text + "': " + T.Shown()).c_str());
    return 0;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

double Floor(benchmark::State& State) { return SecondsUntil({"--no-demo", "-c", "echo loaded"}, "loaded\n", State); }
double ToPrompt(benchmark::State& State) { return SecondsUntil({}, Prompt, State); }

void StartToFirstPrompt(benchmark::State& State) {
  std::filesystem::create_directories(Scratch);
  double Floors = 0, Prompts = 0;
  for (auto _ : State) {
    double F = Floor(State), P = ToPrompt(State);
    Floors += F;
    Prompts += P;
    State.SetIterationTime(P);
  }
  State.counters["floor_ms"] = benchmark::Counter(Floors * 1000, benchmark::Counter::kAvgIterations);
  State.counters["x_floor"] = Floors > 0 ? Prompts / Floors : 0;
  std::filesystem::remove_all(Scratch);
}

// The floor alone.
void LoadPackageAndEnd(benchmark::State& State) {
  std::filesystem::create_directories(Scratch);
  for (auto _ : State) State.SetIterationTime(Floor(State));
  std::filesystem::remove_all(Scratch);
}

}  // namespace

BENCHMARK(StartToFirstPrompt)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(LoadPackageAndEnd)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
