// DBClient: a dataset held in memory, its fields described in the form that holds it.
#pragma once

#include "Db.h"

class PACKAGE TClientDataSet : public TDataSet {
  OM_CLASS(TClientDataSet, TDataSet)
 public:
  explicit TClientDataSet(TComponent* AOwner);
  ~TClientDataSet() override;

  // Stored in the form; the fields are built from them, object and array fields with
  // their children, each time the dataset opens.
  TFieldDefs* FieldDefs() const noexcept { return FFieldDefs; }
  void SetFieldDefs(TFieldDefs* Value) { FFieldDefs->Assign(Value); }
  void CreateDataSet() { Open(); }
  // A new empty record at the end, made the current one; the records last until Close.
  void Append();

 protected:
  void InternalOpen() override;
  bool CanModify() const override { return true; }

 private:
  void CreateFields(TFieldDefs* Defs, TObjectField* Parent);
  void CreateField(TFieldDef* Def, const String& FieldName, TObjectField* Parent);
  TFieldDefs* FFieldDefs;
  int FBuilt = 0;
};
