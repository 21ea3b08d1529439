// Random design sessions: thousands of design actions on random forms, through the IDE and
// the package's windows as a developer gives them, with the IDE checked after every one.
// OM_SOAK_SEED replays a run (each run prints its seed), OM_SOAK_ACTIONS bounds the actions
// and OM_SOAK_SECONDS the time; the first bound reached ends the run.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <set>

#include "ColumnsEditorFixture.h"

namespace {

unsigned long EnvNumber(const char* Name, unsigned long Default) {
  const char* V = std::getenv(Name);
  return V && *V ? std::strtoul(V, nullptr, 10) : Default;
}

class SoakTest : public ColumnsEditorTest {
 public:  // the test names the actions through the fixture
  std::mt19937_64 Random;
  TPackageRecord* Package = nullptr;
  std::vector<String> Log;  // the actions so far, for the message of a failure
  int Saves = 0;
  int Refused = 0;
  int Edited = 0;

  void SetUp() override {
    ColumnsEditorTest::SetUp();
    Package = Ide.Packages().Packages().back().get();
  }

  size_t Pick(size_t N) { return std::uniform_int_distribution<size_t>(0, N - 1)(Random); }
  bool Chance(int Percent) { return int(Pick(100)) < Percent; }

  TDesigner* Designer() { return Ide.ActiveDesigner(); }
  template <class T>
  std::vector<T*> All() {
    std::vector<T*> R;
    if (!Designer()) return R;
    TComponent* Root = Designer()->GetRoot();
    for (int I = 0; I < Root->ComponentCount(); ++I)
      if (auto* C = dynamic_cast<T*>(Root->Components(I))) R.push_back(C);
    return R;
  }
  template <class T>
  T* Any() {
    auto V = All<T>();
    return V.empty() ? nullptr : V[Pick(V.size())];
  }
  std::vector<TDesignWindow*> Editors() {
    std::vector<TDesignWindow*> R;
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (IsEditor(Screen->Forms(I))) R.push_back(static_cast<TDesignWindow*>(Screen->Forms(I)));
    return R;
  }
  TWindow* AnyEditor() {
    auto E = Editors();
    if (E.empty()) return nullptr;
    Windows.push_back(std::make_unique<TWindow>(E[Pick(E.size())]));
    return Windows.back().get();
  }
  // A parent a component may be dropped on: the form or one of its panels.
  TComponent* AnyParent() {
    std::vector<TWinControl*> Parents;
    for (auto* P : All<TPanel>()) Parents.push_back(P);
    for (auto* G : All<TOmDBGrid>()) Parents.push_back(G);
    if (Parents.empty() || Chance(40)) return Designer()->GetRoot();
    return Parents[Pick(Parents.size())];
  }
  template <class T>
  T* Drop() {
    return static_cast<T*>(Designer()->CreateComponent(T::StaticClass(), AnyParent(), int(Pick(300)),
                                                       int(Pick(300)), 80, 40));
  }
  void Settle() { Application->ProcessMessages(); }

  // --- the actions ---------------------------------------------------------------------
  void NewPanel() { Drop<TPanel>(); }
  void NewDataSet() {
    auto* Data = Drop<TClientDataSet>();
    int Fields = int(Pick(6));
    for (int I = 0; I < Fields; ++I) {
      String Name = "F" + IntToStr(int(Pick(9))) + "_" + IntToStr(I);
      if (Chance(30)) {
        // An object field: its columns nest under its own.
        TFieldDef* Object = Data->FieldDefs()->Add(Name, ftADT);
        int Children = 1 + int(Pick(3));
        for (int J = 0; J < Children; ++J) {
          TFieldDef* Child = Object->ChildDefs()->Add("C" + IntToStr(J), Chance(20) ? ftADT : ftString, 10);
          if (Child->DataType() == ftADT) Child->ChildDefs()->Add("G", ftInteger);
        }
      } else {
        Data->FieldDefs()->Add(Name, Chance(50) ? ftString : ftInteger, 10);
      }
    }
    if (Chance(30)) Data->SetActive(true);
    if (auto* Source = Any<TDataSource>(); Source && Chance(50)) Source->SetDataSet(Data);
  }
  void NewSource() {
    auto* Source = Drop<TDataSource>();
    if (auto* Data = Any<TClientDataSet>()) Source->SetDataSet(Data);
  }
  void NewGrid() {
    auto* G = Drop<TOmDBGrid>();
    if (auto* Source = Any<TDataSource>(); Source && Chance(70)) G->SetDataSource(Source);
  }
  void OpenEditor() {
    if (auto* G = Any<TOmDBGrid>()) {
      Designer()->SelectComponent(G);
      Ide.Inspector().Edit("Columns");
    }
  }
  void CloseEditor() {
    if (TWindow* W = AnyEditor()) W->Close();
    Settle();
  }
  void EditorCommand() {
    TWindow* W = AnyEditor();
    if (!W) return;
    W->Activated();
    TListItems* Rows = W->FormListView->Items();
    if (Rows->Count() > 0 && Chance(70)) {
      W->FormListView->ClearSelection();
      int N = 1 + int(Pick(3));
      for (int I = 0; I < N; ++I) Rows->Item(int(Pick(size_t(Rows->Count()))))->SetSelected(true);
    }
    TAction* Commands[] = {W->AddNew, W->Delete, W->Select, W->AddAll, W->Restore, W->Synchro, W->Stretch};
    TAction* A = Commands[Pick(std::size(Commands))];
    // Add All Fields and Restore Defaults ask before they replace columns of the grid's own.
    Input().Answer(Chance(50) ? mrYes : mrNo);
    if (A->Enabled()) A->Execute();
    Input().Clear();
  }
  void DragRows() {
    TWindow* W = AnyEditor();
    if (!W || W->FormListView->Items()->Count() < 2) return;
    W->Show();
    W->SetBounds(0, 0, 300, 2000);
    TListView* L = W->FormListView;
    L->ClearSelection();
    int N = L->Items()->Count();
    L->Items()->Item(int(Pick(size_t(N))))->SetSelected(true);
    if (Chance(30)) L->Items()->Item(int(Pick(size_t(N))))->SetSelected(true);
    TRect R = L->Items()->Item(int(Pick(size_t(N))))->DisplayRect();
    TPoint P{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    bool Accept = true;
    L->OnDragOver(L, L, P.X, P.Y, dsDragMove, Accept);
    if (Accept) L->OnDragDrop(L, L, P.X, P.Y);
  }
  // Every column of every grid on the form.
  std::vector<TPersistent*> AllColumns() {
    std::vector<TPersistent*> R;
    for (auto* G : All<TOmDBGrid>())
      for (int I = 0; I < G->Columns()->Count(); ++I) R.push_back(G->Columns()->GetColumn(I));
    return R;
  }
  void SelectSomething() {
    std::vector<TPersistent*> S;
    for (TPersistent* C : AllColumns())
      if (Chance(20)) S.push_back(C);
    if (S.empty() || Chance(30)) {
      if (TComponent* C = Any<TComponent>()) S = {C};
    }
    Designer()->SetSelection(S);
  }
  void EditProperty() {
    SelectSomething();
    // Texts the form file must carry as they are: quotes, bars, non-ASCII, a tab, and one
    // longer than a line of the file.
    static const String Long(300, 'w');
    static const std::pair<const char*, std::vector<String>> Edits[] = {
        {"Width", {"10", "0", "-5", "250", "x"}},
        {"Title.Caption", {"Name", "", "a|b", "'quoted'", "Größe – ü", "a\tb", Long}},
        {"Title.Font.Size", {"12", "0", "-11"}},
        {"Title.Font.Style.fsBold", {"True", "False"}},
        {"Title.Alignment", {"taCenter", "taRightJustify"}},
        {"Title.Header", {"A|B", "A|B|C", ""}},
        {"Font.Name", {"Courier New", ""}},
        {"Font.Color", {"clRed", "$00123456"}},
        {"Color", {"clInfoBk", "$00ABCDEF", "clWindow"}},
        {"Report.TotalText", {"Sum: %s", ""}},
        {"CheckBoxValues", {"Yes;No", "True;False", ";"}},
        {"FieldName", {"F1_0", "", "nosuch", "F3_2", "F2_1.C0", "F4_0.C1.G", "F5_2.C0"}},
        {"Expanded", {"True", "False"}},
        {"TabOrder", {"0", "1", "3", "-1"}},
        {"Visible", {"True", "False"}},
        {"Tag", {"7", "-1"}},
        {"Caption", {"Panel", "", "é\t'x'"}},
        {"Hint", {"h|i|n|t", "", Long}},
        {"DataSource", {""}},
        {"DataSet", {""}},
        // Events: a handler of the form's own, shared by several, or none.
        {"OnCellHint", {"GridCellHint", ""}},
        {"OnColExpand", {"GridColExpand", "Shared"}},
        {"OnHeaderClick", {"Shared", "", "9bad"}},
        {"OnRowSelect", {"GridRowSelect"}},
    };
    const auto& [Name, Values] = Edits[Pick(std::size(Edits))];
    String Top = String(Name).substr(0, String(Name).find('.'));
    auto Shows = [&] {
      const auto& Rows = Ide.Inspector().Rows();
      return std::any_of(Rows.begin(), Rows.end(), [&](const TInspectorRow& R) { return R.Name == Top; });
    };
    // Most edits are of a column's properties: what shows none of them takes a column, if
    // there is one, as a person would before typing.
    if (!Shows() && Chance(70)) {
      if (auto Columns = AllColumns(); !Columns.empty()) Designer()->SetSelection({Columns[Pick(Columns.size())]});
    }
    try {
      // A person opens the rows a nested property sits under before typing into it.
      String Path = Name;
      for (size_t Dot = Path.find('.'); Dot != String::npos; Dot = Path.find('.', Dot + 1))
        Ide.Inspector().Expand(Path.substr(0, Dot));
      Ide.Inspector().SetValue(Name, Values[Pick(Values.size())]);
      ++Edited;
    } catch (Exception&) {
      // A value the property refuses, or a property the selection lacks: the inspector says so.
    }
  }
  void DeleteThroughIde() {
    SelectSomething();
    // The designer of now: the fixture's first one goes when a form is replaced.
#if OM_HOST_RELEASE == 5
    Designer()->DeleteSelection();
#else
    Designer()->DeleteSelection(false);
#endif
    Settle();
  }
  void Rename() {
    TComponent* C = Any<TComponent>();
    if (!C) return;
    Designer()->SelectComponent(C);
    try {
      Ide.Inspector().SetValue("Name", Chance(80) ? "N" + IntToStr(int(Pick(50))) : String("9bad"));
    } catch (Exception&) {
      // Taken already, or no identifier: refused with a message.
    }
  }
  void SetTabOrder() {
    auto Controls = All<TWinControl>();
    if (Controls.empty()) return;
    Controls[Pick(Controls.size())]->SetTabOrder(int(Pick(8)) - 1);
  }
  void ReplaceForm() {
    // The designer closes with its windows open; a fresh form, now and then read from the
    // text of the old one, takes its place.
    String Text = Designer()->FormText();
    Ide.CloseDesigner(Designer());
    Settle();
    if (Chance(50)) {
      String File = Folder / ("Soak" + IntToStr(Saves++) + ".dfm");
      std::ofstream(File, std::ios::binary) << Text;
      Ide.OpenForm(File);
    } else {
      Ide.NewForm(TForm::StaticClass(), "Form" + IntToStr(int(Pick(1000))));
    }
  }
  void ReloadPackage() {
    Ide.Packages().Unload(Package);
    Settle();
    Package = Ide.Packages().Load(String(OM_BIN_DIR) + "/DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0.so");
  }

  // --- the checks after every action --------------------------------------------------
  // Every open columns editor belongs to a grid of an open form, and lists its columns in
  // the collection's order; no row holds a column that is gone.
  void CheckWindows() {
    std::map<String, TOmDBGrid*> Grids;
    for (const auto& Des : Ide.Designers()) {
      if (Des->Closed()) continue;
      TComponent* Root = Des->GetRoot();
      for (int I = 0; I < Root->ComponentCount(); ++I)
        if (auto* G = dynamic_cast<TOmDBGrid*>(Root->Components(I))) Grids[G->Name()] = G;
    }
    for (TDesignWindow* F : Editors()) {
      String Caption = F->Caption();
      ASSERT_EQ(Caption.rfind("Editing ", 0), 0u) << Caption;
      String GridName = Caption.substr(8, Caption.size() - 8 - String(".Columns").size());
      auto It = Grids.find(GridName);
      ASSERT_NE(It, Grids.end()) << "a columns editor outlived its grid: " << Caption;
      TOmDBGridColumns* Columns = It->second->Columns();
      auto* L = static_cast<TListView*>(F->FindComponent("FormListView"));
      // Columns in the default state are the grid's own making: the editor lists none.
      if (Columns->GetState() == csDefault) {
        ASSERT_EQ(L->Items()->Count(), 0) << Caption << " lists default columns";
        continue;
      }
      ASSERT_EQ(L->Items()->Count(), Columns->Count()) << Caption;
      for (int I = 0; I < Columns->Count(); ++I)
        ASSERT_EQ(L->Items()->Item(I)->Data(), Columns->GetColumn(I)) << Caption << " row " << I;
    }
  }
  // The form saves, and what it saved opens as the same text, byte for byte.
  void CheckSaves() {
    TDesigner* Des = Designer();
    String Text = Des->FormText();
    String File = Folder / "RoundTrip.dfm";
    Des->Save(File);
    std::ifstream In(File, std::ios::binary);
    String OnDisk((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    ASSERT_EQ(OnDisk, Text) << "the file differs from the form's text";
    TDesigner* Again = Ide.OpenForm(File);
    String Back = Again->FormText();
    Ide.CloseDesigner(Again);
    Ide.SetActiveDesigner(Des);
    Settle();
    ++Saves;
    ASSERT_EQ(Back, Text) << "the saved form reads back otherwise";
  }
};

TEST_F(SoakTest, RandomDesignActionsLeaveNoDanglingWindowAndEveryFormSavesAsItIs) {
  // The suite replays one known run, so that its outcome does not depend on a draw; other
  // seeds are explored by hand (docs/reliability.md).
  const unsigned long Seed = EnvNumber("OM_SOAK_SEED", 3399140140UL);
  const unsigned long MaxActions = EnvNumber("OM_SOAK_ACTIONS", 3000);
  const auto Budget = std::chrono::seconds(EnvNumber("OM_SOAK_SECONDS", 4));
  Random.seed(Seed);
  std::printf("soak: OM_SOAK_SEED=%lu OM_SOAK_ACTIONS=%lu\n", Seed, MaxActions);
  std::fflush(stdout);  // seen even when the run dies
  SCOPED_TRACE("replay with OM_SOAK_SEED=" + std::to_string(Seed));

  using TAct = void (SoakTest::*)();
  static const std::pair<const char*, TAct> Actions[] = {
      {"new dataset", &SoakTest::NewDataSet},        {"new source", &SoakTest::NewSource},
      {"new grid", &SoakTest::NewGrid},              {"new grid", &SoakTest::NewGrid},
      {"open editor", &SoakTest::OpenEditor},        {"open editor", &SoakTest::OpenEditor},
      {"close editor", &SoakTest::CloseEditor},      {"editor command", &SoakTest::EditorCommand},
      {"editor command", &SoakTest::EditorCommand},  {"editor command", &SoakTest::EditorCommand},
      {"drag rows", &SoakTest::DragRows},            {"drag rows", &SoakTest::DragRows},
      {"select", &SoakTest::SelectSomething},        {"edit property", &SoakTest::EditProperty},
      {"edit property", &SoakTest::EditProperty},    {"delete", &SoakTest::DeleteThroughIde},
      {"rename", &SoakTest::Rename},                 {"tab order", &SoakTest::SetTabOrder},
      {"new panel", &SoakTest::NewPanel},            {"replace form", &SoakTest::ReplaceForm},
      {"reload package", &SoakTest::ReloadPackage},
  };
  const auto Start = std::chrono::steady_clock::now();
  unsigned long Done = 0;
  for (; Done < MaxActions && std::chrono::steady_clock::now() - Start < Budget; ++Done) {
    if (!Ide.ActiveDesigner()) Ide.NewForm(TForm::StaticClass(), "Form" + IntToStr(int(Done)));
    size_t Which = Pick(std::size(Actions));
    // The rare ones stay rare: a form replaced or the package reloaded every hundred or so.
    if (Which >= std::size(Actions) - 2 && !Chance(10)) Which = Pick(std::size(Actions) - 2);
    Log.push_back(Actions[Which].first);
    if (Log.size() > 12) Log.erase(Log.begin());
    SCOPED_TRACE("action " + std::to_string(Done) + ": " + Log.back());
    try {
      (this->*Actions[Which].second)();
    } catch (Exception& E) {
      // What the IDE refuses (a grid dropped on a grid, a modal window that found no input
      // queued) it tells the developer; the session goes on.
      ASSERT_FALSE(E.Message.empty());
      ++Refused;
    }
    Input().Clear();
    ASSERT_NO_FATAL_FAILURE(CheckWindows());
    ASSERT_NO_FATAL_FAILURE(CheckSaves());
  }
  std::printf("soak: %lu actions (%d refused by the IDE, %d property edits taken), %d saves read back\n", Done,
              Refused, Edited, Saves);
}

}  // namespace
