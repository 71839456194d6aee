// Fault injection shared by the atomic store of every system.
#pragma once

#include "platform/AtomicFile.h"

// Counts a call of op; the error number of an injected fault that hits this
// call, else 0.
int InjectedFileFault(FileOp op);
