#include "results/site/time_histogram.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {

constexpr int kHistogramBars = 40;

// The drawing's own units; the page scales it to its width.
constexpr int kWidth = 640, kHeight = 190;
constexpr int kLeft = 48, kRight = 630, kTop = 12, kBottom = 160;

// No time in a report is longer than 10^15 thousandths (twelve digits before
// the point), so every value here fits the conversions below.
std::uint64_t ThousandthsAt(double logValue) {
  return static_cast<std::uint64_t>(std::llround(std::pow(10.0, std::clamp(logValue, 0.0, 15.0))));
}

// "0.512" as a bar's bound; "0.5", "2", "10" as an axis label.
std::string Seconds(std::uint64_t thousandths, bool short_) {
  char text[48];
  std::snprintf(text, sizeof text, "%" PRIu64 ".%03" PRIu64, thousandths / 1000,
                thousandths % 1000);
  std::string seconds = text;
  if (short_) {
    while (seconds.back() == '0') seconds.pop_back();
    if (seconds.back() == '.') seconds.pop_back();
  }
  return seconds;
}

// Appends  name="value" for each number attribute.
void AppendAttributes(std::string& out,
                      std::initializer_list<std::pair<const char*, long long>> attributes) {
  for (const auto& [name, value] : attributes) {
    out += ' ';
    out += name;
    out += "=\"" + std::to_string(value) + '"';
  }
}

struct Axis {
  double from, to;  // log10 of thousandths
  int X(double logValue) const {
    const double share = std::clamp((logValue - from) / (to - from), 0.0, 1.0);
    return kLeft + static_cast<int>(std::lround(share * (kRight - kLeft)));
  }
  int Bar(std::uint64_t thousandths) const {
    const double share = (std::log10(static_cast<double>(thousandths)) - from) / (to - from);
    return static_cast<int>(std::clamp(std::floor(share * kHistogramBars), 0.0,
                                       static_cast<double>(kHistogramBars - 1)));
  }
  double Edge(int bar) const { return from + (to - from) * bar / kHistogramBars; }
};

Axis AxisOver(const std::vector<std::uint64_t>& times) {
  const std::size_t beyond = times.size() / 100;
  Axis axis{std::log10(static_cast<double>(times[beyond])),
            std::log10(static_cast<double>(times[times.size() - 1 - beyond]))};
  // At least a factor of two across, so that close times still spread out.
  constexpr double kNarrowest = 0.3;
  if (axis.to - axis.from < kNarrowest) {
    const double middle = (axis.from + axis.to) / 2;
    axis.from = middle - kNarrowest / 2;
    axis.to = middle + kNarrowest / 2;
  }
  return axis;
}

// Labels at round numbers: 1, 2 and 5 times a power of ten, or only the powers
// of ten when the axis spans many, or every digit when it spans little.
std::vector<std::uint64_t> TickValues(const Axis& axis) {
  const auto ticks = [&axis](std::initializer_list<std::uint64_t> digits) {
    std::vector<std::uint64_t> values;
    for (std::uint64_t power = 1; power <= 1000000000000000; power *= 10) {
      for (std::uint64_t digit : digits) {
        const double at = std::log10(static_cast<double>(digit * power));
        if (at >= axis.from && at <= axis.to) values.push_back(digit * power);
      }
    }
    return values;
  };
  std::vector<std::uint64_t> values = ticks({1, 2, 5});
  if (values.size() > 12) values = ticks({1});
  if (values.size() < 2) values = ticks({1, 2, 3, 4, 5, 6, 7, 8, 9});
  return values;
}

void AppendText(std::string& out, int x, int y, const char* anchor, const std::string& text) {
  out += "<text";
  AppendAttributes(out, {{"x", x}, {"y", y}});
  out += " text-anchor=\"";
  out += anchor;
  out += "\">";
  out += text;  // numbers and the tool's own words only
  out += "</text>\n";
}

void AppendLine(std::string& out, int x1, int y1, int x2, int y2) {
  out += "<line class=\"axis\"";
  AppendAttributes(out, {{"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2}});
  out += "/>\n";
}

}  // namespace

void AppendTimeHistogram(std::string& out, const std::vector<std::uint64_t>& times) {
  if (times.empty()) return;
  const Axis axis = AxisOver(times);
  std::size_t counts[kHistogramBars] = {};
  for (std::uint64_t time : times) ++counts[axis.Bar(time)];
  // The outer bars are drawn lighter where they also count times beyond the axis.
  const bool fasterBeyond = times.front() < ThousandthsAt(axis.from);
  const bool slowerBeyond = times.back() > ThousandthsAt(axis.to);
  const std::size_t most = *std::max_element(std::begin(counts), std::end(counts));

  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(kWidth) + ' ' +
         std::to_string(kHeight) + '"';
  AppendAttributes(out, {{"width", kWidth}, {"height", kHeight}});
  out += " role=\"img\" aria-label=\"時間の分布\">\n";
  for (int bar = 0; bar < kHistogramBars; ++bar) {
    if (counts[bar] == 0) continue;
    const int x = kLeft + bar * (kRight - kLeft) / kHistogramBars;
    const int next = kLeft + (bar + 1) * (kRight - kLeft) / kHistogramBars;
    // A bar of one report is still seen.
    const int height = static_cast<int>(
        std::max<std::size_t>(1, (counts[bar] * (kBottom - kTop) + most / 2) / most));
    // The outer bars reach to the fastest and the slowest time.
    const std::uint64_t from = bar == 0 ? times.front() : ThousandthsAt(axis.Edge(bar));
    const std::uint64_t to =
        bar == kHistogramBars - 1 ? times.back() : ThousandthsAt(axis.Edge(bar + 1));
    const bool edge = (bar == 0 && fasterBeyond) || (bar == kHistogramBars - 1 && slowerBeyond);
    out += edge ? "<rect class=\"bar edge\"" : "<rect class=\"bar\"";
    AppendAttributes(out, {{"x", x},
                           {"y", kBottom - height},
                           {"width", std::max(1, next - x - 1)},
                           {"height", height}});
    out += "><title>" + Seconds(from, false) + "〜" + Seconds(to, false) +
           " 秒: " + std::to_string(counts[bar]) + " 件</title></rect>\n";
  }
  AppendLine(out, kLeft, kBottom, kRight, kBottom);
  AppendLine(out, kLeft, kTop, kLeft, kBottom);
  AppendText(out, kLeft - 4, kTop + 4, "end", std::to_string(most));
  AppendText(out, kLeft - 4, kBottom, "end", "0");
  AppendText(out, kLeft - 4, kTop + 18, "end", "件");
  for (std::uint64_t value : TickValues(axis)) {
    const int x = axis.X(std::log10(static_cast<double>(value)));
    AppendLine(out, x, kBottom, x, kBottom + 4);
    AppendText(out, x, kBottom + 16, "middle", Seconds(value, true));
  }
  AppendText(out, kRight, kBottom + 28, "end", "秒（対数目盛）");
  out += "</svg>\n";
}
