#pragma once

#include <string>

#include "settings/IniFile.h"
#include "state/Version.h"

namespace kelvra {

// The settings file "kelvra_config.ini" of the data folder, section INFO. Each accessor opens the
// file, reads or writes its key and releases it. Readers give the key's default when the file or
// key is missing; writers throw SettingsWriteError("Unable to write to <path>") on failure.
class SettingsFile {
public:
    explicit SettingsFile(const std::string& dataFolder);

    const std::string& Path() const { return m_ini.Path(); }
    // True when the settings file exists as a regular file.
    bool Exists() const;

    // Language: "Chinese" or "English" (any other text is kept as it is); default "English".
    std::string ReadLanguage() const;
    void WriteLanguage(const std::string& language) const;

    // UserName: the remembered user name; default empty.
    std::string ReadUserName() const;
    void WriteUserName(const std::string& userName) const;

    // Rember: the Remember box; default false, a value that is not a number reads as false.
    bool ReadRember() const;
    void WriteRember(bool remember) const;

    // Version: the installed version; default the build's version.
    std::string ReadVersion() const;
    void WriteVersion(const std::string& version) const;

    // reset_language: "0" (or missing) makes every language application rewrite the language
    // file; default "0".
    std::string ReadResetLanguage() const;
    void WriteResetLanguage(const std::string& value) const;

    // A new settings file: Language "English", UserName empty, Rember "0", Version the build's
    // version, in this order, written at once. Throws SettingsWriteError on failure.
    void CreateWithDefaults() const;

private:
    IniFile m_ini;
};

} // namespace kelvra
