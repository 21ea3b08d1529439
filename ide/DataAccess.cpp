#include "DataAccess.h"

#include "DBClient.h"
#include "SQLiteDB.h"

namespace {
// Made on first use: loading the library runs no code.
String& CurrentFolder() {
  static String Folder;
  return Folder;
}
}  // namespace

TFormFolderScope::TFormFolderScope(const String& FormFileName) : FPrevious(CurrentFolder()) {
  CurrentFolder() = ExtractFileDir(ExpandFileName(FormFileName));
}

TFormFolderScope::~TFormFolderScope() { CurrentFolder() = FPrevious; }

String CurrentFormFolder() { return CurrentFolder(); }

namespace {
// Addresses of the meta objects: a constant table, nothing runs when the library loads.
constexpr TClass DataClasses[] = {
    &TDataSource::ClassMeta,   &TClientDataSet::ClassMeta, &TSQLiteDataSet::ClassMeta,
    &TStringField::ClassMeta,  &TIntegerField::ClassMeta,  &TLargeintField::ClassMeta,
    &TFloatField::ClassMeta,   &TBooleanField::ClassMeta,  &TDateTimeField::ClassMeta,
    &TMemoField::ClassMeta,    &TADTField::ClassMeta,      &TArrayField::ClassMeta,
    &TDataSetField::ClassMeta, &TReferenceField::ClassMeta};
}  // namespace

void RegisterDataClasses() {
  for (TClass C : DataClasses) RegisterClass(C);
}

void UnRegisterDataClasses() {
  for (TClass C : DataClasses) UnRegisterClass(C);
}
