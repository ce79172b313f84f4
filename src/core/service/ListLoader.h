#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/HttpTransport.h"

namespace kelvra {

struct XmlElement;

// One entry of a selection list: the text shown and the service's id kept beside it.
struct ListEntry {
    std::string text;
    std::int32_t id = 0;

    bool operator==(const ListEntry&) const = default;
};

// Which children of a list document are entries and which attributes they carry.
struct ListFormat {
    std::string entryElement;  // "brand", "category", "type" or "engine"
    std::string idAttribute;   // e.g. "brand_id"
    std::string textAttribute; // e.g. "brand_name"
};

enum class ListLoadStatus {
    Loaded,     // returnValue was "true": the entries are the list
    NotOffered, // returnValue missing or not exactly "true": no entries, no error
    Failed,     // transfer, parse or id error: the entries read before it are kept
};

struct ListLoadResult {
    ListLoadStatus status = ListLoadStatus::Failed;
    std::vector<ListEntry> entries; // in document order
    std::string error;              // why the load failed, empty otherwise

    bool failed() const { return status == ListLoadStatus::Failed; }
};

// Reads the entries of an already parsed list document (only the direct children of the
// document element). An entry whose id is missing or not a signed 32-bit decimal integer ends
// the reading with Failed; the entries before it are returned.
ListLoadResult ReadListDocument(const XmlElement& root, const ListFormat& format);

// GETs the URL, parses the reply and reads it as above. A failed transfer, a status other than
// 200 or a malformed document gives Failed with no entries. Never throws.
ListLoadResult LoadList(HttpTransport& transport, const std::string& url, const ListFormat& format,
                        const HttpRequestOptions& options = {});

} // namespace kelvra
