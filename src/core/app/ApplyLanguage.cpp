#include "app/ApplyLanguage.h"

#include "settings/AtomicFile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "search/SearchKinds.h"
#include "settings/DataPaths.h"
#include "settings/LanguageFile.h"
#include "settings/LanguageTables.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "settings/WindowCaption.h"
#include "url/Endpoints.h"
#include "window/MainPage.h"

namespace kelvra {
namespace {

// The texts of the language file being applied, each with its built-in default.
class AppliedTexts {
public:
    AppliedTexts(const std::string& path, bool chinese) : m_reader(path), m_chinese(chinese) {}

    std::string Text(const char* section, const char* key) const {
        return m_reader.Text(section, key, BuiltInText(section, key, m_chinese));
    }
    std::string Function(const char* key) const { return Text("Function", key); }
    void Hold(std::map<std::string, std::string>& held, const char* section,
              const char* key) const {
        held[key] = Text(section, key);
    }

private:
    LanguageFileReader m_reader;
    bool m_chinese;
};

// Control names in text order ("Button1" before "Button2").
bool NameOrder(const char* a, const char* b) {
    return std::string_view(a) < std::string_view(b);
}

// Reads every text of the file back onto the window and into a new set of held texts.
void PutTextsOnView(AppState& state, LanguageView& view, const AppliedTexts& texts, bool chinese) {
    std::map<std::string, std::string> held;
    view.SetControlText("RzGroup1", texts.Function("Group1"));
    // Buttons and fields in the order of their names.
    std::vector<const char*> buttons;
    std::vector<const NumberSearch*> numberSearches;
    for (const NumberSearch& search : NumberSearches()) {
        buttons.push_back(search.button);
        numberSearches.push_back(&search);
    }
    for (const ListSearch& search : ListSearches()) {
        buttons.push_back(search.button);
    }
    std::sort(buttons.begin(), buttons.end(), NameOrder);
    for (const char* button : buttons) {
        view.SetControlText(button, texts.Function("Button"));
    }
    std::sort(
        numberSearches.begin(), numberSearches.end(),
        [](const NumberSearch* a, const NumberSearch* b) { return NameOrder(a->field, b->field); });
    for (const NumberSearch* search : numberSearches) {
        // The field's text and hint are always the same string; the fields rely on it.
        const std::string text = (chinese ? "" : " ") + texts.Function(search->hintKey);
        view.SetControlText(search->field, text);
        view.SetControlHint(search->field, text);
    }
    view.SetControlText("RzGroup2", texts.Function("Group2"));
    for (const char* key : {"rcb_1", "rcb_2", "rcb_3"}) {
        texts.Hold(held, "Function", key);
    }
    const auto title = [&](int kind) {
        const ListSearch& search = *ListSearchOf(kind);
        view.SetControlText(search.titleLabel, texts.Function(search.titleKey));
    };
    title(kSearchVehicleType);
    title(kSearchVehicleBrand);
    view.SetControlText("RzGroup3", texts.Function("Group3"));
    for (const char* key :
         {"rcb_4", "rcb_5", "message_tip", "err_message_oe", "err_message_item", "err_message_any",
          "err_message_tsh", "err_message_gjbm", "s_err_message_relogin", "s_err_message_nosearch",
          "message_update", "err_message_notconn"}) {
        texts.Hold(held, "Function", key);
    }
    title(kSearchEngineCode);
    title(kSearchEngineBrand);
    view.SetControlText("RzGroup4", texts.Function("Group4"));
    view.SetSideItemCaption(4, 0, texts.Function("G4_recomm"));
    view.SetControlText("RzGroup5", texts.Function("Group5"));
    int item = 0;
    for (const char* key : kOtherItemKeys) {
        view.SetSideItemCaption(5, item++, texts.Function(key));
    }
    view.SetControlText("Label5", texts.Function("err_dataerr"));
    texts.Hold(held, "Function", "err_vip");

    view.SetControlText("suiURLLabel1", " " + texts.Text("Status", "s_link"));
    texts.Hold(held, "Status", "connect_ok");
    texts.Hold(held, "Status", "connect_err");

    const std::string notLoggedIn = texts.Text("Title", "no_login");
    const std::string welcome = texts.Text("Title", "login");
    view.SetWindowCaption(CaptionWith(state, welcome, notLoggedIn));
    held["no_login"] = notLoggedIn;
    held["login"] = welcome;
    state.heldTexts = std::move(held);
}

} // namespace

void PrepareSettingsFiles(AppState& state) {
    const std::string& folder = state.dataFolder;
    CreateDataFolderQuietly(folder);
    SetHiddenQuietly(folder);
    // Only leftovers of the client's own files, and only in its own folders.
    if (!folder.empty()) {
        RemoveStaleTemporaries(folder, ".tmp-", {"kelvra_config.ini"});
        RemoveStaleTemporaries(LanguageFolderPath(folder), ".tmp-",
                               {kEnglishLanguageFile, kChineseLanguageFile});
    }

    const std::string english = LanguageFilePath(folder, kEnglishLanguageFile);
    if (!IsExistingFile(english)) {
        state.language = "English";
        CreateFolderQuietly(LanguageFolderPath(folder));
        WriteLanguageFile(english, false);
    }

    SettingsFile settings(folder);
    if (settings.Exists()) {
        state.language = settings.ReadLanguage();
        settings.WriteVersion(kBuildVersion);
    } else {
        settings.CreateWithDefaults();
    }

    SetHiddenQuietly(settings.Path());
    SetHiddenQuietly(LanguageFolderPath(folder));
}

void ApplyLanguage(AppState& state, LanguageView& view, const std::string& language) {
    const bool chinese = language == "Chinese";
    state.language = chinese ? "Chinese" : "English";

    // A file that cannot be written does not stop the language from being applied in memory:
    // the first failure is raised once everything else is done.
    std::optional<SettingsWriteError> failure;
    auto attempt = [&failure](const auto& write) {
        try {
            write();
        } catch (const SettingsWriteError& error) {
            if (!failure)
                failure = error;
        }
    };
    const SettingsFile settings(state.dataFolder);
    attempt([&] { settings.WriteLanguage(state.language); });
    const std::string reset = settings.ReadResetLanguage();

    const std::string path = LanguageFilePath(state.dataFolder, LanguageFileName(chinese));
    if (!IsExistingFile(path) || reset == "0") {
        attempt([&] { WriteLanguageFile(path, chinese); });
    }

    view.MakeTranslationsCurrent(chinese);
    PutTextsOnView(state, view, AppliedTexts(path, chinese), chinese);

    // The base URLs are in place before the lists are refilled: the list services are addressed
    // from the XML base URL, which is still empty at the first application.
    const Endpoints endpoints(state.serviceRoot);
    state.pageBaseUrl = endpoints.PageBase(chinese);
    state.xmlBaseUrl = endpoints.XmlBase();
    view.RefillLists();

    view.ShowPage(chinese ? kPageHomeChinese : kPageHomeEnglish);
    view.SetSideItemImage(5, 7, chinese ? 9 : 10);
    view.SetSideItemSelected(5, 7, false);
    if (failure)
        throw *failure;
}

bool FirstReportOf(AppState& state, const std::exception& error) {
    const auto* unwritable = dynamic_cast<const SettingsWriteError*>(&error);
    return unwritable == nullptr || state.reportedUnwritable.insert(unwritable->Path()).second;
}

} // namespace kelvra
