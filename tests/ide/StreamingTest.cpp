// Form descriptions: what is read is what is written, and what is written reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "TestClasses.h"

namespace {

void DesignerHandlerStandIn() {}

class StreamingTest : public ::testing::Test {
 protected:
  TTestClassesRegistration Registration;
  TComponent Owner{nullptr};
};

// Everything a form file can hold, in the form the writer produces it.
const char* const FullForm =
    "object Form1: TTestForm\n"
    "  Caption = 'Main ''form'''#13#10'line two'\n"
    "  ClientWidth = 320\n"
    "  OnCreate = ButtonClick\n"
    "  object Button1: TTestButton\n"
    "    Caption = 'OK'\n"
    "    Left = -5\n"
    "    Enabled = False\n"
    "    Align = tlClient\n"
    "    Color = clRed\n"
    "    Font.Name = 'Arial'\n"
    "    Font.Size = 12\n"
    "    Font.Style = [tsBold, tsUnderline]\n"
    "    Lines.Strings = (\n"
    "      'first'\n"
    "      ''\n"
    "      'third')\n"
    "    Items = <\n"
    "      item\n"
    "        Caption = 'A'\n"
    "        Width = 10\n"
    "        Font.Color = clNavy\n"
    "      end\n"
    "      item\n"
    "        Visible = False\n"
    "      end>\n"
    "    Buddy = Button2\n"
    "    OnClick = ButtonClick\n"
    "    Data = {\n"
    "      0001FF7F}\n"
    "    object Button3: TTestButton\n"
    "      Color = 1193046\n"
    "    end\n"
    "  end\n"
    "  object Button2: TTestButton\n"
    "  end\n"
    "end\n";

TEST_F(StreamingTest, FullFormReadsEveryKindOfValue) {
  auto* Form = static_cast<TTestForm*>(ComponentFromText(FullForm, "Full.dfm", nullptr, &Owner));
  ASSERT_NE(Form, nullptr);
  EXPECT_EQ(Form->Owner(), &Owner);
  EXPECT_EQ(Form->Name(), "Form1");
  EXPECT_EQ(Form->Caption, "Main 'form'\r\nline two");
  EXPECT_EQ(Form->ClientWidth, 320);
  ASSERT_TRUE(Form->OnCreate);
  Form->OnCreate(Form);
  EXPECT_EQ(Form->Clicks, 1);

  auto* B1 = static_cast<TTestButton*>(Form->FindComponent("button1"));
  auto* B2 = static_cast<TTestButton*>(Form->FindComponent("Button2"));
  auto* B3 = static_cast<TTestButton*>(Form->FindComponent("Button3"));
  ASSERT_TRUE(B1 && B2 && B3);
  EXPECT_EQ(Form->ComponentCount(), 3);
  EXPECT_EQ(B1->Caption, "OK");
  EXPECT_EQ(B1->Left, -5);
  EXPECT_FALSE(B1->Enabled);
  EXPECT_EQ(B1->Align, tlClient);
  EXPECT_EQ(B1->Color, clRed);
  EXPECT_EQ(B1->Font()->Name, "Arial");
  EXPECT_EQ(B1->Font()->Size, 12);
  EXPECT_EQ(B1->Font()->Style, (TTestFontStyles{tsBold, tsUnderline}));
  EXPECT_EQ(B1->Lines()->Text(), "first\r\n\r\nthird\r\n");
  ASSERT_EQ(B1->Items()->Count(), 2);
  EXPECT_EQ(B1->Items()->Items(0)->Caption, "A");
  EXPECT_EQ(B1->Items()->Items(0)->Width, 10);
  EXPECT_EQ(B1->Items()->Items(0)->Font()->Color, clNavy);
  EXPECT_FALSE(B1->Items()->Items(1)->Visible);
  EXPECT_EQ(B1->Buddy(), B2);  // a reference forward, resolved once the form is read
  EXPECT_EQ(B1->Data, (std::vector<Byte>{0x00, 0x01, 0xFF, 0x7F}));
  EXPECT_EQ(B3->GetParentComponent(), B1);
  EXPECT_EQ(B3->Color, TColor(0x123456));
  ASSERT_TRUE(B1->OnClick);
  B1->OnClick(B1);
  EXPECT_EQ(Form->Clicks, 2);
  // Loaded runs once per component, after the references are resolved.
  EXPECT_EQ(B1->LoadedCount, 1);
  EXPECT_FALSE(B1->ComponentState().Contains(csLoading));
  EXPECT_FALSE(Form->ComponentState().Contains(csReading));
}

TEST_F(StreamingTest, WriterProducesTheSameTextItRead) {
  TComponent* Form = ComponentFromText(FullForm, "Full.dfm", nullptr, &Owner);
  EXPECT_EQ(ComponentToText(Form), FullForm);
}

TEST_F(StreamingTest, ReadWriteReadGivesAnEqualForm) {
  TComponent* First = ComponentFromText(FullForm, "Full.dfm", nullptr, &Owner);
  String Text = ComponentToText(First);
  TComponent Owner2(nullptr);
  TComponent* Second = ComponentFromText(Text, "Again.dfm", nullptr, &Owner2);
  EXPECT_EQ(ComponentToText(Second), Text);
  auto* B1 = static_cast<TTestButton*>(Second->FindComponent("Button1"));
  EXPECT_EQ(B1->Buddy(), Second->FindComponent("Button2"));
  EXPECT_NE(B1->Buddy(), First->FindComponent("Button2"));
}

TEST_F(StreamingTest, DefaultValuesAreLeftOut) {
  TTestForm Form(nullptr);
  Form.SetName("Form1");
  auto* B = new TTestButton(&Form);
  B->SetName("Button1");
  EXPECT_EQ(ComponentToText(&Form),
            "object Form1: TTestForm\n"
            "  object Button1: TTestButton\n"
            "  end\n"
            "end\n");
  B->Enabled = false;
  B->Items()->Add();
  EXPECT_EQ(ComponentToText(&Form),
            "object Form1: TTestForm\n"
            "  object Button1: TTestButton\n"
            "    Enabled = False\n"
            "    Items = <\n"
            "      item\n"
            "      end>\n"
            "  end\n"
            "end\n");
}

TEST_F(StreamingTest, StringsKeepEveryCharacter) {
  TTestForm Form(nullptr);
  String All;
  for (int C = 1; C < 256; ++C) All += char(C);
  Form.Caption = All + "''" + "#13";
  String Text = ComponentToText(&Form);
  TTestForm Again(nullptr);
  ComponentFromText(Text, "Chars.dfm", &Again);
  EXPECT_EQ(Again.Caption, Form.Caption);
}

TEST_F(StreamingTest, StringPiecesJoinAcrossLinesAndCodes) {
  TTestForm Form(nullptr);
  ComponentFromText(
      "object F: TTestForm\n"
      "  Caption = 'a'#$41'b' +\n"
      "    'c'#10 + #9'd'\n"
      "end",
      "Join.dfm", &Form);
  EXPECT_EQ(Form.Caption, "aAbc\n\td");
  ComponentFromText("object F: TTestForm\n  Caption = 'it'#39's'\nend", "Quote.dfm", &Form);
  EXPECT_EQ(Form.Caption, "it's");
  // Doubled quotes at either end of a piece and in a row; property names in any case.
  ComponentFromText("object F: TTestForm\n  CAPTION = '''quoted'' and '''''\n  clientwidth = 7 end",
                    "Quotes.dfm", &Form);
  EXPECT_EQ(Form.Caption, "'quoted' and ''");
  EXPECT_EQ(Form.ClientWidth, 7);
}

TEST_F(StreamingTest, ReadingIntoAnExistingRootKeepsItAndRecordsTheClassName) {
  TTestForm Root(nullptr);
  TReader Reader(
      "object MyForm: TMyDesignedForm\n"
      "  Caption = 'designed'\n"
      "  object B: TTestButton\n"
      "    OnClick = OtherClick\n"
      "  end\n"
      "end\n",
      "My.dfm");
  EXPECT_EQ(Reader.ReadRootComponent(&Root), &Root);
  EXPECT_EQ(Reader.RootClassName(), "TMyDesignedForm");
  EXPECT_EQ(Root.Name(), "MyForm");
  EXPECT_EQ(Root.Caption, "designed");
  EXPECT_EQ(Root.ComponentCount(), 1);
}

TEST_F(StreamingTest, MethodHooksLetTheDesignerNameHandlers) {
  // A designer keeps handlers that no compiled class has: it binds and names them itself.
  TTestForm Root(nullptr);
  static const TMethod Placeholder{reinterpret_cast<TErasedCode>(&DesignerHandlerStandIn), nullptr};
  TReader Reader("object F: TTestForm\n  OnCreate = FormCreate\nend\n", "Hooks.dfm");
  String Asked;
  Reader.OnFindMethod = [&](TComponent*, const String& Name) {
    Asked = Name;
    return Placeholder;
  };
  Reader.ReadRootComponent(&Root);
  EXPECT_EQ(Asked, "FormCreate");
  EXPECT_EQ(Root.OnCreate.Method(), Placeholder);

  TWriter Writer;
  Writer.OnFindMethodName = [&](const TMethod& M) { return M == Placeholder ? String("FormCreate") : String(); };
  Writer.WriteRootComponent(&Root);
  EXPECT_NE(Writer.TakeText().find("  OnCreate = FormCreate\n"), String::npos);
  Root.OnCreate = nullptr;  // the placeholder is no callable method
}

TEST_F(StreamingTest, HandlersBoundInCodeAreNotWritten) {
  TTestForm Form(nullptr);
  TTestForm Other(nullptr);
  auto* B = new TTestButton(&Form);
  B->SetName("B");
  B->OnClick = Closure<&TTestForm::ButtonClick>(&Other);  // not the root's
  EXPECT_EQ(ComponentToText(&Form).find("OnClick"), String::npos);
  B->OnClick = Closure<&TTestForm::ButtonClick>(&Form);
  EXPECT_NE(ComponentToText(&Form).find("OnClick = ButtonClick"), String::npos);
}

TEST_F(StreamingTest, FilesAreWrittenWhole) {
  auto Dir = std::filesystem::temp_directory_path() / ("omfiles" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  String Path = (Dir / "Form1.dfm").string();
  TComponent* Form = ComponentFromText(FullForm, "Full.dfm", nullptr, &Owner);
  WriteComponentFile(Path, Form);
  TComponent Owner2(nullptr);
  TComponent* Again = ReadComponentFile(Path, nullptr, &Owner2);
  EXPECT_EQ(ComponentToText(Again), FullForm);
  // A folder in the way: the write fails with the file's name, and nothing is left over.
  std::filesystem::create_directories(Dir / "Busy.dfm");
  try {
    WriteComponentFile((Dir / "Busy.dfm").string(), Form);
    ADD_FAILURE() << "writing over a folder succeeded";
  } catch (EFCreateError& E) {
    EXPECT_NE(E.Message.find("Busy.dfm"), String::npos) << E.Message;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 2);
  try {
    ReadComponentFile((Dir / "Missing.dfm").string(), nullptr, &Owner);
    ADD_FAILURE() << "reading a missing file succeeded";
  } catch (EFOpenError& E) {
    EXPECT_NE(E.Message.find("Missing.dfm"), String::npos) << E.Message;
  }
  std::filesystem::remove_all(Dir);
}

}  // namespace
