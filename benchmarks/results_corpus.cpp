// Writes report files as Tarvolo appends them, through its own entry writer,
// for the results tool's benchmark and sample page:
//   results_corpus FOLDER FILES ENTRIES_PER_FILE START_VALUE
// Names, machines and times are drawn from small lists by a generator started
// at START_VALUE, so the same arguments give the same files.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/seconds_text.h"
#include "report/report_entry.h"
#include "report/report_text.h"

namespace {

const char* const kNames[] = {"山田 太郎", "佐藤 花子", "suzuki",  "田中",     "たかはし",
                              "Kenji",     "伊藤 健",   "渡辺 愛", "nakamura", "小林"};
const char* const kMachines[] = {"PC-9821Xa13",  "FMV-DESKPOWER", "自作機",    "ThinkPad 600E",
                                 "VAIO PCG-505", "Dynabook SS",   "Let's note"};
const char* const kCpus[] = {"Pentium", "Pentium MMX", "Pentium II",
                             "Celeron", "K6-2",        "Pentium III"};
const char* const kClocks[] = {"133MHz", "200MHz", "266MHz", "333MHz", "450MHz", "800MHz"};
const char* const kSystems[] = {"Windows 95", "Windows 98", "Windows NT 4.0", "Windows 2000"};
const char* const kComments[] = {
    "メモリを増やしてから測りました。前より少し速くなった気がします。\r\n"
    "次は新しいＣＰＵで測ってみます。\r\nまた報告します。",
    "オーバークロックなしです。ファンの音が気になります。\r\n"
    "冬は速く、夏は遅い気がするのは気のせいでしょうか。\r\n来月もう一度測ります。",
    "会社のマシンで昼休みに測定。\r\nほかのソフトはすべて閉じてから測りました。\r\n"
    "画面の設定は 1024x768、256 色です。",
    "二回目の測定です。一回目はほかのソフトが動いていました。\r\n"
    "結果の公開を楽しみにしています。\r\nよろしくお願いします。",
};

const char kUsualLastLine[] = "\r\n測定中はほかのアプリケーションをすべて終了しました。";

template <std::size_t N>
const char* Pick(const char* const (&list)[N], std::mt19937& generator) {
  return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(generator)];
}

// The composed report with the blank fields filled in, as a user would.
std::string FilledReport(std::mt19937& generator) {
  const int ticks10000 = std::uniform_int_distribution<int>(150, 3000)(generator);
  int ticks100000 = ticks10000 * std::uniform_int_distribution<int>(60, 90)(generator);
  const int kind = std::uniform_int_distribution<int>(0, 19)(generator);
  if (kind == 0) ticks100000 = 0;                // no run at 100,000
  if (kind == 1) ticks100000 = ticks10000 * 10;  // implausibly fast
  char report[kReportBytes];
  ComposeReport(static_cast<float>(TicksToSeconds(ticks10000)),
                static_cast<float>(TicksToSeconds(ticks100000)), report);
  std::string text = report;
  const std::string values[] = {
      Pick(kNames, generator),   Pick(kMachines, generator),
      Pick(kCpus, generator),    Pick(kClocks, generator),
      Pick(kSystems, generator), std::string(Pick(kComments, generator)) + kUsualLastLine};
  // The blank fields are the lines that end right after their colon, in order.
  std::size_t at = 0;
  for (const std::string& value : values) {
    at = text.find("：\r\n", at);
    if (at == std::string::npos) break;
    at += 2;
    text.insert(at, value);
    at += value.size();
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: results_corpus FOLDER FILES ENTRIES_PER_FILE START_VALUE\n");
    return 2;
  }
  const int files = std::atoi(argv[2]);
  const int entries = std::atoi(argv[3]);
  std::mt19937 generator(static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)));
  for (int f = 0; f < files; ++f) {
    char path[4096];
    std::snprintf(path, sizeof path, "%s/reports-%04d.txt", argv[1], f);
    for (int e = 0; e < entries; ++e) {
      if (AppendReportEntry(path, FilledReport(generator).c_str()) != EntryResult::kWritten) {
        std::fprintf(stderr, "results_corpus: cannot write %s\n", path);
        return 1;
      }
    }
  }
  return 0;
}
