#include "DataAccess.h"

#include "DBClient.h"
#include "SQLiteDB.h"

namespace {
String CurrentFolder;
}

TFormFolderScope::TFormFolderScope(const String& FormFileName) : FPrevious(CurrentFolder) {
  CurrentFolder = ExtractFileDir(ExpandFileName(FormFileName));
}

TFormFolderScope::~TFormFolderScope() { CurrentFolder = FPrevious; }

String CurrentFormFolder() { return CurrentFolder; }

namespace {
const TPersistentClass DataClasses[] = {
    TDataSource::StaticClass(),   TClientDataSet::StaticClass(), TSQLiteDataSet::StaticClass(),
    TStringField::StaticClass(),  TIntegerField::StaticClass(),  TLargeintField::StaticClass(),
    TFloatField::StaticClass(),   TBooleanField::StaticClass(),  TDateTimeField::StaticClass(),
    TMemoField::StaticClass(),    TADTField::StaticClass(),      TArrayField::StaticClass(),
    TDataSetField::StaticClass(), TReferenceField::StaticClass()};
}

void RegisterDataClasses() {
  for (TPersistentClass C : DataClasses) RegisterClass(C);
}

void UnRegisterDataClasses() {
  for (TPersistentClass C : DataClasses) UnRegisterClass(C);
}
