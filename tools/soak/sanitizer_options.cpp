// Leak checking of the soak run. The SDL 1.2 compatibility library drops the screen surface
// that SDL_SetVideoMode made when SDL_Quit runs; that one library leak is suppressed by name.
// Finding its name needs full stacks, as the library is built without frame pointers.
extern "C" {
const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
const char* __lsan_default_suppressions() { return "leak:SDL_SetVideoMode\n"; }
}
