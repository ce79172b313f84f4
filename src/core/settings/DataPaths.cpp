#include "settings/DataPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvra {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

} // namespace

std::string JoinDataPath(const std::string& folder, std::string_view relative) {
    std::string path = folder;
    path += kSeparator;
    path += relative;
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(folder.size()), path.end(), '/',
                 kSeparator);
    return path;
}

std::string SettingsFilePath(const std::string& dataFolder) {
    return JoinDataPath(dataFolder, "kelvra_config.ini");
}

std::string LanguageFolderPath(const std::string& dataFolder) {
    return JoinDataPath(dataFolder, "Language");
}

std::string LanguageFilePath(const std::string& dataFolder, std::string_view fileName) {
    return JoinDataPath(dataFolder, "Language/" + std::string(fileName));
}

std::string UpdateScriptPath(const std::string& dataFolder) {
#ifdef _WIN32
    return JoinDataPath(dataFolder, "$$update.bat");
#else
    return JoinDataPath(dataFolder, "$$update.sh");
#endif
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

bool IsExistingFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void CreateFolderQuietly(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directory(path, ignored);
}

void CreateDataFolderQuietly(const std::string& path) {
#ifdef _WIN32
    CreateFolderQuietly(path);
#else
    if (path.empty()) {
        return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
#endif
}

void SetHiddenQuietly(const std::string& path) {
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
    (void)path;
#endif
}

} // namespace kelvra
