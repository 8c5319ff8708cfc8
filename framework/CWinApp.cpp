#include "framework/CWinApp.h"

#include <cstring>

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

const char* AfxGetAppName() {
  static const struct AppName {
    char name[MAX_PATH];
    AppName() {
      char path[MAX_PATH] = "";
      DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
      if (length >= sizeof path) length = 0;
      path[length] = '\0';
      const char* start = path;
      for (const char* p = path; *p; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') start = ::CharNextA(p);
      }
      std::strncpy(name, start, sizeof name - 1);
      name[sizeof name - 1] = '\0';
      char* dot = std::strrchr(name, '.');
      if (dot) *dot = '\0';
    }
  } appName;
  return appName.name;
}
