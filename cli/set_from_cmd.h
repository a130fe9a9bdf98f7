// ktz30cli set FILE --from DUMP.txt: a dump's lines, edited or not, set in a clone data file.
#pragma once

struct CCliArgs;

// Sets every line as `set` sets an assignment and saves to -o or back to the file when no value
// was refused; with --base the bytes outside every value and the adjust area come from that
// file. Exit status as set's.
int RunSetFrom(const CCliArgs& a);
