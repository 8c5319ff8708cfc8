#include "report/report_entry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "report/report_text.h"

namespace {

namespace fs = std::filesystem;

// "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n", pinned as Shift_JIS bytes.
const std::string kHeader =
    "\r\n"
    "\x81\x9A\x81\x9A\x81\x9A\x81\x9A\x81\x9A Tarvolo "
    "\x8C\x8B\x89\xCA\x95\xF1\x8D\x90\x8F\x91 "
    "\x81\x9A\x81\x9A\x81\x9A\x81\x9A\x81\x9A"
    "\r\n\r\n";

class ReportEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() /
           ("tarvolo-entry-" + std::string(info->name()) + "-" + std::to_string(stamp));
    ASSERT_TRUE(fs::create_directory(dir_)) << dir_;
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string PathOf(const char* name) const { return (dir_ / name).string(); }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
  }

  fs::path dir_;
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
    EXPECT_EQ(Contents(path), kHeader + c.text) << c.what;
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
    WriteFile(path, old);
    EXPECT_EQ(AppendReportEntry(path.c_str(), "報告\r\n"), EntryResult::kWritten);
    EXPECT_EQ(Contents(path), old + kHeader + "報告\r\n");
  }
}

TEST_F(ReportEntry, EachSaveAppendsItsOwnEntry) {
  const std::string path = PathOf("twice.txt");
  ASSERT_EQ(AppendReportEntry(path.c_str(), "first\r\n"), EntryResult::kWritten);
  ASSERT_EQ(AppendReportEntry(path.c_str(), "second"), EntryResult::kWritten);
  ASSERT_EQ(AppendReportEntry(path.c_str(), "second"), EntryResult::kWritten);
  EXPECT_EQ(Contents(path), kHeader + "first\r\n" + kHeader + "second" + kHeader + "second");
}

TEST_F(ReportEntry, ATextLongerThanAReportIsRefusedUntouched) {
  const std::string path = PathOf("long.txt");
  // Exactly one report buffer without its terminating zero; read no further.
  const std::vector<char> unterminated(kReportBytes, 'x');
  EXPECT_EQ(AppendReportEntry(path.c_str(), unterminated.data()), EntryResult::kWriteFailed);
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(ReportEntry, APathThatCannotBeOpenedWritesNothing) {
  const std::string missingDir = PathOf("no-such-folder") + "/report.txt";
  const std::string folder = PathOf("a-folder");
  ASSERT_TRUE(fs::create_directory(folder));
  for (const std::string& path : {missingDir, folder, std::string()}) {
    EXPECT_EQ(AppendReportEntry(path.c_str(), "text"), EntryResult::kCannotOpen) << path;
  }
  EXPECT_FALSE(fs::exists(PathOf("no-such-folder")));
  EXPECT_TRUE(fs::is_empty(folder));
}

// A device that takes no bytes: the write is refused at the latest when the
// buffered entry is flushed. Under Wine the device opens too (though the
// filesystem library does not see it), and there fclose hides the failed flush.
TEST_F(ReportEntry, AFailedWriteIsReported) {
  std::FILE* probe = std::fopen("/dev/full", "ab");
  if (probe == nullptr) GTEST_SKIP() << "no /dev/full here";
  std::fclose(probe);
  const std::string shortText = "text\r\n";
  const std::string longText(kReportBytes - 1, 'x');
  for (const std::string& text : {shortText, longText}) {
    EXPECT_EQ(AppendReportEntry("/dev/full", text.c_str()), EntryResult::kWriteFailed)
        << text.size() << " bytes";
  }
}

}  // namespace
