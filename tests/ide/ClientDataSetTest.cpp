// The in-memory dataset: field definitions stored in the form, nested to any depth, and
// the fields built from them.
#include <gtest/gtest.h>

#include "DBClient.h"
#include "DataTestSupport.h"
#include "TestClasses.h"

namespace {

const char* const NestedForm =
    "object Form1: TTestForm\n"
    "  object People: TClientDataSet\n"
    "    FieldDefs = <\n"
    "      item\n"
    "        Name = 'Id'\n"
    "        DataType = ftInteger\n"
    "      end\n"
    "      item\n"
    "        Name = 'Address'\n"
    "        DataType = ftADT\n"
    "        ChildDefs = <\n"
    "          item\n"
    "            Name = 'Street'\n"
    "            DataType = ftString\n"
    "            Size = 30\n"
    "          end\n"
    "          item\n"
    "            Name = 'Geo'\n"
    "            DataType = ftADT\n"
    "            ChildDefs = <\n"
    "              item\n"
    "                Name = 'Lat'\n"
    "                DataType = ftFloat\n"
    "              end\n"
    "              item\n"
    "                Name = 'Lon'\n"
    "                DataType = ftFloat\n"
    "              end>\n"
    "          end>\n"
    "      end\n"
    "      item\n"
    "        Name = 'Phones'\n"
    "        DataType = ftArray\n"
    "        Size = 2\n"
    "        ChildDefs = <\n"
    "          item\n"
    "            Name = 'Phone'\n"
    "            DataType = ftADT\n"
    "            ChildDefs = <\n"
    "              item\n"
    "                Name = 'Kind'\n"
    "                DataType = ftString\n"
    "                Size = 5\n"
    "              end\n"
    "              item\n"
    "                Name = 'Number'\n"
    "                DataType = ftString\n"
    "              end>\n"
    "          end>\n"
    "      end\n"
    "      item\n"
    "        Name = 'Orders'\n"
    "        DataType = ftDataSet\n"
    "      end\n"
    "      item\n"
    "        Name = 'Manager'\n"
    "        DataType = ftReference\n"
    "      end>\n"
    "  end\n"
    "end\n";

// The names a field list offers: each field, then the children of object and array
// fields, depth first, by full name.
void ListNames(TFields* Fields, std::vector<std::string>& Out) {
  for (int I = 0; I < Fields->Count(); ++I) {
    TField* F = Fields->Fields(I);
    Out.push_back(F->FullName());
    if (F->DataType() == ftADT || F->DataType() == ftArray)
      ListNames(static_cast<TObjectField*>(F)->Fields(), Out);
  }
}

class ClientDataSetTest : public ::testing::Test {
 protected:
  TTestClassesRegistration Classes;
  TDataClassesRegistration DataClasses;
  TComponent Owner{nullptr};
  TComponent* Form = ComponentFromText(NestedForm, "People.dfm", nullptr, &Owner);
  TClientDataSet* People = dynamic_cast<TClientDataSet*>(Form->FindComponent("People"));
};

TEST_F(ClientDataSetTest, NestedDefinitionsAreReadAndWrittenWithTheForm) {
  ASSERT_NE(People, nullptr);
  TFieldDefs* Defs = People->FieldDefs();
  ASSERT_EQ(Defs->Count(), 5);
  TFieldDef* Geo = Defs->Find("address")->ChildDefs()->Find("Geo");
  ASSERT_NE(Geo, nullptr);
  EXPECT_EQ(Geo->DataType(), ftADT);
  EXPECT_EQ(Geo->ChildDefs()->Items(1)->Name(), "Lon");
  EXPECT_EQ(Geo->ParentDef(), Defs->Items(1));
  EXPECT_EQ(Defs->Items(2)->Size(), 2);
  EXPECT_EQ(ComponentToText(Form), NestedForm);
}

TEST_F(ClientDataSetTest, OpeningBuildsObjectAndArrayFieldsWithTheirFullNames) {
  People->Open();
  ASSERT_EQ(People->FieldCount(), 5);
  TField* Address = People->Fields(1);
  EXPECT_EQ(Address->DataType(), 26);
  EXPECT_TRUE(Address->Is<TADTField>());
  EXPECT_EQ(People->Fields(2)->DataType(), 27);
  EXPECT_TRUE(People->Fields(2)->Is<TArrayField>());
  EXPECT_EQ(People->Fields(3)->DataType(), 29);
  EXPECT_TRUE(People->Fields(3)->Is<TDataSetField>());
  EXPECT_EQ(People->Fields(4)->DataType(), 28);
  EXPECT_TRUE(People->Fields(4)->Is<TReferenceField>());

  TField* Lon = People->FieldByName("Address.Geo.Lon");
  EXPECT_EQ(Lon->FieldName(), "Lon");
  EXPECT_EQ(Lon->DataType(), ftFloat);
  EXPECT_EQ(Lon->ParentField()->FullName(), "Address.Geo");
  EXPECT_EQ(Lon->ParentField()->ParentField(), Address);
  EXPECT_EQ(Lon->DataSet(), People);
  TField* Kind = People->FieldByName("phones[1].kind");
  EXPECT_EQ(Kind->FullName(), "Phones[1].Kind");
  EXPECT_EQ(Kind->ParentField()->FieldName(), "Phones[1]");
  EXPECT_EQ(Kind->Size(), 5);
  EXPECT_EQ(People->FieldByName("Phones[0].Number")->Size(), 20);  // a string's default

  std::vector<std::string> Names;
  ListNames(People->FieldList(), Names);
  EXPECT_EQ(Names,
            (std::vector<std::string>{"Id", "Address", "Address.Street", "Address.Geo",
                                      "Address.Geo.Lat", "Address.Geo.Lon", "Phones", "Phones[0]",
                                      "Phones[0].Kind", "Phones[0].Number", "Phones[1]",
                                      "Phones[1].Kind", "Phones[1].Number", "Orders", "Manager"}));
  People->Close();
  EXPECT_EQ(People->FieldCount(), 0);
}

TEST_F(ClientDataSetTest, RecordsHoldValuesOfEachKindUntilClosed) {
  People->Open();
  EXPECT_TRUE(People->IsEmpty());
  EXPECT_TRUE(People->Eof());
  People->Append();
  People->FieldByName("Id")->SetAsInteger(7);
  People->FieldByName("Address.Street")->SetAsString("Main St 1");
  People->FieldByName("Address.Geo.Lat")->SetAsString("52.5");
  People->Append();
  People->FieldByName("Id")->SetAsString("8");
  EXPECT_EQ(People->RecordCount(), 2);
  People->First();
  EXPECT_EQ(People->FieldByName("Id")->AsString(), "7");
  EXPECT_EQ(People->FieldByName("Address.Street")->AsString(), "Main St 1");
  EXPECT_DOUBLE_EQ(People->FieldByName("Address.Geo.Lat")->AsFloat(), 52.5);
  EXPECT_TRUE(People->FieldByName("Address.Geo.Lon")->IsNull());
  EXPECT_EQ(People->FieldByName("Address")->DisplayText(), "(ADT)");
  People->Next();
  EXPECT_EQ(People->FieldByName("Id")->AsInteger(), 8);
  EXPECT_TRUE(People->FieldByName("Address.Street")->IsNull());

  // A value the field cannot hold is refused, naming the field; the record keeps its value.
  TField* Id = People->FieldByName("Id");
  EXPECT_THROW(Id->SetAsString("eight"), EDatabaseError);
  EXPECT_THROW(Id->SetAsInteger(1LL << 40), EDatabaseError);
  try {
    People->FieldByName("Phones[0].Kind")->SetAsString("mobile");
    FAIL() << "a six-character value went into a five-character field";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find("Phones[0].Kind"), String::npos) << E.Message;
  }
  EXPECT_THROW(People->FieldByName("Address")->SetAsString("x"), EDatabaseError);
  EXPECT_EQ(Id->AsInteger(), 8);
  People->Close();
  People->Open();
  EXPECT_EQ(People->RecordCount(), 0);
}

// The names are indexed on the first look-up; the index must follow every later change.
TEST(FieldsTest, LookUpsFollowAddsRenamesAndRemovalsInAnyCase) {
  TFields L(nullptr);
  auto Field = [&](const String& Name) {
    auto* F = new TField(nullptr);
    F->SetFieldName(Name);
    L.Add(F);
    return F;
  };
  TField* A = Field("Alpha");
  EXPECT_EQ(L.FindField("ALPHA"), A);
  TField* B = Field("Beta");  // after the index was made
  EXPECT_EQ(L.FindField("beta"), B);
  TField* C = Field("alpha");  // the first of two equal names is the one found
  EXPECT_EQ(L.FindField("Alpha"), A);
  A->SetFieldName("Gamma");
  EXPECT_EQ(L.FindField("gamma"), A);
  EXPECT_EQ(L.FindField("Alpha"), C);
  delete A;
  EXPECT_EQ(L.FindField("Gamma"), nullptr);
  EXPECT_EQ(L.Count(), 2);
  L.Clear();
  EXPECT_EQ(L.FindField("Beta"), nullptr);
}

TEST_F(ClientDataSetTest, BadDefinitionsAreRefusedSayingWhichAndLeaveItClosed) {
  auto Refused = [&](auto Build, const char* Why) {
    TClientDataSet D(nullptr);
    D.SetName("Bad");
    Build(D.FieldDefs());
    try {
      D.Open();
      ADD_FAILURE() << "opened; expected: " << Why;
    } catch (EDatabaseError& E) {
      EXPECT_NE(E.Message.find(Why), String::npos) << E.Message;
    }
    EXPECT_FALSE(D.Active());
    EXPECT_EQ(D.FieldCount(), 0);
  };
  Refused([](TFieldDefs*) {}, "Missing field definitions");
  Refused([](TFieldDefs* F) { F->Add("", ftInteger); }, "has no name");
  Refused(
      [](TFieldDefs* F) {
        F->Add("A", ftInteger);
        F->Add("a", ftString);
      },
      "Duplicate field name 'a'");
  Refused([](TFieldDefs* F) { F->Add("A.B", ftInteger); }, "may not hold");
  Refused([](TFieldDefs* F) { F->Add("Arr", ftArray, 3); }, "needs one child definition");
  Refused([](TFieldDefs* F) { F->Add("Arr", ftArray, 0)->ChildDefs()->Add("E", ftInteger); },
          "needs from 1 to");
  Refused(
      [](TFieldDefs* F) { F->Add("Arr", ftArray, 2000000000)->ChildDefs()->Add("E", ftInteger); },
      "needs from 1 to");
  Refused(
      [](TFieldDefs* F) {
        // Each level within bounds, together far too many fields.
        TFieldDef* D = F->Add("A", ftArray, 60000);
        D->ChildDefs()->Add("B", ftArray, 60000)->ChildDefs()->Add("C", ftInteger);
      },
      "too many");
  Refused([](TFieldDefs* F) { F->Add("Obj", ftADT); }, "needs child definitions");
  Refused([](TFieldDefs* F) { F->Add("S", ftString)->ChildDefs()->Add("X", ftInteger); },
          "cannot have child definitions");
  Refused([](TFieldDefs* F) { F->Add("V", ftVariant); }, "which a dataset cannot hold");
  Refused([](TFieldDefs* F) { F->Add("A", ftADT)->ChildDefs()->Add("", ftInteger); },
          "FieldDefs[0].ChildDefs[0]");
}

}  // namespace
