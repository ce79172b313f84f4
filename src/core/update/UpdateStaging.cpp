#include "update/UpdateStaging.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsFile.h"
#include "text/Ascii.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvra {
namespace {

namespace fs = std::filesystem;

// The running build's machine in ELF and PE terms; 0 where this file does not know it (the
// format and word size are then still checked).
#if defined(__x86_64__) || defined(_M_X64)
constexpr std::uint16_t kElfMachine = 62;    // EM_X86_64
constexpr std::uint16_t kPeMachine = 0x8664; // IMAGE_FILE_MACHINE_AMD64
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr std::uint16_t kElfMachine = 183; // EM_AARCH64
constexpr std::uint16_t kPeMachine = 0xaa64;
#elif defined(__i386__) || defined(_M_IX86)
constexpr std::uint16_t kElfMachine = 3; // EM_386
constexpr std::uint16_t kPeMachine = 0x14c;
#else
constexpr std::uint16_t kElfMachine = 0;
constexpr std::uint16_t kPeMachine = 0;
#endif
constexpr bool k64Bit = sizeof(void*) == 8;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

std::string ElfMismatch(std::string_view bytes) {
    if (bytes.size() < 64 || bytes.substr(0, 4) != std::string_view("\x7f"
                                                                    "ELF",
                                                                    4)) {
        return "not an ELF executable or library";
    }
    if (bytes[4] != (k64Bit ? 2 : 1)) {
        return k64Bit ? "a 32-bit ELF file in a 64-bit build"
                      : "a 64-bit ELF file in a 32-bit build";
    }
    if (bytes[5] != 1) { // every machine this program is built for is little-endian
        return "a big-endian ELF file";
    }
    const std::uint32_t type = LittleEndian(bytes, 16, 2);
    if (type != 2 && type != 3) { // ET_EXEC, ET_DYN
        return "an ELF file that is neither an executable nor a library";
    }
    const std::uint32_t machine = LittleEndian(bytes, 18, 2);
    if (kElfMachine != 0 && machine != kElfMachine) {
        return "an ELF file for another machine (" + std::to_string(machine) + ")";
    }
    return {};
}

std::string PeMismatch(std::string_view bytes) {
    if (bytes.size() < 0x40 || bytes.substr(0, 2) != "MZ") {
        return "not a Windows executable or library";
    }
    const std::uint32_t header = LittleEndian(bytes, 0x3c, 4);
    if (header > bytes.size() || bytes.size() - header < 26 ||
        bytes.substr(header, 4) != std::string_view("PE\0\0", 4)) {
        return "a DOS program without a Windows header";
    }
    const std::uint32_t machine = LittleEndian(bytes, header + 4, 2);
    if (kPeMachine != 0 && machine != kPeMachine) {
        return "a Windows file for another machine (" + std::to_string(machine) + ")";
    }
    const std::uint32_t magic = LittleEndian(bytes, header + 24, 2);
    if (magic != (k64Bit ? 0x20bu : 0x10bu)) {
        return k64Bit ? "a 32-bit Windows file in a 64-bit build"
                      : "a 64-bit Windows file in a 32-bit build";
    }
    return {};
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && AsciiLower(text.substr(text.size() - tail.size())) == tail;
}

} // namespace

std::filesystem::path FileSystemPath(const std::string& path) {
#ifdef _WIN32
    const int size = static_cast<int>(path.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) {
        MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), needed);
    }
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(path);
#endif
}

std::string StagingFolder(const std::string& programFolder) {
    return PathInFolder(programFolder, kStagingFolderName);
}

std::string InstalledVersionPath(const std::string& stagingFolder) {
    return PathInFolder(stagingFolder, ".installed-version");
}

std::string NotInstalledMarkPath(const std::string& stagingFolder) {
    return stagingFolder + ".not-installed";
}

void WriteVersionOfStagedUpdate(const std::string& dataFolder, const std::string& programFolder,
                                const std::string& version) {
    const SettingsFile settings(dataFolder);
    if (!programFolder.empty()) {
        WriteFileAtomically(InstalledVersionPath(StagingFolder(programFolder)),
                            settings.ReadVersion());
    }
    settings.WriteVersion(version);
}

bool IsBinaryFileName(std::string_view name, bool isMainProgram) {
    return isMainProgram || EndsWithNoCase(name, ".so") || EndsWithNoCase(name, ".exe") ||
           EndsWithNoCase(name, ".dll") || name.find(".so.") != std::string_view::npos;
}

std::string BinaryMismatch(std::string_view bytes) {
#ifdef _WIN32
    return PeMismatch(bytes);
#else
    return ElfMismatch(bytes);
#endif
}

std::string ContentProblem(std::string_view tempName, bool isMainProgram, std::string_view bytes,
                           bool endDeclared) {
    if (bytes.empty()) {
        return "empty file";
    }
    if (!IsBinaryFileName(tempName, isMainProgram)) {
        return {};
    }
    if (!endDeclared) {
        return "an executable or library sent without a length: a cut would go unnoticed";
    }
    return BinaryMismatch(bytes);
}

bool RemoveStagingFolder(const std::string& programFolder) {
    if (programFolder.empty()) {
        return true;
    }
    std::error_code error;
    fs::remove_all(FileSystemPath(StagingFolder(programFolder)), error);
    return !fs::exists(FileSystemPath(StagingFolder(programFolder)), error);
}

void RemoveUpdateBackups(const std::string& dataFolder, const std::string& programFolder) {
    std::error_code error;
    if (programFolder.empty() || IsExistingFile(UpdateScriptPath(dataFolder)) ||
        fs::exists(FileSystemPath(StagingFolder(programFolder)), error)) {
        return; // a swap may still need its backups
    }
    for (fs::directory_iterator it(FileSystemPath(programFolder), error), end; !error && it != end;
         it.increment(error)) {
        const std::u8string name = it->path().filename().u8string();
        if (EndsWithNoCase(
                std::string_view(reinterpret_cast<const char*>(name.data()), name.size()),
                kUpdateBackupSuffix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

} // namespace kelvra
