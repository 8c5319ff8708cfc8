// The tarvolo-results program as the maker runs it: exit status, what it names
// on standard error, where it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "report_samples.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string errors;
  std::string output;
};

// Runs the program with the given arguments (shell words) in folder.
Outcome RunProgram(const ScratchFolder& folder, const std::string& arguments) {
  const fs::path errors = folder / "stderr.txt";
  const fs::path output = folder / "stdout.txt";
  const std::string command = "cd '" + folder.path().string() +
                              "' && " TARVOLO_RESULTS_PROGRAM " " + arguments + " >'" +
                              output.string() + "' 2>'" + errors.string() + "'";
  const int raw = std::system(command.c_str());
  Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(errors), ReadBytes(output)};
  fs::remove(errors);
  fs::remove(output);
  return run;
}

std::string Report(const char* name) {
  return ToShiftJis("\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n" +
                    FilledReport(0.5f, 40.0f, NameOnly(name)));
}

TEST(ResultsProgram, UsageErrorsExitWithTwoAndWriteNothing) {
  ScratchFolder folder;
  WriteBytes(folder / "r.txt", Report("a"));
  for (const char* arguments : {"", "-o out", "-o", "-x r.txt", "--output r.txt", "-o '' r.txt"}) {
    const Outcome run = RunProgram(folder, arguments);
    EXPECT_EQ(run.status, 2) << arguments << ": " << run.errors;
    EXPECT_NE(run.errors.find("usage: tarvolo-results"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(fs::exists(folder / "index.html"));
  EXPECT_FALSE(fs::exists(folder / "out"));

  const Outcome version = RunProgram(folder, "--version -o out r.txt");
  EXPECT_EQ(version.status, 0) << version.errors;
  // "tarvolo-results 1.00": each run of digits as one "#".
  std::string shape;
  for (char c : version.output) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit || shape.empty() || shape.back() != '#') shape += digit ? '#' : c;
  }
  EXPECT_EQ(shape, "tarvolo-results #.#\n") << version.output;
  EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST(ResultsProgram, WhatCannotBeReadIsNamedAndSkippedAndThePageStillWritten) {
  ScratchFolder folder;
  fs::create_directories(folder / "in/deeper");
  WriteBytes(folder / "in/good.txt", Report("good"));
  WriteBytes(folder / "in/empty.txt", "");
  // A 10 MB line before an entry and a 10 MB name in it.
  const std::string tenMegabytes(10 << 20, 'x');
  WriteBytes(
      folder / "in/deeper/long-line.txt",
      tenMegabytes + ToShiftJis("\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n" +
                                FilledReport(0.5f, 40.0f, {tenMegabytes, "deep", "", "", "", ""})));
  fs::create_symlink("nowhere.txt", folder / "in/dangling.txt");
  ASSERT_EQ(mkfifo((folder / "in/pipe.txt").c_str(), 0600), 0);

  Outcome run = RunProgram(folder, "-o out in");
  EXPECT_EQ(run.status, 1) << run.errors;
  EXPECT_NE(run.errors.find("in/dangling.txt"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("in/pipe.txt"), std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find("good.txt"), std::string::npos) << run.errors;
  const std::string page = ReadBytes(folder / "out/index.html");
  EXPECT_NE(page.find("報告 2 件を 3 個のファイルから読みました。"), std::string::npos) << page;
  EXPECT_NE(page.find("<td>" + std::string(397, 'x') + "…</td><td>deep</td>"), std::string::npos);

  fs::remove(folder / "in/dangling.txt");
  fs::remove(folder / "in/pipe.txt");
  run = RunProgram(folder, "-o out in/good.txt in");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(ReadBytes(folder / "out/index.html").find("報告 3 件を 4 個のファイルから読みました。"),
            std::string::npos);

  WriteBytes(folder / "file", "");
  run = RunProgram(folder, "-o file in");
  EXPECT_EQ(run.status, 3) << "a page that cannot be written is no success";
  EXPECT_NE(run.errors.find("cannot write"), std::string::npos) << run.errors;
}

TEST(ResultsProgram, WritesOnlyItsOwnFilesInsideTheFolderAndTheSameBytesAgain) {
  ScratchFolder folder;
  WriteBytes(folder / "a.txt", Report("a"));
  WriteBytes(folder / "b.txt", Report("b") + Report("a"));
  WriteBytes(folder / "outside.html", "keep me");
  fs::create_directories(folder / "out");
  // Links planted where pages go must not lead the writes out of the folder.
  fs::create_symlink("../outside.html", folder / "out/index.html");
  fs::create_symlink("../outside.html", folder / "out/10000-1.html");
  // Pages of an earlier, longer ranking go (a link among them as a link);
  // what only looks like them stays.
  for (const char* page : {"10000-2.html", "check-3.html", "processors-2.html",
                           "cpu-0123456789abcdef-100000-2.html"}) {
    WriteBytes(folder.path() / "out" / page, "old page");
  }
  fs::create_symlink("../outside.html", folder / "out/unmeasured-1.html");
  fs::create_directories(folder / "out/100000-9.html");
  const std::set<std::string> notOurs = {
      "10000-02.html", "10000-2.html.bak", "notes.html",    "10000-.html",
      "results.csv~",  "processors-1.htm", "cpu-k6-1.html", "cpu-0123456789ABCDEF-10000-1.html",
      "check.html"};
  for (const std::string& name : notOurs) WriteBytes(folder.path() / "out" / name, "mine");

  ASSERT_EQ(RunProgram(folder, "-o out a.txt b.txt").status, 0);
  EXPECT_EQ(ReadBytes(folder / "outside.html"), "keep me");
  for (const char* page : {"out/index.html", "out/10000-1.html"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / page))) << page;
  }
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(folder / "out")) {
    const std::string name = entry.path().filename().string();
    if (notOurs.count(name) == 0) written.insert(name);
  }
  EXPECT_EQ(written, (std::set<std::string>{"index.html", "10000-1.html", "100000-1.html",
                                            "processors.html", "100000-9.html", "results.csv"}));
  for (const std::string& name : notOurs) {
    EXPECT_EQ(ReadBytes(folder.path() / "out" / name), "mine") << name;
    fs::remove(folder.path() / "out" / name);
  }
  EXPECT_EQ(fs::status(folder / "out/index.html").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);

  const std::string page = ReadBytes(folder / "out/index.html");
  const std::string ranking = ReadBytes(folder / "out/10000-1.html");
  const std::string table = ReadBytes(folder / "out/results.csv");
  ASSERT_EQ(RunProgram(folder, "-o out b.txt a.txt").status, 0);
  EXPECT_EQ(ReadBytes(folder / "out/index.html"), page);
  EXPECT_EQ(ReadBytes(folder / "out/10000-1.html"), ranking);
  EXPECT_EQ(ReadBytes(folder / "out/results.csv"), table);

  // The pages written inside the folder it reads are not read back the next time.
  fs::rename(folder / "a.txt", folder / "out/a.txt");
  fs::rename(folder / "b.txt", folder / "out/b.txt");
  ASSERT_EQ(RunProgram(folder, "-o out out").status, 0);
  EXPECT_EQ(ReadBytes(folder / "out/index.html"), page);
}

// Every file in the folder (none under it) by name, with its bytes.
std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  return files;
}

TEST(ResultsProgram, AFullDiskLeavesThePublishedPagesAsTheyWereAndExitsWithThree) {
  // A file system of a few hundred kilobytes, mounted by the test run (root only).
  const char* small = std::getenv("TARVOLO_RESULTS_SMALL_FOLDER");
  if (small == nullptr || !fs::is_directory(small)) GTEST_SKIP() << "no small file system";
  ScratchFolder folder;
  const fs::path site = fs::path(small) / "site";
  fs::remove_all(site);
  const std::string output = "-o '" + site.string() + "' ";
  WriteBytes(folder / "few.txt", Report("a") + Report("b"));
  // Rankings of a few hundred kilobytes: the first page fits, the rest does not.
  std::string many;
  for (int i = 0; i < 3000; ++i) many += Report((std::to_string(i) + std::string(40, 'x')).c_str());
  WriteBytes(folder / "many.txt", many);

  ASSERT_EQ(RunProgram(folder, output + "few.txt").status, 0);
  const auto published = FilesIn(site);
  ASSERT_EQ(published.count("index.html"), 1u);

  const Outcome full = RunProgram(folder, output + "many.txt");
  EXPECT_EQ(full.status, 3) << full.errors;
  // Which page could not be written, and why.
  EXPECT_NE(full.errors.find(".html: No space left on device"), std::string::npos) << full.errors;
  // Every page as it was, and nothing of the failed run left behind.
  const auto now = FilesIn(site);
  std::set<std::string> changed;
  for (const auto& [name, bytes] : published) {
    if (now.count(name) == 0 || now.at(name) != bytes) changed.insert(name);
  }
  for (const auto& [name, bytes] : now) {
    if (published.count(name) == 0) changed.insert(name);
  }
  EXPECT_EQ(changed, std::set<std::string>{});

  fs::remove_all(site);
}

}  // namespace
