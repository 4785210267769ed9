// Defaults for the sanitizers in every test program (an environment variable still
// overrides them).

extern "C" {

const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
// Font and display libraries keep caches for the life of the process.
const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libfreetype\n"; }

}
