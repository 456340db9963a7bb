// btkThreadStarting: called right before the program starts a worker thread,
// so that tests can make a start fail as a system short of threads would.
#pragma once

// Throws std::system_error (resource unavailable) when a test asked for a
// failing start; otherwise does nothing.
void btkThreadStarting();

// Tests: the next `successes` starts go through, the one after them throws,
// and so does every later one until this is called again. A negative
// count (the default) lets every start go through.
void btkFailThreadStartAfter(int successes);
