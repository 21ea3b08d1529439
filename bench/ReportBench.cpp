// The report grid over an in-memory dataset of 10,000 and 100,000 rows of 20 fields, with
// every option that adds lines (title, header, rules, totals, footer with date and page
// numbers) and all columns fitted to a landscape page: building the pages, the preview
// window opened on them and closed, the Delphi and C++ units' text and the unit saved.
// Beside them the floor: each field's DisplayText over the same rows, joined into one
// string with a separator.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "DBClient.h"
#include "Desktop.h"
#include "OmQRGrids.h"

namespace {

constexpr int FieldCount = 20;

// A form with a grid on a dataset of Rows records, and a report of the grid.
struct TBench {
  TDesktop Desktop;
  TForm Form{nullptr, 0};
  TOmDBGrid* Grid = new TOmDBGrid(&Form);
  TDataSource* Source = new TDataSource(&Form);
  TClientDataSet* Data = new TClientDataSet(&Form);
  TOmQRGrid* Report = new TOmQRGrid(&Form);

  explicit TBench(int Rows) {
    Form.SetName("Form1");
    Report->SetName("Report1");
    // Whole numbers, fractions and texts of 6 to 30 characters, in turn.
    for (int I = 0; I < FieldCount; ++I)
      Data->FieldDefs()->Add("F" + IntToStr(I), I % 4 == 0 ? ftInteger : I % 4 == 1 ? ftFloat : ftString, 40);
    Source->SetDataSet(Data);
    Grid->SetDataSource(Source);
    Data->Open();  // the grid's columns: one for each field
    Data->DisableControls();
    for (int R = 0; R < Rows; ++R) {
      Data->Append();
      for (int I = 0; I < FieldCount; ++I) {
        TField* F = Data->Fields(I);
        if (I % 4 == 0)
          F->SetAsInteger(R * 7 + I);
        else if (I % 4 == 1)
          F->SetAsFloat(R * 1.25 + I);
        else
          F->SetAsString(String(std::size_t(6 + (R + I) % 25), char('a' + (R + I) % 26)) + IntToStr(R));
      }
    }
    Data->EnableControls();
    Report->SetReportDBGrid(Grid);
    Report->ReportTitle()->CenterCaption = "Orders";
    Report->ReportDate = "2003-04-01";
    Report->SetOptions({roPrintTitle, roPrintHeader, roPrintFooter, roPrintGrid, roPrintTotals,
                        roPrintPageNumbers, roPrintDate, roFitToPage, roLandscape});
  }
};

// One dataset of a size for all of that size's benchmarks: filling 100,000 rows takes
// longer than they do. One desktop at a time, so the last size's goes before the next.
std::unique_ptr<TBench> Current;
int CurrentRows = -1;

TBench& Bench(int Rows) {
  if (!Current || CurrentRows != Rows) {
    Current.reset();
    Current = std::make_unique<TBench>(Rows);
    CurrentRows = Rows;
  }
  return *Current;
}

void BuildPages(benchmark::State& State) {
  TBench& B = Bench(int(State.range(0)));
  std::size_t Bytes = 0;
  for (auto _ : State) {
    TOmReportPages P = B.Report->BuildPages();
    Bytes = P.Text().size();
    benchmark::DoNotOptimize(P.Text().data());
  }
  State.counters["bytes"] = double(Bytes);
}

void PreviewWindow(benchmark::State& State) {
  TBench& B = Bench(int(State.range(0)));
  for (auto _ : State) {
    B.Desktop.Input().Answer(mrOk);
    B.Report->Preview();
  }
  State.counters["pages"] = double(B.Report->Pages().PageCount());
}

void UnitText(benchmark::State& State, const char* FileName) {
  TBench& B = Bench(int(State.range(0)));
  std::size_t Bytes = 0;
  for (auto _ : State) {
    String Source = B.Report->ReportSource(FileName);
    Bytes = Source.size();
    benchmark::DoNotOptimize(Source.data());
  }
  State.counters["bytes"] = double(Bytes);
}
void PascalUnitText(benchmark::State& State) { UnitText(State, "Orders.pas"); }
void CppUnitText(benchmark::State& State) { UnitText(State, "Orders.cpp"); }

void SaveReport(benchmark::State& State) {
  TBench& B = Bench(int(State.range(0)));
  char Folder[] = "/tmp/omide-bench-XXXXXX";
  if (!mkdtemp(Folder)) return State.SkipWithError("no temporary folder");
  String FileName = String(Folder) + "/Orders.pas";
  for (auto _ : State) B.Report->SaveReport(FileName);
  std::remove(FileName.c_str());
  rmdir(Folder);
}

// The floor: the same cells' texts, one string, a separator after each.
void FormatCells(benchmark::State& State) {
  TBench& B = Bench(int(State.range(0)));
  TDataSet* Data = B.Data;
  auto Format = [&](std::size_t Reserve) {
    String Out;
    Out.reserve(Reserve);
    Data->DisableControls();
    for (Data->First(); !Data->Eof(); Data->Next()) {
      for (int I = 0; I < FieldCount; ++I) {
        Out += Data->Fields(I)->DisplayText();
        Out += '|';
      }
      Out += '\n';
    }
    Data->EnableControls();
    return Out;
  };
  std::size_t Bytes = Format(0).size();  // the exact size, reserved for every timed run
  for (auto _ : State) {
    String Out = Format(Bytes);
    benchmark::DoNotOptimize(Out.data());
  }
  State.counters["bytes"] = double(Bytes);
}

}  // namespace

// Each size's benchmarks together, the floor first, so a dataset is made once for them;
// the median of five runs, the machine's noise being large beside a run of these.
#define OM_RUN(F, N) \
  BENCHMARK(F)->Arg(N)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
#define OM_SIZE(N)          \
  OM_RUN(FormatCells, N)    \
  OM_RUN(BuildPages, N)     \
  OM_RUN(PreviewWindow, N)  \
  OM_RUN(PascalUnitText, N) \
  OM_RUN(CppUnitText, N)    \
  OM_RUN(SaveReport, N)
OM_SIZE(10000)
OM_SIZE(100000)

namespace {

// The console's report, then each benchmark's median as a ratio to the floor of its size,
// and the larger size's to the smaller's.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& Runs) override {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& R : Runs)
      if (R.run_type == Run::RT_Iteration || R.aggregate_name == "median")
        FTimes[R.run_name.function_name][std::stoi(R.run_name.args)] = R.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto& Floor = FTimes["FormatCells"];
    std::printf("\n%-16s %12s %12s %16s\n", "", "/ floor 10k", "/ floor 100k", "100k / 10k");
    for (auto& [Name, Times] : FTimes) {
      auto Ratio = [&](const std::map<int, double>& Of, int Rows, const std::map<int, double>& To, int ToRows) {
        return Of.count(Rows) && To.count(ToRows) ? Of.at(Rows) / To.at(ToRows) : 0.0;
      };
      std::printf("%-16s %12.2f %12.2f %16.2f\n", Name.c_str(), Ratio(Times, 10000, Floor, 10000),
                  Ratio(Times, 100000, Floor, 100000), Ratio(Times, 100000, Times, 10000));
    }
  }

 private:
  std::map<std::string, std::map<int, double>> FTimes;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  Current.reset();  // the desktop goes before the libraries' own statics
}
