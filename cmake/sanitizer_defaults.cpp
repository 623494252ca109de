// The checking build's settings, built into each of its programs and tests (never into the
// programs a venue runs), so that a test run by hand reports as ctest does: every report with
// its stack, and no leak let through but those of libraries we do not build.
extern "C" {

const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}

// fontconfig keeps its font lists and fallback patterns for the life of the process; Qt loads
// them for any widget that shows text.
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
}
