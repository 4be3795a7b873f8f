#include "service/soap_envelope.h"

#include <optional>
#include <pugixml.hpp>

#include "service/xml_names.h"
#include "service/xml_text.h"

namespace tarvelo::service {
namespace {

// Document type declarations and processing instructions are kept, so that they can be refused;
// white-space-only text is kept, so that a parameter of blanks reads as written.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_doctype | pugi::parse_pi;

struct QualifiedName {
  std::string_view space;
  std::string_view local;
};

SoapFault fault(FaultCode code, std::string reason) {
  return SoapFault{code, std::move(reason)};
}
SoapFault sender(std::string reason) {
  return fault(FaultCode::sender, std::move(reason));
}

std::string braced(std::string_view space, std::string_view local) {
  std::string text = "{";
  text.append(printable_excerpt(space));
  text.push_back('}');
  text.append(printable_excerpt(local));
  return text;
}

std::optional<QualifiedName> qualified_name(pugi::xml_node element) {
  const std::optional<std::string_view> space = element_namespace(element);
  if (!space) return std::nullopt;
  return QualifiedName{*space, local_name(element.name())};
}

SoapFault undeclared_prefix(pugi::xml_node element) {
  return sender("the element <" + printable_excerpt(element.name()) +
                "> uses a namespace prefix that is not declared");
}

bool is_blank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool is_text(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// True when `parent` holds no text but white space between its child elements.
bool holds_only_elements(pugi::xml_node parent) {
  for (const pugi::xml_node child : parent.children()) {
    if (is_text(child) && !is_blank(child.value())) return false;
  }
  return true;
}

bool is_true(std::string_view value) {
  return value == "1" || value == "true";
}

// Whether a header block addressed to this node (the ultimate receiver) must be understood.
bool must_understand(pugi::xml_node block, SoapVersion version) {
  const std::string_view envelope_ns = envelope_namespace(version);
  const std::string_view role_attribute = version == SoapVersion::soap12 ? "role" : "actor";
  bool required = false;
  bool addressed = true;
  for (const pugi::xml_attribute attribute : block.attributes()) {
    if (attribute_namespace(attribute, block) != envelope_ns) continue;
    const std::string_view name = local_name(attribute.name());
    const std::string_view value = attribute.value();
    if (name == "mustUnderstand") required = is_true(value);
    if (name == role_attribute) {
      addressed = version == SoapVersion::soap12
                      ? value == "http://www.w3.org/2003/05/soap-envelope/role/next" ||
                            value == "http://www.w3.org/2003/05/soap-envelope/role/ultimateReceiver"
                      : value == "http://schemas.xmlsoap.org/soap/actor/next";
    }
  }
  return required && addressed;
}

std::optional<SoapFault> check_header(pugi::xml_node header, SoapVersion version) {
  for (const pugi::xml_node block : header.children()) {
    if (block.type() != pugi::node_element) continue;
    const std::optional<QualifiedName> name = qualified_name(block);
    if (!name) return undeclared_prefix(block);
    if (must_understand(block, version)) {
      return fault(FaultCode::must_understand,
                   "the header block " + braced(name->space, name->local) +
                       " must be understood, and this service understands no header blocks");
    }
  }
  return std::nullopt;
}

SoapFault wrong_version(std::string_view found_ns, SoapVersion version) {
  const SoapVersion other =
      version == SoapVersion::soap12 ? SoapVersion::soap11 : SoapVersion::soap12;
  if (found_ns == envelope_namespace(other)) {
    const std::string hint = version == SoapVersion::soap12
                                 ? "; send SOAP 1.1 as text/xml with a SOAPAction header"
                                 : "; send SOAP 1.2 as application/soap+xml";
    return fault(FaultCode::version_mismatch, "a " + std::string(version_name(other)) +
                                                  " envelope was sent as " +
                                                  std::string(version_name(version)) + hint);
  }
  return fault(FaultCode::version_mismatch,
               "the Envelope is in the namespace \"" + printable_excerpt(found_ns) +
                   "\", not in the " + std::string(version_name(version)) + " namespace \"" +
                   std::string(envelope_namespace(version)) + "\"");
}

// The parameter's text: character data only, no markup. A missing or nil parameter is empty.
std::variant<std::string, SoapFault> parameter_text(pugi::xml_node operation,
                                                    std::string_view service_namespace) {
  pugi::xml_node parameter;
  for (const pugi::xml_node child : operation.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::optional<QualifiedName> name = qualified_name(child);
    if (!name) return undeclared_prefix(child);
    if (name->local != kParameterName) continue;
    if (!name->space.empty() && name->space != service_namespace) continue;
    if (parameter) return sender("the parameter srt is given more than once");
    parameter = child;
  }

  std::string text;
  for (const pugi::xml_node piece : parameter.children()) {
    if (piece.type() == pugi::node_element) {
      return sender("the parameter srt holds markup; it must hold text only");
    }
    if (is_text(piece)) text.append(piece.value());
  }
  if (!is_valid_xml_text(text)) {
    return sender("the parameter srt holds bytes that are not UTF-8 text of XML characters");
  }
  return text;
}

}  // namespace

EnvelopeReading read_request_envelope(std::string_view body, SoapVersion version,
                                      std::string_view service_namespace) {
  // Requests are UTF-8 (the content type says so); other encodings fail to parse.
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(body.data(), body.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    return sender(std::string("the request is not well-formed XML: ") + parsed.description() +
                  " at byte " + std::to_string(parsed.offset));
  }
  const pugi::xml_node forbidden = document.find_node([](pugi::xml_node node) {
    return node.type() == pugi::node_doctype || node.type() == pugi::node_pi;
  });
  if (forbidden) {
    return sender(
        "a SOAP message may hold neither a document type declaration nor processing "
        "instructions");
  }

  // The parser keeps an '&' that starts no reference as text; XML does not allow it.
  if (const std::size_t at = find_bare_ampersand(body); at != std::string_view::npos) {
    return sender("the request is not well-formed XML: an '&' that starts no reference at byte " +
                  std::to_string(at) + "; write it as &amp;");
  }

  const pugi::xml_node envelope = document.document_element();
  const std::optional<QualifiedName> envelope_name = qualified_name(envelope);
  if (!envelope_name) return undeclared_prefix(envelope);
  if (envelope_name->local != "Envelope") {
    return sender("the document is a <" + printable_excerpt(envelope.name()) +
                  "> element, not a SOAP Envelope");
  }
  const std::string_view envelope_ns = envelope_namespace(version);
  if (envelope_name->space != envelope_ns) return wrong_version(envelope_name->space, version);

  if (!holds_only_elements(envelope)) {
    return sender("the Envelope holds text outside its Header and Body");
  }
  pugi::xml_node header;
  pugi::xml_node envelope_body;
  for (const pugi::xml_node child : envelope.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::optional<QualifiedName> name = qualified_name(child);
    if (!name) return undeclared_prefix(child);
    const bool in_envelope_ns = name->space == envelope_ns;
    if (in_envelope_ns && name->local == "Header" && !header && !envelope_body) {
      header = child;
    } else if (in_envelope_ns && name->local == "Body" && !envelope_body) {
      envelope_body = child;
    } else {
      return sender("the Envelope may hold an optional Header and then one Body, not <" +
                    printable_excerpt(child.name()) + ">");
    }
  }
  if (!envelope_body) return sender("the Envelope has no Body");
  if (header) {
    if (std::optional<SoapFault> refusal = check_header(header, version)) return *refusal;
  }

  if (!holds_only_elements(envelope_body)) {
    return sender("the Body holds text outside the operation's element");
  }
  pugi::xml_node operation;
  for (const pugi::xml_node child : envelope_body.children()) {
    if (child.type() != pugi::node_element) continue;
    if (operation) return sender("the Body holds more than one element; call one operation");
    operation = child;
  }
  if (!operation) return sender("the Body calls no operation");
  const std::optional<QualifiedName> operation_name = qualified_name(operation);
  if (!operation_name) return undeclared_prefix(operation);
  if (operation_name->local != kOperationName || operation_name->space != service_namespace) {
    return sender("unknown operation " + braced(operation_name->space, operation_name->local) +
                  "; this service offers " + braced(service_namespace, kOperationName));
  }

  auto text = parameter_text(operation, service_namespace);
  if (auto* refusal = std::get_if<SoapFault>(&text)) return std::move(*refusal);
  return SimpleMethodCall{std::move(std::get<std::string>(text))};
}

}  // namespace tarvelo::service
