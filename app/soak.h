// The soak run (--bench --passes N): the show's timeline played N times over
// without reloading, with the process's resident memory taken after each
// pass. Memory that keeps growing once the first pass has touched everything
// is a leak in some section's start, render or stop.
#pragma once

#include <string>
#include <vector>

enum {
    SOAK_MAX_PASSES = 1000,
    SOAK_TOLERANCE_KB = 2048,  // allowed rise over the first pass's peak
};

// Resident memory of one pass, in kB: its peak and what was left at its end.
struct soak_pass {
    long peak_kb;
    long end_kb;
};

// The first pass after pass 1 (numbered from 1) whose peak rises above pass
// 1's by more than `tolerance_kb`, or 0 when every later pass stays within
// it (and for fewer than two passes).
int soak_growing_pass(const std::vector<soak_pass>& passes, long tolerance_kb);

// The number of kB in the line "`key`:   1234 kB" of a /proc/<pid>/status
// text, or -1 when the key is missing or its value does not parse.
long soak_status_kb(const std::string& status, const char* key);

// The figures of the pass that just ended, from /proc/self/status (VmHWM,
// VmRSS; -1 each when unreadable).
soak_pass soak_measure();

// Starts the next pass's peak from the present resident size (Linux: "5"
// into /proc/self/clear_refs). Where that is refused the peak stays the
// process's own, which the growth rule above reads the same way.
void soak_reset_peak();

// "Soak pass 2/5: peak RSS 123456 kB, 120000 kB at its end".
std::string soak_pass_text(int pass, int count, const soak_pass& figures);
