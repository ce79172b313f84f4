#include "update/UpdateScript.h"

#include "update/UpdateLists.h"

namespace kelvra {
namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

bool IsBatchSafePath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        // cmd expands % and treats ^ & | < > " specially even where a line quotes them badly;
        // control characters end or split a line.
        if (byte < 0x20 || byte == 0x7f || c == '%' || c == '^' || c == '&' || c == '"' ||
            c == '|' || c == '<' || c == '>') {
            return false;
        }
    }
    return true;
}

std::vector<std::string> WindowsUpdateScriptLines(const std::string& exePath,
                                                  const std::string& exeFolder,
                                                  const std::string& mainProgram,
                                                  const std::string& scriptPath) {
    const std::string newPath = exeFolder + "\\" + mainProgram;
    if (!IsBatchSafePath(exePath) || !IsBatchSafePath(scriptPath) || !IsBatchSafePath(newPath) ||
        !IsPlainFileName(mainProgram)) {
        return {};
    }
    const std::string exe = Quoted(exePath);
    const std::string old = Quoted(exePath + kOldExecutableSuffix);
    const std::string main = Quoted(newPath);
    // The old executable is kept beside until the new one is in place, and put back when the
    // copy fails: at every moment one whole executable exists under one of the two names.
    return {
        "copy /b /y " + exe + " " + old,
        "if errorlevel 1 goto done",
        ":try",
        "del " + exe,
        "if exist " + exe + " goto try",
        "copy /b /y " + main + " " + exe,
        "if errorlevel 1 goto restore",
        "del " + main,
        "del " + old,
        "goto done",
        ":restore",
        "del " + exe,
        "move /y " + old + " " + exe,
        ":done",
        "del " + Quoted(scriptPath),
    };
}

std::string BuildWindowsUpdateScript(const std::string& exePath, const std::string& exeFolder,
                                     const std::string& mainProgram,
                                     const std::string& scriptPath) {
    std::string script;
    for (const std::string& line :
         WindowsUpdateScriptLines(exePath, exeFolder, mainProgram, scriptPath)) {
        script += line + "\r\n";
    }
    return script;
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

std::string BuildPosixUpdateScript(long waitPid, const std::string& exePath,
                                   const std::string& newFilePath, const std::string& scriptPath) {
    std::string script;
    script += "#!/bin/sh\n";
    script += "# Puts the downloaded Kelvra executable in place once the program has ended.\n";
    script += "pid=" + std::to_string(waitPid) + "\n";
    script += "exe=" + ShellQuote(exePath) + "\n";
    script += "new=" + ShellQuote(newFilePath) + "\n";
    script += "script=" + ShellQuote(scriptPath) + "\n";
    script += R"SH(alive() {
    kill -0 "$pid" 2>/dev/null || return 1
    # Shell built-ins only: the loop may wait for hours while the user keeps working.
    stat=
    read -r stat 2>/dev/null < "/proc/$pid/stat"
    state=${stat##*) }
    [ "${state%% *}" = Z ] && return 1
    return 0
}
while alive; do
    sleep 0.1 2>/dev/null || sleep 1
done
if [ -f "$new" ]; then
    part="$exe.kelvra-part-$$"
    if [ -f "$exe" ]; then
        cp -p "$exe" "$part"
    else
        cp "$new" "$part" && chmod 755 "$part"
    fi && cat "$new" > "$part" && { sync "$part" 2>/dev/null || :; } && mv -f "$part" "$exe"
    if [ $? -eq 0 ]; then
        rm -f "$new"
    else
        rm -f "$part"
    fi
fi
rm -f "$script"
)SH";
    return script;
}

} // namespace kelvra
