// Message maps: lookup through the base maps, and commands reaching their handlers.
#include <gtest/gtest.h>

#include "sample_dialog.h"

namespace {

class CBaseTarget : public CCmdTarget {
 public:
  std::vector<std::string> calls;
  afx_msg void OnFirst() { calls.push_back("base first"); }
  afx_msg void OnSecond() { calls.push_back("base second"); }
  afx_msg void OnRange() { calls.push_back("base range"); }
  DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
ON_COMMAND(10, OnFirst)
ON_COMMAND(20, OnSecond)
// A range of commands, written out.
{WM_COMMAND, CN_COMMAND, 30, 39, AfxSig_cmd,
 {.pfnCmd = static_cast<void (CCmdTarget::*)()>(&CBaseTarget::OnRange)}},
END_MESSAGE_MAP()
    // clang-format on

    class CDerivedTarget : public CBaseTarget {
 public:
  afx_msg void OnFirstAgain() { calls.push_back("derived first"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
ON_COMMAND(10, OnFirstAgain)
END_MESSAGE_MAP()

TEST(MessageMapTest, CommandsReachTheMostDerivedHandlerAndFallBackToTheBaseMap) {
  struct Case {
    UINT id;
    int code;
    BOOL handled;
    const char* handler;
  };
  const Case cases[] = {
      {10, CN_COMMAND, TRUE, "derived first"},  // the derived map wins
      {20, CN_COMMAND, TRUE, "base second"},    // found in the base map
      {30, CN_COMMAND, TRUE, "base range"},     // a range, first id
      {39, CN_COMMAND, TRUE, "base range"},     // a range, last id
      {40, CN_COMMAND, FALSE, nullptr},         // past the range
      {10, 1, FALSE, nullptr},                  // another notification code
  };
  for (const Case& c : cases) {
    CDerivedTarget target;
    EXPECT_EQ(target.OnCmdMsg(c.id, c.code), c.handled) << "id " << c.id << " code " << c.code;
    if (c.handler != nullptr) {
      EXPECT_EQ(target.calls, std::vector<std::string>{c.handler}) << "id " << c.id;
    } else {
      EXPECT_TRUE(target.calls.empty()) << "id " << c.id;
    }
  }
}

TEST(MessageMapTest, WindowMessagesAreFoundByMessageAndCommandsOnlyById) {
  struct Probe : CSampleDlg {
    const AFX_MSGMAP* Map() const { return GetMessageMap(); }
  } dialog;
  const AFX_MSGMAP_ENTRY* destroy = AfxFindMessageEntry(dialog.Map(), WM_DESTROY);
  ASSERT_NE(destroy, nullptr);
  EXPECT_EQ(destroy->nSig, AfxSig_vv);
  // WM_INITDIALOG comes from CDialog's map, two maps up.
  const AFX_MSGMAP_ENTRY* init = AfxFindMessageEntry(dialog.Map(), WM_INITDIALOG);
  ASSERT_NE(init, nullptr);
  EXPECT_EQ(init->nSig, AfxSig_lwl);
  EXPECT_EQ(AfxFindMessageEntry(dialog.Map(), WM_PAINT), nullptr);
  EXPECT_EQ(AfxFindMessageEntry(dialog.Map(), WM_COMMAND), nullptr);
  EXPECT_NE(AfxFindCommandEntry(dialog.Map(), IDCANCEL, CN_COMMAND), nullptr);
}

class ButtonCommandTest : public FrameworkTest {};

TEST_F(ButtonCommandTest, ButtonsReachTheirHandlersAndTheVirtualOverrides) {
  struct Case {
    int button;
    INT_PTR result;  // what DoModal returns once the script has clicked it
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {IDC_APPLY, IDCANCEL, {"OnInitDialog", "OnApply", "OnDestroy"}},
      {IDOK, IDOK, {"OnInitDialog", "OnOK", "OnDestroy"}},
      {IDCANCEL, IDCANCEL, {"OnInitDialog", "OnCancel", "OnDestroy"}},
  };
  for (const Case& c : cases) {
    CSampleDlg dialog;
    bool openAfterClick = false;
    const INT_PTR result = Run(dialog, [&](Dialog& window) {
      EXPECT_TRUE(window.Click(c.button));
      openAfterClick = window.IsOpen();
    });
    EXPECT_EQ(result, c.result) << "button " << c.button;
    EXPECT_EQ(dialog.calls, c.calls) << "button " << c.button;
    EXPECT_EQ(openAfterClick, c.button == IDC_APPLY) << "button " << c.button;
  }
}

TEST_F(ButtonCommandTest, AnOkOverrideThatDoesNotEndKeepsTheDialogOpen) {
  CSampleDlg dialog;
  dialog.okEnds = false;
  const INT_PTR result = Run(dialog, [&](Dialog& window) {
    window.Click(IDOK);
    window.Click(IDOK);
    EXPECT_TRUE(window.IsOpen());
  });
  EXPECT_EQ(result, IDCANCEL);  // the script ran out
  EXPECT_EQ(std::count(dialog.calls.begin(), dialog.calls.end(), "OnOK"), 2);
}

class CHelpApp : public CWinApp {
 public:
  int helpRequests = 0;
  afx_msg void OnHelpRequest() { ++helpRequests; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelpRequest)
END_MESSAGE_MAP()

TEST_F(ButtonCommandTest, ApplicationCommandsTheDialogDoesNotHandleGoOnToTheApplication) {
  CHelpApp app;
  CSampleDlg dialog;
  LRESULT help = 0, unknownControl = 0;
  Run(dialog, [&](Dialog&) {
    help = dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
    unknownControl = dialog.SendMessage(WM_COMMAND, MAKEWPARAM(150, BN_CLICKED), 0);
  });
  EXPECT_EQ(app.helpRequests, 1);
  EXPECT_NE(help, 0);
  EXPECT_EQ(unknownControl, 0);
}

}  // namespace
