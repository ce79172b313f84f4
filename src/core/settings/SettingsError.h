#pragma once

#include <stdexcept>
#include <string>

namespace kelvra {

// Raised when a settings or language file cannot be written; what() is "Unable to write to <path>".
// The operation in progress stops; the application's general error handler shows the message.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& path)
        : std::runtime_error("Unable to write to " + path), m_path(path) {}
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace kelvra
