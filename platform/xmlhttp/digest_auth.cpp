#include "digest_auth.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "ascii_text.h"
#include "md5.h"

namespace xmlhttp {
namespace {

bool IsTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// Reads the challenges of WWW-Authenticate values: schemes, each with its name=value
// parameters; quoted values are unescaped.
class ChallengeReader {
 public:
  explicit ChallengeReader(std::string_view text) : text_(text) {}

  struct Item {
    std::string scheme;  // set when the item starts a new challenge
    std::string name;    // a parameter, when the item holds one
    std::string value;
  };

  // The next comma-separated item, or nullopt at the end.
  std::optional<Item> Next() {
    SkipSeparators();
    if (pos_ >= text_.size()) return std::nullopt;
    Item item;
    std::string first = ReadToken();
    SkipSpaces();
    if (pos_ < text_.size() && text_[pos_] == '=') {
      item.name = std::move(first);
    } else {
      item.scheme = std::move(first);
      if (pos_ < text_.size() && text_[pos_] != ',') {
        item.name = ReadToken();
        SkipSpaces();
      }
    }
    if (!item.name.empty() && pos_ < text_.size() && text_[pos_] == '=') {
      ++pos_;
      SkipSpaces();
      item.value = ReadValue();
    }
    SkipToComma();
    return item;
  }

 private:
  void SkipSpaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  void SkipSeparators() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == ','))
      ++pos_;
  }
  void SkipToComma() {
    while (pos_ < text_.size() && text_[pos_] != ',') ++pos_;
  }
  std::string ReadToken() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsTokenChar(text_[pos_])) ++pos_;
    if (pos_ == start && pos_ < text_.size()) ++pos_;  // always make progress
    return std::string(text_.substr(start, pos_ - start));
  }
  std::string ReadValue() {
    if (pos_ >= text_.size() || text_[pos_] != '"') return ReadToken();
    std::string value;
    for (++pos_; pos_ < text_.size() && text_[pos_] != '"'; ++pos_) {
      if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) ++pos_;
      value += text_[pos_];
    }
    if (pos_ < text_.size()) ++pos_;  // the closing quote
    return value;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool OffersQop(std::string_view list, std::string_view wanted) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    std::string_view item = list.substr(start, end - start);
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.remove_suffix(1);
    if (EqualsIgnoringCase(item, wanted)) return true;
    start = end + 1;
  }
  return false;
}

struct ParsedChallenge {
  DigestChallenge challenge;
  std::optional<std::string> qop;
  bool hasNonce = false;
};

bool CanAnswer(const ParsedChallenge& parsed) {
  if (!parsed.hasNonce) return false;
  const auto& algorithm = parsed.challenge.algorithm;
  if (algorithm && !EqualsIgnoringCase(*algorithm, "MD5") &&
      !EqualsIgnoringCase(*algorithm, "MD5-sess"))
    return false;
  return !parsed.qop || parsed.challenge.qopAuth;
}

std::string Quoted(std::string_view value) {
  std::string out = "\"";
  for (const char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (const auto part : parts) {
    if (!out.empty()) out += ':';
    out += part;
  }
  return out;
}

}  // namespace

std::optional<DigestChallenge> FindDigestChallenge(const std::vector<std::string>& headerValues) {
  for (const auto& headerValue : headerValues) {
    ChallengeReader reader(headerValue);
    std::optional<ParsedChallenge> current;
    while (const auto item = reader.Next()) {
      if (!item->scheme.empty()) {
        if (current && CanAnswer(*current)) return current->challenge;
        current.reset();
        if (EqualsIgnoringCase(item->scheme, "Digest")) current.emplace();
      }
      if (!current || item->name.empty()) continue;
      const std::string& name = item->name;
      if (EqualsIgnoringCase(name, "realm")) {
        current->challenge.realm = item->value;
      } else if (EqualsIgnoringCase(name, "nonce")) {
        current->challenge.nonce = item->value;
        current->hasNonce = true;
      } else if (EqualsIgnoringCase(name, "opaque")) {
        current->challenge.opaque = item->value;
      } else if (EqualsIgnoringCase(name, "algorithm")) {
        current->challenge.algorithm = item->value;
      } else if (EqualsIgnoringCase(name, "qop")) {
        current->qop = item->value;
        current->challenge.qopAuth = OffersQop(item->value, "auth");
      }
    }
    if (current && CanAnswer(*current)) return current->challenge;
  }
  return std::nullopt;
}

std::string DigestAuthorization(const DigestChallenge& challenge,
                                const DigestCredentials& credentials, std::string_view method,
                                std::string_view uri, std::string_view clientNonce) {
  constexpr std::string_view kNonceCount = "00000001";
  std::string ha1 = Md5Hex(Join({credentials.user, challenge.realm, credentials.password}));
  if (challenge.algorithm && EqualsIgnoringCase(*challenge.algorithm, "MD5-sess"))
    ha1 = Md5Hex(Join({ha1, challenge.nonce, clientNonce}));
  const std::string ha2 = Md5Hex(Join({method, uri}));
  const std::string response =
      challenge.qopAuth
          ? Md5Hex(Join({ha1, challenge.nonce, kNonceCount, clientNonce, "auth", ha2}))
          : Md5Hex(Join({ha1, challenge.nonce, ha2}));

  std::string header = "Digest username=" + Quoted(credentials.user);
  header += ", realm=" + Quoted(challenge.realm);
  header += ", nonce=" + Quoted(challenge.nonce);
  header += ", uri=" + Quoted(uri);
  if (challenge.algorithm) header += ", algorithm=" + *challenge.algorithm;
  header += ", response=\"" + response + "\"";
  if (challenge.opaque) header += ", opaque=" + Quoted(*challenge.opaque);
  if (challenge.qopAuth) {
    header += ", qop=auth, nc=";
    header += kNonceCount;
    header += ", cnonce=" + Quoted(clientNonce);
  }
  return header;
}

std::string NewClientNonce() {
  std::random_device source;
  const std::uint64_t value = (static_cast<std::uint64_t>(source()) << 32) | source();
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string nonce(16, '0');
  for (int i = 0; i < 16; ++i) nonce[i] = kDigits[(value >> (4 * i)) & 0xF];
  return nonce;
}

}  // namespace xmlhttp
