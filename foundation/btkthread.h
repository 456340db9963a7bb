// btkThreadStarting: called right before the program starts a worker thread,
// so that tests can make a start fail as a system short of threads would;
// btkThreadStartFailure: the user's text for a start that failed.
#pragma once

#include <exception>

#include "foundation/btkstring.h"

// Throws std::system_error (resource unavailable) when a test asked for a
// failing start; otherwise does nothing.
void btkThreadStarting();

// Tests: the next `successes` starts go through, the one after them throws,
// and so does every later one until this is called again. A negative
// count (the default) lets every start go through.
void btkFailThreadStartAfter(int successes);

// The reason a worker could not start, as a Czech phrase for a message: a
// thread the system refused (its own reason follows), memory that ran
// out, or the exception's own text for anything else.
btkstring btkThreadStartFailure(const std::exception& e);
