#include "DBClient.h"

template <>
struct TPublished<TClientDataSet> {
  static constexpr TPropInfo Props[] = {
      Property<&TClientDataSet::FieldDefs, &TClientDataSet::SetFieldDefs>("FieldDefs"),
  };
};
OM_IMPLEMENT_CLASS(TClientDataSet, "DBClient");

namespace {
// A form can ask for any size; these keep a mistyped one from exhausting memory.
constexpr int MaxArrayElements = 65536;
constexpr int MaxFields = 100000;
}  // namespace

TClientDataSet::TClientDataSet(TComponent* AOwner)
    : TDataSet(AOwner), FFieldDefs(new TFieldDefs(this)) {}

TClientDataSet::~TClientDataSet() {
  Close();  // links hear of it while the definitions are still here
  delete FFieldDefs;
}

void TClientDataSet::Append() { AppendEmptyRecord(); }

void TClientDataSet::InternalOpen() {
  if (FFieldDefs->Count() == 0) Error("Missing field definitions");
  FBuilt = 0;
  CreateFields(FFieldDefs, nullptr);
}

void TClientDataSet::CreateFields(TFieldDefs* Defs, TObjectField* Parent) {
  for (int I = 0; I < Defs->Count(); ++I)
    CreateField(Defs->Items(I), Defs->Items(I)->Name(), Parent);
}

void TClientDataSet::CreateField(TFieldDef* Def, const String& FieldName, TObjectField* Parent) {
  String Where = Def->GetNamePath();
  if (FieldName.empty()) Error(Format("Field definition %s has no name", {Where}));
  if (FieldName.find_first_of(".[]") != String::npos && !(Parent && Parent->DataType() == ftArray))
    Error(Format("Field name '%s' (%s) may not hold '.', '[' or ']'", {FieldName, Where}));
  if (++FBuilt > MaxFields)
    Error(Format("More than %d fields; %s makes too many", {MaxFields, Where}));
  TFieldType Type = Def->DataType();
  TFieldDefs* Children = Def->ChildDefs();
  int Size = Def->Size();
  if (Type == ftArray) {
    if (Size < 1 || Size > MaxArrayElements)
      Error(Format("Array field '%s' needs from 1 to %d elements, not %d",
                   {FieldName, MaxArrayElements, Size}));
    if (Children->Count() != 1)
      Error(Format("Array field '%s' needs one child definition for its elements, not %d",
                   {FieldName, Children->Count()}));
  } else if (Type == ftADT) {
    if (Children->Count() == 0)
      Error(Format("Object field '%s' needs child definitions", {FieldName}));
  } else if (Children->Count() > 0 && Type != ftDataSet && Type != ftReference) {
    Error(Format("Field '%s' of type %s cannot have child definitions",
                 {FieldName, GetEnumName(TypeInfo<TFieldType>(), Type)}));
  }
  if (Size == 0 && (Type == ftString || Type == ftFixedChar || Type == ftWideString)) Size = 20;
  TField* F = AddField(Type, FieldName, Size, Parent);
  if (Type == ftADT) {
    CreateFields(Children, static_cast<TObjectField*>(F));
  } else if (Type == ftArray) {
    for (int I = 0; I < Size; ++I)
      CreateField(Children->Items(0), FieldName + "[" + IntToStr(I) + "]",
                  static_cast<TObjectField*>(F));
  }
}
