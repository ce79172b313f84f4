#include "update/VersionCheck.h"

#include <filesystem>
#include <memory>

#include "platform/Platform.h"
#include "service/HttpTransport.h"
#include "settings/LanguageTables.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "update/VersionCompare.h"

namespace kelvra {

PublishedVersion ReadPublishedVersion(const XmlLoadResult& reply) {
    PublishedVersion result;
    if (reply.failed()) {
        result.failed = true;
        return result;
    }
    const XmlElement* returnValue = reply.root.FirstChild("returnValue");
    if (returnValue == nullptr || returnValue->text != "true") {
        return result;
    }
    for (const XmlElement& child : reply.root.children) {
        if (child.name != "version") {
            continue;
        }
        const std::string* nowVersion = child.Attribute("now_version");
        if (nowVersion == nullptr) {
            return PublishedVersion{true, {}};
        }
        result.version = *nowVersion;
    }
    return result;
}

VersionOutcome DecideVersionOutcome(const std::string& installed, const std::string& published) {
    const int order = CompareVersions(published, installed);
    if (order > 0) {
        return VersionOutcome::AskUpdate;
    }
    return order < 0 ? VersionOutcome::ResetVersion : VersionOutcome::Nothing;
}

VersionCheckServices VersionCheckServices::Defaults() {
    VersionCheckServices services;
    services.networkOnline = [] { return InternetConnected() && NetworkPresent(); };
    auto transport = std::shared_ptr<HttpTransport>(MakeCurlTransport());
    services.loadXml = [transport](const std::string& url) { return LoadXml(*transport, url); };
    services.programReplaceable = [] {
        const std::string program = ExePath();
        if (program.empty())
            return true; // cannot tell: let the update try and report what fails
        return FolderWritable(std::filesystem::path(program).parent_path().string());
    };
    return services;
}

std::string NotConnectedText(const AppState& state) {
    return state.Held("err_message_notconn",
                      BuiltInText("Function", "err_message_notconn", state.IsChinese()));
}

std::string UpdateQuestionText(const AppState& state) {
    return state.Held("message_update",
                      BuiltInText("Function", "message_update", state.IsChinese()));
}

VersionCheckResult RunVersionCheck(const AppState& state, VersionCheckView& view,
                                   const VersionCheckServices& services) {
    VersionCheckResult result;
    const SettingsFile settings(state.dataFolder);
    const std::string installed = settings.ReadVersion();
    if (!services.networkOnline()) {
        result.outcome = VersionOutcome::NoNetwork;
        view.ShowMessage(NotConnectedText(state), "TIP");
        return result;
    }
    const PublishedVersion published =
        ReadPublishedVersion(services.loadXml(state.xmlBaseUrl + "get_version.asp"));
    if (published.failed) {
        result.errorPage = true;
        view.ShowErrorPage();
    }
    result.published = published.version;
    result.outcome = DecideVersionOutcome(installed, published.version);
    switch (result.outcome) {
    case VersionOutcome::AskUpdate:
        if (services.programReplaceable && !services.programReplaceable()) {
            result.updateBlocked = true;
            break;
        }
        result.updateAccepted = view.AskYesNo(UpdateQuestionText(state), " ");
        if (result.updateAccepted) {
            view.ShowUpdateWindow();
        }
        break;
    case VersionOutcome::ResetVersion:
        try {
            settings.WriteVersion(kBuildVersion);
            settings.WriteResetLanguage("0");
        } catch (const SettingsWriteError& error) {
            view.ReportError(error.what());
        }
        break;
    case VersionOutcome::NoNetwork:
    case VersionOutcome::Nothing:
        break;
    }
    return result;
}

} // namespace kelvra
