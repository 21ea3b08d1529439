#include "Dialogs.h"

#include <algorithm>
#include <cstdlib>

#include "ExtCtrls.h"
#include "StdCtrls.h"

OM_ENUM_TYPE_INFO(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation",
                  "mtCustom");
OM_ENUM_TYPE_INFO(TMsgDlgBtn, "mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore",
                  "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp");
OM_SET_TYPE_INFO(TMsgDlgButtons, TMsgDlgBtn);
#if OM_HOST_RELEASE >= 6
OM_ENUM_TYPE_INFO(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir",
                  "ofShowHelp", "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent",
                  "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt", "ofShareAware",
                  "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
                  "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify",
                  "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden");
#else
OM_ENUM_TYPE_INFO(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir",
                  "ofShowHelp", "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent",
                  "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt", "ofShareAware",
                  "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
                  "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify",
                  "ofEnableSizing");
#endif
OM_SET_TYPE_INFO(TOpenOptions, TOpenOption);

namespace {
struct TButtonInfo {
  const char* Name;
  const char* Caption;
  int Result;
};
// In the order of TMsgDlgBtn.
constexpr TButtonInfo ButtonInfo[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};
constexpr const char* Captions[] = {"Warning", "Error", "Information", "Confirm", ""};

// An absolute name without "." and ".." parts or doubled slashes.
String NormalizePath(const String& Path) {
  std::vector<String> Parts;
  size_t Start = 0;
  while (Start <= Path.size()) {
    size_t Slash = Path.find('/', Start);
    String Part = Path.substr(Start, Slash == String::npos ? String::npos : Slash - Start);
    if (Part == "..") {
      if (!Parts.empty()) Parts.pop_back();
    } else if (!Part.empty() && Part != ".") {
      Parts.push_back(Part);
    }
    if (Slash == String::npos) break;
    Start = Slash + 1;
  }
  String R;
  for (const String& P : Parts) R += "/" + P;
  return R.empty() ? String("/") : R;
}

std::vector<String> SplitLines(const String& S) {
  std::vector<String> R(1);
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\r' || S[I] == '\n') {
      if (S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n') ++I;
      R.emplace_back();
    } else {
      R.back() += S[I];
    }
  }
  return R;
}
// The 32 by 32 icon of a kind of message: a white disc with a blue letter for
// information and questions, a yellow triangle with "!" for warnings, a red disc with a
// white cross for errors. The corners are the transparent background.
void DrawMessageIcon(TBitmap* Icon, TMsgDlgType Kind) {
  const TColor Back = clOlive;  // left out when drawn: the bottom-left pixel's colour
  Icon->SetSize(32, 32);
  TCanvas* C = Icon->Canvas();
  C->Brush()->SetColor(Back);
  C->FillRect(Rect(0, 0, 32, 32));
  bool Disc = Kind != mtWarning;
  TColor Fill = Kind == mtError ? clRed : Kind == mtWarning ? clYellow : clWhite;
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      bool In, Edge;
      if (Disc) {
        int D2 = (2 * X - 31) * (2 * X - 31) + (2 * Y - 31) * (2 * Y - 31);
        In = D2 <= 29 * 29;
        Edge = In && D2 > 26 * 26;
      } else {
        // Apex at the top centre, base along row 29.
        int Half = (Y - 2) * 15 / 27;
        In = Y >= 2 && Y <= 29 && std::abs(2 * X - 31) <= 2 * Half + 1;
        Edge = In && (Y == 29 || std::abs(2 * X - 31) >= 2 * Half - 2);
      }
      if (In) C->SetPixel(X, Y, Edge ? clBlack : Fill);
    }
  C->Font()->SetHeight(-22);
  C->Font()->SetStyle(TFontStyles{fsBold});
  C->Font()->SetColor(Kind == mtError ? clWhite : Kind == mtWarning ? clBlack : clBlue);
  C->Brush()->SetStyle(bsClear);
  const char* Letter = Kind == mtError ? "X" : Kind == mtWarning ? "!" : Kind == mtConfirmation ? "?" : "i";
  int TW = C->TextWidth(Letter);
  C->TextOut((32 - TW) / 2 + 1, Kind == mtWarning ? 10 : 6, Letter);
  Icon->SetTransparent(true);
}
}  // namespace

TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  auto* F = new TForm(Application, 0);
  try {
    F->SetBorderStyle(bsDialog);
    F->SetBorderIcons(TBorderIcons{biSystemMenu});
    F->SetPosition(poScreenCenter);
    F->SetCaption(DlgType == mtCustom && Application ? Application->Title()
                                                     : String(Captions[DlgType]));
    TCanvas C;
    C.Font()->Assign(F->Font());
    std::vector<String> Lines = SplitLines(Msg);
    int TextW = 0;
    for (const String& L : Lines) TextW = std::max(TextW, C.TextWidth(L));
    int LineH = C.TextHeight("0");
    int IconW = DlgType == mtCustom ? 0 : 32 + 16;
    if (IconW) {
      auto* Icon = new TImage(F);
      Icon->SetName("Image");
      Icon->SetParent(F);
      Icon->SetBounds(16, 12, 32, 32);
      DrawMessageIcon(Icon->Picture()->Bitmap(), DlgType);
      Icon->SetTransparent(true);
    }
    auto* Text = new TLabel(F);
    Text->SetName("Message");
    Text->SetParent(F);
    Text->SetAutoSize(false);
    Text->SetCaption(Msg);
    Text->SetShowAccelChar(false);
    Text->SetBounds(8 + IconW, 12, TextW, LineH * int(Lines.size()));
    std::vector<TButton*> Made;
    for (int B = mbYes; B <= mbHelp; ++B) {
      if (!Buttons.Contains(TMsgDlgBtn(B))) continue;
      auto* Btn = new TButton(F);
      Btn->SetName(ButtonInfo[B].Name);
      Btn->SetParent(F);
      Btn->SetCaption(ButtonInfo[B].Caption);
      Btn->SetModalResult(TModalResult(ButtonInfo[B].Result));
      Made.push_back(Btn);
    }
    // The first of OK and Yes is the default; Cancel, else No, else OK answers Escape.
    for (TMsgDlgBtn B : {mbOK, mbYes})
      if (Buttons.Contains(B)) {
        static_cast<TButton*>(F->FindComponent(ButtonInfo[B].Name))->SetDefault(true);
        break;
      }
    for (TMsgDlgBtn B : {mbCancel, mbNo, mbOK})
      if (Buttons.Contains(B)) {
        static_cast<TButton*>(F->FindComponent(ButtonInfo[B].Name))->SetCancel(true);
        break;
      }
    int ButtonsW = int(Made.size()) * 75 + std::max(0, int(Made.size()) - 1) * 8;
    int ClientW = std::max(8 + IconW + TextW + 12, ButtonsW + 16);
    int Top = 12 + std::max(LineH * int(Lines.size()), IconW ? 32 : 0) + 14;
    F->SetClientWidth(ClientW);
    F->SetClientHeight(Top + 25 + 10);
    int X = (ClientW - ButtonsW) / 2;
    for (TButton* Btn : Made) {
      Btn->SetBounds(X, Top, 75, 25);
      X += 83;
    }
    for (TButton* Btn : Made)
      if (Btn->Default()) F->SetActiveControl(Btn);
  } catch (...) {
    delete F;
    throw;
  }
  return F;
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  TForm* F = CreateMessageDialog(Msg, DlgType, Buttons);
  String Offered;
  for (int B = mbYes; B <= mbHelp; ++B)
    if (Buttons.Contains(TMsgDlgBtn(B)))
      Offered += (Offered.empty() ? "" : ", ") + StripHotkey(ButtonInfo[B].Caption);
  String Line = F->Caption() + ": " + Msg + " [" + Offered + "]";
  if (HelpCtx) Line += Format(" (help context %d)", {HelpCtx});
  int Result;
  try {
    F->SetTag(HelpCtx);
    Result = F->ShowModal();
  } catch (...) {
    if (Application) Application->LogDialog(Line + " -> no answer");
    delete F;
    throw;
  }
  delete F;
  String Answer = "?";
  for (const TButtonInfo& B : ButtonInfo)
    if (B.Result == Result && B.Result != mrNone) Answer = StripHotkey(B.Caption);
  if (Application) Application->LogDialog(Line + " -> " + Answer);
  return Result;
}

void ShowMessage(const String& Msg) {
  TForm* F = CreateMessageDialog(Msg, mtCustom, TMsgDlgButtons{mbOK});
  try {
    F->ShowModal();
  } catch (...) {
    delete F;
    throw;
  }
  delete F;
  if (Application) Application->LogDialog(Msg + " [OK] -> OK");
}

// --- Common dialogs ---------------------------------------------------------------------------

template <>
struct TPublished<TCommonDialog> {
  static constexpr TPropInfo Props[] = {
      Property<&TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D>("Ctl3D", 1),
      Property<&TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext>("HelpContext", 0),
      Property<&TCommonDialog::OnClose, &TCommonDialog::OnClose>("OnClose"),
      Property<&TCommonDialog::OnShow, &TCommonDialog::OnShow>("OnShow"),
  };
};
OM_IMPLEMENT_CLASS(TCommonDialog, "Dialogs");

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TCommonDialog::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  FDesign.Define(Filer);
}

template <>
struct TPublished<TOpenDialog> {
  static constexpr TPropInfo Props[] = {
      Property<&TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt>("DefaultExt"),
      Property<&TOpenDialog::FileName, &TOpenDialog::SetFileName>("FileName"),
      Property<&TOpenDialog::Filter, &TOpenDialog::SetFilter>("Filter"),
      Property<&TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex>("FilterIndex", 1),
      Property<&TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir>("InitialDir"),
      Property<&TOpenDialog::Options, &TOpenDialog::SetOptions>(
          "Options", (1 << ofHideReadOnly) | (1 << ofEnableSizing)),
      Property<&TOpenDialog::Title, &TOpenDialog::SetTitle>("Title"),
  };
};
OM_IMPLEMENT_CLASS(TOpenDialog, "Dialogs");
OM_IMPLEMENT_CLASS(TSaveDialog, "Dialogs");

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(new TStringList) {}

TOpenDialog::~TOpenDialog() { delete FFiles; }

std::vector<TOpenDialog::TFilterPair> TOpenDialog::Filters() const {
  // "description|patterns" pairs, one bar after another; a last description alone has none.
  std::vector<TFilterPair> Pairs;
  for (size_t Start = 0; Start < FFilter.size();) {
    size_t Bar = FFilter.find('|', Start);
    TFilterPair P{FFilter.substr(Start, Bar - Start), String()};
    Start = Bar == String::npos ? FFilter.size() : Bar + 1;
    if (Bar != String::npos) {
      Bar = FFilter.find('|', Start);
      P.Patterns = FFilter.substr(Start, Bar - Start);
      Start = Bar == String::npos ? FFilter.size() : Bar + 1;
    }
    Pairs.push_back(std::move(P));
  }
  return Pairs;
}

String TOpenDialog::FilterExtension() const {
  // The selected pair counts from 1.
  std::vector<TFilterPair> Pairs = Filters();
  size_t At = size_t(std::max(1, FFilterIndex)) - 1;
  if (At >= Pairs.size()) return String();
  String Pattern = Trim(Pairs[At].Patterns);
  if (Pattern.find(';') != String::npos || Pattern.compare(0, 2, "*.") != 0) return String();
  String Ext = Pattern.substr(2);
  if (Ext.empty() || Ext.find_first_of("*?") != String::npos) return String();
  return Ext;
}

bool TOpenDialog::Execute() {
  bool Save = IsSaveDialog();
  String Title = FTitle.empty() ? String(Save ? "Save As" : "Open") : FTitle;
  String Waiting = String(Save ? "the save dialog \"" : "the open dialog \"") + Title + "\"";
  if (!Application) throw EInvalidOperation("There is no application to run " + Waiting);
  if (OnShow) OnShow(this);
  auto Done = [&](bool Result) {
    Application->LogDialog(Title + ": " + (Result ? FFileName : String("cancelled")));
    if (OnClose) OnClose(this);
    return Result;
  };
  for (;;) {
    TInputEvent E = Application->NextInput({Title, Waiting, this});
    if (E.Kind == TInputEvent::Answer && E.Index == mrCancel) return Done(false);
    if (E.Kind == TInputEvent::Key && E.KeyCode == VK_ESCAPE) return Done(false);
    if (E.Kind != TInputEvent::FileName)
      throw EInputError(Format("%s waits for a file name or a cancel; the next input is '%s'",
                               {Waiting, E.Describe()}));
    if (E.Index > 0) FFilterIndex = E.Index;
    // Confirming without typing takes the name the dialog shows.
    String Name = Trim(E.Text);
    if (Name.empty()) Name = FFileName;
    if (Name.empty()) continue;
    if (Name[0] != '/') {
      String Base = FInitialDir.empty() ? ExpandFileName(".") : FInitialDir;
      Name.insert(0, Base.empty() || Base.back() == '/' ? Base : Base + "/");
    }
    Name = NormalizePath(ExpandFileName(Name));
    if (DirectoryExists(Name)) {
      // A folder typed as the name opens it; the dialog waits for a file there.
      FInitialDir = Name;
      continue;
    }
    if (ExtractFileExt(Name).empty() && !FDefaultExt.empty()) {
      String Ext = FilterExtension();
      Name += "." + (Ext.empty() ? FDefaultExt : Ext);
    }
    bool MustExist = !Save && FOptions.Contains(ofFileMustExist);
    if ((FOptions.Contains(ofPathMustExist) || MustExist) &&
        !DirectoryExists(ExtractFileDir(Name))) {
      MessageDlg(Name + "\nPath does not exist.\nPlease verify the correct path was given.",
                 mtWarning, TMsgDlgButtons{mbOK}, 0);
      continue;
    }
    if (MustExist && !FileExists(Name)) {
      MessageDlg(Name + "\nFile not found.\nPlease verify the correct file name was given.",
                 mtWarning, TMsgDlgButtons{mbOK}, 0);
      continue;
    }
    if (!Save && FOptions.Contains(ofCreatePrompt) && !FileExists(Name) &&
        MessageDlg(Name + "\nThis file does not exist.\nDo you want to create it?", mtConfirmation,
                   TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
      continue;
    if (Save && FOptions.Contains(ofOverwritePrompt) && FileExists(Name) &&
        MessageDlg(Name + " already exists.\nDo you want to replace it?", mtWarning,
                   TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
      continue;
    FFileName = Name;
    FFiles->Clear();
    FFiles->Add(Name);
    return Done(true);
  }
}
