#pragma once

#include <string>
#include <string_view>

namespace kelvra {

// Joins a path below the data folder. `relative` uses "/" between its parts; the result uses the
// platform's separator ("\" on Windows, "/" elsewhere). An empty folder gives a path from the root.
std::string JoinDataPath(const std::string& folder, std::string_view relative);

// The files and folders kept in the data folder.
std::string SettingsFilePath(const std::string& dataFolder);   // ".../kelvra_config.ini"
std::string LanguageFolderPath(const std::string& dataFolder); // ".../Language"
std::string LanguageFilePath(const std::string& dataFolder, std::string_view fileName);
std::string UpdateScriptPath(const std::string& dataFolder); // "$$update.bat" or "$$update.sh"

// Folder + separator + name ("\" on Windows, "/" elsewhere).
std::string PathInFolder(const std::string& folder, const std::string& name);
// The folder part of a path (no trailing separator, the root kept as "/"); "." when there is none.
std::string FolderOfPath(const std::string& path);

// True when the path names an existing regular file; a directory of that name does not count.
bool IsExistingFile(const std::string& path);

// Creates one directory; its parent must exist. An existing directory or a failure is ignored.
void CreateFolderQuietly(const std::string& path);

// Creates the data folder. On Windows one directory as on every start; elsewhere the missing
// parents too, since a fresh account may lack ~/.local/share. Failures are ignored.
void CreateDataFolderQuietly(const std::string& path);

// Sets the file attributes to exactly "hidden" on Windows; elsewhere nothing to do (the data
// folder sits in a hidden tree). Failures are ignored.
void SetHiddenQuietly(const std::string& path);

} // namespace kelvra
