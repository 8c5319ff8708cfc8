// CBenchApp: the application object. Runs the main window modally and ends the
// program when it closes.
#ifndef TARVOLO_APP_BENCHAPP_H
#define TARVOLO_APP_BENCHAPP_H

#include "framework/CWinApp.h"
#include "framework/MessageMap.h"

class CBenchApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  bool OnCmdMsg(UINT nID, UINT nCode) override;

 private:
  static const MessageMapEntry<CWinApp> kMessageMap[];
};

#endif
