// The exit status by which a test program tells ctest that it was skipped.
#pragma once

// ctest's SKIP_RETURN_CODE of every test program.
constexpr int MM_SKIP_STATUS = 77;

// rc of RUN_ALL_TESTS, or MM_SKIP_STATUS when it passed only because every
// test that was to run skipped itself.
int skip_aware_status(int rc);
