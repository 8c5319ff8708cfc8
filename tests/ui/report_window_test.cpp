// The result report of the real Tarvolo.exe, driven from outside as a user
// would: the Report button, edits in the report, and saving through the
// platform's own file dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"
#include "tests/support/test_files.h"
#include "tests/support/unique_handles.h"

namespace {

namespace fs = std::filesystem;

const char kReportCaption[] = "結果報告書作成";
const char kSmellsOfCheating[] = "不正のにおいがする...";
const char kDontLie[] = "うそをついちゃイカンよ。きみィ";
const char kCannotOpen[] = "ファイルが開けません";
const char kTooLong[] = "報告書が長すぎます。";
const char kCannotWrite[] = "ファイルに書き込めません";
const char kCannotHold[] = "Shift_JIS で保存できない文字があります";
const char kOpenCaption[] = "開く";
const char kEntryHeader[] = "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n";

// Fixed ids of the platform's message box and Open file dialog.
constexpr int kMessageText = 0xFFFF;
constexpr int kMessageIcon = 1088;
constexpr int kFileNameBox = 1148;
constexpr int kFileTypes = 1136;
constexpr int kReadOnlyBox = 1040;

bool FileExists(const fs::path& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Everything in a folder at any depth: each folder's name with "\" after it, each
// file's with its size.
std::vector<std::wstring> Listing(const fs::path& folder) {
  std::vector<std::wstring> entries;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
    std::wstring name = entry.path().lexically_relative(folder).wstring();
    entries.push_back(entry.is_directory() ? name + L"\\"
                                           : name + L" " + std::to_wstring(entry.file_size()));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

int FileCount(const fs::path& folder) {
  return static_cast<int>(Listing(folder).size());
}

// The tests' small file system (a few pages, mounted by the test run), as a
// Windows path; empty when there is none.
std::string SmallFolder() {
  char unixPath[MAX_PATH] = "";
  DWORD length = ::GetEnvironmentVariableA("TARVOLO_SMALL_FOLDER", unixPath, sizeof unixPath);
  if (length == 0 || length >= sizeof unixPath) return "";
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path) c = c == '/' ? '\\' : c;
  ULARGE_INTEGER total;
  if (!::GetDiskFreeSpaceExA(path.c_str(), nullptr, &total, nullptr)) return "";
  return total.QuadPart <= 1024 * 1024 ? path : "";  // never fill a real disk
}

// The message box a report window shows, or null.
HWND MessageBoxOf(const TarvoloProcess& app, HWND hReport) {
  for (HWND hWnd : app.WindowsCaptioned("Tarvolo")) {
    if (::GetWindow(hWnd, GW_OWNER) == hReport) return hWnd;
  }
  return nullptr;
}

// The edit inside the Open dialog's file name box.
HWND NameEdit(HWND hOpen) {
  HWND hNameBox = ::GetDlgItem(hOpen, kFileNameBox);
  HWND hCombo = ::FindWindowExA(hNameBox, nullptr, "ComboBox", nullptr);
  return ::FindWindowExA(hCombo ? hCombo : hNameBox, nullptr, "Edit", nullptr);
}

// Presses Save in a report window and types `path` into the name box of the file
// dialog that opens, as UTF-16, as a keyboard would. Returns the dialog, its OK
// not pressed yet; null if none came.
HWND FileDialogWithName(const TarvoloProcess& app, HWND hReport, const std::wstring& path) {
  ::PostMessageA(::GetDlgItem(hReport, IDOK), BM_CLICK, 0, 0);
  HWND hOpen = app.WaitForWindowCaptioned(kOpenCaption, 15000);
  HWND hNameEdit = NameEdit(hOpen);
  if (hOpen == nullptr || hNameEdit == nullptr) return nullptr;
  app.Send(hNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  return hOpen;
}

// Tarvolo after one run at 10,000, with its report window open.
class ReportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app.Click(IDOK);
    ASSERT_TRUE(m_app.WaitForIdle());
    m_record = m_app.Text(IDC_BEST);
    ASSERT_FALSE(m_record.empty());
    m_app.PostClick(IDC_REPORT);
    m_hReport = m_app.WaitForWindowCaptioned(kReportCaption, 10000);
    ASSERT_NE(m_hReport, nullptr);
  }

  std::string ReportText() const { return WindowText(Item(IDC_REPORT_TEXT)); }
  HWND Item(int nID) const { return ::GetDlgItem(m_hReport, nID); }

  HWND MessageBoxOfReport() const { return MessageBoxOf(m_app, m_hReport); }
  HWND WaitForMessageBox(int timeoutMs = 10000) const {
    HWND hBox = nullptr;
    EXPECT_TRUE(
        m_app.WaitUntil([&] { return (hBox = MessageBoxOfReport()) != nullptr; }, timeoutMs));
    if (hBox) m_app.Expect(hBox);
    return hBox;
  }
  // Presses the box's OK button and waits for it to go.
  void Dismiss(HWND hBox) const {
    ::PostMessageA(::GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(m_app.WaitUntil([&] { return !::IsWindow(hBox); }, 10000));
  }

  // The text of the box the report shows within timeoutMs, which is then closed,
  // so that what follows starts without it; empty when none came.
  std::string TakeMessageBox(int timeoutMs = 0) const {
    HWND hBox = nullptr;
    m_app.WaitUntil([&] { return (hBox = MessageBoxOfReport()) != nullptr; }, timeoutMs);
    if (!hBox) return "";
    m_app.Expect(hBox);
    std::string text = WindowText(::GetDlgItem(hBox, kMessageText));
    Dismiss(hBox);
    return text;
  }

  // UTF-16 position of a byte offset in the report (edit positions count characters).
  int CharPosition(size_t byteOffset) const {
    std::string text = ReportText().substr(0, byteOffset);
    return ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  }
  // Puts the caret before the byte at byteOffset, as a click there would.
  void PlaceCaret(size_t byteOffset) const {
    int position = CharPosition(byteOffset);
    m_app.Send(Item(IDC_REPORT_TEXT), EM_SETSEL, position, position);
  }
  // Keys are posted: the program may answer them with a modal message box.
  void PressDelete() const {
    ::PostMessageA(Item(IDC_REPORT_TEXT), WM_KEYDOWN, VK_DELETE, 0);
    ::PostMessageA(Item(IDC_REPORT_TEXT), WM_KEYUP, VK_DELETE, 0xC0000001);
  }
  void Type(const std::string& text) const {
    for (char c : text) ::PostMessageA(Item(IDC_REPORT_TEXT), WM_CHAR, static_cast<BYTE>(c), 1);
  }
  // Lets the program handle what was posted to it.
  void Settle() const {
    m_app.Send(m_hReport, WM_NULL);
    ::Sleep(300);
  }
  // Replaces the whole report text, as a paste would (but without EN_CHANGE).
  void SetReportText(const std::string& text) const {
    const std::wstring wide = Utf16(text);
    m_app.Send(Item(IDC_REPORT_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }

  // Saves through the file dialog: Save, the name typed into the name box, OK.
  void SaveAs(const fs::path& path) const {
    HWND hOpen = FileDialogWithName(m_app, m_hReport, path.wstring());
    ASSERT_NE(hOpen, nullptr) << "no file dialog";
    ::PostMessageA(::GetDlgItem(hOpen, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(m_app.WaitUntil([&] { return !::IsWindow(hOpen); }, 10000));
    Settle();
  }
  HWND WaitForFileDialog() const { return m_app.WaitForWindowCaptioned(kOpenCaption, 15000); }

  TarvoloProcess m_app;
  std::string m_record;
  HWND m_hReport = nullptr;
};

TEST_F(ReportWindow, OpensWithBothFiguresOverADisabledMainWindow) {
  std::string text = ReportText();
  EXPECT_NE(text.find("[10,000]測定結果(秒) ：" + m_record + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[100,000]測定結果(秒)：0.000\r\n"), std::string::npos) << text;
  EXPECT_EQ(WindowText(Item(IDC_NOTICE)).rfind("結果は ", 0), 0u);
  EXPECT_FALSE(::IsWindowEnabled(m_app.MainWindow())) << "the main window waits behind";
  EXPECT_EQ(::GetWindow(m_hReport, GW_OWNER), m_app.MainWindow());
  EXPECT_EQ(m_app.Focus(), Item(IDOK)) << "focus on Save";
}

TEST_F(ReportWindow, WarnsAtEveryEditThatLeavesAFigureOutUntilItIsWhole) {
  size_t figure = ReportText().find(m_record);
  ASSERT_NE(figure, std::string::npos);
  size_t lastDigit = figure + m_record.size() - 1;
  std::string deleted(1, m_record.back());

  PlaceCaret(lastDigit);
  PressDelete();
  HWND hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr) << "no warning after a digit was deleted";
  EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kSmellsOfCheating);
  EXPECT_EQ(WindowText(hBox), "Tarvolo") << "captioned with the program's name";
  EXPECT_NE(::GetDlgItem(hBox, IDOK), nullptr);
  EXPECT_EQ(::GetDlgItem(hBox, IDCANCEL), nullptr) << "one OK button only";
  EXPECT_EQ(m_app.Send(::GetDlgItem(hBox, kMessageIcon), STM_GETICON), 0) << "no icon";
  EXPECT_FALSE(::IsWindowEnabled(m_hReport)) << "the report waits behind its box";
  Dismiss(hBox);
  EXPECT_EQ(ReportText().find(m_record), std::string::npos) << "the text stays as edited";

  // Still missing after the next edit: the box comes again.
  Type("x");
  hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr) << "no warning at the second edit";
  Dismiss(hBox);

  // The figure made whole again: no more warnings.
  PlaceCaret(lastDigit + 1);
  PressDelete();  // the "x"
  hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr);
  Dismiss(hBox);
  PlaceCaret(lastDigit);
  Type(deleted);
  Settle();
  EXPECT_EQ(MessageBoxOfReport(), nullptr);
  EXPECT_NE(ReportText().find(m_record), std::string::npos);
  Type("  ok");
  Settle();
  EXPECT_EQ(MessageBoxOfReport(), nullptr) << "typing elsewhere never warns";
}

TEST_F(ReportWindow, TheFigureWrittenAnewElsewhereSatisfiesTheCheck) {
  std::string text = ReportText();
  size_t figure = text.find(m_record);
  // Write the figure into the comment first, then delete it from its own line.
  PlaceCaret(text.size());
  Type(m_record);
  Settle();
  ASSERT_EQ(MessageBoxOfReport(), nullptr);
  PlaceCaret(figure);
  PressDelete();
  Settle();
  EXPECT_EQ(MessageBoxOfReport(), nullptr);
}

TEST_F(ReportWindow, SaveWithAFigureMissingIsRefusedBeforeAnyFileIsChosen) {
  size_t figure = ReportText().find(m_record);
  PlaceCaret(figure);
  PressDelete();
  HWND hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr);
  Dismiss(hBox);

  ::PostMessageA(Item(IDOK), BM_CLICK, 0, 0);
  hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kDontLie);
  EXPECT_TRUE(m_app.WindowsCaptioned(kOpenCaption).empty()) << "no file dialog";
  Dismiss(hBox);
  EXPECT_TRUE(::IsWindow(m_hReport)) << "the report stays open for editing";
}

TEST_F(ReportWindow, SaveAppendsTheExactBytesUnderItsHeaderAndKeepsWhatWasThere) {
  ScratchFolder folder;
  const fs::path path = folder / "results.txt";
  const std::string earlier = std::string("earlier\r\n\x81\x7f\xff\x00 bytes", 16);
  WriteBytes(path, earlier);
  // Typing a line of one's own, with printf directives in it.
  PlaceCaret(ReportText().size());
  Type("%s %n %x %% done");
  Settle();
  std::string report = ReportText();

  SaveAs(path);
  ASSERT_EQ(MessageBoxOfReport(), nullptr);
  EXPECT_EQ(ReadBytes(path), earlier + kEntryHeader + report);
  EXPECT_TRUE(::IsWindow(m_hReport)) << "Save never closes the report";

  SaveAs(path);
  EXPECT_EQ(ReadBytes(path), earlier + kEntryHeader + report + kEntryHeader + report);
}

TEST_F(ReportWindow, ANameWithoutExtensionIsUsedAsTyped) {
  ScratchFolder folder;
  const fs::path path = folder / "results";
  SaveAs(path);
  EXPECT_EQ(ReadBytes(path), kEntryHeader + ReportText());
  EXPECT_FALSE(FileExists(folder / "results.txt"));

  // Also beside a .txt file of that name, which the dialog could take it for.
  const fs::path other = folder / "other";
  WriteBytes(folder / "other.txt", "kept");
  SaveAs(other);
  EXPECT_EQ(ReadBytes(other), kEntryHeader + ReportText());
  EXPECT_EQ(ReadBytes(folder / "other.txt"), "kept");
}

// Names the code page holds only as look-alikes (é as "e", the yen sign as "\"),
// not at all (😀), or with a second byte that reads as "\" (表): each entry goes
// into exactly the file named. Nothing else in the folder changes, though a file
// of a look-alike name and a folder that a "\" would lead into are there.
TEST_F(ReportWindow, AnyFileNameGetsTheEntryInExactlyThatFile) {
  const wchar_t* const kNames[] = {L"résumé.txt", L"x¥..¥yen.txt", L"ソフト¥inner.txt", L"😀.txt",
                                   L"表示.txt"};
  ScratchFolder folder;
  ASSERT_TRUE(::CreateDirectoryW((folder / L"ソフト").c_str(), nullptr));
  WriteBytes(folder / "resume.txt", "someone's own\r\n");
  const std::string entry = kEntryHeader + ReportText();
  for (const wchar_t* name : kNames) {
    SCOPED_TRACE(name);
    std::vector<std::wstring> expected = Listing(folder.path());
    expected.push_back(name + (L" " + std::to_wstring(entry.size())));
    std::sort(expected.begin(), expected.end());
    SaveAs(folder / name);
    EXPECT_EQ(TakeMessageBox(), "");
    EXPECT_EQ(ReadBytes(folder / name), entry);
    EXPECT_EQ(Listing(folder.path()), expected);
  }
}

// The Open form, with the name and the file type the program gives it.
TEST_F(ReportWindow, CancelInTheFileDialogWritesNothing) {
  ScratchFolder folder;
  ::PostMessageA(Item(IDOK), BM_CLICK, 0, 0);
  HWND hOpen = WaitForFileDialog();
  ASSERT_NE(hOpen, nullptr);
  EXPECT_EQ(::GetWindow(hOpen, GW_OWNER), m_hReport) << "owned by the report window";
  EXPECT_EQ(WindowText(NameEdit(hOpen)), "*.txt");
  EXPECT_EQ(WindowText(::GetDlgItem(hOpen, kFileTypes)), "(結果報告)*.txt");
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hOpen, kReadOnlyBox)));
  ::PostMessageA(::GetDlgItem(hOpen, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(m_app.WaitUntil([&] { return !::IsWindow(hOpen); }, 10000));
  Settle();
  EXPECT_EQ(MessageBoxOfReport(), nullptr);
  EXPECT_EQ(FileCount(folder.path()), 0);
}

// Held by another program for longer than a save waits: without sharing, or open
// for writing as a log is, say. The save is refused and the file left as it was.
TEST_F(ReportWindow, AFileHeldOpenElsewhereCannotBeOpened) {
  ScratchFolder folder;
  const fs::path path = folder / "held.txt";
  const std::string earlier = "earlier\r\n";
  const DWORD holds[][2] = {{GENERIC_READ | GENERIC_WRITE, 0},
                            {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE}};
  for (const auto& hold : holds) {
    WriteBytes(path, earlier);
    HANDLE hHeld = ::CreateFileW(path.c_str(), hold[0], hold[1], nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    SaveAs(path);
    const std::string message = TakeMessageBox(10000);
    ::CloseHandle(hHeld);
    EXPECT_EQ(message, kCannotOpen) << "sharing " << hold[1];
    EXPECT_EQ(ReadBytes(path), earlier) << "sharing " << hold[1];
  }
}

// Device names, in any folder, and a Unix device seen through Wine's drive Z:
// open as devices, which would take the entry without keeping it.
TEST_F(ReportWindow, ADeviceIsRefusedAndNothingIsWritten) {
  ScratchFolder folder;
  for (const fs::path& path :
       {folder / "COM1", folder / "NUL", folder / "AUX.txt", fs::path("Z:\\dev\\full")}) {
    SaveAs(path);
    const std::string message = TakeMessageBox(10000);
    EXPECT_EQ(message, kCannotOpen) << path;
  }
  EXPECT_EQ(FileCount(folder.path()), 0);
}

// Two programs save to one file at the same moment, three times, while a third
// holds it a little, so that both wait for it and then go in together: every
// save goes in as a whole entry, its header followed by its own text.
TEST_F(ReportWindow, TwoProgramsSavingToOneFileAtOnceEachAddWholeEntries) {
  TarvoloProcess second;
  second.PostClick(IDC_REPORT);
  HWND hSecond = second.WaitForWindowCaptioned(kReportCaption, 10000);
  ASSERT_NE(hSecond, nullptr);
  const HWND reports[] = {m_hReport, hSecond};
  const TarvoloProcess* apps[] = {&m_app, &second};
  std::string texts[2];
  for (int i = 0; i < 2; ++i) {
    HWND hEdit = ::GetDlgItem(reports[i], IDC_REPORT_TEXT);
    apps[i]->Send(hEdit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    apps[i]->Send(hEdit, EM_REPLACESEL, TRUE,
                  reinterpret_cast<LPARAM>(i == 0 ? L"first" : L"second"));
    texts[i] = WindowText(hEdit);
  }
  ScratchFolder folder;
  const fs::path path = folder / "both.txt";
  constexpr int kRounds = 3;
  for (int round = 0; round < kRounds; ++round) {
    HANDLE hThird = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hThird, INVALID_HANDLE_VALUE);
    HWND dialogs[2];
    for (int i = 0; i < 2; ++i) {
      dialogs[i] = FileDialogWithName(*apps[i], reports[i], path.wstring());
      ASSERT_NE(dialogs[i], nullptr) << "no file dialog in program " << i;
    }
    for (HWND hOpen : dialogs) ::PostMessageA(::GetDlgItem(hOpen, IDOK), BM_CLICK, 0, 0);
    bool closed =
        WaitUntil([&] { return !::IsWindow(dialogs[0]) && !::IsWindow(dialogs[1]); }, 10000);
    ::Sleep(100);
    ::CloseHandle(hThird);
    ASSERT_TRUE(closed);
    for (int i = 0; i < 2; ++i) {
      // Answered once the save is over; a box fails the test.
      apps[i]->Send(reports[i], WM_NULL);
      HWND hBox = MessageBoxOf(*apps[i], reports[i]);
      ASSERT_EQ(hBox, nullptr) << "program " << i << ": "
                               << WindowText(::GetDlgItem(hBox, kMessageText));
    }
  }

  std::string file = ReadBytes(path);
  const size_t headerBytes = std::strlen(kEntryHeader);
  int counts[2] = {0, 0};
  for (size_t at = 0; at < file.size();) {
    int i = 0;
    while (i < 2 && file.compare(at, headerBytes + texts[i].size(), kEntryHeader + texts[i]) != 0) {
      ++i;
    }
    ASSERT_LT(i, 2) << "no whole entry at byte " << at << " of\n" << file;
    ++counts[i];
    at += headerBytes + texts[i].size();
  }
  EXPECT_EQ(counts[0], kRounds);
  EXPECT_EQ(counts[1], kRounds);
}

// Wine's file dialog gives up on a typed path of 260 to 264 characters; the
// user must hear that nothing was saved.
TEST_F(ReportWindow, AFileDialogThatFailsIsReported) {
  ScratchFolder folder;
  std::wstring path = (folder / "").wstring();
  path += std::wstring(262 - path.size(), L'a');
  SaveAs(path);
  HWND hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr) << "a failed file dialog showed nothing";
  EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kCannotOpen);
  Dismiss(hBox);
  EXPECT_NE(ReportText().find(m_record), std::string::npos) << "the text is kept";
}

// The file ends 6 bytes short of a full page and no page is left: the header
// starts to go in, then the disk is full.
TEST_F(ReportWindow, AWriteThatRunsOutOfSpaceLeavesTheFileAsItWas) {
  std::string folder = SmallFolder();
  if (folder.empty()) GTEST_SKIP() << "no small file system mounted (it needs root)";
  std::string path = folder + "\\results.txt";
  std::string filler = folder + "\\filler";
  const std::string earlier(4090, 'e');
  WriteBytes(path, earlier);
  UniqueHandle hFiller(::CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(hFiller.get(), INVALID_HANDLE_VALUE);
  static const char kPage[4096] = {};
  DWORD written = 0;
  while (::WriteFile(hFiller.get(), kPage, sizeof kPage, &written, nullptr) && written > 0) {
  }
  hFiller.reset();

  SaveAs(path);
  const std::string message = TakeMessageBox(10000);
  std::string after = ReadBytes(path);
  ::DeleteFileA(filler.c_str());
  ::DeleteFileA(path.c_str());
  EXPECT_EQ(message, kCannotWrite);
  EXPECT_EQ(after.size(), earlier.size());
  EXPECT_TRUE(after == earlier) << "the file is not as it was";
}

// A WAVE DASH, as pasted from a program that writes Unicode: the file would get
// "?" in its place.
TEST_F(ReportWindow, TextTheFileCannotHoldIsRefusedAtSave) {
  HWND hEdit = Item(IDC_REPORT_TEXT);
  int end = CharPosition(ReportText().size());
  m_app.Send(hEdit, EM_SETSEL, end, end);
  m_app.Send(hEdit, EM_REPLACESEL, TRUE,
             reinterpret_cast<LPARAM>(L"3\x301C"
                                      L"4GHz"));
  Settle();
  ASSERT_EQ(MessageBoxOfReport(), nullptr);

  ::PostMessageA(Item(IDOK), BM_CLICK, 0, 0);
  HWND hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr) << "saved without a word";
  std::string message = WindowText(::GetDlgItem(hBox, kMessageText));
  EXPECT_EQ(message.rfind(kCannotHold, 0), 0u) << message;
  EXPECT_NE(message.find("U+301C"), std::string::npos) << message;
  EXPECT_TRUE(m_app.WindowsCaptioned(kOpenCaption).empty()) << "no file dialog";
  Dismiss(hBox);
  wchar_t wide[8192] = L"";
  m_app.Send(hEdit, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(wide));
  EXPECT_NE(std::wstring(wide).find(L"3\x301C"
                                    L"4GHz"),
            std::wstring::npos)
      << "the text is kept";
}

// Enough text before the figures that they lie past the report buffer: the edit
// check still finds them, and Save refuses the whole.
TEST_F(ReportWindow, AReportTooLongForItsBufferIsRefusedWhole) {
  std::string text = ReportText();
  text = std::string(4096, 'a') + text;
  SetReportText(text);
  Type("b");
  Settle();
  EXPECT_EQ(MessageBoxOfReport(), nullptr) << "a warning although both figures are there";
  text = ReportText();
  ::PostMessageA(Item(IDOK), BM_CLICK, 0, 0);
  HWND hBox = WaitForMessageBox();
  ASSERT_NE(hBox, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kTooLong);
  EXPECT_TRUE(m_app.WindowsCaptioned(kOpenCaption).empty()) << "no file dialog";
  Dismiss(hBox);
  EXPECT_EQ(ReportText(), text) << "the text stays as it was";
}

// The report holds 4,095 bytes: one more is refused, never cut. The text ends
// with a double-byte character, or with one across the edge (its first byte the
// 4,095th, its second the 4,096th).
TEST_F(ReportWindow, TheLongestReportIsSavedWholeAndOneByteMoreIsRefused) {
  struct Case {
    size_t bytes;
    const char* end;
    bool saved;
  };
  const Case kCases[] = {
      {4095, "a", true},
      {4095, "字", true},
      {4096, "a", false},
      {4096, "字", false},
  };
  ScratchFolder folder;
  const std::string report = ReportText();
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.bytes) + " bytes ending in " +
                 (c.end[1] ? "a double-byte" : "a"));
    std::string text =
        report + std::string(c.bytes - report.size() - std::strlen(c.end), 'x') + c.end;
    SetReportText(text);
    ASSERT_EQ(ReportText(), text);
    const fs::path path = folder / (std::to_string(c.bytes) + (c.end[1] ? "w" : "a"));
    if (c.saved) {
      SaveAs(path);
      EXPECT_EQ(MessageBoxOfReport(), nullptr);
      EXPECT_EQ(ReadBytes(path), kEntryHeader + text);
    } else {
      ::PostMessageA(Item(IDOK), BM_CLICK, 0, 0);
      HWND hBox = WaitForMessageBox();
      ASSERT_NE(hBox, nullptr);
      EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kTooLong);
      Dismiss(hBox);
      EXPECT_FALSE(FileExists(path));
    }
  }
}

// Message boxes carry the executable's own name, whatever the file is called: a
// Shift_JIS name whose last character's second byte is a backslash, and one with
// a yen sign, which the code page holds only as a look-alike of "\": "?" there.
TEST(ReportMessageBox, IsCaptionedWithTheRunningExecutablesName) {
  const struct {
    const wchar_t* file;
    const char* caption;
  } kCopies[] = {
      {L"ベンチ表.exe", "ベンチ表"},
      {L"ベンチ¥2.exe", "ベンチ?2"},
  };
  for (const auto& copy : kCopies) {
    SCOPED_TRACE(copy.file);
    ASSERT_TRUE(::CopyFileW(BesideTestProgram(L"Tarvolo.exe").c_str(),
                            BesideTestProgram(copy.file).c_str(), FALSE));
    {
      TarvoloProcess app(false, copy.file);
      app.PostClick(IDC_REPORT);
      HWND hReport = app.WaitForWindowCaptioned(kReportCaption, 10000);
      ASSERT_NE(hReport, nullptr);
      app.Send(::GetDlgItem(hReport, IDC_REPORT_TEXT), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"no figures here"));
      ::PostMessageA(::GetDlgItem(hReport, IDOK), BM_CLICK, 0, 0);
      HWND hBox = app.WaitForWindowCaptioned(copy.caption, 10000);
      ASSERT_NE(hBox, nullptr) << "no box captioned with the file's name";
      EXPECT_EQ(::GetWindow(hBox, GW_OWNER), hReport);
      EXPECT_EQ(WindowText(::GetDlgItem(hBox, kMessageText)), kDontLie);
    }
    ::DeleteFileW(BesideTestProgram(copy.file).c_str());
  }
}

TEST_F(ReportWindow, CloseReturnsToTheMainWindowUnchanged) {
  std::string result = m_app.Text(IDC_RESULT);
  ::PostMessageA(Item(IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(m_app.WaitUntil([&] { return !::IsWindow(m_hReport); }, 10000));
  EXPECT_TRUE(::IsWindowEnabled(m_app.MainWindow()));
  EXPECT_EQ(m_app.Text(IDC_RESULT), result);
  EXPECT_EQ(m_app.Text(IDC_BEST), m_record);
  EXPECT_EQ(m_app.Text(IDOK), "測定開始");
  EXPECT_TRUE(m_app.Enabled(IDOK));
}

// Another program opens the report, raises the warning and closes both windows
// and the box, all by messages it sends without waiting: once the box is gone,
// no window is left and the program has ended.
TEST(ReportCloseOrder, ClosingBothWindowsBehindAWarningEndsTheProgram) {
  TarvoloProcess app;
  ::SendNotifyMessageA(app.Control(IDC_REPORT), BM_CLICK, 0, 0);
  HWND hReport = app.WaitForWindowCaptioned(kReportCaption, 10000);
  ASSERT_NE(hReport, nullptr);
  HWND hEdit = ::GetDlgItem(hReport, IDC_REPORT_TEXT);
  app.Send(hEdit, EM_SETSEL, 0, -1);
  ::SendNotifyMessageA(hEdit, WM_CLEAR, 0, 0);
  HWND hBox = nullptr;
  ASSERT_TRUE(app.WaitUntil(
      [&] {
        for (HWND hWnd : app.WindowsCaptioned("Tarvolo")) {
          if (::GetWindow(hWnd, GW_OWNER) == hReport) hBox = hWnd;
        }
        return hBox != nullptr;
      },
      10000));
  app.Expect(hBox);
  ::SendNotifyMessageA(app.MainWindow(), WM_CLOSE, 0, 0);
  ::SendNotifyMessageA(hReport, WM_CLOSE, 0, 0);
  ::SendNotifyMessageA(::GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(app.WaitForExit(10000, &exitCode)) << "no window left, yet still running";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
