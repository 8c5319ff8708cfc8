#include "tests/ui/resource_reader.h"

#include <cstdio>
#include <cstring>

namespace {

// Reads little-endian fields from a byte range and never past its end; the
// first read that would overrun marks the cursor as failed.
class Cursor {
 public:
  Cursor(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

  size_t Pos() const { return m_pos; }
  bool Failed() const { return m_failed; }

  bool Bytes(void* out, size_t n) {
    if (m_failed || n > m_size - m_pos) {
      m_failed = true;
      return false;
    }
    std::memcpy(out, m_data + m_pos, n);
    m_pos += n;
    return true;
  }
  bool Skip(size_t n) {
    if (m_failed || n > m_size - m_pos) {
      m_failed = true;
      return false;
    }
    m_pos += n;
    return true;
  }
  bool Byte(BYTE* v) { return Bytes(v, sizeof *v); }
  bool Word(WORD* v) { return Bytes(v, sizeof *v); }
  bool Short(short* v) { return Bytes(v, sizeof *v); }
  bool Dword(DWORD* v) { return Bytes(v, sizeof *v); }

  // Moves to the next multiple of four counted from the start of the range.
  // Reaching exactly the end is allowed; passing it is not.
  bool AlignDword() { return Skip((4 - m_pos % 4) % 4); }

  // A zero-terminated UTF-16 string; the terminator must lie inside the range.
  bool String(std::wstring* s) {
    s->clear();
    for (;;) {
      WORD unit = 0;
      if (!Word(&unit)) return false;
      if (unit == 0) return true;
      s->push_back(static_cast<wchar_t>(unit));
    }
  }

  bool NameOrOrd(NameOrOrdinal* field) {
    *field = NameOrOrdinal();
    WORD first = 0;
    if (!Word(&first)) return false;
    if (first == 0x0000) return true;
    if (first == 0xFFFF) {
      field->isOrdinal = true;
      return Word(&field->ordinal);
    }
    field->name.push_back(static_cast<wchar_t>(first));
    std::wstring rest;
    if (!String(&rest)) return false;
    field->name += rest;
    return true;
  }

 private:
  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
  bool m_failed = false;
};

std::string Where(const char* what, size_t offset) {
  char text[128];
  snprintf(text, sizeof text, "%s runs past the resource's end (at byte %zu)", what, offset);
  return text;
}

bool ParseItem(Cursor& in, DialogItem* item, std::string* error) {
  const size_t start = in.Pos();
  if (!in.Dword(&item->helpId) || !in.Dword(&item->exStyle) || !in.Dword(&item->style) ||
      !in.Short(&item->x) || !in.Short(&item->y) || !in.Short(&item->cx) || !in.Short(&item->cy) ||
      !in.Dword(&item->id) || !in.NameOrOrd(&item->windowClass) || !in.NameOrOrd(&item->title) ||
      !in.Word(&item->extraCount) || !in.Skip(item->extraCount)) {
    *error = Where("dialog item", start);
    return false;
  }
  return true;
}

constexpr int kMaxVersionDepth = 8;

size_t RoundUpToDword(size_t n) {
  return (n + 3) & ~static_cast<size_t>(3);
}

// One node starting at `begin` (DWORD-aligned), which must end by `limit`.
bool ParseVersionNode(const std::vector<BYTE>& bytes, size_t begin, size_t limit, int depth,
                      VersionNode* node, size_t* nodeLength, std::string* error) {
  if (depth > kMaxVersionDepth) {
    *error = "version block nests deeper than any real one";
    return false;
  }
  Cursor header(bytes.data() + begin, limit - begin);
  WORD length = 0;
  if (!header.Word(&length) || !header.Word(&node->valueLength) || !header.Word(&node->type)) {
    *error = Where("version node header", begin);
    return false;
  }
  if (length < 6 || length > limit - begin) {
    char text[160];
    snprintf(text, sizeof text, "version node at byte %zu states length %u, outside 6..%zu", begin,
             static_cast<unsigned>(length), limit - begin);
    *error = text;
    return false;
  }
  *nodeLength = length;
  // From here on, everything of the node lies inside its own length.
  Cursor in(bytes.data() + begin, length);
  in.Skip(6);
  if (!in.String(&node->key) || !in.AlignDword()) {
    *error = Where("version node key", begin);
    return false;
  }
  const size_t valueBytes =
      node->type == 1 ? static_cast<size_t>(node->valueLength) * 2 : node->valueLength;
  node->value.resize(valueBytes);
  if (!in.Bytes(node->value.data(), valueBytes)) {
    *error = Where("version node value", begin);
    return false;
  }
  size_t pos = RoundUpToDword(begin + in.Pos());
  const size_t end = begin + length;
  while (pos < end) {
    VersionNode child;
    size_t childLength = 0;
    if (!ParseVersionNode(bytes, pos, end, depth + 1, &child, &childLength, error)) return false;
    node->children.push_back(child);
    pos = RoundUpToDword(pos + childLength);
  }
  return true;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
  auto* entries = reinterpret_cast<std::vector<ResourceEntry>*>(param);
  entries->push_back({ResourceKey(type), ResourceKey(name), language});
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE hModule, LPCSTR type, LPSTR name, LONG_PTR param) {
  const size_t before = reinterpret_cast<std::vector<ResourceEntry>*>(param)->size();
  ::EnumResourceLanguagesA(hModule, type, name, CollectLanguage, param);
  // A name with no language at all still counts, so that it cannot go unseen.
  auto* entries = reinterpret_cast<std::vector<ResourceEntry>*>(param);
  if (entries->size() == before) entries->push_back({ResourceKey(type), ResourceKey(name), 0});
  return TRUE;
}

BOOL CALLBACK CollectType(HMODULE hModule, LPSTR type, LONG_PTR param) {
  ::EnumResourceNamesA(hModule, type, CollectName, param);
  return TRUE;
}

}  // namespace

bool ParseDialogEx(const std::vector<BYTE>& bytes, DialogTemplate* dialog, std::string* error) {
  *dialog = DialogTemplate();
  Cursor in(bytes.data(), bytes.size());
  if (!in.Word(&dialog->dlgVer) || !in.Word(&dialog->signature)) {
    *error = Where("dialog header", 0);
    return false;
  }
  if (dialog->dlgVer != 1 || dialog->signature != 0xFFFF) {
    char text[96];
    snprintf(text, sizeof text, "not an extended dialog template (version %u, signature 0x%04X)",
             static_cast<unsigned>(dialog->dlgVer), static_cast<unsigned>(dialog->signature));
    *error = text;
    return false;
  }
  if (!in.Dword(&dialog->helpId) || !in.Dword(&dialog->exStyle) || !in.Dword(&dialog->style) ||
      !in.Word(&dialog->itemCount) || !in.Short(&dialog->x) || !in.Short(&dialog->y) ||
      !in.Short(&dialog->cx) || !in.Short(&dialog->cy) || !in.NameOrOrd(&dialog->menu) ||
      !in.NameOrOrd(&dialog->windowClass) || !in.String(&dialog->title)) {
    *error = Where("dialog header", in.Pos());
    return false;
  }
  dialog->hasFont = (dialog->style & (DS_SETFONT | DS_SHELLFONT)) != 0;
  if (dialog->hasFont &&
      (!in.Word(&dialog->pointSize) || !in.Word(&dialog->weight) || !in.Byte(&dialog->italic) ||
       !in.Byte(&dialog->charSet) || !in.String(&dialog->typeface))) {
    *error = Where("dialog font", in.Pos());
    return false;
  }
  for (WORD i = 0; i < dialog->itemCount; ++i) {
    if (!in.AlignDword()) {
      *error = Where("dialog item alignment", in.Pos());
      return false;
    }
    DialogItem item;
    if (!ParseItem(in, &item, error)) return false;
    dialog->items.push_back(item);
  }
  return true;
}

bool ParseStringBlock(const std::vector<BYTE>& bytes, std::vector<std::wstring>* strings,
                      std::string* error) {
  strings->clear();
  Cursor in(bytes.data(), bytes.size());
  for (int i = 0; i < 16; ++i) {
    WORD count = 0;
    if (!in.Word(&count)) {
      *error = Where("string block", in.Pos());
      return false;
    }
    std::wstring s;
    for (WORD k = 0; k < count; ++k) {
      WORD unit = 0;
      if (!in.Word(&unit)) {
        *error = Where("string block", in.Pos());
        return false;
      }
      s.push_back(static_cast<wchar_t>(unit));
    }
    strings->push_back(s);
  }
  return true;
}

bool ParseGroupIcon(const std::vector<BYTE>& bytes, IconGroup* group, std::string* error) {
  *group = IconGroup();
  Cursor in(bytes.data(), bytes.size());
  WORD count = 0;
  if (!in.Word(&group->reserved) || !in.Word(&group->type) || !in.Word(&count)) {
    *error = Where("icon directory header", 0);
    return false;
  }
  for (WORD i = 0; i < count; ++i) {
    IconDirEntry e;
    if (!in.Byte(&e.width) || !in.Byte(&e.height) || !in.Byte(&e.colorCount) ||
        !in.Byte(&e.reserved) || !in.Word(&e.planes) || !in.Word(&e.bitCount) ||
        !in.Dword(&e.bytesInRes) || !in.Word(&e.id)) {
      *error = Where("icon directory entry", in.Pos());
      return false;
    }
    group->entries.push_back(e);
  }
  return true;
}

bool ParseIconHeader(const std::vector<BYTE>& bytes, BITMAPINFOHEADER* header, std::string* error) {
  Cursor in(bytes.data(), bytes.size());
  if (!in.Bytes(header, sizeof *header)) {
    *error = Where("icon image header", 0);
    return false;
  }
  return true;
}

const VersionNode* VersionNode::Child(const std::wstring& childKey) const {
  for (const VersionNode& child : children) {
    if (child.key == childKey) return &child;
  }
  return nullptr;
}

std::wstring VersionNode::Text() const {
  std::wstring text;
  for (size_t i = 0; i + 1 < value.size(); i += 2) {
    const wchar_t unit = static_cast<wchar_t>(value[i] | (value[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

bool ParseVersionInfo(const std::vector<BYTE>& bytes, VersionNode* root, std::string* error) {
  *root = VersionNode();
  size_t length = 0;
  return ParseVersionNode(bytes, 0, bytes.size(), 0, root, &length, error);
}

bool ToShiftJis(const std::wstring& text, std::string* out) {
  out->clear();
  if (text.empty()) return true;
  const int units = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int size = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), units, nullptr, 0,
                                         nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return false;
  out->resize(static_cast<size_t>(size));
  usedDefault = FALSE;
  const int written = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), units,
                                            &(*out)[0], size, nullptr, &usedDefault);
  return written == size && !usedDefault;
}

std::string ResourceKey(LPCSTR typeOrName) {
  if (IS_INTRESOURCE(typeOrName)) {
    char text[16];
    snprintf(text, sizeof text, "#%u",
             static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(typeOrName) & 0xFFFF));
    return text;
  }
  return typeOrName;
}

ResourceModule::ResourceModule(const std::string& path) {
  m_hModule = ::LoadLibraryExA(path.c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (m_hModule == nullptr) {
    m_hModule = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  if (m_hModule == nullptr) m_dwError = ::GetLastError();
}

ResourceModule::~ResourceModule() {
  if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
}

bool ResourceModule::Bytes(LPCSTR type, WORD id, WORD language, std::vector<BYTE>* bytes) const {
  bytes->clear();
  HRSRC hInfo = ::FindResourceExA(m_hModule, type, MAKEINTRESOURCEA(id), language);
  if (hInfo == nullptr) return false;
  HGLOBAL hData = ::LoadResource(m_hModule, hInfo);
  const DWORD size = ::SizeofResource(m_hModule, hInfo);
  const void* data = hData != nullptr ? ::LockResource(hData) : nullptr;
  if (data == nullptr) return false;
  const BYTE* first = static_cast<const BYTE*>(data);
  bytes->assign(first, first + size);
  return true;
}

std::vector<ResourceEntry> ResourceModule::Enumerate() const {
  std::vector<ResourceEntry> entries;
  ::EnumResourceTypesA(m_hModule, CollectType, reinterpret_cast<LONG_PTR>(&entries));
  return entries;
}
