// SQLiteDB: a dataset that reads a table or the result of a query from an SQLite
// database file.
#pragma once

#include <vector>

#include "Db.h"

class PACKAGE TSQLiteDataSet : public TDataSet {
  OM_CLASS(TSQLiteDataSet, TDataSet)
 public:
  explicit TSQLiteDataSet(TComponent* AOwner);
  ~TSQLiteDataSet() override;

  // The database file. A relative name is taken from the folder of the form file that
  // holds the dataset (FormFolder), or from the current folder when there is none.
  const String& DatabaseName() const noexcept { return FDatabaseName; }
  void SetDatabaseName(const String& Value);
  // Read whole when SQL is empty.
  const String& TableName() const noexcept { return FTableName; }
  void SetTableName(const String& Value);
  // One statement that reads; changing it closes the dataset.
  TStrings* SQL() const noexcept { return FSQL; }
  void SetSQL(TStrings* Value) { FSQL->Assign(Value); }

  // Taken when the dataset is made inside a form folder scope (see DataAccess.h).
  const String& FormFolder() const noexcept { return FFormFolder; }
  void SetFormFolder(const String& Value) { FFormFolder = Value; }
  // The file DatabaseName names, as it will be opened.
  String DatabaseFile() const;
  // The tables and views of the database, by name; raises as opening does when the
  // database cannot be read.
  std::vector<String> GetTableNames() const;

 protected:
  void InternalOpen() override;

 private:
  void SQLChanged(TObject* Sender);
  String FDatabaseName;
  String FTableName;
  TStringList* FSQL;
  String FFormFolder;
};
