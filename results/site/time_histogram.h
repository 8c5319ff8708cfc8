// A picture of where the times stand: a histogram drawn as inline SVG (no
// script, no external file), on a logarithmic time axis, since machines of
// different years differ by factors rather than by seconds.
#ifndef TARVOLO_RESULTS_SITE_TIME_HISTOGRAM_H
#define TARVOLO_RESULTS_SITE_TIME_HISTOGRAM_H

#include <cstdint>
#include <string>
#include <vector>

// times: thousandths of a second, at least 1 each, fastest first. The axis
// spans the middle 98 % of them; the first and the last bar also count the
// times beyond it. Appends nothing when there are no times.
void AppendTimeHistogram(std::string& out, const std::vector<std::uint64_t>& times);

#endif
