// HTTP Digest authentication (RFC 2617 with MD5): reading a server's challenge and answering it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xmlhttp {

struct DigestChallenge {
  std::string realm;
  std::string nonce;
  std::optional<std::string> opaque;
  std::optional<std::string> algorithm;  // "MD5" or "MD5-sess" as the server wrote it
  bool qopAuth = false;                  // the server offers qop "auth"
};

// The first Digest challenge that can be answered among the values of WWW-Authenticate headers
// (one value may hold several challenges). Challenges with another algorithm than MD5 or
// MD5-sess, or that offer only qop "auth-int", are passed over.
std::optional<DigestChallenge> FindDigestChallenge(const std::vector<std::string>& headerValues);

struct DigestCredentials {
  std::string_view user;
  std::string_view password;
};

// The value of the Authorization header that answers the challenge for one request, given its
// method and request target (path and query), as the first use of the nonce.
std::string DigestAuthorization(const DigestChallenge& challenge,
                                const DigestCredentials& credentials, std::string_view method,
                                std::string_view uri, std::string_view clientNonce);

// A fresh client nonce: 16 random hexadecimal digits.
std::string NewClientNonce();

}  // namespace xmlhttp
