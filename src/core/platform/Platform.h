#pragma once

#include <functional>
#include <string>

namespace kelvra {

// Drive types as the Windows drive-type query reports them.
enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// The data folder rule over a drive-type query: the first fixed drive of "A:\" .. "Z:\" followed
// by "Program Files\kelvra"; empty when no drive is fixed.
std::string FindDataFolder(const std::function<DriveType(const std::string& root)>& driveType);

// The data folder on this platform: $KELVRA_DATA_DIR when set, else $XDG_DATA_HOME/kelvra, else
// ~/.local/share/kelvra (on Windows: FindDataFolder over GetDriveTypeA). Never empty on POSIX.
std::string FindDataFolder();

// A network connection exists (an interface other than loopback is up, or the service host is on
// loopback). False when $KELVRA_NETWORK_STATE_FILE names a file whose first word is "down".
bool InternetConnected();
// A network adapter exists; same override as above.
bool NetworkPresent();

// The first non-loopback adapter's hardware address as "XX-XX-XX-XX-XX-XX"; empty when none.
std::string GetMacAddress();

// The first IPv4 address the host name resolves to, dotted decimal; empty when it resolves to none.
std::string LocalIpAddress();

// Full path of the running executable; empty when the platform cannot tell.
std::string ExePath();

// This user may create and replace files in the folder. False when it does not exist.
bool FolderWritable(const std::string& folder);

// Holds the program's single-instance lock for the life of the object.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const std::string& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // False when another process already holds a lock of this name.
    bool Acquired() const { return m_acquired; }

private:
    int m_fd = -1;
    bool m_acquired = false;
};

} // namespace kelvra
