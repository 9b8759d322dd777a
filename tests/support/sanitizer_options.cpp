// Leak checking of the shell and editor tests. The SDL 1.2 compatibility library drops the
// screen surface that SDL_SetVideoMode made when SDL_Quit runs, and these tests start and quit
// SDL with the test game, as the program does. That one library leak is suppressed by name;
// finding its name needs full stacks, as the library is built without frame pointers.
extern "C" {
const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
const char* __lsan_default_suppressions() { return "leak:SDL_SetVideoMode\n"; }
}
