// A window's text read once as UTF-16 and converted once into a code page, with
// the first character that code page cannot hold.
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

#endif
