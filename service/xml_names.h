// Namespace-qualified names on top of pugixml, which keeps names as written.
#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string_view>

namespace tarvelo::service {

inline constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

// The part of a qualified name after its prefix.
std::string_view local_name(std::string_view qualified_name);

// The namespace of an element, from the declaration in scope for its prefix (or the default
// namespace when it has none); empty for no namespace; nothing when the prefix is undeclared.
std::optional<std::string_view> element_namespace(pugi::xml_node element);

// The namespace of an attribute of `owner`: empty when it has no prefix; nothing when its
// prefix is undeclared.
std::optional<std::string_view> attribute_namespace(pugi::xml_attribute attribute,
                                                    pugi::xml_node owner);

}  // namespace tarvelo::service
