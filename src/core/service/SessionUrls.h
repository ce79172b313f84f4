#pragma once

#include <cstdint>
#include <string>

#include "state/AppState.h"

namespace kelvra {

// The machine identity sent with the two login checks.
struct MachineIdentity {
    std::string mac; // "XX-XX-XX-XX-XX-XX", empty when unknown
    std::string ip;  // dotted decimal, empty when unknown
};

// Addresses of the session requests. Every value is percent-encoded as one query value
// (EncodeQueryValue), so letters, digits and "-._~" appear unchanged and nothing can split the
// query. Base URLs are used as given (they end in "/").
std::string FullLoginCheckUrl(const std::string& xmlBase, const MachineIdentity& machine,
                              const std::string& username, const std::string& password);
std::string ReadOnlyLoginCheckUrl(const std::string& xmlBase, const MachineIdentity& machine,
                                  const std::string& username, const std::string& password);
std::string CountReportUrl(const std::string& xmlBase, const std::string& username,
                           const std::string& password, std::int32_t count);
std::string VipCountReportUrl(const std::string& xmlBase, const std::string& username,
                              const std::string& password, std::int32_t count);
std::string LogoutNoticeUrl(const std::string& xmlBase, const std::string& username,
                            const std::string& password);
// The switch-accounts form lives under the page base; its path keeps the double slash.
std::string SwitchAccountsLogoutUrl(const std::string& pageBase, const std::string& username,
                                    const std::string& password);

// Pages with session values, opened in a browser; built from state.pageBaseUrl, the session and
// the language name.
std::string MaxQueryPageUrl(const AppState& state);
std::string VipMaxQueryPageUrl(const AppState& state);
// "err.asp" for the language "Chinese", "err_en.asp" for any other.
std::string ServiceErrorPageUrl(const AppState& state);
std::string PurchasePageUrl(const AppState& state);
std::string ChangePasswordPageUrl(const AppState& state);

} // namespace kelvra
