#include "service/SessionUrls.h"

#include "url/Endpoints.h"

namespace kelvra {
namespace {

std::string Enc(const std::string& value) {
    return EncodeQueryValue(value);
}

std::string LoginCheckUrl(const std::string& xmlBase, const MachineIdentity& machine,
                          const std::string& username, const std::string& password) {
    return xmlBase + "get_login_status.asp?mac=" + Enc(machine.mac) + "&IP=" + Enc(machine.ip) +
           "&username=" + Enc(username) + "&password=" + Enc(password);
}

std::string UserQuery(const std::string& username, const std::string& password) {
    return "username=" + Enc(username) + "&password=" + Enc(password);
}

} // namespace

std::string FullLoginCheckUrl(const std::string& xmlBase, const MachineIdentity& machine,
                              const std::string& username, const std::string& password) {
    return LoginCheckUrl(xmlBase, machine, username, password);
}

std::string ReadOnlyLoginCheckUrl(const std::string& xmlBase, const MachineIdentity& machine,
                                  const std::string& username, const std::string& password) {
    return LoginCheckUrl(xmlBase, machine, username, password) + "&read_only=1";
}

std::string CountReportUrl(const std::string& xmlBase, const std::string& username,
                           const std::string& password, std::int32_t count) {
    return xmlBase + "set_search_num.asp?" + UserQuery(username, password) +
           "&searchnum=" + std::to_string(count);
}

std::string VipCountReportUrl(const std::string& xmlBase, const std::string& username,
                              const std::string& password, std::int32_t count) {
    return xmlBase + "set_search_num_vip.asp?" + UserQuery(username, password) +
           "&searchnum_vip=" + std::to_string(count);
}

std::string LogoutNoticeUrl(const std::string& xmlBase, const std::string& username,
                            const std::string& password) {
    return xmlBase + "set_login_out.asp?" + UserQuery(username, password);
}

std::string SwitchAccountsLogoutUrl(const std::string& pageBase, const std::string& username,
                                    const std::string& password) {
    return pageBase + "/search/xml/set_login_out.asp?" + UserQuery(username, password);
}

std::string MaxQueryPageUrl(const AppState& state) {
    const Session& s = state.session;
    return state.pageBaseUrl + "search/maxquery.asp?username=" + Enc(s.username) +
           "&lan=" + Enc(state.language) + "&searchnum=" + std::to_string(s.search_num) +
           "&Gid=" + Enc(s.gid);
}

std::string VipMaxQueryPageUrl(const AppState& state) {
    const Session& s = state.session;
    return state.pageBaseUrl + "search/maxquery_vip.asp?username=" + Enc(s.username) +
           "&lan=" + Enc(state.language) + "&searchnum=" + std::to_string(s.search_num_vip) +
           "&Gid=" + Enc(s.gid);
}

std::string ServiceErrorPageUrl(const AppState& state) {
    return state.pageBaseUrl + (state.IsChinese() ? "err.asp" : "err_en.asp");
}

std::string PurchasePageUrl(const AppState& state) {
    return state.pageBaseUrl + "reg/go_to_buy.asp?uid=" + Enc(state.session.gid) +
           "&lan=" + Enc(state.language);
}

std::string ChangePasswordPageUrl(const AppState& state) {
    return state.pageBaseUrl + "setPassword.asp?uid=" + Enc(state.session.gid) +
           "&lan=" + Enc(state.language);
}

} // namespace kelvra
