#include "Session.h"

#include <algorithm>
#include <cstdio>

#include "ComponentEditors.h"
#include "Inspector.h"
#include "Packages.h"
#include "Registries.h"

namespace {

[[noreturn]] void Usage(const String& Text) { throw EConvertError("usage: " + Text); }

String Pad(const String& S, size_t Width) { return S.size() >= Width ? S : S + String(Width - S.size(), ' '); }

String Join(const std::vector<String>& Items, const String& Sep) {
  String R;
  for (size_t I = 0; I < Items.size(); ++I) R += (I ? Sep : String()) + Items[I];
  return R;
}

std::vector<String> AttributeNames(TPropertyAttributes A) {
  std::vector<String> R;
  PTypeInfo T = TypeInfo<TPropertyAttribute>();
  for (long long V = T->MinValue; V <= T->MaxValue; ++V)
    if (A.Contains(TPropertyAttribute(V))) R.push_back(GetEnumName(T, V));
  return R;
}

String ObjectName(TPersistent* P) {
  if (auto* C = dynamic_cast<TComponent*>(P)) return C->Name().empty() ? "(" + C->ClassName() + ")" : C->Name();
  return P->GetNamePath();
}

}  // namespace

TSession::TSession(bool Json) : FIde(std::make_unique<TIde>()), FJson(Json) {
  DefineCommands();
  DefineWindowCommands();
}

TSession::~TSession() = default;

namespace {
// ${NAME} is the environment variable's value, for scripts that name scratch folders.
String ExpandVariables(const String& Line) {
  String R;
  size_t I = 0;
  while (I < Line.size()) {
    if (Line.compare(I, 2, "${") == 0) {
      size_t End = Line.find('}', I + 2);
      if (End == String::npos) throw EConvertError(Format("unterminated ${ at column %d", {int(I) + 1}));
      String Name = Line.substr(I + 2, End - I - 2);
      const char* Value = getenv(Name.c_str());
      if (!Value) throw EConvertError(Format("the environment has no variable %s", {Name}));
      R += Value;
      I = End + 1;
    } else {
      R += Line[I++];
    }
  }
  return R;
}
}  // namespace

std::vector<String> TSession::Words(const String& RawLine) {
  String Line = ExpandVariables(RawLine);
  std::vector<String> R;
  size_t I = 0;
  while (I < Line.size()) {
    while (I < Line.size() && (Line[I] == ' ' || Line[I] == '\t')) ++I;
    if (I >= Line.size()) break;
    String W;
    bool Quoted = false;
    while (I < Line.size() && Line[I] != ' ' && Line[I] != '\t') {
      char Q = Line[I];
      if (Q == '\'' || Q == '"') {
        // As in form files, a doubled quote inside the quotes stands for one.
        Quoted = true;
        size_t Start = I;
        ++I;
        for (;;) {
          if (I >= Line.size()) throw EConvertError(Format("unterminated quote at column %d", {int(Start) + 1}));
          if (Line[I] == Q) {
            if (I + 1 < Line.size() && Line[I + 1] == Q) {
              W += Q;
              I += 2;
              continue;
            }
            ++I;
            break;
          }
          W += Line[I++];
        }
      } else {
        W += Line[I++];
      }
    }
    if (!W.empty() || Quoted) R.push_back(W);
  }
  return R;
}

void TSession::Define(const String& Name, const String& Usage, const String& Help, THandler Handler) {
  FCommands[Name] = TCommand{Usage, Help, std::move(Handler)};
}

std::vector<String> TSession::CommandNames() const {
  std::vector<String> R;
  for (const auto& [Name, C] : FCommands) R.push_back(Name);
  return R;
}

TCommandResult TSession::Run(const String& Line) {
  std::vector<String> W = Words(Line);
  if (W.empty() || W[0][0] == '#') return {};
  auto It = FCommands.find(LowerCase(W[0]));
  if (It == FCommands.end()) throw EConvertError(Format("unknown command '%s' (try 'help')", {W[0]}));
  W.erase(W.begin());
  TCommandResult R = It->second.Handler(W);
  // Windows released meanwhile go now; an event handler's failure is the command's.
  Application->ProcessMessages();
  if (!Application->Errors().empty()) {
    String E = Application->Errors().front();
    Application->ClearErrors();
    throw EConvertError(E);
  }
  // Input given ahead that no modal window took is an error of the script, not input
  // for whatever window comes next.
  if (!FAhead && LowerCase(It->first) != "ahead" && Application->Input()->HasInput()) {
    auto* Q = dynamic_cast<TInputQueue*>(Application->Input());
    int Left = Q ? Q->Count() : 1;
    if (Q) Q->Clear();
    throw EConvertError(Format("%d input(s) given ahead were not taken by a window", {Left}));
  }
  return R;
}

void TSession::Print(const TCommandResult& R, const String& Command, FILE* Out) {
  if (FJson) {
    TJson J = TJson::object();
    J["command"] = Command;
    J["ok"] = true;
    for (auto& [K, V] : R.Json.items()) J[K] = V;
    std::fprintf(Out, "%s\n", J.dump().c_str());
  } else if (!R.Text.empty()) {
    std::fputs(R.Text.c_str(), Out);
    if (R.Text.back() != '\n') std::fputc('\n', Out);
  }
  std::fflush(Out);
}

int TSession::RunScript(const String& Text, const String& Where, FILE* Out) {
  TStringList Lines;
  Lines.SetText(Text);
  for (int I = 0; I < Lines.Count() && !FQuit; ++I) {
    String Line = Trim(Lines.Strings(I));
    if (Line.empty() || Line[0] == '#') continue;
    // `! command`: the command is expected to fail; its error is shown and the script
    // goes on, and a success stops the script instead.
    bool ExpectError = Line[0] == '!';
    if (ExpectError) Line = Trim(Line.substr(1));
    try {
      if (ExpectError) {
        try {
          Run(Line);
        } catch (Exception& E) {
          TCommandResult R;
          R.Text = "error: " + E.Message + "\n";
          R.Json["error"] = E.Message;
          Print(R, Line, Out);
          continue;
        }
        throw EConvertError("the command succeeded, but the script expected an error");
      }
      Print(Run(Line), Line, Out);
    } catch (Exception& E) {
      String Msg = Format("%s:%d: %s", {Where, I + 1, E.Message});
      if (FJson) {
        TJson J = {{"command", Line}, {"ok", false}, {"error", Msg}};
        std::fprintf(Out, "%s\n", J.dump().c_str());
        std::fflush(Out);
      }
      std::fprintf(stderr, "%s\n", Msg.c_str());
      return 1;
    }
  }
  return 0;
}

TDesigner* TSession::Form() const {
  TDesigner* D = FIde->ActiveDesigner();
  if (!D) throw EConvertError("no form is open (use 'open FILE' or 'new CLASS NAME')");
  return D;
}

// `Form1`, `Grid1`, `Grid1.Columns`, `Grid1.Columns[2]`, `Grid1.Columns[2].Title`.
TPersistent* TSession::Resolve(const String& Path) const {
  TDesigner* D = Form();
  TComponent* Root = D->GetRoot();
  size_t Dot = Path.find_first_of(".[");
  String Head = Path.substr(0, Dot);
  TPersistent* Current = SameText(Head, Root->Name()) ? Root : Root->FindComponent(Head);
  if (!Current) throw EConvertError(Format("the form has no component %s", {Head}));
  size_t I = Dot;
  while (I != String::npos && I < Path.size()) {
    if (Path[I] == '[') {
      size_t End = Path.find(']', I);
      auto* Coll = dynamic_cast<TCollection*>(Current);
      int Index;
      if (End == String::npos || !TryStrToInt(Path.substr(I + 1, End - I - 1), Index))
        throw EConvertError(Format("bad index in %s", {Path}));
      if (!Coll) throw EConvertError(Format("%s is not a collection", {Path.substr(0, I)}));
      if (Index < 0 || Index >= Coll->Count())
        throw EConvertError(Format("%s has no item %d (it has %d)", {Path.substr(0, I), Index, Coll->Count()}));
      Current = Coll->Items(Index);
      I = End + 1;
    } else if (Path[I] == '.') {
      size_t End = Path.find_first_of(".[", I + 1);
      String Prop = Path.substr(I + 1, End == String::npos ? String::npos : End - I - 1);
      PPropInfo P = GetPropInfo(Current, Prop);
      auto* Sub = P && P->PropType->Kind == tkClass ? dynamic_cast<TPersistent*>(GetObjectProp(Current, P)) : nullptr;
      if (!Sub) throw EConvertError(Format("%s has no object property %s", {ObjectName(Current), Prop}));
      Current = Sub;
      I = End;
    } else {
      throw EConvertError(Format("bad object path %s", {Path}));
    }
  }
  return Current;
}

TComponent* TSession::ResolveComponent(const String& Path) const {
  auto* C = dynamic_cast<TComponent*>(Resolve(Path));
  if (!C) throw EConvertError(Format("%s is not a component", {Path}));
  return C;
}

TCommandResult TSession::Inspect(const std::vector<String>& Args) {
  TObjectInspector& I = FIde->Inspector();
  TCommandResult R;
  R.Json["rows"] = TJson::array();
  auto Describe = [&](const TInspectorRow& Row) {
    TJson J = {{"name", Row.Name},
               {"value", Row.Value()},
               {"type", Row.TypeName()},
               {"editor", Row.EditorClass()},
               {"attributes", AttributeNames(Row.Attributes())}};
    return J;
  };
  if (!Args.empty()) {
    const TInspectorRow& Row = I.Row(Args[0]);
    R.Json["rows"].push_back(Describe(Row));
    R.Text = Format("%s = %s\n  type %s, editor %s\n  [%s]\n",
                    {Row.Name, Row.Value(), Row.TypeName(), Row.EditorClass(), Join(AttributeNames(Row.Attributes()), ", ")});
    return R;
  }
  if (I.Objects().empty()) {
    R.Text = "(nothing selected)\n";
    return R;
  }
  String Current = I.CurrentRow();
  size_t W = 0;
  for (const TInspectorRow& Row : I.Rows()) W = std::max(W, Row.Name.size() + size_t(Row.Depth) * 2);
  for (const TInspectorRow& Row : I.Rows()) {
    R.Json["rows"].push_back(Describe(Row));
    String Name = String(size_t(Row.Depth) * 2, ' ') + Row.Name.substr(Row.Name.rfind('.') == String::npos ? 0 : Row.Name.rfind('.') + 1);
    String Marker = Row.Attributes().Contains(paSubProperties) ? (Row.Expanded ? "-" : "+") : " ";
    bool Here = Row.Name == Current;
    R.Text += Marker + (Here ? ">" : " ") + Pad(Name, W) + "  " + Row.Value();
    if (Row.Attributes().Contains(paDialog)) R.Text += " [...]";
    if (Row.Attributes().Contains(paValueList)) R.Text += " [v]";
    if (Here && I.Editing()) R.Text += "  (editing: '" + I.EditText() + "')";
    R.Text += "\n";
  }
  R.Json["current"] = Current;
  R.Json["editing"] = I.Editing();
  return R;
}

void TSession::DefineCommands() {
  Define("help", "help [COMMAND]", "lists the commands, or tells how to use one", [this](const auto& A) {
    TCommandResult R;
    for (const auto& [Name, C] : FCommands) {
      if (!A.empty() && !SameText(A[0], Name)) continue;
      R.Text += Pad(C.Usage, 34) + " " + C.Help + "\n";
      R.Json["commands"].push_back({{"usage", C.Usage}, {"help", C.Help}});
    }
    if (R.Text.empty()) throw EConvertError(Format("no command %s", {A[0]}));
    return R;
  });

  Define("quit", "quit", "ends the session", [this](const auto&) {
    FQuit = true;
    return TCommandResult{};
  });

  Define("echo", "echo TEXT...", "prints its words (for scripts)", [](const auto& A) {
    TCommandResult R;
    R.Text = Join(A, " ") + "\n";
    R.Json["text"] = Join(A, " ");
    return R;
  });

  // --- Packages and the palette --------------------------------------------------------
  Define("packages", "packages", "the loaded packages with their identity", [this](const auto&) {
    TCommandResult R;
    R.Json["packages"] = TJson::array();
    for (const auto& P : FIde->Packages().Packages()) {
      String Version;
      for (const auto& [K, V] : P->Version)
        if (K == "FileVersion") Version = V;
      R.Text += Format("%s  %s\n", {ExtractFileName(P->FileName), P->Description});
      R.Text += "  kind: " + P->Kind + "\n  release: " + IntToStr(P->HostRelease) + "\n  version: " + Version + "\n";
      R.Text += "  requires: " + Join(P->Requires, ", ") + "\n  contains: " + Join(P->Contains, ", ") + "\n";
      for (const String& E : P->Errors) R.Text += "  error: " + E + "\n";
      TJson V = TJson::object();
      for (const auto& [K, Val] : P->Version) V[K] = Val;
      R.Json["packages"].push_back({{"file", P->FileName},
                                    {"description", P->Description},
                                    {"kind", P->Kind},
                                    {"release", P->HostRelease},
                                    {"requires", P->Requires},
                                    {"contains", P->Contains},
                                    {"version", V},
                                    {"log", P->Log},
                                    {"errors", P->Errors}});
    }
    if (R.Text.empty()) R.Text = "(no package loaded)\n";
    return R;
  });

  Define("package-log", "package-log [NAME]", "what loading a package (the first by default) did, in order",
         [this](const auto& A) {
    if (A.size() > 1) Usage("package-log [NAME]");
    const auto& All = FIde->Packages().Packages();
    TPackageRecord* P = A.empty() ? (All.empty() ? nullptr : All.front().get()) : FIde->Packages().Find(A[0]);
    if (!P) throw EConvertError(A.empty() ? String("no package is loaded") : Format("no package %s is loaded", {A[0]}));
    TCommandResult R;
    R.Text = Join(P->Log, "\n") + "\n";
    R.Json["log"] = P->Log;
    return R;
  });

  Define("load", "load FILE|NAME", "loads a design package (a bare name: the one beside omide)", [this](const auto& A) {
    if (A.size() != 1) Usage("load FILE|NAME");
    String File = A[0].find('/') == String::npos ? PackageFileBesideIde(ChangeFileExt(A[0], "")) : A[0];
    TPackageRecord* P = FIde->Packages().Load(File);
    TCommandResult R;
    R.Text = "loaded " + ExtractFileName(P->FileName) + "\n";
    for (const String& E : P->Errors) R.Text += "error: " + E + "\n";
    R.Json["file"] = P->FileName;
    R.Json["errors"] = P->Errors;
    return R;
  });

  Define("unload", "unload NAME", "unloads a design package", [this](const auto& A) {
    if (A.size() != 1) Usage("unload NAME");
    TPackageRecord* P = FIde->Packages().Find(A[0]);
    if (!P) throw EConvertError(Format("no package %s is loaded", {A[0]}));
    String Name = ExtractFileName(P->FileName);
    FIde->Packages().Unload(P);
    TCommandResult R;
    R.Text = "unloaded " + Name + "\n";
    return R;
  });

  Define("palette", "palette", "the component palette: pages and their components", [](const auto&) {
    TCommandResult R;
    R.Json["pages"] = TJson::array();
    TRegistries& Reg = TRegistries::Instance();
    for (const String& Page : Reg.PalettePages()) {
      R.Text += Page + ":\n";
      TJson J = {{"page", Page}, {"components", TJson::array()}};
      for (const TPaletteEntry& E : Reg.Palette) {
        if (E.Page != Page) continue;
        String Bitmap = "no bitmap";
        int W = 0, H = 0, Bits = 0;
        if (E.Bitmap && E.Bitmap->Size >= 30) {
          auto U32 = [&](size_t At) {
            return int(E.Bitmap->Data[At] | E.Bitmap->Data[At + 1] << 8 | E.Bitmap->Data[At + 2] << 16 | E.Bitmap->Data[At + 3] << 24);
          };
          W = U32(18);
          H = U32(22);
          Bits = E.Bitmap->Data[28];
          Bitmap = Format("bitmap %s %dx%d, %d colours", {String(E.Bitmap->Name), W, H, 1 << Bits});
        }
        R.Text += "  " + Pad(E.ComponentClass->ClassName(), 26) + " " + Bitmap + "\n";
        J["components"].push_back({{"class", E.ComponentClass->ClassName()},
                                   {"unit", E.ComponentClass->UnitName},
                                   {"bitmap", E.Bitmap ? String(E.Bitmap->Name) : String()},
                                   {"width", W},
                                   {"height", H}});
      }
      R.Json["pages"].push_back(J);
    }
    if (R.Text.empty()) R.Text = "(the palette is empty)\n";
    return R;
  });

  // --- Forms ---------------------------------------------------------------------------
  Define("forms", "forms", "the open forms; * marks the active one", [this](const auto&) {
    TCommandResult R;
    R.Json["forms"] = TJson::array();
    for (const auto& D : FIde->Designers()) {
      bool Active = D.get() == FIde->ActiveDesigner();
      R.Text += Format("%s %s: %s  %s%s\n", {String(Active ? "*" : " "), D->GetRoot()->Name(), D->GetRootClassName(),
                                             D->FileName().empty() ? String("(not saved)") : D->FileName(),
                                             String(D->IsModified() ? "  (modified)" : "")});
      R.Json["forms"].push_back({{"name", D->GetRoot()->Name()},
                                 {"class", D->GetRootClassName()},
                                 {"designedAs", D->GetRoot()->ClassName()},
                                 {"file", D->FileName()},
                                 {"active", Active},
                                 {"modified", D->IsModified()}});
    }
    if (R.Text.empty()) R.Text = "(no form is open)\n";
    return R;
  });

  Define("open", "open FILE", "opens a form file for design", [this](const auto& A) {
    if (A.size() != 1) Usage("open FILE");
    TDesigner* D = FIde->OpenForm(A[0]);
    TCommandResult R;
    R.Text = Format("opened %s (%s, %d components)\n", {D->GetRoot()->Name(), D->GetRootClassName(), D->GetRoot()->ComponentCount()});
    R.Json["form"] = D->GetRoot()->Name();
    return R;
  });

  Define("new", "new CLASS NAME", "a new form (or data module) of that class", [this](const auto& A) {
    if (A.size() != 2) Usage("new CLASS NAME");
    TPersistentClass C = GetClass(A[0]);
    if (!C || !C->InheritsFrom(TComponent::StaticClass())) throw EConvertError(Format("no component class %s", {A[0]}));
    TDesigner* D = FIde->NewForm(TClass(C), A[1]);
    TCommandResult R;
    R.Text = "new " + D->GetRoot()->Name() + "\n";
    return R;
  });

  Define("activate", "activate FORM", "makes an open form the active one", [this](const auto& A) {
    if (A.size() != 1) Usage("activate FORM");
    TDesigner* D = FIde->FindDesigner(A[0]);
    if (!D) throw EConvertError(Format("no form %s is open", {A[0]}));
    FIde->SetActiveDesigner(D);
    return TCommandResult{};
  });

  Define("close", "close [FORM]", "closes a form (the active one by default)", [this](const auto& A) {
    TDesigner* D = A.empty() ? Form() : FIde->FindDesigner(A[0]);
    if (!D) throw EConvertError(Format("no form %s is open", {A[0]}));
    String Name = D->GetRoot()->Name();
    FIde->CloseDesigner(D);
    TCommandResult R;
    R.Text = "closed " + Name + "\n";
    return R;
  });

  Define("components", "components", "the components of the active form", [this](const auto&) {
    TComponent* Root = Form()->GetRoot();
    TCommandResult R;
    R.Text = Root->Name() + ": " + Form()->GetRootClassName() + "\n";
    R.Json["components"] = TJson::array();
    std::function<void(TComponent*, int)> Walk = [&](TComponent* C, int Depth) {
      C->GetChildren(
          [&](TComponent* Child) {
            R.Text += String(size_t(Depth) * 2, ' ') + Child->Name() + ": " + Child->ClassName() + "\n";
            R.Json["components"].push_back({{"name", Child->Name()}, {"class", Child->ClassName()}, {"depth", Depth}});
            Walk(Child, Depth + 1);
          },
          Root);
    };
    Walk(Root, 1);
    return R;
  });

  Define("text", "text", "the active form as its file holds it", [this](const auto&) {
    TCommandResult R;
    R.Text = Form()->FormText();
    R.Json["text"] = R.Text;
    return R;
  });

  Define("save", "save [FILE]", "saves the active form", [this](const auto& A) {
    TDesigner* D = Form();
    String File = A.empty() ? D->FileName() : A[0];
    if (File.empty()) throw EConvertError("the form has no file yet: save FILE");
    D->Save(File);
    TCommandResult R;
    R.Text = "saved " + File + "\n";
    R.Json["file"] = File;
    return R;
  });

  Define("methods", "methods", "the event handlers in the form's source", [this](const auto&) {
    TDesigner* D = Form();
    TCommandResult R;
    for (const String& M : D->MethodNames()) R.Text += M + "\n";
    if (!D->LastShownMethod().empty()) R.Text += "(the code editor shows " + D->LastShownMethod() + ")\n";
    R.Json["methods"] = D->MethodNames();
    R.Json["shown"] = D->LastShownMethod();
    return R;
  });

  // --- Selection and the inspector --------------------------------------------------------
  Define("select", "select [OBJECT[,OBJECT...]]",
         "selects components, a collection (Grid1.Columns) or items (Grid1.Columns[2])", [this](const auto& A) {
           std::vector<TPersistent*> Items;
           for (const String& Arg : A) {
             size_t Pos = 0;
             while (Pos <= Arg.size()) {
               size_t Comma = Arg.find(',', Pos);
               String Part = Trim(Arg.substr(Pos, Comma == String::npos ? String::npos : Comma - Pos));
               if (!Part.empty()) Items.push_back(Resolve(Part));
               if (Comma == String::npos) break;
               Pos = Comma + 1;
             }
           }
           // Selecting on the form is working on the form: its window becomes the active one.
           FIde->SetActiveDesigner(Form());
           Form()->SetSelection(Items);
           TCommandResult R;
           return R;
         });

  Define("selection", "selection", "what the designer has selected", [this](const auto&) {
    TCommandResult R;
    R.Json["selection"] = TJson::array();
    for (TPersistent* P : Form()->Selection()) {
      R.Text += ObjectName(P) + ": " + P->ClassName() + "\n";
      R.Json["selection"].push_back({{"name", ObjectName(P)}, {"class", P->ClassName()}});
    }
    if (R.Text.empty()) R.Text = "(nothing selected)\n";
    return R;
  });

  Define("inspect", "inspect [PROPERTY]", "the object inspector's rows, or one row in detail",
         [this](const auto& A) { return Inspect(A); });

  Define("row", "row PROPERTY", "puts the object inspector on a row (marked > by inspect)", [this](const auto& A) {
    if (A.size() != 1) Usage("row PROPERTY");
    FIde->Inspector().SetCurrentRow(A[0]);
    return TCommandResult{};
  });

  Define("inspector", "inspector [type TEXT|enter|escape]",
         "the object inspector when a window activated it: types on into its edit, finishes or "
         "cancels the edit",
         [this](const auto& A) {
           TObjectInspector& I = FIde->Inspector();
           TCommandResult R;
           if (A.empty()) {
             R.Text = I.Editing() ? "editing " + I.CurrentRow() + ": '" + I.EditText() + "'\n" : String("not editing\n");
             R.Json["editing"] = I.Editing();
             R.Json["row"] = I.CurrentRow();
             R.Json["text"] = I.EditText();
             return R;
           }
           if (!I.Editing()) throw EConvertError("the object inspector is not editing a value");
           if (SameText(A[0], "enter") && A.size() == 1) I.FinishEdit(true);
           else if (SameText(A[0], "escape") && A.size() == 1) I.FinishEdit(false);
           else if (SameText(A[0], "type") && A.size() == 2) I.TypeText(A[1]);
           else Usage("inspector [type TEXT|enter|escape]");
           return R;
         });

  Define("values", "values PROPERTY", "the drop-down list of a property", [this](const auto& A) {
    if (A.size() != 1) Usage("values PROPERTY");
    TCommandResult R;
    std::vector<String> V = FIde->Inspector().ValueList(A[0]);
    R.Text = V.empty() ? String("(no value list)\n") : Join(V, "\n") + "\n";
    R.Json["values"] = V;
    return R;
  });

  Define("set", "set PROPERTY VALUE", "types a value into a property and presses Enter", [this](const auto& A) {
    if (A.size() != 2) Usage("set PROPERTY VALUE (quote a value with blanks)");
    FIde->Inspector().SetValue(A[0], A[1]);
    TCommandResult R;
    R.Text = A[0] + " = " + FIde->Inspector().Row(A[0]).Value() + "\n";
    return R;
  });

  Define("edit", "edit PROPERTY", "presses the property's ellipsis button", [this](const auto& A) {
    if (A.size() != 1) Usage("edit PROPERTY");
    FIde->Inspector().Edit(A[0]);
    return TCommandResult{};
  });

  Define("revert", "revert PROPERTY", "reverts a property to its default", [this](const auto& A) {
    if (A.size() != 1) Usage("revert PROPERTY");
    FIde->Inspector().Revert(A[0]);
    return TCommandResult{};
  });

  Define("expand", "expand PROPERTY", "shows a property's sub-properties", [this](const auto& A) {
    if (A.size() != 1) Usage("expand PROPERTY");
    FIde->Inspector().Expand(A[0]);
    return TCommandResult{};
  });

  Define("collapse", "collapse PROPERTY", "hides a property's sub-properties", [this](const auto& A) {
    if (A.size() != 1) Usage("collapse PROPERTY");
    FIde->Inspector().Collapse(A[0]);
    return TCommandResult{};
  });

  Define("categories", "categories", "the inspector's view by category", [this](const auto&) {
    TCommandResult R;
    R.Json["categories"] = TJson::array();
    for (const auto& [Cat, Names] : FIde->Inspector().Categories()) {
      R.Text += Format("%s (%d)\n", {Cat, int(Names.size())});
      for (const String& N : Names) R.Text += "  " + N + "\n";
      R.Json["categories"].push_back({{"category", Cat}, {"properties", Names}});
    }
    if (R.Text.empty()) R.Text = "(nothing selected)\n";
    return R;
  });

  // --- Component editors -------------------------------------------------------------------
  Define("menu", "menu COMPONENT", "the component's context menu", [this](const auto& A) {
    if (A.size() != 1) Usage("menu COMPONENT");
    TComponent* C = ResolveComponent(A[0]);
    TCommandResult R;
    R.Json["editor"] = ComponentEditorClassOf(C)->ClassName();
    R.Json["items"] = TJson::array();
    int I = 0;
    for (const TContextMenuItem& Item : ComponentContextMenu(Form(), C)) {
      String Line = Item.Caption == "-" ? String("----------") : Item.Caption;
      if (!Item.Enabled) Line += "  (disabled)";
      if (Item.Checked) Line += "  (checked)";
      if (!Item.Visible) Line += "  (hidden)";
      R.Text += Format("%2d  %s\n", {I++, Line});
      R.Json["items"].push_back({{"caption", Item.Caption}, {"enabled", Item.Enabled}, {"checked", Item.Checked},
                                 {"visible", Item.Visible}, {"verb", Item.Verb}});
    }
    return R;
  });

  Define("verb", "verb COMPONENT ITEM", "chooses an item of the context menu, by position or caption", [this](const auto& A) {
    if (A.size() != 2) Usage("verb COMPONENT ITEM");
    TComponent* C = ResolveComponent(A[0]);
    int Position;
    if (!TryStrToInt(A[1], Position)) {
      auto Menu = ComponentContextMenu(Form(), C);
      auto Plain = [](String S) {
        S.erase(std::remove(S.begin(), S.end(), '&'), S.end());
        return S;
      };
      auto It = std::find_if(Menu.begin(), Menu.end(), [&](const TContextMenuItem& M) {
        return SameText(Plain(M.Caption), Plain(A[1]));
      });
      if (It == Menu.end()) throw EConvertError(Format("the context menu of %s has no item %s", {A[0], A[1]}));
      Position = int(It - Menu.begin());
    }
    ChooseContextMenuItem(Form(), C, Position);
    return TCommandResult{};
  });

  Define("dblclick", "dblclick COMPONENT", "double-clicks a component on the form", [this](const auto& A) {
    if (A.size() != 1) Usage("dblclick COMPONENT");
    DoubleClickComponent(Form(), ResolveComponent(A[0]));
    return TCommandResult{};
  });

  Define("drop", "drop CLASS [PARENT]", "puts a component from the palette on the form", [this](const auto& A) {
    if (A.empty() || A.size() > 2) Usage("drop CLASS [PARENT]");
    TRegistries& Reg = TRegistries::Instance();
    auto It = std::find_if(Reg.Palette.begin(), Reg.Palette.end(),
                           [&](const TPaletteEntry& E) { return SameText(E.ComponentClass->ClassName(), A[0]); });
    if (It == Reg.Palette.end()) throw EConvertError(Format("the palette has no %s", {A[0]}));
    TComponent* Parent = A.size() > 1 ? ResolveComponent(A[1]) : Form()->GetRoot();
    TComponent* C = Form()->CreateComponent(It->ComponentClass, Parent, -1, -1, -1, -1);
    TCommandResult R;
    R.Text = "dropped " + C->Name() + "\n";
    R.Json["name"] = C->Name();
    return R;
  });

  auto EditCommand = [this](const char* Name, auto Action) {
    Define(Name, Name, String("the Edit menu's ") + Name + " on the selection", [this, Action](const auto&) {
      Action(Form());
      return TCommandResult{};
    });
  };
  EditCommand("cut", [](TDesigner* D) { D->CutSelection(); });
  EditCommand("copy", [](TDesigner* D) { D->CopySelection(); });
  EditCommand("paste", [](TDesigner* D) { D->PasteSelection(); });
#if OM_HOST_RELEASE == 5
  EditCommand("delete", [](TDesigner* D) { D->DeleteSelection(); });
#else
  EditCommand("delete", [](TDesigner* D) { D->DeleteSelection(false); });
#endif
}

// --- Windows and input ---------------------------------------------------------------------

#include "ComCtrls.h"
#include "DesignWindowCommon.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "FileUtil.h"
#include "Qrexpbld.h"
#include "Registry.h"
#include "Settings.h"
#include "Shell.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "StdCtrls.h"

TCustomForm* TSession::Window(const String& Name) const {
  if (SameText(Name, "active")) {
    if (!Screen->ActiveForm()) throw EConvertError("no window is active");
    return Screen->ActiveForm();
  }
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (SameText(Screen->Forms(I)->Name(), Name)) return Screen->Forms(I);
  throw EConvertError(Format("no window %s is open (see 'windows')", {Name}));
}

// `Window.Control`, or a control of the active window, else of the front-most shown
// window that has one of that name (working on a form leaves no window of the IDE's
// active, and a click on a control activates its window).
TControl* TSession::Control(const String& Path) const {
  size_t Dot = Path.find('.');
  TCustomForm* Form = nullptr;
  String Name = Path;
  if (Dot != String::npos) {
    Form = Window(Path.substr(0, Dot));
    Name = Path.substr(Dot + 1);
  } else {
    auto Has = [&](TCustomForm* F) { return SameText(F->Name(), Name) || F->FindComponent(Name); };
    Form = Screen->ActiveForm();
    if (!Form || !Has(Form))
      for (TCustomForm* F : Screen->ZOrder())
        if (Has(F)) {
          Form = F;
          break;
        }
    if (!Form) throw EConvertError(Format("no window is shown to look for %s in", {Path}));
  }
  if (SameText(Form->Name(), Name)) return Form;
  auto* C = dynamic_cast<TControl*>(Form->FindComponent(Name));
  if (!C) throw EConvertError(Format("%s has no control %s", {Form->Name(), Name}));
  return C;
}

void TSession::Input(const std::function<void(TInputQueue&)>& Give) {
  auto* Queue = dynamic_cast<TInputQueue*>(Application->Input());
  if (!Queue) throw EConvertError("the IDE's input is not the session's");
  if (FAhead) {
    Give(*Queue);
    return;
  }
  // This input goes first; what was given ahead waits behind it for the modal window
  // this input opens.
  std::vector<TInputEvent> Ahead;
  for (TInputEvent E; Queue->Next(E);) Ahead.push_back(E);
  Give(*Queue);
  int Now = Queue->Count();
  for (TInputEvent& E : Ahead) Queue->Push(std::move(E));
  for (int I = 0; I < Now && Application->HandleMessage(); ++I) {
  }
}

namespace {

String Flags(TControl* C) {
  String F;
  if (!C->Visible()) F += " (hidden)";
  if (!C->Enabled()) F += " (disabled)";
  return F;
}

void DescribeControl(TControl* C, int Depth, TCommandResult& R, TJson& Into) {
  String Pad(size_t(Depth) * 2, ' ');
  String Line = Pad + (C->Name().empty() ? String("(unnamed)") : C->Name()) + ": " + C->ClassName();
  if (!C->Caption().empty()) Line += " '" + C->Caption() + "'";
  Line += Format(" [%d,%d %dx%d]", {C->Left(), C->Top(), C->Width(), C->Height()}) + Flags(C);
  TJson J = {{"name", C->Name()}, {"class", C->ClassName()}, {"caption", C->Caption()},
             {"left", C->Left()}, {"top", C->Top()}, {"width", C->Width()}, {"height", C->Height()},
             {"visible", C->Visible()}, {"enabled", C->Enabled()}};
  if (auto* B = dynamic_cast<TToolButton*>(C)) {
    if (B->Down()) Line += " (down)";
    J["down"] = B->Down();
  }
  R.Text += Line + "\n";
  if (auto* L = dynamic_cast<TListView*>(C)) {
    J["items"] = TJson::array();
    for (int I = 0; I < L->Items()->Count(); ++I) {
      TListItem* Item = L->Items()->Item(I);
      R.Text += Pad + "  " + (Item->Selected() ? "[x] " : "[ ] ") + Item->Caption() + (Item->Focused() ? "  (focused)" : "") + "\n";
      J["items"].push_back({{"caption", Item->Caption()}, {"selected", Item->Selected()}, {"focused", Item->Focused()}});
    }
  }
  if (auto* M = dynamic_cast<TCustomMemo*>(C)) {
    J["lines"] = TJson::array();
    for (int I = 0; I < M->Lines()->Count(); ++I) {
      R.Text += Pad + "  | " + M->Lines()->Strings(I) + "\n";
      J["lines"].push_back(M->Lines()->Strings(I));
    }
  }
  Into.push_back(J);
  if (auto* W = dynamic_cast<TWinControl*>(C))
    for (int I = 0; I < W->ControlCount(); ++I) DescribeControl(W->Controls(I), Depth + 1, R, Into);
}

}  // namespace

void TSession::DefineWindowCommands() {
  Define("windows", "windows", "the open windows, in the order they were made", [](const auto&) {
    TCommandResult R;
    R.Json["windows"] = TJson::array();
    for (int I = 0; I < Screen->FormCount(); ++I) {
      TCustomForm* F = Screen->Forms(I);
      bool Modal = std::find(Application->ModalForms().begin(), Application->ModalForms().end(), F) !=
                   Application->ModalForms().end();
      R.Text += Format("%s: %s '%s' %dx%d", {F->Name(), F->ClassName(), F->Caption(), F->Width(), F->Height()});
      if (!F->Visible()) R.Text += " (hidden)";
      if (F == Screen->ActiveForm()) R.Text += " (active)";
      if (Modal) R.Text += " (modal)";
      R.Text += "\n";
      R.Json["windows"].push_back({{"name", F->Name()}, {"class", F->ClassName()}, {"caption", F->Caption()},
                                   {"width", F->Width()}, {"height", F->Height()}, {"visible", F->Visible()},
                                   {"active", F == Screen->ActiveForm()}, {"modal", Modal}});
    }
    if (R.Text.empty()) R.Text = "(no window is open)\n";
    return R;
  });

  Define("window", "window [WINDOW]", "a window's controls and their state (the active one by default)",
         [this](const auto& A) {
           TCustomForm* F = Window(A.empty() ? String("active") : A[0]);
           TCommandResult R;
           R.Json["controls"] = TJson::array();
           DescribeControl(F, 0, R, R.Json["controls"]);
           return R;
         });

  Define("closewindow", "closewindow [WINDOW]", "closes a window with its close box (the active one by default)",
         [this](const auto& A) {
           if (A.size() > 1) Usage("closewindow [WINDOW]");
           TCustomForm* F = Window(A.empty() ? String("active") : A[0]);
           String Name = F->Name();
           F->Close();
           TCommandResult R;
           R.Text = "closed " + Name + "\n";
           return R;
         });

  Define("activatewindow", "activatewindow WINDOW", "clicks into a window, making it the active one",
         [this](const auto& A) {
           if (A.size() != 1) Usage("activatewindow WINDOW");
           Window(A[0])->Show();
           return TCommandResult{};
         });

  Define("picture", "picture WINDOW FILE.png", "paints a window into a PNG file", [this](const auto& A) {
    if (A.size() != 2) Usage("picture WINDOW FILE.png");
    TCustomForm* F = Window(A[0]);
    std::unique_ptr<TBitmap> Image(F->GetFormImage());
    SaveBitmapAsPng(Image.get(), A[1]);
    TCommandResult R;
    R.Text = Format("painted %s (%dx%d) into %s\n", {F->Name(), Image->Width(), Image->Height(), A[1]});
    return R;
  });

  Define("dialogs", "dialogs", "what the message boxes and file dialogs showed and how they were answered",
         [](const auto&) {
           TCommandResult R;
           for (const String& L : Application->DialogLog()) R.Text += L + "\n";
           R.Json["dialogs"] = Application->DialogLog();
           if (R.Text.empty()) R.Text = "(no dialog was shown)\n";
           return R;
         });

  Define("ahead", "ahead INPUT-COMMAND...", "gives input now for a modal window a later command opens",
         [this](const auto& A) {
           if (A.empty()) Usage("ahead INPUT-COMMAND...");
           String Line;
           for (const String& W : A) Line += (Line.empty() ? "" : " ") + QuotedStr(W);
           FAhead = true;
           try {
             Run(Line);
           } catch (...) {
             FAhead = false;
             throw;
           }
           FAhead = false;
           return TCommandResult{};
         });

  Define("click", "click CONTROL", "clicks a control (WINDOW.CONTROL, or in the active window)", [this](const auto& A) {
    if (A.size() != 1) Usage("click CONTROL");
    // Ahead of a window that is not open yet, the click names its control.
    if (FAhead && A[0].find('.') != String::npos && !FindWindowControl(A[0])) {
      TInputEvent E;
      E.Kind = TInputEvent::Click;
      E.TargetName = A[0];
      Input([&](TInputQueue& Q) { Q.Push(E); });
      return TCommandResult{};
    }
    TControl* C = Control(A[0]);
    Input([&](TInputQueue& Q) { Q.Click(C); });
    return TCommandResult{};
  });

  Define("click-at", "click-at CONTROL X Y [right]", "clicks a control at a point of it", [this](const auto& A) {
    int X, Y;
    if (A.size() < 3 || A.size() > 4 || !TryStrToInt(A[1], X) || !TryStrToInt(A[2], Y)) Usage("click-at CONTROL X Y [right]");
    TControl* C = Control(A[0]);
    bool Right = A.size() == 4 && SameText(A[3], "right");
    Input([&](TInputQueue& Q) { Q.ClickAt(C, X, Y, {}, Right ? mbRight : mbLeft); });
    return TCommandResult{};
  });

  Define("double", "double CONTROL", "double-clicks a control of a window", [this](const auto& A) {
    if (A.size() != 1) Usage("double CONTROL");
    TControl* C = Control(A[0]);
    Input([&](TInputQueue& Q) { Q.DoubleClick(C); });
    return TCommandResult{};
  });

  Define("item", "item LIST INDEX [ctrl|shift]", "clicks a row of a list (with Ctrl or Shift held)", [this](const auto& A) {
    int Index;
    if (A.size() < 2 || A.size() > 3 || !TryStrToInt(A[1], Index)) Usage("item LIST INDEX [ctrl|shift]");
    TControl* C = Control(A[0]);
    TShiftState Shift;
    if (A.size() == 3) {
      if (SameText(A[2], "ctrl")) Shift << ssCtrl;
      else if (SameText(A[2], "shift")) Shift << ssShift;
      else Usage("item LIST INDEX [ctrl|shift]");
    }
    Input([&](TInputQueue& Q) { Q.ClickItem(C, Index, Shift); });
    return TCommandResult{};
  });

  Define("key", "key KEY", "presses a key, with Ctrl+, Shift+ or Alt+ (Enter, Insert, Delete, Escape, A, Ctrl+A...)",
         [this](const auto& A) {
           if (A.size() != 1) Usage("key KEY");
           Word K = 0;
           TShiftState Shift;
           String Rest = A[0];
           for (;;) {
             size_t Plus = Rest.find('+');
             if (Plus == String::npos || Plus + 1 == Rest.size()) break;
             String Mod = Rest.substr(0, Plus);
             if (SameText(Mod, "Ctrl")) Shift << ssCtrl;
             else if (SameText(Mod, "Shift")) Shift << ssShift;
             else if (SameText(Mod, "Alt")) Shift << ssAlt;
             else throw EConvertError(Format("no modifier %s (Ctrl, Shift, Alt)", {Mod}));
             Rest = Rest.substr(Plus + 1);
           }
           static const std::pair<const char*, Word> Keys[] = {
               {"Enter", VK_RETURN}, {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Esc", VK_ESCAPE},
               {"Tab", VK_TAB}, {"Space", VK_SPACE}, {"Backspace", VK_BACK}, {"BkSp", VK_BACK},
               {"Insert", VK_INSERT}, {"Ins", VK_INSERT}, {"Delete", VK_DELETE}, {"Del", VK_DELETE},
               {"Up", VK_UP}, {"Down", VK_DOWN}, {"Left", VK_LEFT}, {"Right", VK_RIGHT},
               {"Home", VK_HOME}, {"End", VK_END}, {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT}};
           for (auto [Name, Code] : Keys)
             if (SameText(Rest, Name)) K = Code;
           if (!K && Rest.size() == 1 && ((Rest[0] >= 'A' && Rest[0] <= 'Z') || (Rest[0] >= 'a' && Rest[0] <= 'z') ||
                                          (Rest[0] >= '0' && Rest[0] <= '9')))
             K = Word(UpperCase(Rest)[0]);
           int F;
           if (!K && Rest.size() >= 2 && (Rest[0] == 'F' || Rest[0] == 'f') && TryStrToInt(Rest.substr(1), F) && F >= 1 && F <= 12)
             K = Word(VK_F1 + F - 1);
           if (!K) throw EConvertError(Format("no key %s", {A[0]}));
           Input([&](TInputQueue& Q) { Q.Key(K, Shift); });
           return TCommandResult{};
         });

  Define("type", "type TEXT", "types text into the focused control", [this](const auto& A) {
    if (A.size() != 1) Usage("type TEXT (quote text with blanks)");
    Input([&](TInputQueue& Q) { Q.Type(A[0]); });
    return TCommandResult{};
  });

  Define("choose", "choose MENUITEM", "chooses a menu item (WINDOW.ITEM, or of the active window)", [this](const auto& A) {
    if (A.size() != 1) Usage("choose MENUITEM");
    size_t Dot = A[0].find('.');
    TCustomForm* F = Dot == String::npos ? Window("active") : Window(A[0].substr(0, Dot));
    String Name = Dot == String::npos ? A[0] : A[0].substr(Dot + 1);
    auto* Item = dynamic_cast<TMenuItem*>(F->FindComponent(Name));
    if (!Item) throw EConvertError(Format("%s has no menu item %s", {F->Name(), Name}));
    Input([&](TInputQueue& Q) { Q.Choose(Item); });
    return TCommandResult{};
  });

  Define("drag", "drag LIST FROM TO", "drags in a list from one row to another", [this](const auto& A) {
    int From, To;
    if (A.size() != 3 || !TryStrToInt(A[1], From) || !TryStrToInt(A[2], To)) Usage("drag LIST FROM TO");
    auto* L = dynamic_cast<TListView*>(Control(A[0]));
    if (!L) throw EConvertError(Format("%s is not a list", {A[0]}));
    auto Centre = [&](int Row) {
      if (Row < 0 || Row >= L->Items()->Count())
        throw EConvertError(Format("%s has no row %d", {A[0], Row}));
      TRect R = L->Items()->Item(Row)->DisplayRect();
      return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    };
    TPoint P1 = Centre(From), P2 = Centre(To);
    Input([&](TInputQueue& Q) { Q.Drag(L, P1, P2); });
    return TCommandResult{};
  });

  Define("splitter", "splitter SPLITTER PIXELS", "drags a splitter by some pixels (down or right is positive)",
         [this](const auto& A) {
           int Delta;
           if (A.size() != 2 || !TryStrToInt(A[1], Delta)) Usage("splitter SPLITTER PIXELS");
           TControl* C = Control(A[0]);
           Input([&](TInputQueue& Q) { Q.DragSplitter(C, Delta); });
           return TCommandResult{};
         });

  Define("answer", "answer BUTTON", "answers a message box or a modal window (Yes, No, OK, Cancel...)",
         [this](const auto& A) {
           if (A.size() != 1) Usage("answer BUTTON");
           static const std::pair<const char*, int> Results[] = {
               {"OK", mrOk}, {"Cancel", mrCancel}, {"Abort", mrAbort}, {"Retry", mrRetry},
               {"Ignore", mrIgnore}, {"Yes", mrYes}, {"No", mrNo}, {"All", mrAll}};
           int Result = -1;
           for (auto [Name, Value] : Results)
             if (SameText(A[0], Name) || SameText(A[0], String("mr") + Name)) Result = Value;
           if (Result < 0) throw EConvertError(Format("no button %s (OK, Cancel, Yes, No, Abort, Retry, Ignore, All)", {A[0]}));
           Input([&](TInputQueue& Q) { Q.Answer(Result); });
           return TCommandResult{};
         });

  Define("run", "run FILE", "opens a form file as a running window (its handlers, without their code, do nothing)",
         [this](const auto& A) {
           if (A.size() != 1) Usage("run FILE");
           auto* F = new TForm(Application, 0);
           try {
             TReader Reader(ReadFileToString(A[0]), A[0]);
             Reader.DropUnboundMethods = true;
             Reader.ReadRootComponent(F);
           } catch (...) {
             delete F;
             throw;
           }
           F->Show();
           TCommandResult R;
           R.Text = Format("running %s '%s'\n", {F->Name(), F->Caption()});
           R.Json["window"] = F->Name();
           return R;
         });

  Define("message", "message KIND TEXT [BUTTONS]",
         "shows a message box (KIND: information, warning, error, confirmation; BUTTONS: OK, OKCancel, "
         "YesNo, YesNoCancel) and prints the answer",
         [](const auto& A) {
           if (A.size() < 2 || A.size() > 3) Usage("message KIND TEXT [BUTTONS]");
           int Kind = GetEnumValue(TypeInfo<TMsgDlgType>(), "mt" + A[0]);
           if (Kind < 0) throw EConvertError(Format("no kind of message %s", {A[0]}));
           String B = A.size() == 3 ? A[2] : String("OK");
           TMsgDlgButtons Buttons;
           if (SameText(B, "OK")) Buttons = {mbOK};
           else if (SameText(B, "OKCancel")) Buttons = mbOKCancel;
           else if (SameText(B, "YesNo")) Buttons = {mbYes, mbNo};
           else if (SameText(B, "YesNoCancel")) Buttons = mbYesNoCancel;
           else throw EConvertError(Format("no buttons %s (OK, OKCancel, YesNo, YesNoCancel)", {B}));
           int Result = MessageDlg(A[1], TMsgDlgType(Kind), Buttons, 0);
           TCommandResult R;
           static const std::pair<int, const char*> Names[] = {
               {mrOk, "OK"}, {mrCancel, "Cancel"}, {mrYes, "Yes"}, {mrNo, "No"}, {mrAbort, "Abort"},
               {mrRetry, "Retry"}, {mrIgnore, "Ignore"}, {mrAll, "All"}};
           String Name = IntToStr(Result);
           for (auto [Value, Text] : Names)
             if (Value == Result) Name = Text;
           R.Text = "answered " + Name + "\n";
           R.Json["result"] = Result;
           return R;
         });

  auto FileDialog = [this](bool Save, const std::vector<String>& A) {
    if (A.empty()) Usage(Save ? "savedialog FILTER [DEFAULTEXT] [OPTION...]" : "opendialog FILTER [OPTION...]");
    std::unique_ptr<TOpenDialog> D(Save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
    D->SetFilter(A[0]);
    TOpenOptions Options = DefaultOpenOptions;
    for (size_t I = 1; I < A.size(); ++I) {
      int O = GetEnumValue(TypeInfo<TOpenOption>(), "of" + A[I]);
      if (O >= 0)
        Options << TOpenOption(O);
      else if (Save && I == 1)
        D->SetDefaultExt(A[I]);
      else
        throw EConvertError(Format("no dialog option %s (OverwritePrompt, PathMustExist, FileMustExist...)", {A[I]}));
    }
    D->SetOptions(Options);
    TCommandResult R;
    bool Ok = D->Execute();
    R.Text = Ok ? "chose " + D->FileName() + "\n" : String("cancelled\n");
    R.Json["file"] = Ok ? D->FileName() : String();
    return R;
  };
  Define("opendialog", "opendialog FILTER [OPTION...]", "shows an open dialog (filter 'Text|*.txt') and prints the choice",
         [FileDialog](const auto& A) { return FileDialog(false, A); });
  Define("savedialog", "savedialog FILTER [DEFAULTEXT] [OPTION...]", "shows a save dialog and prints the choice",
         [FileDialog](const auto& A) { return FileDialog(true, A); });

  Define("expression", "expression DESCRIPTION [EXPRESSION]",
         "opens the report expression builder and prints what it gives back", [](const auto& A) {
           if (A.empty() || A.size() > 2) Usage("expression DESCRIPTION [EXPRESSION]");
           String Value = A.size() > 1 ? A[1] : String();
           bool Ok = GetExpression(A[0], Value, nullptr, nullptr, nullptr);
           TCommandResult R;
           R.Text = Ok ? "expression " + Value + "\n" : String("cancelled\n");
           R.Json["confirmed"] = Ok;
           R.Json["expression"] = Value;
           return R;
         });

  Define("editmenu", "editmenu [cut|copy|paste|delete]",
         "the IDE's Edit menu: what it offers now, or a choice of it (a design window that is active "
         "serves it, else the form)",
         [this](const auto& A) {
           if (A.size() > 1) Usage("editmenu [cut|copy|paste|delete]");
           auto* W = dynamic_cast<TDesignWindow*>(Screen->ActiveForm());
           TDesigner* D = FIde->ActiveDesigner();
           TEditState State;
           if (W) {
             State = W->GetEditState();
           } else if (D) {
             bool Any = !D->Selection().empty();
             if (Any) State << esCanCut << esCanCopy << esCanDelete;
             if (D->CanPaste()) State << esCanPaste;
           }
           static const std::tuple<const char*, TEditStateItem, TEditAction> Items[] = {
               {"cut", esCanCut, eaCut}, {"copy", esCanCopy, eaCopy}, {"paste", esCanPaste, eaPaste},
               {"delete", esCanDelete, eaDelete}};
           TCommandResult R;
           if (A.empty()) {
             for (auto [Name, Can, Action] : Items) {
               R.Text += String(Name) + (State.Contains(Can) ? "" : "  (disabled)") + "\n";
               R.Json[Name] = State.Contains(Can);
             }
             return R;
           }
           for (auto [Name, Can, Action] : Items) {
             if (!SameText(A[0], Name)) continue;
             if (!State.Contains(Can)) throw EConvertError(Format("Edit|%s is disabled now", {String(Name)}));
             if (W) {
               W->EditAction(Action);
             } else if (D) {
               if (Action == eaCut) D->CutSelection();
               else if (Action == eaCopy) D->CopySelection();
               else if (Action == eaPaste) D->PasteSelection();
#if OM_HOST_RELEASE == 5
               else D->DeleteSelection();
#else
               else D->DeleteSelection(false);
#endif
             }
             return R;
           }
           throw EConvertError(Format("the Edit menu has no %s (cut, copy, paste, delete)", {A[0]}));
         });

  Define("shell", "shell", "what was asked of the desktop's shell (links opened)", [](const auto&) {
    TCommandResult R;
    R.Json["requests"] = TJson::array();
    for (const auto& Q : ShellRequests()) {
      R.Text += Q.Operation + " " + Q.File + "\n";
      R.Json["requests"].push_back({{"operation", Q.Operation}, {"file", Q.File}});
    }
    if (R.Text.empty()) R.Text = "(nothing was asked of the shell)\n";
    return R;
  });

  Define("settings", "settings KEY SECTION",
         "the values the settings store holds in a key's section (a KEY starting with \\ is below the "
         "IDE's base key)",
         [](const auto& A) {
           if (A.size() != 2) Usage("settings KEY SECTION");
           TRegIniFile Ini(!A[0].empty() && A[0][0] == '\\' ? IDEBaseRegistryKey() + A[0] : A[0]);
           TStringList Names;
           Ini.ReadSection(A[1], &Names);
           TCommandResult R;
           for (int I = 0; I < Names.Count(); ++I) {
             String V = Ini.ReadString(A[1], Names.Strings(I), "");
             R.Text += Names.Strings(I) + " = " + V + "\n";
             R.Json["values"][Names.Strings(I)] = V;
           }
           if (R.Text.empty()) R.Text = "(no values)\n";
           return R;
         });

  Define("file", "file NAME [FILTER]", "types a file name into an open or save dialog and confirms it",
         [this](const auto& A) {
           int Filter = 0;
           if (A.empty() || A.size() > 2 || (A.size() == 2 && !TryStrToInt(A[1], Filter))) Usage("file NAME [FILTER]");
           Input([&](TInputQueue& Q) { Q.File(A[0], Filter); });
           return TCommandResult{};
         });
}
