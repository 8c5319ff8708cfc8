// Name, machine name and CPU as the tool compares them, never as it shows them:
// users type one processor as "Ｐｅｎｔｉｕｍ　ＩＩ" (Japanese input mode writes
// full-width letters), "Pentium II" or "Intel(R) Pentium(R) II Processor", and
// a machine is one machine however its owner spelled it this time.
#ifndef TARVOLO_RESULTS_RANK_TEXT_FOLDING_H
#define TARVOLO_RESULTS_RANK_TEXT_FOLDING_H

#include <string>
#include <string_view>

// The UTF-8 text folded: Unicode NFKC with case folding (ICU's NFKC_Casefold:
// full-width to half-width, "Ⅱ" to "ii"), without "®", "™", "(R)" and "(TM)",
// each run of blanks and hyphens one blank, no blank at either end, and
// without a trailing clock ("@ 3.60GHz") and then a trailing word "CPU" or
// "Processor".
std::string FoldForComparison(std::string_view text);

#endif
