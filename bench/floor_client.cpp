// floor-client: the least an exchange with the service can cost on this machine.
//
// It sends the same HTTP request the XML HTTP request component sends (POST, Host,
// Authorization Basic, Content-Type, Content-Length, the body), prepared once, over a new
// connection for every request, and reads each reply to its end by its Content-Length. Nothing
// else is in the way: no objects, no conversions, no window. The benchmark compares the tool's
// own per-exchange time with this one.
//
//   floor-client --port PORT --times N --body FILE [--host ADDRESS] [--user NAME:PASSWORD]
//
// Prints one line of key=value figures: exchanges, seconds, per_exchange_ms, failed.
// Exit status: 0 when every reply was a 200 with a complete body, 1 otherwise, 2 for bad options.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct Options {
  std::string host = "127.0.0.1";
  int port = 0;
  long times = 0;
  std::string bodyFile;
  std::string credentials = "tolvex:kqv=47";
};

constexpr const char* kUsage =
    "Usage: floor-client --port PORT --times N --body FILE [--host ADDRESS] "
    "[--user NAME:PASSWORD]\n";

std::optional<long> ParseNumber(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string_view value = argv[++i];
    if (name == "--host") {
      options.host = value;
    } else if (name == "--port") {
      const auto port = ParseNumber(value);
      if (!port || *port <= 0 || *port > 65535) return std::nullopt;
      options.port = static_cast<int>(*port);
    } else if (name == "--times") {
      const auto times = ParseNumber(value);
      if (!times || *times <= 0) return std::nullopt;
      options.times = *times;
    } else if (name == "--body") {
      options.bodyFile = value;
    } else if (name == "--user") {
      options.credentials = value;
    } else {
      return std::nullopt;
    }
  }
  if (options.port == 0 || options.times == 0 || options.bodyFile.empty()) return std::nullopt;
  return options;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    unsigned int group = static_cast<unsigned char>(bytes[i]) << 16;
    if (left > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(group >> 18) & 63];
    out += kDigits[(group >> 12) & 63];
    out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
    out += left > 2 ? kDigits[group & 63] : '=';
  }
  return out;
}

std::string BuildRequest(const Options& options, const std::string& body) {
  return "POST /Service.asmx HTTP/1.1\r\n"
         "Host: " +
         options.host + ":" + std::to_string(options.port) +
         "\r\n"
         "Authorization: Basic " +
         Base64(options.credentials) +
         "\r\n"
         "Content-Type: application/soap+xml\r\n"
         "Content-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The Content-Length of a reply head (the bytes before the blank line), or nullopt.
std::optional<std::size_t> ContentLength(std::string_view head) {
  constexpr std::string_view kName = "\r\ncontent-length:";
  for (std::size_t at = head.find("\r\n"); at != std::string_view::npos;
       at = head.find("\r\n", at + 2)) {
    if (head.size() - at < kName.size()) break;
    bool same = true;
    for (std::size_t k = 0; k < kName.size() && same; ++k)
      same = (head[at + k] | (kName[k] >= 'a' ? 0x20 : 0)) == kName[k];
    if (!same) continue;
    std::size_t from = at + kName.size();
    while (from < head.size() && head[from] == ' ') ++from;
    std::size_t length = 0;
    const auto [end, error] =
        std::from_chars(head.data() + from, head.data() + head.size(), length);
    if (error != std::errc() || end == head.data() + from) return std::nullopt;
    return length;
  }
  return std::nullopt;
}

// Closes the descriptor when it goes out of scope.
class Socket {
 public:
  Socket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// One exchange on a new connection; true when the reply was a 200 with its whole body.
bool Exchange(const sockaddr_in& address, std::string_view request, char* buffer,
              std::size_t capacity) {
  const Socket socket;
  if (socket.fd() < 0) return false;
  if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return false;
  const int noDelay = 1;
  ::setsockopt(socket.fd(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  for (std::size_t sent = 0; sent < request.size();) {
    const ssize_t n =
        ::send(socket.fd(), request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  std::size_t received = 0;
  std::optional<std::size_t> replyEnd;
  while (!replyEnd || received < *replyEnd) {
    if (received == capacity) return false;  // larger than any reply of the service
    const ssize_t n = ::recv(socket.fd(), buffer + received, capacity - received, 0);
    if (n <= 0) return false;
    received += static_cast<std::size_t>(n);
    if (!replyEnd) {
      const std::string_view seen(buffer, received);
      const std::size_t headEnd = seen.find("\r\n\r\n");
      if (headEnd == std::string_view::npos) continue;
      const auto length = ContentLength(seen.substr(0, headEnd + 2));
      if (!length) return false;
      replyEnd = headEnd + 4 + *length;
    }
  }
  return std::string_view(buffer, received).starts_with("HTTP/1.1 200 ");
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::ifstream file(options->bodyFile, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "floor-client: cannot read %s\n", options->bodyFile.c_str());
    return 2;
  }
  const std::string body{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::string request = BuildRequest(*options, body);

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(options->port));
  if (::inet_pton(AF_INET, options->host.c_str(), &address.sin_addr) != 1) {
    std::fprintf(stderr, "floor-client: --host takes an IPv4 address\n");
    return 2;
  }

  static char buffer[64 * 1024];
  long failed = 0;
  const auto begin = std::chrono::steady_clock::now();
  for (long i = 0; i < options->times; ++i)
    if (!Exchange(address, request, buffer, sizeof buffer)) ++failed;
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;

  std::printf("exchanges=%ld seconds=%.4f per_exchange_ms=%.4f failed=%ld\n", options->times,
              seconds.count(), seconds.count() * 1000.0 / static_cast<double>(options->times),
              failed);
  return failed == 0 ? 0 : 1;
}
