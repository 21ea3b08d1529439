// Datasets over SQLite database files: fields from columns, records, queries, and the
// database named relative to the form that holds the dataset.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "DataTestSupport.h"
#include "SQLiteDB.h"
#include "TempFolder.h"
#include "TestClasses.h"

namespace {

const char* const ShopSql =
    "CREATE TABLE Customers(CustNo INTEGER PRIMARY KEY, Company VARCHAR(30) NOT NULL,"
    " Balance REAL, Vip BOOLEAN, Since DATE, Notes TEXT, Photo BLOB, Big BIGINT);"
    "INSERT INTO Customers VALUES(1, 'Kauai Dive Shoppe', 1250.5, 1, '1994-02-01', NULL, x'00FF', "
    "5000000000);"
    "INSERT INTO Customers VALUES(2, 'Unisco', NULL, 0, '1995-03-12', 'pays late', NULL, 1);"
    "INSERT INTO Customers VALUES(3, 'Sight Diver', 0.25, NULL, NULL, '', NULL, NULL);"
    "CREATE TABLE Orders(OrderNo INTEGER, CustNo INTEGER, Total REAL);"
    "INSERT INTO Orders VALUES(10, 1, 100.0), (11, 1, 50.5), (12, 2, 7.0);";

class SQLiteDataSetTest : public ::testing::Test {
 protected:
  SQLiteDataSetTest() { RunSql(Db, ShopSql); }

  TTempFolder Dir;
  std::string Db = Dir / "shop.db";
  TComponent Owner{nullptr};
  TSQLiteDataSet* Table = MakeTable(Db, "Customers");

  TSQLiteDataSet* MakeTable(const std::string& File, const std::string& TableName) {
    auto* T = new TSQLiteDataSet(&Owner);
    T->SetDatabaseName(File);
    T->SetTableName(TableName);
    return T;
  }
  std::string Column(TDataSet* D, const char* Field) {
    std::string Out;
    for (D->First(); !D->Eof(); D->Next()) Out += D->FieldByName(Field)->AsString() + "|";
    return Out;
  }
};

TEST_F(SQLiteDataSetTest, FieldsComeFromTheTablesColumns) {
  Table->Open();
  ASSERT_EQ(Table->FieldCount(), 8);
  const std::pair<const char*, TFieldType> Expected[] = {
      {"CustNo", ftInteger}, {"Company", ftString}, {"Balance", ftFloat}, {"Vip", ftBoolean},
      {"Since", ftDate},     {"Notes", ftString},   {"Photo", ftBlob},    {"Big", ftLargeint}};
  for (int I = 0; I < 8; ++I) {
    EXPECT_EQ(Table->Fields(I)->FieldName(), Expected[I].first);
    EXPECT_EQ(Table->Fields(I)->DataType(), Expected[I].second) << Expected[I].first;
    EXPECT_EQ(Table->Fields(I)->DataSet(), Table);
    EXPECT_EQ(Table->Fields(I)->Index(), I);
  }
  EXPECT_EQ(Table->FieldByName("company")->Size(), 30);
  EXPECT_EQ(Table->FieldByName("Company")->DisplayWidth(), 30);
  EXPECT_EQ(Table->FindField("Missing"), nullptr);
  EXPECT_THROW(Table->FieldByName("Missing"), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, RecordsAreWalkedInOrderWithTheirValues) {
  Table->Open();
  EXPECT_EQ(Table->RecordCount(), 3);
  EXPECT_EQ(Column(Table, "Company"), "Kauai Dive Shoppe|Unisco|Sight Diver|");
  EXPECT_EQ(Column(Table, "Balance"), "1250.5||0.25|");
  EXPECT_EQ(Column(Table, "Vip"), "True|False||");
  EXPECT_EQ(Column(Table, "Big"), "5000000000|1||");
  Table->First();
  EXPECT_TRUE(Table->Bof());
  EXPECT_EQ(Table->RecNo(), 1);
  EXPECT_EQ(Table->FieldByName("CustNo")->AsInteger(), 1);
  EXPECT_DOUBLE_EQ(Table->FieldByName("Balance")->AsFloat(), 1250.5);
  EXPECT_TRUE(Table->FieldByName("Vip")->AsBoolean());
  EXPECT_EQ(Table->FieldByName("Photo")->DisplayText(), "(BLOB)");
  EXPECT_EQ(Table->FieldByName("Photo")->AsString(), std::string("\0\xFF", 2));
  EXPECT_THROW(Table->FieldByName("Big")->AsInteger(), EDatabaseError);  // too big for Integer
  EXPECT_EQ(Table->FieldByName("Big")->AsLargeInt(), 5000000000LL);
  Table->Next();
  EXPECT_TRUE(Table->FieldByName("Balance")->IsNull());
  Table->Last();
  EXPECT_TRUE(Table->Eof());
  EXPECT_EQ(Table->FieldByName("Company")->AsString(), "Sight Diver");
  Table->Next();  // past the end stays on the last record
  EXPECT_EQ(Table->RecNo(), 3);
  // What it reads it cannot change.
  EXPECT_THROW(Table->FieldByName("Company")->SetAsString("x"), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, AQueryGivesItsColumnsAndRows) {
  auto* Q = MakeTable(Db, "");
  Q->SQL()->SetText(
      "SELECT c.Company, o.CustNo, o.Total, o.Total * 2 AS Twice, c.CustNo\n"
      "FROM Orders o JOIN Customers c ON c.CustNo = o.CustNo\n"
      "WHERE o.Total > 10 ORDER BY o.OrderNo");
  Q->Open();
  ASSERT_EQ(Q->FieldCount(), 5);
  EXPECT_EQ(Q->Fields(3)->FieldName(), "Twice");
  EXPECT_EQ(Q->Fields(3)->DataType(), ftFloat);  // an expression is typed by its values
  EXPECT_EQ(Q->Fields(4)->FieldName(), "CustNo_1");
  EXPECT_EQ(Q->RecordCount(), 2);
  EXPECT_EQ(Column(Q, "Twice"), "200|101|");
  EXPECT_EQ(Column(Q, "Company"), "Kauai Dive Shoppe|Kauai Dive Shoppe|");
  // Changing the query closes the dataset; opening again reads the new one.
  Q->SQL()->SetText("SELECT count(*) AS N FROM Orders");
  EXPECT_FALSE(Q->Active());
  Q->Open();
  EXPECT_EQ(Q->FieldByName("N")->DataType(), ftInteger);
  EXPECT_EQ(Q->FieldByName("N")->AsInteger(), 3);
}

TEST_F(SQLiteDataSetTest, OnlyOneReadingStatementIsRun) {
  auto* Q = MakeTable(Db, "");
  auto Refused = [&](const char* Sql, const char* Why) {
    Q->SQL()->SetText(Sql);
    try {
      Q->Open();
      ADD_FAILURE() << Sql << " was run";
    } catch (EDatabaseError& E) {
      EXPECT_NE(E.Message.find(Why), String::npos) << Sql << ": " << E.Message;
    }
    EXPECT_FALSE(Q->Active());
    EXPECT_EQ(Q->FieldCount(), 0);
  };
  Refused("DELETE FROM Orders", "would change the database");
  Refused("SELECT 1; DROP TABLE Orders", "more than one statement");
  Refused("SELECT x FROM nowhere", "no such table: nowhere");
  Q->SQL()->Clear();
  Q->SetTableName("Customers\"; DROP TABLE Orders; --");
  EXPECT_THROW(Q->Open(), EDatabaseError);
  Q->SQL()->SetText("SELECT 1");
  EXPECT_THROW(Q->Open(), EDatabaseError);  // a table and a query both
  auto* Orders = MakeTable(Db, "Orders");
  Orders->Open();
  EXPECT_EQ(Orders->RecordCount(), 3);  // nothing above reached the database
}

TEST_F(SQLiteDataSetTest, AMissingOrBrokenDatabaseRaisesNamingTheFile) {
  std::string Missing = Dir / "gone.db";
  auto* T = MakeTable(Missing, "Customers");
  try {
    T->Open();
    FAIL() << "opened a missing database";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find(Missing), String::npos) << E.Message;
    EXPECT_NE(E.Message.find("unable to open database file"), String::npos) << E.Message;
  }
  EXPECT_FALSE(T->Active());
  EXPECT_FALSE(std::filesystem::exists(Missing));  // not created by the attempt

  std::string Text = Dir / "notes.db";
  WriteWholeFile(Text, std::string(2000, 'n'));
  auto* B = MakeTable(Text, "Customers");
  try {
    B->Open();
    FAIL() << "opened a text file";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find(Text), String::npos) << E.Message;
    EXPECT_NE(E.Message.find("file is not a database"), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadWholeFile(Text), std::string(2000, 'n'));

  auto* NoTable = MakeTable(Db, "Suppliers");
  EXPECT_THROW(NoTable->Open(), EDatabaseError);
  auto* Unnamed = MakeTable("", "Customers");
  EXPECT_THROW(Unnamed->Open(), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, TheTableNamesAreTheDatabasesTablesAndViewsWithoutSQLitesOwn) {
  RunSql(Db, "CREATE TABLE Log(Id INTEGER PRIMARY KEY AUTOINCREMENT, Text TEXT);"
             "INSERT INTO Log(Text) VALUES('x');"
             "CREATE VIEW Big AS SELECT * FROM Orders WHERE Total > 10;");
  EXPECT_EQ(Table->GetTableNames(), (std::vector<String>{"Big", "Customers", "Log", "Orders"}));
  EXPECT_FALSE(Table->Active());

  std::string Missing = Dir / "gone.db";
  try {
    MakeTable(Missing, "")->GetTableNames();
    FAIL() << "listed a missing database";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find(Missing), String::npos) << E.Message;
  }
  EXPECT_FALSE(std::filesystem::exists(Missing));
  EXPECT_THROW(MakeTable("", "")->GetTableNames(), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, AFifoADeviceOrAFolderIsRefusedBeforeItIsOpened) {
  std::string Fifo = Dir / "pipe.db";
  ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
  for (const std::string& Path : {Fifo, std::string("/dev/zero"), Dir.Path()}) {
    auto* T = MakeTable(Path, "Customers");
    try {
      T->Open();  // a FIFO with no writer would block here for ever
      FAIL() << "opened " << Path;
    } catch (EDatabaseError& E) {
      EXPECT_NE(E.Message.find(Path), String::npos) << E.Message;
    }
    EXPECT_FALSE(T->Active());
  }
}

TEST_F(SQLiteDataSetTest, PropertiesThatNameTheDataCannotChangeWhileOpen) {
  Table->Open();
  EXPECT_THROW(Table->SetTableName("Orders"), EDatabaseError);
  EXPECT_THROW(Table->SetDatabaseName("other.db"), EDatabaseError);
  EXPECT_EQ(Table->TableName(), "Customers");
  Table->Close();
  EXPECT_EQ(Table->FieldCount(), 0);
  Table->SetTableName("Orders");
  Table->Open();
  EXPECT_EQ(Table->FieldCount(), 3);
}

TEST_F(SQLiteDataSetTest, ARelativeDatabaseNameIsTakenFromTheFormsFolder) {
  std::filesystem::create_directories(Dir / "forms/data");
  std::filesystem::copy_file(Db, Dir / "forms/data/shop.db");
  TSQLiteDataSet* T;
  {
    TFormFolderScope Scope(Dir / "forms/Main.dfm");
    EXPECT_EQ(CurrentFormFolder(), Dir / "forms");
    T = MakeTable("data/shop.db", "Orders");
  }
  EXPECT_EQ(CurrentFormFolder(), "");
  EXPECT_EQ(T->DatabaseFile(), Dir / "forms/data/shop.db");
  T->Open();  // the current folder is elsewhere; the form's folder is what counts
  EXPECT_EQ(T->RecordCount(), 3);
  // Made outside any form, a relative name is the current folder's.
  auto* Loose = MakeTable("shop.db", "Orders");
  EXPECT_EQ(Loose->DatabaseFile(), ExpandFileName("shop.db"));
}

class SQLiteFormTest : public SQLiteDataSetTest {
 protected:
  TTestClassesRegistration Classes;
  TDataClassesRegistration DataClasses;

  std::string FormText(const char* DatabaseName) {
    return std::string(
               "object Form1: TTestForm\n"
               "  object Customers: TSQLiteDataSet\n"
               "    Active = True\n"
               "    DatabaseName = '") +
           DatabaseName +
           "'\n"
           "    SQL.Strings = (\n"
           "      'SELECT CustNo, Company'\n"
           "      'FROM Customers')\n"
           "  end\n"
           "  object CustomersSource: TDataSource\n"
           "    DataSet = Customers\n"
           "  end\n"
           "end\n";
  }
};

TEST_F(SQLiteFormTest, ADatasetActiveInItsFormOpensOnceTheFormIsRead) {
  std::string Form = Dir / "Main.dfm";
  WriteWholeFile(Form, FormText("shop.db"));
  TComponent* Root;
  {
    TFormFolderScope Scope(Form);
    Root = ReadComponentFile(Form, nullptr, &Owner);
  }
  auto* Q = dynamic_cast<TSQLiteDataSet*>(Root->FindComponent("Customers"));
  auto* Src = dynamic_cast<TDataSource*>(Root->FindComponent("CustomersSource"));
  ASSERT_TRUE(Q && Src);
  EXPECT_EQ(Src->DataSet(), Q);
  EXPECT_EQ(Src->State(), dsBrowse);
  ASSERT_TRUE(Q->Active());
  EXPECT_EQ(Q->FieldCount(), 2);
  EXPECT_EQ(Q->RecordCount(), 3);
  // Saved again, it is the same form: still active, the same query.
  EXPECT_EQ(ComponentToText(Root), FormText("shop.db"));
}

TEST_F(SQLiteFormTest, AFormWhoseDatabaseIsMissingIsRefusedSayingWhere) {
  std::string Form = Dir / "Broken.dfm";
  WriteWholeFile(Form, FormText("moved-away.db"));
  TFormFolderScope Scope(Form);
  try {
    ReadComponentFile(Form, nullptr, &Owner);
    FAIL() << "the form was read";
  } catch (EReadError& E) {
    EXPECT_EQ(E.FileName, Form);
    EXPECT_EQ(E.Line, 2);
    EXPECT_NE(E.Message.find("Customers: "), String::npos) << E.Message;
    EXPECT_NE(E.Message.find(Dir / "moved-away.db"), String::npos) << E.Message;
  }
  // Nothing of the form is left with the owner (the table made by the fixture is).
  EXPECT_EQ(Owner.ComponentCount(), 1);
}

}  // namespace
