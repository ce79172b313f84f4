#pragma once

#include <string>
#include <vector>

namespace kelvra {

// How the kernel came by an adapter's hardware address (Linux addr_assign_type).
enum class AddressOrigin {
    Permanent, // burnt in
    Random,    // made up by the kernel, or a privacy address that changes per boot or network
    Stolen,    // taken from another device
    SetByUser, // set on purpose by the administrator
    Unknown,   // not reported
};

// One network adapter as the machine reports it.
struct NetworkAdapter {
    std::string name;
    int index = 0; // interface index; lower first
    bool loopback = false;
    bool up = false;             // administratively up
    bool carrier = false;        // link detected; for a bridge: one of its ports has a carrier
    bool hasIpAddress = false;   // holds an IPv4 or IPv6 address
    std::string hardwareAddress; // "XX-XX-XX-XX-XX-XX", empty when none or all zero
    AddressOrigin origin = AddressOrigin::Unknown;
};

// The machine address among the adapters: the hardware address of the first one by index that
// is up, has a carrier and a permanent or user-set address; else the first up one whose address
// is not random; else the first one with an address at all. Loopback never counts. Empty when no
// adapter has an address.
std::string ChooseMachineAddress(std::vector<NetworkAdapter> adapters);

// A network is there: some adapter other than loopback is up, has a carrier and an IP address.
bool AnyAdapterConnected(const std::vector<NetworkAdapter>& adapters);

// Some adapter other than loopback exists.
bool AnyAdapterPresent(const std::vector<NetworkAdapter>& adapters);

// The adapters described by a text, one per line, for tests and demos that need a machine of a
// given shape: the name, then words "index=N", "up", "carrier", "ip", "loopback",
// "mac=XX:XX:XX:XX:XX:XX" and "origin=0|1|2|3" (the kernel's numbers). Unknown words and
// malformed values are ignored; lines starting with '#' are comments.
std::vector<NetworkAdapter> ParseAdapterList(const std::string& text);

// This machine's adapters: from the file named by $KELVRA_NETWORK_ADAPTERS_FILE when that is
// set (ParseAdapterList; a missing file gives none), else from the system. Empty when the system
// cannot list them.
std::vector<NetworkAdapter> ReadNetworkAdapters();

} // namespace kelvra
