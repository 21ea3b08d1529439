// The IDE's writers when the disk or the system works against them: a full disk, a folder
// without write permission, a process killed halfway through a save, a settings store that
// is damaged, locked by another IDE or unreadable. Each failure says what and where, and no
// file that was there is truncated or lost.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "DesignTestSupport.h"
#include "Faults.h"
#include "FileUtil.h"
#include "Registry.h"
#include "Settings.h"
#include "TempFolder.h"

namespace {

size_t EntriesIn(const std::string& Folder) {
  return size_t(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()));
}

// --- Forms --------------------------------------------------------------------------------

class FormFaultTest : public DesignTest {
 protected:
  TTempFolder Dir;
  String Target = Dir / "Unit1.dfm";
  TDesigner* D = nullptr;
  void SetUp() override {
    D = NewForm();
    for (int I = 0; I < 400; ++I) AddButton("Button" + IntToStr(I))->Caption = String(40, 'c');
    WriteWholeFile(Target, "the developer's form\n");
  }
};

TEST_F(FormFaultTest, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
  {
    TDiskFull Full(4096);
    try {
      D->Save(Target);
      FAIL() << "saved past the end of the disk";
    } catch (EFCreateError& E) {
      EXPECT_NE(E.Message.find(Target), String::npos) << E.Message;
    }
  }
  EXPECT_EQ(ReadWholeFile(Target), "the developer's form\n");
  EXPECT_EQ(EntriesIn(Dir.Path()), 1u);  // no temporary left
}

TEST_F(FormFaultTest, AReadOnlyFolderFailsTheSaveAndKeepsTheOldFile) {
  TReadOnlyFolder ReadOnly(Dir.Path());
  if (!ReadOnly.Effective()) GTEST_SKIP() << TReadOnlyFolder::WhyNot;
  try {
    D->Save(Target);
    FAIL() << "saved into a read-only folder";
  } catch (EFCreateError& E) {
    EXPECT_NE(E.Message.find(Target), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadWholeFile(Target), "the developer's form\n");
  EXPECT_EQ(EntriesIn(Dir.Path()), 1u);
}

// A child saves over and over and is killed at a random moment: the file is always one
// whole text, the old or the new, and what the dead save left is removed by the next.
TEST_F(FormFaultTest, AProcessKilledWhileSavingLeavesTheOldFileWhole) {
  const String Old = ReadWholeFile(Target), New = D->FormText();
  std::mt19937 Random(12345);
  for (int Round = 0; Round < 12; ++Round) {
    WriteWholeFile(Target, Old);
    pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
      for (;;) D->Save(Target);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(Random)));
    kill(Child, SIGKILL);
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    String Now = ReadWholeFile(Target);
    ASSERT_TRUE(Now == Old || Now == New) << "round " << Round << ": " << Now.size() << " bytes";
  }
  RemoveStaleTemporaries(Target);
  EXPECT_EQ(EntriesIn(Dir.Path()), 1u);
}

// --- The settings store -------------------------------------------------------------------

const char* const Key = "Software\\Test\\Property Editors\\Collection Editor";

class SettingsFaultTest : public ::testing::Test {
 protected:
  SettingsFaultTest() { SetSettingsStoreFile(Store); }
  ~SettingsFaultTest() override { SetSettingsStoreFile(""); }
  bool Intact() {
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Store.c_str(), &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, "PRAGMA integrity_check", -1, &S, nullptr);
    bool Ok = sqlite3_step(S) == SQLITE_ROW && std::string(reinterpret_cast<const char*>(sqlite3_column_text(S, 0))) == "ok";
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return Ok;
  }
  TTempFolder Dir;
  std::string Store = Dir / "settings.db";
};

TEST_F(SettingsFaultTest, AFullDiskFailsTheWriteWithTheStoresNameAndKeepsWhatWasThere) {
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("Columns", "Width", 250);
  }
  const auto Size = std::filesystem::file_size(Store);
  {
    TDiskFull Full(Size);
    TRegIniFile Ini(Key);
    try {
      for (int I = 0; I < 50; ++I) Ini.WriteString("Columns", "Big" + IntToStr(I), String(8000, 'x'));
      FAIL() << "wrote past the end of the disk";
    } catch (ERegistryException& E) {
      EXPECT_NE(E.Message.find(Store), String::npos) << E.Message;
    }
  }
  EXPECT_TRUE(Intact());
  TRegIniFile Ini(Key);
  EXPECT_EQ(Ini.ReadInteger("Columns", "Width", -1), 250);
}

// Another IDE holds the store's write lock for a while: this one waits and then writes.
TEST_F(SettingsFaultTest, AStoreLockedByAnotherProcessIsWaitedFor) {
  { TRegIniFile Create(Key); }
  int Ready[2];
  ASSERT_EQ(pipe(Ready), 0);
  pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    sqlite3* Db = nullptr;
    sqlite3_open(Store.c_str(), &Db);
    int Rc = sqlite3_exec(Db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    char C = Rc == SQLITE_OK ? '1' : '0';
    (void)!write(Ready[1], &C, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    _exit(0);
  }
  char C = 0;
  ASSERT_EQ(read(Ready[0], &C, 1), 1);
  ASSERT_EQ(C, '1');
  auto Start = std::chrono::steady_clock::now();
  {
    TRegIniFile Ini(Key);
    Ini.WriteInteger("Columns", "Width", 99);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(300));
  int Status = 0;
  waitpid(Child, &Status, 0);
  close(Ready[0]);
  close(Ready[1]);
  TRegIniFile Ini(Key);
  EXPECT_EQ(Ini.ReadInteger("Columns", "Width", -1), 99);
  EXPECT_TRUE(Intact());
}

// A store damaged on disk (cut short, pages overwritten): every read either gives a value or
// a refusal naming the store, and the IDE never writes over the damage.
TEST_F(SettingsFaultTest, ADamagedStoreIsRefusedWithItsNameAndLeftAsItWas) {
  {
    TRegIniFile Ini(Key);
    for (int I = 0; I < 200; ++I) Ini.WriteString("S" + IntToStr(I % 7), "V" + IntToStr(I), String(100, 'v'));
  }
  const std::string Whole = ReadWholeFile(Store);
  ASSERT_GT(Whole.size(), 8192u);
  const std::vector<std::pair<const char*, std::string>> Damages = {
      {"cut to its header", Whole.substr(0, 100)},
      {"cut mid-page", Whole.substr(0, Whole.size() / 2 + 517)},
      {"second page overwritten", Whole.substr(0, 4096) + std::string(4096, '\xA5') + Whole.substr(8192)},
      {"last page overwritten", Whole.substr(0, Whole.size() - 4096) + std::string(4096, '\0')},
  };
  int Refused = 0;
  for (const auto& [What, Bytes] : Damages) {
    SCOPED_TRACE(What);
    WriteWholeFile(Store, Bytes);
    try {
      TRegIniFile Ini(Key);
      for (int I = 0; I < 200; ++I) Ini.ReadString("S" + IntToStr(I % 7), "V" + IntToStr(I), "");
      TStringList Sections;
      Ini.ReadSections(&Sections);
    } catch (ERegistryException& E) {
      ++Refused;
      EXPECT_NE(E.Message.find(Store), String::npos) << E.Message;
    }
    EXPECT_EQ(ReadWholeFile(Store), Bytes);
  }
  EXPECT_GT(Refused, 0);
}

TEST_F(SettingsFaultTest, AStoreWithoutReadPermissionIsRefused) {
  { TRegIniFile Create(Key); }
  chmod(Store.c_str(), 0);
  if (access(Store.c_str(), R_OK) == 0) {
    chmod(Store.c_str(), 0600);
    GTEST_SKIP() << "running as root, which reads a file without read permission";
  }
  try {
    TRegIniFile Ini(Key);
    Ini.ReadInteger("Columns", "Width", 0);
    ADD_FAILURE() << "read a store without permission";
  } catch (ERegistryException& E) {
    EXPECT_NE(E.Message.find(Store), String::npos) << E.Message;
  }
  chmod(Store.c_str(), 0600);
}

}  // namespace
