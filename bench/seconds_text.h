// How a tick count reads as seconds on screen and in the report: the count times
// the single-precision factor 0.001, formed in double precision, written "%3.3f".
#ifndef TARVOLO_BENCH_SECONDS_TEXT_H
#define TARVOLO_BENCH_SECONDS_TEXT_H

constexpr float kSecondsPerTick = 0.001f;

struct SecondsText {
  char text[256];
};

inline double TicksToSeconds(int nTicks) {
  return nTicks * static_cast<double>(kSecondsPerTick);
}

// Seconds written with three decimals, as every measured figure is written.
SecondsText FormatSeconds(double seconds);

inline SecondsText FormatTicks(int nTicks) {
  return FormatSeconds(TicksToSeconds(nTicks));
}

#endif
