// SPDX-License-Identifier: GPL-3.0-or-later
// Options of the sanitizers for the test programs, so that a plain ctest
// run of the sanitizer build (LURNS_SANITIZE=ON) needs no environment:
// leaks are checked with the suppressions of tests/lsan.supp, undefined
// behaviour stops the program with a stack trace.  The programs the tests
// start (the command-line tool, the single-instance helper) inherit the
// same options through the environment.  In a build without sanitizers
// nothing here has any effect.
#include "support/SanitizerDefaults.h"

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define LURNS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LURNS_ASAN 1
#endif
#endif

#define LURNS_LSAN_OPTIONS "suppressions=" LURNS_SOURCE_DIR "/tests/lsan.supp:print_suppressions=0"
#define LURNS_UBSAN_OPTIONS "print_stacktrace=1:halt_on_error=1"
#define LURNS_ASAN_OPTIONS "detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=1"

extern "C" {
// Read by the sanitizer runtimes before main; the environment can still
// add to them or override them.
const char* __lsan_default_options() { return LURNS_LSAN_OPTIONS; }
const char* __ubsan_default_options() { return LURNS_UBSAN_OPTIONS; }
const char* __asan_default_options() { return LURNS_ASAN_OPTIONS; }
}

void PassSanitizerOptionsToChildren() {
#if defined(LURNS_ASAN)
  setenv("LSAN_OPTIONS", LURNS_LSAN_OPTIONS, 0);
  setenv("UBSAN_OPTIONS", LURNS_UBSAN_OPTIONS, 0);
  setenv("ASAN_OPTIONS", LURNS_ASAN_OPTIONS, 0);
#endif
}
