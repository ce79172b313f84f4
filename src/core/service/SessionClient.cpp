#include "service/SessionClient.h"

#include <utility>

#include "platform/Platform.h"
#include "service/SessionReply.h"
#include "service/SessionRules.h"
#include "service/XmlDocument.h"
#include "settings/WindowCaption.h"

namespace kelvra {
namespace {

SessionResult Ok() {
    return SessionResult{SessionOutcome::Positive, {}};
}
SessionResult Negative() {
    return SessionResult{SessionOutcome::Negative, {}};
}
SessionResult Failure(std::string why) {
    return SessionResult{SessionOutcome::Failed, std::move(why)};
}

} // namespace

MachineIdentity ReadThisMachine() {
    return MachineIdentity{GetMacAddress(), LocalIpAddress()};
}

SessionClient::SessionClient(AppState& state, HttpTransport& transport, MachineIdentity machine,
                             HttpRequestOptions options)
    : SessionClient(
          state, transport, [machine = std::move(machine)] { return machine; },
          std::move(options)) {}

SessionClient::SessionClient(AppState& state, HttpTransport& transport,
                             MachineIdentitySource machine, HttpRequestOptions options)
    : m_state(state), m_transport(transport), m_source(std::move(machine)),
      m_options(std::move(options)) {}

const MachineIdentity& SessionClient::ReadMachine() {
    m_machine = m_source ? m_source() : MachineIdentity{};
    return m_machine;
}

SessionResult SessionClient::Fetch(const std::string& url, XmlElement& root) {
    XmlLoadResult document = LoadXml(m_transport, url, m_options);
    if (document.failed()) {
        // The loader's message may quote the URL, which holds the password: keep it out.
        return Failure("session request failed or its reply is not a well-formed document");
    }
    root = std::move(document.root);
    return Ok();
}

SessionResult SessionClient::FetchIgnoringContent(const std::string& url) {
    XmlElement root;
    return Fetch(url, root);
}

SessionResult SessionClient::FullLoginCheck(const std::string& username,
                                            const std::string& password,
                                            const CaptionSink& setCaption) {
    XmlElement root;
    SessionResult fetched =
        Fetch(FullLoginCheckUrl(m_state.xmlBaseUrl, ReadMachine(), username, password), root);
    if (fetched.failed()) {
        return fetched;
    }
    Session& session = m_state.session;
    auto showCaption = [&] {
        if (setCaption) {
            setCaption(CaptionFor(m_state));
        }
    };
    if (!IsPositiveReply(root)) {
        ApplyNegativeLogin(session);
        showCaption();
        return Negative();
    }
    session.username = username;
    session.password = password;
    if (SessionResult read = ReadAllUserInfo(root, LoginCheckKind::Full, session, showCaption);
        read.failed()) {
        return read;
    }
    if (NeedsCountSync(session)) {
        SessionResult report = SendCountReport(username, password, session.search_num);
        if (report.failed()) {
            return report;
        }
    }
    return Ok();
}

SessionResult SessionClient::ReadOnlyLoginCheck() {
    Session& session = m_state.session;
    XmlElement root;
    SessionResult fetched = Fetch(ReadOnlyLoginCheckUrl(m_state.xmlBaseUrl, ReadMachine(),
                                                        session.username, session.password),
                                  root);
    if (fetched.failed()) {
        return fetched;
    }
    if (!IsPositiveReply(root)) {
        return Negative();
    }
    if (SessionResult read = ReadAllUserInfo(root, LoginCheckKind::ReadOnly, session);
        read.failed()) {
        return read;
    }
    return Ok();
}

SessionResult SessionClient::SendCountReport(const std::string& username,
                                             const std::string& password, std::int32_t count) {
    return FetchIgnoringContent(CountReportUrl(m_state.xmlBaseUrl, username, password, count));
}

SessionResult SessionClient::SendVipCountReport(std::int32_t count) {
    const Session& session = m_state.session;
    return FetchIgnoringContent(
        VipCountReportUrl(m_state.xmlBaseUrl, session.username, session.password, count));
}

QuotaOutcome SessionClient::ApplyOrdinaryQuota() {
    Session& session = m_state.session;
    if (!MayCountOrdinary(session)) {
        return QuotaOutcome::Refused;
    }
    session.search_num += 1;
    SessionResult report = SendCountReport(session.username, session.password, session.search_num);
    return report.failed() ? QuotaOutcome::Failed : QuotaOutcome::Counted;
}

QuotaOutcome SessionClient::ApplyVipQuota() {
    Session& session = m_state.session;
    if (!MayCountVip(session)) {
        return QuotaOutcome::Refused;
    }
    session.search_num_vip += 1;
    SessionResult report = SendVipCountReport(session.search_num_vip);
    return report.failed() ? QuotaOutcome::Failed : QuotaOutcome::Counted;
}

SessionResult SessionClient::SendLogoutNotice() {
    const Session& session = m_state.session;
    return FetchIgnoringContent(
        LogoutNoticeUrl(m_state.xmlBaseUrl, session.username, session.password));
}

SessionResult SessionClient::SendSwitchAccountsLogout() {
    const Session& session = m_state.session;
    return FetchIgnoringContent(
        SwitchAccountsLogoutUrl(m_state.pageBaseUrl, session.username, session.password));
}

} // namespace kelvra
