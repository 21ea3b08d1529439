#include "Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <pwd.h>
#include <cerrno>
#include <cstdlib>

#include "SQLiteUtil.h"
#include "Settings.h"

namespace {

// Marks a database as this IDE's settings store, so that a store option pointing at some
// other database refuses it instead of adding tables to it.
constexpr int StoreApplicationId = 0x4F4D5331;  // "OMS1"

// The store's writer lock, held by this process while any key that has written lives:
// what one key writes (a window's settings as it closes) is never mixed with what another
// IDE writes meanwhile. Each write stays a transaction of its own, so a failure is told at
// the write that failed. An advisory lock on a file beside the store (never on the store
// itself, whose POSIX locks SQLite keeps and any close of it would drop).
struct TWriterLock {
  String File;
  int Fd = -1;
  int Holders = 0;
};

TWriterLock& WriterLock() {
  static TWriterLock Lock;
  return Lock;
}

// Made on first use, like every other state of the host: loading the library runs no code.
String& StoreOverride() {
  static String Value;
  return Value;
}

String HomeFolder() {
  if (const char* Home = std::getenv("HOME"); Home && *Home) return Home;
  if (const passwd* Pw = getpwuid(getuid()); Pw && Pw->pw_dir) return Pw->pw_dir;
  return ".";
}

// "a\\b\\\\c\\" -> "a\\b\\c": the registry ignores empty parts and outer separators.
String NormalizeKey(const String& Path) {
  String Out;
  std::size_t I = 0;
  while (I < Path.size()) {
    std::size_t J = Path.find('\\', I);
    if (J == String::npos) J = Path.size();
    if (J > I) {
      if (!Out.empty()) Out += '\\';
      Out.append(Path, I, J - I);
    }
    I = J + 1;
  }
  return Out;
}

// Creates the folders of a path that are missing; the settings folder is the user's alone.
void MakeFolders(const String& Dir) {
  if (Dir.empty() || DirectoryExists(Dir)) return;
  MakeFolders(ExtractFileDir(Dir));
  if (mkdir(Dir.c_str(), 0700) != 0 && errno != EEXIST)
    throw ERegistryException(
        Format("Cannot create the settings folder \"%s\": %s", {Dir, SysErrorMessage(errno)}));
}

// The store last opened, kept for the next key of the same file: opening and checking a
// store costs more than all a window reads from it. A key holds its connection, so
// keeping another store never closes one still in use.
struct TKeptStore {
  String File;
  dev_t Dev = 0;
  ino_t Ino = 0;
  std::shared_ptr<sqlite3> Connection;
};

TKeptStore& KeptStore() {
  static TKeptStore Kept;
  return Kept;
}

}  // namespace

String IDEBaseRegistryKey() {
#if OM_HOST_RELEASE == 5
  return "Software\\Borland\\C++Builder\\5.0";
#else
  return "Software\\Borland\\C++Builder\\6.0";
#endif
}

void SetSettingsStoreFile(const String& FileName) { StoreOverride() = FileName; }

String SettingsStoreFile() {
  if (!StoreOverride().empty()) return ExpandFileName(StoreOverride());
  if (const char* Env = std::getenv("OMIDE_SETTINGS"); Env && *Env) return ExpandFileName(Env);
  String Config;
  // A relative $XDG_CONFIG_HOME is ignored, as the desktop's other programs ignore it.
  if (const char* Xdg = std::getenv("XDG_CONFIG_HOME"); Xdg && Xdg[0] == '/')
    Config = Xdg;
  else
    Config = HomeFolder() + "/.config";
  return Config + "/omide/settings.db";
}

// --- TRegIniFile ------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(ERegistryException, "Registry");
OM_IMPLEMENT_CLASS(TRegIniFile, "Registry");

TRegIniFile::TRegIniFile(const String& FileName)
    : FFileName(NormalizeKey(FileName)), FStore(SettingsStoreFile()) {
  MakeFolders(ExtractFileDir(FStore));
  if (DirectoryExists(FStore)) Fail("it is a folder");
  // The kept connection serves only while its file is still the one at that path.
  TKeptStore& Kept = KeptStore();
  struct stat Now {};
  if (Kept.Connection && Kept.File == FStore && stat(FStore.c_str(), &Now) == 0 &&
      Now.st_dev == Kept.Dev && Now.st_ino == Kept.Ino) {
    FConnection = Kept.Connection;
    FDb = FConnection.get();
  } else {
    Open();
    if (stat(FStore.c_str(), &Now) == 0) Kept = {FStore, Now.st_dev, Now.st_ino, FConnection};
  }
  // Opening a key creates it; a store that is read-only still opens a key it has. A store
  // damaged on disk fails here first, and says which store it is.
  bool Has = false;
  try {
    TSQLiteStatement S(FDb, "SELECT 1 FROM keys WHERE path = ?1");
    S.Bind(1, FFileName);
    Has = S.Step();
  } catch (Exception& E) {
    Fail("cannot read the key: " + E.Message);
  }
  if (!Has) WriteTransaction("create the key", [] {});
}

void TRegIniFile::Open() {
  int Rc =
      sqlite3_open_v2(FStore.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  FConnection.reset(FDb, sqlite3_close);  // closed with the key, even when refused
  if (Rc != SQLITE_OK) Fail(FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(Rc));
  // Another IDE may be writing: wait for it rather than fail.
  sqlite3_busy_timeout(FDb, 10000);

  // Only reads until the store is known to be ours: a file that is not a database, or
  // another program's database, is left exactly as it was.
  auto ApplicationId = [this] {
    TSQLiteStatement S(FDb, "PRAGMA application_id");
    S.Step();
    return sqlite3_column_int(S.Get(), 0);
  };
  auto IsEmpty = [this] {
    TSQLiteStatement S(FDb, "SELECT count(*) FROM sqlite_master");
    S.Step();
    return sqlite3_column_int(S.Get(), 0) == 0;
  };
  int Id;
  bool Empty = false;
  try {
    Id = ApplicationId();
    if (Id == 0) {
      Empty = IsEmpty();
      // Another IDE may have made the store between the two looks (its tables and its
      // id come in one transaction): look at the id again before refusing.
      if (!Empty) Id = ApplicationId();
    }
  } catch (Exception& E) {
    Fail(E.Message);
  }
  if (Id == StoreApplicationId) return;
  if (Id != 0 || !Empty) Fail("it is not a settings store of this IDE");
  WriteTransaction("create the settings store", [&] {
    // Another IDE may have created it while this one waited for the lock.
    if (ApplicationId() == StoreApplicationId) return;
    if (!IsEmpty()) Fail("it is not a settings store of this IDE");
    SQLiteExec(FDb,
               "CREATE TABLE keys(path TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;"
               "CREATE TABLE vals(key TEXT NOT NULL COLLATE NOCASE,"
               " name TEXT NOT NULL COLLATE NOCASE, data TEXT NOT NULL,"
               " PRIMARY KEY(key, name)) WITHOUT ROWID;");
    SQLiteExec(FDb, ("PRAGMA application_id = " + IntToStr(StoreApplicationId)).c_str());
  });
}

// A key that goes inside its update (a write failed, or the code between raised) leaves
// the store as it was before the update; then it lets go of the writer lock.
TRegIniFile::~TRegIniFile() {
  if (FOwnsTransaction) sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
  TWriterLock& Lock = WriterLock();
  if (FWriter && --Lock.Holders == 0 && Lock.Fd >= 0) {
    close(Lock.Fd);  // releases the lock
    Lock.Fd = -1;
  }
}

void TRegIniFile::Fail(const String& What) const {
  throw ERegistryException(Format("Settings store \"%s\" (key %s): %s", {FStore, FFileName, What}));
}

String TRegIniFile::SectionPath(const String& Section) const {
  String S = NormalizeKey(Section);
  if (S.empty()) return FFileName;
  if (FFileName.empty()) return S;
  return FFileName + "\\" + S;
}

// The list gets the names only once all were read: a failed read leaves it as it was.
static void FillStrings(TStrings* Strings, const std::vector<String>& Names) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const String& N : Names) Strings->Add(N);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

// Inserts a key with every ancestor it lacks; inside a write transaction.
static void EnsureKey(sqlite3* Db, const String& Path) {
  TSQLiteStatement Key(Db, "INSERT OR IGNORE INTO keys(path) VALUES(?1)");
  for (std::size_t Sep = 0; !Path.empty(); ++Sep) {
    Sep = Path.find('\\', Sep);
    sqlite3_reset(Key.Get());
    Key.Bind(1, Path.substr(0, Sep));
    Key.Step();
    if (Sep == String::npos) break;
  }
}

// One write, whole or not at all; inside an update, the update whole or not at all. The
// opened key is made again if another IDE erased it meanwhile: this one still holds it
// open. A transaction already open on the connection (another key's update) is joined
// through a savepoint, so this write alone is undone when it fails.
template <class F>
void TRegIniFile::WriteTransaction(const char* What, F&& Body) {
  if (FUpdateCount > 0 && FUpdateFailed)
    Fail(Format("cannot %s: an earlier write of the same update failed", {String(What)}));
  TWriterLock& Lock = WriterLock();
  if (!FWriter && Lock.Holders == 0) {
    // Where the lock file cannot be made (a read-only folder) the write goes on unlocked
    // and fails, if at all, as SQLite says.
    int Fd = open((FStore + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Fd >= 0) {
      // As long as SQLite waits for its own lock.
      auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (flock(Fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > Until) {
          close(Fd);
          Fail(Format("cannot %s: another IDE keeps writing the store", {String(What)}));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      Lock.Fd = Fd;
    }
    Lock.File = FStore;
  }
  // A key of another store while this one's lock is held writes unlocked.
  if (!FWriter && Lock.File == FStore) {
    FWriter = true;
    ++Lock.Holders;
  }
  bool Joined = sqlite3_get_autocommit(FDb) == 0;
  try {
    SQLiteExec(FDb, Joined ? "SAVEPOINT om_write" : "BEGIN IMMEDIATE");
  } catch (Exception& E) {
    Fail(Format("cannot %s: %s", {String(What), E.Message}));
  }
  if (!Joined && FUpdateCount > 0) FOwnsTransaction = true;
  auto Undo = [&] {
    if (FOwnsTransaction || !Joined) {
      sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
      FOwnsTransaction = false;
    } else {
      sqlite3_exec(FDb, "ROLLBACK TO om_write; RELEASE om_write", nullptr, nullptr, nullptr);
    }
    if (FUpdateCount > 0) FUpdateFailed = true;
  };
  try {
    Body();
    EnsureKey(FDb, FFileName);
    if (Joined)
      SQLiteExec(FDb, "RELEASE om_write");
    else if (!FOwnsTransaction)
      SQLiteExec(FDb, "COMMIT");
  } catch (ERegistryException&) {
    Undo();
    throw;
  } catch (Exception& E) {
    Undo();
    Fail(Format("cannot %s: %s", {String(What), E.Message}));
  }
}

void TRegIniFile::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  FUpdateFailed = false;
  if (!FOwnsTransaction) return;
  FOwnsTransaction = false;
  try {
    SQLiteExec(FDb, "COMMIT");
  } catch (Exception& E) {
    sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    Fail(Format("cannot write the update: %s", {E.Message}));
  }
}

// A read that fails (the store locked past the timeout, a disk error) says so in the
// registry's terms.
template <class F>
auto TRegIniFile::Reading(const char* What, F&& Body) {
  try {
    return Body();
  } catch (ERegistryException&) {
    throw;
  } catch (Exception& E) {
    Fail(Format("cannot read %s: %s", {String(What), E.Message}));
  }
}

String TRegIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  return Reading("a value", [&] {
    TSQLiteStatement S(FDb, "SELECT data FROM vals WHERE key = ?1 AND name = ?2");
    S.Bind(1, SectionPath(Section));
    S.Bind(2, Ident);
    return S.Step() ? S.Text(0) : Default;
  });
}

int TRegIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
  int Value;
  String S = ReadString(Section, Ident, "");
  // Only plain decimal text is a number here; anything else is as good as missing.
  bool Decimal = !S.empty();
  for (std::size_t I = 0; I < S.size(); ++I)
    if (!(S[I] >= '0' && S[I] <= '9') && !(I == 0 && S[I] == '-' && S.size() > 1)) Decimal = false;
  return Decimal && TryStrToInt(S, Value) ? Value : Default;
}

bool TRegIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  String Key = SectionPath(Section);
  WriteTransaction("write a value", [&] {
    EnsureKey(FDb, Key);
    TSQLiteStatement S(FDb, "INSERT OR REPLACE INTO vals(key, name, data) VALUES(?1, ?2, ?3)");
    S.Bind(1, Key);
    S.Bind(2, Ident);
    S.Bind(3, Value);
    S.Step();
  });
}

void TRegIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TRegIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

bool TRegIniFile::ValueExists(const String& Section, const String& Ident) {
  return Reading("a value", [&] {
    TSQLiteStatement S(FDb, "SELECT 1 FROM vals WHERE key = ?1 AND name = ?2");
    S.Bind(1, SectionPath(Section));
    S.Bind(2, Ident);
    return S.Step();
  });
}

void TRegIniFile::DeleteKey(const String& Section, const String& Ident) {
  WriteTransaction("delete a value", [&] {
    TSQLiteStatement S(FDb, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    S.Bind(1, SectionPath(Section));
    S.Bind(2, Ident);
    S.Step();
  });
}

void TRegIniFile::EraseSection(const String& Section) {
  String Key = SectionPath(Section);
  WriteTransaction("erase a section", [&] {
    for (const char* Sql :
         {"DELETE FROM vals WHERE key = ?1 OR substr(key, 1, length(?1) + 1) = ?1 || '\\' "
          "COLLATE NOCASE",
          "DELETE FROM keys WHERE path = ?1 OR substr(path, 1, length(?1) + 1) = ?1 || '\\' "
          "COLLATE NOCASE"}) {
      TSQLiteStatement S(FDb, Sql);
      S.Bind(1, Key);
      S.Step();
    }
  });
}

void TRegIniFile::ReadSections(TStrings* Strings) {
  std::vector<String> Names = Reading("the sections", [&] {
    std::vector<String> Out;
    String Prefix = FFileName.empty() ? String() : FFileName + "\\";
    TSQLiteStatement S(FDb,
                       "SELECT path FROM keys WHERE substr(path, 1, length(?1)) = ?1 "
                       "COLLATE NOCASE AND length(path) > length(?1) ORDER BY path");
    S.Bind(1, Prefix);
    while (S.Step()) {
      String Sub = S.Text(0).substr(Prefix.size());
      if (Sub.find('\\') == String::npos) Out.push_back(Sub);
    }
    return Out;
  });
  FillStrings(Strings, Names);
}

void TRegIniFile::ReadSection(const String& Section, TStrings* Strings) {
  std::vector<String> Names = Reading("a section", [&] {
    std::vector<String> Out;
    TSQLiteStatement S(FDb, "SELECT name FROM vals WHERE key = ?1 ORDER BY name");
    S.Bind(1, SectionPath(Section));
    while (S.Step()) Out.push_back(S.Text(0));
    return Out;
  });
  FillStrings(Strings, Names);
}
