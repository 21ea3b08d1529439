// The per-user settings store behind TRegIniFile.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "Registry.h"
#include "Settings.h"
#include "TempFolder.h"

namespace {

const char* const Key = "Software\\Test\\Property Editors\\Collection Editor";

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() { SetSettingsStoreFile(Store); }
  ~RegistryTest() override { SetSettingsStoreFile(""); }

  // What the store holds for a value, read past TRegIniFile as another tool would.
  std::string Raw(const std::string& KeyPath, const std::string& Name) {
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Store.c_str(), &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, "SELECT data FROM vals WHERE key = ?1 AND name = ?2", -1, &S, nullptr);
    sqlite3_bind_text(S, 1, KeyPath.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(S, 2, Name.c_str(), -1, SQLITE_TRANSIENT);
    std::string Out = "<missing>";
    if (sqlite3_step(S) == SQLITE_ROW)
      Out = reinterpret_cast<const char*>(sqlite3_column_text(S, 0));
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return Out;
  }

  // Transactions that changed the store: SQLite counts them in the file's header.
  unsigned Commits() {
    std::string Bytes = ReadWholeFile(Store);
    if (Bytes.size() < 28) return 0;
    unsigned N = 0;
    for (int I = 24; I < 28; ++I) N = N << 8 | static_cast<unsigned char>(Bytes[size_t(I)]);
    return N;
  }

  // Makes the store refuse to write the value Name, as a full disk would midway.
  void RefuseWriting(const std::string& Name) {
    sqlite3* Db = nullptr;
    sqlite3_open(Store.c_str(), &Db);
    std::string Sql = "CREATE TRIGGER refuse BEFORE INSERT ON vals WHEN NEW.name = '" + Name +
                      "' BEGIN SELECT RAISE(ABORT, 'disk full'); END";
    ASSERT_EQ(sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(Db);
  }

  TTempFolder Dir;
  std::string Store = Dir / "settings.db";
};

// A window's settings go to the store together: one sync of the disk, and a write that
// fails midway leaves every value as it was before.
TEST_F(RegistryTest, AnUpdateIsOneTransactionWholeOrNotAtAll) {
  std::string Section = std::string(Key) + "\\S";
  TRegIniFile Ini(Key);
  Ini.WriteInteger("S", "Height", 300);
  unsigned Before = Commits();
  Ini.BeginUpdate();
  Ini.WriteInteger("S", "Height", 310);
  Ini.BeginUpdate();  // nested: only the outer end commits
  Ini.WriteInteger("S", "Width", 410);
  Ini.EndUpdate();
  Ini.WriteBool("S", "Toolbar", false);
  EXPECT_EQ(Ini.ReadInteger("S", "Width", 0), 410);  // the key reads its own writes
  EXPECT_EQ(Commits(), Before);
  Ini.EndUpdate();
  EXPECT_EQ(Commits(), Before + 1);
  EXPECT_EQ(Raw(Section, "Height"), "310");
  EXPECT_EQ(Raw(Section, "Width"), "410");
  EXPECT_EQ(Raw(Section, "Toolbar"), "0");

  RefuseWriting("Toolbar");
  Before = Commits();
  Ini.BeginUpdate();
  Ini.WriteInteger("S", "Height", 320);
  EXPECT_THROW(Ini.WriteBool("S", "Toolbar", true), ERegistryException);
  EXPECT_THROW(Ini.WriteInteger("S", "Width", 420), ERegistryException);
  Ini.EndUpdate();
  EXPECT_EQ(Commits(), Before);
  EXPECT_EQ(Raw(Section, "Height"), "310");
  EXPECT_EQ(Raw(Section, "Width"), "410");
  // The next update starts afresh.
  Ini.WriteInteger("S", "Width", 430);
  EXPECT_EQ(Raw(Section, "Width"), "430");
}

TEST_F(RegistryTest, AKeyThatGoesInsideItsUpdateLeavesTheStoreAsItWas) {
  std::string Section = std::string(Key) + "\\S";
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("S", "Height", 300);
  }
  {
    TRegIniFile Ini(Key);
    Ini.BeginUpdate();
    Ini.WriteInteger("S", "Height", 310);
  }
  EXPECT_EQ(Raw(Section, "Height"), "300");
  TRegIniFile Ini(Key);
  Ini.WriteInteger("S", "Height", 320);  // the connection the key kept is usable again
  EXPECT_EQ(Raw(Section, "Height"), "320");
}

TEST_F(RegistryTest, ValuesAreStoredAsThePlatformStoresThem) {
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("TDBGridColumns", "Height", 232);
    Ini.WriteInteger("TDBGridColumns", "Column0", -17);
    Ini.WriteBool("TDBGridColumns", "LargeButtons", true);
    Ini.WriteBool("TDBGridColumns", "Toolbar", false);
    Ini.WriteString("TDBGridColumns", "Note", "text");
  }
  std::string Section = std::string(Key) + "\\TDBGridColumns";
  EXPECT_EQ(Raw(Section, "Height"), "232");
  EXPECT_EQ(Raw(Section, "Column0"), "-17");
  EXPECT_EQ(Raw(Section, "LargeButtons"), "1");
  EXPECT_EQ(Raw(Section, "Toolbar"), "0");

  TRegIniFile Again(Key);  // a later session reads what the last one wrote
  EXPECT_EQ(Again.ReadInteger("TDBGridColumns", "Height", 0), 232);
  EXPECT_EQ(Again.ReadInteger("tdbgridcolumns", "COLUMN0", 0), -17);  // names ignore case
  EXPECT_TRUE(Again.ReadBool("TDBGridColumns", "LargeButtons", false));
  EXPECT_FALSE(Again.ReadBool("TDBGridColumns", "Toolbar", true));
  EXPECT_EQ(Again.ReadString("TDBGridColumns", "Note", ""), "text");
}

TEST_F(RegistryTest, MissingAndNonNumericValuesGiveTheDefault) {
  TRegIniFile Ini(Key);
  EXPECT_EQ(Ini.ReadInteger("TDBGridColumns", "Width", 272), 272);
  EXPECT_TRUE(Ini.ReadBool("TDBGridColumns", "Toolbar", true));
  EXPECT_FALSE(Ini.ReadBool("Nowhere", "Toolbar", false));
  for (const char* Junk : {"", "wide", "12px", " 12", "0x10", "$10", "99999999999", "-"}) {
    Ini.WriteString("S", "V", Junk);
    EXPECT_EQ(Ini.ReadInteger("S", "V", 7), 7) << "'" << Junk << "'";
    EXPECT_TRUE(Ini.ReadBool("S", "V", true)) << "'" << Junk << "'";
  }
  // Any number that is not zero reads as true, as the platform reads Booleans back.
  Ini.WriteString("S", "V", "2");
  EXPECT_TRUE(Ini.ReadBool("S", "V", false));
  Ini.WriteString("S", "V", "-1");
  EXPECT_TRUE(Ini.ReadBool("S", "V", false));
  Ini.WriteString("S", "V", "0");
  EXPECT_FALSE(Ini.ReadBool("S", "V", true));
}

TEST_F(RegistryTest, OpeningCreatesTheKeyAndTheStoreFolders) {
  std::string Deep = Dir / "a/b/settings.db";
  SetSettingsStoreFile(Deep);
  { TRegIniFile Ini("Software\\\\Test\\Empty\\"); }
  ASSERT_TRUE(std::filesystem::exists(Deep));
  TRegIniFile Parent("Software\\Test");
  TStringList Sections;
  Parent.ReadSections(&Sections);
  EXPECT_EQ(Sections.CommaText(), "Empty");
  TRegIniFile Ini("Software\\Test\\Empty");
  EXPECT_EQ(Ini.FileName(), "Software\\Test\\Empty");
}

TEST_F(RegistryTest, SectionsCanBeListedAndErased) {
  TRegIniFile Ini(Key);
  Ini.WriteInteger("TDBGridColumns", "Height", 1);
  Ini.WriteInteger("TDBGridColumns", "Width", 2);
  Ini.WriteInteger("TDBGridColumns\\Deeper", "X", 3);
  Ini.WriteInteger("Other", "Y", 4);
  TStringList L;
  Ini.ReadSections(&L);
  EXPECT_EQ(L.CommaText(), "Other,TDBGridColumns");
  Ini.ReadSection("TDBGridColumns", &L);
  EXPECT_EQ(L.CommaText(), "Height,Width");
  Ini.DeleteKey("TDBGridColumns", "Width");
  EXPECT_FALSE(Ini.ValueExists("TDBGridColumns", "Width"));

  Ini.EraseSection("tdbgridcolumns");
  Ini.ReadSections(&L);
  EXPECT_EQ(L.CommaText(), "Other");
  EXPECT_EQ(Ini.ReadInteger("TDBGridColumns\\Deeper", "X", -1), -1);
  EXPECT_EQ(Ini.ReadInteger("Other", "Y", -1), 4);
}

TEST_F(RegistryTest, TwoConnectionsWritingKeepBothValues) {
  TRegIniFile A(Key), B(Key);
  A.WriteInteger("S", "Height", 300);
  B.WriteInteger("S", "Width", 400);
  A.WriteBool("S", "Toolbar", false);
  EXPECT_EQ(B.ReadInteger("S", "Height", 0), 300);
  EXPECT_EQ(A.ReadInteger("S", "Width", 0), 400);
  EXPECT_FALSE(B.ReadBool("S", "Toolbar", true));
}

// The IDE keeps its store open between keys; what replaces the file on disk is what the
// next key reads and writes, and a foreign file in its place is still refused.
TEST_F(RegistryTest, AStoreReplacedOnDiskIsOpenedAnew) {
  std::string Section = std::string(Key) + "\\S";
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("S", "Height", 300);
  }
  std::filesystem::remove(Store);
  {
    TRegIniFile Ini(Key);
    EXPECT_EQ(Ini.ReadInteger("S", "Height", 0), 0);
    Ini.WriteInteger("S", "Width", 5);
  }
  EXPECT_EQ(Raw(Section, "Width"), "5");
  std::filesystem::remove(Store);
  WriteWholeFile(Store, "not a database");
  EXPECT_THROW(TRegIniFile Ini(Key), ERegistryException);
  EXPECT_EQ(ReadWholeFile(Store), "not a database");
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceKeepEveryValue) {
  { TRegIniFile Create(Key); }
  const int PerProcess = 150;
  pid_t Children[2];
  for (int P = 0; P < 2; ++P) {
    Children[P] = fork();
    ASSERT_GE(Children[P], 0);
    if (Children[P] == 0) {
      int Status = 0;
      try {
        TRegIniFile Ini(Key);
        for (int I = 0; I < PerProcess; ++I)
          Ini.WriteInteger("P" + IntToStr(P), "V" + IntToStr(I), P * 1000 + I);
      } catch (...) {
        Status = 1;
      }
      _exit(Status);
    }
  }
  for (pid_t C : Children) {
    int Status = -1;
    ASSERT_EQ(waitpid(C, &Status, 0), C);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
  }
  TRegIniFile Ini(Key);
  for (int P = 0; P < 2; ++P) {
    TStringList Names;
    Ini.ReadSection("P" + IntToStr(P), &Names);
    EXPECT_EQ(Names.Count(), PerProcess);
    for (int I = 0; I < PerProcess; ++I)
      ASSERT_EQ(Ini.ReadInteger("P" + IntToStr(P), "V" + IntToStr(I), -1), P * 1000 + I);
  }
}

// The open refuses the store with a message naming it and saying why; the file stays.
TEST_F(RegistryTest, AFileThatIsNotADatabaseIsRefusedAndLeftAsItWas) {
  const std::string Text = "[Collection Editor]\nHeight=232\n" + std::string(4096, 'x');
  WriteWholeFile(Store, Text);
  try {
    TRegIniFile Ini(Key);
    FAIL() << "opened a text file as a settings store";
  } catch (ERegistryException& E) {
    EXPECT_NE(E.Message.find(Store), String::npos) << E.Message;
    EXPECT_NE(E.Message.find("file is not a database"), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadWholeFile(Store), Text);
  EXPECT_FALSE(std::filesystem::exists(Store + "-journal"));
}

TEST_F(RegistryTest, AnotherProgramsDatabaseIsRefusedAndLeftAsItWas) {
  sqlite3* Db = nullptr;
  sqlite3_open(Store.c_str(), &Db);
  sqlite3_exec(Db, "CREATE TABLE orders(id INTEGER)", nullptr, nullptr, nullptr);
  sqlite3_close(Db);
  std::string Before = ReadWholeFile(Store);
  EXPECT_THROW(TRegIniFile Ini(Key), ERegistryException);
  EXPECT_EQ(ReadWholeFile(Store), Before);
}

TEST_F(RegistryTest, AnUnreadableStoreIsRefused) {
  std::filesystem::create_directory(Store);  // a folder where the file should be
  try {
    TRegIniFile Ini(Key);
    FAIL() << "opened a folder as a settings store";
  } catch (ERegistryException& E) {
    EXPECT_NE(E.Message.find(Store), String::npos) << E.Message;
  }
  // A path through a plain file cannot hold a store either.
  WriteWholeFile(Dir / "plain", "x");
  SetSettingsStoreFile(Dir / "plain/settings.db");
  EXPECT_THROW(TRegIniFile Ini(Key), ERegistryException);
  EXPECT_EQ(ReadWholeFile(Dir / "plain"), "x");
}

TEST_F(RegistryTest, TheStoreIsFoundByOptionThenEnvironmentThenConfigFolder) {
  SetSettingsStoreFile("");
  TEnvVar Env("OMIDE_SETTINGS", (Dir / "env.db").c_str());
  EXPECT_EQ(SettingsStoreFile(), Dir / "env.db");
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("S", "From", 1);
  }
  EXPECT_TRUE(std::filesystem::exists(Dir / "env.db"));

  SetSettingsStoreFile(Dir / "option.db");  // the command line wins over the environment
  EXPECT_EQ(SettingsStoreFile(), Dir / "option.db");
  SetSettingsStoreFile("");

  TEnvVar NoEnv("OMIDE_SETTINGS", nullptr);
  TEnvVar Xdg("XDG_CONFIG_HOME", Dir.Path().c_str());
  EXPECT_EQ(SettingsStoreFile(), Dir / "omide/settings.db");
  TEnvVar RelativeXdg("XDG_CONFIG_HOME", "relative/config");
  TEnvVar Home("HOME", (Dir / "home").c_str());
  EXPECT_EQ(SettingsStoreFile(), Dir / "home/.config/omide/settings.db");
}

TEST(RegistryKeyTest, TheBaseKeyIsTheReleasesOwn) {
  EXPECT_EQ(IDEBaseRegistryKey(), OM_HOST_RELEASE == 5 ? "Software\\Borland\\C++Builder\\5.0"
                                                       : "Software\\Borland\\C++Builder\\6.0");
}

}  // namespace
