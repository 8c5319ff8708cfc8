// Message maps as typed tables: each dialog class lists (message, notification
// code, control id, handler) in a static constexpr array, and RouteMessage walks it.
#ifndef TARVOLO_FRAMEWORK_MESSAGEMAP_H
#define TARVOLO_FRAMEWORK_MESSAGEMAP_H

#include <windows.h>

#include <cstddef>

template <class T>
struct MessageMapEntry {
  enum class Kind { Command, SysCommand, Paint, QueryDragIcon, IntPair };

  Kind kind;
  UINT message;
  UINT code;  // notification code, for WM_COMMAND
  UINT id;    // control or command id, for WM_COMMAND
  void (T::*onVoid)();
  void (T::*onSysCommand)(UINT, LPARAM);
  HCURSOR (T::*onQueryDragIcon)();
  void (T::*onIntPair)(int, int);
};

template <class T>
constexpr MessageMapEntry<T> OnCommandEntry(UINT id, UINT code, void (T::*handler)()) {
  return {
      MessageMapEntry<T>::Kind::Command, WM_COMMAND, code, id, handler, nullptr, nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnSysCommandEntry(void (T::*handler)(UINT, LPARAM)) {
  return {MessageMapEntry<T>::Kind::SysCommand,
          WM_SYSCOMMAND,
          0,
          0,
          nullptr,
          handler,
          nullptr,
          nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnPaintEntry(void (T::*handler)()) {
  return {MessageMapEntry<T>::Kind::Paint, WM_PAINT, 0, 0, handler, nullptr, nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnQueryDragIconEntry(HCURSOR (T::*handler)()) {
  return {MessageMapEntry<T>::Kind::QueryDragIcon,
          WM_QUERYDRAGICON,
          0,
          0,
          nullptr,
          nullptr,
          handler,
          nullptr};
}

// A private message that carries two ints, as PostIntPair posts it: the handler
// gets them back as they were given.
template <class T>
constexpr MessageMapEntry<T> OnIntPairEntry(UINT message, void (T::*handler)(int, int)) {
  return {MessageMapEntry<T>::Kind::IntPair, message, 0, 0, nullptr, nullptr, nullptr, handler};
}

// Posts `message` with two ints for an OnIntPairEntry handler: the first in
// wParam, the second in lParam.
inline BOOL PostIntPair(HWND hWnd, UINT message, int first, int second) {
  return ::PostMessageA(hWnd, message, static_cast<WPARAM>(static_cast<unsigned>(first)),
                        static_cast<LPARAM>(second));
}

// Calls the first handler in `map` that matches the message. Returns false when
// none does; `result` is then untouched.
template <class T, std::size_t N>
bool RouteMessage(T& target, const MessageMapEntry<T> (&map)[N], UINT message, WPARAM wParam,
                  LPARAM lParam, LRESULT& result) {
  using Kind = typename MessageMapEntry<T>::Kind;
  for (const MessageMapEntry<T>& entry : map) {
    if (entry.message != message) continue;
    switch (entry.kind) {
      case Kind::Command:
        if (LOWORD(wParam) != entry.id || HIWORD(wParam) != entry.code) continue;
        (target.*entry.onVoid)();
        result = 0;
        return true;
      case Kind::SysCommand:
        (target.*entry.onSysCommand)(static_cast<UINT>(wParam), lParam);
        result = 0;
        return true;
      case Kind::Paint:
        (target.*entry.onVoid)();
        result = 0;
        return true;
      case Kind::QueryDragIcon:
        result = reinterpret_cast<LRESULT>((target.*entry.onQueryDragIcon)());
        return true;
      case Kind::IntPair:
        (target.*entry.onIntPair)(static_cast<int>(static_cast<unsigned>(wParam)),
                                  static_cast<int>(lParam));
        result = 0;
        return true;
    }
  }
  return false;
}

#endif
