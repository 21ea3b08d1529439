// IDEAboutDlg: the product's about box, behind every component editor's first verb.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "System.h"

class PACKAGE TOMCAboutForm : public TForm {
  OM_CLASS(TOMCAboutForm, TForm)
 public:
  explicit TOMCAboutForm(TComponent* AOwner);

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Label4Click(TObject* Sender);
  void Label5Click(TObject* Sender);

  TImage* Image1 = nullptr;
  TLabel *Label0 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr,
         *Label4 = nullptr, *Label5 = nullptr;
  TBevel *Bevel1 = nullptr, *Bevel2 = nullptr;
  TButton* Button = nullptr;
};

// Shows a new about box modally; it frees itself when closed.
PACKAGE void ShowAboutForm();

namespace Ideaboutdlg {
// The texts the box shows, for those that show them elsewhere.
extern PACKAGE const char* const ProductTitle;
extern PACKAGE const char* const NoticeLine;
extern PACKAGE const char* const WebAddress;
extern PACKAGE const char* const SupportAddress;
PACKAGE String VersionLine();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Ideaboutdlg
