#include "framework/CWinApp.h"

#include <string>
#include <vector>

#include "framework/CodePageText.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() {
  g_pApp = this;
}

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

bool CWinApp::OnCmdMsg(UINT, UINT) {
  return false;
}

// No help file ships with the program, so there is nothing to open.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
  return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

// Cut out in UTF-16, where only a real separator reads as one, and converted
// without look-alikes: a yen sign in the name must not turn into "\".
const char* AfxGetAppName() {
  static const std::string appName = [] {
    std::vector<wchar_t> path(32768);
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length >= path.size()) length = 0;
    std::wstring name(path.data(), length);
    name.erase(0, name.find_last_of(L"\\/:") + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return ToCodePage(name, CP_ACP);
  }();
  return appName.c_str();
}
