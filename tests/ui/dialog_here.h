// A dialog class of the program running modally inside the test program, on a
// thread of its own as on the program's window thread.
#ifndef TARVOLO_TESTS_UI_DIALOG_HERE_H
#define TARVOLO_TESTS_UI_DIALOG_HERE_H

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "tests/support/tarvolo_process.h"

template <class TDialog>
class DialogHere {
 public:
  // `nMarkID` is a control that only this dialog's template has. `onOpen` sees
  // the dialog before it opens, and null once it has closed.
  explicit DialogHere(
      int nMarkID, std::function<void(TDialog*)> onOpen = [](TDialog*) {})
      : m_nMarkID(nMarkID) {
    m_thread = std::thread([this, onOpen] {
      TDialog dlg;
      onOpen(&dlg);
      m_threadId = ::GetCurrentThreadId();
      dlg.DoModal();
      onOpen(nullptr);
    });
    WaitUntil(
        [this] {
          if (m_threadId == 0) return false;
          ::EnumThreadWindows(m_threadId, FindShown, reinterpret_cast<LPARAM>(this));
          return m_hWnd != nullptr;
        },
        30000);
  }
  ~DialogHere() {
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    m_thread.join();
  }
  DialogHere(const DialogHere&) = delete;
  DialogHere& operator=(const DialogHere&) = delete;

  // Null when the dialog did not open.
  HWND Window() const { return m_hWnd; }
  // Sends to the dialog or one of its controls, on the dialog's thread, and
  // returns the answer; no answer within seconds fails the test.
  LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    LRESULT result = 0;
    if (!SendWithin(hWnd, message, wParam, lParam, 10000, &result)) {
      ADD_FAILURE() << "no answer to message " << message;
    }
    return result;
  }

 private:
  // The dialog manager shows the window once its initialisation is done.
  static BOOL CALLBACK FindShown(HWND hWnd, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogHere*>(lParam);
    if (!::GetDlgItem(hWnd, self->m_nMarkID) || !::IsWindowVisible(hWnd)) return TRUE;
    self->m_hWnd = hWnd;
    return FALSE;
  }

  const int m_nMarkID;
  std::thread m_thread;
  std::atomic<DWORD> m_threadId{0};
  HWND m_hWnd = nullptr;
};

#endif
