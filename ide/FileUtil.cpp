#include "FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Classes.h"

namespace {
[[noreturn]] void CreateError(const String& FileName, int Err) {
  throw EFCreateError(
      Format("Cannot create file \"%s\". %s", {ExpandFileName(FileName), SysErrorMessage(Err)}));
}
}  // namespace

void WriteFileAtomically(const String& FileName, const void* Data, std::size_t Size) {
  String Dir = ExtractFileDir(FileName);
  if (Dir.empty()) Dir = ".";
  if (DirectoryExists(FileName)) CreateError(FileName, EISDIR);
  String Temp = Dir + "/." + ExtractFileName(FileName) + ".XXXXXX";
  int Fd = mkstemp(Temp.data());
  if (Fd < 0) CreateError(FileName, errno);
  const char* P = static_cast<const char*>(Data);
  std::size_t Left = Size;
  int Err = 0;
  while (Left > 0) {
    ssize_t N = write(Fd, P, Left);
    if (N < 0) {
      if (errno == EINTR) continue;
      Err = errno;
      break;
    }
    P += N;
    Left -= std::size_t(N);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  struct stat St;
  mode_t Mode = stat(FileName.c_str(), &St) == 0 ? (St.st_mode & 07777) : 0644;
  if (!Err && fchmod(Fd, Mode) != 0) Err = errno;
  if (!Err && fsync(Fd) != 0) Err = errno;
  if (close(Fd) != 0 && !Err) Err = errno;
  if (!Err && rename(Temp.c_str(), FileName.c_str()) != 0) Err = errno;
  if (Err) {
    unlink(Temp.c_str());
    CreateError(FileName, Err);
  }
}

String ReadFileToString(const String& FileName) {
  auto OpenError = [&](int Err) {
    return EFOpenError(
        Format("Cannot open file \"%s\". %s", {ExpandFileName(FileName), SysErrorMessage(Err)}));
  };
  int Fd = open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) throw OpenError(errno);
  struct stat St;
  if (fstat(Fd, &St) != 0) {
    int Err = errno;
    close(Fd);
    throw OpenError(Err);
  }
  if (S_ISDIR(St.st_mode)) {
    close(Fd);
    throw OpenError(EISDIR);
  }
  String Data;
  Data.resize(std::size_t(St.st_size));
  std::size_t Got = 0;
  for (;;) {
    if (Got == Data.size()) Data.resize(Data.size() + 65536);
    ssize_t N = read(Fd, Data.data() + Got, Data.size() - Got);
    if (N < 0) {
      if (errno == EINTR) continue;
      int Err = errno;
      close(Fd);
      throw OpenError(Err);
    }
    if (N == 0) break;
    Got += std::size_t(N);
  }
  close(Fd);
  Data.resize(Got);
  return Data;
}
