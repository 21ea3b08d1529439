// The columns editor as a developer meets it: the window, its list, its commands, the
// editors that open it, and the about box; with the real package loaded.
#include "ColumnsEditorFixture.h"

namespace {

// --- The window ------------------------------------------------------------------------

TEST_F(ColumnsEditorTest, FirstWindowEverIsSmallWithTheToolBarShown) {
  TOmDBGridColumnsEditor* W = Open();
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->Width(), 272);
  EXPECT_EQ(W->Height(), 232);
  EXPECT_EQ(W->FormToolBar->Height(), 30);
  EXPECT_EQ(W->FormToolBar->ButtonHeight(), 22);
  EXPECT_EQ(W->FormToolBar->ButtonWidth(), 23);
  EXPECT_FALSE(W->FormToolBar->ShowCaptions());
  EXPECT_TRUE(W->FormToolBar->Visible());
  EXPECT_TRUE(W->Toolbar->Checked());
  EXPECT_FALSE(W->Labels->Checked());
  EXPECT_EQ(W->Caption(), "Editing OmDBGrid1.Columns");
  EXPECT_EQ(W->FormImageList->Count(), 8);
  EXPECT_EQ(W->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_TRUE(W->KeyPreview());
}

TEST_F(ColumnsEditorTest, SettingsWrittenOnCloseAreReadByTheNextWindowButColumn0IsNot) {
  TOmDBGridColumnsEditor* W = Open();
  Perform(W->Labels);
  Perform(W->Toolbar);
  W->SetBounds(0, 0, 300, 400);
  W->Close();
  Application->ProcessMessages();
  {
    TRegIniFile Ini(SettingsKey());
    EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Height", 0), 400);
    EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Width", 0), 300);
    EXPECT_EQ(Ini.ReadString("TDBGridColumns", "LargeButtons", ""), "1");
    EXPECT_EQ(Ini.ReadString("TDBGridColumns", "Toolbar", ""), "0");
    EXPECT_NE(Ini.ReadString("TDBGridColumns", "Column0", ""), "");
    Ini.WriteInteger("TDBGridColumns", "Column0", 977);
  }
  TOmDBGridColumnsEditor* Next = Open(NewGrid("OmDBGrid2"));
  EXPECT_EQ(Next->Height(), 400);
  EXPECT_EQ(Next->Width(), 300);
  EXPECT_TRUE(Next->Labels->Checked());
  EXPECT_EQ(Next->FormToolBar->Height(), 44);
  EXPECT_TRUE(Next->FormToolBar->ShowCaptions());
  EXPECT_FALSE(Next->FormToolBar->Visible());
  EXPECT_FALSE(Next->FormSplitter->Visible());
  EXPECT_NE(Next->FormListView->Column(0)->Width(), 977);
}

// Transactions that changed the settings store: SQLite counts them in the file's header.
unsigned StoreCommits(const std::string& Store) {
  std::string Bytes = ReadWholeFile(Store);
  unsigned N = 0;
  for (size_t I = 24; I < 28 && I < Bytes.size(); ++I) N = N << 8 | static_cast<unsigned char>(Bytes[I]);
  return N;
}

// Each transaction syncs the disk: a close that wrote every setting on its own waited for
// the disk five times.
TEST_F(ColumnsEditorTest, ClosingWritesTheSettingsInOneTransaction) {
  TOmDBGridColumnsEditor* W = Open();
  W->SetBounds(0, 0, 300, 400);
  std::string Store = Folder / "settings.db";
  unsigned Before = StoreCommits(Store);
  W->Close();
  Application->ProcessMessages();
  EXPECT_EQ(StoreCommits(Store), Before + 1);
  TRegIniFile Ini(SettingsKey());
  EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Height", 0), 400);
}

TEST_F(ColumnsEditorTest, ClosingSelectsTheGridOnlyWhileTheWindowsSelectionIsTheIdes) {
  AddColumns(2);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1});
  W->Close();
  Application->ProcessMessages();
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid});
  W = Open();
  W->Show();
  SelectRows(W, {0});
  TOmDBGrid* Other = NewGrid("OmDBGrid2");
  D->SelectComponent(Other);  // the IDE's selection is no longer the window's
  W->Close();
  Application->ProcessMessages();
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Other});
}

TEST_F(ColumnsEditorTest, TheSplitterRefuses31To43AndSnapsTheLabels) {
  TOmDBGridColumnsEditor* W = Open();
  for (int Size = 31; Size <= 43; ++Size) {
    int S = Size;
    bool Accept = true;
    W->FormSplitter->OnCanResize(W->FormSplitter, S, Accept);
    EXPECT_FALSE(Accept) << Size;
    EXPECT_FALSE(W->Labels->Checked()) << Size;
  }
  int S = 44;
  bool Accept = false;
  W->FormSplitter->OnCanResize(W->FormSplitter, S, Accept);
  EXPECT_TRUE(Accept);
  EXPECT_TRUE(W->Labels->Checked());
  EXPECT_EQ(W->FormToolBar->Height(), 44);
  S = 30;
  W->FormSplitter->OnCanResize(W->FormSplitter, S, Accept);
  EXPECT_TRUE(Accept);
  EXPECT_FALSE(W->Labels->Checked());
  EXPECT_EQ(W->FormToolBar->Height(), 30);
}

TEST_F(ColumnsEditorTest, DeletingTheGridClosesTheWindowWithoutSelectingTheGrid) {
  AddColumns(2);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {0});
  D->SelectComponent(Grid);
  Push(W);
  D->SelectComponent(Grid);
  DeleteSelected();
  Application->ProcessMessages();
  EXPECT_EQ(WindowCount(), 0);
  EXPECT_TRUE(Selection().empty());
}

TEST_F(ColumnsEditorTest, RenamingTheGridRetitlesItsWindow) {
  TOmDBGridColumnsEditor* W = Open();
  D->SelectComponent(Grid);
  Ide.Inspector().SetValue("Name", "OrdersGrid");
  EXPECT_EQ(W->Caption(), "Editing OrdersGrid.Columns");
  // Still the one window of that grid.
  EXPECT_EQ(Open()->Form, W->Form);
  EXPECT_EQ(WindowCount(), 1);
}

TEST_F(ColumnsEditorTest, ClosingTheDesignerClosesOnlyItsWindows) {
  TOmDBGridColumnsEditor* W = Open();
  (void)W;
  TDesigner* Other = Ide.NewForm(TForm::StaticClass(), "Form2");
  auto* OtherGrid = static_cast<TOmDBGrid*>(
      Other->CreateComponent(TOmDBGrid::StaticClass(), Other->GetRoot(), 0, 0, 10, 10));
  OtherGrid->SetName("OtherGrid");
  Other->SelectComponent(OtherGrid);
  Ide.Inspector().Edit("Columns");
  ASSERT_EQ(WindowCount(), 2);
  Ide.CloseDesigner(Other);
  Application->ProcessMessages();
  EXPECT_EQ(WindowCount(), 1);
  EXPECT_NE(Find(Grid), nullptr);
  Ide.CloseDesigner(D);
  Application->ProcessMessages();
  EXPECT_EQ(WindowCount(), 0);
}

TEST_F(ColumnsEditorTest, EnterAndPrintableKeysGoToTheInspector) {
  TOmDBGridColumnsEditor* W = Open();
  char Key = 13;
  W->OnKeyPress(W->Form, Key);
  EXPECT_EQ(Ide.LastModalEdit().Count, 1);
  EXPECT_EQ(Ide.LastModalEdit().Key, '\0');
  EXPECT_EQ(Key, 13);
  Key = 'a';
  W->FormListView->OnKeyPress(W->FormListView, Key);
  EXPECT_EQ(Ide.LastModalEdit().Count, 2);
  EXPECT_EQ(Ide.LastModalEdit().Key, 'a');
  EXPECT_EQ(Key, 0);
  Key = ' ';
  W->FormListView->OnKeyPress(W->FormListView, Key);
  EXPECT_EQ(Ide.LastModalEdit().Count, 2);
  EXPECT_EQ(Key, ' ');
}

TEST_F(ColumnsEditorTest, TheEditMenuOffersPasteOnlyWithComponentsOnTheClipboard) {
  AddColumns(3);
  TOmDBGridColumnsEditor* W = Open();
  TEditState Without = W->GetEditState();
  EXPECT_TRUE(Without.Contains(esCanCut) && Without.Contains(esCanCopy) &&
              Without.Contains(esCanDelete));
  EXPECT_FALSE(Without.Contains(esCanPaste));
  EXPECT_FALSE(Without.Contains(esCanSelectAll));
  D->SelectComponent(Grid);
  D->CopySelection();
  EXPECT_TRUE(W->GetEditState().Contains(esCanPaste));
  W->Show();
  SelectRows(W, {1});
  D->SelectComponent(Grid);
  Push(W);
  W->EditAction(eaDelete);
  EXPECT_EQ(Grid->Columns()->Count(), 2);
#if OM_HOST_RELEASE == 6
  EXPECT_FALSE(W->EditAction(eaUndo));
#endif
}

TEST_F(ColumnsEditorTest, ActivationRepushesTheSelectionOnlyWhenSomethingElseTookIt) {
  AddColumns(3);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()});  // a new window
  SelectRows(W, {2});
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()->GetColumn(2)});
  D->SelectComponent(Grid);
  W->Activated();
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()->GetColumn(2)});
}

TEST_F(ColumnsEditorTest, AColumnFreedElsewhereLeavesTheSelectionAndTheNextActivationPushes) {
  AddColumns(3);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {2});
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  delete Grid->Columns()->GetColumn(2);  // not by a command of the window
  EXPECT_TRUE(Selection().empty());
  EXPECT_TRUE(Ide.Inspector().Rows().empty());
  D->Modified();  // the designer tells of it now, before the modification
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(Sink.Events, (std::vector<String>{"selection 0", "modified Form1"}));
  EXPECT_EQ(Captions(W).size(), 2u);
  Push(W);  // the IDE's selection is no longer the window's: it is pushed again
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()});
}

TEST_F(ColumnsEditorTest, AStoredSizeNoWindowCanHaveCountsAsMissing) {
  {
    TRegIniFile Ini(SettingsKey());
    Ini.WriteInteger("TDBGridColumns", "Width", 99999999);
    Ini.WriteInteger("TDBGridColumns", "Height", -100);
  }
  TOmDBGridColumnsEditor* W = Open();
  EXPECT_EQ(W->Width(), 272);
  EXPECT_EQ(W->Height(), 232);
  W->Close();
  Application->ProcessMessages();
  TRegIniFile Ini(SettingsKey());
  EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Width", 0), 272);
  EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Height", 0), 232);
  Ini.WriteInteger("TDBGridColumns", "Width", 0);
  Ini.WriteInteger("TDBGridColumns", "Height", 16385);
  W = Open();
  EXPECT_EQ(W->Width(), 272);
  EXPECT_EQ(W->Height(), 232);
}

// Raises what is no Exception of the platform whenever the selection changes.
struct TThrowingSink : TDesignSink {
  void SelectionChanged(TDesigner*, const std::vector<TPersistent*>&) override {
    throw std::runtime_error("a listener failed");
  }
};

TEST_F(ColumnsEditorTest, FailuresWhileClosingReachTheIdeAndTheWindowStillGoes) {
  AddColumns(2);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1});
  // The store turns into a folder and a listener fails: both reach the handler.
  std::string Store = Folder / "settings.db";
  SetSettingsStoreFile(Folder.Path());
  TThrowingSink Sink;
  Ide.AddSink(&Sink);
  Application->ClearErrors();
  W->Close();
  Application->ProcessMessages();
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(WindowCount(), 0);
  ASSERT_EQ(Application->Errors().size(), 2u);
  EXPECT_NE(Application->Errors()[0].find(Folder.Path()), String::npos);
  EXPECT_NE(Application->Errors()[0].find("Collection Editor"), String::npos);
  EXPECT_EQ(Application->Errors()[1], "a listener failed");
  Application->ClearErrors();
}

// Release 5 tells its windows of a closing form by the form; a data module has none.
TEST_F(ColumnsEditorTest, ClosingAnotherDataModuleLeavesTheWindowOfAGridOnADataModule) {
  TDesigner* Module1 = Ide.NewForm(TDataModule::StaticClass(), "DM1");
  auto* ModuleGrid = static_cast<TOmDBGrid*>(
      Module1->CreateComponent(TOmDBGrid::StaticClass(), Module1->GetRoot(), 0, 0, 10, 10));
  ModuleGrid->SetName("ModuleGrid");
  Module1->SelectComponent(ModuleGrid);
  Ide.Inspector().Edit("Columns");
  ASSERT_NE(Find(ModuleGrid), nullptr);
  TDesigner* Module2 = Ide.NewForm(TDataModule::StaticClass(), "DM2");
  Ide.CloseDesigner(Module2);
  Application->ProcessMessages();
  EXPECT_NE(Find(ModuleGrid), nullptr);
  Ide.CloseDesigner(Module1);
  Application->ProcessMessages();
  EXPECT_EQ(WindowCount(), 0);
}

TEST_F(ColumnsEditorTest, ClickingBackIntoTheWindowAfterWorkingOnTheFormRepushes) {
  AddColumns(3);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {0, 2});
  // The developer clicks the grid on the form: the form's window is the active one.
  Ide.SetActiveDesigner(D);
  D->SelectComponent(Grid);
  EXPECT_NE(Screen->ActiveForm(), W->Form);
  Input().Click(W->FormToolBar);
  Application->ProcessInput();
  EXPECT_EQ(Screen->ActiveForm(), W->Form);
  EXPECT_EQ(Selection(), (std::vector<TPersistent*>{Grid->Columns()->GetColumn(0),
                                                    Grid->Columns()->GetColumn(2)}));
}

// --- The list ------------------------------------------------------------------------------

TEST_F(ColumnsEditorTest, RowsAreNumberedCaptionsOfCustomizedColumnsOnly) {
  TOmDBGridColumnsEditor* W = Open();
  EXPECT_TRUE(Captions(W).empty());
  W->Close();
  Application->ProcessMessages();
  AddColumns(3);
  W = Open();
  ASSERT_EQ(Captions(W).size(), 3u);
  EXPECT_EQ(Captions(W)[0], "0 - " + Grid->Columns()->GetColumn(0)->DisplayName());
  EXPECT_EQ(Captions(W)[2].substr(0, 4), "2 - ");
  W->Show();
  SelectRows(W, {1});
  int Redraws = W->FormListView->RedrawCount();
  Grid->Columns()->GetColumn(1)->SetFieldName("Renamed");
  D->Modified();
  EXPECT_EQ(Captions(W)[1], "1 - " + Grid->Columns()->GetColumn(1)->DisplayName());
  EXPECT_EQ(W->FormListView->RedrawCount(), Redraws + 1);
  EXPECT_TRUE(W->FormListView->Items()->Item(1)->Selected());
}

TEST_F(ColumnsEditorTest, AnIdeDeleteOfSelectedColumnsThenModifiedIsSafe) {
  AddColumns(4);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1, 2});
  ASSERT_EQ(Selection().size(), 2u);
  DeleteSelected();
  Perform(W->Restore);  // its rows are still selected in the list: nothing may reach them
  D->Modified();
  ASSERT_EQ(Captions(W).size(), 2u);
  EXPECT_EQ(W->FormListView->Items()->Item(1)->Data(), Grid->Columns()->GetColumn(1));
}

// --- The commands -------------------------------------------------------------------------

TEST_F(ColumnsEditorTest, DeleteRows2And5Of8SelectsTheRowAtPosition2) {
  AddColumns(8);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  TOmColumn* Third = Grid->Columns()->GetColumn(3);
  SelectRows(W, {2, 5});
  Perform(W->Delete);
  EXPECT_EQ(Grid->Columns()->Count(), 6);
  EXPECT_EQ(Captions(W), (std::vector<String>{"0 - F0", "1 - F1", "2 - F3", "3 - F4", "4 - F6",
                                              "5 - F7"}));
  for (int I = 0; I < 6; ++I)
    EXPECT_EQ(W->FormListView->Items()->Item(I)->Data(), Grid->Columns()->GetColumn(I));
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Third});
  EXPECT_TRUE(W->FormListView->Items()->Item(2)->Selected());
}

TEST_F(ColumnsEditorTest, DeleteOfTheLastRowSelectsTheNewLastAndOfAllSelectsTheCollection) {
  AddColumns(3);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {2});
  Perform(W->Delete);
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()->GetColumn(1)});
  Perform(W->Select);
  Perform(W->Delete);
  EXPECT_EQ(Grid->Columns()->Count(), 0);
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()});
  EXPECT_FALSE(W->Delete->Enabled());
  EXPECT_FALSE(W->Select->Enabled());
}

TEST_F(ColumnsEditorTest, DeletingAColumnLeavesTheMarkersOfTheOthers) {
  AddColumns(3);
  Grid->Columns()->GetColumn(0)->Title()->SetMarkerIndex(3);
  Grid->OrderFields()->SetText("F2");
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1});
  Perform(W->Delete);
  EXPECT_EQ(Grid->Columns()->GetColumn(0)->Title()->MarkerIndex(), 3);
  EXPECT_EQ(Grid->Columns()->GetColumn(1)->Title()->MarkerIndex(), 0);  // F2, first in order
}

TEST_F(ColumnsEditorTest, AddSelectsTheNewColumnAndRedrawsOnce) {
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  int Redraws = W->FormListView->RedrawCount();
  Perform(W->AddNew);
  ASSERT_EQ(Grid->Columns()->Count(), 1);
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()->GetColumn(0)});
  EXPECT_EQ(W->FormListView->RedrawCount() - Redraws, 1);
}

class AddAllTest : public ColumnsEditorTest {
 protected:
  TClientDataSet* Data = nullptr;
  void SetUp() override {
    ColumnsEditorTest::SetUp();
    Data = static_cast<TClientDataSet*>(
        D->CreateComponent(TClientDataSet::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
    Data->FieldDefs()->Add("Name", ftString, 20);
    Data->FieldDefs()->Add("City", ftString, 20);
    auto* Source = static_cast<TDataSource*>(
        D->CreateComponent(TDataSource::StaticClass(), D->GetRoot(), 0, 0, 0, 0));
    Source->SetDataSet(Data);
    Grid->SetDataSource(Source);
  }
  std::vector<String> FieldNames() {
    std::vector<String> R;
    for (int I = 0; I < Grid->Columns()->Count(); ++I)
      R.push_back(Grid->Columns()->GetColumn(I)->FieldName());
    return R;
  }
};

TEST_F(AddAllTest, EachCommandRedrawsTheListOnce) {
  Data->Open();
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  auto Redraws = [&](auto&& Command) {
    int Before = W->FormListView->RedrawCount();
    Command();
    return W->FormListView->RedrawCount() - Before;
  };
  EXPECT_EQ(Redraws([&] { Perform(W->AddAll); }), 1);
  EXPECT_EQ(Redraws([&] { Perform(W->AddNew); }), 1);
  EXPECT_EQ(Redraws([&] { Perform(W->Select); }), 1);
  EXPECT_EQ(Redraws([&] { D->Modified(); }), 1);
  SelectRows(W, {0});
  EXPECT_EQ(Redraws([&] { Perform(W->Delete); }), 1);
  Input().Answer(mrYes);
  EXPECT_EQ(Redraws([&] { Perform(W->AddAll); }), 1);
}

TEST_F(AddAllTest, IsEnabledOnlyForAnOpenDataset) {
  TOmDBGridColumnsEditor* W = Open();
  D->Modified();
  EXPECT_FALSE(W->AddAll->Enabled());
  Data->Open();
  D->Modified();
  EXPECT_TRUE(W->AddAll->Enabled());
}

TEST_F(AddAllTest, DefaultStateAsksNothingAndCustomizes) {
  Data->Open();
  TOmDBGridColumnsEditor* W = Open();
  Perform(W->AddAll);
  EXPECT_EQ(Grid->Columns()->GetState(), csCustomized);
  EXPECT_EQ(FieldNames(), (std::vector<String>{"Name", "City"}));
  EXPECT_EQ(Captions(W).size(), 2u);
}

TEST_F(AddAllTest, YesReplacesNoAppendsCancelKeepsButModifies) {
  AddColumns(1);
  Data->Open();
  TOmDBGridColumnsEditor* W = Open();
  Input().Answer(mrNo);
  Perform(W->AddAll);
  EXPECT_EQ(FieldNames(), (std::vector<String>{"F0", "Name", "City"}));
  Input().Answer(mrYes);
  Perform(W->AddAll);
  EXPECT_EQ(FieldNames(), (std::vector<String>{"Name", "City"}));
  std::vector<String> Before = FieldNames();
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Input().Answer(mrCancel);
  Perform(W->AddAll);
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(FieldNames(), Before);
  EXPECT_NE(std::find(Sink.Events.begin(), Sink.Events.end(), "modified Form1"), Sink.Events.end());
  EXPECT_EQ(Application->DialogLog().back().find("Delete existing columns?") != String::npos, true);
}

TEST_F(AddAllTest, CancelLeavesTheListsAndTheIdesSelectionAsTheyWere) {
  AddColumns(4);
  Data->Open();
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1, 3});
  std::vector<TPersistent*> Before = Selection();
  ASSERT_EQ(Before.size(), 2u);
  Input().Answer(mrCancel);
  Perform(W->AddAll);
  EXPECT_TRUE(W->FormListView->Items()->Item(1)->Selected());
  EXPECT_TRUE(W->FormListView->Items()->Item(3)->Selected());
  EXPECT_EQ(W->FormListView->SelCount(), 2);
  EXPECT_EQ(Selection(), Before);
}

TEST_F(ColumnsEditorTest, EnablingFollowsTheGridAndTheSelection) {
  AddColumns(2);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  EXPECT_FALSE(W->Delete->Enabled());
  EXPECT_FALSE(W->Restore->Enabled());
  EXPECT_TRUE(W->Select->Enabled());
  EXPECT_FALSE(W->Synchro->Enabled());
  EXPECT_TRUE(W->Stretch->Enabled());
  SelectRows(W, {0});
  EXPECT_TRUE(W->Delete->Enabled());
  EXPECT_TRUE(W->Restore->Enabled());
  TOmDBGrid* Master = NewGrid("Master");
  Grid->SetMasterGrid(Master);
  D->Modified();
  EXPECT_FALSE(W->Stretch->Enabled());
}

TEST_F(ColumnsEditorTest, TheStretchActionFollowsTheGridAndBracketsEveryChange) {
  AddColumns(2);
  Grid->SetStretchMode(true);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();  // activation computes the commands
  EXPECT_TRUE(W->Stretch->Checked());
  EXPECT_EQ(W->StretchToolButton->ImageIndex(), 7);
  EXPECT_TRUE(Grid->StretchMode());
  Perform(W->AddNew);
  EXPECT_TRUE(Grid->StretchMode());
  Perform(W->Stretch);
  EXPECT_FALSE(Grid->StretchMode());
  EXPECT_EQ(W->StretchToolButton->ImageIndex(), 6);
}

TEST_F(ColumnsEditorTest, TheStretchButtonKeepsItsImageWhenTheActionIsEnabledOrDisabled) {
  AddColumns(1);
  Grid->SetStretchMode(true);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  ASSERT_EQ(W->StretchToolButton->ImageIndex(), 7);
  TOmDBGrid* Master = NewGrid("Master");
  Grid->SetMasterGrid(Master);
  D->Modified();
  EXPECT_FALSE(W->Stretch->Enabled());
  EXPECT_EQ(W->StretchToolButton->ImageIndex(), 7);
  Grid->SetMasterGrid(nullptr);
  D->Modified();
  EXPECT_TRUE(W->Stretch->Enabled());
  EXPECT_EQ(W->StretchToolButton->ImageIndex(), 7);
}

TEST_F(ColumnsEditorTest, WithItsGridGoneStretchChangesNothing) {
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  D->SelectComponent(Grid);
  DeleteSelected();  // the window closes; it is freed by the next round of messages
  Perform(W->Stretch);
  EXPECT_FALSE(W->Stretch->Checked());
  EXPECT_EQ(W->StretchToolButton->ImageIndex(), 6);
  Application->ProcessMessages();
  EXPECT_EQ(WindowCount(), 0);
}

TEST_F(ColumnsEditorTest, SynchronizeIsEnabledByAManageGridAndSynchronizesTheWidths) {
  AddColumns(2);
  TOmDBGrid* Managed = NewGrid("Managed");
  for (int I = 0; I < 2; ++I) Managed->Columns()->Add()->SetFieldName("F" + IntToStr(1 - I));
  Grid->Columns()->GetColumn(1)->SetWidth(123);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  EXPECT_FALSE(W->Synchro->Enabled());
  D->SelectComponent(Grid);
  Ide.Inspector().SetValue("ManageGrid", "Managed");
  EXPECT_EQ(Grid->GetManageGrid(), Managed);
  EXPECT_TRUE(W->Synchro->Enabled());
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Perform(W->Synchro);
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(Managed->Columns()->GetColumn(0)->Width(), 123);  // F1, by field name
  EXPECT_EQ(Sink.Events, std::vector<String>{"modified Form1"});
  EXPECT_NE(D->FormText().find("ManageGrid = Managed"), String::npos);
}

TEST_F(ColumnsEditorTest, SelectAllPushesOnce) {
  AddColumns(5);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Perform(W->Select);
  Ide.RemoveSink(&Sink);
  EXPECT_EQ(std::count(Sink.Events.begin(), Sink.Events.end(), "selection 5"), 1);
  EXPECT_EQ(Sink.Events.size(), 1u);
}

TEST_F(ColumnsEditorTest, DeletingAPushedSelectionTellsTheIdeOnceAndShowsTheCollection) {
  AddColumns(40);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  Perform(W->Select);
  ASSERT_EQ(Selection().size(), 40u);
  ASSERT_FALSE(Ide.Inspector().Rows().empty());  // editors for all forty columns
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  Perform(W->Delete);
  Ide.RemoveSink(&Sink);
  // Forty columns left the IDE's selection; it hears of the collection selected after
  // them, not of each one going.
  EXPECT_EQ(Sink.Events, (std::vector<String>{"selection 1", "modified Form1"}));
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Grid->Columns()});
  EXPECT_EQ(Ide.Inspector().Objects(), std::vector<TPersistent*>{Grid->Columns()});
  for (const TInspectorRow& R : Ide.Inspector().Rows())
    EXPECT_EQ(R.Get()->GetComponent(0), Grid->Columns());
}

TEST_F(ColumnsEditorTest, RestoreReachesTheSelectedRowsOnlyAndKeepsTheSelection) {
  AddColumns(4);
  for (int I = 0; I < 4; ++I) Grid->Columns()->GetColumn(I)->SetWidth(100 + I);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {1, 3});
  std::vector<TPersistent*> Before = Selection();
  Perform(W->Restore);
  std::vector<int> Widths;
  for (int I = 0; I < 4; ++I) Widths.push_back(Grid->Columns()->GetColumn(I)->Width());
  EXPECT_EQ(Widths[0], 100);
  EXPECT_EQ(Widths[2], 102);
  EXPECT_NE(Widths[1], 101);
  EXPECT_NE(Widths[3], 103);
  EXPECT_EQ(Selection(), Before);
  EXPECT_TRUE(W->FormListView->Items()->Item(1)->Selected());
  EXPECT_TRUE(W->FormListView->Items()->Item(3)->Selected());
}

// A column whose restore fails, to see what a failing command leaves behind; it notes
// the grid's stretch mode while the command runs.
class TFailingColumn : public TOmColumn {
 public:
  using TOmColumn::TOmColumn;
  int StretchedDuring = -1;
  void RestoreDefaults() override {
    StretchedDuring = GetGrid()->StretchMode();
    throw Exception("restore failed");
  }
};

TEST_F(ColumnsEditorTest, AFailingCommandLeavesNoUpdateOpenAndTheStretchOn) {
  AddColumns(1);
  auto* Failing = new TFailingColumn(Grid->Columns());  // the collection owns it
  Grid->SetStretchMode(true);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  SelectRows(W, {0, 1});
  EXPECT_THROW(Perform(W->Restore), Exception);
  EXPECT_EQ(Failing->StretchedDuring, 0);
  EXPECT_EQ(Grid->Columns()->UpdateCount(), 0);
  EXPECT_TRUE(Grid->StretchMode());
  EXPECT_EQ(W->FormListView->Items()->UpdateCount(), 0);
}

TEST_F(ColumnsEditorTest, DeletingAnExpandableColumnWithItsSelectedNestedColumnFreesEachOnce) {
  for (const char* Name : {"Id", "Address", "Address.City", "Address.Zip", "Name"})
    Grid->Columns()->Add()->SetFieldName(Name);
  ASSERT_TRUE(Grid->Columns()->GetColumn(1)->GetExpandable());
  TOmColumn* Id = Grid->Columns()->GetColumn(0);
  TOmColumn* Name = Grid->Columns()->GetColumn(4);
  TOmDBGridColumnsEditor* W = Open();
  W->Show();
  // The head goes with its whole group, the selected nested column among it.
  SelectRows(W, {1, 2});
  Perform(W->Delete);
  ASSERT_EQ(Grid->Columns()->Count(), 2);
  EXPECT_EQ(Grid->Columns()->GetColumn(0), Id);
  EXPECT_EQ(Grid->Columns()->GetColumn(1), Name);
  EXPECT_EQ(Captions(W), (std::vector<String>{"0 - Id", "1 - Name"}));
  EXPECT_EQ(Selection(), std::vector<TPersistent*>{Name});
}

// --- The editors --------------------------------------------------------------------------

TEST_F(ColumnsEditorTest, OneWindowPerGridHoweverTheRequestComes) {
  D->SelectComponent(Grid);
  EXPECT_EQ(Ide.Inspector().Row("Columns").Value(), "(TOmDBGridColumns)");
  TOmDBGridColumnsEditor* W = Open();
  DoubleClickComponent(D, Grid);
  ChooseContextMenuItem(D, Grid, 2);
  EXPECT_EQ(WindowCount(), 1);
  EXPECT_EQ(Find(Grid)->Form, W->Form);
  Open(NewGrid("OmDBGrid2"));
  EXPECT_EQ(WindowCount(), 2);
}

TEST_F(ColumnsEditorTest, TheGridsMenuAndDoubleClickNeverMakeAnEventHandler) {
  std::vector<TContextMenuItem> Menu = ComponentContextMenu(D, Grid);
  ASSERT_GE(Menu.size(), 3u);
  EXPECT_EQ(Menu[0].Caption, "Ombrix Components");
  EXPECT_EQ(Menu[1].Caption, "-");
  EXPECT_EQ(Menu[2].Caption, "Co&lumns Editor...");
  DoubleClickComponent(D, Grid);
  EXPECT_EQ(WindowCount(), 1);
  EXPECT_FALSE(D->MethodExists("OmDBGrid1DblClick"));
  EXPECT_FALSE(D->MethodExists("OmDBGrid1Click"));
  EXPECT_EQ(std::count_if(Menu.begin(), Menu.end(),
                          [](const TContextMenuItem& I) { return I.Verb >= 0; }),
            3);
  ChooseContextMenuItem(D, Grid, 1);  // the separator does nothing
  EXPECT_EQ(WindowCount(), 1);
}

TEST_F(ColumnsEditorTest, TheColumnsPropertyIsADialogThatCannotBeTyped) {
  D->SelectComponent(Grid);
  EXPECT_EQ(Ide.Inspector().Row("Columns").Attributes(),
            (TPropertyAttributes{paDialog, paReadOnly}));
  AddColumns(3);
  EXPECT_EQ(Ide.Inspector().Row("Columns").Value(), "(TOmDBGridColumns)");
}

// --- The about box -------------------------------------------------------------------------

// Looks at the about box while it waits for its answer, clicks both links, then OK.
class TAboutVisitor : public TInputSource {
 public:
  std::vector<String> Texts;
  TColor Mail = clBlack, Web = clBlack, WebBefore = clBlack;
  int Calls = 0;
  bool HasInput() const override { return Calls == 0; }
  bool Next(TInputEvent& Event) override {
    if (Calls++) return false;
    TCustomForm* F = Screen->ActiveForm();
    EXPECT_EQ(F->ClassName(), String("TOMCAboutForm"));
    TLabel* L[6];
    for (int I = 0; I < 6; ++I) L[I] = Part<TLabel>(F, ("Label" + IntToStr(I)).c_str());
    Texts = {F->Caption(),    L[0]->Caption(), L[1]->Caption(), L[2]->Caption(),
             L[3]->Caption(), L[4]->Caption(), L[5]->Caption()};
    EXPECT_EQ(F->ClientWidth(), 351);
    EXPECT_EQ(F->ClientHeight(), 209);
    EXPECT_TRUE(F->BorderIcons().Empty());
    L[5]->OnClick(L[5]);
    Mail = L[5]->Font()->Color();
    WebBefore = L[4]->Font()->Color();
    L[4]->OnClick(L[4]);
    Web = L[4]->Font()->Color();
    Event.Kind = TInputEvent::Answer;
    Event.Index = mrOk;
    return true;
  }
};

TEST_F(ColumnsEditorTest, TheAboutBoxTextsLinksAndVisitedColour) {
  ClearShellRequests();
  auto Visitor = std::make_unique<TAboutVisitor>();
  TAboutVisitor* V = Visitor.get();
  Application->SetInput(std::move(Visitor));
  ChooseContextMenuItem(D, Grid, 0);
  Application->ProcessMessages();
  ASSERT_EQ(V->Texts.size(), 7u);
  EXPECT_EQ(V->Texts[0], "About Ombrix Components");
  EXPECT_EQ(V->Texts[1], "mbrix Components");
  EXPECT_EQ(V->Texts[2], V->Texts[1]);
  EXPECT_EQ(V->Texts[3], "Version 3.0 (Build 3.42)");
  EXPECT_FALSE(V->Texts[4].empty());
  EXPECT_EQ(V->Texts[5].substr(0, 7), "http://");
  EXPECT_EQ(V->Texts[6].substr(0, 7), "mailto:");
  ASSERT_EQ(ShellRequests().size(), 2u);
  EXPECT_EQ(ShellRequests()[0].File, V->Texts[6] + "?subject=Ombrix Components 3.0 (Build 3.42)");
  EXPECT_EQ(ShellRequests()[0].Operation, "open");
  EXPECT_EQ(ShellRequests()[0].ShowCmd, 1);
  EXPECT_EQ(ShellRequests()[1].File, V->Texts[5]);
  EXPECT_EQ(V->Mail, TColor(0x800080));
  EXPECT_EQ(V->WebBefore, clBlue);
  EXPECT_EQ(V->Web, TColor(0x800080));
  for (int I = 0; I < Screen->FormCount(); ++I)
    EXPECT_NE(Screen->Forms(I)->ClassName(), String("TOMCAboutForm"));
}

bool AboutBoxLeft() {
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (Screen->Forms(I)->ClassName() == String("TOMCAboutForm")) return true;
  return false;
}

TEST_F(ColumnsEditorTest, AnAboutBoxWhoseModalLoopFailsIsFreed) {
  EXPECT_THROW(ChooseContextMenuItem(D, Grid, 0), EInputError);  // no input for it
  Application->ProcessMessages();
  EXPECT_FALSE(AboutBoxLeft());
}

// Clicks the web link of the open about box, then answers OK.
class TLinkClicker : public TInputSource {
 public:
  int Calls = 0;
  TLabel* Link = nullptr;
  TColor After = clBlack;
  bool HasInput() const override { return Calls < 2; }
  bool Next(TInputEvent& Event) override {
    if (Calls++ == 0) {
      Link = Part<TLabel>(Screen->ActiveForm(), "Label4");
      Event.Kind = TInputEvent::Click;
      Event.Target = Link;
      return true;
    }
    if (Calls > 2) return false;
    After = Link->Font()->Color();
    Event.Kind = TInputEvent::Answer;
    Event.Index = mrOk;
    return true;
  }
};

TEST_F(ColumnsEditorTest, ALinkTheShellRefusedIsReportedAndStaysUnvisited) {
  // An interactive desktop without an opener program refuses every address.
  const char* Old = getenv("PATH");
  std::string Path = Old ? Old : "";
  setenv("PATH", Folder.Path().c_str(), 1);
  SetShellInteractive(true);
  auto Clicker = std::make_unique<TLinkClicker>();
  TLinkClicker* C = Clicker.get();
  Application->SetInput(std::move(Clicker));
  Application->ClearErrors();
  ChooseContextMenuItem(D, Grid, 0);
  SetShellInteractive(false);
  setenv("PATH", Path.c_str(), 1);
  ASSERT_EQ(C->Calls, 2);
  EXPECT_EQ(C->After, clBlue);
  ASSERT_EQ(Application->Errors().size(), 1u);
  EXPECT_NE(Application->Errors()[0].find("could not open http://"), String::npos);
  Application->ClearErrors();
}

}  // namespace
