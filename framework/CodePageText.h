// Text between UTF-16, which the platform holds, and a code page, which the
// program's texts are in: a window's text read once and converted once, and
// names (a file's path, the executable's name) converted without look-alikes.
#ifndef TARVOLO_FRAMEWORK_CODEPAGETEXT_H
#define TARVOLO_FRAMEWORK_CODEPAGETEXT_H

#include <windows.h>

#include <string>

struct CodePageText {
  // The whole text. A character the code page lacks reads as in the window's
  // ANSI text (GetWindowTextA): its nearest look-alike or the default character.
  std::string bytes;
  // The code point of the first character the code page lacks; 0 when it holds
  // them all, so that the text can be written as it reads.
  unsigned nFirstMissing = 0;
};

CodePageText ReadTextInCodePage(HWND hWnd, UINT nCodePage);

// UTF-16 text in an ANSI code page or in UTF-8 (CP_UTF8), never by best fit: a
// character the code page lacks becomes its default character ("?"), not a
// look-alike that means something else (the yen sign read as "\", "é" as "e").
// Text that UTF-8 cannot carry (a lone surrogate) gives an empty string.
std::string ToCodePage(const std::wstring& text, UINT nCodePage);
std::wstring FromCodePage(const char* text, UINT nCodePage);

#endif
