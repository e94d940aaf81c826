// Fontconfig, and under X SDL2 with Xlib, keep caches for the life of the process that they never
// free; LeakSanitizer would report them at every exit of a test process that drew text or opened
// a window.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libX11.so\n"
         "leak:libXext.so\n"
         "leak:libXcursor.so\n"
         "leak:libXi.so\n"
         "leak:libXrandr.so\n"
         "leak:libSDL2-2.0.so\n"
         "leak:libdbus-1.so\n";
}
