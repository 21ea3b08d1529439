// Classes: persistent objects, components with owners and free notification,
// collections, string lists, streams, the class registry and form descriptions.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "SysUtils.h"
#include "TypInfo.h"

class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TFiler;
class TReader;
class TWriter;
class TStream;

using TPersistentClass = TClassRef<TPersistent>;
using TComponentClass = TClassRef<TComponent>;
using TCollectionItemClass = TClassRef<TCollectionItem>;

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
OM_ENUM_TYPE(TComponentStateItem)
OM_SET_TYPE(TComponentState, TComponentStateItem)

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
OM_ENUM_TYPE(TComponentStyleItem)
OM_SET_TYPE(TComponentStyle, TComponentStyleItem)

// --- Exceptions -----------------------------------------------------------------------

OM_EXCEPTION(EListError, Exception)
// "List index out of bounds (Index)", as every list of the platform says it.
[[noreturn]] PACKAGE void ListIndexError(int Index);
OM_EXCEPTION(EStringListError, Exception)
OM_EXCEPTION(EComponentError, Exception)
OM_EXCEPTION(EStreamError, Exception)
OM_EXCEPTION(EFOpenError, EStreamError)
OM_EXCEPTION(EFCreateError, EStreamError)
OM_EXCEPTION(EFilerError, EStreamError)
OM_EXCEPTION(EWriteError, EFilerError)

// An error in a form description: where it is, and what was wrong there.
class PACKAGE EReadError : public EFilerError {
  OM_CLASS(EReadError, EFilerError)
 public:
  explicit EReadError(const String& Msg) : EFilerError(Msg), Detail(Msg) {}
  EReadError(const String& AFileName, int ALine, int AColumn, const String& ADetail);
  String FileName;
  int Line = 0;
  int Column = 0;
  String Detail;  // the message without its location
};
OM_EXCEPTION(EParserError, EReadError)
OM_EXCEPTION(EClassNotFound, EReadError)

// --- TPersistent ----------------------------------------------------------------------

class PACKAGE TPersistent : public TObject {
  OM_CLASS(TPersistent, TObject)
 public:
  virtual void Assign(TPersistent* Source);
  // The name the inspector and error messages use: "Form1.DBGrid1.Columns[2]".
  virtual String GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* Dest);
  // Properties stored in form files beside the published ones (binary data, lists).
  virtual void DefineProperties(TFiler* Filer);
  virtual TPersistent* GetOwner();
  friend class TFiler;
  friend class TReader;
  friend class TWriter;
  friend class TCollection;
  friend class TCollectionItem;
  friend TComponent* FindOwnerComponent(TPersistent*);
};

// --- TComponent -----------------------------------------------------------------------

using TGetChildProc = std::function<void(TComponent*)>;

class PACKAGE TComponent : public TPersistent {
  OM_CLASS(TComponent, TPersistent)
 public:
  using TCreateSignature = TComponent*(TComponent* AOwner);

  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const noexcept { return FOwner; }
  const String& Name() const noexcept { return FName; }
  void SetName(const String& NewName);
  int Tag() const noexcept { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  int ComponentCount() const noexcept { return int(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(const String& AName) const;
  const TComponentState& ComponentState() const noexcept { return FComponentState; }
  TComponentStyle ComponentStyle() const noexcept { return FComponentStyle; }
  void SetSubComponent(bool Value);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Sets csDestroying; windows and the designer use it to tell a component that is
  // going away from one that is only removed.
  void Destroying();

  // AComponent is told (Notification(this, opRemove)) when this component is freed,
  // so that it can clear its reference; the link goes both ways.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Design-time state, set by the designer for every component of a design root.
  void SetDesigning(bool Value, bool SetChildren = true);
  // The designer of a design root: told of every insertion and removal in it.
  class IDesignerNotify* Designer() const noexcept { return FDesigner; }
  void SetDesigner(class IDesignerNotify* Value) noexcept { FDesigner = Value; }

  // The component's children as a form file lists them, and its parent there.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual bool HasParent() const;
  virtual TComponent* GetParentComponent() const;
  virtual void SetParentComponent(TComponent* Value);

  String GetNamePath() override;

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();
  virtual void ValidateRename(TComponent* AComponent, const String& CurName,
                              const String& NewName);
  TPersistent* GetOwner() override;
  void SetComponentState(TComponentStateItem Item, bool On);

 private:
  friend class TReader;
  friend class TWriter;
  friend TComponent* FindOwnerComponent(TPersistent*);
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  bool IsNameStored() const { return false; }
  // The owned components by name, made when many are asked for by name (every
  // component read or renamed is, to refuse a name taken twice), kept from then on.
  struct TNameIndex;
  void IndexName(TComponent* AComponent);
  void UnindexName(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  int FTag = 0;
  std::vector<TComponent*> FComponents;
  mutable std::unique_ptr<TNameIndex> FNameIndex;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
  TComponentStyle FComponentStyle;
  class IDesignerNotify* FDesigner = nullptr;
};

// --- Collections ----------------------------------------------------------------------

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class PACKAGE TCollectionItem : public TPersistent {
  OM_CLASS(TCollectionItem, TPersistent)
 public:
  using TCreateSignature = TCollectionItem*(TCollection* Collection);

  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const noexcept { return FCollection; }
  void SetCollection(TCollection* Value);
  int ID() const noexcept { return FID; }
  int Index() const;
  // Moves the item to that position; the others shift.
  virtual void SetIndex(int Value);
  String DisplayName() const { return GetDisplayName(); }
  virtual void SetDisplayName(const String& Value);
  String GetNamePath() override;

 protected:
  virtual String GetDisplayName() const;
  // Tells the collection (and so its owner) that this item, or all items, changed.
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
  mutable int FIndex = -1;  // its place in the collection, holes counted until closed
};

class PACKAGE TCollection : public TPersistent {
  OM_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItemClass ItemClass() const noexcept { return FItemClass; }
  int Count() const noexcept { return int(FItems.size() - FHoles); }
  TCollectionItem* Items(int Index) const;
  // The item after Item, or null; unlike Items, it leaves the gaps of freed items open,
  // so a walk that frees items as it goes stays linear.
  TCollectionItem* ItemAfter(const TCollectionItem* Item) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  // Puts the items in the order given, which holds each of them once, in one pass: moving
  // items one by one through their Index costs a shift of the items between for each.
  // The collection changes as one (one update notification).
  void Reorder(std::span<TCollectionItem* const> Order);
  TCollectionItem* FindItemID(int ID) const;
  void Assign(TPersistent* Source) override;
  String GetNamePath() override;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const noexcept { return FUpdateCount; }

 protected:
  // The update notification: Item changed, or with null, the collection as a whole.
  // Deferred while an update is open and sent once when the last one ends.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();
  TPersistent* GetOwner() override;
  // The published property of the owner that holds this collection, for the name path.
  String PropName();
  // Changes whenever an item comes, goes or moves: what is worked out from the order
  // can tell that it is stale.
  unsigned OrderStamp() const noexcept { return FOrderStamp; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, int NewIndex);
  int IndexOfItem(const TCollectionItem* Item) const;
  void Pack() const noexcept {
    if (FHoles) PackHoles();
  }
  void PackHoles() const noexcept;

  TCollectionItemClass FItemClass;
  // A removed item leaves a null hole, closed up the next time an item at or past the
  // first hole is reached: freeing many items from the end moves the rest only once.
  mutable std::vector<TCollectionItem*> FItems;
  mutable size_t FHoles = 0;
  mutable size_t FFirstHole = 0;
  int FUpdateCount = 0;
  int FNextID = 0;
  unsigned FOrderStamp = 0;
};

// A collection that knows the persistent it belongs to (a grid's columns, say).
class PACKAGE TOwnedCollection : public TCollection {
  OM_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  ~TOwnedCollection() override;

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// --- String lists ---------------------------------------------------------------------

enum TDuplicates { dupIgnore, dupAccept, dupError };

class PACKAGE TStrings : public TPersistent {
  OM_CLASS(TStrings, TPersistent)
 public:
  virtual int Count() const = 0;
  virtual String Strings(int Index) const = 0;
  virtual void SetStrings(int Index, const String& S);
  virtual TObject* Objects(int Index) const;
  virtual void SetObjects(int Index, TObject* AObject);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const String& S);
  int AddObject(const String& S, TObject* AObject);
  void AddStrings(TStrings* Strings);
  virtual int IndexOf(const String& S) const;
  int IndexOfObject(TObject* AObject) const;
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);

  // The lines joined by CR LF, each ending with one; setting splits on CR LF, CR or LF.
  String Text() const;
  // Virtual so that a list standing for a control's text (a memo's lines) can take the
  // text whole, line breaks as given, as the platform's SetTextStr does.
  virtual void SetText(const String& Value);
  String CommaText() const;
  void SetCommaText(const String& Value);
  String Values(const String& Name) const;
  String Names(int Index) const;

  void BeginUpdate();
  void EndUpdate();
  void Assign(TPersistent* Source) override;
  bool Equals(TStrings* Strings) const;

  void LoadFromFile(const String& FileName);
  // Written to a temporary file beside the target and renamed over it, so a failed save
  // leaves the old file as it was.
  void SaveToFile(const String& FileName) const;

 protected:
  virtual void SetUpdateState(bool Updating);
  void DefineProperties(TFiler* Filer) override;
  int UpdateCount() const noexcept { return FUpdateCount; }

 private:
  int FUpdateCount = 0;
};

class PACKAGE TStringList : public TStrings {
  OM_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return int(FList.size()); }
  String Strings(int Index) const override;
  void SetStrings(int Index, const String& S) override;
  TObject* Objects(int Index) const override;
  void SetObjects(int Index, TObject* AObject) override;
  int Add(const String& S) override;
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int IndexOf(const String& S) const override;
  // Binary search of a sorted list; Index gets the match or the insertion point.
  bool Find(const String& S, int& Index) const;
  void Sort();

  bool Sorted() const noexcept { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const noexcept { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const noexcept { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct TItem {
    String S;
    TObject* Obj;
  };
  int Compare(const String& A, const String& B) const;
  void CheckIndex(int Index, bool AllowEnd = false) const;
  std::vector<TItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

// --- Streams --------------------------------------------------------------------------

enum TSeekOrigin { soFromBeginning, soFromCurrent, soFromEnd };

class PACKAGE TStream : public TObject {
  OM_CLASS(TStream, TObject)
 public:
  virtual long Read(void* Buffer, long Count) = 0;
  virtual long Write(const void* Buffer, long Count) = 0;
  virtual long long Seek(long long Offset, TSeekOrigin Origin) = 0;
  void ReadBuffer(void* Buffer, long Count);
  void WriteBuffer(const void* Buffer, long Count);
  long long Position() { return Seek(0, soFromCurrent); }
  void SetPosition(long long Pos) { Seek(Pos, soFromBeginning); }
  long long Size();
  long long CopyFrom(TStream* Source, long long Count);
};

class PACKAGE TMemoryStream : public TStream {
  OM_CLASS(TMemoryStream, TStream)
 public:
  long Read(void* Buffer, long Count) override;
  long Write(const void* Buffer, long Count) override;
  long long Seek(long long Offset, TSeekOrigin Origin) override;
  void SetSize(long long NewSize);
  void Clear();
  const Byte* Memory() const noexcept { return FData.data(); }
  std::vector<Byte>& Bytes() noexcept { return FData; }
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;  // atomically, as TStrings does

 private:
  std::vector<Byte> FData;
  long long FPosition = 0;
};

enum : unsigned { fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2, fmCreate = 0xFFFF };

class PACKAGE TFileStream : public TStream {
  OM_CLASS(TFileStream, TStream)
 public:
  TFileStream(const String& FileName, unsigned Mode);
  ~TFileStream() override;
  long Read(void* Buffer, long Count) override;
  long Write(const void* Buffer, long Count) override;
  long long Seek(long long Offset, TSeekOrigin Origin) override;

 private:
  int FHandle = -1;
};

// --- Form descriptions ----------------------------------------------------------------

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

class PACKAGE TFiler : public TObject {
  OM_CLASS(TFiler, TObject)
 public:
  virtual void DefineProperty(const String& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;
  TComponent* Root() const noexcept { return FRoot; }

 protected:
  static void CallDefineProperties(TPersistent* P, TFiler* F) { P->DefineProperties(F); }
  TComponent* FRoot = nullptr;
};

enum TValueType {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse,
  vaTrue, vaBinary, vaSet, vaLString, vaNil, vaCollection
};

class TFormParser;  // the text tokenizer, private to the IDE

// Reads the platform's text form format into components.
class PACKAGE TReader : public TFiler {
  OM_CLASS(TReader, TFiler)
 public:
  TReader(String Text, const String& FileName);
  // Reads Size bytes at Text, which the caller keeps unchanged while the reader lives: a
  // large form is not copied first.
  TReader(const char* Text, std::size_t Size, const String& FileName);
  ~TReader() override;
  // How deep objects may nest in a form file (a form's deepest panels are a few levels).
  static constexpr int MaxObjectDepth = 256;

  // Reads the form into Root (when given; its class name in the text is then only
  // recorded) or into a new root created from the class the text names, owned by
  // Owner. On error everything created for the form is freed and EReadError tells
  // where and what.
  TComponent* ReadRootComponent(TComponent* Root, TComponent* Owner = nullptr);
  // The class name the text gave the root, for a root that was supplied.
  const String& RootClassName() const noexcept { return FRootClassName; }

  // Values, for DefineProperty readers.
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  String ReadString();
  int ReadInteger();
  long long ReadInt64();
  bool ReadBoolean();
  String ReadIdent();
  void ReadCollection(TCollection* Collection);
  // Raises EReadError at the current position.
  [[noreturn]] void Error(const String& Message);

  void DefineProperty(const String& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Finds the class of a component by name; the default uses the class registry.
  std::function<TComponentClass(const String& ClassName)> OnFindComponentClass;
  // Binds `OnX = Name`; the default looks up the root's published methods.
  std::function<TMethod(TComponent* Root, const String& MethodName)> OnFindMethod;
  // May change the name a component is about to get (pasting renames clashing names).
  std::function<void(TComponent* Component, String& Name)> OnSetName;
  // A reference to a component the form does not have is cleared instead of refused
  // (pasting into another form).
  bool DropUnresolvedReferences = false;
  // A handler the root does not publish is left unbound instead of refused (a form run
  // without the code of its class).
  bool DropUnboundMethods = false;

 private:
  struct TFixup;
  void ReadObject(TComponent* Parent, bool IsRoot);
  void ReadProperties(TPersistent* Instance);
  void ReadProperty(TPersistent* Instance);
  void ReadPropValue(TPersistent* Instance, PPropInfo P);
  void ReadSetValue(TPersistent* Instance, PPropInfo P);
  TComponentClass FindComponentClass(const String& ClassName);
  // The root's published field of the component's name takes it (checked for its class).
  void SetRootField(TComponent* Instance, int Line, int Column);
  // Every published field of the root holds a component once the form is read.
  void CheckRootFields();
  void ResolveFixups();
  void ExpectValueKind(TValueType Kind, const char* What);

  std::unique_ptr<TFormParser> FParser;
  String FFileName;
  String FRootClassName;
  TComponent* FOwner = nullptr;
  bool FRootCreated = false;
  std::vector<TComponent*> FCreated;  // in creation order, the root first
  std::vector<TComponent*> FLoaded;
  std::vector<std::pair<int, int>> FLoadedAt;  // line and column of each one's declaration
  std::vector<TFixup> FFixups;
  String FPropName;     // the property being read, for DefineProperty matching
  bool FCanHandleProp = false;
  int FDepth = 0;
};

// Writes components in the platform's text form format.
class PACKAGE TWriter : public TFiler {
  OM_CLASS(TWriter, TFiler)
 public:
  TWriter();
  ~TWriter() override;
  void WriteRootComponent(TComponent* Root);
  // Writes one component of Root (and its children), its references named as Root's.
  void WriteComponentOf(TComponent* Component, TComponent* Root);
  // The text written so far; the writer is empty afterwards.
  String TakeText();

  void WriteListBegin();
  void WriteListEnd();
  void WriteString(const String& Value);
  void WriteInteger(long long Value);
  void WriteBoolean(bool Value);
  void WriteIdent(const String& Ident);
  void WriteCollection(TCollection* Value);

  void DefineProperty(const String& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Names the method of an event; the default looks up the root's published methods.
  std::function<String(const TMethod& Method)> OnFindMethodName;

 private:
  void WriteComponent(TComponent* Component);
  void WriteProperties(TPersistent* Instance);
  void WriteProperty(TPersistent* Instance, PPropInfo P);
  void WritePropName(const String& Name);
  void WriteValueSeparator();
  void NewLine();
  String ComponentRefName(TComponent* Value) const;

  String FText;                // the part being written
  std::vector<String> FChunks;  // full parts before it: a large form is joined once
  String FPropPath;  // "Font." while the properties of a sub-object are written
  int FIndent = 0;
  int FListDepth = 0;
  TComponent* FLookupRoot = nullptr;
};

// The text of a component and everything it owns, as a form file holds it.
PACKAGE String ComponentToText(TComponent* Root);
// Reads a form description (see TReader::ReadRootComponent).
PACKAGE TComponent* ComponentFromText(const String& Text, const String& FileName,
                                      TComponent* Root = nullptr, TComponent* Owner = nullptr);
PACKAGE TComponent* ReadComponentFile(const String& FileName, TComponent* Root = nullptr,
                                      TComponent* Owner = nullptr);
// Written to a temporary file beside the target and renamed over it.
PACKAGE void WriteComponentFile(const String& FileName, TComponent* Root);
// Reads the form description resource of Instance's class (and of its ancestors up to
// RootAncestor) from the module that defines the class. False if there is none.
PACKAGE bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);

// --- The class registry ---------------------------------------------------------------

PACKAGE void RegisterClass(TPersistentClass AClass);
PACKAGE void RegisterClasses(std::initializer_list<TPersistentClass> Classes);
PACKAGE void UnRegisterClass(TPersistentClass AClass);
// Every registered class whose meta object lives in that module.
PACKAGE void UnRegisterModuleClasses(const TLibModule* Module);
PACKAGE TPersistentClass GetClass(const String& ClassName);  // null if unknown
PACKAGE TPersistentClass FindClass(const String& ClassName);  // raises EClassNotFound

PACKAGE bool IsValidIdent(const String& Ident, bool AllowDots = false);

// --- Design-time hooks ------------------------------------------------------------------

// What a design root tells its designer: that the form changed, that an object of it
// (a component, a collection item) came or went.
class PACKAGE IDesignerNotify {
 public:
  virtual void Modified() = 0;
  virtual void Notification(TPersistent* AnObject, TOperation Operation) = 0;
  // A component of the design root (or the root itself) is about to take NewName; raises
  // to refuse a name the form could not be saved and read back with.
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) = 0;

 protected:
  ~IDesignerNotify() = default;
};

// The designer of the root that (through owners) holds Instance, or null.
PACKAGE IDesignerNotify* FindRootDesigner(TPersistent* Instance);
// The component that (through owners) holds Instance: itself for a component.
PACKAGE TComponent* FindOwnerComponent(TPersistent* Instance);

// A root of non-visual components (the platform has it in Classes since release 6 and in
// Forms before; both IDEs design it).
class PACKAGE TDataModule : public TComponent {
  OM_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* AOwner);
  ~TDataModule() override;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  int DesignLeft = 0, DesignTop = 0, DesignWidth = 0, DesignHeight = 0;
};
