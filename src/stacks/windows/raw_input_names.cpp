#include "stacks/windows/raw_input_names.h"

#include <algorithm>
#include <cctype>

namespace treadkey::windows_hid {
namespace {

// The name without its device-namespace prefix and its class GUID.
std::string_view CollectionPart(std::string_view name) {
    for (const std::string_view prefix : {R"(\\?\)", R"(\??\)"}) {
        if (name.starts_with(prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    return name.substr(0, name.rfind("#{"));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

bool SameCollection(std::string_view interfacePath, std::string_view rawInputName) {
    const std::string_view path = CollectionPart(interfacePath);
    return !path.empty() && EqualIgnoringCase(path, CollectionPart(rawInputName));
}

std::optional<std::string> RawInputNameOf(std::string_view interfacePath,
                                          std::span<const std::string> rawInputNames) {
    const auto found = std::find_if(rawInputNames.begin(), rawInputNames.end(), [&](const std::string& name) {
        return SameCollection(interfacePath, name);
    });
    return found != rawInputNames.end() ? std::optional<std::string>(*found) : std::nullopt;
}

} // namespace treadkey::windows_hid
