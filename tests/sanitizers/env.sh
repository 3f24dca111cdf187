# shellcheck shell=bash
# Sourced by the test command before it runs the sanitizer build's tests.
supp=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp
# Slow unwinding records whole stacks even through libraries without frame
# pointers, so suppressions can name the Allegro call behind a leak.
# handle_segv=0: a crash stays a crash by signal, as the validator's tests
# expect of their broken modules; memory errors are still caught where they
# happen, by the instrumentation. A test preloads a slow disk into gamehost,
# ahead of the sanitizer's runtime: that order is meant.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=0:handle_segv=0:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
