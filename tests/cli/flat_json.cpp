#include "flat_json.h"

#include <cctype>

namespace cli_test {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}

  std::optional<FlatJsonObject> Object() {
    FlatJsonObject object;
    if (!Members(object)) return std::nullopt;
    return End(std::move(object));
  }

  std::string error;

 private:
  std::optional<FlatJsonObject> Fail(const std::string& why) {
    error = why + " at " + std::to_string(m_at);
    return std::nullopt;
  }

  bool Members(FlatJsonObject& object) {
    if (!Take('{')) return Fail("an object must start with {").has_value();
    if (Take('}')) return true;
    do {
      std::string name;
      if (!String(name)) return false;
      if (!Take(':')) return Fail("':' expected after a member name").has_value();
      FlatJsonValue value;
      if (!Value(value)) return false;
      if (!object.emplace(name, value).second) {
        return Fail("member given twice: " + name).has_value();
      }
    } while (Take(','));
    return Take('}') || Fail("',' or '}' expected").has_value();
  }

  std::optional<FlatJsonObject> End(FlatJsonObject object) {
    SkipBlanks();
    if (m_at != m_text.size()) return Fail("text after the object");
    return object;
  }

  void SkipBlanks() {
    while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\n' ||
                                    m_text[m_at] == '\r' || m_text[m_at] == '\t')) {
      ++m_at;
    }
  }

  bool Take(char c) {
    SkipBlanks();
    if (m_at < m_text.size() && m_text[m_at] == c) {
      ++m_at;
      return true;
    }
    return false;
  }

  bool Value(FlatJsonValue& value) {
    SkipBlanks();
    if (m_at >= m_text.size()) return Fail("a value expected").has_value();
    const char c = m_text[m_at];
    if (c == '"') {
      value.kind = FlatJsonValue::Kind::kString;
      return String(value.text);
    }
    if (c == '{') {
      value.kind = FlatJsonValue::Kind::kObject;
      value.object = std::make_shared<FlatJsonObject>();
      return Members(*value.object);
    }
    if (m_text.substr(m_at, 4) == "null") {
      m_at += 4;
      value.kind = FlatJsonValue::Kind::kNull;
      return true;
    }
    if (c == '[') {
      ++m_at;
      value.kind = FlatJsonValue::Kind::kStringArray;
      if (Take(']')) return true;
      SkipBlanks();
      const bool strings = m_at < m_text.size() && m_text[m_at] == '"';
      if (!strings) value.kind = FlatJsonValue::Kind::kNumberArray;
      do {
        FlatJsonValue item;
        if (!(strings ? String(item.text) : Number(item))) return false;
        if (strings) {
          value.items.push_back(item.text);
        } else {
          value.numbers.push_back(item.number);
        }
      } while (Take(','));
      return Take(']') || Fail("',' or ']' expected").has_value();
    }
    return Number(value);
  }

  bool Number(FlatJsonValue& value) {
    SkipBlanks();
    value.kind = FlatJsonValue::Kind::kInteger;
    const std::size_t start = m_at;
    if (m_at < m_text.size() && m_text[m_at] == '-') ++m_at;
    const std::size_t digits = m_at;
    while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
    if (m_at == digits || (m_text[digits] == '0' && m_at - digits > 1)) {
      return Fail("a string, a number, null, an array or an object expected").has_value();
    }
    if (m_at < m_text.size() && m_text[m_at] == '.') {
      const std::size_t fraction = ++m_at;
      while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) {
        ++m_at;
      }
      if (m_at == fraction) return Fail("digits expected after '.'").has_value();
      value.kind = FlatJsonValue::Kind::kNumber;
    }
    const std::string number(m_text.substr(start, m_at - start));
    if (value.kind == FlatJsonValue::Kind::kInteger) value.integer = std::stoll(number);
    value.number = std::stod(number);
    return true;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool Hex4(unsigned& code) {
    if (m_at + 4 > m_text.size()) return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = m_text[m_at++];
      code <<= 4;
      if (h >= '0' && h <= '9') {
        code |= static_cast<unsigned>(h - '0');
      } else if (h >= 'a' && h <= 'f') {
        code |= static_cast<unsigned>(h - 'a' + 10);
      } else if (h >= 'A' && h <= 'F') {
        code |= static_cast<unsigned>(h - 'A' + 10);
      } else {
        return false;
      }
    }
    return true;
  }

  bool String(std::string& out) {
    if (!Take('"')) return Fail("a string expected").has_value();
    while (m_at < m_text.size()) {
      const unsigned char c = static_cast<unsigned char>(m_text[m_at++]);
      if (c == '"') return true;
      if (c < 0x20) return Fail("a control character inside a string").has_value();
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (m_at >= m_text.size()) break;
      const char escape = m_text[m_at++];
      switch (escape) {
        case '"':
        case '\\':
        case '/':
          out += escape;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = 0;
          if (!Hex4(code)) return Fail("a bad \\u escape").has_value();
          if (code >= 0xD800 && code < 0xDC00) {
            unsigned low = 0;
            const bool escaped = m_text.substr(m_at, 2) == "\\u";
            if (escaped) m_at += 2;
            if (!escaped || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) {
              return Fail("a lone surrogate").has_value();
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return Fail("a lone surrogate").has_value();
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          return Fail("an unknown escape").has_value();
      }
    }
    return Fail("an unterminated string").has_value();
  }

  std::string_view m_text;
  std::size_t m_at = 0;
};

}  // namespace

std::optional<FlatJsonObject> ReadFlatJson(std::string_view text, std::string* error) {
  Reader reader(text);
  std::optional<FlatJsonObject> object = reader.Object();
  if (!object && error != nullptr) *error = reader.error;
  return object;
}

}  // namespace cli_test
