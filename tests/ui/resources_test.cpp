// Reads the resources of both built Tarvolo.exe files (this program's own
// build's beside it, the other one in ..\win64 or ..\win32) as data and holds
// every template, string, icon and version entry against the values the program
// is meant to carry. Texts are compared as Shift_JIS, the code page the program
// shows them in.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/support/unique_handles.h"
#include "tests/ui/resource_reader.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 0x0411

const LPCSTR kTypeIcon = MAKEINTRESOURCEA(3);
const LPCSTR kTypeDialog = MAKEINTRESOURCEA(5);
const LPCSTR kTypeString = MAKEINTRESOURCEA(6);
const LPCSTR kTypeGroupIcon = MAKEINTRESOURCEA(14);
const LPCSTR kTypeVersion = MAKEINTRESOURCEA(16);
const LPCSTR kTypeManifest = MAKEINTRESOURCEA(24);

constexpr WORD kVersionBlockId = 1;
constexpr WORD kManifestId = 1;  // the manifest the loader reads for an .exe

// Window class ordinals of the dialog manager's predefined controls.
constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kComboBox = 0x0085;

constexpr DWORD kNoId = 0xFFFF;  // a control nobody addresses (-1)

// The style bits each kind of control is checked on: a bit in the mask is
// expected exactly as the table row gives it, set or clear.
constexpr DWORD kCommonBits = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_GROUP |
                              WS_BORDER | WS_VSCROLL | WS_HSCROLL;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

DWORD StyleMask(WORD windowClass) {
  switch (windowClass) {
    case kButton:
      return kCommonBits | BS_TYPEMASK;
    case kStatic:
      return kCommonBits | SS_TYPEMASK | SS_NOPREFIX;
    case kEdit:
      return kCommonBits | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
             ES_READONLY;
    case kComboBox:
      return kCommonBits | 0x0003 /* drop-down kind */ | CBS_SORT;
    default:
      return kCommonBits;
  }
}

// The frame bits of the three windows; all are modal dialog frames with
// caption and system menu, none sizable or with minimise/maximise boxes.
constexpr DWORD kDialogMask = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CHILD | WS_CAPTION |
                              WS_SYSMENU | WS_VISIBLE | WS_DISABLED | WS_THICKFRAME |
                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kModalFrame = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

struct ExpectedControl {
  DWORD id;
  WORD windowClass;
  const char* text;   // Shift_JIS; nullptr: the maker's copyright line (any non-empty text)
  WORD titleOrdinal;  // non-zero: the title is this resource ordinal instead of a text
  short x, y, cx, cy;
  DWORD style;  // the expected bits within StyleMask(windowClass)
};

const ExpectedControl kBenchControls[] = {
    {IDOK, kButton, "測定開始", 0, 109, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, kButton, "閉じる", 0, 109, 38, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {kNoId, kStatic, "Sec", 0, 69, 33, 21, 8, kChild | SS_LEFT | WS_GROUP},
    {IDC_RESULT, kStatic, "0.999", 0, 37, 33, 28, 8, kChild | SS_RIGHT | WS_GROUP},
    {kNoId, kStatic, "測定結果", 0, 7, 34, 28, 8, kChild | SS_LEFT | WS_GROUP},
    {IDC_REPORT, kButton, "報告書作成", 0, 109, 22, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {kNoId, kStatic, "Sec", 0, 69, 43, 21, 8, kChild | SS_LEFT | WS_GROUP},
    {IDC_BEST, kStatic, "0.900", 0, 37, 43, 28, 8, kChild | SS_RIGHT | WS_GROUP},
    {kNoId, kStatic, "最高記録", 0, 7, 44, 28, 8, kChild | SS_LEFT | WS_GROUP},
    {kNoId, kStatic, "上限値", 0, 7, 9, 25, 10, kChild | SS_LEFT | WS_GROUP},
    {IDC_LIMIT, kComboBox, "", 0, 35, 7, 65, 45,
     kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
};

const ExpectedControl kReportControls[] = {
    {IDOK, kButton, "ファイルに保存", 0, 7, 182, 80, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, kButton, "閉じる", 0, 163, 182, 80, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    // Scrolls on its own both ways, without scroll bars.
    {IDC_REPORT_TEXT, kEdit, "", 0, 7, 17, 236, 158,
     kChild | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_BORDER |
         WS_TABSTOP},
    // The notice line: read-only, no border, not reached by Tab.
    {IDC_NOTICE, kEdit, "", 0, 7, 4, 236, 12, kChild | ES_READONLY | ES_AUTOHSCROLL},
};

const ExpectedControl kAboutControls[] = {
    // The icon keeps its 20 x 21 size in the template.
    {kNoId, kStatic, "", IDR_MAINFRAME, 7, 7, 20, 21, kChild | SS_ICON},
    {kNoId, kStatic, "Tarvolo  V1.00", 0, 45, 7, 77, 8,
     kChild | SS_CENTER | SS_NOPREFIX | WS_GROUP},
    {kNoId, kStatic, nullptr, 0, 39, 23, 112, 8, kChild | SS_LEFT | WS_GROUP},
    {IDOK, kButton, "OK", 0, 62, 38, 32, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
};

struct ExpectedDialog {
  const char* name;
  WORD id;
  DWORD style;  // the expected bits within kDialogMask
  bool appWindow;
  short cx, cy;
  const char* caption;
  const char* face;
  const ExpectedControl* controls;
  size_t controlCount;
};

void PrintTo(const ExpectedDialog& dialog, std::ostream* os) {
  *os << dialog.name;
}

const ExpectedDialog kDialogs[] = {
    {"IDD_BENCH", IDD_BENCH, kModalFrame | WS_VISIBLE, true, 166, 59, "Tarvolo", "ＭＳ Ｐゴシック",
     kBenchControls, sizeof kBenchControls / sizeof kBenchControls[0]},
    {"IDD_REPORT", IDD_REPORT, kModalFrame, false, 250, 203, "結果報告書作成", "ＭＳ ゴシック",
     kReportControls, sizeof kReportControls / sizeof kReportControls[0]},
    {"IDD_ABOUTBOX", IDD_ABOUTBOX, kModalFrame, false, 158, 59, "About Tarvolo", "ＭＳ Ｐゴシック",
     kAboutControls, sizeof kAboutControls / sizeof kAboutControls[0]},
};

struct Executable {
  const char* name;
  const char* preset;  // the build that makes it, and its folder under build/
  WORD machine;
};

void PrintTo(const Executable& exe, std::ostream* os) {
  *os << exe.name;
}

const Executable kExecutables[] = {
    {"win64", "win64", IMAGE_FILE_MACHINE_AMD64},
    {"win32", "win32", IMAGE_FILE_MACHINE_I386},
};

// The build this test program belongs to: its Tarvolo.exe lies beside it.
const char* const kOwnPreset = sizeof(void*) == 8 ? "win64" : "win32";

std::string TestProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::string();
  std::string folder(path, length);
  const size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Hex(DWORD value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

std::string ShiftJis(const std::wstring& text) {
  std::string out;
  if (!ToShiftJis(text, &out)) {
    ADD_FAILURE() << "a text of the resources has no Shift_JIS form";
  }
  return out;
}

// Normalised window class: the predefined ordinals and their names compare equal.
std::string ClassName(const NameOrOrdinal& windowClass) {
  if (windowClass.isOrdinal) {
    switch (windowClass.ordinal) {
      case kButton:
        return "button";
      case kEdit:
        return "edit";
      case kStatic:
        return "static";
      case 0x0083:
        return "listbox";
      case 0x0084:
        return "scrollbar";
      case kComboBox:
        return "combobox";
      default:
        return "#" + std::to_string(windowClass.ordinal);
    }
  }
  std::string name;
  for (wchar_t c : windowClass.name) {
    name.push_back(c >= L'A' && c <= L'Z' ? static_cast<char>(c - L'A' + 'a')
                                          : static_cast<char>(c < 0x80 ? c : '?'));
  }
  return name;
}

std::string ClassName(WORD ordinal) {
  NameOrOrdinal windowClass;
  windowClass.isOrdinal = true;
  windowClass.ordinal = ordinal;
  return ClassName(windowClass);
}

// Opens one executable, failing the test with the way to build it when it is
// missing.
void OpenExecutable(const Executable& exe, std::string* path,
                    std::unique_ptr<ResourceModule>* module) {
  const std::string folder = TestProgramFolder();
  ASSERT_FALSE(folder.empty()) << "cannot tell where this test program lies";
  *path = folder + (std::strcmp(exe.preset, kOwnPreset) == 0
                        ? std::string("Tarvolo.exe")
                        : std::string("..\\") + exe.preset + "\\Tarvolo.exe");
  ASSERT_NE(::GetFileAttributesA(path->c_str()), INVALID_FILE_ATTRIBUTES)
      << path->c_str() << " is missing: build it with `cmake --preset " << exe.preset
      << " && cmake --build --preset " << exe.preset << " --target Tarvolo`";
  *module = std::make_unique<ResourceModule>(*path);
  ASSERT_TRUE((*module)->Loaded())
      << "cannot load " << path->c_str() << " as a data file, error " << (*module)->LoadError();
}

void LoadJapanese(const ResourceModule& module, LPCSTR type, WORD id, std::vector<BYTE>* bytes) {
  ASSERT_TRUE(module.Bytes(type, id, kJapanese, bytes))
      << "no resource of type " << ResourceKey(type) << " number " << id << " in language 0x0411";
}

void LoadDialog(const ResourceModule& module, WORD id, DialogTemplate* dialog) {
  std::vector<BYTE> bytes;
  ASSERT_NO_FATAL_FAILURE(LoadJapanese(module, kTypeDialog, id, &bytes));
  std::string error;
  ASSERT_TRUE(ParseDialogEx(bytes, dialog, &error)) << "dialog " << id << ": " << error;
}

void LoadVersionBlock(const ResourceModule& module, VersionNode* root) {
  std::vector<BYTE> bytes;
  ASSERT_NO_FATAL_FAILURE(LoadJapanese(module, kTypeVersion, kVersionBlockId, &bytes));
  std::string error;
  ASSERT_TRUE(ParseVersionInfo(bytes, root, &error)) << error;
}

// The copyright line as the About box shows it (its third control).
void AboutCopyright(const ResourceModule& module, std::string* line) {
  DialogTemplate about;
  ASSERT_NO_FATAL_FAILURE(LoadDialog(module, IDD_ABOUTBOX, &about));
  ASSERT_GE(about.items.size(), 3u);
  ASSERT_FALSE(about.items[2].title.isOrdinal);
  *line = ShiftJis(about.items[2].title.name);
}

std::vector<std::string> Keys(const VersionNode& node) {
  std::vector<std::string> keys;
  for (const VersionNode& child : node.children) keys.push_back(ShiftJis(child.key));
  return keys;
}

// ---------------------------------------------------------------------------
// Checks of one executable as a whole.

class ExecutableTest : public ::testing::TestWithParam<Executable> {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenExecutable(GetParam(), &m_path, &m_module)); }

  // The application icon's group directory.
  void LoadIconGroup(IconGroup* group) const {
    std::vector<BYTE> bytes;
    ASSERT_NO_FATAL_FAILURE(LoadJapanese(*m_module, kTypeGroupIcon, IDR_MAINFRAME, &bytes));
    std::string error;
    ASSERT_TRUE(ParseGroupIcon(bytes, group, &error)) << error;
  }

  std::string m_path;
  std::unique_ptr<ResourceModule> m_module;
};

TEST_P(ExecutableTest, IsBuiltForItsMachine) {
  UniqueFile file(fopen(m_path.c_str(), "rb"));
  ASSERT_NE(file, nullptr);
  unsigned char head[4096] = {};
  const size_t got = fread(head, 1, sizeof head, file.get());
  file.reset();
  ASSERT_GE(got, 0x40u);
  DWORD peOffset = 0;
  std::memcpy(&peOffset, head + 0x3C, sizeof peOffset);
  ASSERT_LE(static_cast<size_t>(peOffset) + 6, got);
  ASSERT_EQ(0, std::memcmp(head + peOffset, "PE\0\0", 4));
  WORD machine = 0;
  std::memcpy(&machine, head + peOffset + 4, sizeof machine);
  EXPECT_EQ(machine, GetParam().machine) << m_path;
}

// Every resource is Japanese, and there are exactly the program's own (its
// manifest included): nothing added by the tools.
TEST_P(ExecutableTest, HoldsOnlyTheProgramsResourcesAllJapanese) {
  IconGroup group;
  ASSERT_NO_FATAL_FAILURE(LoadIconGroup(&group));

  std::set<std::pair<std::string, std::string>> expected = {
      {"#5", "#100"},  {"#5", "#102"}, {"#5", "#129"}, {"#6", "#7"},
      {"#14", "#128"}, {"#16", "#1"},  {"#24", "#1"},
  };
  for (const IconDirEntry& e : group.entries) expected.insert({"#3", "#" + std::to_string(e.id)});

  std::set<std::pair<std::string, std::string>> found;
  const std::vector<ResourceEntry> entries = m_module->Enumerate();
  for (const ResourceEntry& e : entries) {
    EXPECT_EQ(e.language, kJapanese)
        << "type " << e.type << " name " << e.name << " has language " << Hex(e.language);
    found.insert({e.type, e.name});
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ(entries.size(), found.size()) << "a resource is held in more than one language";
}

TEST_P(ExecutableTest, AboutStringIsTheOnlyString) {
  std::vector<BYTE> bytes;
  ASSERT_NO_FATAL_FAILURE(LoadJapanese(*m_module, kTypeString, IDS_ABOUTBOX / 16 + 1, &bytes));
  std::vector<std::wstring> strings;
  std::string error;
  ASSERT_TRUE(ParseStringBlock(bytes, &strings, &error)) << error;
  ASSERT_EQ(strings.size(), 16u);
  for (size_t i = 0; i < strings.size(); ++i) {
    const int id = IDS_ABOUTBOX / 16 * 16 + static_cast<int>(i);
    if (id == IDS_ABOUTBOX) {
      EXPECT_EQ(ShiftJis(strings[i]), "Tarvolo について (&A)...");
    } else {
      EXPECT_TRUE(strings[i].empty()) << "unexpected string " << id;
    }
  }
}

TEST_P(ExecutableTest, IconHasTwoSixteenColourImages) {
  IconGroup group;
  ASSERT_NO_FATAL_FAILURE(LoadIconGroup(&group));
  std::string error;
  EXPECT_EQ(group.reserved, 0);
  EXPECT_EQ(group.type, 1) << "not an icon directory";
  ASSERT_EQ(group.entries.size(), 2u);

  std::multiset<int> sizes;
  for (const IconDirEntry& e : group.entries) {
    SCOPED_TRACE("icon image " + std::to_string(e.id));
    const int side = e.width == 0 ? 256 : e.width;
    sizes.insert(side);
    EXPECT_EQ(e.height, e.width) << "not square";
    EXPECT_EQ(e.colorCount, 16);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.bitCount, 4);

    std::vector<BYTE> image;
    ASSERT_NO_FATAL_FAILURE(LoadJapanese(*m_module, kTypeIcon, e.id, &image));
    EXPECT_EQ(image.size(), e.bytesInRes) << "directory and image disagree on the size";
    BITMAPINFOHEADER header;
    ASSERT_TRUE(ParseIconHeader(image, &header, &error)) << error;
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, side);
    EXPECT_EQ(header.biHeight, 2 * side) << "colour image and mask, one above the other";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 4);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 16) << header.biClrUsed;
    // Header, sixteen-entry palette, 4-bit colour rows and 1-bit mask rows,
    // each row padded to a DWORD.
    const size_t colourRow = ((side * 4 + 31) / 32) * 4;
    const size_t maskRow = ((side + 31) / 32) * 4;
    EXPECT_EQ(image.size(), sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) +
                                (colourRow + maskRow) * static_cast<size_t>(side));
  }
  EXPECT_EQ(sizes, (std::multiset<int>{16, 32}));
}

TEST_P(ExecutableTest, VersionBlockFixedPart) {
  VersionNode root;
  ASSERT_NO_FATAL_FAILURE(LoadVersionBlock(*m_module, &root));
  EXPECT_EQ(ShiftJis(root.key), "VS_VERSION_INFO");
  EXPECT_EQ(root.type, 0);
  ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, root.value.data(), sizeof fixed);
  EXPECT_EQ(Hex(fixed.dwSignature), Hex(VS_FFI_SIGNATURE));
  EXPECT_EQ(Hex(fixed.dwStrucVersion), Hex(VS_FFI_STRUCVERSION));
  EXPECT_EQ(Hex(fixed.dwFileVersionMS), Hex(0x00010000));  // 1.0
  EXPECT_EQ(Hex(fixed.dwFileVersionLS), Hex(0x00000001));  // 0.1
  EXPECT_EQ(Hex(fixed.dwProductVersionMS), Hex(0x00010000));
  EXPECT_EQ(Hex(fixed.dwProductVersionLS), Hex(0x00000001));
  EXPECT_EQ(Hex(fixed.dwFileFlags & fixed.dwFileFlagsMask), Hex(0));
  EXPECT_EQ(Hex(fixed.dwFileFlags), Hex(0));
  EXPECT_EQ(Hex(fixed.dwFileOS), Hex(VOS__WINDOWS32));
  EXPECT_EQ(Hex(fixed.dwFileType), Hex(VFT_APP));
  EXPECT_EQ(Hex(fixed.dwFileSubtype), Hex(VFT2_UNKNOWN));
}

TEST_P(ExecutableTest, VersionBlockTexts) {
  VersionNode root;
  ASSERT_NO_FATAL_FAILURE(LoadVersionBlock(*m_module, &root));
  EXPECT_EQ(Keys(root), (std::vector<std::string>{"StringFileInfo", "VarFileInfo"}));

  const VersionNode* files = root.Child(L"StringFileInfo");
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(Keys(*files), std::vector<std::string>{"041104b0"}) << "one Japanese Unicode table";
  const VersionNode* table = files->Child(L"041104b0");
  ASSERT_NE(table, nullptr);

  std::map<std::string, std::string> values;
  for (const VersionNode& entry : table->children) {
    EXPECT_EQ(entry.type, 1) << ShiftJis(entry.key) << " is not held as text";
    EXPECT_TRUE(entry.children.empty()) << ShiftJis(entry.key);
    EXPECT_TRUE(values.insert({ShiftJis(entry.key), ShiftJis(entry.Text())}).second)
        << ShiftJis(entry.key) << " appears twice";
  }
  std::string copyright;
  ASSERT_NO_FATAL_FAILURE(AboutCopyright(*m_module, &copyright));
  EXPECT_FALSE(copyright.empty());
  const std::map<std::string, std::string> expected = {
      {"CompanyName", ""},           {"FileDescription", "Quendry"},
      {"FileVersion", "1, 0, 0, 1"}, {"InternalName", "Quendry"},
      {"LegalCopyright", copyright}, {"OriginalFilename", FileNameOf(m_path)},
      {"ProductName", "Quendry"},    {"ProductVersion", "1, 0, 0, 1"},
  };
  EXPECT_EQ(values, expected);
  EXPECT_EQ(values["OriginalFilename"], "Tarvolo.exe");

  const VersionNode* vars = root.Child(L"VarFileInfo");
  ASSERT_NE(vars, nullptr);
  EXPECT_EQ(Keys(*vars), std::vector<std::string>{"Translation"});
  const VersionNode* translation = vars->Child(L"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->type, 0);
  ASSERT_EQ(translation->value.size(), 4u) << "exactly one language and code page pair";
  WORD pair[2];
  std::memcpy(pair, translation->value.data(), sizeof pair);
  EXPECT_EQ(pair[0], 0x0411);
  EXPECT_EQ(pair[1], 1200);
}

// The system's own reading of the version block agrees with the walk above, so
// the walk cannot have skipped or misaligned a node unnoticed.
TEST_P(ExecutableTest, VersionBlockReadsTheSameThroughTheSystem) {
  VersionNode root;
  ASSERT_NO_FATAL_FAILURE(LoadVersionBlock(*m_module, &root));
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(m_path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(::GetFileVersionInfoA(m_path.c_str(), 0, size, block.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(0, std::memcmp(value, root.value.data(), length));

  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const VersionNode* vars = root.Child(L"VarFileInfo");
  ASSERT_NE(vars, nullptr);
  const VersionNode* translation = vars->Child(L"Translation");
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value.size(), length);
  EXPECT_EQ(0, std::memcmp(value, translation->value.data(), length));

  const VersionNode* files = root.Child(L"StringFileInfo");
  ASSERT_NE(files, nullptr);
  const VersionNode* table = files->Child(L"041104b0");
  ASSERT_NE(table, nullptr);
  for (const VersionNode& entry : table->children) {
    const std::wstring query = L"\\StringFileInfo\\041104b0\\" + entry.key;
    ASSERT_TRUE(::VerQueryValueW(block.data(), query.c_str(), &value, &length))
        << ShiftJis(entry.key);
    const wchar_t* text = static_cast<const wchar_t*>(value);
    EXPECT_EQ(std::wstring(text, wcsnlen(text, length)), entry.Text()) << ShiftJis(entry.key);
  }
}

// The manifest: started with the user's own rights, made for Vista up to
// Windows 10 and 11, system DPI aware (dialogs laid out anew, not stretched),
// the Japanese code page whatever the system's language (Windows 11),
// and without Common Controls 6, whose themed controls the dialogs are not
// laid out for. Its version is the version block's.
TEST_P(ExecutableTest, ManifestAsksForWhatTheProgramIsMadeFor) {
  std::vector<BYTE> bytes;
  ASSERT_NO_FATAL_FAILURE(LoadJapanese(*m_module, kTypeManifest, kManifestId, &bytes));
  const std::string manifest(bytes.begin(), bytes.end());
  VersionNode root;
  ASSERT_NO_FATAL_FAILURE(LoadVersionBlock(*m_module, &root));
  ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, root.value.data(), sizeof fixed);
  char version[64];
  snprintf(version, sizeof version, "version=\"%lu.%lu.%lu.%lu\"",
           static_cast<unsigned long>(HIWORD(fixed.dwFileVersionMS)),
           static_cast<unsigned long>(LOWORD(fixed.dwFileVersionMS)),
           static_cast<unsigned long>(HIWORD(fixed.dwFileVersionLS)),
           static_cast<unsigned long>(LOWORD(fixed.dwFileVersionLS)));

  const std::string required[] = {
      version,
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",  // Vista
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
      "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
      "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
      "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
      "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">ja-JP"
      "</activeCodePage>",
  };
  for (const std::string& text : required) {
    EXPECT_NE(manifest.find(text), std::string::npos) << "missing: " << text;
  }
  // Nothing more: no themed controls, no per-monitor scaling, no elevation.
  const std::string forbidden[] = {"Common-Controls", "dpiAwareness", "true/pm", "highestAvailable",
                                   "requireAdministrator"};
  for (const std::string& text : forbidden) {
    EXPECT_EQ(manifest.find(text), std::string::npos) << "should not hold: " << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Tarvolo, ExecutableTest, ::testing::ValuesIn(kExecutables),
                         [](const ::testing::TestParamInfo<Executable>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// The three dialog templates, each against its table.

class DialogTest : public ::testing::TestWithParam<std::tuple<Executable, ExpectedDialog>> {};

void ExpectControl(const ExpectedControl& want, const DialogItem& got) {
  const DWORD id = got.id == 0xFFFFFFFF ? kNoId : got.id;
  EXPECT_EQ(id, want.id);
  EXPECT_EQ(ClassName(got.windowClass), ClassName(want.windowClass));
  if (want.titleOrdinal != 0) {
    EXPECT_TRUE(got.title.isOrdinal) << "the title should name resource " << want.titleOrdinal;
    EXPECT_EQ(got.title.ordinal, want.titleOrdinal);
  } else {
    EXPECT_FALSE(got.title.isOrdinal) << "an ordinal where a text belongs";
    const std::string text = ShiftJis(got.title.name);
    if (want.text != nullptr) {
      EXPECT_EQ(text, want.text);
    } else {
      EXPECT_FALSE(text.empty()) << "the copyright line is empty";
    }
  }
  EXPECT_EQ(got.x, want.x);
  EXPECT_EQ(got.y, want.y);
  EXPECT_EQ(got.cx, want.cx);
  EXPECT_EQ(got.cy, want.cy);
  const DWORD mask = StyleMask(want.windowClass);
  EXPECT_EQ(Hex(got.style & mask), Hex(want.style)) << "style " << Hex(got.style);
  EXPECT_EQ(Hex(got.exStyle), Hex(0)) << "no extended styles, so no extra edges";
}

TEST_P(DialogTest, MatchesItsTable) {
  const Executable& exe = std::get<0>(GetParam());
  const ExpectedDialog& want = std::get<1>(GetParam());
  std::string path;
  std::unique_ptr<ResourceModule> module;
  ASSERT_NO_FATAL_FAILURE(OpenExecutable(exe, &path, &module));
  DialogTemplate dialog;
  ASSERT_NO_FATAL_FAILURE(LoadDialog(*module, want.id, &dialog));

  EXPECT_EQ(Hex(dialog.style & kDialogMask), Hex(want.style)) << "style " << Hex(dialog.style);
  EXPECT_EQ((dialog.exStyle & WS_EX_APPWINDOW) != 0, want.appWindow)
      << "extended style " << Hex(dialog.exStyle);
  EXPECT_EQ(dialog.x, 0);
  EXPECT_EQ(dialog.y, 0);
  EXPECT_EQ(dialog.cx, want.cx);
  EXPECT_EQ(dialog.cy, want.cy);
  EXPECT_TRUE(!dialog.menu.isOrdinal && dialog.menu.name.empty()) << "no menu";
  EXPECT_TRUE(!dialog.windowClass.isOrdinal && dialog.windowClass.name.empty())
      << "the dialog manager's own window class";
  EXPECT_EQ(ShiftJis(dialog.title), want.caption);
  ASSERT_TRUE(dialog.hasFont);
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(ShiftJis(dialog.typeface), want.face);

  ASSERT_EQ(static_cast<size_t>(dialog.itemCount), want.controlCount);
  ASSERT_EQ(dialog.items.size(), want.controlCount);
  for (size_t i = 0; i < want.controlCount; ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1) + " of " + want.name);
    ExpectControl(want.controls[i], dialog.items[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tarvolo, DialogTest,
    ::testing::Combine(::testing::ValuesIn(kExecutables), ::testing::ValuesIn(kDialogs)),
    [](const ::testing::TestParamInfo<std::tuple<Executable, ExpectedDialog>>& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
