#include "settings/SettingsFile.h"

#include "settings/DataPaths.h"

namespace kelvra {
namespace {

constexpr const char* kSection = "INFO";

} // namespace

// Blanks around values are trimmed, as the profile functions trim them: the file may come from
// an installer or another program that writes "Language = Chinese".
SettingsFile::SettingsFile(const std::string& dataFolder)
    : m_ini(SettingsFilePath(dataFolder), IniBlanks::Trimmed) {}

bool SettingsFile::Exists() const {
    return IsExistingFile(m_ini.Path());
}

std::string SettingsFile::ReadLanguage() const {
    return m_ini.ReadString(kSection, "Language", "English");
}

void SettingsFile::WriteLanguage(const std::string& language) const {
    m_ini.WriteString(kSection, "Language", language);
}

std::string SettingsFile::ReadUserName() const {
    return m_ini.ReadString(kSection, "UserName", "");
}

void SettingsFile::WriteUserName(const std::string& userName) const {
    m_ini.WriteString(kSection, "UserName", userName);
}

bool SettingsFile::ReadRember() const {
    return m_ini.ReadBool(kSection, "Rember", false);
}

void SettingsFile::WriteRember(bool remember) const {
    m_ini.WriteBool(kSection, "Rember", remember);
}

std::string SettingsFile::ReadVersion() const {
    return m_ini.ReadString(kSection, "Version", kBuildVersion);
}

void SettingsFile::WriteVersion(const std::string& version) const {
    m_ini.WriteString(kSection, "Version", version);
}

std::string SettingsFile::ReadResetLanguage() const {
    return m_ini.ReadString(kSection, "reset_language", "0");
}

void SettingsFile::WriteResetLanguage(const std::string& value) const {
    m_ini.WriteString(kSection, "reset_language", value);
}

void SettingsFile::CreateWithDefaults() const {
    m_ini.WriteStrings({
        {kSection, "Language", "English"},
        {kSection, "UserName", ""},
        {kSection, "Rember", "0"},
        {kSection, "Version", kBuildVersion},
    });
}

} // namespace kelvra
