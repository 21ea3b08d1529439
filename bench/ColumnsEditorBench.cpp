// The grid's editors on large forms: the columns editor opening, relabelling, selecting
// all, deleting every other column, adding all fields and dropping dragged rows; the
// master-grid and field-name lists. Each stands beside the floor it cannot beat
// (building the same captions by hand; freeing the same columns with no window open, or
// replacing them so and building their captions; reading the class of every selected
// column; a stable partition of as many pointers with new indexes and captions; a walk
// over the same links or the same field tree collecting names; copying the same bytes).
// Format stands beside the direct build of its captions. tools/perf-table reads the
// medians as ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <vector>

#include "DBClient.h"
#include "Designer.h"
#include "Desktop.h"
#include "FileUtil.h"
#include "IDEGridsDlg.h"
#include "Ide.h"
#include "Inspector.h"
#include "OmDBGrids.h"
#include "Packages.h"
#include "Settings.h"

namespace {

String Bin(const String& File) { return String(OM_BIN_DIR) + "/" + File; }
const String Package = OM_HOST_RELEASE == 5 ? "DCLOmbrix50.so" : "DCLOmbrix60.so";

// The package is a plug-in here as in the IDE: its window is reached through the host.
TOmDBGridColumnsEditor* AsEditor(TCustomForm* F) {
  return F && F->ClassName() == String("TOmDBGridColumnsEditor")
             ? static_cast<TOmDBGridColumnsEditor*>(F)
             : nullptr;
}

// Names as real datasets have them, 15 characters and more with the number: every
// caption allocates, as it does in a person's grid.
const String LongName = "CustomerAddressLine";

// An IDE with the package, a form and a grid of N customized columns.
struct TBench {
  String Store;
  TIde Ide;
  TDesigner* D;
  TOmDBGrid* Grid;
  explicit TBench(int Columns) : Store(SettingsFile()) {
    Ide.Packages().Load(Bin(Package));
    D = Ide.NewForm(TForm::StaticClass(), "Form1");
    Grid = static_cast<TOmDBGrid*>(
        D->CreateComponent(TOmDBGrid::StaticClass(), D->GetRoot(), 0, 0, 200, 100));
    Refill(Columns);
  }
  ~TBench() {
    SetSettingsStoreFile("");
    // The store and the lock file its writers take beside it.
    for (const String& File : {Store, Store + ".lock"}) std::remove(File.c_str());
  }
  static String SettingsFile() {
    char Name[] = "/tmp/omide-bench-XXXXXX";
    int Fd = mkstemp(Name);
    if (Fd >= 0) close(Fd);
    std::remove(Name);
    SetSettingsStoreFile(Name);
    return Name;
  }
  TOmDBGridColumnsEditor* Open() {
    D->SelectComponent(Grid);
    Ide.Inspector().Edit("Columns");
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (auto* W = AsEditor(Screen->Forms(I)); W && !W->Released()) return W;
    return nullptr;
  }
  void Close(TOmDBGridColumnsEditor* W) {
    W->Close();
    Application->ProcessMessages();
  }
  // N new columns in place of the grid's, named as real datasets name them.
  void Refill(int N) {
    TOmDBGridColumns* Columns = Grid->Columns();
    Columns->BeginUpdate();
    Columns->Clear();
    for (int I = 0; I < N; ++I) Columns->Add()->SetFieldName(LongName + IntToStr(I));
    Columns->EndUpdate();
  }
};

void OpenWindow(benchmark::State& State) {
  TBench B(int(State.range(0)));
  B.Close(B.Open());  // the first window ever also creates the settings store
  for (auto _ : State) {
    TOmDBGridColumnsEditor* W = B.Open();
    State.PauseTiming();
    B.Close(W);
    State.ResumeTiming();
  }
}

void UpdateCaptions(benchmark::State& State) {
  TBench B(int(State.range(0)));
  TOmDBGridColumnsEditor* W = B.Open();
  for (auto _ : State) B.D->Modified();  // relabels the rows and recomputes the commands
  State.counters["redraws"] = double(W->FormListView->RedrawCount());
}

void SelectAll(benchmark::State& State) {
  TBench B(int(State.range(0)));
  TOmDBGridColumnsEditor* W = B.Open();
  for (auto _ : State) {
    State.PauseTiming();
    B.D->SelectComponent(B.Grid);
    for (int I = 0; I < W->FormListView->Items()->Count(); ++I)
      W->FormListView->Items()->Item(I)->SetSelected(false);
    State.ResumeTiming();
    W->Select->Execute();
  }
}

// The object inspector on what select all leaves selected: the rows of the properties
// all N columns share, one editor each over every column. The selection is made again
// between runs, untimed, so that each run builds the rows anew.
void InspectSelectAll(benchmark::State& State) {
  TBench B(int(State.range(0)));
  TOmDBGridColumnsEditor* W = B.Open();
  size_t Rows = 0;
  for (auto _ : State) {
    State.PauseTiming();
    B.D->SelectComponent(B.Grid);
    B.Ide.Inspector().Rows();
    W->Select->Execute();
    State.ResumeTiming();
    Rows = B.Ide.Inspector().Rows().size();
  }
  State.counters["rows"] = double(Rows);
  if (Rows == 0) State.SkipWithError("the inspector shows nothing");
}

// What no inspector of a selection can skip: reading the class of every selected object
// once, to find the properties they share. Its growth from 10,000 to 100,000 objects is
// that of the memory they lie in, not of any work done on them.
void ReadSelectedClasses(benchmark::State& State) {
  TBench B(int(State.range(0)));
  TOmDBGridColumnsEditor* W = B.Open();
  for (auto _ : State) {
    State.PauseTiming();
    // As before each inspection: the selection made again, its objects out of the cache.
    B.D->SelectComponent(B.Grid);
    W->Select->Execute();
    const std::vector<TPersistent*>& Selected = B.D->Selection();
    State.ResumeTiming();
    TClass First = Selected[0]->ClassType();
    bool OneClass = true;
    for (size_t I = 1; I < Selected.size(); ++I) {
      if (I + 16 < Selected.size()) __builtin_prefetch(Selected[I + 16]);
      OneClass = OneClass && Selected[I]->ClassType() == First;
    }
    benchmark::DoNotOptimize(OneClass);
  }
}

// Times Delete on a window of N new columns whose rows Select chose, untimed.
template <class F>
void TimeDelete(benchmark::State& State, F&& Select) {
  int N = int(State.range(0));
  TBench B(0);
  for (auto _ : State) {
    State.PauseTiming();
    B.Refill(N);
    TOmDBGridColumnsEditor* W = B.Open();
    Select(B, W, N);
    if (!W->Delete->Enabled()) State.SkipWithError("Delete is not enabled");
    if (B.D->Selection().size() != size_t(W->FormListView->SelCount()))
      State.SkipWithError("the designer does not hold the list's selection");
    State.ResumeTiming();
    W->Delete->Execute();
    State.PauseTiming();
    B.Close(W);
    State.ResumeTiming();
  }
}

void DeleteEveryOther(benchmark::State& State) {
  TimeDelete(State, [](TBench&, TOmDBGridColumnsEditor* W, int N) {
    TListItems* Items = W->FormListView->Items();
    {
      // Another window active: the rows are selected without a push for each, which
      // would cost the setup time quadratic in N.
      TForm Other(nullptr, 0);
      Other.Show();
      for (int I = 2; I < N; I += 2) Items->Item(I)->SetSelected(true);
    }
    // The last click, with the window active: the list pushes its whole selection, so
    // the designer holds every selected column as a person's clicks leave it.
    W->Show();
    Items->Item(0)->SetSelected(false);
    Items->Item(0)->SetSelected(true);
  });
}

// The same through the selection a person makes: select all (pushed to the designer, so
// every freed column leaves the designer's selection), then delete.
void DeleteAllSelected(benchmark::State& State) {
  TimeDelete(State, [](TBench&, TOmDBGridColumnsEditor* W, int) { W->Select->Execute(); });
}

void AddAllFields(benchmark::State& State) {
  int N = int(State.range(0));
  TBench B(1);
  auto* Data = static_cast<TClientDataSet*>(
      B.D->CreateComponent(TClientDataSet::StaticClass(), B.D->GetRoot(), 0, 0, 0, 0));
  for (int I = 0; I < N; ++I) Data->FieldDefs()->Add(LongName + IntToStr(I), ftInteger);
  auto* Source = static_cast<TDataSource*>(
      B.D->CreateComponent(TDataSource::StaticClass(), B.D->GetRoot(), 0, 0, 0, 0));
  Source->SetDataSet(Data);
  B.Grid->SetDataSource(Source);
  Data->Open();
  TOmDBGridColumnsEditor* W = B.Open();
  for (auto _ : State) {
    B.Ide.Desktop().Input().Answer(mrYes);  // replace the columns
    W->AddAll->Execute();
  }
  State.counters["columns"] = double(B.Grid->Columns()->Count());
  if (B.Grid->Columns()->Count() != N) State.SkipWithError("not one column per field");
}

// The field names the columns editor benchmarks give their columns.
std::vector<String> FieldNames(int N) {
  auto Names = std::vector<String>(size_t(N));
  for (int I = 0; I < N; ++I) Names[size_t(I)] = LongName + IntToStr(I);
  return Names;
}

// A row's caption "%d - %s" built by hand: to_chars and appends, no pattern.
String HandCaption(int Index, const String& Name) {
  char Digits[12];
  char* End = std::to_chars(Digits, Digits + sizeof Digits, Index).ptr;
  String Caption;
  Caption.reserve(size_t(End - Digits) + 3 + Name.size());
  Caption.append(Digits, End).append(" - ").append(Name);
  return Caption;
}

// The same captions through the platform's Format, which a direct build bounds.
void FormatCaptions(benchmark::State& State) {
  int N = int(State.range(0));
  std::vector<String> Names = FieldNames(N);
  for (auto _ : State) {
    std::vector<String> Captions;
    Captions.reserve(size_t(N));
    for (int I = 0; I < N; ++I) Captions.push_back(Format("%d - %s", {I, Names[size_t(I)]}));
    benchmark::DoNotOptimize(Captions.data());
  }
}

// Floor of opening, relabelling and selecting all: the same captions built by hand into a
// vector.
void BuildCaptions(benchmark::State& State) {
  int N = int(State.range(0));
  std::vector<String> Names = FieldNames(N);
  for (auto _ : State) {
    std::vector<String> Captions;
    Captions.reserve(size_t(N));
    for (int I = 0; I < N; ++I) Captions.push_back(HandCaption(I, Names[size_t(I)]));
    benchmark::DoNotOptimize(Captions.data());
  }
}

// Floor of deleting: the same columns freed from the collection's end in one update, with
// no window open, while the designer holds them selected, as the IDE's own delete of the
// selected columns finds them: each leaves the selection as it goes. (Erasing as many
// pointers is no floor: a column's destructor alone costs tens of times more.)
void FreeColumns(benchmark::State& State, int Step) {
  int N = int(State.range(0));
  TBench B(0);
  TOmDBGridColumns* Columns = B.Grid->Columns();
  for (auto _ : State) {
    State.PauseTiming();
    B.Refill(N);
    // In the list's order, as the columns editor pushes a selection.
    std::vector<TPersistent*> Doomed;
    for (int I = (N - 1) % Step; I < N; I += Step) Doomed.push_back(Columns->GetColumn(I));
    B.D->SetSelection(Doomed);
    State.ResumeTiming();
    Columns->BeginUpdate();
    for (int I = N - 1; I >= 0; I -= Step) delete Columns->GetColumn(I);
    Columns->EndUpdate();
    State.PauseTiming();
    if (!B.D->Selection().empty()) State.SkipWithError("freed columns are still selected");
    State.ResumeTiming();
  }
}
void FreeEveryOtherColumn(benchmark::State& State) { FreeColumns(State, 2); }
void FreeAllColumns(benchmark::State& State) { FreeColumns(State, 1); }

// Floor of adding all fields: what the command must do, with no window open. The columns
// are freed and as many made again, one per field name, and their captions built by hand.
// (Building the captions alone is no floor for it: making and freeing the columns costs
// several times that by itself.)
void ReplaceColumns(benchmark::State& State) {
  int N = int(State.range(0));
  TBench B(N);
  std::vector<String> Names = FieldNames(N);
  TOmDBGridColumns* Columns = B.Grid->Columns();
  for (auto _ : State) {
    Columns->BeginUpdate();
    Columns->Clear();
    for (const String& Name : Names) Columns->Add()->SetFieldName(Name);
    Columns->EndUpdate();
    std::vector<String> Captions;
    Captions.reserve(size_t(N));
    for (int I = 0; I < N; ++I) Captions.push_back(HandCaption(I, Names[size_t(I)]));
    benchmark::DoNotOptimize(Captions.data());
  }
}

// Rows a person dragged: every other one, roughly, in no pattern. Fixed, so that every
// run drags the same rows.
std::vector<bool> ScatteredHalf(int N) {
  auto Picked = std::vector<bool>(size_t(N));
  uint32_t X = 2463534242u;
  for (int I = 0; I < N; ++I) {
    X ^= X << 13, X ^= X >> 17, X ^= X << 5;
    Picked[size_t(I)] = X & 1;
  }
  return Picked;
}

// Drags half the rows, scattered, onto an unselected row near the start or near the end
// of the list, and drops them there: the last drag-over and the drop, as a release of the
// mouse button gives them (the drag came in there earlier, untimed). The window opens
// again between runs, untimed.
void TimeDrop(benchmark::State& State, bool NearEnd) {
  int N = int(State.range(0));
  TBench B(N);
  std::vector<bool> Picked = ScatteredHalf(N);
  int Target = -1;
  if (NearEnd) {
    for (int I = N - 6; I >= 0 && Target < 0; --I)
      if (!Picked[size_t(I)]) Target = I;
  } else {
    for (int I = 5; I < N && Target < 0; ++I)
      if (!Picked[size_t(I)]) Target = I;
  }
  std::vector<TCollectionItem*> Original;
  for (int I = 0; I < N; ++I) Original.push_back(B.Grid->Columns()->GetColumn(I));
  for (auto _ : State) {
    State.PauseTiming();
    B.Grid->Columns()->Reorder(Original);
    TOmDBGridColumnsEditor* W = B.Open();
    TListView* L = W->FormListView;
    {
      // Another window active: the rows are selected without a push for each.
      TForm Other(nullptr, 0);
      Other.Show();
      for (int I = 0; I < N; ++I)
        if (Picked[size_t(I)]) L->Items()->Item(I)->SetSelected(true);
    }
    W->Show();
    TListItem* Row = L->Items()->Item(Target);
    Row->MakeVisible(false);
    TRect R = Row->DisplayRect();
    TPoint P{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    bool Accept = false;
    L->OnDragOver(L, L, P.X, P.Y, dsDragEnter, Accept);  // where the drag came in
    State.ResumeTiming();
    L->OnDragOver(L, L, P.X, P.Y, dsDragMove, Accept);
    if (Accept) L->OnDragDrop(L, L, P.X, P.Y);
    State.PauseTiming();
    if (!Accept) State.SkipWithError("the drop was refused");
    B.Close(W);
    State.ResumeTiming();
  }
}

void DropNearTheEnd(benchmark::State& State) { TimeDrop(State, true); }
void DropNearTheStart(benchmark::State& State) { TimeDrop(State, false); }

// Floor of a drop: the moved half of the same number of pointers partitioned apart, in
// order, and each given its new index and its caption, built by hand.
void PartitionAndRelabel(benchmark::State& State) {
  int N = int(State.range(0));
  struct TRow {
    bool Moved;
    int Index;
    std::string Name, Caption;
  };
  std::vector<bool> Picked = ScatteredHalf(N);
  auto Rows = std::vector<TRow>(size_t(N));
  for (int I = 0; I < N; ++I) Rows[size_t(I)] = {Picked[size_t(I)], I, LongName + IntToStr(I), {}};
  for (auto _ : State) {
    State.PauseTiming();
    auto P = std::vector<TRow*>(size_t(N));
    for (int I = 0; I < N; ++I) P[size_t(I)] = &Rows[size_t(I)];
    State.ResumeTiming();
    std::stable_partition(P.begin(), P.end(), [](const TRow* R) { return !R->Moved; });
    for (int I = 0; I < N; ++I) {
      TRow* R = P[size_t(I)];
      R->Index = I;
      R->Caption = HandCaption(I, R->Name);
    }
    benchmark::DoNotOptimize(P.data());
  }
}

// A chain of N grids on one form, each following the one before: the grid whose master
// is edited is the last, so no other grid is its detail and every chain is walked whole.
struct TChain {
  TBench B{0};
  std::vector<TOmDBGrid*> Grids;
  explicit TChain(int N) {
    B.Grid->SetName("Grid0");
    Grids.push_back(B.Grid);
    for (int I = 1; I < N; ++I) {
      auto* G = static_cast<TOmDBGrid*>(
          B.D->CreateComponent(TOmDBGrid::StaticClass(), B.D->GetRoot(), 0, 0, 200, 100));
      G->SetName("Grid" + IntToStr(I));
      G->SetMasterGrid(Grids.back());
      Grids.push_back(G);
    }
  }
};

// Collects what a value list offers.
struct TCollect : TObject {
  std::vector<String> Names;
  void Add(const String& S) { Names.push_back(S); }
};

// Times the value list of the inspector's row Property for what Selected is, and reports
// how many names it offered.
void TimeValueList(benchmark::State& State, TBench& B, TPersistent* Selected, const char* Property) {
  B.D->SelectComponent(Selected);
  TPropertyEditor* Editor = B.Ide.Inspector().Row(Property).Get();
  size_t Offered = 0;
  for (auto _ : State) {
    TCollect Sink;
    Editor->GetValues(Closure<&TCollect::Add>(&Sink));
    Offered = Sink.Names.size();
  }
  State.counters["offered"] = double(Offered);
}

void MasterGridList(benchmark::State& State) {
  TChain C(int(State.range(0)));
  TimeValueList(State, C.B, C.Grids.back(), "MasterGrid");
}

// Floor of the master list: the same links walked from every grid, the names of those
// whose chain ends without the edited grid collected.
void WalkMasterLinks(benchmark::State& State) {
  TChain C(int(State.range(0)));
  const TOmCustomDBGrid* Edited = C.Grids.back();
  for (auto _ : State) {
    std::vector<String> Names;
    for (TOmDBGrid* G : C.Grids) {
      const TOmCustomDBGrid* M = G;
      while (M && M != Edited) M = M->MasterGrid();
      if (!M) Names.push_back(G->Name());
    }
    benchmark::DoNotOptimize(Names.data());
  }
}

// A column of a grid whose open dataset has just under N fields, nested three deep: object
// fields of ten object fields of ten plain fields each.
struct TFieldTree {
  TBench B{1};
  TClientDataSet* Data;
  explicit TFieldTree(int N) {
    Data = static_cast<TClientDataSet*>(
        B.D->CreateComponent(TClientDataSet::StaticClass(), B.D->GetRoot(), 0, 0, 0, 0));
    for (int T = 0; T < N / 111; ++T) {
      TFieldDef* Top = Data->FieldDefs()->AddFieldDef();
      Top->SetName("CustomerAddress" + IntToStr(T));
      Top->SetDataType(ftADT);
      for (int M = 0; M < 10; ++M) {
        TFieldDef* Mid = Top->ChildDefs()->AddFieldDef();
        Mid->SetName("DeliveryPoint" + IntToStr(M));
        Mid->SetDataType(ftADT);
        for (int L = 0; L < 10; ++L) Mid->ChildDefs()->Add("PostalCodeLine" + IntToStr(L), ftString, 20);
      }
    }
    auto* Source = static_cast<TDataSource*>(
        B.D->CreateComponent(TDataSource::StaticClass(), B.D->GetRoot(), 0, 0, 0, 0));
    Source->SetDataSet(Data);
    B.Grid->SetDataSource(Source);
    Data->Open();
  }
};

void FieldNameList(benchmark::State& State) {
  TFieldTree T(int(State.range(0)));
  TimeValueList(State, T.B, T.B.Grid->Columns()->GetColumn(0), "FieldName");
}

// Floor of the field list: the same tree walked, every field's full name collected.
void WalkFieldTree(benchmark::State& State) {
  TFieldTree T(int(State.range(0)));
  for (auto _ : State) {
    std::vector<String> Names;
    auto Walk = [&](auto&& Self, TField* F) -> void {
      Names.push_back(F->FullName());
      if (auto* O = dynamic_cast<TObjectField*>(F))
        for (int I = 0; I < O->FieldCount(); ++I) Self(Self, O->Fields()->Fields(I));
    };
    for (int I = 0; I < T.Data->FieldCount(); ++I) Walk(Walk, T.Data->Fields(I));
    benchmark::DoNotOptimize(Names.data());
  }
}

// --- The string editor ------------------------------------------------------------------

// The package's unit function, found in the loaded library as the IDE would find it.
using TReplaceAll = String (*)(const String&, const String&, const String&);
TReplaceAll PackageReplaceAll() {
  void* Library = dlopen(Bin(Package).c_str(), RTLD_NOW | RTLD_NOLOAD);
  void* F = Library ? dlsym(Library, "_ZN11Idelinesdlg10ReplaceAllERKNSt7__cxx1112basic_stringIcSt11"
                                     "char_traitsIcESaIcEEES7_S7_")
                    : nullptr;
  if (Library) dlclose(Library);
  return reinterpret_cast<TReplaceAll>(F);
}

// Megabytes of text in lines of equal length, Breaks of them in all, each ended by Break.
String Lines(size_t Bytes, size_t Breaks, const String& Break) {
  size_t Line = Bytes / Breaks - Break.size();
  String Text;
  Text.reserve(Bytes);
  for (size_t I = 0; I < Breaks; ++I) Text.append(Line, 'x').append(Break);
  return Text;
}

void TimeReplaceAll(benchmark::State& State, const String& Break, const String& Pattern,
                    const String& Replacement) {
  TBench B(0);  // the package loaded
  TReplaceAll ReplaceAll = PackageReplaceAll();
  if (!ReplaceAll) return State.SkipWithError("the package has no ReplaceAll");
  // A million breaks in 64 MiB, and as many in proportion for other sizes.
  size_t Bytes = size_t(State.range(0)) << 20, Breaks = Bytes / 64;
  String Text = Lines(Bytes, Breaks, Break);
  for (auto _ : State) benchmark::DoNotOptimize(ReplaceAll(Text, Pattern, Replacement).data());
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes));
}

void ReplaceCrLf(benchmark::State& State) { TimeReplaceAll(State, "\r\n", "\r\n", "\r"); }
void RemoveBars(benchmark::State& State) { TimeReplaceAll(State, "|", "|", ""); }

// The ellipsis of a title's Header holding N MiB in 10,000 rows a MiB, confirmed at once.
void HeaderRoundTrip(benchmark::State& State) {
  TBench B(1);
  size_t Bytes = size_t(State.range(0)) << 20;
  TOmColumnTitle* Title = B.Grid->Columns()->GetColumn(0)->Title();
  Title->SetHeader(Lines(Bytes, Bytes / 105, "|"));
  B.D->SelectComponent(B.Grid->Columns()->GetColumn(0));
  B.Ide.Inspector().Expand("Title");
  for (auto _ : State) {
    B.Ide.Desktop().Input().Answer(mrOk);
    B.Ide.Inspector().Edit("Title.Header");
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes));
  if (Title->Header().size() + 1 < Bytes - Bytes / 105) State.SkipWithError("rows were lost");
}

// Floor of both: the same bytes copied.
void CopyBytes(benchmark::State& State) {
  size_t Bytes = size_t(State.range(0)) << 20;
  std::vector<char> From(Bytes, 'x'), To(Bytes);
  for (auto _ : State) {
    std::memcpy(To.data(), From.data(), Bytes);
    benchmark::DoNotOptimize(To.data());
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes));
}

// What any function that returns a new string of the same bytes costs: the allocation,
// whose pages the system gives on first touch, and the copy.
void CopyIntoNewString(benchmark::State& State) {
  size_t Bytes = size_t(State.range(0)) << 20;
  String From(Bytes, 'x');
  for (auto _ : State) {
    String To(From);
    benchmark::DoNotOptimize(To.data());
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes));
}

// Floor of a picture: every pixel of a bitmap of the window's size filled once through
// the canvas, as the window's background is.
double FillOnce(TBitmap& Image, int Times) {
  auto Start = std::chrono::steady_clock::now();
  for (int I = 0; I < Times; ++I) {
    Image.Canvas()->Brush()->SetColor(TColor(I & 0xFFFFFF));
    Image.Canvas()->FillRect(Rect(0, 0, Image.Width(), Image.Height()));
    Image.Canvas()->ClearOperations();
    benchmark::DoNotOptimize(Image.Pixel(0, 0));
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// The columns editor of N rows painted whole into a bitmap (as `picture` does), and
// that bitmap encoded as PNG; each beside the fill of as many pixels, timed in the same
// run: "floor_ratio" is the operation's time over the floor's.
void PaintPicture(benchmark::State& State, bool Png) {
  TBench B(int(State.range(0)));
  TOmDBGridColumnsEditor* W = B.Open();
  if (!W) return State.SkipWithError("the columns editor did not open");
  W->FormListView->Items()->Item(W->FormListView->Items()->Count() / 2)->MakeVisible(false);
  TBitmap Image;
  W->PaintWindow(&Image);
  String File = "/tmp/omide-bench-picture-" + IntToStr(getpid()) + ".png";
  auto Start = std::chrono::steady_clock::now();
  for (auto _ : State) {
    if (Png) {
      SaveBitmapAsPng(&Image, File);
    } else {
      TBitmap Painted;
      W->PaintWindow(&Painted);
      benchmark::DoNotOptimize(Painted.Pixel(0, 0));
    }
  }
  double Took = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::remove(File.c_str());
  TBitmap Floor(Image.Width(), Image.Height());
  double Fill = FillOnce(Floor, int(State.iterations()));
  State.counters["pixels"] = double(Image.Width()) * Image.Height();
  State.counters["floor_ratio"] = Fill > 0 ? Took / Fill : 0;
}
void PaintColumnsEditor(benchmark::State& State) { PaintPicture(State, false); }
void PaintColumnsEditorAsPng(benchmark::State& State) { PaintPicture(State, true); }

// The floor alone, for the table: one fill of the editor's size.
void FillWindowPixels(benchmark::State& State) {
  TBench B(1);
  TOmDBGridColumnsEditor* W = B.Open();
  if (!W) return State.SkipWithError("the columns editor did not open");
  TBitmap Floor(W->Width(), W->Height());
  for (auto _ : State) FillOnce(Floor, 1);
}

}  // namespace

#define OM_SIZES ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(OpenWindow) OM_SIZES;
BENCHMARK(UpdateCaptions) OM_SIZES;
BENCHMARK(SelectAll) OM_SIZES;
BENCHMARK(InspectSelectAll) OM_SIZES;
BENCHMARK(ReadSelectedClasses) OM_SIZES;
// Each of these rebuilds its grid between runs, untimed: a fixed number of runs to a
// repetition, as many at 10,000 columns as make the same time as five at 100,000 (a
// spell of the machine then weighs as much in either).
#define OM_REBUILT ->Iterations(5)
#define OM_REBUILT_SIZES(F)                                                \
  BENCHMARK(F)->Arg(10000)->Iterations(50)->Unit(benchmark::kMillisecond); \
  BENCHMARK(F)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond)
OM_REBUILT_SIZES(DeleteEveryOther);
OM_REBUILT_SIZES(DeleteAllSelected);
OM_REBUILT_SIZES(AddAllFields);
BENCHMARK(FormatCaptions) OM_SIZES;
BENCHMARK(BuildCaptions) OM_SIZES;
OM_REBUILT_SIZES(FreeEveryOtherColumn);
OM_REBUILT_SIZES(FreeAllColumns);
OM_REBUILT_SIZES(ReplaceColumns);
#define OM_DROP_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(DropNearTheEnd) OM_DROP_SIZES OM_REBUILT;
BENCHMARK(DropNearTheStart) OM_DROP_SIZES OM_REBUILT;
BENCHMARK(PartitionAndRelabel) OM_DROP_SIZES;
BENCHMARK(MasterGridList)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkMasterLinks)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(FieldNameList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkFieldTree)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// Sizes in MiB: the doubled size shows how the time grows.
BENCHMARK(ReplaceCrLf)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveBars)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(HeaderRoundTrip)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyBytes)->Arg(5)->Arg(10)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyIntoNewString)->Arg(5)->Arg(10)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintColumnsEditor)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintColumnsEditorAsPng)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FillWindowPixels)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
