// Design windows hear what happens in every designer, in their release's terms.
#include "DesignTestSupport.h"
#include "DesignWindowCommon.h"

namespace {

// Writes down each notification as the window receives it.
class TListeningWindow : public TDesignWindow {
 public:
  explicit TListeningWindow(TComponent* AOwner) : TDesignWindow(AOwner) {}
  std::vector<String> Heard;
  TPersistent* Watched = nullptr;
#if OM_HOST_RELEASE == 5
  void FormModified() override { Heard.push_back("modified"); }
  void ComponentDeleted(const _di_IPersistent& Item) override {
    Heard.push_back(ExtractPersistent(Item) == Watched ? "deleted watched" : "deleted other");
  }
  void SelectionChanged(TDesignerSelectionList* S) override { Heard.push_back("selection " + IntToStr(S->Count())); }
  void FormClosed(TCustomForm* F) override { Heard.push_back("closed"); }
  void Activated() override { Heard.push_back("activated"); }
#else
  void ItemsModified(const _di_IDesigner&) override { Heard.push_back("modified"); }
  void ItemDeleted(const _di_IDesigner&, TPersistent* Item) override {
    Heard.push_back(Item == Watched ? "deleted watched" : "deleted other");
  }
  void SelectionChanged(const _di_IDesigner&, const _di_IDesignerSelections& S) override {
    Heard.push_back("selection " + IntToStr(S->Count()));
  }
  void DesignerClosed(const _di_IDesigner&, bool) override { Heard.push_back("closed"); }
  void Activated() override { Heard.push_back("activated"); }
#endif
};

TEST_F(DesignTest, EveryOpenDesignWindowHearsModifiedDeletionAndClosing) {
  TDesigner* D = NewForm();
  TTestButton* B = AddButton("Button1");
  auto* W1 = new TListeningWindow(Application);
  auto* W2 = new TListeningWindow(Application);
  W1->Watched = W2->Watched = B;
  D->Modified();
  EXPECT_EQ(W1->Heard, std::vector<String>{"modified"});
  EXPECT_EQ(W2->Heard, std::vector<String>{"modified"});
  W1->Heard.clear();
  W2->Heard.clear();
  D->SelectComponent(B);
#if OM_HOST_RELEASE == 5
  D->DeleteSelection();
#else
  D->DeleteSelection(false);
#endif
  for (auto* W : {W1, W2}) {
    EXPECT_NE(std::find(W->Heard.begin(), W->Heard.end(), "deleted watched"), W->Heard.end());
    EXPECT_EQ(W->Heard.back(), "modified");
  }
  delete W2;  // a freed window hears nothing more
  W1->Heard.clear();
  Ide.CloseDesigner(D);
  EXPECT_EQ(W1->Heard, std::vector<String>{"closed"});
}

TEST_F(DesignTest, ADesignWindowsSelectionBecomesTheDesignersAndActivationIsHeard) {
  TDesigner* D = NewForm();
  TTestButton* A = AddButton("A");
  TTestButton* B = AddButton("B");
  auto* W = new TListeningWindow(Application);
  W->SetDesigner(TDesignerRef(D));
#if OM_HOST_RELEASE == 5
  auto* List = new TDesignerSelectionList;  // passes to the IDE
  List->Add(A);
  List->Add(B);
  W->SetSelection(List);
#else
  _di_IDesignerSelections List = CreateSelectionList();
  List->Add(A);
  List->Add(B);
  W->SetSelection(List);
#endif
  EXPECT_EQ(D->Selection(), (std::vector<TPersistent*>{A, B}));
  EXPECT_EQ(Ide.Inspector().Objects().size(), 2u);
  W->Show();
  EXPECT_NE(std::find(W->Heard.begin(), W->Heard.end(), "activated"), W->Heard.end());
  EXPECT_FALSE(W->ClipboardComponents());
  D->CopySelection();
  EXPECT_TRUE(W->ClipboardComponents());
}

#if OM_HOST_RELEASE == 6
class TFixedEnvironment final : public IDesignEnvironment {
 public:
  int AddRef() override { return 1; }
  int Release() override { return 1; }
  String GetBaseRegKey() override { return "Software\\Test"; }
  void ModalEdit(char, const _di_IActivatable&) override {}
};
#endif

// A designer and the windows made beside it need only the hub they are given: they
// hear and tell through it, and nothing reaches the IDE's listeners.
TEST_F(DesignTest, ADesignerAndItsWindowsWorkThroughTheHubTheyAreGiven) {
  TDesignHub Hub;
  TRecordingSink Own, Ides;
  Hub.AddSink(&Own);
  Ide.AddSink(&Ides);
  auto* Form = new TTestForm(nullptr);
  Form->SetName("Own1");
  TDesignerRefPtr D(new TDesigner(Hub, Form, "TOwn1", String()));
#if OM_HOST_RELEASE == 6
  EXPECT_EQ(D->Environment().get(), nullptr);
  TFixedEnvironment Environment;
  Hub.SetEnvironment(&Environment);
  EXPECT_EQ(D->Environment()->GetBaseRegKey(), "Software\\Test");
#endif
  SetDesignWindowHub(&Hub);
  auto* W = new TListeningWindow(Application);
  SetDesignWindowHub(&Ide.Hub());
  auto* Other = new TListeningWindow(Application);
  D->Modified();
  EXPECT_EQ(Own.Events, std::vector<String>{"modified Own1"});
  EXPECT_EQ(W->Heard, std::vector<String>{"modified"});
  EXPECT_TRUE(Other->Heard.empty());
  EXPECT_TRUE(Ides.Events.empty());
  // A window leaves the hub it joined, whichever hub new windows join by then.
  delete W;
  D->Modified();
  EXPECT_EQ(Own.Events.back(), "modified Own1");
  D->Close();
  EXPECT_EQ(Own.Events.back(), "closed Own1");
  EXPECT_TRUE(Other->Heard.empty());
  EXPECT_TRUE(Ides.Events.empty());
  delete Other;
  Ide.RemoveSink(&Ides);
}

}  // namespace
