// The parts of the atomic store that do not touch the system: the temporary
// files' name prefix and the fault injection of the tests.
#include "platform/AtomicFile.h"

#include <array>

#include "platform/FileFaults.h"

const char* const kAtomicTempPrefix = ".arkleton-";

namespace {

constexpr int kOpCount = 7;

struct Fault {
    int nth = 0;   // 0: none
    int error = 0;
};
std::array<Fault, kOpCount> g_faults;
std::array<int, kOpCount> g_calls;

}  // namespace

int InjectedFileFault(FileOp op)
{
    const auto i = static_cast<size_t>(op);
    ++g_calls[i];
    Fault& f = g_faults[i];
    if (f.nth > 0 && --f.nth == 0)
        return f.error;
    return 0;
}

void InjectFileFaultForTesting(FileOp op, int nth, int error)
{
    g_faults[static_cast<size_t>(op)] = Fault{nth, error};
}

void ClearFileFaultsForTesting()
{
    g_faults = {};
    g_calls = {};
}

int FileOpCountForTesting(FileOp op)
{
    return g_calls[static_cast<size_t>(op)];
}

