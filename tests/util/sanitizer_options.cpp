// Tests provoke allocation failures with sizes no 32-bit process can have.
// The sanitizer's allocator would abort on them; let it answer null as the
// ordinary allocator does.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#endif
