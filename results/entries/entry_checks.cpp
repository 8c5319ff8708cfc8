#include "results/entries/entry_checks.h"

#include <cstdint>
#include <string>
#include <utility>

namespace {

constexpr int kMaxWholeDigits = 12;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// What the page and the table show in the status column.
std::string StatusText(const CheckedEntry& entry) {
  std::string status;
  const auto add = [&status](const std::string& part) {
    if (!status.empty()) status += "、";
    status += part;
  };
  for (int limit = 0; limit < 2; ++limit) {
    const FigureState state = entry.figures[limit].state;
    const std::string name = kLimits[limit].shown;
    if (state == FigureState::kUnreadable) add(name + " の数値が読めない");
    if (state == FigureState::kNotMeasured) add(name + " は未測定");
  }
  if (entry.flags & kImplausible) add("不自然（100,000 が 10,000 の 20 倍未満）");
  if (entry.flags & kInvalidBytes) add("読めないバイト列あり（\xEF\xBF\xBD）");
  if (entry.flags & kDamagedMail) add("壊れたメールから読んだ");
  return status.empty() ? "OK" : status;
}

}  // namespace

Figure ReadFigure(std::string_view text) {
  Figure figure;
  const std::size_t point = text.find('.');
  if (point == 0 || point == std::string_view::npos || point > kMaxWholeDigits ||
      text.size() != point + 4) {
    return figure;
  }
  std::uint64_t thousandths = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == point) continue;
    if (!IsDigit(text[i])) return figure;
    thousandths = thousandths * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  figure.thousandths = thousandths;
  figure.state = thousandths == 0 ? FigureState::kNotMeasured : FigureState::kMeasured;
  return figure;
}

CheckedEntry CheckEntry(EntryFields fields, unsigned flags) {
  CheckedEntry entry;
  entry.flags = flags;
  for (int limit = 0; limit < 2; ++limit) {
    entry.figures[limit] = ReadFigure(fields.text[kLimits[limit].field]);
  }
  entry.fields = std::move(fields);
  const Figure& small = entry.figures[0];
  const Figure& large = entry.figures[1];
  if (small.state == FigureState::kUnreadable || large.state == FigureState::kUnreadable) {
    entry.flags |= kFigureUnreadable;
  }
  // At most 10^15 thousandths each, so 20 times one cannot overflow.
  if (small.state == FigureState::kMeasured && large.state == FigureState::kMeasured &&
      large.thousandths < 20 * small.thousandths) {
    entry.flags |= kImplausible;
  }
  entry.status = StatusText(entry);
  return entry;
}
