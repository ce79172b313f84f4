// A second Windows process for the tests.
//   lock NAME    takes the single-instance lock NAME; exit code 0 when it was free, 3 when not.
//   wait EVENT   runs until the named event is set (at most a minute), then ends with 0.
#include <windows.h>

#include <string>

#include "platform/Platform.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "lock") {
        const kelvra::SingleInstanceLock lock(argv[2]);
        return lock.Acquired() ? 0 : 3;
    }
    if (mode == "wait") {
        HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
        if (event == nullptr) {
            return 4;
        }
        WaitForSingleObject(event, 60000);
        CloseHandle(event);
        return 0;
    }
    return 2;
}
