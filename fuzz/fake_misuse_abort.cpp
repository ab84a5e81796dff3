#include "fuzz/require.h"
#include "tests/fakes/fake_misuse.h"

// Under a fuzzer a misused fake is a fault of the code under test, like a crash.
void ReportFakeMisuse(const std::string& what) {
    Require(false, "fake misused: " + what);
}
