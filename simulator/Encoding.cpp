#include "Encoding.h"

#include <cerrno>
#include <iconv.h>

namespace kelvra::sim {
namespace {

// Runs iconv over the whole input. With a replacement, unconvertible input bytes are skipped one
// at a time and the replacement is written instead; without one, any failure gives false.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out,
             const char* replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[4096];
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        if (replacement == nullptr) {
            ok = false;
            break;
        }
        // EILSEQ or EINVAL: skip one input byte (or one UTF-8 character) and mark it.
        size_t skip = 1;
        if (std::string_view(from) == "UTF-8") {
            auto lead = static_cast<unsigned char>(*src);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            skip = skip > srcLeft ? srcLeft : skip;
        }
        src += skip;
        srcLeft -= skip;
        out += replacement;
    }
    iconv_close(cd);
    return ok;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string Gb18030ToUtf8(std::string_view bytes) {
    bool ascii = true;
    for (unsigned char c : bytes) {
        ascii = ascii && c < 0x80;
    }
    if (ascii) {
        return std::string(bytes);
    }
    std::string out;
    if (!Convert("UTF-8", "GB18030", bytes, out, nullptr)) {
        return std::string(bytes);
    }
    return out;
}

std::string Utf8ToGb2312(std::string_view utf8) {
    std::string out;
    Convert("GB2312", "UTF-8", utf8, out, "?");
    return out;
}

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = HexValue(text[i + 1]);
            int lo = HexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string PercentEncode(std::string_view bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace kelvra::sim
