#include "text/Gbk.h"

#ifdef _WIN32
#include <string>
#include <utility>

#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace kelvra {
namespace {

#ifdef _WIN32

// GB18030 is code page 54936. Where the system lacks it (Wine), GBK (936) still gives the exact
// bytes of every Chinese text; characters outside GBK then become "?".
UINT GbCodePage() {
    static const UINT codePage = IsValidCodePage(54936) ? 54936 : 936;
    return codePage;
}

// The code point of the UTF-8 sequence at `at` and its length; length 0 when the bytes there
// form no character (bad lead or continuation byte, overlong form, surrogate, beyond U+10FFFF).
std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || at + length > text.size()) {
        return {0, 0};
    }
    static const unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t code = lead & kLeadMask[length];
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next >> 6) != 0x2) {
            return {0, 0};
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {0, 0};
    }
    return {code, length};
}

// UTF-16 of the text; each byte that starts no valid character becomes "?".
std::wstring Utf8ToWide(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    size_t at = 0;
    while (at < utf8.size()) {
        const auto [code, length] = DecodeUtf8(utf8, at);
        if (length == 0) {
            wide += L'?';
            ++at;
            continue;
        }
        if (code >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
        at += length;
    }
    return wide;
}

std::string WideTo(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) {
        WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), needed, nullptr, nullptr);
    }
    return out;
}

// UTF-16 of GB bytes that form whole characters; false when they do not.
bool GbToWide(std::string_view bytes, std::wstring& wide) {
    const int size = static_cast<int>(bytes.size());
    const int needed =
        MultiByteToWideChar(GbCodePage(), MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    const size_t start = wide.size();
    wide.resize(start + static_cast<size_t>(needed));
    MultiByteToWideChar(GbCodePage(), MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data() + start,
                        needed);
    return true;
}

// The length of the GB18030 sequence at `at` by its byte ranges: one byte below 0x80, two bytes
// (lead 0x81..0xFE, trail 0x40..0xFE but 0x7F), or four (lead, digit, lead, digit); 1 otherwise.
size_t GbSequenceLength(std::string_view bytes, size_t at) {
    auto in = [&](size_t k, int low, int high) {
        if (at + k >= bytes.size()) {
            return false;
        }
        const int c = static_cast<unsigned char>(bytes[at + k]);
        return c >= low && c <= high;
    };
    if (!in(0, 0x81, 0xFE)) {
        return 1;
    }
    if (in(1, 0x40, 0xFE) && bytes[at + 1] != 0x7F) {
        return 2;
    }
    if (in(1, 0x30, 0x39) && in(2, 0x81, 0xFE) && in(3, 0x30, 0x39)) {
        return 4;
    }
    return 1;
}

std::string WindowsGbkToUtf8(std::string_view gbk) {
    std::wstring wide;
    if (!GbToWide(gbk, wide)) {
        // Character by character, so that each byte that forms none becomes one U+FFFD.
        wide.clear();
        size_t at = 0;
        while (at < gbk.size()) {
            const size_t length = GbSequenceLength(gbk, at);
            if (!GbToWide(gbk.substr(at, length), wide)) {
                wide += static_cast<wchar_t>(0xFFFD);
                at += 1;
                continue;
            }
            at += length;
        }
    }
    return WideTo(CP_UTF8, wide);
}

#else

// One conversion through iconv; on an invalid or incomplete sequence the offending input byte
// is skipped and `replacement` (already in the target code page) is emitted in its place.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string out;
    out.reserve(input.size() * 2 + 4);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: skip one byte, emit the replacement, reset the shift state.
            out.append(replacement);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    iconv_close(cd);
    return out;
}

#endif

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
#ifdef _WIN32
    return WideTo(GbCodePage(), Utf8ToWide(utf8));
#else
    return Convert("GB18030", "UTF-8", utf8, "?");
#endif
}

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
#ifdef _WIN32
    return WindowsGbkToUtf8(gbk);
#else
    return Convert("UTF-8", "GB18030", gbk, "\xEF\xBF\xBD");
#endif
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80           ? 1
                     : (c >> 5) == 0x6  ? 2
                     : (c >> 4) == 0xE  ? 3
                     : (c >> 3) == 0x1E ? 4
                                        : 0;
        if (len == 0 || i + len > text.size()) {
            return false;
        }
        for (size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) {
                return false;
            }
        }
        i += len;
    }
    return true;
}

} // namespace kelvra
