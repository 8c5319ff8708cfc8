// The best record per limit: the fastest run since the program started.
#ifndef TARVOLO_APP_BEST_RECORD_H
#define TARVOLO_APP_BEST_RECORD_H

// A record slot that no completed run has filled yet.
constexpr int NO_RECORD = 999999999;

// Only a strictly faster run replaces the record; an equal time keeps it.
inline bool IsNewRecord(int nElapsed, int nBest) {
  return nElapsed < nBest;
}

#endif
