// The test dialog: its state after construction and destruction, and the window it opens.
#include <cstring>
#include <new>

#include "dialog_fixture.h"
#include "support/counted_bstr_memory.h"
#include "tarvelo_config.h"

namespace {

constexpr char kDefaultTextUtf8[] = "added string to hello and check code page (čćžđšČĆŽĐŠ)";
constexpr unsigned char kPattern = 0xA5;

bool HoldsPattern(const unsigned char* at, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (at[i] != kPattern) return false;
  }
  return true;
}

TEST_F(SoapTestDlgTest, ConstructionSetsTheBoundMembersAndLeavesThePlainOnesAlone) {
  alignas(CSoapTestDlg) unsigned char storage[sizeof(CSoapTestDlg)];
  std::memset(storage, kPattern, sizeof storage);
  auto* dialog = new (storage) CSoapTestDlg;

  EXPECT_STREQ(dialog->m_strText, "");
  EXPECT_STREQ(dialog->m_strRequest, "");
  EXPECT_STREQ(dialog->m_strResponse, "");
  EXPECT_STREQ(dialog->m_strTimes, "");
  EXPECT_STREQ(dialog->m_strUser, "");
  EXPECT_STREQ(dialog->m_strEnvelope, "");
  EXPECT_EQ(dialog->m_nTimesDone, 0);
  EXPECT_EQ(dialog->m_bstrMethod.WideText(), nullptr);
  EXPECT_EQ(dialog->m_bstrResponse.WideText(), nullptr);
  EXPECT_EQ(dialog->m_varAsync.vt, VT_EMPTY);
  EXPECT_EQ(dialog->m_editText.m_hWnd, nullptr);
  EXPECT_EQ(dialog->m_editTimes.m_hWnd, nullptr);
  const HICON mainFrame =
      ::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON),
                  MAKEINTRESOURCE(IDR_MAINFRAME));
  ASSERT_NE(mainFrame, nullptr);
  EXPECT_EQ(dialog->m_hIcon, mainFrame);

  struct Plain {
    const char* name;
    const void* at;
    std::size_t size;
  };
  const Plain plain[] = {
      {"m_timeBegin", &dialog->m_timeBegin, sizeof dialog->m_timeBegin},
      {"m_timeEnd", &dialog->m_timeEnd, sizeof dialog->m_timeEnd},
      {"m_varUser", &dialog->m_varUser, sizeof dialog->m_varUser},
      {"m_varPassword", &dialog->m_varPassword, sizeof dialog->m_varPassword},
      {"m_varBody", &dialog->m_varBody, sizeof dialog->m_varBody},
      {"m_szTimes", dialog->m_szTimes, sizeof dialog->m_szTimes},
      {"m_szBegin", dialog->m_szBegin, sizeof dialog->m_szBegin},
      {"m_szEnd", dialog->m_szEnd, sizeof dialog->m_szEnd},
      {"m_szNumber", dialog->m_szNumber, sizeof dialog->m_szNumber},
      {"m_szResult", dialog->m_szResult, sizeof dialog->m_szResult},
      {"m_szError", dialog->m_szError, sizeof dialog->m_szError},
      {"m_nTimes", &dialog->m_nTimes, sizeof dialog->m_nTimes},
  };
  for (const Plain& member : plain) {
    EXPECT_TRUE(HoldsPattern(static_cast<const unsigned char*>(member.at), member.size))
        << member.name << " was given a value";
  }

  // The destructor clears nothing of the plain variants either (their garbage would not
  // survive a VariantClear).
  const std::size_t userAt =
      static_cast<std::size_t>(reinterpret_cast<unsigned char*>(&dialog->m_varUser) - storage);
  dialog->~CSoapTestDlg();
  EXPECT_TRUE(HoldsPattern(storage + userAt, sizeof(VARIANT)));
}

TEST_F(SoapTestDlgTest, DestructionReleasesTheHoldersAndTheAsynchronousFlag) {
  const long before = LiveBstrCount();
  {
    CSoapTestDlg dialog;
    dialog.m_bstrMethod = CountedWideString("POST");
    dialog.m_bstrResponse = CountedWideString("<reply/>");
    dialog.m_varAsync.vt = VT_BSTR;
    dialog.m_varAsync.bstrVal = SysAllocString(u"held by the flag");
    EXPECT_EQ(LiveBstrCount(), before + 3);
  }
  EXPECT_EQ(LiveBstrCount(), before);
}

TEST_F(SoapTestDlgTest, TheWindowOpensWithTheDefaultsAndTheFocusOnCallWebService) {
  CSoapTestDlg dialog;
  std::map<int, std::string> texts;
  int focus = 0, textLimit = 0, timesLimit = 0;
  std::string caption;
  const afx::Icon *bigIcon = nullptr, *smallIcon = nullptr;
  Run(dialog, [&](Dialog& window) {
    for (int id : {IDC_TEXT, IDC_REQUEST, IDC_RESPONSE, IDC_TIMES, IDC_TIMES_DONE, IDC_BEGIN,
                   IDC_END, IDC_AVERAGE, IDC_DIFF}) {
      texts[id] = window.Text(id);
    }
    focus = window.FocusedId();
    textLimit = window.TextLimit(IDC_TEXT);
    timesLimit = window.TextLimit(IDC_TIMES);
    caption = window.Caption();
    bigIcon = window.WindowIcon(true);
    smallIcon = window.WindowIcon(false);
  });
  EXPECT_EQ(texts[IDC_TEXT], kDefaultTextUtf8);
  EXPECT_EQ(texts[IDC_TIMES], "5");
  EXPECT_EQ(texts[IDC_TIMES_DONE], "0");
  for (int id : {IDC_REQUEST, IDC_RESPONSE, IDC_BEGIN, IDC_END, IDC_AVERAGE, IDC_DIFF}) {
    EXPECT_EQ(texts[id], "") << "control " << id;
  }
  EXPECT_EQ(focus, IDOK);
  EXPECT_EQ(textLimit, 128);
  EXPECT_EQ(timesLimit, 4);
  EXPECT_EQ(caption, "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
  ASSERT_NE(bigIcon, nullptr);
  EXPECT_EQ(bigIcon, afx::IconFromHandle(dialog.m_hIcon));
  EXPECT_EQ(smallIcon, bigIcon);

  // The default text is held as its 54 Windows-1250 bytes.
  EXPECT_EQ(dialog.m_strText.GetLength(), 54);
  EXPECT_EQ(dialog.m_strText, kDefaultSendText);
  EXPECT_EQ(std::memcmp(static_cast<const char*>(dialog.m_strText) + 43,
                        "\xE8\xE6\x9E\xF0\x9A\xC8\xC6\x8E\xD0\x8A)", 11),
            0);
  EXPECT_EQ(dialog.m_strTimes, "5");
}

TEST_F(SoapTestDlgTest, TabWalksTheControlsInTemplateOrder) {
  CSoapTestDlg dialog;
  std::vector<int> order;
  Run(dialog, [&](Dialog& window) {
    order.push_back(window.FocusedId());
    for (int i = 0; i < 7; ++i) {
      window.Press(Key::Tab);
      order.push_back(window.FocusedId());
    }
  });
  EXPECT_EQ(order, (std::vector<int>{IDOK, IDCANCEL, IDC_TEXT, IDC_REQUEST, IDC_RESPONSE, IDC_TIMES,
                                     IDC_TIMES_DONE, IDOK}));
}

TEST_F(SoapTestDlgTest, EnterInTheFieldsStartsARunAndTheWindowStaysOpen) {
  for (const int field : {IDC_TEXT, IDC_TIMES, IDC_REQUEST}) {
    CObservedSoapTestDlg dialog;
    bool open = false;
    Run(dialog, [&](Dialog& window) {
      window.Focus(field);
      window.Press(Key::Enter);
      open = window.IsOpen();
    });
    EXPECT_EQ(dialog.runs, 1) << "Enter in " << field;
    EXPECT_TRUE(open) << "Enter in " << field;
  }
}

TEST_F(SoapTestDlgTest, ExitEscapeEnterOnExitAndACloseRequestEndTheDialog) {
  struct Case {
    const char* how;
    std::function<void(Dialog&)> act;
  };
  const Case cases[] = {
      {"Exit", [](Dialog& window) { window.Click(IDCANCEL); }},
      {"Escape", [](Dialog& window) { window.Press(Key::Escape); }},
      {"Enter on Exit",
       [](Dialog& window) {
         window.Press(Key::Tab);
         window.Press(Key::Enter);
       }},
      {"close", [](Dialog& window) { window.Close(); }},
  };
  for (const Case& c : cases) {
    CObservedSoapTestDlg dialog;
    bool openAfter = true;
    const INT_PTR result = Run(dialog, [&](Dialog& window) {
      c.act(window);
      openAfter = window.IsOpen();
    });
    EXPECT_FALSE(openAfter) << c.how;
    EXPECT_EQ(result, IDCANCEL) << c.how;
    EXPECT_EQ(dialog.runs, 0) << c.how;
    EXPECT_EQ(dialog.m_editText.m_hWnd, nullptr) << c.how;
  }
}

TEST_F(SoapTestDlgTest, TheFieldsTakeTypingAndPastingUpToTheirLimits) {
  CObservedSoapTestDlg dialog;
  std::string text, times, timesLetters;
  bool typedIntoRequest = true, typedIntoResponse = true, typedIntoDone = true;
  Run(dialog, [&](Dialog& window) {
    window.EnterText(IDC_TEXT, std::string(130, 'a'));
    text = window.Text(IDC_TEXT);
    window.Focus(IDC_TIMES);
    window.SelectAll();
    window.Paste("123456");
    times = window.Text(IDC_TIMES);
    window.EnterText(IDC_TIMES, "ab!xyz");  // any characters, not only digits
    timesLetters = window.Text(IDC_TIMES);
    typedIntoRequest = window.EnterText(IDC_REQUEST, "x");
    typedIntoResponse = window.EnterText(IDC_RESPONSE, "x");
    typedIntoDone = window.EnterText(IDC_TIMES_DONE, "1");
  });
  EXPECT_EQ(text, std::string(128, 'a'));
  EXPECT_EQ(times, "1234");
  EXPECT_EQ(timesLetters, "ab!x");
  EXPECT_FALSE(typedIntoRequest);
  EXPECT_FALSE(typedIntoResponse);
  EXPECT_FALSE(typedIntoDone);
}

TEST_F(SoapTestDlgTest, MinimisedTheWindowPaintsOnlyItsIconCentred) {
  struct Case {
    int cx, cy;
    int x, y;  // (size - 32 + 1) / 2, truncated toward zero
  };
  const Case cases[] = {{32, 32, 0, 0}, {33, 34, 1, 1}, {45, 20, 7, -5}, {738, 197, 353, 83}};
  for (const Case& c : cases) {
    CSoapTestDlg dialog;
    std::vector<afx::headless::DrawnIcon> drawn;
    int erased = 0;
    Run(dialog, [&](Dialog& window) {
      window.SetIconic(true);
      window.SetClientSize(c.cx, c.cy);
      window.Paint();
      drawn = window.DrawnIcons();
      erased = window.IconBackgroundErasures();
    });
    ASSERT_EQ(drawn.size(), 1u) << c.cx << "x" << c.cy;
    EXPECT_EQ(drawn[0].x, c.x) << c.cx << "x" << c.cy;
    EXPECT_EQ(drawn[0].y, c.y) << c.cx << "x" << c.cy;
    EXPECT_EQ(drawn[0].icon, dialog.m_hIcon);
    EXPECT_EQ(erased, 1);
  }

  CSoapTestDlg dialog;
  std::size_t drawnOpen = 1;
  int erasedOpen = 1;
  Run(dialog, [&](Dialog& window) {
    window.Paint();
    drawnOpen = window.DrawnIcons().size();
    erasedOpen = window.IconBackgroundErasures();
  });
  EXPECT_EQ(drawnOpen, 0u);
  EXPECT_EQ(erasedOpen, 0);
}

TEST_F(SoapTestDlgTest, TheDragIconIsTheWindowsIcon) {
  CSoapTestDlg dialog;
  LRESULT dragIcon = 0;
  Run(dialog, [&](Dialog&) { dragIcon = dialog.SendMessage(WM_QUERYDRAGICON); });
  EXPECT_NE(dialog.m_hIcon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(dragIcon), dialog.m_hIcon);
}

}  // namespace
