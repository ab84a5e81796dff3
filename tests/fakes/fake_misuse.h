// How a fake reports code that used it wrongly (closed a key it never
// opened, say): a test failure under the test framework, an abort under a
// fuzzer. Each program that links the fakes links one implementation.
#pragma once

#include <string>

void ReportFakeMisuse(const std::string& what);
