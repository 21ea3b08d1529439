#include "SQLiteUtil.h"

TSQLiteStatement::TSQLiteStatement(sqlite3* Db, const String& Sql) : FDb(Db) {
  const char* Tail = nullptr;
  if (sqlite3_prepare_v2(Db, Sql.c_str(), int(Sql.size()), &FStmt, &Tail) != SQLITE_OK) {
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    throw Exception(sqlite3_errmsg(Db));
  }
  if (Tail) FTail = Tail;
}

void TSQLiteStatement::Bind(int Index, const String& Value) {
  if (sqlite3_bind_text(FStmt, Index, Value.data(), int(Value.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    throw Exception(sqlite3_errmsg(FDb));
}

bool TSQLiteStatement::Step() {
  int Rc = sqlite3_step(FStmt);
  if (Rc == SQLITE_ROW) return true;
  if (Rc == SQLITE_DONE) return false;
  throw Exception(sqlite3_errmsg(FDb));
}

String TSQLiteStatement::Text(int Column) const {
  const auto* P = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Column));
  return P ? String(P, std::size_t(sqlite3_column_bytes(FStmt, Column))) : String();
}

void SQLiteExec(sqlite3* Db, const char* Sql) {
  char* Err = nullptr;
  if (sqlite3_exec(Db, Sql, nullptr, nullptr, &Err) != SQLITE_OK) {
    String Msg = Err ? Err : sqlite3_errmsg(Db);
    sqlite3_free(Err);
    throw Exception(Msg);
  }
}
