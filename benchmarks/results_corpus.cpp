// Writes report files as Tarvolo appends them, through its own entry writer,
// for the results tool's benchmark and sample page:
//   results_corpus FOLDER FILES ENTRIES_PER_FILE START_VALUE
// Each report comes from one of a crowd of people (three for every five
// reports, so about half of them send more than one), each with a name, a
// machine and a speed of their own (one in four types the processor's name in
// full-width letters); the times vary a little from report to report. Drawn by
// generators started at START_VALUE, so the same arguments give the same files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>

#include "bench/seconds_text.h"
#include "report/report_entry.h"
#include "report/report_text.h"

namespace {

const char* const kFamilyNames[] = {"山田", "佐藤", "鈴木", "田中", "高橋", "伊藤", "渡辺",
                                    "中村", "小林", "加藤", "吉田", "山本", "松本", "井上",
                                    "木村", "林",   "清水", "斎藤", "山口", "森"};
const char* const kGivenNames[] = {"太郎", "花子", "健", "愛",   "誠",   "優子", "大輔",
                                   "直美", "浩",   "恵", "翔",   "由美", "隆",   "真理",
                                   "修",   "陽子", "学", "智子", "剛",   "彩"};
const char* const kHandles[] = {"suzuki", "Kenji", "nakamura", "taka",  "pc98fan",
                                "mmx",    "yuki",  "hiro",     "k6fan", "dos/v"};
const char* const kMachines[] = {"PC-9821Xa13",  "FMV-DESKPOWER", "自作機",    "ThinkPad 600E",
                                 "VAIO PCG-505", "Dynabook SS",   "Let's note"};
// Each processor as typed in half-width letters and, as Japanese input mode
// writes it, in full-width ones, and its usual time at 10,000 in ticks.
struct Cpu {
  const char *halfWidth, *fullWidth;
  int ticks10000;
};
const Cpu kCpus[] = {
    {"Pentium", "Ｐｅｎｔｉｕｍ", 2400},
    {"Pentium MMX", "Ｐｅｎｔｉｕｍ　ＭＭＸ", 1900},
    {"Pentium Pro", "Ｐｅｎｔｉｕｍ　Ｐｒｏ", 1700},
    {"Pentium II", "Ｐｅｎｔｉｕｍ　ＩＩ", 1200},
    {"Pentium III", "Ｐｅｎｔｉｕｍ　ＩＩＩ", 700},
    {"Pentium 4", "Ｐｅｎｔｉｕｍ　４", 350},
    {"Celeron", "Ｃｅｌｅｒｏｎ", 1000},
    {"K6", "Ｋ６", 2000},
    {"K6-2", "Ｋ６－２", 1400},
    {"K6-III", "Ｋ６－ＩＩＩ", 1000},
    {"Athlon", "Ａｔｈｌｏｎ", 500},
    {"Duron", "Ｄｕｒｏｎ", 600},
    {"Cyrix 6x86", "Ｃｙｒｉｘ　６ｘ８６", 2600},
    {"WinChip C6", "ＷｉｎＣｈｉｐ　Ｃ６", 2800},
    {"Pentium M", "Ｐｅｎｔｉｕｍ　Ｍ", 300},
    {"Core 2 Duo", "Ｃｏｒｅ　２　Ｄｕｏ", 150},
    {"Athlon 64", "Ａｔｈｌｏｎ　６４", 250},
    {"Core i7-4790", "Ｃｏｒｅ　ｉ７－４７９０", 60},
    {"Ryzen 5 3600", "Ｒｙｚｅｎ　５　３６００", 50},
    {"Core i5-8250U", "Ｃｏｒｅ　ｉ５－８２５０Ｕ", 90},
};
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

int Between(int low, int high, std::mt19937& generator) {
  return std::uniform_int_distribution<int>(low, high)(generator);
}

struct Person {
  std::string name;
  const char *machine, *cpu, *clock, *os;
  int ticks10000;  // the machine's usual time at 10,000
};

// The start value and a person's number stirred into one value, so that
// neighbouring numbers start unrelated generators.
std::uint32_t Stirred(std::uint32_t startValue, std::uint32_t n) {
  std::uint32_t x = startValue * 0x9E3779B9u ^ n;
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  x ^= x >> 13;
  x *= 0xC2B2AE35u;
  return x ^ (x >> 16);
}

// Person number n is the same in every report it sends.
Person PersonNumber(unsigned startValue, unsigned n) {
  std::mt19937 generator(Stirred(startValue, n));
  Person person;
  if (Between(0, 9, generator) < 6) {
    person.name = std::string(Pick(kFamilyNames, generator)) + " " + Pick(kGivenNames, generator);
  } else {
    person.name =
        std::string(Pick(kHandles, generator)) + std::to_string(Between(1, 999, generator));
  }
  person.machine = Pick(kMachines, generator);
  // One person in four types the processor in full-width letters.
  const Cpu& cpu = kCpus[Between(0, static_cast<int>(std::size(kCpus)) - 1, generator)];
  person.cpu = Between(0, 3, generator) == 0 ? cpu.fullWidth : cpu.halfWidth;
  person.clock = Pick(kClocks, generator);
  person.os = Pick(kSystems, generator);
  // Machines of several years: each a little faster or slower than its
  // processor's usual time.
  const double ticks =
      std::lognormal_distribution<double>(std::log(cpu.ticks10000), 0.3)(generator);
  person.ticks10000 = static_cast<int>(std::clamp(ticks, 40.0, 12000.0));
  return person;
}

// The composed report with the blank fields filled in, as the person would.
std::string FilledReport(const Person& person, std::mt19937& generator) {
  const int ticks10000 = person.ticks10000 * Between(95, 110, generator) / 100;
  int ticks100000 = ticks10000 * Between(60, 90, generator);
  const int kind = Between(0, 99, generator);
  if (kind < 5) ticks100000 = 0;                  // no run at 100,000
  if (kind >= 95) ticks100000 = ticks10000 * 10;  // implausibly fast
  // No run at either limit: the report was sent before measuring.
  const int shown10000 = kind == 5 ? 0 : ticks10000;
  if (kind == 5) ticks100000 = 0;
  char report[kReportBytes];
  ComposeReport(static_cast<float>(TicksToSeconds(shown10000)),
                static_cast<float>(TicksToSeconds(ticks100000)), report);
  std::string text = report;
  const std::string values[] = {
      person.name,  person.machine, person.cpu,
      person.clock, person.os,      std::string(Pick(kComments, generator)) + kUsualLastLine};
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
  const unsigned startValue = static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10));
  if (files < 1 || entries < 1) {
    std::fprintf(stderr, "results_corpus: FILES and ENTRIES_PER_FILE must be at least 1\n");
    return 2;
  }
  const unsigned people =
      static_cast<unsigned>(std::max(1LL, static_cast<long long>(files) * entries * 3 / 5));
  std::mt19937 generator(startValue);
  for (int f = 0; f < files; ++f) {
    char path[4096];
    std::snprintf(path, sizeof path, "%s/reports-%04d.txt", argv[1], f);
    for (int e = 0; e < entries; ++e) {
      const unsigned n = std::uniform_int_distribution<unsigned>(0, people - 1)(generator);
      const std::string report = FilledReport(PersonNumber(startValue, n), generator);
      if (AppendReportEntry(path, report.c_str()) != EntryResult::kWritten) {
        std::fprintf(stderr, "results_corpus: cannot write %s\n", path);
        return 1;
      }
    }
  }
  return 0;
}
