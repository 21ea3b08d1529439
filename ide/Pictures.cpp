#include "Pictures.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>

#include "Dialogs.h"
#include "Inspector.h"
#include "Menus.h"
#include "Paint.h"
#include "Registries.h"

namespace om_pictures {

namespace {

const TColor Shadow = TColor(0x80000010), Highlight = TColor(0x80000014),
             DarkShadow = TColor(0x80000015), Light = TColor(0x80000016),
             MenuColor = TColor(0x80000004), MenuText = TColor(0x80000007),
             BtnText = TColor(0x80000012), WindowFrame = TColor(0x80000006);

std::unique_ptr<TBitmap> Blank(int W, int H, TColor Color) {
  auto B = std::make_unique<TBitmap>(W, H);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

// A raised frame of two lines, as menus and tab sheets have.
void Raised(TCanvas* C, TRect R) {
  om_paint::Frame3D(C, R, Light, DarkShadow);
  om_paint::Frame3D(C, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), Highlight, Shadow);
}

// Tabs along the top of a page: the one in front is raised two pixels and open to the
// page below, which they stand on from Top to Bottom. Returns the page's rectangle.
TRect Tabs(TCanvas* C, const std::vector<String>& Captions, size_t Front, int Width, int Top,
           int Bottom) {
  const int TabH = 20;
  TRect Page = Rect(0, Top + TabH - 2, Width, Bottom);
  Raised(C, Page);
  int X = 2;
  for (size_t I = 0; I < Captions.size(); ++I) {
    int W = C->TextWidth(Captions[I]) + 12;
    bool Up = I == Front;
    TRect R = Up ? Rect(X - 2, Top, X + W + 2, Top + TabH) : Rect(X, Top + 2, X + W, Top + TabH - 2);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    C->Pen()->SetColor(Highlight);
    C->MoveTo(R.Left, R.Bottom - (Up ? 0 : 1));
    C->LineTo(R.Left, R.Top + 2);
    C->LineTo(R.Left + 2, R.Top);
    C->LineTo(R.Right - 2, R.Top);
    C->Pen()->SetColor(DarkShadow);
    C->LineTo(R.Right - 1, R.Top + 1);
    C->LineTo(R.Right - 1, R.Bottom - (Up ? 0 : 1));
    C->Pen()->SetColor(Shadow);
    C->MoveTo(R.Right - 2, R.Top + 1);
    C->LineTo(R.Right - 2, R.Bottom - (Up ? 0 : 1));
    C->Font()->SetColor(BtnText);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(R.Left + (R.Width() - C->TextWidth(Captions[I])) / 2, R.Top + 3, Captions[I]);
    C->Brush()->SetStyle(bsSolid);
    X += W;
  }
  return Page;
}

}  // namespace

// --- The component palette ----------------------------------------------------------------

std::unique_ptr<TBitmap> Palette(const String& Page) {
  TRegistries& Reg = TRegistries::Instance();
  std::vector<String> Pages = Reg.PalettePages();
  if (Pages.empty()) throw EConvertError("the palette is empty");
  size_t Front = 0;
  if (!Page.empty()) {
    auto It = std::find_if(Pages.begin(), Pages.end(), [&](const String& P) { return SameText(P, Page); });
    if (It == Pages.end()) throw EConvertError(Format("the palette has no page %s", {Page}));
    Front = size_t(It - Pages.begin());
  }
  std::vector<std::unique_ptr<TBitmap>> Glyphs;
  for (const TPaletteEntry& E : Reg.Palette) {
    if (E.Page != Pages[Front]) continue;
    auto G = std::make_unique<TBitmap>();
    if (E.Bitmap) {
      TMemoryStream S;
      S.WriteBuffer(E.Bitmap->Data, long(E.Bitmap->Size));
      S.SetPosition(0);
      try {
        G->LoadFromStream(&S);
      } catch (EInvalidGraphic&) {
        // A bitmap the package got wrong leaves its button blank, as in the IDE.
        G = std::make_unique<TBitmap>();
      }
    }
    Glyphs.push_back(std::move(G));
  }
  // Buttons of 28 pixels for the 24 by 24 bitmaps, in a row on the page.
  const int Button = 28, Top = 22;
  TBitmap Measure(1, 1);
  int TabsW = 4;
  for (const String& P : Pages) TabsW += Measure.Canvas()->TextWidth(P) + 12;
  int W = std::max({TabsW + 4, 4 + int(Glyphs.size()) * Button + 4, 120});
  int H = Top + 2 + Button + 4;
  auto B = Blank(W, H, clBtnFace);
  TCanvas* C = B->Canvas();
  Tabs(C, Pages, Front, W, 0, H);
  int X = 4;
  for (const auto& G : Glyphs) {
    TRect R = Rect(X, Top + 2, X + Button, Top + 2 + Button);
    om_paint::Frame3D(C, R, Highlight, Shadow);
    if (G->Width() > 0) {
      G->SetTransparent(true);
      C->Draw(R.Left + (Button - G->Width()) / 2, R.Top + (Button - G->Height()) / 2, G.get());
    }
    X += Button;
  }
  return B;
}

// --- A component's context menu -----------------------------------------------------------

std::unique_ptr<TBitmap> ContextMenu(const std::vector<TContextMenuItem>& Items) {
  // Items 17 pixels high, separators 8; room for a check mark on the left and for a
  // sub-menu arrow on the right, as the platform leaves it.
  const int ItemH = 17, LineH = 8, Left = 17, Right = 20, Border = 3;
  TBitmap Measure(1, 1);
  int TextW = 0, H = 2 * Border;
  for (const TContextMenuItem& I : Items) {
    if (!I.Visible) continue;
    bool Line = I.Caption == "-";
    H += Line ? LineH : ItemH;
    if (!Line) TextW = std::max(TextW, Measure.Canvas()->TextWidth(StripHotkey(I.Caption)));
  }
  int W = Border + Left + TextW + Right + Border;
  auto B = Blank(W, H, MenuColor);
  TCanvas* C = B->Canvas();
  Raised(C, Rect(0, 0, W, H));
  int Y = Border;
  for (const TContextMenuItem& I : Items) {
    if (!I.Visible) continue;
    if (I.Caption == "-") {
      om_paint::Frame3D(C, Rect(Border + 1, Y + 3, W - Border - 1, Y + 5), Shadow, Highlight);
      Y += LineH;
      continue;
    }
    C->Font()->SetColor(MenuText);
    if (I.Checked) {
      // A check mark of three strokes, two pixels thick.
      int X = Border + 5, CY = Y + 7;
      for (int K = 0; K < 7; ++K) {
        int Dy = K < 3 ? K : 4 - K;
        C->SetPixel(X + K, CY + Dy, MenuText);
        C->SetPixel(X + K, CY + Dy + 1, MenuText);
      }
    }
    om_paint::AccelText(C, Border + Left, Y + 2, I.Caption, I.Enabled);
    Y += ItemH;
  }
  return B;
}

// --- The object inspector -----------------------------------------------------------------

namespace {

bool IsEvent(const TInspectorRow& Row) { return Row.Get()->GetPropType()->Kind == tkMethod; }

String SelectionName(const std::vector<TPersistent*>& Objects) {
  if (Objects.size() != 1) return String();
  TPersistent* P = Objects[0];
  String Name = P->GetNamePath();
  if (auto* C = dynamic_cast<TComponent*>(P)) Name = C->Name();
  return Name + ": " + P->ClassName();
}

// The +/- box of a row that expands.
void ExpandBox(TCanvas* C, int X, int Y, bool Expanded) {
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(X, Y, X + 9, Y + 9));
  C->Brush()->SetColor(clGray);
  C->FrameRect(Rect(X, Y, X + 9, Y + 9));
  C->Brush()->SetColor(clBlack);
  C->FillRect(Rect(X + 2, Y + 4, X + 7, Y + 5));
  if (!Expanded) C->FillRect(Rect(X + 4, Y + 2, X + 5, Y + 7));
}

}  // namespace

std::unique_ptr<TBitmap> Inspector(TObjectInspector& I) {
  const int W = NameWidth + ValueWidth + 8, GridTop = 50;
  String Current = I.CurrentRow();
  std::vector<const TInspectorRow*> Rows;
  bool Events = false;
  for (const TInspectorRow& R : I.Rows())
    if (R.Name == Current) Events = IsEvent(R);
  for (const TInspectorRow& R : I.Rows())
    if (IsEvent(R) == Events) Rows.push_back(&R);
  int H = GridTop + int(Rows.size()) * RowHeight + 6;
  auto B = Blank(W, H, clBtnFace);
  TCanvas* C = B->Canvas();
  om_paint::ComboBox(C, Rect(2, 2, W - 2, 23), SelectionName(I.Objects()));
  Tabs(C, {"Properties", "Events"}, Events ? 1 : 0, W, 26, H);
  TRect Grid = Rect(4, GridTop - 2, W - 4, H - 4);
  om_paint::SunkenBorder(C, Grid);
  int X0 = Grid.Left + 2, Split = X0 + NameWidth;
  int Y = GridTop;
  for (const TInspectorRow* R : Rows) {
    bool Selected = R->Name == Current;
    TRect NameCell = Rect(X0, Y, Split - 1, Y + RowHeight - 1);
    TRect ValueCell = Rect(Split + 1, Y, Grid.Right - 2, Y + RowHeight - 1);
    C->Brush()->SetColor(Selected ? clHighlight : clBtnFace);
    C->FillRect(Rect(X0, Y, Split, Y + RowHeight - 1));
    C->Brush()->SetColor(Selected ? clWindow : clBtnFace);
    C->FillRect(Rect(Split, Y, Grid.Right - 2, Y + RowHeight - 1));
    int Indent = 12 + R->Depth * 10;
    if (R->Attributes().Contains(paSubProperties))
      ExpandBox(C, X0 + 2 + R->Depth * 10, Y + (RowHeight - 9) / 2, R->Expanded);
    C->Font()->SetColor(Selected ? clHighlightText : BtnText);
    C->Brush()->SetColor(Selected ? clHighlight : clBtnFace);
    I.DrawName(R->Name, C, Rect(NameCell.Left + Indent, NameCell.Top, NameCell.Right, NameCell.Bottom),
               Selected);
    TPropertyAttributes A = R->Attributes();
    bool Button = Selected && (A.Contains(paDialog) || A.Contains(paValueList));
    TRect Value = ValueCell;
    if (Button) Value.Right -= RowHeight - 1;
    C->Font()->SetColor(clNavy);
    C->Brush()->SetColor(Selected ? clWindow : clBtnFace);
    I.DrawValue(R->Name, C, Value, Selected);
    if (Button) {
      TRect Box = Rect(Value.Right, Y, ValueCell.Right, Y + RowHeight - 1);
      om_paint::ButtonFace(C, Box, false);
      if (A.Contains(paDialog)) {
        // Three dots, the ellipsis.
        C->Brush()->SetColor(clBlack);
        int DX = Box.Left + Box.Width() / 2 - 4, DY = Box.Top + Box.Height() / 2 + 1;
        for (int K = 0; K < 3; ++K) C->FillRect(Rect(DX + K * 3, DY, DX + K * 3 + 2, DY + 2));
      } else {
        om_paint::DownArrow(C, Box);
      }
    }
    // The grid's lines: grey below each row, and the sunken split between the columns.
    C->Pen()->SetColor(Shadow);
    C->MoveTo(X0, Y + RowHeight - 1);
    C->LineTo(Grid.Right - 2, Y + RowHeight - 1);
    C->MoveTo(Split - 1, Y);
    C->LineTo(Split - 1, Y + RowHeight - 1);
    C->Pen()->SetColor(Highlight);
    C->MoveTo(Split, Y);
    C->LineTo(Split, Y + RowHeight - 1);
    Y += RowHeight;
  }
  return B;
}

std::unique_ptr<TBitmap> ValueList(TObjectInspector& I, const String& Property) {
  auto Paint = [&](TCanvas* C) {
    C->Brush()->SetColor(clWindow);
    C->Font()->SetColor(clWindowText);
    return I.DrawValueList(Property, C, ValueWidth);
  };
  // Measured first: an editor may make an entry wider or higher than the list.
  TCanvas Measure;
  std::vector<TRect> Entries = Paint(&Measure);
  if (Entries.empty()) return nullptr;
  int W = 1, H = 1;
  for (const TRect& E : Entries) W = std::max(W, E.Right), H = std::max(H, E.Bottom);
  auto B = Blank(W + 2, H + 2, clWindow);
  TCanvas* C = B->Canvas();
  // The entries inside a one-pixel frame, as the list drops down below the row.
  C->SetOrigin(Point(1, 1));
  C->SetClipRect(Rect(0, 0, W, H));
  Paint(C);
  C->SetOrigin(Point(0, 0));
  C->SetClipRect(Rect(0, 0, W + 2, H + 2));
  C->Brush()->SetColor(WindowFrame);
  C->FrameRect(Rect(0, 0, W + 2, H + 2));
  return B;
}

// --- The common file dialog ---------------------------------------------------------------

namespace {

struct TEntry {
  String Name;
  bool Folder;
};

bool Matches(const String& Name, const String& Patterns) {
  size_t Start = 0;
  while (Start <= Patterns.size()) {
    size_t Semi = Patterns.find(';', Start);
    String P = Trim(Patterns.substr(Start, Semi == String::npos ? String::npos : Semi - Start));
    // "*.*" is every file on the platform, with an extension or not.
    if (P == "*" || P == "*.*") return true;
    if (!P.empty() && fnmatch(P.c_str(), Name.c_str(), FNM_CASEFOLD) == 0) return true;
    if (Semi == String::npos) break;
    Start = Semi + 1;
  }
  return false;
}

// The folders of Folder, then its files that the patterns show, each sorted by name.
// A folder that cannot be read shows nothing, as the dialog shows it.
std::vector<TEntry> Listing(const String& Folder, const String& Patterns) {
  std::vector<TEntry> Folders, Files;
  std::error_code E;
  for (std::filesystem::directory_iterator It(Folder, E), End; !E && It != End; It.increment(E)) {
    String Name = It->path().filename().string();
    if (Name.empty() || Name[0] == '.') continue;
    std::error_code K;
    if (It->is_directory(K))
      Folders.push_back({Name, true});
    else if (Matches(Name, Patterns))
      Files.push_back({Name, false});
  }
  auto ByName = [](const TEntry& A, const TEntry& B) { return CompareText(A.Name, B.Name) < 0; };
  std::sort(Folders.begin(), Folders.end(), ByName);
  std::sort(Files.begin(), Files.end(), ByName);
  Folders.insert(Folders.end(), Files.begin(), Files.end());
  return Folders;
}

// The small icons of the list: a yellow folder, a white sheet with a folded corner.
void EntryIcon(TCanvas* C, int X, int Y, bool Folder) {
  if (Folder) {
    C->Brush()->SetColor(TColor(0x00C0C0));
    C->FillRect(Rect(X + 1, Y + 2, X + 7, Y + 4));
    C->Brush()->SetColor(TColor(0x00FFFF));
    C->FillRect(Rect(X + 1, Y + 4, X + 15, Y + 13));
    C->Brush()->SetColor(TColor(0x008080));
    C->FrameRect(Rect(X + 1, Y + 4, X + 15, Y + 13));
    return;
  }
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(X + 3, Y + 1, X + 13, Y + 15));
  C->Brush()->SetColor(clGray);
  C->FrameRect(Rect(X + 3, Y + 1, X + 13, Y + 15));
  C->Brush()->SetColor(clBlack);
  C->FillRect(Rect(X + 5, Y + 5, X + 11, Y + 6));
  C->FillRect(Rect(X + 5, Y + 8, X + 11, Y + 9));
  C->FillRect(Rect(X + 5, Y + 11, X + 9, Y + 12));
}

void Button(TCanvas* C, TRect R, const String& Caption, bool Default) {
  if (Default) {
    C->Brush()->SetColor(clBlack);
    C->FrameRect(R);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  om_paint::ButtonFace(C, R, false);
  C->Font()->SetColor(BtnText);
  String T = StripHotkey(Caption);
  om_paint::AccelText(C, R.Left + (R.Width() - C->TextWidth(T)) / 2,
                      R.Top + (R.Height() - C->TextHeight(T)) / 2, Caption, true);
}

void Label(TCanvas* C, int X, int Y, const String& Caption) {
  C->Font()->SetColor(BtnText);
  om_paint::AccelText(C, X, Y, Caption, true);
}

}  // namespace

std::unique_ptr<TBitmap> FileDialog(TOpenDialog* D, const String& Title) {
  // The size and layout of the platform's dialog at 96 pixels per inch.
  const int W = 430, H = 268, Frame = 3, CaptionH = 18;
  String Folder =
      D->InitialDir().empty() ? String(std::filesystem::current_path().string()) : D->InitialDir();
  bool Save = dynamic_cast<TSaveDialog*>(D) != nullptr;
  std::vector<TOpenDialog::TFilterPair> Filters = D->Filters();
  size_t Chosen = size_t(std::max(1, D->FilterIndex())) - 1;
  String Patterns = Chosen < Filters.size() ? Filters[Chosen].Patterns : String("*");
  String Type = Chosen < Filters.size() ? Filters[Chosen].Description : String();

  auto B = Blank(W, H, clBtnFace);
  TCanvas* C = B->Canvas();
  om_paint::Frame3D(C, Rect(0, 0, W, H), Light, DarkShadow);
  om_paint::Frame3D(C, Rect(1, 1, W - 1, H - 1), Highlight, Shadow);
  om_paint::CaptionBar(C, Rect(Frame, Frame, W - Frame, Frame + CaptionH), Title, true, true);
  C->Font()->SetStyle(TFontStyles());
  // Client coordinates from here on.
  C->SetOrigin(Point(Frame, Frame + CaptionH + 1));
  const int CW = W - 2 * Frame;
  C->SetClipRect(Rect(0, 0, CW, H - 2 * Frame - CaptionH - 1));

  Label(C, 8, 12, Save ? "Save &in:" : "Look &in:");
  String Shown = ExtractFileName(Folder);
  om_paint::ComboBox(C, Rect(74, 8, 290, 30), Shown.empty() ? Folder : Shown);

  TRect List = Rect(8, 38, CW - 8, 170);
  C->Brush()->SetColor(clWindow);
  C->FillRect(List);
  om_paint::SunkenBorder(C, List);
  // In columns, top to bottom then left to right; what does not fit is behind the list's
  // scroll bar.
  std::vector<TEntry> Entries = Listing(Folder, Patterns);
  const int EntryH = 16;
  TRect Inside = Rect(List.Left + 2, List.Top + 2, List.Right - 2, List.Bottom - 2);
  int PerColumn = std::max(1, (Inside.Height() - 4) / EntryH);
  int ColumnW = 24;
  for (const TEntry& E : Entries) ColumnW = std::max(ColumnW, C->TextWidth(E.Name) + 24);
  ColumnW = std::min(ColumnW, Inside.Width());
  TRect SavedClip = C->ClipRect();
  C->SetClipRect(Inside);
  for (size_t I = 0; I < Entries.size(); ++I) {
    int X = Inside.Left + 2 + int(I / size_t(PerColumn)) * ColumnW;
    int Y = Inside.Top + 2 + int(I % size_t(PerColumn)) * EntryH;
    if (X >= Inside.Right) break;
    EntryIcon(C, X, Y, Entries[I].Folder);
    C->Brush()->SetColor(clWindow);
    C->Font()->SetColor(clWindowText);
    C->TextRect(Rect(X + 18, Y, X + ColumnW - 4, Y + EntryH), X + 19, Y + 1, Entries[I].Name);
  }
  C->SetClipRect(SavedClip);

  Label(C, 8, 184, "File &name:");
  TRect Edit = Rect(96, 180, 320, 201);
  C->Brush()->SetColor(clWindow);
  C->FillRect(Edit);
  om_paint::SunkenBorder(C, Edit);
  C->Font()->SetColor(clWindowText);
  C->TextRect(Rect(Edit.Left + 2, Edit.Top + 2, Edit.Right - 2, Edit.Bottom - 2), Edit.Left + 4,
              Edit.Top + 4, ExtractFileName(D->FileName()));
  Label(C, 8, 212, "Files of &type:");
  om_paint::ComboBox(C, Rect(96, 208, 320, 229), Type);
  Button(C, Rect(338, 178, 414, 201), Save ? "&Save" : "&Open", true);
  Button(C, Rect(338, 207, 414, 230), "Cancel", false);
  return B;
}

}  // namespace om_pictures
