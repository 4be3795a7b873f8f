// What the component's tests share: a COM-initialised fixture, owning holders for strings and
// interface references, short calls for the component's methods, and the reading of the
// thread's error information the way the program reads it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "msxml2.h"

namespace xmlhttp_test {

// Owns one BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::u16string_view text);
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return text_; }
  BSTR* Out();  // frees what it held, for an out-argument
  std::u16string Text() const { return text_ ? std::u16string(text_, SysStringLen(text_)) : u""; }

 private:
  BSTR text_ = nullptr;
};

// Owns one interface reference.
template <typename Interface>
class Ref {
 public:
  Ref() = default;
  explicit Ref(Interface* pointer) : pointer_(pointer) {}
  ~Ref() {
    if (pointer_) pointer_->Release();
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      ReleaseNow();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }
  // Gives up the reference now; returns what Release returned.
  ULONG ReleaseNow() {
    const ULONG left = pointer_ ? pointer_->Release() : 0;
    pointer_ = nullptr;
    return left;
  }

 private:
  Interface* pointer_ = nullptr;
};

VARIANT MissingArgument();  // VT_ERROR, DISP_E_PARAMNOTFOUND: an omitted optional argument
VARIANT BoolArgument(bool value);
VARIANT StringArgument(const Bstr& text);  // borrows the string

// A description of the last failure as the program reads it: ISupportErrorInfo, then
// InterfaceSupportsErrorInfo(IID_IXMLHTTPRequest) == S_OK, then GetErrorInfo == S_OK.
struct ErrorReport {
  bool offered = false;  // the object supports error information for IXMLHTTPRequest
  bool present = false;  // GetErrorInfo found a description
  std::u16string description;
  std::u16string source;
  GUID guid{};
};
ErrorReport TakeErrorReport(IUnknown* object);

std::string Narrow(std::u16string_view text);  // for messages: UTF-8
std::u16string Widen(std::string_view utf8);

// COM is initialised for each test, the component is registered, and the component's
// process-wide settings are restored after each test.
class XmlHttpTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:
  // A new object through CLSIDFromProgID("Microsoft.XMLHTTP") and CoCreateInstance.
  static Ref<IXMLHTTPRequest> NewRequest();

  struct Credentials {
    std::u16string user;
    std::u16string password;
  };
  static HRESULT Open(IXMLHTTPRequest* request, std::u16string_view method, std::string_view url,
                      const std::optional<Credentials>& credentials = std::nullopt);
  static HRESULT SetHeader(IXMLHTTPRequest* request, std::u16string_view name,
                           std::u16string_view value);
  static HRESULT Send(IXMLHTTPRequest* request, const std::optional<std::u16string>& body);
  // The reply text; a failure to read it fails the test.
  static std::u16string ResponseText(IXMLHTTPRequest* request);
};

inline const XmlHttpTest::Credentials kServiceCredentials = {u"tolvex", u"kqv=47"};

}  // namespace xmlhttp_test
