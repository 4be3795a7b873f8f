// The COM library: per-thread initialisation, CLSID strings, the class registry and creation.
#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "objbase.h"

namespace {

// {6A1F0C2E-93B4-4D57-8E21-3C9D4B7A5F10}
const CLSID kTestClsid = {
    0x6A1F0C2E, 0x93B4, 0x4D57, {0x8E, 0x21, 0x3C, 0x9D, 0x4B, 0x7A, 0x5F, 0x10}};
// {6A1F0C2F-93B4-4D57-8E21-3C9D4B7A5F10}
const IID kIidTestThing = {
    0x6A1F0C2F, 0x93B4, 0x4D57, {0x8E, 0x21, 0x3C, 0x9D, 0x4B, 0x7A, 0x5F, 0x10}};
// {6A1F0C30-93B4-4D57-8E21-3C9D4B7A5F10}: nobody implements it
const IID kIidNobody = {
    0x6A1F0C30, 0x93B4, 0x4D57, {0x8E, 0x21, 0x3C, 0x9D, 0x4B, 0x7A, 0x5F, 0x10}};
// {6A1F0C2E-93B4-4D57-8E21-3C9D4B7A5FFF}: never registered
const CLSID kUnregisteredClsid = {
    0x6A1F0C2E, 0x93B4, 0x4D57, {0x8E, 0x21, 0x3C, 0x9D, 0x4B, 0x7A, 0x5F, 0xFF}};

struct ITestThing : IUnknown {
  STDMETHOD_(int, Answer)() PURE;

 protected:
  ~ITestThing() = default;
};

std::atomic<int> g_liveThings{0};

class TestThing final : public ITestThing {
 public:
  TestThing() { ++g_liveThings; }
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == kIidTestThing) {
      *ppv = static_cast<ITestThing*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++m_references; }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }
  STDMETHOD_(int, Answer)() override { return 42; }

 private:
  ~TestThing() { --g_liveThings; }
  std::atomic<ULONG> m_references{1};
};

HRESULT MakeTestThing(REFIID riid, void** ppv) {
  TestThing* const thing = new TestThing();
  const HRESULT hr = thing->QueryInterface(riid, ppv);
  thing->Release();
  return hr;
}

// Registers the test class (again: a class stays registered for the process) and initialises
// COM for one test.
class ComObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, CoRegisterClassObjectEntry(kTestClsid, u"Tarvelo.TestThing", MakeTestThing));
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
  }
  void TearDown() override {
    CoUninitialize();
    EXPECT_EQ(0, g_liveThings.load());
  }
};

TEST(CoInitialize, IsCountedPerThread) {
  EXPECT_EQ(S_OK, CoInitialize(nullptr));
  EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
  HRESULT otherFirst = E_FAIL;
  std::thread other([&] {
    otherFirst = CoInitialize(nullptr);
    CoUninitialize();
  });
  other.join();
  EXPECT_EQ(S_OK, otherFirst);
  CoUninitialize();
  EXPECT_EQ(S_FALSE, CoInitialize(nullptr));  // one initialisation was still standing
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(S_OK, CoInitialize(nullptr));  // all balanced: a fresh start
  CoUninitialize();
}

TEST(CoInitialize, AnUnbalancedUninitializeIsHarmless) {
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(S_OK, CoInitialize(nullptr));
  CoUninitialize();
  EXPECT_EQ(S_OK, CoInitialize(nullptr));  // the extra calls left no debt behind
  CoUninitialize();
}

TEST(CLSIDFromString, ReadsTheBracedFormInEitherCase) {
  const CLSID expected = {
      0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
  const char16_t* const texts[] = {u"{ED8C108D-4349-11D2-91A4-00C04F7969E8}",
                                   u"{ed8c108d-4349-11d2-91a4-00c04f7969e8}",
                                   u"{Ed8C108d-4349-11D2-91a4-00C04f7969E8}"};
  for (const char16_t* text : texts) {
    CLSID clsid{};
    EXPECT_EQ(S_OK, CLSIDFromString(text, &clsid));
    EXPECT_TRUE(clsid == expected);
  }
}

TEST(CLSIDFromString, RefusesWhatIsNotExactlyTheBracedForm) {
  const char16_t* const texts[] = {
      u"",
      u"ED8C108D-4349-11D2-91A4-00C04F7969E8",     // no braces
      u"{ED8C108D-4349-11D2-91A4-00C04F7969E8",    // no closing brace
      u"{ED8C108D-4349-11D2-91A4-00C04F7969E8}x",  // something after it
      u"{ED8C108D-4349-11D2-91A400C04F7969E8}",    // a dash missing
      u"{ED8C108D4349-11D2-91A4-00C04F7969E8-}",   // a dash misplaced
      u"{ED8C108G-4349-11D2-91A4-00C04F7969E8}",   // not hex
      u"{ED8C108-4349-11D2-91A4-00C04F7969E8}",    // a group too short
      u"{ED8C108D-4349-11D2-91A4-00C04F7969E}",    // the last group too short
      u"{ED8C108D-4349-11D2-91A4-00C04F7969E8A}",  // the last group too long
      u"{ED8C108D 4349 11D2 91A4 00C04F7969E8}",
      u"Microsoft.XMLHTTP",
  };
  for (const char16_t* text : texts) {
    SCOPED_TRACE(std::string(text, text + std::char_traits<char16_t>::length(text)));
    CLSID clsid = kTestClsid;
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString(text, &clsid));
  }
}

TEST(CLSIDFromString, NullTextIsTheNullClsid) {
  CLSID clsid = kTestClsid;
  EXPECT_EQ(S_OK, CLSIDFromString(nullptr, &clsid));
  EXPECT_TRUE(clsid == CLSID{});
  EXPECT_EQ(E_INVALIDARG, CLSIDFromString(u"{ED8C108D-4349-11D2-91A4-00C04F7969E8}", nullptr));
}

TEST_F(ComObjects, ProgIDsAreFoundWithoutRegardToCase) {
  for (const char16_t* name : {u"Tarvelo.TestThing", u"tarvelo.testthing", u"TARVELO.TESTTHING"}) {
    CLSID clsid{};
    EXPECT_EQ(S_OK, CLSIDFromProgID(name, &clsid));
    EXPECT_TRUE(clsid == kTestClsid);
  }
  CLSID clsid = kTestClsid;
  EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"Tarvelo.Unknown", &clsid));
  EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"Tarvelo.TestThin", &clsid));
  EXPECT_EQ(E_INVALIDARG, CLSIDFromProgID(nullptr, &clsid));
  EXPECT_EQ(E_INVALIDARG, CLSIDFromProgID(u"Tarvelo.TestThing", nullptr));
}

TEST_F(ComObjects, RegisteringAClassAgainReplacesIt) {
  ASSERT_EQ(S_OK, CoRegisterClassObjectEntry(kTestClsid, u"Tarvelo.Renamed", MakeTestThing));
  CLSID clsid{};
  EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"Tarvelo.TestThing", &clsid));
  EXPECT_EQ(S_OK, CLSIDFromProgID(u"Tarvelo.Renamed", &clsid));
  EXPECT_TRUE(clsid == kTestClsid);
}

TEST(CoRegisterClassObjectEntry, RefusesIncompleteEntries) {
  EXPECT_EQ(E_INVALIDARG, CoRegisterClassObjectEntry(kTestClsid, nullptr, MakeTestThing));
  EXPECT_EQ(E_INVALIDARG, CoRegisterClassObjectEntry(kTestClsid, u"", MakeTestThing));
  EXPECT_EQ(E_INVALIDARG, CoRegisterClassObjectEntry(kTestClsid, u"Tarvelo.X", nullptr));
  CLSID clsid{};
  EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"Tarvelo.X", &clsid));
}

TEST_F(ComObjects, CreatesAnObjectWithOneReferenceForTheCaller) {
  ITestThing* thing = nullptr;
  ASSERT_EQ(S_OK, CoCreateInstance(kTestClsid, nullptr, 7, kIidTestThing,
                                   reinterpret_cast<void**>(&thing)));
  ASSERT_NE(nullptr, thing);
  EXPECT_EQ(42, thing->Answer());
  EXPECT_EQ(1, g_liveThings.load());
  EXPECT_EQ(S_OK, OleRun(thing));
  EXPECT_EQ(0u, thing->Release());
  EXPECT_EQ(0, g_liveThings.load());
}

TEST_F(ComObjects, AcceptsEveryContextWithAnInProcessOrLocalServerBit) {
  const DWORD contexts[] = {CLSCTX_INPROC_SERVER, CLSCTX_INPROC_HANDLER, CLSCTX_LOCAL_SERVER,
                            CLSCTX_ALL, CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER};
  for (const DWORD context : contexts) {
    SCOPED_TRACE(context);
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(kTestClsid, nullptr, context, IID_IUnknown,
                                     reinterpret_cast<void**>(&object)));
    object->Release();
  }
}

// An outer object for aggregation requests; nothing may keep a reference to it.
class OuterObject final : public IUnknown {
 public:
  STDMETHOD(QueryInterface)(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_references); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_references); }
  int References() const { return m_references; }

 private:
  int m_references = 0;
};

struct CreationFailure {
  const char* name;
  bool comInitialised;
  bool registered;
  bool withOuter;
  DWORD context;
  const IID* iid;
  HRESULT expected;
  friend void PrintTo(const CreationFailure& c, std::ostream* os) { *os << c.name; }
};

class CoCreateInstanceFailures : public ::testing::TestWithParam<CreationFailure> {};

TEST_P(CoCreateInstanceFailures, ReportTheReasonAndGiveNoObject) {
  const CreationFailure& c = GetParam();
  CoRegisterClassObjectEntry(kTestClsid, u"Tarvelo.TestThing", MakeTestThing);
  if (c.comInitialised) CoInitialize(nullptr);
  OuterObject outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(c.expected,
            CoCreateInstance(c.registered ? kTestClsid : kUnregisteredClsid,
                             c.withOuter ? &outer : nullptr, c.context, *c.iid, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(0, outer.References());
  if (c.comInitialised) CoUninitialize();
  EXPECT_EQ(0, g_liveThings.load());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CoCreateInstanceFailures,
    ::testing::Values(CreationFailure{"ComNotInitialised", false, true, false, 7, &IID_IUnknown,
                                      CO_E_NOTINITIALIZED},
                      CreationFailure{"ClassNotRegistered", true, false, false, 7, &IID_IUnknown,
                                      REGDB_E_CLASSNOTREG},
                      CreationFailure{"OnlyARemoteServerAskedFor", true, true, false,
                                      CLSCTX_REMOTE_SERVER, &IID_IUnknown, REGDB_E_CLASSNOTREG},
                      CreationFailure{"NoContextAtAll", true, true, false, 0, &IID_IUnknown,
                                      REGDB_E_CLASSNOTREG},
                      CreationFailure{"AggregationAskedFor", true, true, true, 7, &IID_IUnknown,
                                      CLASS_E_NOAGGREGATION},
                      CreationFailure{"InterfaceTheObjectLacks", true, true, false, 7, &kIidNobody,
                                      E_NOINTERFACE}),
    [](const ::testing::TestParamInfo<CreationFailure>& info) { return info.param.name; });

TEST(CoCreateInstance, NullOutputIsAnInvalidArgument) {
  CoInitialize(nullptr);
  EXPECT_EQ(E_INVALIDARG, CoCreateInstance(kTestClsid, nullptr, 7, IID_IUnknown, nullptr));
  CoUninitialize();
}

TEST(CoCreateInstance, ComOnAnotherThreadDoesNotCount) {
  CoRegisterClassObjectEntry(kTestClsid, u"Tarvelo.TestThing", MakeTestThing);
  CoInitialize(nullptr);
  HRESULT onOtherThread = S_OK;
  std::thread other([&] {
    void* object = nullptr;
    onOtherThread = CoCreateInstance(kTestClsid, nullptr, 7, IID_IUnknown, &object);
  });
  other.join();
  EXPECT_EQ(CO_E_NOTINITIALIZED, onOtherThread);
  CoUninitialize();
}

TEST(OleRun, NeedsAnObject) {
  EXPECT_EQ(E_INVALIDARG, OleRun(nullptr));
  OuterObject object;
  EXPECT_EQ(S_OK, OleRun(&object));
  EXPECT_EQ(0, object.References());
}

// Registration, lookup and creation from several threads at once: the registry stays whole.
TEST(ClassRegistry, StandsConcurrentUse) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &failures] {
      CLSID own = kTestClsid;
      own.Data1 += static_cast<DWORD>(t + 1);
      const std::u16string progId = u"Tarvelo.Concurrent" + std::u16string(1, u'A' + t);
      CoInitialize(nullptr);
      for (int i = 0; i < kRounds; ++i) {
        CoRegisterClassObjectEntry(own, progId.c_str(), MakeTestThing);
        CLSID found{};
        IUnknown* object = nullptr;
        if (CLSIDFromProgID(progId.c_str(), &found) != S_OK || !(found == own) ||
            CoCreateInstance(found, nullptr, 7, IID_IUnknown, reinterpret_cast<void**>(&object)) !=
                S_OK)
          ++failures;
        else
          object->Release();
      }
      CoUninitialize();
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(0, failures.load());
  EXPECT_EQ(0, g_liveThings.load());
}

}  // namespace
