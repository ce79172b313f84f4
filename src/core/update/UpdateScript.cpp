#include "update/UpdateScript.h"

#include <optional>

#include "update/UpdateLists.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvra {
namespace {

// The text (in the program's narrow code page) in the code page cmd reads a batch file in: the
// OEM code page on Windows; nullopt when a character has no exact equivalent there.
std::optional<std::string> ToBatchCodePage(const std::string& text) {
#ifdef _WIN32
    if (text.empty()) {
        return text;
    }
    const int size = static_cast<int>(text.size());
    const int wideSize =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideSize <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wideSize);
    BOOL lossy = FALSE;
    const int oemSize = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                            nullptr, 0, nullptr, &lossy);
    if (oemSize <= 0 || lossy) {
        return std::nullopt;
    }
    std::string oem(static_cast<size_t>(oemSize), '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, oem.data(), oemSize,
                        nullptr, &lossy);
    return lossy ? std::nullopt : std::optional<std::string>(oem);
#else
    return text;
#endif
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string RunningMarkPath(const std::string& stagingFolder) {
    return stagingFolder + "\\.program-running";
}

std::string ScriptRunningMarkPath(const std::string& scriptPath) {
    return scriptPath + ".running";
}

bool IsBatchSafePath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        // cmd expands % (and ! under delayed expansion) and treats ^ & | < > " specially even
        // where a line quotes them badly; ? and * are wildcards to move and del; control
        // characters end or split a line.
        if (byte < 0x20 || byte == 0x7f || c == '%' || c == '^' || c == '&' || c == '"' ||
            c == '|' || c == '<' || c == '>' || c == '!' || c == '?' || c == '*') {
            return false;
        }
    }
    return true;
}

std::vector<std::string> WindowsUpdateScriptLines(const UpdateScriptRequest& request) {
    std::vector<std::string> paths = {request.exePath, ScriptRunningMarkPath(request.scriptPath),
                                      NotInstalledMarkPath(request.stagingFolder)};
    for (const SwapItem& item : request.items) {
        paths.push_back(item.staged);
        paths.push_back(item.target + kUpdateBackupSuffix);
    }
    for (const std::string& path : paths) {
        if (!IsBatchSafePath(path)) {
            return {};
        }
    }
    const std::string staging = Quoted(request.stagingFolder);
    const std::string gone = Quoted(request.stagingFolder + ".gone");
    const std::string notInstalled = Quoted(NotInstalledMarkPath(request.stagingFolder));
    const std::string rollback = Quoted(request.stagingFolder + "\\.rollback");
    const std::string begun = Quoted(request.stagingFolder + "\\.swap-begun");
    const std::string script = Quoted(request.scriptPath);
    const std::string running = Quoted(ScriptRunningMarkPath(request.scriptPath));
    std::vector<std::string> lines = {
        "@echo off",
        // The whole work runs with the running mark open (cmd opens a redirection shared for
        // reading and writing only): a start that can open it alone knows no script is at work.
        "call :run %1 > " + running,
        "del /f /q " + running + " >nul 2>nul & del " + script + " & goto :eof",
        ":run",
        "set tries=0",
        "if \"%~1\"==\"now\" goto swap",
        // The program's mark goes when its last handle closes, that is when the program ends (a
        // running executable itself can be renamed, and cmd under Wine reports no failed
        // redirection: only what exists can be relied on).
        ":wait",
        "if not exist " + Quoted(RunningMarkPath(request.stagingFolder)) + " goto swap",
        "set /a tries+=1",
        "if %tries% geq " + std::to_string(request.waitTries) + " goto giveup",
        "ping -n 2 127.0.0.1 >nul",
        "goto wait",
        ":swap",
        "if exist " + rollback + " goto back",
        "if exist " + begun + " goto steps",
    };
    // Backups an earlier update left would pass for this swap's and come back at a rollback:
    // they go first, and while one stays the swap does not begin.
    for (const SwapItem& item : request.items) {
        const std::string old = Quoted(item.target + kUpdateBackupSuffix);
        lines.push_back("del /f /q " + old + " >nul 2>nul");
        lines.push_back("if exist " + old + " goto giveup");
    }
    lines.push_back("type nul > " + begun);
    lines.push_back("if not exist " + begun + " goto giveup");
    lines.push_back(":steps");
    // Each step is checked by what exists afterwards, not by an exit status.
    for (const SwapItem& item : request.items) {
        const std::string staged = Quoted(item.staged);
        const std::string target = Quoted(item.target);
        const std::string old = Quoted(item.target + kUpdateBackupSuffix);
        lines.push_back("if exist " + staged + " if exist " + target + " if not exist " + old +
                        " move /y " + target + " " + old + " >nul");
        lines.push_back("if exist " + staged + " if exist " + target + " goto fail");
        lines.push_back("if exist " + staged + " move /y " + staged + " " + target + " >nul");
        lines.push_back("if exist " + staged + " goto fail");
    }
    lines.push_back("goto finish");
    lines.push_back(":fail");
    lines.push_back("type nul > " + rollback);
    lines.push_back(":back");
    for (auto item = request.items.rbegin(); item != request.items.rend(); ++item) {
        const std::string staged = Quoted(item->staged);
        const std::string target = Quoted(item->target);
        const std::string old = Quoted(item->target + kUpdateBackupSuffix);
        // A new file where there was none goes; an old file moved aside comes back.
        lines.push_back("if not exist " + old + " if not exist " + staged + " del /f /q " + target +
                        " >nul 2>nul");
        lines.push_back("if exist " + old + " move /y " + old + " " + target + " >nul");
    }
    // One rename ends the swap: to the not-installed mark, whose installed version the next
    // start gives back to the settings, or out of the way.
    lines.push_back(":giveup");
    lines.push_back("if exist " + staging + " move " + staging + " " + notInstalled + " >nul");
    lines.push_back("goto :eof");
    lines.push_back(":finish");
    lines.push_back("if exist " + staging + " move " + staging + " " + gone + " >nul");
    lines.push_back("if exist " + gone + " rd /s /q " + gone);
    return lines;
}

std::string BuildWindowsUpdateScript(const UpdateScriptRequest& request) {
    std::string script;
    for (const std::string& line : WindowsUpdateScriptLines(request)) {
        script += line + "\r\n";
    }
    return ToBatchCodePage(script).value_or(std::string());
}

bool ScriptCanNamePaths(const std::vector<std::string>& paths) {
#ifdef _WIN32
    for (const std::string& path : paths) {
        if (!IsBatchSafePath(path) || !ToBatchCodePage(path)) {
            return false;
        }
    }
#else
    (void)paths; // the shell script quotes any path
#endif
    return true;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string BuildPosixUpdateScript(const UpdateScriptRequest& request) {
    std::string script;
    script += "#!/bin/sh\n";
    script +=
        "# Moves a staged Kelvra update into the program folder once the program has ended.\n";
    script += "pid=" + std::to_string(request.waitPid) + "\n";
    script += "script=" + ShellQuote(request.scriptPath) + "\n";
    script += "staging=" + ShellQuote(request.stagingFolder) + "\n";
    script += "notinstalled=" + ShellQuote(NotInstalledMarkPath(request.stagingFolder)) + "\n";
    script +=
        R"SH(# The lock tells the next start that this script is at work (flock may be missing: then none).
exec 9<"$script" || exit 1
flock 9 2>/dev/null
alive() {
    kill -0 "$pid" 2>/dev/null || return 1
    # Shell built-ins only: the loop may wait for hours while the user keeps working.
    stat=
    read -r stat 2>/dev/null < "/proc/$pid/stat"
    state=${stat##*) }
    [ "${state%% *}" = Z ] && return 1
    return 0
}
if [ "$1" != now ]; then
    while alive; do
        sleep 0.1 2>/dev/null || sleep 1
    done
fi
# put STAGED TARGET: the old file aside (once), the new one in; nothing when it is in already.
put() {
    [ -e "$1" ] || return 0
    if [ -e "$2" ] && [ ! -e "$2.kelvra-old" ]; then
        mv -fT "$2" "$2.kelvra-old" || return 1
    fi
    mv -fT "$1" "$2"
}
# back STAGED TARGET: a new file where there was none goes, an old file moved aside comes back.
back() {
    if [ -e "$2.kelvra-old" ]; then
        mv -fT "$2.kelvra-old" "$2"
    elif [ ! -e "$1" ]; then
        rm -f "$2"
    fi
}
if [ -d "$staging" ]; then
    refused=
    if [ ! -e "$staging/.rollback" ] && [ ! -e "$staging/.swap-begun" ]; then
        # Backups an earlier update left would pass for this swap's and come back at a rollback:
        # they go first, and while one stays the swap does not begin.
        for old in)SH";
    for (const SwapItem& item : request.items) {
        script += " " + ShellQuote(item.target + kUpdateBackupSuffix);
    }
    script += R"SH(; do
            rm -f "$old"
            if [ -e "$old" ]; then refused=1; fi
        done
        [ -n "$refused" ] || true > "$staging/.swap-begun" || refused=1
    fi
    if [ -z "$refused" ] && [ ! -e "$staging/.rollback" ]; then
        { :)SH";
    for (const SwapItem& item : request.items) {
        script += " && put " + ShellQuote(item.staged) + " " + ShellQuote(item.target);
    }
    script += R"SH(; } || : > "$staging/.rollback"
    fi
    if [ -e "$staging/.rollback" ]; then
)SH";
    for (auto item = request.items.rbegin(); item != request.items.rend(); ++item) {
        script +=
            "        back " + ShellQuote(item->staged) + " " + ShellQuote(item->target) + "\n";
    }
    script += R"SH(    fi
    # One rename ends the swap: to the not-installed mark, whose installed version the next
    # start gives back to the settings, or (renamed first, so that a kill during the removal
    # never leaves half a staging folder) out of the way.
    if [ -n "$refused" ] || [ -e "$staging/.rollback" ]; then
        mv -fT "$staging" "$notinstalled"
    else
        mv -fT "$staging" "$staging.gone"
    fi
fi
rm -rf "$staging.gone"
rm -f "$script"
)SH";
    return script;
}

} // namespace kelvra
