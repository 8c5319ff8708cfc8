// Finding entries and reading their fields, from the entry writer's own files and
// from the shapes received reports really take.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "report/report_entry.h"
#include "report/report_fields.h"
#include "report/report_text.h"
#include "report_samples.h"
#include "results/read/flowed_text.h"
#include "results/read/text_decoding.h"
#include "tests/support/test_files.h"

namespace {

ResultSet Read(const std::string& bytes) {
  ResultSet results;
  AddReports(bytes, results);
  return results;
}

TEST(ReportVocabulary, TheReportsOwnFieldsInUtf8) {
  EXPECT_STREQ(kEntryHeaderLine, "★★★★★ Tarvolo 結果報告書 ★★★★★");
  EXPECT_EQ(kReportMailLine, std::string("To ") + kMakerMail);
  const char* const labels[kFieldCount] = {"名前",
                                           "[10,000]測定結果(秒)",
                                           "[100,000]測定結果(秒)",
                                           "マシン名",
                                           "ＣＰＵ",
                                           "クロック",
                                           "ＯＳ",
                                           "コメント"};
  for (int field = 0; field < kFieldCount; ++field) {
    EXPECT_STREQ(kReportFields[field].label, labels[field]) << "field " << field;
  }
}

// Random answers from characters users type, Shift_JIS-encodable, including
// those that mean something to HTML, CSV and the reader itself.
std::string RandomText(std::mt19937& generator, int maxCharacters) {
  static const char* const kPieces[] = {
      "a",  "Z",  "0",  "9", "-", "_",  "(",  ")", "<", ">", "&",  "\"", "'",  "/", "=",  ",",
      "漢", "字", "ア", "ｱ", "ﾟ", "ー", "あ", "①", "Ⅲ", "℃", "～", " ",  "　", ":", "：", "%s"};
  const int count = std::uniform_int_distribution<int>(0, maxCharacters)(generator);
  std::string text;
  for (int i = 0; i < count; ++i) {
    text +=
        kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(generator)];
  }
  // Blanks at the ends of an answer are not part of it; '>' and blanks start a
  // quoted line in a comment.
  if (!text.empty()) text = "x" + text + "x";
  return text;
}

TEST(EntryReading, EntriesFromTheEntryWriterComeBackWithExactlyTheirFieldsAndFigures) {
  const unsigned startValue = std::random_device()();
  SCOPED_TRACE("start value " + std::to_string(startValue));
  std::mt19937 generator(startValue);
  ScratchFolder folder;
  struct Written {
    Answers answers;
    std::string figures[2];
  };
  std::vector<Written> written;
  for (int i = 0; i < 300; ++i) {
    Written entry;
    // Names carry the index, so that no two entries are the same one.
    entry.answers = {std::to_string(i) + RandomText(generator, 20),
                     RandomText(generator, 20),
                     RandomText(generator, 10),
                     RandomText(generator, 8),
                     RandomText(generator, 12),
                     "c" + RandomText(generator, 30) + "\r\nd" + RandomText(generator, 30)};
    float times[2];
    for (float& time : times) {
      // As the report window forms them: ticks times 0.001, as a float.
      const int ticks = std::uniform_int_distribution<int>(0, 20000000)(generator) *
                        std::uniform_int_distribution<int>(0, 1)(generator);
      time = static_cast<float>(ticks * static_cast<double>(0.001f));
    }
    entry.figures[0] = FigureText(times[0]);
    entry.figures[1] = FigureText(times[1]);
    AppendEntry(folder / "reports.txt", FilledReport(times[0], times[1], entry.answers));
    written.push_back(entry);
  }

  const ResultSet results = Read(ReadBytes(folder / "reports.txt"));
  ASSERT_EQ(results.read, written.size());
  ASSERT_EQ(results.kept.size(), written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    const EntryFields& read = results.kept[i].fields;
    const Written& expected = written[i];
    std::string comment = expected.answers.comment;
    comment.erase(comment.find('\r'), 1);
    EXPECT_EQ(read.text[kName], expected.answers.name) << "entry " << i;
    EXPECT_EQ(read.text[kMachine], expected.answers.machine) << "entry " << i;
    EXPECT_EQ(read.text[kCpu], expected.answers.cpu) << "entry " << i;
    EXPECT_EQ(read.text[kClock], expected.answers.clock) << "entry " << i;
    EXPECT_EQ(read.text[kOs], expected.answers.os) << "entry " << i;
    EXPECT_EQ(read.text[kComment], comment) << "entry " << i;
    EXPECT_EQ(read.text[kTime10000], expected.figures[0]) << "entry " << i;
    EXPECT_EQ(read.text[kTime100000], expected.figures[1]) << "entry " << i;
    EXPECT_EQ(results.kept[i].flags & ~kImplausible, 0u) << "entry " << i;
  }
}

struct Expected {
  std::string name, machine, time10000, time100000;
  unsigned flags;
};

std::string Entry(const std::string& utf8Report) {
  const char header[] = "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n";
  return ToShiftJis(header + utf8Report);
}

// Removes the line that starts with start from text and returns it.
std::string TakeLineStartingWith(std::string& text, const std::string& start) {
  const std::size_t at = text.find("\n" + start) + 1;
  const std::size_t end = text.find("\n", at) + 1;
  std::string line = text.substr(at, end - at);
  text.erase(at, end - at);
  return line;
}

// Each line quoted as a mail reply quotes it.
std::string Quoted(const std::string& text, const std::string& mark = "> ") {
  std::string quoted = mark;
  for (char c : text) {
    quoted += c;
    if (c == '\n') quoted += mark;
  }
  return quoted;
}

std::string Lf(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

TEST(EntryReading, ReceivedShapesGiveTheirEntriesAndNothingElse) {
  const std::string taro =
      FilledReport(0.987f, 80.123f, {"太郎", "PC-9821", "Pentium", "133MHz", "Windows 95", "速い"});
  const std::string hanako = FilledReport(
      1.5f, 0.0f, {"花子", "FMV", "K6-2", "300MHz", "Windows 98", "二行の\r\nコメント"});
  const std::string jiro = FilledReport(0.0f, 0.0f, NameOnly("次郎"));
  std::string edited = FilledReport(2.0f, 160.0f, {"次郎", "自作機", "Celeron", "", "", ""});
  // The name's label deleted, the 10,000 figure's line moved below the comment
  // and the 100,000 figure's line deleted (its figure written in the comment).
  const std::string line10000 = TakeLineStartingWith(edited, "[10,000]");
  TakeLineStartingWith(edited, "[100,000]");
  const std::size_t name = edited.find("\n名前") + 1;
  TakeLineStartingWith(edited, "名前");
  edited.insert(name, "次郎です\r\n");
  edited += "100,000 は 160.000 でした\r\n" + line10000;

  std::string longName, longCut;
  for (int i = 0; i < 1000; ++i) longName += "漢";
  for (int i = 0; i < 132; ++i) longCut += "漢";  // 396 bytes, with "…" 399
  longCut += "…";
  const std::string mailHead =
      "From: taro@example.jp\r\nTo: results@tarvolo.example\r\nSubject: report\r\n\r\n";
  const std::string truncated = Entry(hanako);
  std::string invalidName = Entry(taro);
  invalidName.replace(invalidName.find(ToShiftJis("太郎")), 4, std::string("\x81\x20\x00x", 4));
  std::string textMode = Entry(taro);  // as a text-mode writer stores the template's CR LF
  const std::size_t header = Entry("").size();
  for (std::size_t at = textMode.find("\r\n", header); at != std::string::npos;
       at = textMode.find("\r\n", at + 3)) {
    textMode.insert(at, "\r");
  }

  const struct {
    const char* what;
    std::string bytes;
    std::vector<Expected> entries;
  } cases[] = {
      {"a report file: entries with foreign text before, between and after",
       ToShiftJis("受信したファイル\r\n") + Entry(taro) + ToShiftJis("--\r\n転送\r\n") +
           Entry(hanako) + Entry(jiro) + "trailing words\r\n",
       {{"太郎", "PC-9821", "0.987", "80.123", 0},
        {"花子", "FMV", "1.500", "0.000", 0},
        {"次郎", "", "0.000", "0.000", 0}}},
      {"a mail in ISO-2022-JP with LF line ends",
       mailHead + Convert(Lf(taro), "UTF-8", "ISO-2022-JP") + "\n-- \nTaro\n",
       {{"太郎", "PC-9821", "0.987", "80.123", 0}}},
      {"a UTF-8 mail with BOM",
       "\xEF\xBB\xBF" + mailHead + taro + hanako,
       {{"太郎", "PC-9821", "0.987", "80.123", 0}, {"花子", "FMV", "1.500", "0.000", 0}}},
      {"a reply that only quotes a report adds no entry", "Taro wrote:\n" + Quoted(Lf(taro)), {}},
      {"an edited entry: a label missing, figures moved",
       Entry(edited),
       {{"", "自作機", "2.000", "", kFigureUnreadable}}},
      {"a blank report takes no neighbour's value",
       Entry(FilledReport(0.5f, 40.0f, {})),
       {{"", "", "0.500", "40.000", 0}}},
      {"a truncated last entry",
       Entry(taro) + truncated.substr(0, truncated.find("0.000") + 2),
       {{"太郎", "PC-9821", "0.987", "80.123", 0}, {"花子", "", "1.500", "0.", kFigureUnreadable}}},
      {"cut inside a double-byte character",
       truncated.substr(0, truncated.find(ToShiftJis("マシン名")) + 1),
       {{"花子", "", "1.500", "0.000", kInvalidBytes}}},
      {"invalid Shift_JIS and a NUL in the name",
       invalidName,
       {{"\xEF\xBF\xBD \xEF\xBF\xBDx", "PC-9821", "0.987", "80.123", kInvalidBytes}}},
      {"unreadable bytes flag their own entry only, a U+FFFD typed in UTF-8 none",
       FilledReport(0.5f, 40.0f, NameOnly("\xFF太郎")) + hanako +
           FilledReport(0.5f, 40.0f, NameOnly("\xEF\xBF\xBD")),
       {{"\xEF\xBF\xBD太郎", "", "0.500", "40.000", kInvalidBytes},
        {"花子", "FMV", "1.500", "0.000", 0},
        {"\xEF\xBF\xBD", "", "0.500", "40.000", 0}}},
      {"unreadable bytes flag no entry before them",
       hanako + FilledReport(0.5f, 40.0f, NameOnly("\xFF太郎")),
       {{"花子", "FMV", "1.500", "0.000", 0},
        {"\xEF\xBF\xBD太郎", "", "0.500", "40.000", kInvalidBytes}}},
      {"a name longer than a field is kept, cut at a character",
       Entry(FilledReport(0.5f, 40.0f, NameOnly(longName))) + ToShiftJis(longName),
       {{longCut, "", "0.500", "40.000", 0}}},
      {"CR CR LF of a text-mode writer", textMode, {{"太郎", "PC-9821", "0.987", "80.123", 0}}},
      {"an implausible pair",
       Entry(FilledReport(1.0f, 19.999f, NameOnly("速すぎ"))),
       {{"速すぎ", "", "1.000", "19.999", kImplausible}}},
      {"no entry at all", ToShiftJis("To: results@tarvolo.example\r\nほかの話\r\n"), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ResultSet results = Read(c.bytes);
    ASSERT_EQ(results.kept.size(), c.entries.size());
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
      const CheckedEntry& read = results.kept[i];
      const Expected& expected = c.entries[i];
      EXPECT_EQ(read.fields.text[kName], expected.name) << "entry " << i;
      EXPECT_EQ(read.fields.text[kMachine], expected.machine) << "entry " << i;
      EXPECT_EQ(read.fields.text[kTime10000], expected.time10000) << "entry " << i;
      EXPECT_EQ(read.fields.text[kTime100000], expected.time100000) << "entry " << i;
      EXPECT_EQ(read.flags, expected.flags) << "entry " << i;
    }
  }
}

TEST(EntryReading, CommentRunsToTheNextEntryLessTheLinesReadAsFields) {
  std::string edited = FilledReport(2.0f, 160.0f, {"次郎", "", "", "", "", "一行目\r\n\r\n二行目"});
  const std::string line10000 = "[10,000]測定結果(秒) ：2.000\r\n";
  edited.erase(edited.find(line10000), line10000.size());
  edited += line10000 + "\r\n";
  const ResultSet results =
      Read(Entry(edited) + Entry(edited) + ToShiftJis("-- \r\n署名\r\n") + Entry(edited));
  ASSERT_EQ(results.read, 3u);
  EXPECT_EQ(results.kept[0].fields.text[kComment], "一行目\n\n二行目");
  EXPECT_EQ(results.kept[0].fields.text[kTime10000], "2.000");
  // The same entry, once followed by a mail's signature, is the same entry.
  EXPECT_EQ(results.merged, 2u);
}

// A report with a two-line comment, then what a mail program or its user put
// under it; only the user's own words stay in the comment, and a quoted report
// is not read again.
TEST(EntryReading, TheCommentKeepsTheUsersWordsAndNothingTheMailProgramAdded) {
  const std::string earlier =
      FilledReport(1.0f, 90.0f, {"太郎", "PC-9821", "Pentium", "133MHz", "Windows 95", "前回"});
  const struct {
    const char* what;
    std::string after;
    std::string comment;
  } cases[] = {
      {"a reply's quote under its attribution line",
       "\r\nOn Tue, 1 Dec 2026 at 10:00, Taro <taro@example.jp> wrote:\r\n\r\n" + Quoted(earlier) +
           "\r\n",
       "速い\n二行目"},
      {"a Japanese attribution line and a full-width, nested quote",
       "2026年12月1日(火) 10:00 山田太郎:\r\n" + Quoted(earlier, "＞ ") + ">> 古い話\r\n",
       "速い\n二行目"},
      {"a quote with |, the user's words after it are a reply",
       "山田 <yamada@example.jp>:\r\n| 前回は？\r\n今回です\r\n", "速い\n二行目"},
      {"Becky!'s attribution over two lines",
       "\r\nOn Tue, 01 Dec 2026 10:00:00 +0900\r\n山田 <yamada@example.jp> wrote:\r\n" +
           Quoted(earlier),
       "速い\n二行目"},
      {"the quoted mail's head as Outlook Express puts it",
       "\r\n----- Original Message -----\r\nFrom: \"山田\" <yamada@example.jp>\r\nTo: "
       "<results@tarvolo.example>\r\nSent: Tuesday, December 01, 2026 10:00 AM\r\nSubject: "
       "report\r\n\r\n" +
           Quoted(earlier),
       "速い\n二行目"},
      {"a line like a mail's head, but without a sender, stays", "件名：二回目\r\n> 前回\r\n",
       "速い\n二行目\n件名：二回目"},
      {"a line of the user's ending with a colon stays", "前回:\r\n> 1.000\r\n",
       "速い\n二行目\n前回:"},
      {"a signature after \"-- \"", "-- \r\n山田太郎\r\n", "速い\n二行目"},
      {"a phone's footer", "\r\niPhoneから送信\r\n", "速い\n二行目"},
      {"an English footer", "Sent from my iPad\r\n", "速い\n二行目"},
      {"Outlook's footer with its link", "Get Outlook for Android<https://aka.ms/ghei36>\r\n",
       "速い\n二行目"},
      {"a carrier's footer, spaced", "ドコモメール から送信\r\n", "速い\n二行目"},
      {"a line ending as footers do stays", "会社のパソコンから送信\r\n",
       "速い\n二行目\n会社のパソコンから送信"},
      {"a footer in a sentence stays", "iPhoneから送信しています\r\n",
       "速い\n二行目\niPhoneから送信しています"},
      {"a signature block between rules",
       "\r\n━━━━━━━━━━\r\n山田 太郎\r\nyamada@example.jp\r\n━━━━━━━━━━\r\n", "速い\n二行目"},
      {"a signature block with a phone number", "------\r\n山田\r\nTEL 03-1234-5678\r\n",
       "速い\n二行目"},
      {"a signature block with a web address", "＝＝＝＝\r\nhttps://example.jp/~yamada/\r\n",
       "速い\n二行目"},
      {"a rule in the middle stays",
       "-----\r\n条件: "
       "電源をつないだまま常駐ソフトを全部止めて、三回測って一番速いものを書きました。念のため二回"
       "目の値も書いておきます。\r\n"
       "http://example.jp/ に写真\r\n",
       "速い\n二行目\n-----\n条件: "
       "電源をつないだまま常駐ソフトを全部止めて、三回測って一番速いものを書きました。念のため二回"
       "目の値も書いておきます。\nhttp://"
       "example.jp/ に写真"},
      {"a name under a rule stays", "・・・・\r\n山田太郎\r\n", "速い\n二行目\n・・・・\n山田太郎"},
      {"digits that are no phone number stay", "-----\r\n12345678901\r\n",
       "速い\n二行目\n-----\n12345678901"},
      {"a short rule stays", "---\r\nyamada@example.jp\r\n",
       "速い\n二行目\n---\nyamada@example.jp"},
      {"too many lines under a rule stay",
       "-----\r\n一\r\n二\r\n三\r\n四\r\n五\r\n六\r\nyamada@example.jp\r\n",
       "速い\n二行目\n-----\n一\n二\n三\n四\n五\n六\nyamada@example.jp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ResultSet results = Read(
        FilledReport(0.987f, 80.123f,
                     {"太郎", "PC-9821", "Pentium", "133MHz", "Windows 95", "速い\r\n二行目"}) +
        c.after);
    ASSERT_EQ(results.read, 1u);
    EXPECT_EQ(results.kept[0].fields.text[kComment], c.comment);
    EXPECT_EQ(results.kept[0].fields.text[kTime10000], "0.987");
  }
}

TEST(TextDecoding, EachEncodingIsRecognisedByItsBytes) {
  const std::string text = "名前：ｱｲｳ Tarvolo ～①";
  const struct {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
  } cases[] = {
      {"Shift_JIS", ToShiftJis(text), TextEncoding::kShiftJis},
      {"UTF-8", text, TextEncoding::kUtf8},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + text, TextEncoding::kUtf8},
      {"ISO-2022-JP", Convert("名前：Tarvolo", "UTF-8", "ISO-2022-JP"), TextEncoding::kIso2022Jp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(GuessEncoding(c.bytes), c.encoding);
    const DecodedText decoded = DecodeToUtf8(c.bytes);
    EXPECT_EQ(decoded.unreadable.size(), 0u);
    EXPECT_EQ(decoded.utf8, c.encoding == TextEncoding::kIso2022Jp ? "名前：Tarvolo" : text);
  }
}

// What Japanese mail programs send: a pair no table holds is one U+FFFD and
// the characters after it are the ones sent.
TEST(TextDecoding, DeclaredCharsetsReadStepByStepWithOneReplacementPerUnreadablePair) {
  const struct {
    const char* charset;
    std::string bytes, utf8;
    std::size_t unreadable;
    bool unknown;
  } cases[] = {
      {"ISO-2022-JP", "\x1B$B/!0!\x1B(B ok", "\uFFFD亜 ok", 1, false},
      {"iso-2022-jp",
       "\x1B$B0!\x0E\x36\x0F"
       "0!\x1B(B\x0E\x37\x0F"
       "a",
       "亜ｶ亜ｷa", 0, false},
      {"Shift_JIS", "\x85\xA1\x88\x9FX\x85\x41", "\uFFFD亜X\uFFFDA", 2, false},
      {"EUC-JP", "\xA9\xA1\xB0\xA1x\xAD\xA1", "\uFFFD亜x①", 1, false},
      {"utf-16", std::string("\xFF\xFE\x9C\x4E\x0A\x00\x3D\xD8\x00\xDE", 10), "亜\n😀", 0, false},
      {"UTF-16BE", std::string("\xD8\x3D\x00\x41", 4), "\uFFFDA", 1, false},
      {"utf-7", "+ZeVnLA abc", "日本 abc", 0, false},
      {"x-nothing", "plain 日本", "plain 日本", 0, false},
      {"x-nothing", std::string("a\0b", 3), "a\uFFFDb", 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset + (" " + c.utf8));
    const DecodedText decoded = DecodeDeclared(c.bytes, c.charset);
    EXPECT_EQ(decoded.utf8, c.utf8);
    EXPECT_EQ(decoded.unreadable.size(), c.unreadable);
    EXPECT_EQ(decoded.unknownCharset, c.unknown);
  }
}

TEST(FlowedText, SoftBreaksJoinWithinOneQuoteDepthAndUnreadableOffsetsFollow) {
  const struct {
    std::string in;
    bool delSp;
    std::string out;
  } cases[] = {
      {"CPU名：Pentium \nIII\r\nnext\n", false, "CPU名：Pentium III\nnext\n"},
      {"とても長い \nコメント\n", true, "とても長いコメント\n"},
      {"> q1 \n> q2\nreply \n>> deep\n", false, "> q1 q2\nreply \n>> deep\n"},
      {"-- \nsig \nname", false, "-- \nsig name\n"},
      {" From x\n >y\n", false, "From x\n>y\n"},
  };
  for (const auto& c : cases) {
    std::string text = c.in;
    std::vector<std::size_t> unreadable;
    UndoFlowed(text, unreadable, c.delSp);
    EXPECT_EQ(text, c.out) << c.in;
  }
  std::string text = "a\uFFFD \n>b\uFFFD\n";
  std::vector<std::size_t> unreadable{1, 8};
  UndoFlowed(text, unreadable, false);
  EXPECT_EQ(text, "a\uFFFD \n> b\uFFFD\n");
  EXPECT_EQ(unreadable, (std::vector<std::size_t>{1, 9}));
}

}  // namespace
