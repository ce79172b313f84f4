#pragma once

namespace kelvra::ui {

// The program's check of itself, run by an update on the new program before it is installed:
// with its libraries loaded (the dynamic loader did that before main), the web engine module is
// loaded from the program's own folder, else from `programFolder` (the folder it will be
// installed in) or the library folder beside either, and its entry point resolved. No window,
// no lock, no file written. Returns the exit status: 0 when the module loaded, 1 when not.
int RunSelfTest(const char* programFolder);

} // namespace kelvra::ui
