#pragma once

#include "HostOptions.h"
#include "HostSession.h"

// The scripted reprints of shophost: --print writes the text printout of one return of
// the shop (the bytes "To Screen" writes) to a file or standard output; --report writes
// the return's report as PDF. Messages go to standard error. Returns the exit status.
int runHostPrinting(const HostOptions &options, const HostLogin &login);
