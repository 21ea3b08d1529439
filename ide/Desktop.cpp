#include "Desktop.h"

#include <png.h>

#include <csetjmp>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FileUtil.h"
#include "StdCtrls.h"

namespace {
const TPersistentClass PlatformClasses[] = {
    TForm::StaticClass(),       TLabel::StaticClass(),      TButton::StaticClass(),
    TEdit::StaticClass(),       TMemo::StaticClass(),       TPanel::StaticClass(),
    TBevel::StaticClass(),      TImage::StaticClass(),      TSplitter::StaticClass(),
    TListView::StaticClass(),   TToolBar::StaticClass(),    TToolButton::StaticClass(),
    TActionList::StaticClass(), TAction::StaticClass(),     TMainMenu::StaticClass(),
    TPopupMenu::StaticClass(),  TMenuItem::StaticClass(),   TImageList::StaticClass(),
    TOpenDialog::StaticClass(), TSaveDialog::StaticClass(),
};
}  // namespace

void RegisterPlatformClasses() {
  for (TPersistentClass C : PlatformClasses) RegisterClass(C);
}

void UnRegisterPlatformClasses() {
  for (TPersistentClass C : PlatformClasses) UnRegisterClass(C);
}

TDesktop::TDesktop() {
  if (Application || Screen) throw EInvalidOperation("A desktop is already installed");
  FScreen = new TScreen(nullptr);
  FApplication = new TApplication(nullptr);
  auto Queue = std::make_unique<TInputQueue>();
  FQueue = Queue.get();
  FApplication->SetInput(std::move(Queue));
  Screen = FScreen;
  Application = FApplication;
  RegisterPlatformClasses();
}

TDesktop::~TDesktop() {
  delete FApplication;
  Application = nullptr;
  delete FScreen;
  Screen = nullptr;
  UnRegisterPlatformClasses();
}

TInputQueue& TDesktop::Input() const {
  if (FApplication->Input() != FQueue)
    throw EInvalidOperation("The application's input is no longer the desktop's queue");
  return *FQueue;
}

namespace {
void PngWrite(png_structp Png, png_bytep Data, png_size_t Length) {
  auto* Out = static_cast<std::vector<Byte>*>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}
void PngFlush(png_structp) {}
}  // namespace

void SaveBitmapAsPng(const TBitmap* Bitmap, const String& FileName) {
  int W = Bitmap->Width(), H = Bitmap->Height();
  if (W <= 0 || H <= 0)
    throw EInvalidGraphic(Format("Cannot save an empty bitmap as %s", {FileName}));
  std::vector<Byte> Rows(size_t(W) * H * 3);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      int C = ColorToRGB(Bitmap->Pixel(X, Y));
      Byte* P = &Rows[(size_t(Y) * W + X) * 3];
      P[0] = Byte(GetRValue(C));
      P[1] = Byte(GetGValue(C));
      P[2] = Byte(GetBValue(C));
    }
  std::vector<Byte> Out;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!Png) throw EOutOfResources("Cannot create a PNG writer");
  png_infop Info = png_create_info_struct(Png);
  std::vector<png_bytep> Pointers(static_cast<size_t>(H));
  for (int Y = 0; Y < H; ++Y) Pointers[size_t(Y)] = &Rows[size_t(Y) * W * 3];
  volatile bool Failed = false;  // read after a longjmp from the encoder
  if (!Info) {
    Failed = true;
  } else if (setjmp(png_jmpbuf(Png))) {
    Failed = true;
  } else {
    png_set_write_fn(Png, &Out, &PngWrite, &PngFlush);
    png_set_IHDR(Png, Info, png_uint_32(W), png_uint_32(H), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(Png, Info, Pointers.data());
    png_write_png(Png, Info, PNG_TRANSFORM_IDENTITY, nullptr);
  }
  png_destroy_write_struct(&Png, Info ? &Info : nullptr);
  if (Failed) throw EInvalidGraphic(Format("Cannot encode %s as PNG", {FileName}));
  WriteFileAtomically(FileName, Out.data(), Out.size());
}
