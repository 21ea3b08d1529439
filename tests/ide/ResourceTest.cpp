// Resources compiled into a module and found through the class that asks for them.
#include <gtest/gtest.h>

#include <cstring>

#include "TestClasses.h"

class TResourceForm : public TTestForm {
  OM_CLASS(TResourceForm, TTestForm)
 public:
  explicit TResourceForm(TComponent* AOwner) : TTestForm(AOwner) {
    InitInheritedComponent(this, TTestForm::StaticClass());
  }
};
OM_IMPLEMENT_CLASS(TResourceForm, "ResourceTest");

namespace {

class ResourceTest : public ::testing::Test {
 protected:
  TTestClassesRegistration Registration;
};

TEST_F(ResourceTest, AFormIsBuiltFromTheDescriptionInItsClassModule) {
  ASSERT_EQ(FindClassHInstance(TResourceForm::StaticClass()), &OmThisModule);
  TResourceForm Form(nullptr);
  EXPECT_EQ(Form.Name(), "ResourceForm");
  EXPECT_EQ(Form.Caption, "From the module");
  EXPECT_EQ(Form.ClientWidth, 272);
  auto* Ok = static_cast<TTestButton*>(Form.FindComponent("OkButton"));
  ASSERT_NE(Ok, nullptr);
  Ok->OnClick(Ok);
  EXPECT_EQ(Form.Clicks, 1);
}

TEST_F(ResourceTest, ClassesOfAnotherModuleFindNothingHere) {
  // TTestForm lives here too, but the IDE's own classes come from the host library.
  EXPECT_NE(FindClassHInstance(TComponent::StaticClass()), &OmThisModule);
  EXPECT_EQ(FindResource(FindClassHInstance(TComponent::StaticClass()), "TRESOURCEFORM", RT_RCDATA),
            nullptr);
  EXPECT_NE(FindResource(&OmThisModule, "tResourceForm", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(&OmThisModule, "TRESOURCEFORM", RT_BITMAP), nullptr);
}

TEST_F(ResourceTest, ALanguageModuleTakesOverTheResources) {
  static const char Translated[] =
      "object ResourceForm: TResourceForm\n  Caption = 'Aus dem Modul'\nend\n";
  const TResourceEntry Entries[] = {
      {RT_RCDATA, "TRESOURCEFORM", reinterpret_cast<const unsigned char*>(Translated),
       sizeof Translated - 1}};
  TLibModule Language{"ide_tests.DEU", Entries, 1, nullptr, nullptr, nullptr, nullptr};
  OmThisModule.ResourceModule = &Language;
  TResourceForm Form(nullptr);
  OmThisModule.ResourceModule = nullptr;
  EXPECT_EQ(Form.Caption, "Aus dem Modul");
  EXPECT_EQ(Form.ComponentCount(), 0);
}

TEST(PaletteBitmaps, AreTwentyFourSquareSixteenColourBitmaps) {
  for (const char* Name : {"TOMDBGRID", "TOMQRGRID", "TOMDBCOLUMNSDIALOG", "TOMDBPRINTCOLUMNSDIALOG"}) {
    SCOPED_TRACE(Name);
    const TResourceEntry* R = FindResource(&OmThisModule, Name, RT_BITMAP);
    ASSERT_NE(R, nullptr);
    ASSERT_GE(R->Size, 54u + 16 * 4);
    auto U16 = [&](size_t At) { return unsigned(R->Data[At] | R->Data[At + 1] << 8); };
    auto U32 = [&](size_t At) { return U16(At) | U16(At + 2) << 16; };
    EXPECT_EQ(std::memcmp(R->Data, "BM", 2), 0);
    EXPECT_EQ(U32(2), R->Size);
    EXPECT_EQ(U32(18), 24u);   // width
    EXPECT_EQ(U32(22), 24u);   // height, bottom-up
    EXPECT_EQ(U16(28), 4u);    // bits per pixel
    EXPECT_EQ(U32(30), 0u);    // uncompressed
    EXPECT_EQ(U32(10), 54u + 16 * 4);  // pixels follow the 16-colour table
    EXPECT_EQ(R->Size, 54u + 16 * 4 + 24 * 12);  // rows of 12 bytes, already a multiple of 4
  }
}

}  // namespace
