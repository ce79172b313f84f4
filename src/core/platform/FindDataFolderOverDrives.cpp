#include "platform/Platform.h"

namespace kelvra {

std::string FindDataFolder(const std::function<DriveType(const std::string& root)>& driveType) {
    if (!driveType) {
        return {};
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (driveType(root) == DriveType::Fixed) {
            return root + "Program Files\\kelvra";
        }
    }
    return {};
}

} // namespace kelvra
