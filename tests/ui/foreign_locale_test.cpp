// The real Tarvolo.exe on a system whose language is not Japanese (Wine under
// LANG=C.UTF-8, code page 1252), as a user there meets it: every text reads
// back, as UTF-16, as the Japanese one; a run, the figure warning and a saved
// report work as under the Japanese locale. This program runs in that locale
// itself, so it reads texts through the Unicode functions only.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kJapaneseCodePage = 932;
constexpr int kMessageText = 0xFFFF;  // the text of the platform's message box
constexpr int kFileNameBox = 1148;    // the Open dialog's file name box

const wchar_t kReportCaption[] = L"結果報告書作成";
const wchar_t kNotice[] = L"結果は https://tarvolo.example/ で公開しています。";
// Shift_JIS (this file's narrow texts are compiled to code page 932).
const char kEntryHeader[] = "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n";

std::wstring TextW(HWND hWnd) {
  wchar_t text[8192] = L"";
  LRESULT length = 0;
  SendWithin(hWnd, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text), 3000, &length);
  if (length < 0 || length >= 8192) length = 0;
  return std::wstring(text, static_cast<size_t>(length));
}

// The texts of a window's controls, in template order.
std::vector<std::wstring> ControlTexts(HWND hWnd) {
  std::vector<std::wstring> texts;
  for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    texts.push_back(TextW(hChild));
  }
  return texts;
}

struct Search {
  DWORD processId;
  const wchar_t* caption;
  HWND owner;  // only windows owned by this one, when given
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(hWnd, &processId);
  if (processId != search->processId || !::IsWindowVisible(hWnd)) return TRUE;
  if (search->owner && ::GetWindow(hWnd, GW_OWNER) != search->owner) return TRUE;
  if (TextW(hWnd) != search->caption) return TRUE;
  search->found = hWnd;
  return FALSE;
}

// The window a wait found, which the test now expects; a window that came
// instead fails the test.
HWND Awaited(const TarvoloProcess& app, const ::testing::AssertionResult& waited, HWND hFound) {
  if (hFound) app.Expect(hFound);
  const std::string why = waited ? "" : waited.message();
  if (why.rfind("unexpected window", 0) == 0) ADD_FAILURE() << why;
  return hFound;
}

// A window of the program with this caption (owned by `owner` when given),
// waited for; null if none came.
HWND WaitForWindow(const TarvoloProcess& app, const wchar_t* caption, HWND owner = nullptr,
                   int timeoutMs = 15000) {
  Search search{app.ProcessId(), caption, owner, nullptr};
  const ::testing::AssertionResult waited = app.WaitUntil(
      [&] {
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return Awaited(app, waited, search.found);
}

BOOL CALLBACK MatchFileDialog(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(hWnd, &processId);
  if (processId != search->processId || ::GetWindow(hWnd, GW_OWNER) != search->owner ||
      !::IsWindowVisible(hWnd) || !::GetDlgItem(hWnd, kFileNameBox)) {
    return TRUE;
  }
  search->found = hWnd;
  return FALSE;
}

HWND WaitForFileDialog(const TarvoloProcess& app, HWND owner) {
  Search search{app.ProcessId(), nullptr, owner, nullptr};
  const ::testing::AssertionResult waited = app.WaitUntil(
      [&] {
        ::EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      15000);
  return Awaited(app, waited, search.found);
}

void Press(HWND hButton) {
  ::PostMessageW(hButton, BM_CLICK, 0, 0);
}

bool WaitGone(HWND hWnd) {
  return WaitUntil([&] { return !::IsWindow(hWnd); }, 10000);
}

// The names in a folder.
std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder), error)) {
    names.push_back(entry.path().filename().wstring());
  }
  return names;
}

TEST(ForeignLocale, EveryTextIsJapaneseARunEndsAndAMissingFigureIsWarned) {
  ASSERT_NE(::GetACP(), kJapaneseCodePage) << "this test must run under a non-Japanese locale";
  std::printf("this test's code page: %u\n", ::GetACP());
  TarvoloProcess app;
  HWND hMain = app.MainWindow();

  app.Click(IDOK);
  ASSERT_TRUE(app.WaitUntil([&] { return app.Enabled(IDOK); }, 180000)) << "the run did not end";
  const std::wstring record = TextW(app.Control(IDC_BEST));
  ASSERT_GE(record.size(), 5u) << "no seconds shown";
  EXPECT_EQ(record.find_first_not_of(L"0123456789."), std::wstring::npos);
  EXPECT_EQ(record.find(L'.'), record.size() - 4) << "not three decimals";
  EXPECT_EQ(
      ControlTexts(hMain),
      (std::vector<std::wstring>{L"測定開始", L"閉じる", L"Sec", record, L"測定結果", L"報告書作成",
                                 L"Sec", record, L"最高記録", L"上限値", L"10,000"}));

  ::PostMessageW(hMain, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND hAbout = WaitForWindow(app, L"About Tarvolo", hMain);
  ASSERT_NE(hAbout, nullptr) << "no About box";
  const std::vector<std::wstring> about = ControlTexts(hAbout);
  ASSERT_EQ(about.size(), 4u);
  EXPECT_EQ(about[1], L"Tarvolo  V1.00");
  EXPECT_EQ(about[3], L"OK");
  Press(::GetDlgItem(hAbout, IDOK));
  ASSERT_TRUE(WaitGone(hAbout));

  app.PostClick(IDC_REPORT);
  HWND hReport = WaitForWindow(app, kReportCaption, hMain);
  ASSERT_NE(hReport, nullptr) << "no report window";
  const std::wstring report =
      L"To results@tarvolo.example\r\n"
      L"\r\n"
      L"名前                 ：\r\n"
      L"[10,000]測定結果(秒) ：" +
      record +
      L"\r\n"
      L"[100,000]測定結果(秒)：0.000\r\n"
      L"マシン名             ：\r\n"
      L"ＣＰＵ               ：\r\n"
      L"クロック             ：\r\n"
      L"ＯＳ                 ：\r\n"
      L"コメント：\r\n";
  EXPECT_EQ(ControlTexts(hReport),
            (std::vector<std::wstring>{L"ファイルに保存", L"閉じる", report, kNotice}));

  // The record's last digit deleted: the warning, in Japanese.
  HWND hEdit = ::GetDlgItem(hReport, IDC_REPORT_TEXT);
  const size_t lastDigit = report.find(record) + record.size() - 1;
  app.Send(hEdit, EM_SETSEL, lastDigit, lastDigit);
  ::PostMessageW(hEdit, WM_KEYDOWN, VK_DELETE, 0);
  HWND hBox = WaitForWindow(app, L"Tarvolo", hReport);
  ASSERT_NE(hBox, nullptr) << "no warning after a digit was deleted";
  EXPECT_EQ(TextW(::GetDlgItem(hBox, kMessageText)), L"不正のにおいがする...");
  Press(::GetDlgItem(hBox, IDOK));
  ASSERT_TRUE(WaitGone(hBox));
}

// Run under ja_JP.UTF-8 first (it leaves its report in saved-cp932 beside this
// program), then under the foreign locale, which must save the very same bytes.
// The file is named with an "é", which the program's code page holds only as the
// look-alike "e": the entry goes into that file, and nothing else appears.
TEST(UntouchedReport, SavesTheSameBytesAsUnderTheJapaneseLocale) {
  const std::wstring folder =
      BesideTestProgram((L"saved-cp" + std::to_wstring(::GetACP())).c_str());
  std::error_code ignored;
  fs::remove_all(fs::path(folder), ignored);
  ASSERT_TRUE(fs::create_directory(fs::path(folder)));
  // Named outside the checks: their texts are compiled to code page 932.
  const std::wstring name = L"résumé.txt";
  const std::wstring path = folder + L"\\" + name;
  {
    TarvoloProcess app;
    app.PostClick(IDC_REPORT);
    HWND hReport = WaitForWindow(app, kReportCaption, app.MainWindow());
    ASSERT_NE(hReport, nullptr) << "no report window";
    Press(::GetDlgItem(hReport, IDOK));
    // The platform's own dialog speaks the system's language ("Open" here).
    HWND hOpen = WaitForFileDialog(app, hReport);
    if (!hOpen) {
      HWND hBox = WaitForWindow(app, L"Tarvolo", hReport, 0);
      FAIL() << "no file dialog; "
             << (hBox ? "a box said " +
                            ::testing::PrintToString(TextW(::GetDlgItem(hBox, kMessageText)))
                      : std::string("nothing came"));
    }
    HWND hNameBox = ::GetDlgItem(hOpen, kFileNameBox);
    HWND hNameEdit = ::FindWindowExW(hNameBox, nullptr, L"ComboBox", nullptr);
    hNameEdit = ::FindWindowExW(hNameEdit ? hNameEdit : hNameBox, nullptr, L"Edit", nullptr);
    ASSERT_NE(hNameEdit, nullptr);
    app.Send(hNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Press(::GetDlgItem(hOpen, IDOK));
    ASSERT_TRUE(WaitGone(hOpen));
    ASSERT_TRUE(WaitUntil([&] { return !Names(folder).empty(); }, 10000)) << "nothing saved";
    EXPECT_EQ(WaitForWindow(app, L"Tarvolo", hReport, 500), nullptr) << "a box after saving";
  }
  EXPECT_EQ(Names(folder), std::vector<std::wstring>{name});
  const std::string saved = ReadBytes(path);
  EXPECT_EQ(saved.rfind(std::string(kEntryHeader) + "To results@tarvolo.example\r\n", 0), 0u)
      << saved;
  EXPECT_NE(saved.find("[100,000]測定結果(秒)：0.000\r\n"), std::string::npos) << saved;
  if (::GetACP() == kJapaneseCodePage) return;

  const std::string japanese = ReadBytes(BesideTestProgram((L"saved-cp932\\" + name).c_str()));
  ASSERT_FALSE(japanese.empty()) << "no report saved under the Japanese locale to compare with";
  EXPECT_EQ(saved, japanese);
}

}  // namespace
