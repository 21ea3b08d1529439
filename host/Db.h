// Db: datasets, their fields and field definitions, data sources and the data links
// through which data-aware controls follow a dataset.
#pragma once

#include <unordered_map>
#include <variant>

#include "Classes.h"

class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TFields;
class TObjectField;
class TFieldDef;
class TFieldDefs;

OM_EXCEPTION(EDatabaseError, Exception)

// The platform's ordinals: forms store these by name, packages compare them by value.
enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid
#if OM_HOST_RELEASE >= 6
  ,
  ftTimeStamp,
  ftFMTBcd
#endif
};
OM_ENUM_TYPE(TFieldType)

enum TDataSetState { dsInactive, dsBrowse };

// One value of a record: null, an integer, a floating-point number, or text (and bytes).
using TFieldValue = std::variant<std::monostate, long long, double, String>;

// --- Fields -------------------------------------------------------------------------------

// A list of fields that owns them: a dataset's top-level fields or an object field's children.
class PACKAGE TFields : public TObject {
  OM_CLASS(TFields, TObject)
 public:
  explicit TFields(TDataSet* ADataSet) : FDataSet(ADataSet) {}
  ~TFields() override;
  int Count() const noexcept { return int(FList.size()); }
  TField* Fields(int Index) const;                   // raises EListError out of range
  TField* FindField(const String& FieldName) const;  // by FieldName, any case; null if none
  int IndexOf(const TField* Field) const;
  TDataSet* DataSet() const noexcept { return FDataSet; }
  void Add(TField* Field);  // takes ownership
  void Clear();

 private:
  friend class TField;
  friend class TDataSet;
  void Forget() { FByName.clear(); }
  std::vector<TField*> FList;
  TDataSet* FDataSet;
  // Upper-case names to fields, made on the first look-up (empty until then): a dataset
  // opening with ten thousand fields looks each name up before adding it.
  mutable std::unordered_map<String, TField*> FByName;
};

class PACKAGE TField : public TComponent {
  OM_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* AOwner);
  ~TField() override;

  const String& FieldName() const noexcept { return FFieldName; }
  void SetFieldName(const String& Value);
  // The name through the parent object fields: "Address.Street", "Phones[1]".
  String FullName() const;
  TFieldType DataType() const noexcept { return FDataType; }
  TDataSet* DataSet() const noexcept { return FDataSet; }
  TObjectField* ParentField() const noexcept { return FParentField; }
  int Size() const noexcept { return FSize; }
  void SetSize(int Value);
  bool Visible() const noexcept { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  String DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const String& Value) { FDisplayLabel = Value; }
  // Characters a grid gives the field unless told otherwise.
  virtual int DisplayWidth() const;
  int Index() const;                                 // in its dataset's or parent field's list
  int FieldNo() const noexcept { return FFieldNo; }  // 1-based among the dataset's fields

  // The value in the dataset's current record.
  bool IsNull() const;
  String AsString() const;
  int AsInteger() const;
  long long AsLargeInt() const;
  double AsFloat() const;
  bool AsBoolean() const;
  // What a grid shows: the value, or "(MEMO)", "(ADT)"... for kinds a cell cannot show.
  virtual String DisplayText() const;
  // Setting a value needs a dataset that can be changed; a value the field's kind
  // cannot hold raises EDatabaseError naming the field.
  void SetAsString(const String& Value);
  void SetAsInteger(long long Value);
  void SetAsFloat(double Value);
  void SetAsBoolean(bool Value);
  void Clear();

 protected:
  void SetDataType(TFieldType Value) noexcept { FDataType = Value; }
  [[noreturn]] void Error(const String& Message) const;

 private:
  friend class TDataSet;
  friend class TFields;
  friend class TObjectField;
  const TFieldValue& Value() const;
  void SetValue(TFieldValue Value);
  String ValueText(const TFieldValue& V) const;

  String FFieldName;
  String FDisplayLabel;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  bool FVisible = true;
  int FFieldNo = 0;
  int FSlot = -1;  // where its value is in a record; -1 for object fields
  TDataSet* FDataSet = nullptr;
  TObjectField* FParentField = nullptr;
  TFields* FOwnerList = nullptr;
};

using TFieldClass = TClassRef<TField>;

#define OM_FIELD_CLASS(Name, Base)     \
  class PACKAGE Name : public Base {   \
    OM_CLASS(Name, Base)               \
   public:                             \
    explicit Name(TComponent* AOwner); \
  };

OM_FIELD_CLASS(TStringField, TField)
OM_FIELD_CLASS(TIntegerField, TField)
OM_FIELD_CLASS(TLargeintField, TField)
OM_FIELD_CLASS(TFloatField, TField)
OM_FIELD_CLASS(TBooleanField, TField)
OM_FIELD_CLASS(TDateTimeField, TField)
OM_FIELD_CLASS(TBlobField, TField)
OM_FIELD_CLASS(TMemoField, TBlobField)

// A field made of child fields.
class PACKAGE TObjectField : public TField {
  OM_CLASS(TObjectField, TField)
 public:
  explicit TObjectField(TComponent* AOwner);
  ~TObjectField() override;
  int FieldCount() const noexcept { return FFields->Count(); }
  TFields* Fields() const noexcept { return FFields; }

 private:
  TFields* FFields;
};

OM_FIELD_CLASS(TADTField, TObjectField)
OM_FIELD_CLASS(TArrayField, TObjectField)
OM_FIELD_CLASS(TDataSetField, TObjectField)
OM_FIELD_CLASS(TReferenceField, TDataSetField)

// The class a dataset makes for a kind of field; null for kinds it cannot hold.
PACKAGE TFieldClass DefaultFieldClass(TFieldType DataType);

// --- Field definitions ----------------------------------------------------------------

// What a field is to be: stored in the form of a dataset that builds its fields from them.
class PACKAGE TFieldDef : public TCollectionItem {
  OM_CLASS(TFieldDef, TCollectionItem)
 public:
  explicit TFieldDef(TCollection* Collection);
  ~TFieldDef() override;
  void Assign(TPersistent* Source) override;

  const String& Name() const noexcept { return FName; }
  void SetName(const String& Value);
  TFieldType DataType() const noexcept { return FDataType; }
  void SetDataType(TFieldType Value);
  // Characters of a string, elements of an array.
  int Size() const noexcept { return FSize; }
  void SetSize(int Value);
  // The fields of an object field; the one element of an array field.
  TFieldDefs* ChildDefs() const noexcept { return FChildDefs; }
  void SetChildDefs(TFieldDefs* Value);
  TFieldDef* ParentDef() const;

 protected:
  String GetDisplayName() const override;

 private:
  String FName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  TFieldDefs* FChildDefs;
};

class PACKAGE TFieldDefs : public TOwnedCollection {
  OM_CLASS(TFieldDefs, TOwnedCollection)
 public:
  explicit TFieldDefs(TPersistent* AOwner);
  TFieldDef* Items(int Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }
  TFieldDef* AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }
  TFieldDef* Add(const String& Name, TFieldType DataType, int Size = 0);
  TFieldDef* Find(const String& Name) const;  // any case; null if none
  // The definition whose children these are, or null for a dataset's own.
  TFieldDef* ParentDef() const noexcept { return FParentDef; }

 private:
  friend class TFieldDef;
  TFieldDef* FParentDef = nullptr;
};

// --- Datasets -----------------------------------------------------------------------------

enum TDataEvent { deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll };

class PACKAGE TDataSet : public TComponent {
  OM_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  bool Active() const noexcept { return FState != dsInactive; }
  // In a form being read, the dataset opens once the whole form is there.
  void SetActive(bool Value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const noexcept { return FState; }

  // Linked controls hear nothing while disabled; the last EnableControls of a nested
  // pair tells them once what changed meanwhile.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const noexcept { return FDisableCount > 0; }

  int FieldCount() const noexcept { return FFields->Count(); }
  TField* Fields(int Index) const { return FFields->Fields(Index); }
  TFields* FieldList() const noexcept { return FFields; }
  // By name, any case; a dotted name ("Address.Street") reaches into object fields.
  TField* FindField(const String& FieldName) const;
  TField* FieldByName(const String& FieldName) const;  // raises EDatabaseError

  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const noexcept { return FEof; }
  bool Bof() const noexcept { return FBof; }
  bool IsEmpty() const noexcept { return FRecords.empty(); }
  int RecordCount() const noexcept { return int(FRecords.size()); }
  int RecNo() const noexcept { return FRecNo + 1; }  // 1-based; 0 without records
  void SetRecNo(int Value);

 protected:
  // Builds the fields (AddField) and fills the records; a failure leaves nothing behind.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() {}
  // Whether SetValue may change a record.
  virtual bool CanModify() const { return false; }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Adds a field of the class the kind calls for, to the dataset or to Parent; raises
  // EDatabaseError for a kind that no field class holds.
  TField* AddField(TFieldType DataType, const String& FieldName, int Size,
                   TObjectField* Parent = nullptr);
  // Opening: a record with a value for each field that has one, in AddField order.
  void AddRecord(std::vector<TFieldValue> Values);
  // Open: a new empty record at the end, made the current one.
  void AppendEmptyRecord();
  int SlotCount() const noexcept { return FSlotCount; }
  void CheckInactive() const;
  [[noreturn]] void Error(const String& Message) const;
  void DataEvent(TDataEvent Event);

 private:
  friend class TField;
  friend class TDataSource;
  void SetState(TDataSetState Value);
  void CloseCursor(bool CallInternalClose);
  void CheckActive() const;
  void Scrolled(int NewRecNo);

  TDataSetState FState = dsInactive;
  bool FStreamedActive = false;
  TFields* FFields;
  std::vector<std::vector<TFieldValue>> FRecords;
  int FSlotCount = 0;
  int FNextFieldNo = 0;
  bool FReopenedWhileDisabled = false;
  int FRecNo = -1;
  bool FEof = true;
  bool FBof = true;
  int FDisableCount = 0;
  TDataSetState FDisableState = dsInactive;
  bool FChangedWhileDisabled = false;
  std::vector<TDataSource*> FDataSources;
};

// --- Data sources and links -------------------------------------------------------------

class PACKAGE TDataSource : public TComponent {
  OM_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;
  TDataSet* DataSet() const noexcept { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool Enabled() const noexcept { return FEnabled; }
  void SetEnabled(bool Value);
  TDataSetState State() const noexcept;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TDataLink;
  friend class TDataSet;
  // Tells each link whether it is active now; Force re-tells active links (their
  // dataset was closed and opened again, with new fields).
  void UpdateLinks(bool Force = false);
  void SendEvent(TDataEvent Event);

  TDataSet* FDataSet = nullptr;
  bool FEnabled = true;
  std::vector<TDataLink*> FLinks;
};

// How a data-aware control follows a data source: told when the dataset opens or closes
// (or the link is pointed elsewhere) and when its records change or it scrolls.
class PACKAGE TDataLink : public TPersistent {
  OM_CLASS(TDataLink, TPersistent)
 public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataSource* DataSource() const noexcept { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const noexcept { return FDataSource ? FDataSource->DataSet() : nullptr; }
  // Linked to an enabled data source whose dataset is open.
  bool Active() const noexcept { return FActive; }

 protected:
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() {}
  virtual void DataSetScrolled() {}

 private:
  friend class TDataSource;
  void UpdateActive(bool Force);
  TDataSource* FDataSource = nullptr;
  bool FActive = false;
};
