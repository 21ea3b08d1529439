// Reading and writing a large form: a grid with many columns of several properties each;
// reading one of columns as the IDE writes them (a field name and a title each).
// Floors in the same run: reading the same bytes from the file, and copying them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "Classes.h"

enum TBenchAlignment { taLeftJustify, taRightJustify, taCenter };
OM_ENUM_TYPE(TBenchAlignment)
OM_ENUM_TYPE_INFO(TBenchAlignment, "taLeftJustify", "taRightJustify", "taCenter");

namespace {

class TBenchTitle : public TPersistent {
  OM_CLASS(TBenchTitle, TPersistent)
 public:
  TBenchTitle() = default;
  String Caption, Hint;
  TColor Color = clBtnFace;
  TBenchAlignment Alignment = taLeftJustify;
  int ImageIndex = -1;
};

class TBenchColumn : public TCollectionItem {
  OM_CLASS(TBenchColumn, TCollectionItem)
 public:
  explicit TBenchColumn(TCollection* C) : TCollectionItem(C) {}
  ~TBenchColumn() override {
    delete FTitle;
    delete FPickList;
  }
  String FieldName, Hint, EditorHint;
  int Width = 64, WidthMin = 0, WidthMax = 0;
  bool ReadOnly = false, Visible = true, WordWrap = false;
  TColor Color = clWindow;
  TBenchAlignment Alignment = taLeftJustify;
  TBenchTitle* Title() const { return FTitle; }
  TStrings* PickList() const { return FPickList; }

 private:
  TBenchTitle* FTitle = new TBenchTitle;
  TStrings* FPickList = new TStringList;
};

class TBenchGrid : public TComponent {
  OM_CLASS(TBenchGrid, TComponent)
 public:
  explicit TBenchGrid(TComponent* AOwner)
      : TComponent(AOwner), FColumns(new TOwnedCollection(this, TBenchColumn::StaticClass())) {}
  ~TBenchGrid() override { delete FColumns; }
  TCollection* Columns() const { return FColumns; }

 private:
  TCollection* FColumns;
};

class TBenchForm : public TComponent {
  OM_CLASS(TBenchForm, TComponent)
 public:
  explicit TBenchForm(TComponent* AOwner) : TComponent(AOwner) {}
};

}  // namespace

template <>
struct TPublished<TBenchTitle> {
  static constexpr TPropInfo Props[] = {
      Property<&TBenchTitle::Caption, &TBenchTitle::Caption>("Caption"),
      Property<&TBenchTitle::Hint, &TBenchTitle::Hint>("Hint"),
      Property<&TBenchTitle::Color, &TBenchTitle::Color>("Color", clBtnFace),
      Property<&TBenchTitle::Alignment, &TBenchTitle::Alignment>("Alignment", taLeftJustify),
      Property<&TBenchTitle::ImageIndex, &TBenchTitle::ImageIndex>("ImageIndex", -1),
  };
};
template <>
struct TPublished<TBenchColumn> {
  static constexpr TPropInfo Props[] = {
      Property<&TBenchColumn::FieldName, &TBenchColumn::FieldName>("FieldName"),
      Property<&TBenchColumn::Hint, &TBenchColumn::Hint>("Hint"),
      Property<&TBenchColumn::EditorHint, &TBenchColumn::EditorHint>("EditorHint"),
      Property<&TBenchColumn::Width, &TBenchColumn::Width>("Width", 64),
      Property<&TBenchColumn::WidthMin, &TBenchColumn::WidthMin>("WidthMin", 0),
      Property<&TBenchColumn::WidthMax, &TBenchColumn::WidthMax>("WidthMax", 0),
      Property<&TBenchColumn::ReadOnly, &TBenchColumn::ReadOnly>("ReadOnly", 0),
      Property<&TBenchColumn::Visible, &TBenchColumn::Visible>("Visible", 1),
      Property<&TBenchColumn::WordWrap, &TBenchColumn::WordWrap>("WordWrap", 0),
      Property<&TBenchColumn::Color, &TBenchColumn::Color>("Color", clWindow),
      Property<&TBenchColumn::Alignment, &TBenchColumn::Alignment>("Alignment", taLeftJustify),
      Property<&TBenchColumn::Title>("Title"),
      Property<&TBenchColumn::PickList>("PickList"),
  };
};
template <>
struct TPublished<TBenchGrid> {
  static constexpr TPropInfo Props[] = {Property<&TBenchGrid::Columns>("Columns")};
};
OM_IMPLEMENT_CLASS(TBenchTitle, "FormBench");
OM_IMPLEMENT_CLASS(TBenchColumn, "FormBench");
OM_IMPLEMENT_CLASS(TBenchGrid, "FormBench");
OM_IMPLEMENT_CLASS(TBenchForm, "FormBench");

namespace {

// The text of a form whose grid has Columns columns, each made by Fill; made once a size.
template <class F>
const String& GridFormText(std::map<int, String>& Cache, int Columns, F Fill) {
  String& Text = Cache[Columns];
  if (!Text.empty()) return Text;
  RegisterClasses({TBenchForm::StaticClass(), TBenchGrid::StaticClass()});
  TBenchForm Form(nullptr);
  Form.SetName("Form1");
  auto* Grid = new TBenchGrid(&Form);
  Grid->SetName("Grid1");
  Grid->Columns()->BeginUpdate();
  for (int I = 0; I < Columns; ++I) Fill(static_cast<TBenchColumn*>(Grid->Columns()->Add()), I);
  Grid->Columns()->EndUpdate();
  Text = ComponentToText(&Form);
  return Text;
}

// A grid of columns of about a kilobyte each.
const String& FormText(int Columns) {
  static std::map<int, String> Cache;
  return GridFormText(Cache, Columns, [](TBenchColumn* C, int I) {
    C->FieldName = "Field" + IntToStr(I);
    C->Hint = "The value of field " + IntToStr(I) + ", as the database keeps it";
    C->EditorHint = "Type a new value|Press Enter to keep it, Esc to go back";
    C->Width = 40 + I % 200;
    C->WidthMax = 400;
    C->ReadOnly = I % 3 == 0;
    C->Color = I % 2 ? clWindow : clInfoBk;
    C->Alignment = TBenchAlignment(I % 3);
    C->Title()->Caption = "Column '" + IntToStr(I) + "'\r\nsecond line";
    C->Title()->Hint = "Click to sort by field " + IntToStr(I);
    C->Title()->ImageIndex = I % 8;
    for (int K = 0; K < 12; ++K)
      C->PickList()->Add("Choice " + IntToStr(K) + " of column " + IntToStr(I) + ", in full");
  });
}

// The shape the IDE writes for a grid's columns: a field name and a title each, about 90
// bytes a column. Parsing is dearer per byte here than in the form above: many short items.
const String& ColumnsFormText(int Columns) {
  static std::map<int, String> Cache;
  return GridFormText(Cache, Columns, [](TBenchColumn* C, int I) {
    C->FieldName = "CustomerAddressLine" + IntToStr(I);
    C->Title()->Caption = "Customer address " + IntToStr(I);
  });
}

void TimeRead(benchmark::State& State, const String& Text) {
  for (auto _ : State) {
    TComponent* Form = ComponentFromText(Text, "Bench.dfm");
    benchmark::DoNotOptimize(Form);
    State.PauseTiming();
    delete Form;
    State.ResumeTiming();
  }
  State.SetBytesProcessed(State.iterations() * (long long)Text.size());
  State.counters["columns"] = double(State.range(0));
}

void ReadColumnsForm(benchmark::State& State) { TimeRead(State, ColumnsFormText(int(State.range(0)))); }

void ReadForm(benchmark::State& State) { TimeRead(State, FormText(int(State.range(0)))); }

void WriteForm(benchmark::State& State) {
  const String& Text = FormText(int(State.range(0)));
  TComponent* Form = ComponentFromText(Text, "Bench.dfm");
  for (auto _ : State) {
    String Out = ComponentToText(Form);
    benchmark::DoNotOptimize(Out.data());
  }
  delete Form;
  State.SetBytesProcessed(State.iterations() * (long long)Text.size());
}

// Floor: the same bytes read from a file.
void ReadFileFloor(benchmark::State& State) {
  const String& Text = FormText(int(State.range(0)));
  auto Path = std::filesystem::temp_directory_path() / ("omformbench" + std::to_string(getpid()) + ".dfm");
  TComponent* Form = ComponentFromText(Text, "Bench.dfm");
  WriteComponentFile(Path.string(), Form);
  delete Form;
  String Buffer(Text.size(), '\0');
  for (auto _ : State) {
    int Fd = open(Path.c_str(), O_RDONLY);
    size_t Got = 0;
    for (ssize_t N; Got < Buffer.size() && (N = read(Fd, Buffer.data() + Got, Buffer.size() - Got)) > 0;)
      Got += size_t(N);
    close(Fd);
    benchmark::DoNotOptimize(Buffer.data());
  }
  std::filesystem::remove(Path);
  State.SetBytesProcessed(State.iterations() * (long long)Text.size());
}

// Floor: the same bytes copied in memory.
void CopyFloor(benchmark::State& State) {
  const String& Text = FormText(int(State.range(0)));
  String Buffer(Text.size(), '\0');
  for (auto _ : State) {
    std::memcpy(Buffer.data(), Text.data(), Text.size());
    benchmark::DoNotOptimize(Buffer.data());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * (long long)Text.size());
}

}  // namespace

BENCHMARK(ReadForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadColumnsForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteForm)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadFileFloor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CopyFloor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
