#include "results/read/flowed_text.h"

#include <algorithm>
#include <string_view>

#include "results/read/text_lines.h"

namespace {

constexpr std::string_view kSignatureSeparator = "-- ";

// The text being joined, and the unreadable offsets moved to where the bytes
// they mark land: offsets only ever point into copied bytes (the bytes taken
// out are quote marks, spaces and line breaks).
class FlowedOutput {
 public:
  FlowedOutput(const std::string& input, const std::vector<std::size_t>& unreadable)
      : input_(input), unreadable_(unreadable) {
    out_.reserve(input.size());
  }

  void Copy(std::string_view piece) {
    const std::size_t from = static_cast<std::size_t>(piece.data() - input_.data());
    const std::size_t to = from + piece.size();
    for (; next_ < unreadable_.size() && unreadable_[next_] < to; ++next_) {
      if (unreadable_[next_] >= from) moved_.push_back(out_.size() + unreadable_[next_] - from);
    }
    out_.append(piece);
  }
  void Add(std::string_view text) { out_.append(text); }
  void Add(std::size_t count, char c) { out_.append(count, c); }

  void MoveTo(std::string& utf8, std::vector<std::size_t>& unreadable) {
    utf8.swap(out_);
    unreadable.swap(moved_);
  }

 private:
  const std::string& input_;
  const std::vector<std::size_t>& unreadable_;
  std::size_t next_ = 0;
  std::string out_;
  std::vector<std::size_t> moved_;
};

}  // namespace

void UndoFlowed(std::string& utf8, std::vector<std::size_t>& unreadable, bool delSp) {
  FlowedOutput out(utf8, unreadable);
  std::string_view rest = utf8;
  bool open = false;  // the line before was flowed: this one goes on from it
  std::size_t openDepth = 0;
  while (!rest.empty()) {
    std::string_view line = TakeLine(rest);
    const std::size_t depth = std::min(line.find_first_not_of('>'), line.size());
    line.remove_prefix(depth);
    if (!line.empty() && line[0] == ' ') line.remove_prefix(1);  // space-stuffing
    const bool flowed = !line.empty() && line.back() == ' ' && line != kSignatureSeparator;
    if (flowed && delSp) line.remove_suffix(1);
    if (open && depth != openDepth) out.Add("\n");  // a change of depth ends the paragraph
    if (!open || depth != openDepth) {
      out.Add(depth, '>');
      if (depth > 0) out.Add(" ");
    }
    out.Copy(line);
    open = flowed;
    openDepth = depth;
    if (!flowed) out.Add("\n");
  }
  if (open) out.Add("\n");
  out.MoveTo(utf8, unreadable);
}
