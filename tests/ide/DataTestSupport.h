// What the data-access tests share: a database file made by the test, a data link that
// counts what it hears, and the registration of the data classes for form files.
#pragma once

#include <sqlite3.h>

#include <string>

#include "DataAccess.h"
#include "Db.h"

// Runs SQL on a database file, creating it; the test fails loudly if SQLite refuses.
inline void RunSql(const std::string& File, const std::string& Sql) {
  sqlite3* Db = nullptr;
  sqlite3_open(File.c_str(), &Db);
  char* Err = nullptr;
  int Rc = sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, &Err);
  std::string Msg = Err ? Err : "";
  sqlite3_free(Err);
  sqlite3_close(Db);
  if (Rc != SQLITE_OK) throw Exception("test database: " + Msg);
}

class TCountingLink : public TDataLink {
 public:
  int ActiveChanges = 0, DataSetChanges = 0, Scrolls = 0;
  bool WasActive = false;  // Active() as the last ActiveChanged saw it

 protected:
  void ActiveChanged() override {
    ++ActiveChanges;
    WasActive = Active();
  }
  void DataSetChanged() override { ++DataSetChanges; }
  void DataSetScrolled() override { ++Scrolls; }
};

struct TDataClassesRegistration {
  TDataClassesRegistration() { RegisterDataClasses(); }
  ~TDataClassesRegistration() { UnRegisterDataClasses(); }
};
