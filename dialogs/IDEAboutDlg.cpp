#include "IDEAboutDlg.h"

#include <cstdint>

#include "Graphics.h"
#include "ShellAPI.h"
#include "SysUtils.h"
#include "Windows.h"

namespace Ideaboutdlg {
const char* const ProductTitle = "Ombrix Components";
const char* const NoticeLine = "Copyright (c) 1999-2002 Ombrix Software. All rights reserved.";
const char* const WebAddress = "http://www.ombrix-software.example/";
const char* const SupportAddress = "support@ombrix-software.example";
}  // namespace Ideaboutdlg

namespace {
const int MinorVersion = 0, BuildNumber = 42;
const TColor VisitedColor = TColor(0x800080);  // red 128, green 0, blue 128

// A link the shell refused is not a visited one: the refusal is reported instead.
void Open(const String& Address) {
  HINSTANCE Result =
      ShellExecuteA(GetDesktopWindow(), "open", Address.c_str(), "", "", SW_SHOWNORMAL);
  if (auto Code = reinterpret_cast<std::intptr_t>(Result); Code <= 32)
    throw Exception(Format("The shell could not open %s (error %d)", {Address, int(Code)}));
}

void Visited(TObject* Sender) {
  if (auto* Label = dynamic_cast<TControl*>(Sender)) Label->Font()->SetColor(VisitedColor);
}
}  // namespace

template <>
struct TPublished<TOMCAboutForm> {
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TOMCAboutForm, FormCreate),
      OM_METHOD(TOMCAboutForm, FormClose),
      OM_METHOD(TOMCAboutForm, Label4Click),
      OM_METHOD(TOMCAboutForm, Label5Click),
  };
  static constexpr TFieldEntry Fields[] = {
      OM_FIELD(TOMCAboutForm, Image1),
      OM_FIELD(TOMCAboutForm, Label0),
      OM_FIELD(TOMCAboutForm, Label1),
      OM_FIELD(TOMCAboutForm, Label2),
      OM_FIELD(TOMCAboutForm, Label3),
      OM_FIELD(TOMCAboutForm, Label4),
      OM_FIELD(TOMCAboutForm, Label5),
      OM_FIELD(TOMCAboutForm, Bevel1),
      OM_FIELD(TOMCAboutForm, Bevel2),
      OM_FIELD(TOMCAboutForm, Button),
  };
};
OM_IMPLEMENT_CLASS(TOMCAboutForm, "IDEAboutDlg");

TOMCAboutForm::TOMCAboutForm(TComponent* AOwner) : TForm(AOwner) {
  ReadForm();
  SetBorderIcons({});
  DoCreate();
}

void TOMCAboutForm::FormCreate(TObject*) {
  SetCaption(String("About ") + Ideaboutdlg::ProductTitle);
  Label0->SetCaption(String(Ideaboutdlg::ProductTitle).substr(1, 18));
  Label1->SetCaption(Label0->Caption());
  Label2->SetCaption(Ideaboutdlg::VersionLine());
  Label3->SetCaption(Ideaboutdlg::NoticeLine);
  Label4->SetCaption(Ideaboutdlg::WebAddress);
  Label5->SetCaption(String("mailto:") + Ideaboutdlg::SupportAddress);
  SetPosition(poScreenCenter);
  SetClientHeight(209);
  SetClientWidth(351);
}

void TOMCAboutForm::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TOMCAboutForm::Label4Click(TObject* Sender) {
  Open(Ideaboutdlg::WebAddress);
  Visited(Sender);
}

void TOMCAboutForm::Label5Click(TObject* Sender) {
  // From the space after "Version": the version and the build, as the subject's tail.
  String Version = Ideaboutdlg::VersionLine().substr(7, 32);
  Open(String("mailto:") + Ideaboutdlg::SupportAddress + "?subject=" + Ideaboutdlg::ProductTitle +
       Version);
  Visited(Sender);
}

// The form frees itself when it closes, also when its modal loop ends in an error.
void ShowAboutForm() { (new TOMCAboutForm(Application))->ShowModal(); }

namespace Ideaboutdlg {
String VersionLine() { return Format("Version 3.%d (Build 3.%d)", {MinorVersion, BuildNumber}); }
int InitCount = 0;
void Initialization() {}
void Finalization() {}
}  // namespace Ideaboutdlg
