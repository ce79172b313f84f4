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

// A network connection exists: an adapter other than loopback is up, has a carrier (a bridge: one
// of its ports has one) and an IP address, or the service host is on loopback. False when
// $KELVRA_NETWORK_STATE_FILE names a file whose first word is "down".
bool InternetConnected();
// A network adapter exists; same override as above.
bool NetworkPresent();

// The machine address "XX-XX-XX-XX-XX-XX" as ChooseMachineAddress picks it among this machine's
// adapters (first up adapter with a carrier and a permanent or user-set address); read anew at
// each call. Empty when no adapter has a hardware address.
std::string GetMacAddress();

// The IPv4 address of this machine that the service host is reached through (the source address
// the kernel picks; no packet is sent), else the first one the host name resolves to; dotted
// decimal, read anew at each call. Empty when neither gives one.
std::string LocalIpAddress();

// Full path of the running executable; empty when the platform cannot tell.
std::string ExePath();

// This user may create and replace files in the folder. False when it does not exist.
bool FolderWritable(const std::string& folder);

// Where the running copy listens for a second copy of this user (a local socket path beside the
// single-instance lock, or a pipe name on Windows). Never empty.
std::string InstanceChannelName(const std::string& name);

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
