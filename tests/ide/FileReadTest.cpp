// Reading a whole file (forms, string lists, headers): every byte, whatever size the file
// says it has, and a clear error naming the file when it cannot be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "FileUtil.h"
#include "Classes.h"
#include "TempFolder.h"

namespace {

String Pattern(std::size_t Size) {
  String S(Size, '\0');
  for (std::size_t I = 0; I < Size; ++I) S[I] = char('a' + I * 7 % 26 + (I % 4096 == 0));
  return S;
}

TEST(ReadFileToString, ReadsEveryByteOfFilesOfAnySize) {
  TTempFolder Dir;
  for (std::size_t Size : {0u, 1u, 4095u, 4096u, 4097u, 65536u, 65537u, 1u << 20}) {
    String Data = Pattern(Size);
    WriteWholeFile(Dir / "f", Data);
    EXPECT_EQ(ReadFileToString(Dir / "f"), Data) << Size << " bytes";
  }
}

TEST(ReadFileToString, ReadsPastTheSizeAFileTellsOf) {
  // /proc files tell a size of 0; a pipe tells none, and its writer may write more than
  // one small read takes.
  EXPECT_NE(ReadFileToString("/proc/self/status").find("Name:"), String::npos);
  TTempFolder Dir;
  String Fifo = Dir / "fifo";
  ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
  String Data = Pattern(100000);
  std::thread Writer([&] { WriteWholeFile(Fifo, Data); });
  String Read = ReadFileToString(Fifo);
  Writer.join();
  EXPECT_EQ(Read, Data);
}

TEST(ReadFileToString, NamesTheFileItCannotRead) {
  TTempFolder Dir;
  for (const String& Name : {Dir / "missing.dfm", Dir.Path()}) {
    try {
      ReadFileToString(Name);
      ADD_FAILURE() << Name << " was read";
    } catch (EFOpenError& E) {
      EXPECT_NE(E.Message.find(Name), String::npos) << E.Message;
    }
  }
}

}  // namespace
