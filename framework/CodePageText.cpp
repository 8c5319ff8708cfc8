#include "framework/CodePageText.h"

#include <algorithm>
#include <vector>

CodePageText ReadTextInCodePage(HWND hWnd, UINT nCodePage) {
  int nLength = ::GetWindowTextLengthW(hWnd);
  std::vector<wchar_t> text(static_cast<size_t>(std::max(nLength, 0)) + 1);
  int nRead = ::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()));

  // One character at a time, so that the first one missing can be named.
  CodePageText result;
  for (int i = 0, nUnits = 1; i < nRead; i += nUnits) {
    nUnits = IS_HIGH_SURROGATE(text[i]) && i + 1 < nRead ? 2 : 1;
    char bytes[8];
    BOOL usedDefault = FALSE;
    int nBytes = ::WideCharToMultiByte(nCodePage, WC_NO_BEST_FIT_CHARS, &text[i], nUnits, bytes,
                                       sizeof bytes, nullptr, &usedDefault);
    if (nBytes == 0 || usedDefault) {
      if (result.nFirstMissing == 0) {
        result.nFirstMissing =
            nUnits == 2 ? 0x10000 + ((text[i] - 0xD800u) << 10) + (text[i + 1] - 0xDC00u) : text[i];
      }
      nBytes = ::WideCharToMultiByte(nCodePage, 0, &text[i], nUnits, bytes, sizeof bytes, nullptr,
                                     nullptr);
    }
    result.bytes.append(bytes, static_cast<size_t>(std::max(nBytes, 0)));
  }
  return result;
}

std::string ToCodePage(const std::wstring& text, UINT nCodePage) {
  if (text.empty()) return "";
  // UTF-8 has no default character and takes no best-fit flag.
  const DWORD flags = nCodePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const int nUnits = static_cast<int>(text.size());
  int nBytes =
      ::WideCharToMultiByte(nCodePage, flags, text.data(), nUnits, nullptr, 0, nullptr, nullptr);
  if (nBytes <= 0) return "";
  std::string bytes(static_cast<size_t>(nBytes), '\0');
  nBytes = ::WideCharToMultiByte(nCodePage, flags, text.data(), nUnits, &bytes[0], nBytes, nullptr,
                                 nullptr);
  bytes.resize(static_cast<size_t>(std::max(nBytes, 0)));
  return bytes;
}

std::wstring FromCodePage(const char* text, UINT nCodePage) {
  int nUnits = ::MultiByteToWideChar(nCodePage, 0, text, -1, nullptr, 0);
  if (nUnits <= 1) return L"";
  std::wstring wide(static_cast<size_t>(nUnits), L'\0');
  nUnits = ::MultiByteToWideChar(nCodePage, 0, text, -1, &wide[0], nUnits);
  wide.resize(static_cast<size_t>(std::max(nUnits - 1, 0)));  // without the terminating zero
  return wide;
}
