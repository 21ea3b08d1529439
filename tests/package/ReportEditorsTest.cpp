// The columns dialog's and the report grid's design time: what their units register, the
// component editors' verbs and when they are enabled, the test run of the dialog, the
// preview and the save dialog, and the report's caption and expression editors.
#include <fstream>
#include <functional>
#include <map>

#include "ColumnsEditorFixture.h"
#include "Registries.h"
#include "OmDBLists.h"
#include "OmQRGrids.h"

namespace {

String FileText(const String& Name) {
  std::ifstream In(Name.c_str(), std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

class ReportEditorsTest : public ColumnsEditorTest {
 protected:
  TOmQRGrid* Report = nullptr;
  TOmDBColumnsDialog* Dialog = nullptr;

  void SetUp() override {
    ColumnsEditorTest::SetUp();
    Report = Drop<TOmQRGrid>();
    Dialog = Drop<TOmDBColumnsDialog>();
    Grid->Columns()->Add()->SetFieldName("Company");
    Saved();
  }
  // Saving clears the form's modified mark, which the verbs must then leave alone.
  void Saved() { D->Save(Folder / "Form1.dfm"); }
  void TearDown() override {
    Input().SetWhenEmpty(nullptr);
    ColumnsEditorTest::TearDown();
  }

  template <class T>
  T* Drop() {
    return static_cast<T*>(D->CreateComponent(T::StaticClass(), D->GetRoot(), -1, -1, -1, -1));
  }
  // The editor's own items of the component's context menu, disabled ones marked.
  std::vector<String> Verbs(TComponent* C) {
    std::vector<String> R;
    for (const TContextMenuItem& Item : ComponentContextMenu(D, C))
      if (Item.Verb >= 0) R.push_back(Item.Caption + (Item.Enabled ? "" : " (disabled)"));
    return R;
  }
  void Choose(TComponent* C, const String& Caption) {
    std::vector<TContextMenuItem> Menu = ComponentContextMenu(D, C);
    for (size_t I = 0; I < Menu.size(); ++I)
      if (Menu[I].Caption == Caption) return ChooseContextMenuItem(D, C, int(I));
    FAIL() << "no item " << Caption;
  }
  // While the next modal windows wait for input, each in turn is looked at and answered.
  struct TAnswer {
    std::function<void(TCustomForm*)> Look;
    int Result;
  };
  std::vector<String> Answering(std::vector<TAnswer> Answers, const std::function<void()>& Action) {
    std::vector<String> Seen;
    size_t Next = 0;
    Input().SetWhenEmpty([&](const TInputWait&) {
      if (Next == Answers.size() || Application->ModalForms().empty()) return false;
      TCustomForm* F = Application->ModalForms().back();
      Seen.push_back(F->Name());
      if (Answers[Next].Look) Answers[Next].Look(F);
      Input().Answer(Answers[Next++].Result);
      return true;
    });
    // The hook refers to this frame: it goes with it, however Action ends.
    struct TUnhook {
      TInputQueue& Q;
      ~TUnhook() { Q.SetWhenEmpty(nullptr); }
    } Unhook{Input()};
    Action();
    EXPECT_EQ(Next, Answers.size()) << "fewer windows opened than were answered";
    return Seen;
  }
  static String Text(TCustomForm* F, const char* Control) {
    auto* C = dynamic_cast<TControl*>(F->FindComponent(Control));
    return C ? C->Text() : String("(no " + String(Control) + ")");
  }
  void Link() {
    Report->SetReportDBGrid(Grid);
    Dialog->SetDBGrid(Grid);
    Saved();
  }
};

// --- What the units register -----------------------------------------------------------

TEST_F(ReportEditorsTest, BothUnitsPutTheirComponentsOnDataControlsWithTheirBitmaps) {
  std::map<String, String> Found;
  for (const TPaletteEntry& E : TRegistries::Instance().Palette)
    if (E.Page == "Data Controls" && E.Bitmap) Found[E.ComponentClass->ClassName()] = E.Bitmap->Name;
  EXPECT_EQ(Found["TOmQRGrid"], "TOMQRGRID");
  EXPECT_EQ(Found["TOmDBColumnsDialog"], "TOMDBCOLUMNSDIALOG");
  EXPECT_EQ(Found["TOmDBPrintColumnsDialog"], "TOMDBPRINTCOLUMNSDIALOG");
  const TRegistries& R = TRegistries::Instance();
  EXPECT_STREQ(R.ComponentEditorFor(TOmQRGrid::StaticClass())->ClassName(), "TOmQRGridEditor");
  EXPECT_STREQ(R.ComponentEditorFor(TOmDBColumnsDialog::StaticClass())->ClassName(), "TOmDBColumnsDialogEditor");
}

struct TCategoryRow {
  const char* Category;
  const char* ComponentClass;
  std::vector<String> Names;
};

// In the order the IDE calls the units: the report grid's first.
const std::vector<TCategoryRow> Categories = {
    {"Linkage", "TOmQRGrid", {"ReportDBGrid"}},
    {"Localizable", "TOmQRGrid", {"ReportBands", "ReportTitle"}},
#if OM_HOST_RELEASE == 5
    {"OmQRGrid", "TOmQRGrid",
     {"Options", "PrepareNeeded", "PrintCurrentRow", "PrinterPage", "PrinterSettings", "PrintSelectedRows",
      "ReportAlign", "ReportBands", "ReportDBGrid", "ReportNames", "ReportPart", "ReportStyle", "ReportTitle"}},
    {"OmQRGrid", "TOmQRGrid",
     {"AfterBandPrint", "AfterPagePrint", "AfterPrepare", "AfterPreview", "AfterPrint", "BeforeBandPrint",
      "BeforePagePrint", "BeforePrint", "OnPrint", "OnReportCreate"}},
#else
    {"OmQRGrid", "TOmQRGrid",
     {"Options", "PrintCurrentRow", "PrinterPage", "PrinterSettings", "PrintSelectedRows", "ReportAlign",
      "ReportBands", "ReportDBGrid", "ReportNames", "ReportPart", "ReportStyle", "ReportTitle"}},
    {"OmQRGrid", "TOmQRGrid",
     {"AfterBandPrint", "AfterPagePrint", "AfterPreview", "AfterPrint", "BeforeBandPrint", "BeforePagePrint",
      "BeforePrint", "OnPrint", "OnReportCreate"}},
#endif
    {"Linkage", "TOmDBColumnsDialog", {"DBGrid"}},
    {"Localizable", "TOmDBColumnsDialog", {"ButtonsTitles", "ColumnsTitle", "Title"}},
    {"Visual", "TOmDBColumnsDialog",
     {"ButtonsTitles", "ColumnsTitle", "DefaultCount", "DefaultWidth", "MinimumCount", "MinimumWidth", "Title"}},
    {"OmDBColumnsDialog", "TOmDBColumnsDialog",
     {"BorderStyle", "ButtonsTitles", "ColumnsTitle", "DBGrid", "DefaultCount", "DefaultWidth", "HelpContext",
      "MinimumCount", "MinimumWidth", "Options", "Title"}},
    {"OmDBColumnsDialog", "TOmDBColumnsDialog", {"OnApply", "OnClose", "OnCreate", "onShow"}},
};

TEST_F(ReportEditorsTest, BothUnitsFileExactlyTheListedCategoriesInOrder) {
  std::vector<const TCategoryEntry*> Own;
  for (const TCategoryEntry& E : TRegistries::Instance().Categories)
    if (E.ComponentClass == TOmQRGrid::StaticClass() || E.ComponentClass == TOmDBColumnsDialog::StaticClass())
      Own.push_back(&E);
  ASSERT_EQ(Own.size(), Categories.size());
  for (size_t I = 0; I < Own.size(); ++I) {
    SCOPED_TRACE("row " + IntToStr(long(I) + 1));
    EXPECT_EQ(Own[I]->Category, Categories[I].Category);
    EXPECT_STREQ(Own[I]->ComponentClass->ClassName(), Categories[I].ComponentClass);
    EXPECT_EQ(Own[I]->Filters, Categories[I].Names);
    // Every name is a published property of the class (onShow without regard to case).
    for (const String& Name : Categories[I].Names)
      EXPECT_NE(GetPropInfo(Own[I]->ComponentClass, Name), nullptr) << Name;
#if OM_HOST_RELEASE == 5
    static const std::map<String, String> Classes = {{"Linkage", "TLinkageCategory"},
                                                     {"Localizable", "TLocalizableCategory"},
                                                     {"Visual", "TVisualCategory"},
                                                     {"OmDBColumnsDialog", "TOmDBColumnsDialogCategory"},
                                                     {"OmQRGrid", "TOmQRGridCategory"}};
    EXPECT_EQ(String(Own[I]->CategoryClass->ClassName()), Classes.at(Categories[I].Category));
#endif
  }
}

TEST_F(ReportEditorsTest, TheCategoryViewGathersTheOwnCategoriesAndTheEventsInThem) {
  auto Category = [&](const char* Name) {
    for (const auto& [Category, Props] : Ide.Inspector().Categories())
      if (Category == Name) return Props;
    return std::vector<String>();
  };
  D->SelectComponent(Report);
  EXPECT_EQ(Category("OmQRGrid").size(), OM_HOST_RELEASE == 5 ? 23u : 21u);  // 13 + 10, 12 + 9
  D->SelectComponent(Dialog);
  std::vector<String> Own = Category("OmDBColumnsDialog");
  EXPECT_EQ(Own.size(), 15u);
  EXPECT_NE(std::find(Own.begin(), Own.end(), "OnShow"), Own.end());
  EXPECT_NE(std::find(Own.begin(), Own.end(), "DBGrid"), Own.end());
  EXPECT_EQ(Category("Linkage"), std::vector<String>{"DBGrid"});
}

TEST_F(ReportEditorsTest, TheReportsCaptionsTotalsAndGroupExpressionGetTheReportEditors) {
  const TRegistries& R = TRegistries::Instance();
  auto EditorOf = [&](TClass Class, const char* Prop) {
    return String(R.PropertyEditorFor(TypeInfo<String>(), Prop, Class)->ClassName());
  };
  for (const char* Caption : {"LeftCaption", "RightCaption", "CenterCaption"})
    EXPECT_EQ(EditorOf(TOmReportText::StaticClass(), Caption), "TOmCaptionProperty");
  EXPECT_EQ(EditorOf(TOmColumnReport::StaticClass(), "TotalText"), "TOmCaptionProperty");
  EXPECT_EQ(EditorOf(TOmReportBands::StaticClass(), "GroupExpression"), "TOmQRExprProperty");
  // The caption editor is a string editor underneath: the inspector shows the ellipsis.
  D->SelectComponent(Report);
  Ide.Inspector().Expand("ReportTitle");
  Ide.Inspector().Expand("ReportBands");
  EXPECT_TRUE(Ide.Inspector().Row("ReportTitle.LeftCaption").Attributes().Contains(paDialog));
  EXPECT_TRUE(Ide.Inspector().Row("ReportBands.GroupExpression").Attributes().Contains(paDialog));
}

// --- The columns dialog's editor ---------------------------------------------------------

TEST_F(ReportEditorsTest, TheDialogsVerbsAreTheAboutBoxASeparatorAndTheTestRun) {
  EXPECT_EQ(Verbs(Dialog), (std::vector<String>{"Ombrix Components", "-", "Test Dialog"}));
  Link();
  Choose(Dialog, "-");  // no window: an unanswered one would fail the test
  EXPECT_EQ(Dialog->RunCount, 0);
  EXPECT_EQ(Answering({{nullptr, mrOk}}, [&] { Choose(Dialog, "Ombrix Components"); }),
            std::vector<String>{"OMCAboutForm"});
  EXPECT_FALSE(D->IsModified());
}

TEST_F(ReportEditorsTest, TheTestRunSuspendsTheHelpTopicAndPutsItBackAfterwards) {
  Link();
  Dialog->HelpContext = 1234;
  int SeenTopic = -1;
  bool HelpButton = true;
  auto Look = [&](TCustomForm* F) {
    SeenTopic = Dialog->HelpContext;
    HelpButton = F->FindComponent("HelpButton") != nullptr;
  };
  // A double-click and the verb run the same test.
  for (const auto& Run : std::vector<std::function<void()>>{[&] { DoubleClickComponent(D, Dialog); },
                                                      [&] { Choose(Dialog, "Test Dialog"); }}) {
    SeenTopic = -1;
    Answering({{Look, mrCancel}}, Run);
    EXPECT_EQ(SeenTopic, 0);
    EXPECT_FALSE(HelpButton);
    EXPECT_EQ(Dialog->HelpContext, 1234);
  }
  EXPECT_EQ(Dialog->RunCount, 2);
  EXPECT_FALSE(D->IsModified());
  EXPECT_TRUE(D->MethodNames().empty());  // the double-click made no handler

  // The finished program's run offers the topic, which looks it up in the help file.
  Application->SetHelpFile("Orders.hlp");
  size_t Logged = Application->DialogLog().size();
  Answering({{[&](TCustomForm* F) {
                HelpButton = F->FindComponent("HelpButton") != nullptr;
                if (HelpButton) static_cast<TButton*>(F->FindComponent("HelpButton"))->Click();
              },
              mrCancel}},
            [&] { Dialog->Execute(); });
  EXPECT_TRUE(HelpButton);
  ASSERT_GT(Application->DialogLog().size(), Logged);
  EXPECT_EQ(Application->DialogLog()[Logged], "Help topic 1234 of Orders.hlp");
  Application->SetHelpFile("");
}

TEST_F(ReportEditorsTest, ATestRunThatRaisesStillPutsTheHelpTopicBack) {
  Dialog->HelpContext = 77;  // no grid linked: the run raises
  EXPECT_THROW(Choose(Dialog, "Test Dialog"), EInvalidOperation);
  EXPECT_EQ(Dialog->HelpContext, 77);
  EXPECT_FALSE(D->IsModified());
}

// --- The report grid's editor ------------------------------------------------------------

TEST_F(ReportEditorsTest, TheReportVerbsAreEnabledOnlyForALinkedEnabledGrid) {
  const std::vector<String> Disabled = {"Ombrix Components", "- (disabled)", "Preview (disabled)",
                                        "Show Report (disabled)", "Save Report As... (disabled)"};
  EXPECT_EQ(Verbs(Report), Disabled);
  // Nothing happens for a report that is not ready: no window waits for an answer.
  DoubleClickComponent(D, Report);
  for (const char* Verb : {"Preview", "Show Report", "Save Report As..."}) Choose(Report, Verb);
  EXPECT_TRUE(D->MethodNames().empty());
  Link();
  Grid->SetEnabled(false);
  EXPECT_EQ(Verbs(Report), Disabled);
  EXPECT_EQ(Answering({}, [&] { DoubleClickComponent(D, Report); }), std::vector<String>{});
  Grid->SetEnabled(true);
  EXPECT_EQ(Verbs(Report),
            (std::vector<String>{"Ombrix Components", "-", "Preview", "Show Report", "Save Report As..."}));
  EXPECT_FALSE(D->IsModified());
}

TEST_F(ReportEditorsTest, APreviewAddsPreviewModeOnlyWhileItIsOpen) {
  Link();
  const TOmReportOptions Before{roPrintTitle, roPrintTotals, roLandscape};
  Report->SetOptions(Before);
  TOmReportOptions During;
  String Caption;
  auto Look = [&](TCustomForm* F) {
    During = Report->Options();
    Caption = F->Caption();
  };
  for (const auto& Run : std::vector<std::function<void()>>{[&] { DoubleClickComponent(D, Report); },
                                                      [&] { Choose(Report, "Preview"); }}) {
    EXPECT_EQ(Answering({{Look, mrOk}}, Run), std::vector<String>{"OmQRPreviewForm"});
    EXPECT_EQ(During, TOmReportOptions(Before) << roPreviewMode);
    EXPECT_EQ(Caption.substr(0, 10), "Preview - ");
    EXPECT_EQ(Report->Options(), Before);
  }
  // Show Report shows the report as it prints.
  Answering({{Look, mrOk}}, [&] { Choose(Report, "Show Report"); });
  EXPECT_EQ(During, Before);
  EXPECT_EQ(Caption.substr(0, 9), "Report - ");
  EXPECT_FALSE(D->IsModified());
  EXPECT_TRUE(D->MethodNames().empty());
}

TEST_F(ReportEditorsTest, APreviewThatRaisesLeavesTheOptionsAsTheyWere) {
  Link();
  const TOmReportOptions Before{roPrintHeader};
  Report->SetOptions(Before);
  // Grouping by a field the open dataset lacks: the report cannot be made.
  auto* Data = Drop<TClientDataSet>();
  Data->FieldDefs()->Add("Company", ftString, 40);
  Data->Open();
  auto* Source = Drop<TDataSource>();
  Source->SetDataSet(Data);
  Grid->SetDataSource(Source);
  Saved();
  Report->ReportBands()->GroupExpression = "NoSuchField";
  EXPECT_THROW(Choose(Report, "Preview"), EOmReportError);
  EXPECT_EQ(Report->Options(), Before);
  EXPECT_FALSE(D->IsModified());
  EXPECT_EQ(D->FormText().find("roPreviewMode"), String::npos);
}

TEST_F(ReportEditorsTest, TheSaveDialogOffersOmReportUnitAndItsCancelWritesNothing) {
  Link();
  std::vector<String> Waited;
  Input().SetWhenEmpty([&](const TInputWait& W) {
    Waited.push_back(W.Name);
    Input().Answer(mrCancel);
    return true;
  });
  Choose(Report, "Save Report As...");
  Input().SetWhenEmpty(nullptr);
  EXPECT_EQ(Waited, std::vector<String>{"Save Report As"});
  EXPECT_EQ(Application->DialogLog().back(), "Save Report As: cancelled");
  for (const auto& E : std::filesystem::directory_iterator(Folder.Path()))
    EXPECT_TRUE(E.path().extension() == ".db" || E.path().extension() == ".dfm") << E.path();
  // Confirming the name it offers saves OmReportUnit.pas in the current folder.
  auto Here = std::filesystem::current_path();
  std::filesystem::current_path(Folder.Path());
  Input().File("");
  Choose(Report, "Save Report As...");
  std::filesystem::current_path(Here);
  EXPECT_NE(FileText(Folder / "OmReportUnit.pas").find("unit OmReportUnit;"), String::npos);
  EXPECT_FALSE(D->IsModified());
}

TEST_F(ReportEditorsTest, SavingAddsTheFiltersExtensionAsksBeforeReplacingAndRefusesAMissingFolder) {
  Link();
  Report->ReportTitle()->CenterCaption = "Customers";
  auto Save = [&](const std::function<void()>& Answers) {
    Answers();
    Choose(Report, "Save Report As...");
    EXPECT_EQ(Input().Count(), 0) << "the dialog took fewer answers than given";
    Input().Clear();
  };
  // No extension typed: the first filter's, .pas.
  Save([&] { Input().File(Folder / "First"); });
  EXPECT_NE(FileText(Folder / "First.pas").find("unit First;"), String::npos);
  // The C++ filter chosen: .cpp.
  Save([&] { Input().File(Folder / "Second", 2); });
  EXPECT_NE(FileText(Folder / "Second.cpp").find("Customers"), String::npos);
  // An existing file: the question first; No keeps it and the dialog waits again.
  String Old = FileText(Folder / "First.pas");
  Report->ReportTitle()->CenterCaption = "Changed";
  Save([&] { Input().File(Folder / "First.pas").Answer(mrNo).Answer(mrCancel); });
  EXPECT_EQ(FileText(Folder / "First.pas"), Old);
  Save([&] { Input().File(Folder / "First.pas").Answer(mrYes); });
  EXPECT_NE(FileText(Folder / "First.pas").find("Changed"), String::npos);
  // A folder that does not exist: told, and nothing is made there.
  Save([&] { Input().File(Folder / "missing/Report.pas").Answer(mrOk).Answer(mrCancel); });
  EXPECT_FALSE(DirectoryExists(Folder / "missing"));
  EXPECT_FALSE(D->IsModified());
}

// --- The caption and expression editors ---------------------------------------------------

class ReportPropertyTest : public ReportEditorsTest {
 protected:
  void SetUp() override {
    ReportEditorsTest::SetUp();
    D->SelectComponent(Report);
    Ide.Inspector().Expand("ReportTitle");
    Ide.Inspector().Expand("ReportBands");
  }
  // The ellipsis of Property, each window that opens looked at and answered in turn.
  std::vector<String> Ellipsis(const String& Property, std::vector<TAnswer> Answers) {
    return Answering(std::move(Answers), [&] { Ide.Inspector().Edit(Property); });
  }
  static std::function<void(TCustomForm*)> Expression(String& Seen, const String& Typed = "") {
    return [&Seen, Typed](TCustomForm* F) {
      Seen = Text(F, "ExpressionEdit");
      if (!Typed.empty()) static_cast<TEdit*>(F->FindComponent("ExpressionEdit"))->SetText(Typed);
    };
  }
  static std::function<void(TCustomForm*)> Memo(const String& Typed) {
    return [Typed](TCustomForm* F) { static_cast<TMemo*>(F->FindComponent("Memo"))->SetText(Typed); };
  }
};

TEST_F(ReportPropertyTest, TheGroupExpressionOpensTheBuilderPresetWithTheExpression) {
  Report->ReportBands()->GroupExpression = "Country";
  String Seen;
  EXPECT_EQ(Ellipsis("ReportBands.GroupExpression", {{Expression(Seen, "City"), mrCancel}}),
            std::vector<String>{"ExpressionBuilder"});
  EXPECT_EQ(Seen, "Country");
  EXPECT_EQ(Report->ReportBands()->GroupExpression, "Country");
  EXPECT_FALSE(D->IsModified());
  Ellipsis("ReportBands.GroupExpression", {{Expression(Seen, "City"), mrOk}});
  EXPECT_EQ(Report->ReportBands()->GroupExpression, "City");
  EXPECT_TRUE(D->IsModified());
  EXPECT_EQ(Application->DialogLog().back(),
            "Expression builder: QuickReport's expression = 'Country' (form Form1) -> 'City'");
}

TEST_F(ReportPropertyTest, ACaptionChangedInTheStringEditorNeverOpensTheBuilder) {
  Report->ReportTitle()->LeftCaption = "Orders";
  EXPECT_EQ(Ellipsis("ReportTitle.LeftCaption", {{Memo("Orders of 2003"), mrOk}}),
            std::vector<String>{"OmStringEditor"});
  EXPECT_EQ(Report->ReportTitle()->LeftCaption, "Orders of 2003");
}

TEST_F(ReportPropertyTest, ACaptionLeftAsItWasGoesOnToTheBuilderWithTheOldText) {
  Report->ReportTitle()->RightCaption = "Page";
  String Seen;
  // Cancelled in the string editor, confirmed in the builder.
  Ellipsis("ReportTitle.RightCaption", {{Memo("ignored"), mrCancel}, {Expression(Seen, "'Page ' + PAGENUMBER"), mrOk}});
  EXPECT_EQ(Seen, "Page");
  EXPECT_EQ(Report->ReportTitle()->RightCaption, "'Page ' + PAGENUMBER");
  // Confirmed unchanged, then the builder cancelled: the caption stays.
  Ellipsis("ReportTitle.RightCaption", {{nullptr, mrOk}, {Expression(Seen, "x"), mrCancel}});
  EXPECT_EQ(Seen, "'Page ' + PAGENUMBER");
  EXPECT_EQ(Report->ReportTitle()->RightCaption, "'Page ' + PAGENUMBER");
  // Both cancelled: the form is not touched.
  Saved();
  Ellipsis("ReportTitle.RightCaption", {{Memo("x"), mrCancel}, {Expression(Seen, "y"), mrCancel}});
  EXPECT_EQ(Report->ReportTitle()->RightCaption, "'Page ' + PAGENUMBER");
  EXPECT_FALSE(D->IsModified());
  // A column's total text takes the same road.
  TOmColumn* Column = Grid->Columns()->GetColumn(0);
  D->SelectComponent(Column);
  Ide.Inspector().Expand("Report");
  Ellipsis("Report.TotalText", {{nullptr, mrCancel}, {Expression(Seen, "SUM(Amount)"), mrOk}});
  EXPECT_EQ(Column->Report()->TotalText, "SUM(Amount)");
}

TEST_F(ReportPropertyTest, OnADataModuleTheBuilderIsGivenNoForm) {
  TDesigner* Module = Ide.NewForm(TDataModule::StaticClass(), "Module1");
  auto* Other = static_cast<TOmQRGrid*>(
      Module->CreateComponent(TOmQRGrid::StaticClass(), Module->GetRoot(), -1, -1, -1, -1));
  Module->SelectComponent(Other);
  Ide.Inspector().Expand("ReportBands");
  String Seen;
  Ellipsis("ReportBands.GroupExpression", {{Expression(Seen), mrCancel}});
  EXPECT_EQ(Application->DialogLog().back(), "Expression builder: QuickReport's expression = '' (no form) -> cancelled");
}

}  // namespace
