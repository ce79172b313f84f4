// Helper of the durability test: rewrites the settings file and both language files of a data
// folder in an endless loop through the client's own writers, until it is killed.
//
//   kelvra_durability_writer <data folder>
//
// Each round flips every file to its other version: the settings file between Language
// "English" and "Chinese" (SettingsFile), "Language/enu.ini" and "Language/chs.ini" between the
// English and the Chinese table (WriteLanguageFile), so a file is only ever one of two whole
// versions. Progress goes to standard output: "R" once it starts, then one "." per finished round.
// Exit code 2 on bad arguments, 1 when a write fails.
#include <cstdio>
#include <exception>
#include <string>

#include <unistd.h>

#include "settings/LanguageFile.h"
#include "settings/SettingsFile.h"

namespace {

void Report(char mark) {
    // Unbuffered on purpose: the test reads the progress of a process it kills at any moment.
    while (::write(STDOUT_FILENO, &mark, 1) < 0) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvra_durability_writer <data folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const kelvra::SettingsFile settings(folder);
    const std::string english = folder + "/Language/" + kelvra::LanguageFileName(false);
    const std::string chinese = folder + "/Language/" + kelvra::LanguageFileName(true);
    Report('R');
    try {
        for (;;) {
            const bool toChinese = settings.ReadLanguage() != "Chinese";
            settings.WriteLanguage(toChinese ? "Chinese" : "English");
            kelvra::WriteLanguageFile(english, toChinese);
            kelvra::WriteLanguageFile(chinese, !toChinese);
            Report('.');
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvra_durability_writer: %s\n", error.what());
        return 1;
    }
}
