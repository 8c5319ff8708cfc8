// Reads the resources of a built Windows executable from outside: the file is
// loaded as data, never run, and its dialog templates, string table, icons and
// version block are taken apart byte by byte. Every parse stays inside the
// bytes of its resource and reports where a structure runs past them.
#ifndef TARVOLO_TESTS_UI_RESOURCE_READER_H
#define TARVOLO_TESTS_UI_RESOURCE_READER_H

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// A name-or-ordinal field of a dialog template: 0x0000 (absent), 0xFFFF followed
// by an ordinal, or a zero-terminated UTF-16 string.
struct NameOrOrdinal {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::wstring name;  // empty when the field is absent or an ordinal
};

// One DLGITEMTEMPLATEEX.
struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  WORD extraCount = 0;  // bytes of creation data after the title
};

// One DLGTEMPLATEEX with its items.
struct DialogTemplate {
  WORD dlgVer = 0;
  WORD signature = 0;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  WORD itemCount = 0;  // cDlgItems as the header states it
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::wstring title;
  bool hasFont = false;  // DS_SETFONT or DS_SHELLFONT: the font fields follow
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charSet = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;
};

// Parses an extended dialog template and all the items its header announces.
// False, with the reason in *error, if the bytes are not a complete one.
bool ParseDialogEx(const std::vector<BYTE>& bytes, DialogTemplate* dialog, std::string* error);

// Parses one RT_STRING block: sixteen strings, each a WORD count of UTF-16 units
// followed by that many units.
bool ParseStringBlock(const std::vector<BYTE>& bytes, std::vector<std::wstring>* strings,
                      std::string* error);

// One entry of an RT_GROUP_ICON directory (GRPICONDIRENTRY, 14 bytes packed).
struct IconDirEntry {
  BYTE width = 0;
  BYTE height = 0;
  BYTE colorCount = 0;
  BYTE reserved = 0;
  WORD planes = 0;
  WORD bitCount = 0;
  DWORD bytesInRes = 0;
  WORD id = 0;  // the RT_ICON resource that holds the image
};

struct IconGroup {
  WORD reserved = 0;
  WORD type = 0;  // 1 for icons
  std::vector<IconDirEntry> entries;
};

bool ParseGroupIcon(const std::vector<BYTE>& bytes, IconGroup* group, std::string* error);

// The BITMAPINFOHEADER at the start of an RT_ICON image.
bool ParseIconHeader(const std::vector<BYTE>& bytes, BITMAPINFOHEADER* header, std::string* error);

// One node of a VS_VERSIONINFO tree: wLength, wValueLength, wType, the key, the
// value (raw bytes; for a text node the UTF-16 units wValueLength counts) and
// the children, each DWORD-aligned.
struct VersionNode {
  WORD type = 0;  // 1: text value, 0: binary value
  WORD valueLength = 0;
  std::wstring key;
  std::vector<BYTE> value;
  std::vector<VersionNode> children;

  // The first child with this key, or nullptr.
  const VersionNode* Child(const std::wstring& childKey) const;
  // The value read as UTF-16 text up to its first zero.
  std::wstring Text() const;
};

bool ParseVersionInfo(const std::vector<BYTE>& bytes, VersionNode* root, std::string* error);

// UTF-16 text in code page 932 (Shift_JIS). False if a character has no exact
// Shift_JIS form.
bool ToShiftJis(const std::wstring& text, std::string* out);

// A type or name of a resource as the enumeration gives it: "#n" for an ordinal.
std::string ResourceKey(LPCSTR typeOrName);

struct ResourceEntry {
  std::string type;
  std::string name;
  WORD language = 0;
};

// An executable loaded as a data file (any architecture), released on destruction.
class ResourceModule {
 public:
  explicit ResourceModule(const std::string& path);
  ~ResourceModule();
  ResourceModule(const ResourceModule&) = delete;
  ResourceModule& operator=(const ResourceModule&) = delete;

  bool Loaded() const { return m_hModule != nullptr; }
  DWORD LoadError() const { return m_dwError; }

  // A copy of the bytes of resource (type, id) in the given language; false if
  // the module holds no such resource.
  bool Bytes(LPCSTR type, WORD id, WORD language, std::vector<BYTE>* bytes) const;

  // Every (type, name, language) the module holds.
  std::vector<ResourceEntry> Enumerate() const;

 private:
  HMODULE m_hModule = nullptr;
  DWORD m_dwError = 0;
};

#endif
