// The service's request handling: from a request to its reply, with no socket in sight.
#pragma once

#include <optional>

#include "service/http_message.h"
#include "service/settings.h"

namespace tarvelo::service {

// The refusals that the request line and the header fields decide alone, before any of the body
// is read: another path (404), another method (405), a malformed length (400), a declared body
// over the limit (413), missing or wrong credentials on a call (401), a content type that is not
// SOAP (415). Nothing when the request may go on. `request.body` is not looked at.
std::optional<HttpReply> screen_request(const HttpRequest& request, const Settings& settings);

// The whole answer to a request whose body has been read: the refusals above, the WSDL, the
// operation's reply or a SOAP fault. Never throws; a failure inside becomes a Receiver fault.
HttpReply handle_request(const HttpRequest& request, const Settings& settings);

}  // namespace tarvelo::service
