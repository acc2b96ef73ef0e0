# Sourced (never run) by scripts/sanitize.sh and before a run by hand of a sanitized program: the runtime
# options of AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
#   source scripts/sanitizer-env.sh
# Qt, fontconfig and the other system libraries are not instrumented; the suppressions may name only their
# frames (see tests/lsan.supp), never ours. The install test builds a consumer without the sanitizers
# against our instrumented library, so the runtime cannot come first in its library list.
msarender_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$msarender_root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
unset msarender_root
