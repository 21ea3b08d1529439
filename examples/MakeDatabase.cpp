// Makes an SQLite database from SQL files, whole or not at all: the statements run in
// one transaction into a temporary file that replaces the target only when all went well.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int Argc, char** Argv) {
  if (Argc < 3) {
    std::fprintf(stderr, "usage: %s DATABASE SQLFILE...\n", Argv[0]);
    return 2;
  }
  std::string Target = Argv[1], Temp = Target + ".tmp";
  std::remove(Temp.c_str());
  sqlite3* Db = nullptr;
  if (sqlite3_open(Temp.c_str(), &Db) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", Temp.c_str(), sqlite3_errmsg(Db));
    sqlite3_close(Db);
    return 1;
  }
  std::string Sql = "BEGIN;";
  for (int I = 2; I < Argc; ++I) {
    std::ifstream In(Argv[I]);
    if (!In) {
      std::fprintf(stderr, "%s: cannot read\n", Argv[I]);
      sqlite3_close(Db);
      std::remove(Temp.c_str());
      return 1;
    }
    std::stringstream S;
    S << In.rdbuf();
    Sql += S.str() + "\n";
  }
  Sql += "COMMIT;";
  char* Error = nullptr;
  if (sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, &Error) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", Target.c_str(), Error ? Error : "failed");
    sqlite3_free(Error);
    sqlite3_close(Db);
    std::remove(Temp.c_str());
    return 1;
  }
  sqlite3_close(Db);
  if (std::rename(Temp.c_str(), Target.c_str()) != 0) {
    std::perror(Target.c_str());
    return 1;
  }
  return 0;
}
