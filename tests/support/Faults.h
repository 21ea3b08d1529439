// Faults the tests inject into the IDE's writers: a disk that fills up (the file-size limit,
// whose signal the IDE ignores), a folder without write permission, a process killed.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// Writes past Bytes in any file fail with EFBIG for as long as the object lives, as on a
// disk with that much room left. SIGXFSZ is ignored meanwhile, as the IDE ignores it.
class TDiskFull {
 public:
  explicit TDiskFull(rlim_t Bytes) : FOldSignal(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    struct rlimit Small = FOld;
    Small.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &Small);
  }
  ~TDiskFull() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    signal(SIGXFSZ, FOldSignal);
  }
  TDiskFull(const TDiskFull&) = delete;
  TDiskFull& operator=(const TDiskFull&) = delete;

 private:
  sighandler_t FOldSignal;
  struct rlimit FOld {};
};

// A folder made read-only for as long as the object lives. Whether that stops this
// process from writing depends on who runs it: root (as in many CI containers) writes
// anyway, which Effective tells, so a test can skip that half and say why.
class TReadOnlyFolder {
 public:
  explicit TReadOnlyFolder(const std::string& Folder) : FFolder(Folder) {
    namespace fs = std::filesystem;
    fs::permissions(FFolder, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  }
  ~TReadOnlyFolder() {
    namespace fs = std::filesystem;
    fs::permissions(FFolder, fs::perms::owner_all, fs::perm_options::replace);
  }
  TReadOnlyFolder(const TReadOnlyFolder&) = delete;
  TReadOnlyFolder& operator=(const TReadOnlyFolder&) = delete;
  bool Effective() const { return access(FFolder.c_str(), W_OK) != 0; }
  static constexpr const char* WhyNot =
      "running as root, which writes into read-only folders; the disk-full half still runs";

 private:
  std::string FFolder;
};
