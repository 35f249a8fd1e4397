#pragma once

// The sanitizer settings every test executable starts with, compiled in so
// that they hold however the test is started (ctest, by hand, under a
// debugger). Options given in ASAN_OPTIONS and the like still come after
// these and win.
#define YUBIN_TEST_ASAN_OPTIONS "detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
