#include "gtest/gtest.h"

#include "tests/fakes/fake_misuse.h"

void ReportFakeMisuse(const std::string& what) {
    ADD_FAILURE() << what;
}
