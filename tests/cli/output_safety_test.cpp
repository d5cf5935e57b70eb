// The batch command against a hostile user: names, links, descriptors,
// permissions and signals that could make a run lose or corrupt a file.
// Whatever is tried, an earlier file is either replaced whole by a run that
// reached its end or left as it was, and no output carries anything but the
// run's own text.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/kept_outputs.h"
#include "tests/test_support.h"

namespace tz::test {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = SourcePath("samples/demo.VBT");
const std::string kCli = TZ_CLI;
constexpr uid_t kNobody = 65534;
constexpr char kTdmStart[] = "Vibrotorsional Time Domain Analysis\r\n";
constexpr char kFdmStart[] = "Vibrotorsional Frequency Domain Analysis\r\n";

// A command's prefix that preloads the rename fault shim, and the kinds of
// filesystem the shim stands for: one that exchanges names, one that only
// links them, one that does neither.
const std::string kRenameShim =
    std::string("ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=") + TZ_RENAME_FAULT + " ";
constexpr const char* kFilesystems[] = {"", "TZ_NO_EXCHANGE=1 ", "TZ_NO_EXCHANGE=1 TZ_NO_LINK=1 "};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Runs a shell script (its own output and errors are the result's).
CommandResult Sh(const std::string& script) { return RunCommand("sh -c " + Quote(script)); }

bool AsRoot() { return geteuid() == 0; }

// A script run by a user the permission bits apply to: the user running the
// tests, or nobody when that is root.
std::string AsUnprivileged(const std::string& script) {
  if (!AsRoot()) return "sh -c " + Quote(script);
  return "setpriv --reuid=65534 --regid=65534 --clear-groups sh -c " + Quote(script);
}
CommandResult ShUnprivileged(const std::string& script) { return RunCommand(AsUnprivileged(script)); }

// Why such a script cannot run here, or empty when it can.
std::string NoUnprivilegedUser() {
  if (RunCommand(AsUnprivileged("test -x " + kCli)).status == 0) return "";
  return AsRoot() ? "nobody cannot run the batch command here (setpriv missing, or the build "
                    "in a folder closed to others)"
                  : "the batch command cannot be run";
}

// A folder everybody may use, with a copy of the demo input in it.
struct Shared {
  TempDir dir;
  std::string in = dir.Path("in.VBT");
  Shared() {
    WriteFile(in, ReadFile(kDemo));
    chmod(dir.Dir().c_str(), 0777);
    chmod(in.c_str(), 0644);
  }
  std::string Run(const std::string& tdm, const std::string& fdm) const {
    return "cd " + Quote(dir.Dir()) + " && " + kCli + " -q in.VBT " + Quote(tdm) + " " +
           Quote(fdm);
  }
};

// The outputs of the demo, made once, to compare others with.
struct Reference {
  TempDir dir;
  std::string tdm, fdm;
  explicit Reference(const std::string& input) {
    const CommandResult res = RunCli("-q " + input + " " + dir.Path("r.TDM") + " " + dir.Path("r.FDM"));
    EXPECT_EQ(res.status, 0) << res.err;
    tdm = ReadFile(dir.Path("r.TDM"));
    fdm = ReadFile(dir.Path("r.FDM"));
  }
};

// Two names of one output that is not there yet.

TEST(OutputNames, TwoNamesOfOneNewFileAreRefused) {
  TempDir dir;
  const std::string d = dir.Path("d");
  fs::create_directories(dir.Path("sub"));
  fs::create_directories(d);
  fs::create_directory_symlink("d", dir.Path("dl"));
  fs::create_symlink("new.TDM", dir.Path("dangling.FDM"));
  fs::create_symlink("hop.FDM", dir.Path("chain.FDM"));
  fs::create_symlink("dl/../d/new.TDM", dir.Path("hop.FDM"));
  const struct {
    std::string tdm, fdm;
  } cases[] = {
      {"new.TDM", "./new.TDM"},
      {"sub/x.TDM", "sub/../sub/x.TDM"},
      {"new.TDM", "dangling.FDM"},
      {"d/new.TDM", "dl/new.TDM"},
      {"d/new.TDM", "chain.FDM"},
      {"d/new.TDM", "d//new.TDM"},
      {d + "/new.TDM", "dl/./new.TDM"},
  };
  const auto before = Names(dir.Dir());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tdm + " " + c.fdm);
    const CommandResult res = Sh("cd " + Quote(dir.Dir()) + " && " + kCli + " -q " + kDemo +
                                 " " + c.tdm + " " + c.fdm);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 16: FDM file creation failure.")) << res.err;
    EXPECT_EQ(Names(dir.Dir()), before);
    EXPECT_TRUE(Names(d).empty());
    EXPECT_TRUE(Names(dir.Path("sub")).empty());
  }
  // Different files in one folder are fine.
  const CommandResult res = Sh("cd " + Quote(dir.Dir()) + " && " + kCli + " -q " + kDemo +
                               " d/new.TDM dl/new.FDM");
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Names(d), (std::vector<std::string>{"new.FDM", "new.TDM"}));
}

TEST(OutputNames, NamesMeanWhatTheSystemSays) {
  // lnk/.. is the folder above the one lnk names, not the one lnk stands in.
  TempDir dir;
  fs::create_directories(dir.Path("deep/sub"));
  fs::create_directory_symlink("deep/sub", dir.Path("lnk"));
  WriteFile(dir.Path("deep/in.VBT"), ReadFile(kDemo));
  const CommandResult res = Sh("cd " + Quote(dir.Dir()) + " && " + kCli +
                               " -q lnk/../in.VBT lnk/../x.TDM " + dir.Path("lnk/../x.FDM"));
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_TRUE(ReadFile(dir.Path("deep/x.TDM")).starts_with(kTdmStart));
  EXPECT_TRUE(ReadFile(dir.Path("deep/x.FDM")).starts_with(kFdmStart));
  EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"deep", "lnk"}));
}

TEST(OutputNames, LongNamesAreWritten) {
  TempDir dir;
  std::string accents;
  for (int i = 0; i < 125; ++i) accents += "\xc3\xa9";  // 250 bytes of two-byte characters
  const std::string names[] = {std::string(251, 'n') + ".TDM", std::string(246, 'm') + ".TDM",
                               accents.substr(0, 248) + "x.FDM", std::string(255, 'z')};
  for (const std::string& tdm : names) {
    SCOPED_TRACE(tdm.size());
    const std::string fdm = std::string(tdm.size() - 1, 'f') + "F";
    // Once new, once over the file of the first run.
    for (int round = 0; round < 2; ++round) {
      const CommandResult res = RunCli("-q " + kDemo + " " + Quote(dir.Path(tdm)) + " " +
                                       Quote(dir.Path(fdm)));
      EXPECT_EQ(res.status, 0) << res.err;
      EXPECT_TRUE(ReadFile(dir.Path(tdm)).starts_with(kTdmStart));
      EXPECT_TRUE(ReadFile(dir.Path(fdm)).starts_with(kFdmStart));
      EXPECT_EQ(Names(dir.Dir()).size(), 2u);
    }
    fs::remove(dir.Path(tdm));
    fs::remove(dir.Path(fdm));
  }
}

// Both outputs are replaced or neither.

TEST(OutputCommit, AFailingFdmMoveLeavesBothEarlierOutputs) {
  const std::string& preload = kRenameShim;
  for (const std::string ops : kFilesystems) {
    SCOPED_TRACE(ops);
    Kept k;
    CommandResult res = RunCommand(preload + ops + "TZ_FAIL_RENAME_TO=.FDM " + kCli + " -q " +
                                   kDemo + " " + k.tdm + " " + k.fdm);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 16: FDM file write failure.")) << res.err;
    EXPECT_TRUE(Has(res.err, "VBT preprocessor: Output file write failure: no output file was "
                             "replaced.\n")) << res.err;
    k.ExpectUntouched();

    // A TDM that was not there before is not left there either.
    fs::remove(k.tdm);
    res = RunCommand(preload + ops + "TZ_FAIL_RENAME_TO=.FDM " + kCli + " -q " + kDemo + " " +
                     k.tdm + " " + k.fdm);
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(Names(k.dir.Dir()), std::vector<std::string>{"keep.FDM"});

    // Without the failure, both are replaced and nothing else stays.
    WriteFile(k.tdm, "earlier TDM results\r\n");
    res = RunCommand(preload + ops + kCli + " -q " + kDemo + " " + k.tdm + " " + k.fdm);
    EXPECT_EQ(res.status, 0) << res.err;
    k.ExpectReplaced(kTdmStart, kFdmStart);
  }
}

// Should the earlier TDM not go back either (the folder turned read-only
// between the moves, say), the new TDM holds its name: the run says so and
// where the earlier one is kept, instead of "no output file was replaced".
TEST(OutputCommit, AnEarlierTdmThatCannotBePutBackIsNamedInTheMessage) {
  const std::string preload =
      kRenameShim + "TZ_FAIL_RENAME_TO=.FDM TZ_FAIL_RENAME_AGAIN_TO=.TDM ";
  for (const std::string ops : kFilesystems) {
    SCOPED_TRACE(ops);
    Kept k;
    const CommandResult res =
        RunCommand(preload + ops + kCli + " -q " + kDemo + " " + k.tdm + " " + k.fdm);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 16: FDM file write failure.")) << res.err;
    EXPECT_FALSE(Has(res.err, "no output file was replaced")) << res.err;
    const std::string lead =
        "VBT preprocessor: Output file write failure: the TDM file was replaced, and the earlier "
        "one could not be put back: it is kept as \"";
    const size_t at = res.err.find(lead);
    ASSERT_NE(at, std::string::npos) << res.err;
    const size_t end = res.err.find("\".\n", at);
    ASSERT_NE(end, std::string::npos) << res.err;
    const fs::path kept = res.err.substr(at + lead.size(), end - at - lead.size());
    EXPECT_TRUE(fs::equivalent(kept.parent_path(), k.dir.Dir())) << kept;
    EXPECT_TRUE(kept.filename().string().starts_with(".keep.TDM.")) << kept;
    EXPECT_EQ(ReadFile(kept), "earlier TDM results\r\n") << kept;
    EXPECT_TRUE(ReadFile(k.tdm).starts_with(kTdmStart));
    EXPECT_EQ(ReadFile(k.fdm), "earlier FDM results\r\n");
    EXPECT_EQ(Names(k.dir.Dir()).size(), 3u);  // the new TDM, the earlier FDM and TDM
  }
}

TEST(OutputCommit, AnFdmInAStickyFolderThatCannotBeReplacedKeepsTheEarlierTdm) {
  if (!AsRoot()) GTEST_SKIP() << "needs a file of another user: run the tests as root";
  if (const std::string why = NoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  // Another user's file in a sticky folder: it may be written, not replaced.
  Shared s;
  const std::string sticky = s.dir.Path("sticky");
  fs::create_directory(sticky);
  ASSERT_EQ(chmod(sticky.c_str(), 01777), 0);
  const std::string tdm = sticky + "/keep.TDM", fdm = sticky + "/keep.FDM";
  WriteFile(tdm, "earlier TDM results\r\n");
  WriteFile(fdm, "earlier FDM results\r\n");
  ASSERT_EQ(chown(tdm.c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(chmod(fdm.c_str(), 0666), 0);  // root's
  const CommandResult res = ShUnprivileged(s.Run(tdm, fdm));
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 1: FDM file write failure.")) << res.err;
  EXPECT_TRUE(Has(res.err, "no output file was replaced.")) << res.err;
  EXPECT_EQ(ReadFile(tdm), "earlier TDM results\r\n");
  EXPECT_EQ(ReadFile(fdm), "earlier FDM results\r\n");
  EXPECT_EQ(Names(sticky), (std::vector<std::string>{"keep.FDM", "keep.TDM"}));
}

// Runs the batch command with every signal at its default; returns the
// signal that ended it (0 when it exited, its status then in *status).
struct Child {
  pid_t pid = -1;
  Child(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    pid = fork();
    if (pid != 0) return;
    for (int sig = 1; sig < NSIG; ++sig) signal(sig, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv{const_cast<char*>(kCli.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  // The signal that ended it, or 0 (exit status in *status).
  int Wait(int* status = nullptr) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    if (status != nullptr) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
  }
};

TEST(OutputCommit, ASignalBetweenTheTwoMovesWaitsForTheSecond) {
  Kept k;
  Child run({"-q", kDemo, k.tdm, k.fdm},
            {"ASAN_OPTIONS=verify_asan_link_order=0", std::string("LD_PRELOAD=") + TZ_RENAME_FAULT,
             "TZ_SIGNAL_AFTER_RENAME_TO=.TDM"});
  EXPECT_EQ(run.Wait(), SIGTERM);
  k.ExpectReplaced(kTdmStart, kFdmStart);  // the FDM went in before the signal ended the run
}

// Closed standard streams.

TEST(StandardStreams, ClosedOnesNeverCarryMessagesIntoAnOutput) {
  // An input that makes the run warn while its outputs are open.
  TempDir dir;
  Generate(dir.Path("drift.VBT"), "--drift 0.2 --samples 5000");
  const Reference ref(dir.Path("drift.VBT"));
  for (const std::string closed : {"0<&- 2>&-", ">&- 2>&-", "0<&- >&- 2>&-", "2>&-"}) {
    SCOPED_TRACE(closed);
    const CommandResult res = Sh("cd " + Quote(dir.Dir()) + " && " + kCli +
                                 " -q drift.VBT b.TDM b.FDM " + closed + "; echo $? > status");
    EXPECT_EQ(ReadFile(dir.Path("status")), "0\n") << res.err;
    EXPECT_TRUE(ReadFile(dir.Path("b.TDM")) == ref.tdm);
    EXPECT_TRUE(ReadFile(dir.Path("b.FDM")) == ref.fdm);
  }
}

// Write-protected outputs.

TEST(OutputPermissions, AnOutputTheUserCannotWriteIsRefused) {
  if (const std::string why = NoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  Shared s;
  for (const std::string locked : {"keep.TDM", "keep.FDM"}) {
    SCOPED_TRACE(locked);
    for (const char* name : {"keep.TDM", "keep.FDM"}) {
      WriteFile(s.dir.Path(name), std::string("earlier ") + name);
      if (AsRoot()) {
        ASSERT_EQ(chown(s.dir.Path(name).c_str(), kNobody, kNobody), 0);
      }
      chmod(s.dir.Path(name).c_str(), 0644);
    }
    ASSERT_EQ(chmod(s.dir.Path(locked).c_str(), 0444), 0);
    const CommandResult res = ShUnprivileged(s.Run("keep.TDM", "keep.FDM"));
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 13: FDM file creation failure.")) << res.err;
    EXPECT_EQ(ReadFile(s.dir.Path("keep.TDM")), "earlier keep.TDM");
    EXPECT_EQ(ReadFile(s.dir.Path("keep.FDM")), "earlier keep.FDM");
    EXPECT_EQ(Names(s.dir.Dir()), (std::vector<std::string>{"in.VBT", "keep.FDM", "keep.TDM"}));
  }
}

// Links are followed by the kernel.

TEST(OutputLinks, ALinkLoopIsRefused) {
  TempDir dir;
  fs::create_symlink("b.TDM", dir.Path("a.TDM"));
  fs::create_symlink("a.TDM", dir.Path("b.TDM"));
  for (const char* outs : {"a.TDM x.FDM", "x.TDM a.TDM"}) {
    SCOPED_TRACE(outs);
    const CommandResult res = Sh("cd " + Quote(dir.Dir()) + " && " + kCli + " -q " + kDemo +
                                 " " + outs);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 40: FDM file creation failure.")) << res.err;
    EXPECT_TRUE(fs::is_symlink(dir.Path("a.TDM")));
    EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"a.TDM", "b.TDM"}));
  }
}

// The kernel's rule against links planted in sticky world-writable folders,
// on for the test when it can be.
class ProtectedSymlinks {
 public:
  ProtectedSymlinks() {
    was_ = ReadFile(kSetting);
    if (was_ == "1\n") {
      on_ = true;
    } else if (AsRoot()) {
      WriteFile(kSetting, "1\n");
      on_ = ReadFile(kSetting) == "1\n";
    }
  }
  ~ProtectedSymlinks() {
    if (on_ && was_ != "1\n" && !was_.empty()) WriteFile(kSetting, was_);
  }
  bool On() const { return on_; }

 private:
  static constexpr char kSetting[] = "/proc/sys/fs/protected_symlinks";
  std::string was_;
  bool on_ = false;
};

TEST(OutputLinks, ALinkPlantedInAStickyFolderIsNotFollowed) {
  if (!AsRoot()) GTEST_SKIP() << "needs a link of another user: run the tests as root";
  ProtectedSymlinks setting;
  if (!setting.On()) GTEST_SKIP() << "fs.protected_symlinks is off and cannot be turned on here";
  // Another user's links in a world-writable folder, to root's private files.
  TempDir dir;
  const std::string sticky = dir.Path("sticky"), priv = dir.Path("private");
  fs::create_directory(sticky);
  fs::create_directory(priv);
  ASSERT_EQ(chmod(sticky.c_str(), 01777), 0);
  ASSERT_EQ(chmod(priv.c_str(), 0700), 0);
  WriteFile(priv + "/secret.TDM", "root's file");
  fs::create_symlink(priv + "/secret.TDM", sticky + "/out.TDM");
  fs::create_symlink(priv + "/new.FDM", sticky + "/out.FDM");
  ASSERT_EQ(lchown((sticky + "/out.TDM").c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(lchown((sticky + "/out.FDM").c_str(), kNobody, kNobody), 0);
  for (const std::string& outs : {sticky + "/out.TDM " + dir.Path("x.FDM"),
                                  dir.Path("x.TDM") + " " + sticky + "/out.FDM"}) {
    SCOPED_TRACE(outs);
    const CommandResult res = RunCli("-q " + kDemo + " " + outs);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, "Error 13: FDM file creation failure.")) << res.err;
    EXPECT_EQ(ReadFile(priv + "/secret.TDM"), "root's file");
    EXPECT_EQ(Names(priv), std::vector<std::string>{"secret.TDM"});
    EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"private", "sticky"}));
  }
}

// Owner and special bits.

TEST(OutputOwnership, TheOwnerStaysAndSpecialBitsAreDropped) {
  if (!AsRoot()) GTEST_SKIP() << "needs files of another user: run the tests as root";
  Kept k;
  ASSERT_EQ(chown(k.tdm.c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(chmod(k.tdm.c_str(), 04755), 0);
  ASSERT_EQ(chown(k.fdm.c_str(), kNobody, 0), 0);
  ASSERT_EQ(chmod(k.fdm.c_str(), 02640), 0);
  const CommandResult res = RunCli("-q " + kDemo + " " + k.tdm + " " + k.fdm);
  ASSERT_EQ(res.status, 0) << res.err;
  k.ExpectReplaced(kTdmStart, kFdmStart);
  struct stat st;
  ASSERT_EQ(stat(k.tdm.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_gid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  ASSERT_EQ(stat(k.fdm.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_gid, 0u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(OutputOwnership, AGroupThatCannotBeKeptGetsNoAccess) {
  if (!AsRoot()) GTEST_SKIP() << "needs a group the user is not in: run the tests as root";
  if (const std::string why = NoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  // nobody may write the file, but cannot give the new one root's group:
  // what the group could do, nobody else's group may not.
  Shared s;
  const std::string tdm = s.dir.Path("g.TDM");
  WriteFile(tdm, "earlier");
  ASSERT_EQ(chown(tdm.c_str(), kNobody, 0), 0);
  ASSERT_EQ(chmod(tdm.c_str(), 0664), 0);
  const CommandResult res = ShUnprivileged(s.Run("g.TDM", "g.FDM"));
  ASSERT_EQ(res.status, 0) << res.err;
  struct stat st;
  ASSERT_EQ(stat(tdm.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

// Every signal that ends the program removes the temporary files.

bool HasHiddenFile(const std::string& dir) {
  for (const std::string& n : Names(dir))
    if (n.starts_with(".")) return true;
  return false;
}

TEST(Signals, EveryOneThatEndsTheRunRemovesItsTemporaryFiles) {
  std::vector<int> signals = {SIGHUP,  SIGINT,    SIGQUIT,  SIGUSR1,  SIGUSR2, SIGPIPE,
                              SIGALRM, SIGTERM,   SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF,
                              SIGIO,   SIGPWR,    SIGRTMIN + 1, SIGRTMAX};
#ifndef TZ_SANITIZED
  // The sanitizers keep the crash signals for their reports.
  for (int sig : {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS}) signals.push_back(sig);
#endif
  for (int sig : signals) {
    SCOPED_TRACE(strsignal(sig));
    Kept k;
    // A run that lasts: an endless stream, bounded after some seconds.
    Child run({"-q", "--kind", "vbt", "/dev/zero", k.tdm, k.fdm});
    for (int i = 0; i < 2000 && !HasHiddenFile(k.dir.Dir()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(HasHiddenFile(k.dir.Dir()));
    kill(run.pid, sig);
    EXPECT_EQ(run.Wait(), sig);
    k.ExpectUntouched();
  }
}

TEST(Signals, AFileSizeLimitIsAWriteFailure) {
  Kept k;
  const CommandResult res = Sh("ulimit -f 64; exec " + kCli + " -q " + kDemo + " " + k.tdm +
                               " " + k.fdm);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 27: TDM file write failure.")) << res.err;
  EXPECT_TRUE(Has(res.err, "no output file was replaced.")) << res.err;
  k.ExpectUntouched();
}

// Standard output named as an output, whatever it is.

TEST(StandardOutput, AnOutputNamingItTakesItWhateverItIs) {
  const Reference ref(kDemo);
  TempDir dir;
  const std::string out = dir.Path("out"), fdm = dir.Path("o.FDM");
  for (const std::string name : {"/dev/stdout", "/proc/self/fd/1", "/dev/fd/1"}) {
    SCOPED_TRACE(name);
    // Into a pipe.
    CommandResult res = Sh("{ " + kCli + " -q " + kDemo + " " + name + " " + fdm +
                           "; echo $? > " + dir.Path("status") + "; } | cat > " + out);
    EXPECT_EQ(ReadFile(dir.Path("status")), "0\n") << res.err;
    EXPECT_TRUE(ReadFile(out) == ref.tdm);
    // The FDM into a pipe, with the summary asked for: none is mixed in.
    res = Sh("{ " + kCli + " -q --json " + kDemo + " " + dir.Path("o.TDM") + " " + name +
             "; echo $? > " + dir.Path("status") + "; } | cat > " + out);
    EXPECT_EQ(ReadFile(dir.Path("status")), "0\n") << res.err;
    EXPECT_TRUE(ReadFile(out) == ref.fdm);
    // Into a file.
    res = Sh(kCli + " -q " + kDemo + " " + name + " " + fdm + " > " + out);
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_TRUE(ReadFile(out) == ref.tdm);
  }
  // A pipe of the shell's own, by its /dev/fd name.
  const CommandResult res =
      RunCommand("bash -c " + Quote(kCli + " -q " + kDemo + " >(cat > " + out + ") " + fdm +
                                    " > /dev/null; s=$?; wait $!; echo $s"));
  EXPECT_EQ(res.out, "0\n") << res.err;
  EXPECT_TRUE(ReadFile(out) == ref.tdm);
}

}  // namespace
}  // namespace tz::test
