#pragma once

#include <string>

namespace kelvra::sim {

// The document shape of one XML list service. The engine lists answer in GB2312 (with their
// Chinese names), the vehicle lists in UTF-8: a fixed rule, so a client sees both encodings.
struct ListShape {
    const char* service; // file name under the XML base
    const char* element;
    const char* idAttribute;
    const char* nameAttribute;
    bool gb2312;
};

// The shape of a list service, given its full path or its file name; nullptr for other paths.
const ListShape* FindListShape(const std::string& pathOrName);

} // namespace kelvra::sim
