#include "report/report_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "report/report_text.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;

// "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n", pinned as Shift_JIS bytes.
const std::string kHeader =
    "\r\n"
    "\x81\x9A\x81\x9A\x81\x9A\x81\x9A\x81\x9A Tarvolo "
    "\x8C\x8B\x89\xCA\x95\xF1\x8D\x90\x8F\x91 "
    "\x81\x9A\x81\x9A\x81\x9A\x81\x9A\x81\x9A"
    "\r\n\r\n";

// Holds a file open for writing as another program would, until it goes: on
// Windows with a share mode that lets others write too, elsewhere under the lock
// a second Tarvolo takes.
class OtherWriter {
 public:
  explicit OtherWriter(const std::string& path) {
#ifdef _WIN32
    m_hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(m_hFile, INVALID_HANDLE_VALUE);
#else
    m_fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
    EXPECT_EQ(::flock(m_fd, LOCK_EX), 0);
#endif
  }
  ~OtherWriter() {
#ifdef _WIN32
    ::CloseHandle(m_hFile);
#else
    ::close(m_fd);
#endif
  }
  OtherWriter(const OtherWriter&) = delete;
  OtherWriter& operator=(const OtherWriter&) = delete;

 private:
#ifdef _WIN32
  HANDLE m_hFile;
#else
  int m_fd;
#endif
};

class ReportEntry : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return (folder_ / name).string(); }

  ScratchFolder folder_;
};

TEST(ReportEntryHeader, LiteralIsTheSameShiftJisText) {
  // The literal below goes through the compiler's charset conversion, the pinned
  // bytes do not: a wrong execution charset shows up here.
  EXPECT_EQ(kHeader, "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n");
}

TEST_F(ReportEntry, NewFileHoldsOneEntryWithTheTextVerbatim) {
  char composed[kReportBytes];
  ComposeReport(0.987f, 12.345f, composed);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"the composed report", composed},
      {"CR LF, lone LF, lone CR and CR CR LF as they are", "a\r\nb\nc\rd\r\r\ne\r\n"},
      {"format directives", "%s %n %x %% %d %p %1$s %*d %ls"},
      {"no line break at the end", "コメント：速い"},
      {"an empty text", ""},
      {"a byte of every non-zero value",
       [] {
         std::string all;
         for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
         return all;
       }()},
      {"the longest text a report holds", std::string(kReportBytes - 3, 'x') + "\r\n"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = PathOf(("new" + std::to_string(n++) + ".txt").c_str());
    ASSERT_FALSE(fs::exists(path));
    EXPECT_EQ(AppendReportEntry(path.c_str(), c.text.c_str()), EntryResult::kWritten) << c.what;
    EXPECT_EQ(ReadBytes(path), kHeader + c.text) << c.what;
  }
}

TEST_F(ReportEntry, ExistingBytesAreKeptAndTheEntryFollowsThem) {
  // Not a text file at all: invalid Shift_JIS, NUL, lone CR and LF, and a Ctrl-Z
  // at the very end, which a text-mode append may strip.
  const std::string earlier("\x81\x0A\xFF\x00\x80\xA0\xFD\r\r\n\n\x82", 12);
  const std::vector<std::string> olds = {earlier, earlier + "\x1A", "\r\n", "x"};
  int n = 0;
  for (const std::string& old : olds) {
    const std::string path = PathOf(("old" + std::to_string(n++) + ".txt").c_str());
    WriteBytes(path, old);
    EXPECT_EQ(AppendReportEntry(path.c_str(), "報告\r\n"), EntryResult::kWritten);
    EXPECT_EQ(ReadBytes(path), old + kHeader + "報告\r\n");
  }
}

TEST_F(ReportEntry, EachSaveAppendsItsOwnEntry) {
  const std::string path = PathOf("twice.txt");
  ASSERT_EQ(AppendReportEntry(path.c_str(), "first\r\n"), EntryResult::kWritten);
  ASSERT_EQ(AppendReportEntry(path.c_str(), "second"), EntryResult::kWritten);
  ASSERT_EQ(AppendReportEntry(path.c_str(), "second"), EntryResult::kWritten);
  EXPECT_EQ(ReadBytes(path), kHeader + "first\r\n" + kHeader + "second" + kHeader + "second");
}

// The path is UTF-8 on every system and names exactly one file: "é" and the yen
// sign, which a code page holds only as look-alikes ("e" and "\"), a character
// beyond 16 bits, and a Shift_JIS character whose second byte reads as "\".
TEST_F(ReportEntry, AUtf8PathNamesExactlyThatFile) {
  const char* const kNames[] = {u8"résumé.txt", u8"x¥..¥yen.txt", u8"😀.txt", u8"表示.txt"};
  std::vector<std::string> expected;
  for (const char* name : kNames) {
    const fs::path path = folder_ / fs::u8path(name);
    EXPECT_EQ(AppendReportEntry(path.u8string().c_str(), "text"), EntryResult::kWritten) << name;
    EXPECT_EQ(ReadBytes(path), kHeader + "text") << name;
    expected.push_back(name);
  }
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder_.path())) {
    names.push_back(entry.path().filename().u8string());
  }
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

TEST_F(ReportEntry, ATextLongerThanAReportIsRefusedUntouched) {
  const std::string path = PathOf("long.txt");
  // Exactly one report buffer without its terminating zero; read no further.
  const std::vector<char> unterminated(kReportBytes, 'x');
  EXPECT_EQ(AppendReportEntry(path.c_str(), unterminated.data()), EntryResult::kWriteFailed);
  EXPECT_FALSE(fs::exists(path));
}

// A device takes the entry without keeping it, or blocks on it: refused before
// anything is written, as a name that does not open at all.
TEST_F(ReportEntry, APathThatIsNotAFileOnDiskWritesNothing) {
  const std::string missingDir = PathOf("no-such-folder") + "/report.txt";
  const std::string folder = PathOf("a-folder");
  ASSERT_TRUE(fs::create_directory(folder));
#ifdef _WIN32
  // Device names in any folder, and Wine's view of the Unix devices.
  const std::vector<std::string> devices = {PathOf("COM1"), PathOf("NUL"), PathOf("AUX.txt"),
                                            "Z:\\dev\\full"};
#else
  const std::vector<std::string> devices = {"/dev/null", "/dev/full"};
#endif
  std::vector<std::string> paths = {missingDir, folder, std::string()};
  paths.insert(paths.end(), devices.begin(), devices.end());
  for (const std::string& path : paths) {
    EXPECT_EQ(AppendReportEntry(path.c_str(), "text"), EntryResult::kCannotOpen) << path;
  }
  EXPECT_FALSE(fs::exists(PathOf("no-such-folder")));
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 1)
      << "a file was made for a device";
}

// Another program keeps the file open for writing for longer than a save waits.
TEST_F(ReportEntry, AFileAnotherWriterHoldsIsRefusedUnchanged) {
  const std::string path = PathOf("held.txt");
  WriteBytes(path, "kept\r\n");
  {
    OtherWriter other(path);
    EXPECT_EQ(AppendReportEntry(path.c_str(), "text"), EntryResult::kCannotOpen);
  }
  EXPECT_EQ(ReadBytes(path), "kept\r\n");
}

#ifndef _WIN32

// Child processes started behind the gate wait for it to open, so that they begin
// together.
class StartGate {
 public:
  StartGate() { EXPECT_EQ(::pipe(m_pipe), 0); }
  ~StartGate() {
    Open();
    ::close(m_pipe[0]);
  }
  StartGate(const StartGate&) = delete;
  StartGate& operator=(const StartGate&) = delete;

  // A child process that runs `body` once the gate opens and exits with its result.
  pid_t Start(const std::function<int()>& body) {
    pid_t child = ::fork();
    if (child == 0) {
      ::close(m_pipe[1]);
      char byte;
      static_cast<void>(::read(m_pipe[0], &byte, 1));  // returns when the gate opens
      ::_exit(body());
    }
    return child;
  }
  void Open() {
    if (m_pipe[1] >= 0) ::close(m_pipe[1]);
    m_pipe[1] = -1;
  }

 private:
  int m_pipe[2] = {-1, -1};
};

int ExitCodeOf(pid_t child) {
  int status = 0;
  if (child <= 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// From here on, this process's writes stop `limit` bytes into any file; a write
// that would begin there fails, after running `onLimit` (by default nothing).
void LimitFileSize(long long limit, void (*onLimit)(int) = SIG_IGN) {
  struct rlimit size;
  ::getrlimit(RLIMIT_FSIZE, &size);
  size.rlim_cur = static_cast<rlim_t>(limit);
  ::setrlimit(RLIMIT_FSIZE, &size);
  ::signal(SIGXFSZ, onLimit);
}

// Write system calls of this process so far, or -1 where the kernel does not count.
long long WriteCalls() {
  std::ifstream io("/proc/self/io");
  std::string name;
  long long count = -1;
  while (io >> name >> count) {
    if (name == "syscw:") return count;
  }
  return -1;
}

// Cut off after any byte of the entry: the file is what it was before.
TEST_F(ReportEntry, AFailedWriteLeavesTheOldBytesExactly) {
  const std::string old = "earlier\r\n";
  const std::string text = "報告\r\n";
  for (std::size_t room : {std::size_t{0}, std::size_t{1}, kHeader.size() - 1, kHeader.size(),
                           kHeader.size() + text.size() - 1}) {
    const std::string path = PathOf(("full" + std::to_string(room) + ".txt").c_str());
    WriteBytes(path, old);
    StartGate gate;
    pid_t child = gate.Start([&] {
      LimitFileSize(static_cast<long long>(old.size() + room));
      return static_cast<int>(AppendReportEntry(path.c_str(), text.c_str()));
    });
    gate.Open();
    EXPECT_EQ(ExitCodeOf(child), static_cast<int>(EntryResult::kWriteFailed)) << room;
    EXPECT_EQ(ReadBytes(path), old) << "room for " << room << " bytes";
  }
}

// The pipes between a saver whose writes fail and another writer, in the saver.
int g_toOther = -1;
int g_fromOther = -1;

// Runs in the saver between its failed write and the rest of its save: lets the
// other writer append a line and waits until it has.
void LetTheOtherWriterIn(int) {
  char byte = 0;
  static_cast<void>(::write(g_toOther, &byte, 1));
  static_cast<void>(::read(g_fromOther, &byte, 1));
}

// Another program, which knows nothing of our lock, appends a line each time one
// of our writes has failed, before that save is over: every line is kept.
TEST_F(ReportEntry, AnotherWritersBytesSurviveOurFailedWrites) {
  const std::string path = PathOf("shared.txt");
  const std::string old = "earlier\r\n";
  WriteBytes(path, old);
  int toOther[2], fromOther[2];
  ASSERT_EQ(::pipe(toOther), 0);
  ASSERT_EQ(::pipe(fromOther), 0);
  StartGate gate;
  pid_t other = gate.Start([&] {
    ::close(toOther[1]);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    char byte;
    for (int n = 0; ::read(toOther[0], &byte, 1) == 1; ++n) {
      const std::string line = "line " + std::to_string(n) + "\n";
      if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
      static_cast<void>(::write(fromOther[1], &byte, 1));
    }
    return 0;
  });
  pid_t saver = gate.Start([&] {
    g_toOther = toOther[1];
    g_fromOther = fromOther[0];
    LimitFileSize(static_cast<long long>(old.size()), LetTheOtherWriterIn);
    for (int n = 0; n < 20; ++n) {
      if (AppendReportEntry(path.c_str(), "text") != EntryResult::kWriteFailed) return 1;
    }
    return 0;
  });
  ::close(toOther[1]);  // the other writer stops when the saver has ended
  gate.Open();
  EXPECT_EQ(ExitCodeOf(saver), 0);
  EXPECT_EQ(ExitCodeOf(other), 0);
  for (int fd : {toOther[0], fromOther[0], fromOther[1]}) ::close(fd);

  std::string expected = old;
  for (int n = 0; n < 20; ++n) expected += "line " + std::to_string(n) + "\n";
  EXPECT_EQ(ReadBytes(path), expected);
}

// Two programs saving to one file at once: each waits while the other appends, so
// every save goes in, each entry whole.
TEST_F(ReportEntry, TwoWritersAtOnceLeaveEveryEntryWhole) {
  const std::string path = PathOf("both.txt");
  const std::string texts[] = {"first\r\n", "second\r\n"};
  constexpr int kSaves = 200;
  StartGate gate;
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = gate.Start([&] {
      for (int n = 0; n < kSaves; ++n) {
        if (AppendReportEntry(path.c_str(), texts[w].c_str()) != EntryResult::kWritten) return 1;
      }
      return 0;
    });
  }
  {
    // Both find the file held at first, as they would behind a third save.
    OtherWriter third(path);
    gate.Open();
    ::usleep(100 * 1000);
  }
  for (pid_t writer : writers) EXPECT_EQ(ExitCodeOf(writer), 0);

  const std::string file = ReadBytes(path);
  int counts[2] = {0, 0};
  for (std::size_t at = 0; at < file.size();) {
    int w = 0;
    while (w < 2 && file.compare(at, kHeader.size() + texts[w].size(), kHeader + texts[w]) != 0) {
      ++w;
    }
    ASSERT_LT(w, 2) << "no whole entry at byte " << at;
    ++counts[w];
    at += kHeader.size() + texts[w].size();
  }
  EXPECT_EQ(counts[0], kSaves);
  EXPECT_EQ(counts[1], kSaves);
}

TEST_F(ReportEntry, AnEntryIsOneWrite) {
  if (WriteCalls() < 0) GTEST_SKIP() << "the kernel counts no write calls here";
  char composed[kReportBytes];
  ComposeReport(0.987f, 12.345f, composed);
  const std::string path = PathOf("once.txt");
  const long long before = WriteCalls();
  ASSERT_EQ(AppendReportEntry(path.c_str(), composed), EntryResult::kWritten);
  EXPECT_EQ(WriteCalls() - before, 1);
}

#endif

}  // namespace
