// Readers of the detached element tree; they need no XML parser, so they build wherever the core
// builds (also where libxml2 is not at hand).
#include "service/XmlDocument.h"

namespace kelvra {

const std::string* XmlElement::Attribute(std::string_view attributeName) const {
    for (const auto& [name, value] : attributes) {
        if (name == attributeName) {
            return &value;
        }
    }
    return nullptr;
}

const XmlElement* XmlElement::FirstChild(std::string_view childName) const {
    for (const XmlElement& child : children) {
        if (child.name == childName) {
            return &child;
        }
    }
    return nullptr;
}

} // namespace kelvra
