// The slots of the tables indexed by a limit's place in the main window's list:
// the limits, their best records and the report's best times.
#ifndef TARVOLO_BENCH_LIMIT_SLOTS_H
#define TARVOLO_BENCH_LIMIT_SLOTS_H

// Ten, of which the list uses two (10,000 and 100,000): the program keeps all its
// data in fixed-size tables, sized with room to spare rather than to the list.
constexpr int kLimitSlots = 10;

#endif
