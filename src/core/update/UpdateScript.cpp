#include "update/UpdateScript.h"

namespace kelvra {
namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::vector<std::string> WindowsUpdateScriptLines(const std::string& exePath,
                                                  const std::string& exeFolder,
                                                  const std::string& mainProgram,
                                                  const std::string& scriptPath) {
    const std::string mainPath = Quoted(exeFolder + "\\" + mainProgram);
    return {
        ":try",
        "del " + Quoted(exePath),
        "if exist " + Quoted(exePath) + " goto try",
        "copy " + mainPath + " " + Quoted(exePath),
        "del " + mainPath,
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
    if [ -r "/proc/$pid/stat" ]; then
        state=$(sed -e 's/^.*) //' "/proc/$pid/stat" 2>/dev/null | cut -c1)
        [ "$state" = Z ] && return 1
    fi
    return 0
}
while alive; do
    sleep 0.2 2>/dev/null || sleep 1
done
if [ -f "$new" ]; then
    part="$exe.update-$$"
    if [ -f "$exe" ]; then
        cp -p "$exe" "$part"
    else
        cp "$new" "$part" && chmod 755 "$part"
    fi && cat "$new" > "$part" && mv -f "$part" "$exe"
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
