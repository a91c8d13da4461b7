#pragma once

namespace skorvin::bench {

// Figures are processor time, not wall-clock time: the machine is shared.

// Seconds of processor time used so far by the calling thread.
double threadSeconds();

// Seconds of processor time used so far by finished child processes.
double childSeconds();

} // namespace skorvin::bench
