// Built into the programs of a LODEMARK_SANITIZE build only. cairo and
// fontconfig keep their font caches and configuration for the life of the
// process and never free them; LeakSanitizer would report them at every
// exit of a process that drew a PNG or PDF. Their stacks end in the
// libraries (no frame pointers there), so the libraries are named. The name
// is the one LeakSanitizer looks for.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" const char* __lsan_default_suppressions() { return "leak:libcairo.so\nleak:libfontconfig.so\n"; }
