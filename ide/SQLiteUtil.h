// Small owners of SQLite handles for the settings store and the datasets.
#pragma once

#include <sqlite3.h>

#include "System.h"

// A prepared statement, finalized when it goes.
class TSQLiteStatement {
 public:
  TSQLiteStatement() = default;
  TSQLiteStatement(sqlite3* Db, const String& Sql);  // raises Exception with SQLite's text
  ~TSQLiteStatement() { sqlite3_finalize(FStmt); }
  TSQLiteStatement(const TSQLiteStatement&) = delete;
  TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

  sqlite3_stmt* Get() const noexcept { return FStmt; }
  void Bind(int Index, const String& Value);
  // True while there is a row; raises Exception with SQLite's text on error.
  bool Step();
  String Text(int Column) const;
  // The text after the first statement.
  const String& Tail() const noexcept { return FTail; }

 private:
  sqlite3* FDb = nullptr;
  sqlite3_stmt* FStmt = nullptr;
  String FTail;
};

// Runs statements that return no rows; raises Exception with SQLite's text.
void SQLiteExec(sqlite3* Db, const char* Sql);
