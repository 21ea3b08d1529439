#include "FileUtil.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

namespace {

// The file a save writes: a symbolic link is saved through, to the file it names, so the
// link stays a link.
String SaveTarget(const String& FileName) {
  String Target = FileName;
  for (int Hops = 0; Hops < 40; ++Hops) {
    struct stat St;
    if (lstat(Target.c_str(), &St) != 0 || !S_ISLNK(St.st_mode)) return Target;
    String Link(size_t(St.st_size > 0 ? St.st_size : 255) + 1, '\0');
    ssize_t N = readlink(Target.c_str(), Link.data(), Link.size());
    if (N < 0) CreateError(FileName, errno);
    Link.resize(size_t(N));
    if (Link.empty() || Link[0] != '/') {
      String Dir = ExtractFileDir(Target);
      Link.insert(0, (Dir.empty() ? String(".") : Dir) + "/");
    }
    Target = Link;
  }
  CreateError(FileName, ELOOP);
}

// Temporary files are ".NAME.PID.XXXXXX" beside the file: the process that writes one is
// known, so one left by a process that is gone (killed mid-save) can be told from one
// another IDE is writing right now.
String TemporaryPrefix(const String& Target) { return "." + ExtractFileName(Target) + "."; }

}  // namespace

void RemoveStaleTemporaries(const String& FileName) {
  String Target = SaveTarget(FileName);
  String Dir = ExtractFileDir(Target);
  if (Dir.empty()) Dir = ".";
  String Prefix = TemporaryPrefix(Target);
  DIR* D = opendir(Dir.c_str());
  if (!D) return;
  while (dirent* E = readdir(D)) {
    String Name = E->d_name;
    if (Name.compare(0, Prefix.size(), Prefix) != 0) continue;
    // The rest is PID "." and six characters of mkstemp.
    String Rest = Name.substr(Prefix.size());
    size_t Dot = Rest.find('.');
    if (Dot == String::npos || Dot == 0 || Rest.size() - Dot - 1 != 6) continue;
    int Pid;
    if (!TryStrToInt(Rest.substr(0, Dot), Pid) || Pid <= 0) continue;
    if (kill(pid_t(Pid), 0) == 0 || errno != ESRCH) continue;  // still writing
    unlinkat(dirfd(D), Name.c_str(), 0);
  }
  closedir(D);
}

void WriteFileAtomically(const String& FileName, const void* Data, std::size_t Size) {
  String Target = SaveTarget(FileName);
  String Dir = ExtractFileDir(Target);
  if (Dir.empty()) Dir = ".";
  if (DirectoryExists(Target)) CreateError(FileName, EISDIR);
  // Keep the permissions of the file being replaced; a new file gets the usual ones. A
  // read-only file is refused, as the platform refuses to overwrite it.
  struct stat St;
  bool Exists = stat(Target.c_str(), &St) == 0;
  if (Exists && ((St.st_mode & 0222) == 0 || access(Target.c_str(), W_OK) != 0))
    CreateError(FileName, EACCES);
  mode_t Mode = Exists ? (St.st_mode & 07777) : 0644;
  RemoveStaleTemporaries(Target);
  String Temp = Dir + "/" + TemporaryPrefix(Target) + IntToStr(int(getpid())) + ".XXXXXX";
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
  if (!Err && fchmod(Fd, Mode) != 0) Err = errno;
  if (!Err && fsync(Fd) != 0) Err = errno;
  if (close(Fd) != 0 && !Err) Err = errno;
  if (!Err && rename(Temp.c_str(), Target.c_str()) != 0) Err = errno;
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
  auto ReadSome = [&](char* Into, std::size_t Room) {
    for (;;) {
      ssize_t N = read(Fd, Into, Room);
      if (N >= 0) return std::size_t(N);
      if (errno == EINTR) continue;
      int Err = errno;
      close(Fd);
      throw OpenError(Err);
    }
  };
  String Data(std::size_t(St.st_size), '\0');
  std::size_t Got = 0;
  while (Got < Data.size())
    if (std::size_t N = ReadSome(Data.data() + Got, Data.size() - Got))
      Got += N;
    else
      break;
  // What came after the size the file had (or all of a file that tells no size, as /proc
  // does) is asked for in small reads: a file read whole is not grown, and copied, only
  // to find its end.
  if (Got == Data.size()) {
    char More[4096];
    while (std::size_t N = ReadSome(More, sizeof More)) {
      Data.append(More, N);
      Got += N;
    }
  }
  close(Fd);
  Data.resize(Got);
  return Data;
}
