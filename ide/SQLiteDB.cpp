#include "SQLiteDB.h"

#include <sys/stat.h>

#include <functional>

#include <climits>
#include <memory>

#include "DataAccess.h"
#include "SQLiteUtil.h"

template <>
struct TPublished<TSQLiteDataSet> {
  static constexpr TPropInfo Props[] = {
      Property<&TSQLiteDataSet::DatabaseName, &TSQLiteDataSet::SetDatabaseName>("DatabaseName"),
      Property<&TSQLiteDataSet::TableName, &TSQLiteDataSet::SetTableName>("TableName"),
      Property<&TSQLiteDataSet::SQL, &TSQLiteDataSet::SetSQL>("SQL"),
  };
};
OM_IMPLEMENT_CLASS(TSQLiteDataSet, "SQLiteDB");

namespace {

struct TCloseDb {
  void operator()(sqlite3* Db) const { sqlite3_close(Db); }
};

String QuoteIdent(const String& Name) { return "\"" + StringReplaceAll(Name, "\"", "\"\"") + "\""; }

// The database, read-only: a dataset at design time never changes it, and a missing file
// is reported, not created. Fail raises the dataset's error.
std::unique_ptr<sqlite3, TCloseDb> OpenDatabase(const String& File,
                                                const std::function<void(const String&)>& Fail) {
  auto CannotOpen = [&](const String& Why) {
    Fail(Format("Cannot open database \"%s\": %s", {File, Why}));
  };
  // Opening a FIFO or a device would wait for a writer forever, or read what is no file.
  if (struct stat St; stat(File.c_str(), &St) == 0 && !S_ISREG(St.st_mode))
    CannotOpen(S_ISDIR(St.st_mode) ? "it is a folder" : "it is not a regular file");
  sqlite3* Raw = nullptr;
  int Rc = sqlite3_open_v2(File.c_str(), &Raw, SQLITE_OPEN_READONLY, nullptr);
  std::unique_ptr<sqlite3, TCloseDb> Db(Raw);
  if (Rc != SQLITE_OK) CannotOpen(Raw ? sqlite3_errmsg(Raw) : sqlite3_errstr(Rc));
  sqlite3_busy_timeout(Raw, 5000);
  try {
    TSQLiteStatement Check(Raw, "PRAGMA schema_version");
    Check.Step();
  } catch (Exception& E) {
    CannotOpen(E.Message);
  }

  return Db;
}

bool Has(const String& S, const char* Part) { return S.find(Part) != String::npos; }

// The declared length of a text column, "VARCHAR(30)" -> 30; 0 when none.
int DeclaredLength(const String& Decl) {
  std::size_t Open = Decl.find('(');
  if (Open == String::npos) return 0;
  int N = 0;
  for (std::size_t I = Open + 1; I < Decl.size() && Decl[I] >= '0' && Decl[I] <= '9'; ++I)
    N = N > 100000 ? N : N * 10 + (Decl[I] - '0');
  return N;
}

// The kind of field for a column, from its declared type as SQLite reads one (by the
// words in it), or from the values when it has none (an expression in a query).
TFieldType ColumnType(const String& Declared, const std::vector<std::vector<TFieldValue>>& Rows,
                      std::size_t Column, int& Size) {
  String D = UpperCase(Declared);
  Size = 0;
  bool AllInt32 = true;
  int Storage = 0;  // 1 integer, 2 float, 3 text
  for (const auto& Row : Rows) {
    const TFieldValue& V = Row[Column];
    if (auto* I = std::get_if<long long>(&V)) {
      if (*I < INT_MIN || *I > INT_MAX) AllInt32 = false;
      if (!Storage) Storage = 1;
    } else if (std::holds_alternative<double>(V)) {
      if (!Storage) Storage = 2;
    } else if (std::holds_alternative<String>(V)) {
      if (!Storage) Storage = 3;
    }
  }
  auto IntegerKind = [&] { return AllInt32 ? ftInteger : ftLargeint; };
  if (D.empty()) {
    if (Storage == 1) return IntegerKind();
    if (Storage == 2) return ftFloat;
    return ftString;
  }
  if (Has(D, "BOOL")) return ftBoolean;
  if (Has(D, "BIGINT") || Has(D, "INT8")) return ftLargeint;
  if (Has(D, "INT")) return IntegerKind();
  if (Has(D, "DATETIME") || Has(D, "TIMESTAMP")) return ftDateTime;
  if (Has(D, "DATE")) return ftDate;
  if (Has(D, "TIME")) return ftTime;
  if (Has(D, "MEMO")) return ftMemo;
  if (Has(D, "CHAR") || Has(D, "CLOB") || Has(D, "TEXT") || Has(D, "STRING")) {
    Size = DeclaredLength(D);
    return ftString;
  }
  if (Has(D, "BLOB")) return ftBlob;
  if (Has(D, "REAL") || Has(D, "FLOA") || Has(D, "DOUB") || Has(D, "NUMERIC") ||
      Has(D, "DECIMAL") || Has(D, "MONEY") || Has(D, "CURRENCY"))
    return ftFloat;
  return ftString;
}

TFieldValue ColumnValue(sqlite3_stmt* S, int Column) {
  switch (sqlite3_column_type(S, Column)) {
    case SQLITE_INTEGER:
      return (long long)sqlite3_column_int64(S, Column);
    case SQLITE_FLOAT:
      return sqlite3_column_double(S, Column);
    case SQLITE_NULL:
      return std::monostate();
    default: {
      const void* P = sqlite3_column_blob(S, Column);
      int N = sqlite3_column_bytes(S, Column);
      return String(static_cast<const char*>(P ? P : ""), std::size_t(N));
    }
  }
}

}  // namespace

TSQLiteDataSet::TSQLiteDataSet(TComponent* AOwner)
    : TDataSet(AOwner), FSQL(new TStringList), FFormFolder(CurrentFormFolder()) {
  FSQL->OnChange = Closure<&TSQLiteDataSet::SQLChanged>(this);
}

TSQLiteDataSet::~TSQLiteDataSet() {
  Close();  // links hear of it while SQL is still here
  delete FSQL;
}

void TSQLiteDataSet::SetDatabaseName(const String& Value) {
  if (Value == FDatabaseName) return;
  CheckInactive();
  FDatabaseName = Value;
}

void TSQLiteDataSet::SetTableName(const String& Value) {
  if (Value == FTableName) return;
  CheckInactive();
  FTableName = Value;
}

void TSQLiteDataSet::SQLChanged(TObject*) {
  if (Active()) Close();
}

std::vector<String> TSQLiteDataSet::GetTableNames() const {
  if (FDatabaseName.empty()) Error("No database name given (DatabaseName)");
  String File = DatabaseFile();
  std::unique_ptr<sqlite3, TCloseDb> Db = OpenDatabase(File, [this](const String& M) { Error(M); });
  std::vector<String> Names;
  try {
    TSQLiteStatement Tables(Db.get(),
                            "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                            "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name");
    while (Tables.Step()) Names.push_back(Tables.Text(0));
  } catch (Exception& E) {
    Error(Format("%s (database \"%s\")", {E.Message, File}));
  }
  return Names;
}

String TSQLiteDataSet::DatabaseFile() const {
  if (FDatabaseName.empty() || FDatabaseName[0] == '/') return FDatabaseName;
  return ExpandFileName(FFormFolder.empty() ? FDatabaseName : FFormFolder + "/" + FDatabaseName);
}

void TSQLiteDataSet::InternalOpen() {
  if (FDatabaseName.empty()) Error("No database name given (DatabaseName)");
  bool IsQuery = !Trim(FSQL->Text()).empty();
  if (IsQuery && !FTableName.empty())
    Error("Both TableName and SQL are given; a dataset reads one or the other");
  if (!IsQuery && FTableName.empty()) Error("No table name or SQL given");

  String File = DatabaseFile();
  std::unique_ptr<sqlite3, TCloseDb> Db = OpenDatabase(File, [this](const String& M) { Error(M); });
  sqlite3* Raw = Db.get();

  String Sql = IsQuery ? FSQL->Text() : "SELECT * FROM " + QuoteIdent(FTableName);
  std::unique_ptr<TSQLiteStatement> Stmt;
  try {
    Stmt = std::make_unique<TSQLiteStatement>(Raw, Sql);
  } catch (Exception& E) {
    Error(Format("%s (database \"%s\")", {E.Message, File}));
  }
  if (!Stmt->Get()) Error("SQL holds no statement");
  {
    TSQLiteStatement Rest(Raw, Stmt->Tail());
    if (Rest.Get()) Error("SQL holds more than one statement; a dataset reads one query");
  }
  if (!sqlite3_stmt_readonly(Stmt->Get()))
    Error("SQL would change the database; a dataset only reads");
  int Columns = sqlite3_column_count(Stmt->Get());
  if (Columns == 0) Error("SQL returns no columns");

  std::vector<std::vector<TFieldValue>> Rows;
  try {
    while (Stmt->Step()) {
      std::vector<TFieldValue> Row;
      Row.reserve(std::size_t(Columns));
      for (int C = 0; C < Columns; ++C) Row.push_back(ColumnValue(Stmt->Get(), C));
      Rows.push_back(std::move(Row));
    }
  } catch (Exception& E) {
    Error(Format("%s (database \"%s\")", {E.Message, File}));
  }

  for (int C = 0; C < Columns; ++C) {
    const char* N = sqlite3_column_name(Stmt->Get(), C);
    String Name = N && *N ? N : "Column" + IntToStr(C + 1);
    // Two columns of one name (a join) get the second a suffix, as the platform does.
    String Unique = Name;
    for (int K = 1; FieldList()->FindField(Unique); ++K) Unique = Name + "_" + IntToStr(K);
    const char* Decl = sqlite3_column_decltype(Stmt->Get(), C);
    int Size;
    TFieldType Type = ColumnType(Decl ? Decl : "", Rows, std::size_t(C), Size);
    AddField(Type, Unique, Size);
  }
  for (auto& Row : Rows) AddRecord(std::move(Row));
}
