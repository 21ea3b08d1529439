// Pictures of what a person looks at: a window (a modal one, a message box or a waiting
// file dialog too), the palette, a context menu, the object inspector and a drop-down
// list; and the pictures --pictures writes as a script changes the screen.
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "Commands.h"
#include "ComponentEditors.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Inspector.h"
#include "Pictures.h"

using namespace Commands;

namespace {

// The drag cursor with its tip at P: the arrow with a sheet below it where a drop would
// be taken, a barred circle where it would not.
void DrawDragCursor(TBitmap* Image, TPoint P, bool Accepted) {
  static const char* const Arrow[] = {
      "X",          "XX",         "X.X",        "X..X",       "X...X",      "X....X",
      "X.....X",    "X......X",   "X.......X",  "X........X", "X.....XXXXX", "X..X..X",
      "X.X X..X",   "XX  X..X",   "X    X..X",  "     X..X",  "      XX"};
  auto Put = [&](int X, int Y, TColor C) {
    if (X >= 0 && Y >= 0 && X < Image->Width() && Y < Image->Height()) Image->SetPixel(X, Y, C);
  };
  for (int Y = 0; Y < int(std::size(Arrow)); ++Y)
    for (int X = 0; Arrow[Y][X]; ++X)
      if (Arrow[Y][X] != ' ') Put(P.X + X, P.Y + Y, Arrow[Y][X] == 'X' ? clBlack : clWhite);
  if (Accepted) {
    for (int Y = 0; Y < 9; ++Y)
      for (int X = 0; X < 12; ++X) {
        bool Edge = X == 0 || Y == 0 || X == 11 || Y == 8;
        Put(P.X + 8 + X, P.Y + 16 + Y, Edge ? ((X + Y) % 2 ? clBlack : clWhite) : clWhite);
      }
    return;
  }
  TPoint C{P.X + 14, P.Y + 20};
  for (int Y = -7; Y <= 7; ++Y)
    for (int X = -7; X <= 7; ++X) {
      int R2 = X * X + Y * Y;
      bool Ring = R2 >= 30 && R2 <= 52, Bar = std::abs(X - Y) <= 1 && R2 < 40;
      if (Ring || Bar) Put(C.X + X, C.Y + Y, clBlack);
    }
}

const char* const PictureUsage =
    "picture WINDOW FILE.png | picture palette [PAGE] FILE.png | picture menu COMPONENT FILE.png | "
    "picture inspector FILE.png | picture dropdown PROPERTY FILE.png";

// A word of a file name: letters, digits, '-' and '_' kept, anything else '_'.
String FileWord(const String& S) {
  String R;
  for (char C : S) R += std::isalnum(static_cast<unsigned char>(C)) || C == '-' || C == '_' ? C : '_';
  return R.empty() ? String("_") : R;
}

// The whole window, and the drag cursor where a drag is held over it.
std::unique_ptr<TBitmap> PaintForm(TCustomForm* F) {
  auto Image = std::make_unique<TBitmap>();
  F->PaintWindow(Image.get());
  if (const TApplication::TDragInfo* D = Application->Dragging();
      D && D->Over && GetParentForm(D->Over) == F) {
    TPoint P = F->ScreenToClient(D->Over->ClientToScreen(D->At));
    TRect M = F->BorderMargins();
    DrawDragCursor(Image.get(), Point(P.X + M.Left, P.Y + M.Top), D->Accepted);
  }
  return Image;
}

}  // namespace

std::unique_ptr<TBitmap> TSession::WindowPicture(const String& Name, String& Shown) const {
  if (TOpenDialog* D = WaitingFileDialog(SameText(Name, "active") ? String() : Name)) {
    Shown = FWaits.back().Name;
    return om_pictures::FileDialog(D, Shown);
  }
  TCustomForm* F = Window(Name);
  Shown = F->Name().empty() ? F->Caption() : F->Name();
  return PaintForm(F);
}

void TSession::DefinePictureCommands() {
  Define(
      "picture", PictureUsage,
      "paints into a PNG file a window (a message box by its caption, a waiting file dialog by "
      "its title), the palette, a component's context menu, the object inspector or a "
      "property's drop-down list",
      "picture OmDBGridColumnsEditor Columns.png", {2, 3}, [this](const auto& A) {
        String What = LowerCase(A[0]), File = A.back(), Shown;
        std::unique_ptr<TBitmap> Image;
        if (What == "palette") {
          String Page = A.size() == 3 ? A[1] : String();
          Image = om_pictures::Palette(Page);
          Shown = "the palette";
        } else if (What == "menu" && A.size() == 3) {
          TComponent* C = ResolveComponent(A[1]);
          Image = om_pictures::ContextMenu(ComponentContextMenu(Form(), C));
          Shown = "the context menu of " + A[1];
        } else if (What == "inspector" && A.size() == 2) {
          Image = om_pictures::Inspector(FIde->Inspector());
          Shown = "the object inspector";
        } else if (What == "dropdown" && A.size() == 3) {
          Image = om_pictures::ValueList(FIde->Inspector(), A[1]);
          if (!Image) throw EConvertError(Format("%s has no drop-down list to paint", {A[1]}));
          Shown = "the drop-down list of " + A[1];
        } else if (A.size() == 2 && What != "menu" && What != "dropdown") {
          Image = WindowPicture(A[0], Shown);
        } else {
          Usage(PictureUsage);
        }
        SaveBitmapAsPng(Image.get(), File);
        TCommandResult R;
        R.Text = Format("painted %s (%dx%d) into %s\n", {Shown, Image->Width(), Image->Height(), File});
        R.Json["painted"] = Shown;
        R.Json["width"] = Image->Width();
        R.Json["height"] = Image->Height();
        R.Json["file"] = File;
        return R;
      });
}

// --- Pictures as a script goes --------------------------------------------------------------

void TSession::SetPicturesFolder(const String& Folder) {
  if (!Folder.empty()) {
    std::error_code E;
    std::filesystem::create_directories(Folder, E);
    if (E || !DirectoryExists(Folder))
      throw EFCreateError(Format("Cannot make the folder %s for pictures: %s", {Folder, String(E.message())}));
  }
  FPicturesFolder = Folder;
  FShown.clear();
  FPicturesWritten = 0;
}

std::vector<TSession::TShownWindow> TSession::ShownWindows() const {
  std::vector<TShownWindow> R;
  String Shown;
  if (WaitingFileDialog("")) {
    std::shared_ptr<TBitmap> Image = WindowPicture(FWaits.back().Name, Shown);
    R.push_back({Shown, Image});
  }
  for (TCustomForm* F : Screen->ZOrder())
    R.push_back({F->Name().empty() ? F->Caption() : F->Name(), PaintForm(F)});
  return R;
}

void TSession::RecordScreen(const String& Line, int Number) {
  if (FPicturesFolder.empty()) return;
  std::vector<TShownWindow> Now = ShownWindows();
  auto Before = [&](const TShownWindow& W) -> const TShownWindow* {
    for (const TShownWindow& O : FShown)
      if (O.Name == W.Name) return &O;
    return nullptr;
  };
  // The front-most window that is new or looks different; else, when a window went, the
  // one now in front.
  const TShownWindow* Changed = nullptr;
  for (const TShownWindow& W : Now) {
    const TShownWindow* O = Before(W);
    if (!O || !O->Image->Equals(W.Image.get())) {
      Changed = &W;
      break;
    }
  }
  if (!Changed && Now.size() != FShown.size() && !Now.empty()) Changed = &Now.front();
  if (Changed) {
    std::vector<String> W = Words(Line);
    String Command = W.empty() ? String("line") : LowerCase(W[0]);
    char Order[16];
    std::snprintf(Order, sizeof Order, "%04d", FPicturesWritten + 1);
    String File = Format("%s/%s-line%d-%s-%s.png", {FPicturesFolder, String(Order), Number,
                                                  FileWord(Command), FileWord(Changed->Name)});
    SaveBitmapAsPng(Changed->Image.get(), File);
    ++FPicturesWritten;
  }
  FShown = std::move(Now);
}
