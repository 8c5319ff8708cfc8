#include "report/report_text.h"

#include <cstdio>

// Literals, so that the addresses can be pasted into the template and the notice.
#define TARVOLO_MAKER_MAIL "results@tarvolo.example"
#define TARVOLO_MAKER_WEB "https://tarvolo.example/"

const char kMakerMail[] = TARVOLO_MAKER_MAIL;
const char kMakerWeb[] = TARVOLO_MAKER_WEB;
const char kReportNotice[] = "結果は " TARVOLO_MAKER_WEB " で公開しています。";

// The colons of lines 3 to 9 stand at byte column 21: the edit box's fixed-pitch
// font draws a double-byte character two columns wide, so they line up on screen.
const char kReportTemplate[] = "To " TARVOLO_MAKER_MAIL
                               "\r\n"
                               "\r\n"
                               "名前                 ：\r\n"
                               "[10,000]測定結果(秒) ：%3.3f\r\n"
                               "[100,000]測定結果(秒)：%3.3f\r\n"
                               "マシン名             ：\r\n"
                               "ＣＰＵ               ：\r\n"
                               "クロック             ：\r\n"
                               "ＯＳ                 ：\r\n"
                               "コメント：\r\n";

#undef TARVOLO_MAKER_MAIL
#undef TARVOLO_MAKER_WEB

void ComposeReport(float fTime10000, float fTime100000, char (&szReport)[kReportBytes]) {
  // Even the largest floats take a few dozen digits, far below the buffer's size.
  std::snprintf(szReport, sizeof szReport, kReportTemplate, static_cast<double>(fTime10000),
                static_cast<double>(fTime100000));
}
