# shellcheck shell=bash
# Sourced by the test command before it runs the sanitizer build's tests.
supp=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp
# Stacks are recorded by frame pointers (AddressSanitizer's default): slow
# unwinding, which reads every library's unwind tables at every malloc and
# free, made the tests other than the display ones take five times the CPU
# (the display tests, whose programs may preload a library of their own,
# still unwind slowly: tests/CMakeLists.txt). ALSA is preloaded, so it stays
# loaded after Allegro unloads its driver, and the one leak suppressed
# (lsan.supp) is named by its library, which the first frame always shows.
# handle_segv=0: a crash stays a crash by signal, as the validator's tests
# expect of their broken modules; memory errors are still caught where they
# happen, by the instrumentation. A test preloads a slow disk into gamehost,
# ahead of the sanitizer's runtime: that order is meant.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:handle_segv=0:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LD_PRELOAD=libasound.so.2
