#include "processing/files.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace tz {

namespace {

FileId IdOf(const struct stat& st) {
  FileId id;
  id.valid = true;
  id.regular = S_ISREG(st.st_mode);
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  return id;
}

// ---- Signals

// Temporary files alive now, for a signal handler to remove: fixed slots,
// claimed and released with atomic flags, read without locks.
struct TempSlot {
  std::atomic<bool> used{false};
  int dirFd = -1;
  char name[NAME_MAX + 1];
};
TempSlot g_temps[8];

// Outputs are created by one thread at a time (the run's).
int RegisterTemp(int dirFd, const std::string& name) {
  if (name.size() > NAME_MAX) return -1;
  for (int i = 0; i < 8; ++i) {
    if (g_temps[i].used.load(std::memory_order_relaxed)) continue;
    g_temps[i].dirFd = dirFd;
    std::memcpy(g_temps[i].name, name.c_str(), name.size() + 1);
    g_temps[i].used.store(true, std::memory_order_release);
    return i;
  }
  return -1;
}

void ReleaseTemp(int slot) {
  if (slot >= 0) g_temps[slot].used.store(false, std::memory_order_release);
}

// The signals that report a fault of the program itself: never held back.
constexpr int kFaultSignals[] = {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};

bool IsFault(int sig) {
  return std::find(std::begin(kFaultSignals), std::end(kFaultSignals), sig) !=
         std::end(kFaultSignals);
}

// The other signals whose default action ends the program.
sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1, SIGUSR2, SIGXCPU,
                  SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO})
    sigaddset(&set, sig);
#ifdef SIGPWR
  sigaddset(&set, SIGPWR);
#endif
#ifdef SIGSTKFLT
  sigaddset(&set, SIGSTKFLT);
#endif
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) sigaddset(&set, sig);
  return set;
}

// While a thread holds the signals back (creating a temporary file, moving
// the outputs into place), one that reaches another thread waits too.
std::atomic<bool> g_holding{false};
std::atomic<int> g_heldSignal{0};

// A fault of the program itself (not one sent by kill) cannot wait: the
// instruction would fault again at once.
extern "C" void RemoveTemporaryFilesAndEnd(int sig, siginfo_t* info, void*) {
  const bool sent = info == nullptr || info->si_code <= 0;
  if (g_holding.load() && (sent || !IsFault(sig))) {
    g_heldSignal.store(sig);
    return;
  }
  RemoveTemporaryFiles();
  ::signal(sig, SIG_DFL);
  ::raise(sig);  // delivered when the handler returns
}

// Holds the ending signals back for a short step that must not be cut in
// two; one that came meanwhile ends the program when the step is done.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set = EndingSignals();
    for (int sig : kFaultSignals) sigaddset(&set, sig);  // as sent by kill
    pthread_sigmask(SIG_BLOCK, &set, &old_);
    g_holding.store(true);
  }
  ~SignalsHeld() {
    g_holding.store(false);
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);  // one sent to this thread arrives here
    if (const int sig = g_heldSignal.exchange(0); sig != 0)
      RemoveTemporaryFilesAndEnd(sig, nullptr, nullptr);
  }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// ---- Names and places

constexpr int kMaxLinks = 40;

void SetPlace(int dirFd, const std::string& name, int* outDirFd, FilePlace* place) {
  struct stat dir;
  if (::fstat(dirFd, &dir) == 0) {
    place->valid = true;
    place->dirDev = dir.st_dev;
    place->dirIno = dir.st_ino;
  }
  place->name = name;
  *outDirFd = dirFd;
}

// Opens the folder part of a name, relative to base (links in it followed by
// the kernel), and gives the last part. -1 (errno set) on failure.
int OpenFolderOf(int base, const std::string& text, std::string* name) {
  const std::filesystem::path p(text);
  *name = p.filename().string();
  if (name->empty() || *name == "." || *name == "..") {
    errno = EISDIR;
    return -1;
  }
  const std::string dir = p.has_parent_path() ? p.parent_path().string() : std::string(".");
  return ::openat(base, dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The path of an open folder, as the kernel records it ("." when it does
// not say).
std::string FolderPath(int dirFd) {
  const std::string link = "/proc/self/fd/" + std::to_string(dirFd);
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size());
  if (n <= 0 || static_cast<size_t>(n) >= buf.size() || buf[0] != '/') return ".";
  return std::string(buf.data(), static_cast<size_t>(n));
}

// The folder and name of a regular file opened through a name: the name the
// kernel records for the open file, or else the name given, each taken only
// when the folder's entry of that name is the opened file.
bool PlaceOfOpenFile(int fd, const char* path, const struct stat& st, int* dirFd,
                     FilePlace* place) {
  std::string candidates[2];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size());
  if (n > 0 && static_cast<size_t>(n) < buf.size() && buf[0] == '/') candidates[0].assign(buf.data(), n);
  candidates[1] = path;
  for (const std::string& c : candidates) {
    if (c.empty()) continue;
    std::string name;
    const int dfd = OpenFolderOf(AT_FDCWD, c, &name);
    if (dfd < 0) continue;
    struct stat entry;
    if (::fstatat(dfd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
        entry.st_dev == st.st_dev && entry.st_ino == st.st_ino) {
      SetPlace(dfd, name, dirFd, place);
      return true;
    }
    ::close(dfd);
  }
  errno = ENOENT;  // the file has no name left that leads to it
  return false;
}

// The kernel's rule for links in sticky world-writable folders
// (fs.protected_symlinks), for the links followed here.
bool MayFollow(int dirFd, const struct stat& link) {
  char setting = '1';
  if (FILE* f = std::fopen("/proc/sys/fs/protected_symlinks", "re")) {
    setting = static_cast<char>(std::fgetc(f));
    std::fclose(f);
  }
  if (setting == '0') return true;
  struct stat dir;
  if (::fstat(dirFd, &dir) != 0) return false;
  const bool shared = (dir.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// Where a new file of this name would be: the folder the kernel finds and
// the last name, after the links the name ends in (links to where nothing
// is, which the kernel has just followed when it found nothing). 0 when
// placed, 1 when something is there after all, -1 (errno set) on failure.
int PlaceOfNewName(const char* path, int* dirFd, FilePlace* place) {
  std::string text = path;
  int base = AT_FDCWD;
  for (int hops = 0;; ++hops) {
    std::string name;
    const int dfd = OpenFolderOf(base, text, &name);
    const int err = errno;
    if (base != AT_FDCWD) ::close(base);
    if (dfd < 0) {
      errno = err;
      return -1;
    }
    struct stat entry;
    if (::fstatat(dfd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) {
        SetPlace(dfd, name, dirFd, place);
        return 0;
      }
      const int e = errno;
      ::close(dfd);
      errno = e;
      return -1;
    }
    if (!S_ISLNK(entry.st_mode)) {
      ::close(dfd);
      return 1;
    }
    if (hops >= kMaxLinks || !MayFollow(dfd, entry)) {
      ::close(dfd);
      errno = hops >= kMaxLinks ? ELOOP : EACCES;
      return -1;
    }
    std::vector<char> target(static_cast<size_t>(std::max<off_t>(entry.st_size, PATH_MAX)) + 1);
    const ssize_t n = ::readlinkat(dfd, name.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) {
      ::close(dfd);
      return 1;  // changed meanwhile: look again
    }
    text.assign(target.data(), static_cast<size_t>(n));
    base = dfd;
  }
}

}  // namespace

bool PlaceOfNewFile(const char* path, FilePlace* place) {
  int dirFd = -1;
  *place = {};
  if (PlaceOfNewName(path, &dirFd, place) != 0) return false;
  ::close(dirFd);
  return place->valid;
}

namespace {

size_t NameMax(int dirFd) {
  const long max = ::fpathconf(dirFd, _PC_NAME_MAX);
  return max > 0 && max < NAME_MAX ? static_cast<size_t>(max) : NAME_MAX;
}

// A hidden name beside "name": "." + name + "." + six random characters,
// the name shortened (never inside a UTF-8 character) so that all fits in
// max bytes.
std::string HiddenName(const std::string& name, size_t max) {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  size_t keep = std::min(name.size(), max > 8 ? max - 8 : 0);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
    --keep;
  unsigned char random[6];
  if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
    static unsigned counter = 0;
    unsigned long long x = static_cast<unsigned long long>(::time(nullptr)) * 2654435761u ^
                           static_cast<unsigned long long>(::getpid()) << 20 ^ ++counter;
    for (unsigned char& r : random) r = static_cast<unsigned char>(x >>= 5);
  }
  std::string out(1, '.');
  out.append(name, 0, keep);
  out += '.';
  for (unsigned char r : random) out += kChars[r % (sizeof kChars - 1)];
  return out;
}

// The earlier file's owner and group where the user may set them, and its
// permissions without the set-user-ID and set-group-ID bits; what the earlier
// group could do is dropped when the group could not be kept, so that no
// other group gains it.
void KeepOwnerAndMode(int fd, const struct stat& earlier) {
  mode_t mode = earlier.st_mode & 0777;
  if (::fchown(fd, earlier.st_uid, earlier.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), earlier.st_gid) != 0)
    mode &= ~static_cast<mode_t>(S_IRWXG);
  ::fchmod(fd, mode);
}

bool Unsupported(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

}  // namespace

void RemoveTemporaryFiles() {
  for (TempSlot& t : g_temps)
    if (t.used.load(std::memory_order_acquire)) ::unlinkat(t.dirFd, t.name, 0);
}

void RemoveTemporaryFilesOnSignals() {
  auto handle = [](int sig) {
    struct sigaction old {};
    // A signal the program was started to ignore (nohup, a background job)
    // stays ignored; one with a handler already keeps it.
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction sa {};
    sa.sa_sigaction = RemoveTemporaryFilesAndEnd;
    sa.sa_mask = EndingSignals();
    sa.sa_flags = SA_RESTART | SA_SIGINFO;
    ::sigaction(sig, &sa, nullptr);
  };
  const sigset_t ending = EndingSignals();
  for (int sig = 1; sig < NSIG; ++sig)
    if (sig != SIGXFSZ && sigismember(&ending, sig) == 1) handle(sig);
  for (int sig : kFaultSignals) handle(sig);
  // A write beyond the file-size limit fails (EFBIG) instead of ending the program.
  struct sigaction old {};
  if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) ::signal(SIGXFSZ, SIG_IGN);
}

bool OpenStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDWR);  // the lowest free descriptor: fd
    if (opened < 0) return false;
    if (opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
  return true;
}

FileId IdOfFd(int fd) {
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) return {};
  return IdOf(st);
}

FileId IdOfPath(const char* path) {
  struct stat st;
  if (path == nullptr || ::stat(path, &st) != 0) return {};
  return IdOf(st);
}

bool InputFile::Open(const char* path) {
  Close();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  readFailed_ = false;
  readErrno_ = 0;
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    errno = EISDIR;
    return false;
  }
  return true;
}

bool InputFile::Size(uint64_t* size) const {
  struct stat st;
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  if (::fstat(fd_, &st) != 0) return false;
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

size_t InputFile::Read(char* buf, size_t n) {
  for (;;) {
    ssize_t got = ::read(fd_, buf, n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      readFailed_ = true;
      readErrno_ = errno;
      return 0;
    }
    return static_cast<size_t>(got);
  }
}

void InputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

OutputFile::~OutputFile() { Abandon(); }

void OutputFile::Reset() {
  used_ = 0;
  failed_ = false;
  failErrno_ = 0;
  targetId_ = {};
  place_ = {};
  tempId_ = {};
  earlier_ = Earlier::None;
  backup_.clear();
  stranded_.clear();
}

bool OutputFile::Create(const char* path, Mode mode) {
  Abandon();
  Reset();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  if (!buf_) buf_ = RunBuffer(kBufferSize, Touch::Sparse);
  if (mode == Mode::Direct) {
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ < 0) return false;
    targetId_ = IdOfFd(fd_);
    return true;
  }
  // The program's standard output named another way takes it as it is: a
  // pipe or a terminal is written through it (a file is replaced below).
  const FileId named = IdOfPath(path);
  if (named.valid && !named.regular && named == IdOfFd(STDOUT_FILENO)) {
    fd_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (fd_ < 0) return false;
    targetId_ = named;
    return true;
  }
  for (int attempt = 0; attempt < 8; ++attempt) {
    // Opening for writing follows the links as the kernel does, with its
    // protections, and refuses what the user may not write; nothing is
    // emptied.
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
      struct stat st;
      if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return false;
      }
      targetId_ = IdOf(st);
      if (!S_ISREG(st.st_mode)) {  // a terminal, a pipe, a device: written directly
        fd_ = fd;
        return true;
      }
      const bool found = PlaceOfOpenFile(fd, path, st, &dirFd_, &place_);
      const int err = errno;
      ::close(fd);
      if (!found) {
        targetId_ = {};
        errno = err;
        return false;
      }
      return CreateTemporary(&st);
    }
    if (errno != ENOENT) return false;
    const int placed = PlaceOfNewName(path, &dirFd_, &place_);
    if (placed < 0) return false;
    if (placed == 0) return CreateTemporary(nullptr);
    // Something came under the name meanwhile: open it again.
  }
  errno = EAGAIN;
  return false;
}

bool OutputFile::CreateTemporary(const struct stat* earlier) {
  // Registered for removal before any signal may end the program.
  SignalsHeld held;
  const size_t max = NameMax(dirFd_);
  for (int tries = 0; tries < 100; ++tries) {
    const std::string name = HiddenName(place_.name, max);
    const int fd = ::openat(dirFd_, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                            earlier != nullptr ? 0600 : 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    fd_ = fd;
    temp_ = name;
    tempId_ = IdOfFd(fd);
    tempSlot_ = RegisterTemp(dirFd_, temp_);
    if (earlier != nullptr) KeepOwnerAndMode(fd, *earlier);
    return true;
  }
  const int err = errno;
  ::close(dirFd_);
  dirFd_ = -1;
  place_ = {};
  targetId_ = {};
  errno = err;
  return false;
}

bool OutputFile::SameFileAs(const OutputFile& other) const {
  return (place_.valid && place_ == other.place_) || Names(other.targetId_);
}

void OutputFile::Fail(int err) {
  if (failed_.load(std::memory_order_relaxed)) return;
  failErrno_ = err;
  failed_.store(true, std::memory_order_release);
}

bool OutputFile::Install(bool keepEarlier) {
  if (temp_.empty()) return !Failed();
  const char* name = place_.name.c_str();
  if (keepEarlier) {
    // The two names swap: the earlier file goes under the hidden one.
    if (::renameat2(dirFd_, temp_.c_str(), dirFd_, name, RENAME_EXCHANGE) == 0) {
      earlier_ = Earlier::AtTemp;
      return true;
    }
    const int err = errno;
    if (err != ENOENT && !Unsupported(err)) {
      Fail(err);
      return false;
    }
    if (err != ENOENT) {
      // No swapping on this filesystem: the earlier file gets a hidden
      // second name (a link, or else it moves aside) before the new one
      // takes its name.
      enum { kNothing, kLinked, kMoved } aside = kNothing;
      backup_ = HiddenName(place_.name, NameMax(dirFd_));
      if (::linkat(dirFd_, name, dirFd_, backup_.c_str(), 0) == 0) {
        aside = kLinked;
      } else if (errno != ENOENT) {
        if (::renameat(dirFd_, name, dirFd_, backup_.c_str()) == 0) {
          aside = kMoved;
        } else if (errno != ENOENT) {
          Fail(errno);
          backup_.clear();
          return false;
        }
      }
      if (aside != kNothing) {
        if (::renameat(dirFd_, temp_.c_str(), dirFd_, name) == 0) {
          earlier_ = Earlier::AtBackup;
          return true;
        }
        Fail(errno);
        if (aside == kLinked)
          ::unlinkat(dirFd_, backup_.c_str(), 0);
        else
          ::renameat(dirFd_, backup_.c_str(), dirFd_, name);
        backup_.clear();
        return false;
      }
      backup_.clear();
    }
  }
  if (::renameat(dirFd_, temp_.c_str(), dirFd_, name) != 0) {
    Fail(errno);
    return false;
  }
  earlier_ = Earlier::None;
  moved_ = true;
  return true;
}

bool OutputFile::Undo() {
  if (dirFd_ < 0 || temp_.empty()) return true;
  const char* name = place_.name.c_str();
  bool ok = true;
  switch (earlier_) {
    case Earlier::AtTemp:
      // They swap back, and the new file goes.
      ok = ::renameat2(dirFd_, temp_.c_str(), dirFd_, name, RENAME_EXCHANGE) == 0;
      if (ok) ::unlinkat(dirFd_, temp_.c_str(), 0);
      break;
    case Earlier::AtBackup:
      ok = ::renameat(dirFd_, backup_.c_str(), dirFd_, name) == 0;
      break;
    case Earlier::None: {
      // There was none: the new file goes, if it is still the one there.
      struct stat st;
      if (moved_ && ::fstatat(dirFd_, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          st.st_dev == tempId_.dev && st.st_ino == tempId_.ino)
        ok = ::unlinkat(dirFd_, name, 0) == 0;
      break;
    }
  }
  // What could not be put back stays under its hidden name: nothing is
  // lost, and the name is kept to be told.
  if (!ok && earlier_ != Earlier::None)
    stranded_ = FolderPath(dirFd_) + "/" + (earlier_ == Earlier::AtTemp ? temp_ : backup_);
  Forget();
  return ok;
}

void OutputFile::Settle() {
  if (earlier_ == Earlier::AtTemp) ::unlinkat(dirFd_, temp_.c_str(), 0);
  if (earlier_ == Earlier::AtBackup) ::unlinkat(dirFd_, backup_.c_str(), 0);
  Forget();
}

void OutputFile::Forget() {
  ReleaseTemp(tempSlot_);
  tempSlot_ = -1;
  temp_.clear();
  backup_.clear();
  earlier_ = Earlier::None;
  moved_ = false;
  if (dirFd_ >= 0) ::close(dirFd_);
  dirFd_ = -1;
}

void OutputFile::Abandon() {
  Close();
  if (!temp_.empty() && !moved_ && earlier_ == Earlier::None) ::unlinkat(dirFd_, temp_.c_str(), 0);
  Forget();
}

bool OutputFile::WriteAll(const char* data, size_t n) {
  while (n > 0) {
    ssize_t put = ::write(fd_, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      Fail(put < 0 ? errno : ENOSPC);
      return false;
    }
    data += put;
    n -= static_cast<size_t>(put);
  }
  return true;
}

bool OutputFile::Flush() {
  if (fd_ < 0) return false;
  if (used_ > 0 && !failed_) WriteAll(buf_.data(), used_);
  used_ = 0;
  return !failed_;
}

void OutputFile::WriteSlow(const char* data, size_t n) {
  if (fd_ < 0) return;
  if (failed_) {
    used_ = 0;
    return;
  }
  Flush();
  if (n >= kBufferSize) {
    if (!failed_) WriteAll(data, n);
    return;
  }
  std::memcpy(buf_.data(), data, n);
  used_ = n;
}

void OutputFile::WriteBlock(const char* data, size_t n) {
  if (n < kWriteThrough) {
    Write(data, n);
    return;
  }
  if (fd_ < 0 || failed_) return;
  if (used_ > 0 && !Flush()) return;
  WriteAll(data, n);
}

bool OutputFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (::close(fd_) != 0) Fail(errno);
  fd_ = -1;
  return !failed_;
}

bool CommitOutputs(OutputFile& first, OutputFile& second) {
  const bool closedFirst = first.Close();
  const bool closedSecond = second.Close();
  if (!closedFirst || !closedSecond) {
    first.Abandon();
    second.Abandon();
    return false;
  }
  SignalsHeld held;
  // From here a temporary name may hold an earlier file: no signal handler
  // removes it, and no signal ends the program before both are in place.
  ReleaseTemp(first.tempSlot_);
  ReleaseTemp(second.tempSlot_);
  first.tempSlot_ = second.tempSlot_ = -1;
  if (!first.Install(true)) {
    first.Abandon();
    second.Abandon();
    return false;
  }
  if (!second.Install(false)) {
    first.Undo();
    second.Abandon();
    return false;
  }
  first.Settle();
  second.Settle();
  return true;
}

WholeFileResult WriteWholeFile(const char* path, const char* data, size_t n) {
  OutputFile out, none;
  if (!out.Create(path, OutputFile::Mode::Replace)) return {errno, false};
  out.WriteBlock(data, n);
  if (!CommitOutputs(out, none)) return {out.FailErrno(), true};
  return {0, true};
}

}  // namespace tz
