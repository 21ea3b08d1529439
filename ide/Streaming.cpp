// The text form format: reading components from it and writing them to it.
#include <algorithm>

#include "Classes.h"
#include "FileUtil.h"
#include "FormParser.h"

OM_IMPLEMENT_CLASS(TFiler, "Classes");
OM_IMPLEMENT_CLASS(TReader, "Classes");
OM_IMPLEMENT_CLASS(TWriter, "Classes");

namespace {
String KindName(PTypeInfo T) {
  switch (T->Kind) {
    case tkInteger: case tkInt64: return "an integer";
    case tkEnumeration: return "an identifier";
    case tkSet: return "a set";
    case tkLString: case tkString: case tkWString: return "a string";
    case tkMethod: return "a method name";
    case tkClass: return "a component name";
    default: return "a value";
  }
}
}  // namespace

// --- TReader --------------------------------------------------------------------------

struct TReader::TFixup {
  TPersistent* Instance;
  PPropInfo Prop;
  String Name;
  int Line;
  int Column;
};

TReader::TReader(String Text, const String& FileName)
    : FParser(std::make_unique<TFormParser>(std::move(Text), FileName)), FFileName(FileName) {}

TReader::TReader(const char* Text, std::size_t Size, const String& FileName)
    : FParser(std::make_unique<TFormParser>(std::string_view(Text, Size), FileName)), FFileName(FileName) {}

TReader::~TReader() = default;

void TReader::Error(const String& Message) { FParser->Error(Message); }

TComponent* TReader::ReadRootComponent(TComponent* Root, TComponent* Owner) {
  FRoot = Root;
  FOwner = Owner;
  FRootCreated = false;
  // Nothing created for this form survives a failed read.
  auto Abandon = [this] {
    if (FRootCreated) {
      delete FRoot;
    } else {
      for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
      if (FRoot) {
        FRoot->SetComponentState(csLoading, false);
        FRoot->SetComponentState(csReading, false);
      }
    }
    FCreated.clear();
    FLoaded.clear();
    FLoadedAt.clear();
    FRoot = nullptr;
  };
  try {
    ReadObject(nullptr, true);
    if (FParser->Token().Kind != TTokenKind::Eof) FParser->Expected("end of file");
    ResolveFixups();
    CheckRootFields();
  } catch (...) {
    Abandon();
    throw;
  }
  // A component that fails once the form is read (a dataset that cannot open) fails the
  // form as any other error does: said where, and nothing left behind.
  for (std::size_t I = 0; I < FLoaded.size(); ++I) {
    TComponent* C = FLoaded[I];
    C->SetComponentState(csReading, false);
    try {
      C->Loaded();
    } catch (Exception& E) {
      auto [Line, Column] = FLoadedAt[I];
      // The component's own message may name it already.
      bool Named = C->Name().empty() || E.Message.rfind(C->Name() + ":", 0) == 0;
      String Detail = Named ? E.Message : C->Name() + ": " + E.Message;
      Abandon();
      throw EReadError(FFileName, Line, Column, Detail);
    } catch (...) {
      Abandon();
      throw;
    }
  }
  FCreated.clear();
  FLoaded.clear();
  FLoadedAt.clear();
  return FRoot;
}

TComponentClass TReader::FindComponentClass(const String& ClassName) {
  TComponentClass C;
  if (OnFindComponentClass) {
    C = OnFindComponentClass(ClassName);
  } else {
    TPersistentClass P = GetClass(ClassName);
    if (P && P->InheritsFrom(TComponent::StaticClass())) C = TClass(P);
  }
  return C;
}

void TReader::ReadObject(TComponent* Parent, bool IsRoot) {
  TFormParser& P = *FParser;
  if (!P.IsIdent("object")) P.Expected("'object'");
  // Each level is a frame of this reader and, once read, of every walk over the
  // controls; a file nested past any real form is refused before the stack runs out.
  if (FDepth >= MaxObjectDepth)
    P.Error(Format("objects are nested more than %d deep", {MaxObjectDepth}));
  struct TLevel {
    int& Depth;
    explicit TLevel(int& D) : Depth(D) { ++Depth; }
    ~TLevel() { --Depth; }
  } Level(FDepth);
  P.Next();
  int NameLine = P.Token().Line, NameCol = P.Token().Column;
  String Name = P.TakeIdent("a component name");
  int ClassLine = NameLine, ClassCol = NameCol;
  String ClassName = Name;
  if (P.IsChar(':')) {
    P.Next();
    ClassLine = P.Token().Line;
    ClassCol = P.Token().Column;
    ClassName = P.TakeIdent("a class name");
  } else {
    Name.clear();
  }
  if (P.IsChar('[')) {  // creation order index: kept by position instead
    P.Next();
    if (P.Token().Kind != TTokenKind::Integer) P.Expected("an integer");
    P.Next();
    P.CheckChar(']');
  }

  TComponent* Instance;
  if (IsRoot && FRoot) {
    Instance = FRoot;
    FRootClassName = ClassName;
  } else {
    TComponentClass C = FindComponentClass(ClassName);
    if (!C) throw EClassNotFound(FFileName, ClassLine, ClassCol, Format("class %s not found", {ClassName}));
    if (C->IsAbstract())
      throw EReadError(FFileName, ClassLine, ClassCol,
                       Format("cannot create an instance of the abstract class %s", {ClassName}));
    try {
      Instance = C.Create(IsRoot ? FOwner : FRoot);
    } catch (Exception& E) {
      throw EReadError(FFileName, ClassLine, ClassCol,
                       Format("creating %s: %s", {ClassName, E.Message}));
    }
    if (IsRoot) {
      FRoot = Instance;
      FRootCreated = true;
      FRootClassName = ClassName;
    } else {
      FCreated.push_back(Instance);
    }
  }
  Instance->SetComponentState(csLoading, true);
  Instance->SetComponentState(csReading, true);
  FLoaded.push_back(Instance);
  FLoadedAt.emplace_back(NameLine, NameCol);
  if (!IsRoot && OnSetName) OnSetName(Instance, Name);
  if (!Name.empty() && !(IsRoot && !FRootCreated && Instance->Name() == Name)) {
    try {
      Instance->SetName(Name);
    } catch (Exception& E) {
      throw EReadError(FFileName, NameLine, NameCol, E.Message);
    }
  }
  if (!IsRoot) {
    SetRootField(Instance, ClassLine, ClassCol);
    Instance->SetParentComponent(Parent);
  }

  while (!P.IsIdent("end")) {
    if (P.Token().Kind == TTokenKind::Eof) P.Expected("'end'");
    if (P.IsIdent("object"))
      ReadObject(Instance, false);
    else if (P.IsIdent("inherited") || P.IsIdent("inline"))
      P.Error("inherited forms are not supported");
    else
      ReadProperty(Instance);
  }
  P.Next();
}

void TReader::SetRootField(TComponent* Instance, int Line, int Column) {
  if (Instance->Owner() != FRoot || Instance->Name().empty()) return;
  const TFieldEntry* F = FRoot->ClassType()->FieldAddress(Instance->Name());
  if (!F) return;
  // The code of the form's class uses the field as a pointer to its class: a component
  // of another class under that name is refused rather than met there later.
  if (!Instance->InheritsFrom(F->FieldClass))
    throw EReadError(FFileName, Line, Column,
                     Format("%s is a %s, but the field %s of %s holds a %s",
                            {Instance->Name(), Instance->ClassName(), String(F->Name),
                             FRoot->ClassName(), String(F->FieldClass->ClassName())}));
  F->Set(FRoot, Instance);
}

void TReader::CheckRootFields() {
  // A design root's components come and go as the developer edits it (a paste reads into
  // it too); only a form that runs needs every field its class publishes.
  if (FRoot->ComponentState().Contains(csDesigning)) return;
  for (TClass C = FRoot->ClassType(); C; C = C->Parent)
    for (int I = 0; I < C->FieldCount; ++I) {
      const TFieldEntry& F = C->Fields[I];
      if (F.Get(FRoot)) continue;
      auto [Line, Column] = FLoadedAt.empty() ? std::pair(1, 1) : FLoadedAt.front();
      throw EReadError(
          FFileName, Line, Column,
          Format("field %s of %s: the form has no %s of that name",
                 {String(F.Name), FRoot->ClassName(), String(F.FieldClass->ClassName())}));
    }
}

void TReader::ReadProperties(TPersistent* Instance) {
  while (!FParser->IsIdent("end")) {
    if (FParser->Token().Kind == TTokenKind::Eof) FParser->Expected("'end'");
    ReadProperty(Instance);
  }
}

void TReader::ReadProperty(TPersistent* Instance) {
  TFormParser& P = *FParser;
  if (P.Token().Kind != TTokenKind::Ident) P.Expected("a property name");
  int Line = P.Token().Line, Col = P.Token().Column;
  std::string_view Path = P.Token().Text;
  P.Next();
  P.CheckChar('=');

  // `Font.Name`: every part but the last names a sub-object.
  TPersistent* Target = Instance;
  std::size_t Dot;
  while ((Dot = Path.find('.')) != std::string_view::npos) {
    String Part(Path.substr(0, Dot));
    PPropInfo Sub = GetPropInfo(Target, Part);
    TObject* Obj = Sub && Sub->PropType->Kind == tkClass ? GetObjectProp(Target, Sub) : nullptr;
    // The class model answers what a dynamic_cast would, without comparing type names
    // across libraries for every sub-property read.
    auto* Next = Obj && Obj->Is<TPersistent>() ? static_cast<TPersistent*>(Obj) : nullptr;
    if (!Next || Obj->Is<TComponent>())
      throw EReadError(FFileName, Line, Col,
                       Format(Sub ? "property %s of %s has no properties of its own"
                                  : "unknown property %s of %s",
                              {Part, Target->ClassName()}));
    Target = Next;
    Path.remove_prefix(Dot + 1);
  }

  FPropName = String(Path);
  // An error that knows no place in the file (a setter's, a stream's) takes the place of
  // the property being read.
  auto Placed = [&](auto&& Read) {
    try {
      Read();
    } catch (EReadError& E) {
      if (E.Line > 0) throw;
      throw EReadError(FFileName, Line, Col, Format("property %s: %s", {FPropName, E.Message}));
    } catch (Exception& E) {
      throw EReadError(FFileName, Line, Col, Format("property %s: %s", {FPropName, E.Message}));
    }
  };
  if (PPropInfo Prop = GetPropInfo(Target, FPropName)) {
    Placed([&] { ReadPropValue(Target, Prop); });
    return;
  }
  FCanHandleProp = false;
  Placed([&] { CallDefineProperties(Target, this); });
  if (!FCanHandleProp)
    throw EReadError(FFileName, Line, Col,
                     Format("unknown property %s of %s", {FPropName, Target->ClassName()}));
}

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&,
                             bool) {
  if (!FCanHandleProp && ReadData && SameText(Name, FPropName)) {
    FCanHandleProp = true;
    ReadData(this);
  }
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                   const TStreamProc&, bool) {
  if (FCanHandleProp || !ReadData || !SameText(Name, FPropName)) return;
  FCanHandleProp = true;
  if (!FParser->IsChar('{')) FParser->Expected("binary data");
  TMemoryStream Stream;
  Stream.Bytes() = FParser->ReadBinary();
  ReadData(&Stream);
}

void TReader::ExpectValueKind(TValueType Kind, const char* What) {
  if (NextValue() != Kind) FParser->Expected(What);
}

void TReader::ReadPropValue(TPersistent* Instance, PPropInfo Prop) {
  TFormParser& P = *FParser;
  PTypeInfo T = Prop->PropType;
  const TToken& Tok = P.Token();
  auto WrongKind = [&] {
    P.Expected(Format("%s for %s (%s)", {KindName(T), String(Prop->Name), String(T->Name)}));
  };
  if (!Prop->Writable && T->Kind != tkClass)
    P.Error(Format("property %s of %s is read-only", {String(Prop->Name), Instance->ClassName()}));
  switch (T->Kind) {
    case tkInteger:
    case tkInt64:
    case tkChar: {
      long long V = 0;
      if (Tok.Kind == TTokenKind::Integer) {
        V = Tok.Int;
        // Hexadecimal values name the bits of a 32-bit integer, as colours are written.
        if (T->Kind != tkInt64 && Tok.Text.find('$') != std::string_view::npos && V > 0x7FFFFFFF &&
            V <= 0xFFFFFFFF)
          V = (long long)(int)(unsigned)V;
        if (V < T->MinValue || V > T->MaxValue)
          P.Error(Format("%s is out of range for %s (%s)", {String(Tok.Text), String(Prop->Name), String(T->Name)}));
      } else if (Tok.Kind == TTokenKind::Ident && IdentToInt(T, String(Tok.Text), V)) {
      } else {
        WrongKind();
      }
      SetOrdProp(Instance, Prop, V);
      P.Next();
      return;
    }
    case tkEnumeration: {
      if (Tok.Kind != TTokenKind::Ident) WrongKind();
      int V = GetEnumValue(T, String(Tok.Text));
      if (V < 0)
        P.Error(Format("'%s' is not a value of %s (property %s)",
                       {String(Tok.Text), String(T->Name), String(Prop->Name)}));
      SetOrdProp(Instance, Prop, V);
      P.Next();
      return;
    }
    case tkSet:
      if (!P.IsChar('[')) WrongKind();
      ReadSetValue(Instance, Prop);
      return;
    case tkLString:
    case tkString:
    case tkWString:
      if (Tok.Kind != TTokenKind::String) WrongKind();
      SetStrProp(Instance, Prop, Tok.Str);
      P.Next();
      return;
    case tkMethod: {
      if (Tok.Kind != TTokenKind::Ident) WrongKind();
      String MethodName(Tok.Text);
      TMethod M;
      if (P.IsIdent("nil")) {
      } else if (OnFindMethod) {
        M = OnFindMethod(FRoot, MethodName);
        if (!M) P.Error(Format("method %s not found", {MethodName}));
      } else {
        const TMethodEntry* E = FRoot->ClassType()->MethodAddress(MethodName);
        if (!E && DropUnboundMethods) {
          P.Next();
          return;
        }
        if (!E)
          P.Error(Format("method %s not found in %s", {MethodName, FRoot->ClassName()}));
        if (E->Signature != T->Signature && String(E->Signature()) != T->Signature())
          P.Error(Format("method %s does not match %s (%s)",
                         {MethodName, String(Prop->Name), String(T->Name)}));
        M = TMethod{E->Code(), FRoot};
      }
      SetMethodProp(Instance, Prop, M);
      P.Next();
      return;
    }
    case tkClass: {
      TClass C = T->ClassType;
      if (C->InheritsFrom(TCollection::StaticClass())) {
        auto* Coll = dynamic_cast<TCollection*>(GetObjectProp(Instance, Prop));
        if (!P.IsChar('<')) WrongKind();
        if (!Coll) P.Error(Format("property %s holds no collection", {String(Prop->Name)}));
        ReadCollection(Coll);
        return;
      }
      if (!C->InheritsFrom(TComponent::StaticClass()) || Tok.Kind != TTokenKind::Ident) {
        if (C->InheritsFrom(TComponent::StaticClass())) WrongKind();
        P.Error(Format("property %s (%s) is set through its own properties, as %s.Name = value",
                       {String(Prop->Name), String(T->Name), String(Prop->Name)}));
      }
      if (!Prop->Writable)
        P.Error(Format("property %s of %s is read-only", {String(Prop->Name), Instance->ClassName()}));
      if (P.IsIdent("nil"))
        SetObjectProp(Instance, Prop, nullptr);
      else
        FFixups.push_back({Instance, Prop, String(Tok.Text), Tok.Line, Tok.Column});
      P.Next();
      return;
    }
    default:
      P.Error(Format("property %s has a type that form files cannot hold", {String(Prop->Name)}));
  }
}

void TReader::ReadSetValue(TPersistent* Instance, PPropInfo Prop) {
  TFormParser& P = *FParser;
  PTypeInfo E = Prop->PropType->CompType;
  P.Next();  // '['
  unsigned long long Bits = 0;
  if (!P.IsChar(']')) {
    for (;;) {
      if (P.Token().Kind != TTokenKind::Ident) P.Expected(Format("a member of %s", {String(E->Name)}));
      int V = GetEnumValue(E, String(P.Token().Text));
      if (V < 0 || V >= 64)
        P.Error(Format("'%s' is not a member of %s", {String(P.Token().Text), String(E->Name)}));
      Bits |= 1ULL << V;
      P.Next();
      if (P.IsChar(']')) break;
      if (!P.IsChar(',')) P.Expected("',' or ']'");
      P.Next();
    }
  }
  P.Next();
  SetOrdProp(Instance, Prop, (long long)Bits);
}

void TReader::ReadCollection(TCollection* Collection) {
  TFormParser& P = *FParser;
  P.CheckChar('<');
  Collection->BeginUpdate();
  try {
    Collection->Clear();
    while (!P.IsChar('>')) {
      if (!P.IsIdent("item")) P.Expected("'item' or '>'");
      P.Next();
      if (P.IsChar('[')) {
        P.Next();
        if (P.Token().Kind != TTokenKind::Integer) P.Expected("an integer");
        P.Next();
        P.CheckChar(']');
      }
      TCollectionItem* Item = Collection->Add();
      ReadProperties(Item);
      P.Next();  // 'end'
    }
    P.Next();
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

void TReader::ResolveFixups() {
  for (const TFixup& F : FFixups) {
    TComponent* Target = nullptr;
    String Name = F.Name;
    size_t Dot = Name.find('.');
    if (Dot != String::npos) {
      // `Root.Component`: only references into this form can be resolved here.
      if (SameText(Name.substr(0, Dot), FRoot->Name())) Target = FRoot->FindComponent(Name.substr(Dot + 1));
    } else if (SameText(Name, FRoot->Name())) {
      Target = FRoot;
    } else {
      Target = FRoot->FindComponent(Name);
    }
    if (!Target && DropUnresolvedReferences) continue;
    if (!Target)
      throw EReadError(FFileName, F.Line, F.Column,
                       Format("unknown component %s for property %s", {Name, String(F.Prop->Name)}));
    try {
      SetObjectProp(F.Instance, F.Prop, Target);
    } catch (Exception& E) {
      throw EReadError(FFileName, F.Line, F.Column,
                       Format("property %s: %s", {String(F.Prop->Name), E.Message}));
    }
  }
  FFixups.clear();
}

TValueType TReader::NextValue() {
  const TToken& T = FParser->Token();
  switch (T.Kind) {
    case TTokenKind::Ident:
      if (FParser->IsIdent("True")) return vaTrue;
      if (FParser->IsIdent("False")) return vaFalse;
      if (FParser->IsIdent("nil")) return vaNil;
      return vaIdent;
    case TTokenKind::String: return vaString;
    case TTokenKind::Integer: return vaInt32;
    case TTokenKind::Float: return vaExtended;
    case TTokenKind::Char:
      switch (T.Ch) {
        case '(': return vaList;
        case '[': return vaSet;
        case '<': return vaCollection;
        case '{': return vaBinary;
        default: return vaNull;
      }
    case TTokenKind::Eof: return vaNull;
  }
  return vaNull;
}

bool TReader::EndOfList() {
  if (FParser->Token().Kind == TTokenKind::Eof) FParser->Expected("')'");
  return FParser->IsChar(')');
}

void TReader::ReadListBegin() { FParser->CheckChar('('); }
void TReader::ReadListEnd() { FParser->CheckChar(')'); }

String TReader::ReadString() {
  ExpectValueKind(vaString, "a string");
  String S = FParser->Token().Str;
  FParser->Next();
  return S;
}

long long TReader::ReadInt64() {
  ExpectValueKind(vaInt32, "an integer");
  long long V = FParser->Token().Int;
  FParser->Next();
  return V;
}

int TReader::ReadInteger() {
  long long V = FParser->Token().Int;
  if (NextValue() == vaInt32 && (V < INT32_MIN || V > INT32_MAX))
    FParser->Error("integer out of range");
  return int(ReadInt64());
}

bool TReader::ReadBoolean() {
  TValueType V = NextValue();
  if (V != vaTrue && V != vaFalse) FParser->Expected("True or False");
  FParser->Next();
  return V == vaTrue;
}

String TReader::ReadIdent() {
  return FParser->TakeIdent("an identifier");
}

// --- TWriter --------------------------------------------------------------------------

namespace {
// Printable text stands in quotes; control characters as #nn, as the platform writes them.
void AppendQuoted(String& Out, const String& S) {
  if (S.empty()) {
    Out += "''";
    return;
  }
  auto Control = [](unsigned char C) { return C < 32 || C == 127; };
  size_t I = 0, N = S.size();
  while (I < N) {
    if (Control((unsigned char)S[I])) {
      Out += '#';
      Out += std::to_string(unsigned((unsigned char)S[I]));
      ++I;
      continue;
    }
    Out += '\'';
    while (I < N && !Control((unsigned char)S[I])) {
      // Whole runs at once: a large form is mostly such text.
      size_t Run = I;
      while (Run < N && S[Run] != '\'' && !Control((unsigned char)S[Run])) ++Run;
      Out.append(S, I, Run - I);
      I = Run;
      if (I < N && S[I] == '\'') {
        Out += "''";
        ++I;
      }
    }
    Out += '\'';
  }
}
}  // namespace

TWriter::TWriter() = default;
TWriter::~TWriter() = default;

void TWriter::NewLine() {
  // Growing one string by doubling copies a large form again and again; parts of a
  // fixed size are joined once at the end instead.
  if (FText.size() >= (1u << 20)) {
    FChunks.push_back(std::move(FText));
    FText = String();
    FText.reserve((1u << 20) + 4096);
  }
  FText += '\n';
  FText.append(size_t(FIndent) * 2, ' ');
}

void TWriter::WritePropName(const String& Name) {
  NewLine();
  FText += FPropPath;
  FText += Name;
  FText += " = ";
}

void TWriter::WriteValueSeparator() {
  // Inside a list every value stands on a line of its own.
  if (FListDepth > 0) NewLine();
}

void TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = FLookupRoot = Root;
  WriteComponent(Root);
  FText += '\n';
}

void TWriter::WriteComponentOf(TComponent* Component, TComponent* Root) {
  FRoot = FLookupRoot = Root;
  WriteComponent(Component);
  FText += '\n';
}

String TWriter::TakeText() {
  FChunks.push_back(std::move(FText));
  FText = String();
  size_t Size = 0;
  for (const String& C : FChunks) Size += C.size();
  String Result;
  Result.reserve(Size);
  for (const String& C : FChunks) {
    // Every object starts on a new line, the first one too; the text does not.
    size_t Skip = Result.empty() && !C.empty() && C[0] == '\n' ? 1 : 0;
    Result.append(C, Skip, String::npos);
  }
  FChunks.clear();
  return Result;
}

void TWriter::WriteComponent(TComponent* Component) {
  Component->SetComponentState(csWriting, true);
  NewLine();
  FText += "object ";
  if (!Component->Name().empty()) {
    FText += Component->Name();
    FText += ": ";
  }
  FText += Component->ClassName();
  ++FIndent;
  try {
    WriteProperties(Component);
    Component->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
  } catch (...) {
    --FIndent;
    Component->SetComponentState(csWriting, false);
    throw;
  }
  --FIndent;
  NewLine();
  FText += "end";
  Component->SetComponentState(csWriting, false);
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (PPropInfo P : GetPropList(Instance))
    if (IsStoredProp(Instance, P)) WriteProperty(Instance, P);
  CallDefineProperties(Instance, this);
}

String TWriter::ComponentRefName(TComponent* Value) const {
  if (Value == FLookupRoot || Value->Owner() == FLookupRoot) return Value->Name();
  if (Value->Owner() && !Value->Owner()->Name().empty())
    return Value->Owner()->Name() + "." + Value->Name();
  return Value->Name();
}

void TWriter::WriteProperty(TPersistent* Instance, PPropInfo P) {
  PTypeInfo T = P->PropType;
  switch (PropClassOf(T->Kind)) {
    case TPropClass::Ordinal: {
      if (!P->Writable) return;
      long long V = GetOrdProp(Instance, P);
      if (P->Default != NoDefault && V == P->Default) return;
      WritePropName(P->Name);
      String Ident;
      if (T->Kind == tkEnumeration)
        FText += GetEnumName(T, V);
      else if (T->Kind == tkSet)
        FText += "[" + StringReplaceAll(SetToString(T, V), ",", ", ") + "]";
      else if (IntToIdent(T, V, Ident))
        FText += Ident;
      else
        FText += IntToStr(V);
      return;
    }
    case TPropClass::String: {
      if (!P->Writable) return;
      String V = GetStrProp(Instance, P);
      if (V.empty()) return;
      WritePropName(P->Name);
      AppendQuoted(FText, V);
      return;
    }
    case TPropClass::Method: {
      TMethod M = GetMethodProp(Instance, P);
      if (!M) return;
      String Name;
      if (OnFindMethodName)
        Name = OnFindMethodName(M);
      else if (M.Data == FLookupRoot)
        Name = FLookupRoot->ClassType()->MethodName(M.Code);
      if (Name.empty()) return;  // wired in code, not in the form
      WritePropName(P->Name);
      FText += Name;
      return;
    }
    case TPropClass::Object: {
      TObject* V = GetObjectProp(Instance, P);
      if (!V) return;
      auto* Comp = dynamic_cast<TComponent*>(V);
      if (Comp && !Comp->ComponentStyle().Contains(csSubComponent)) {
        if (!P->Writable || Comp->Name().empty()) return;
        WritePropName(P->Name);
        FText += ComponentRefName(Comp);
        return;
      }
      if (auto* Coll = dynamic_cast<TCollection*>(V)) {
        if (Coll->Count() == 0) return;
        WritePropName(P->Name);
        WriteCollection(Coll);
        return;
      }
      if (auto* Sub = dynamic_cast<TPersistent*>(V)) {
        String Saved = FPropPath;
        FPropPath += P->Name;
        FPropPath += '.';
        try {
          WriteProperties(Sub);
        } catch (...) {
          FPropPath = Saved;
          throw;
        }
        FPropPath = Saved;
      }
      return;
    }
  }
}

void TWriter::WriteCollection(TCollection* Value) {
  FText += '<';
  String Saved = FPropPath;
  FPropPath.clear();
  ++FIndent;
  for (int I = 0; I < Value->Count(); ++I) {
    NewLine();
    FText += "item";
    ++FIndent;
    WriteProperties(Value->Items(I));
    --FIndent;
    NewLine();
    FText += "end";
  }
  --FIndent;
  FPropPath = Saved;
  FText += '>';
}

void TWriter::WriteListBegin() {
  WriteValueSeparator();
  FText += '(';
  ++FListDepth;
  ++FIndent;
}

void TWriter::WriteListEnd() {
  --FListDepth;
  --FIndent;
  FText += ')';
}

void TWriter::WriteString(const String& Value) {
  WriteValueSeparator();
  AppendQuoted(FText, Value);
}

void TWriter::WriteInteger(long long Value) {
  WriteValueSeparator();
  FText += IntToStr(Value);
}

void TWriter::WriteBoolean(bool Value) {
  WriteValueSeparator();
  FText += Value ? "True" : "False";
}

void TWriter::WriteIdent(const String& Ident) {
  WriteValueSeparator();
  FText += Ident;
}

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  TMemoryStream Stream;
  WriteData(&Stream);
  WritePropName(Name);
  FText += '{';
  static const char Hex[] = "0123456789ABCDEF";
  const std::vector<Byte>& Bytes = Stream.Bytes();
  ++FIndent;
  for (size_t I = 0; I < Bytes.size(); ++I) {
    if (I % 32 == 0) NewLine();
    FText += Hex[Bytes[I] >> 4];
    FText += Hex[Bytes[I] & 15];
  }
  --FIndent;
  FText += '}';
}

// --- Convenience ----------------------------------------------------------------------

String ComponentToText(TComponent* Root) {
  TWriter Writer;
  Writer.WriteRootComponent(Root);
  return Writer.TakeText();
}

TComponent* ComponentFromText(const String& Text, const String& FileName, TComponent* Root,
                              TComponent* Owner) {
  TReader Reader(Text.data(), Text.size(), FileName);
  return Reader.ReadRootComponent(Root, Owner);
}

TComponent* ReadComponentFile(const String& FileName, TComponent* Root, TComponent* Owner) {
  TReader Reader(ReadFileToString(FileName), FileName);
  return Reader.ReadRootComponent(Root, Owner);
}

void WriteComponentFile(const String& FileName, TComponent* Root) {
  String Text = ComponentToText(Root);
  WriteFileAtomically(FileName, Text.data(), Text.size());
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  // The form description of the most derived class that has one, from the module that
  // defines that class (or the language module that took over for it).
  for (TClass C = Instance->ClassType(); C && C != RootAncestor; C = C->Parent) {
    const TResourceEntry* R =
        FindResource(FindResourceHInstance(FindClassHInstance(C)), UpperCase(C->ClassName()), RT_RCDATA);
    if (!R) continue;
    // Resources are constant and live as long as their module.
    TReader Reader(reinterpret_cast<const char*>(R->Data), R->Size, UpperCase(C->ClassName()) + ".dfm");
    Reader.ReadRootComponent(Instance);
    return true;
  }
  return false;
}
