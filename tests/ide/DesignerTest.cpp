// The designer: selection, notifications, event handlers, the Edit menu, forms on disk.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "DesignTestSupport.h"
#include "TempFolder.h"

namespace {

TEST_F(DesignTest, ModifiedReachesEveryListener) {
  TDesigner* D = NewForm();
  TRecordingSink A, B;
  Ide.AddSink(&A);
  Ide.AddSink(&B);
  D->Modified();
  EXPECT_EQ(A.Events, std::vector<String>{"modified Form1"});
  EXPECT_EQ(B.Events, std::vector<String>{"modified Form1"});
  EXPECT_TRUE(D->IsModified());
  Ide.RemoveSink(&A);
  Ide.RemoveSink(&B);
}

TEST_F(DesignTest, DeletingAComponentTellsListenersClearsReferencesAndTheSelection) {
  TDesigner* D = NewForm();
  TTestButton* B1 = AddButton("Button1");
  TTestButton* B2 = AddButton("Button2");
  B1->SetBuddy(B2);
  D->SetSelection({B1, B2});
  TRecordingSink Sink;
  Sink.Names[B2] = "Button2";
  Ide.AddSink(&Sink);
  D->SelectComponent(B2);
#if OM_HOST_RELEASE == 5
  D->DeleteSelection();
#else
  D->DeleteSelection(false);
#endif
  EXPECT_EQ(B1->Buddy(), nullptr);
  EXPECT_EQ(Root->FindComponent("Button2"), nullptr);
  EXPECT_TRUE(D->Selection().empty());
  EXPECT_NE(std::find(Sink.Events.begin(), Sink.Events.end(), "deleted Button2"), Sink.Events.end());
  EXPECT_EQ(Sink.Events.back(), "modified Form1");
  Ide.RemoveSink(&Sink);
}

TEST_F(DesignTest, DeletingACollectionItemOrItsOwnerDropsThemFromTheSelection) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  B->Items()->Add();
  TCollectionItem* Second = B->Items()->Add();
  D->SetSelection({B->Items(), Second});
  delete Second;
  EXPECT_EQ(D->Selection(), std::vector<TPersistent*>{B->Items()});
  delete B;  // its collection goes with it
  EXPECT_TRUE(D->Selection().empty());
}

TEST_F(DesignTest, ClosingADesignerTellsListenersFirstAndLeavesNothingBehind) {
  TDesigner* D = NewForm();
  AddButton("Button1");
  TRecordingSink Sink;
  Ide.AddSink(&Sink);
  TDesignerRefPtr Held(D);  // a window may still hold the designer
  Ide.CloseDesigner(D);
  EXPECT_EQ(Sink.Events, std::vector<String>{"closed Form1"});
  EXPECT_TRUE(Held->GetIsDormant());
  EXPECT_EQ(Held->GetRoot(), nullptr);
  Held->Modified();  // harmless now
  Held->SelectComponent(nullptr);
  EXPECT_EQ(Sink.Events.size(), 1u);
  Ide.RemoveSink(&Sink);
}

TEST_F(DesignTest, UniqueNamesDropTheLeadingTAndCount) {
  TDesigner* D = NewForm();
  AddButton("TestButton1");
  EXPECT_EQ(D->UniqueName("TTestButton"), "TestButton2");
  EXPECT_EQ(D->UniqueName("TTestForm"), "TestForm1");
  TComponent* C = D->CreateComponent(TTestButton::StaticClass(), nullptr, 10, 20, -1, -1);
  EXPECT_EQ(C->Name(), "TestButton2");
  EXPECT_EQ(static_cast<TTestButton*>(C)->Left, 10);
  EXPECT_EQ(D->Selection(), std::vector<TPersistent*>{C});
}

TEST_F(DesignTest, ComponentNamesByClassAndComponentsByName) {
  TDesigner* D = NewForm();
  AddButton("Button1");
  new TComponent(Root);  // unnamed: never offered
  auto* Other = new TComponent(Root);
  Other->SetName("Other");
  struct TNames : TObject {
    std::vector<String> List;
    void Add(const String& S) { List.push_back(S); }
  } Names;
  D->GetComponentNames(TypeInfo<TTestButton*>(), Closure<&TNames::Add>(&Names));
  EXPECT_EQ(Names.List, std::vector<String>{"Button1"});
  EXPECT_EQ(D->GetComponent("button1"), Root->FindComponent("Button1"));
  EXPECT_EQ(D->GetComponent("Form1"), Root);
  EXPECT_EQ(D->GetComponent("Nobody"), nullptr);
  // The names are kept by the designer: each rename, arrival and departure shows.
  Other->SetName("Renamed");
  EXPECT_EQ(D->GetComponent("Other"), nullptr);
  EXPECT_EQ(D->GetComponent("RENAMED"), Other);
  delete Other;
  EXPECT_EQ(D->GetComponent("Renamed"), nullptr);
  auto* Late = new TComponent(Root);
  Late->SetName("Late");
  EXPECT_EQ(D->GetComponent("late"), Late);
}

TEST_F(DesignTest, EventHandlersAreKeptInTheFormAndWrittenByName) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  TMethod M = D->CreateMethod("Button1Click", TypeInfo<TNotifyEvent>());
  B->OnClick = TNotifyEvent(M);
  EXPECT_EQ(D->GetMethodName(B->OnClick.Method()), "Button1Click");
  EXPECT_TRUE(D->MethodExists("BUTTON1CLICK"));
  EXPECT_EQ(D->CreateMethod("Button1Click", nullptr), M);  // the same handler again
  EXPECT_NE(D->FormText().find("    OnClick = Button1Click\n"), String::npos);
  D->RenameMethod("Button1Click", "OkClick");
  EXPECT_NE(D->FormText().find("    OnClick = OkClick\n"), String::npos);
  // The root's compiled handlers are found by name.
  TMethod Compiled = D->CreateMethod("ButtonClick", nullptr);
  EXPECT_EQ(Compiled.Data, Root);
  EXPECT_EQ(D->GetMethodName(Compiled), "ButtonClick");
}

TEST_F(DesignTest, CopyAndPasteRenameClashingComponentsAndKeepReferences) {
  TDesigner* D = NewForm();
  TTestButton* B1 = AddButton("Button1");
  TTestButton* B2 = AddButton("Button2");
  B1->Caption = "One";
  B1->SetBuddy(B2);
  EXPECT_FALSE(D->CanPaste());
  D->SelectComponent(B1);
  D->CopySelection();
  EXPECT_TRUE(D->CanPaste());
  D->PasteSelection();
  auto* Pasted = static_cast<TTestButton*>(Root->FindComponent("Button3"));
  ASSERT_NE(Pasted, nullptr);
  EXPECT_EQ(Pasted->Caption, "One");
  EXPECT_EQ(Pasted->Buddy(), B2);
  EXPECT_EQ(D->Selection(), std::vector<TPersistent*>{Pasted});

  // Into another form: the reference it cannot resolve there is dropped.
  TDesigner* Other = Ide.NewForm(TTestForm::StaticClass(), "Form2");
  Other->PasteSelection();
  auto* Copy = static_cast<TTestButton*>(Other->GetRoot()->FindComponent("Button1"));
  ASSERT_NE(Copy, nullptr);
  EXPECT_EQ(Copy->Buddy(), nullptr);
}

TEST_F(DesignTest, CutRemovesWhatItCopies) {
  TDesigner* D = NewForm();
  AddButton("Button1");
  D->SelectComponent(Root->FindComponent("Button1"));
  D->CutSelection();
  EXPECT_EQ(Root->ComponentCount(), 0);
  D->PasteSelection();
  EXPECT_NE(Root->FindComponent("Button1"), nullptr);
}

TEST_F(DesignTest, FormsOpenWithTheirHandlersAndSaveTheSameText) {
  auto Dir = std::filesystem::temp_directory_path() / ("omdesign" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  String Path = (Dir / "Unit1.dfm").string();
  const String Text =
      "object Form1: TForm1\n"
      "  Caption = 'Orders'\n"
      "  OnCreate = FormCreate\n"
      "  object Button1: TTestButton\n"
      "    OnClick = Button1Click\n"
      "  end\n"
      "end\n";
  TStringList L;
  L.SetText(Text);
  L.SaveToFile(Path);
  // The developer's header says what the form's class derives from.
  TStringList H;
  H.SetText("class TForm1 : public TTestForm\n{\n};\n");
  H.SaveToFile((Dir / "Unit1.h").string());
  TDesigner* D = Ide.OpenForm(Path);
  EXPECT_EQ(D->GetRoot()->ClassType(), TTestForm::StaticClass());
  EXPECT_EQ(D->GetRootClassName(), "TForm1");
  EXPECT_EQ(D->MethodNames(), (std::vector<String>{"FormCreate", "Button1Click"}));
  EXPECT_EQ(D->FormText(), Text);
  D->Save(Path);
  TStringList Saved;
  Saved.LoadFromFile(Path);
  EXPECT_EQ(Saved.Text(), L.Text());
  std::filesystem::remove_all(Dir);
}

TEST_F(DesignTest, AFormAfterManyBlankLinesOrWithAVeryLongNameOpens) {
  TTempFolder Dir;
  String Blank = Dir / "Blank.dfm", Long = Dir / "Long.dfm";
  WriteWholeFile(Blank, std::string(50000, '\n') + "object Form1: TTestForm\nend\n");
  String Name(32000, 'F');
  WriteWholeFile(Long, "object " + Name + ": TTestForm\nend\n");
  EXPECT_EQ(Ide.OpenForm(Blank)->GetRoot()->ClassType(), TTestForm::StaticClass());
  EXPECT_EQ(Ide.OpenForm(Long)->GetRoot()->Name(), Name);
}

TEST_F(DesignTest, AFormThatDoesNotReadLeavesNoDesigner) {
  auto Path = std::filesystem::temp_directory_path() / ("ombad" + std::to_string(getpid()) + ".dfm");
  TStringList L;
  L.SetText("object Form1: TTestForm\n  object B: TNoSuchClass\n  end\nend\n");
  L.SaveToFile(Path.string());
  EXPECT_THROW(Ide.OpenForm(Path.string()), EReadError);
  EXPECT_TRUE(Ide.Designers().empty());
  std::filesystem::remove(Path);
}

TEST_F(DesignTest, SavingThroughALinkKeepsTheLinkAndAReadOnlyFileIsRefused) {
  TTempFolder Dir;
  TDesigner* D = NewForm();
  String Target = Dir / "real.dfm", Link = Dir / "link.dfm";
  WriteWholeFile(Target, "old\n");
  ASSERT_EQ(symlink("real.dfm", Link.c_str()), 0);
  D->Save(Link);
  struct stat St;
  ASSERT_EQ(lstat(Link.c_str(), &St), 0);
  EXPECT_TRUE(S_ISLNK(St.st_mode));
  EXPECT_EQ(ReadWholeFile(Target), D->FormText());
  // Read-only, as the platform sees it: the old text stays and the save says why.
  WriteWholeFile(Target, "kept\n");
  chmod(Target.c_str(), 0444);
  try {
    D->Save(Target);
    FAIL() << "a read-only file was replaced";
  } catch (EFCreateError& E) {
    EXPECT_NE(E.Message.find("real.dfm"), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadWholeFile(Target), "kept\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()),
                          std::filesystem::directory_iterator()),
            2);  // no temporary left
}

TEST_F(DesignTest, TemporariesOfDeadSavesGoAndThoseOfLiveOnesStay) {
  TTempFolder Dir;
  TDesigner* D = NewForm();
  String File = Dir / "Unit1.dfm";
  D->Save(File);
  // A child that is gone by now, and this process, which still runs.
  pid_t Dead = fork();
  if (Dead == 0) _exit(0);
  waitpid(Dead, nullptr, 0);
  String Stale = Dir / (".Unit1.dfm." + std::to_string(Dead) + ".AbC123");
  String Live = Dir / (".Unit1.dfm." + std::to_string(getpid()) + ".XyZ789");
  String Other = Dir / ".Unit2.dfm.1.AbC123";
  for (const String& F : {Stale, Live, Other}) WriteWholeFile(F, "partial");
  Ide.CloseDesigner(D);
  Ide.OpenForm(File);
  EXPECT_FALSE(std::filesystem::exists(Stale));
  EXPECT_TRUE(std::filesystem::exists(Live));
  EXPECT_TRUE(std::filesystem::exists(Other));
}

TEST_F(DesignTest, ASaveThatFailsLeavesNoTemporary) {
  TTempFolder Dir;
  TDesigner* D = NewForm();
  String File = Dir / "Unit1.dfm";
  // Past the file-size limit the write fails with an error, not with a signal.
  struct rlimit Old;
  getrlimit(RLIMIT_FSIZE, &Old);
  struct rlimit Small = Old;
  Small.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &Small);
  EXPECT_THROW(D->Save(File), EFCreateError);
  setrlimit(RLIMIT_FSIZE, &Old);
  EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
}

}  // namespace
