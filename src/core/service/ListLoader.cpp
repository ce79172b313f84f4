#include "service/ListLoader.h"

#include "service/DecimalInt.h"
#include "service/XmlDocument.h"

namespace kelvra {

ListLoadResult ReadListDocument(const XmlElement& root, const ListFormat& format) {
    ListLoadResult result;
    const XmlElement* status = root.FirstChild("returnValue");
    if (status == nullptr || status->text != "true") {
        result.status = ListLoadStatus::NotOffered;
        return result;
    }
    for (const XmlElement& child : root.children) {
        if (child.name != format.entryElement) {
            continue;
        }
        const std::string* idText = child.Attribute(format.idAttribute);
        if (idText == nullptr) {
            result.error = "entry without " + format.idAttribute;
            return result;
        }
        std::optional<std::int32_t> id = ParseDecimalInt32(*idText);
        if (!id) {
            result.error = format.idAttribute + " \"" + *idText + "\" is not an integer";
            return result;
        }
        const std::string* text = child.Attribute(format.textAttribute);
        result.entries.push_back(ListEntry{text != nullptr ? *text : std::string(), *id});
    }
    result.status = ListLoadStatus::Loaded;
    return result;
}

ListLoadResult LoadList(HttpTransport& transport, const std::string& url, const ListFormat& format,
                        const HttpRequestOptions& options) {
    XmlLoadResult document = LoadXml(transport, url, options);
    if (document.failed()) {
        ListLoadResult result;
        result.error = document.error.empty() ? "list request failed" : document.error;
        return result;
    }
    return ReadListDocument(document.root, format);
}

} // namespace kelvra
