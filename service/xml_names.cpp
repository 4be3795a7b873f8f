#include "service/xml_names.h"

#include <string>

namespace tarvelo::service {
namespace {

std::string_view prefix_of(std::string_view qualified_name) {
  const std::size_t colon = qualified_name.find(':');
  return colon == std::string_view::npos ? std::string_view{} : qualified_name.substr(0, colon);
}

// Looks for the declaration of `prefix` (empty: the default namespace) from `scope` upwards.
std::optional<std::string_view> resolve(std::string_view prefix, pugi::xml_node scope) {
  if (prefix == "xml") return kXmlNamespace;
  std::string declaration = "xmlns";
  if (!prefix.empty()) {
    declaration.push_back(':');
    declaration.append(prefix);
  }
  for (pugi::xml_node node = scope; node.type() == pugi::node_element; node = node.parent()) {
    const pugi::xml_attribute found = node.attribute(declaration.c_str());
    if (found) return std::string_view(found.value());
  }
  if (prefix.empty()) return std::string_view{};
  return std::nullopt;
}

}  // namespace

std::string_view local_name(std::string_view qualified_name) {
  const std::size_t colon = qualified_name.find(':');
  return colon == std::string_view::npos ? qualified_name : qualified_name.substr(colon + 1);
}

std::optional<std::string_view> element_namespace(pugi::xml_node element) {
  return resolve(prefix_of(element.name()), element);
}

std::optional<std::string_view> attribute_namespace(pugi::xml_attribute attribute,
                                                    pugi::xml_node owner) {
  const std::string_view prefix = prefix_of(attribute.name());
  if (prefix.empty()) return std::string_view{};
  return resolve(prefix, owner);
}

}  // namespace tarvelo::service
