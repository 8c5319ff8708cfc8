#include "framework/CDialog.h"

#include <cstring>

#include "framework/CWinApp.h"

namespace {

// Points Default() at one message's own mark while that message is handled. A
// message sent to the window during the handler comes through HandleMessage
// again with a mark of its own; the outer one is back when it returns.
class DefaultMark {
 public:
  DefaultMark(bool*& pbCurrent, bool* pbMark) : m_pbCurrent(pbCurrent), m_pbOuter(pbCurrent) {
    pbCurrent = pbMark;
  }
  ~DefaultMark() { m_pbCurrent = m_pbOuter; }
  DefaultMark(const DefaultMark&) = delete;
  DefaultMark& operator=(const DefaultMark&) = delete;

 private:
  bool*& m_pbCurrent;
  bool* m_pbOuter;
};

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
  HWND hOwner = AfxGetSafeOwner(m_pParentWnd);
  INT_PTR nResult = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                      hOwner, DialogProc, reinterpret_cast<LPARAM>(this));
  AfxWakeModalLoop(hOwner);
  return nResult;
}

BOOL CDialog::OnInitDialog() {
  DoDataExchange(nullptr);
  return TRUE;
}

bool CDialog::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

// The object pointer arrives with WM_INITDIALOG and is kept in DWLP_USER.
// No exception may unwind through the dialog manager, so all stop here.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* pDialog;
  if (message == WM_INITDIALOG) {
    pDialog = reinterpret_cast<CDialog*>(lParam);
    pDialog->m_hWnd = hWnd;
    ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(pDialog));
  } else {
    pDialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
  }
  if (!pDialog) return FALSE;
  try {
    return pDialog->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (TemplateAtOrigin()) CenterOverOwner();
    return OnInitDialog();
  }

  if (message == WM_CLOSE) {
    OnClose();
    return TRUE;
  }

  bool bDefault = false;
  LRESULT result = 0;
  bool handled;
  {
    DefaultMark mark(m_pbDefault, &bDefault);
    handled = OnWndMsg(message, wParam, lParam, result);
    if (!handled && message == WM_COMMAND) handled = HandleCommand(wParam, lParam, result);
  }
  if (!handled || bDefault) return FALSE;

  // These answer through the dialog procedure's own return value.
  if (message == WM_QUERYDRAGICON) return result;
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

// Commands the dialog's own map left: Enter and Escape (or the buttons with
// those ids), then the application's command routing.
bool CDialog::HandleCommand(WPARAM wParam, LPARAM, LRESULT& result) {
  UINT nID = LOWORD(wParam);
  UINT nCode = HIWORD(wParam);
  result = 0;
  if (nCode == BN_CLICKED && nID == IDOK) {
    OnOK();
    return true;
  }
  if (nCode == BN_CLICKED && nID == IDCANCEL) {
    OnCancel();
    return true;
  }
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode);
}

// The caption's close box or WM_CLOSE: Cancel, as the platform would press it,
// but carried out now. The platform posts that press instead, and a message box
// in front that is ending takes the posted command and drops it, so the close
// would be lost.
void CDialog::OnClose() {
  HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL);
  if (hCancel && !::IsWindowEnabled(hCancel)) {
    ::MessageBeep(0);
    return;
  }
  OnCancel();
}

bool CDialog::TemplateAtOrigin() const {
  HINSTANCE hInstance = AfxGetInstanceHandle();
  HRSRC hResource = ::FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
  if (!hResource) return false;
  HGLOBAL hTemplate = ::LoadResource(hInstance, hResource);
  const void* pTemplate = hTemplate ? ::LockResource(hTemplate) : nullptr;
  if (!pTemplate || ::SizeofResource(hInstance, hResource) < sizeof(DLGTEMPLATE)) return false;

  // An extended template starts with version 1 and signature 0xFFFF and keeps
  // x and y after the counts; the classic one keeps them right after cdit.
  WORD header[2];
  std::memcpy(header, pTemplate, sizeof header);
  const auto* bytes = static_cast<const unsigned char*>(pTemplate);
  short position[2];
  if (header[0] == 1 && header[1] == 0xFFFF) {
    std::memcpy(position, bytes + 18, sizeof position);
  } else {
    std::memcpy(position, bytes + 10, sizeof position);
  }
  return position[0] == 0 && position[1] == 0;
}

// Centres the dialog over its owner, or on the screen's work area when it has no
// visible owner, keeping it inside that work area.
void CDialog::CenterOverOwner() {
  HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(hOwner ? hOwner : m_hWnd, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
  RECT area = monitor.rcWork;
  RECT center = area;
  if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) ::GetWindowRect(hOwner, &center);

  RECT dialog;
  ::GetWindowRect(m_hWnd, &dialog);
  int width = dialog.right - dialog.left;
  int height = dialog.bottom - dialog.top;
  int x = (center.left + center.right) / 2 - width / 2;
  int y = (center.top + center.bottom) / 2 - height / 2;
  if (x + width > area.right) x = area.right - width;
  if (x < area.left) x = area.left;
  if (y + height > area.bottom) y = area.bottom - height;
  if (y < area.top) y = area.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
