// Icons: loading icon groups from the resources, and painting them.
#include <gtest/gtest.h>

#include "sample_dialog.h"

namespace {

class IconResourceTest : public FrameworkTest {};

TEST_F(IconResourceTest, IconsLoadOnceFromTheModuleAndNotFromElsewhere) {
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDI_SAMPLE), RT_GROUP_ICON);
  ASSERT_NE(module, nullptr);
  const HICON first = ::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE)), first);
  const afx::Icon* icon = afx::IconFromHandle(first);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->file.data(), SampleModule().iconGroups[0].data.data());

  EXPECT_EQ(::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE_CURSOR)), nullptr);
  EXPECT_EQ(::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE + 9)), nullptr);
  EXPECT_EQ(::LoadIconA(nullptr, MAKEINTRESOURCE(IDI_SAMPLE)), nullptr);
  int notAnIcon = 0;
  EXPECT_EQ(afx::IconFromHandle(reinterpret_cast<HICON>(&notAnIcon)), nullptr);
}

class CIconDlg : public CSampleDlg {
 public:
  HICON m_hIcon = nullptr;
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    dc.DrawIcon(3, 4, m_hIcon);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIconDlg, CSampleDlg)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(IconResourceTest, IconsAreDrawnOnlyWhilePainting) {
  CIconDlg dialog;
  dialog.m_hIcon = ::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCE(IDI_SAMPLE), RT_GROUP_ICON),
                               MAKEINTRESOURCE(IDI_SAMPLE));
  std::vector<afx::headless::DrawnIcon> drawn;
  int erased = 0;
  BOOL outsidePaint = TRUE;
  Run(dialog, [&](Dialog& window) {
    CDC notPainting;
    notPainting.m_hDC = reinterpret_cast<HDC>(&window);
    outsidePaint = notPainting.DrawIcon(0, 0, dialog.m_hIcon);
    window.Paint();
    drawn = window.DrawnIcons();
    erased = window.IconBackgroundErasures();
  });
  EXPECT_FALSE(outsidePaint);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].x, 3);
  EXPECT_EQ(drawn[0].y, 4);
  EXPECT_EQ(drawn[0].icon, dialog.m_hIcon);
  EXPECT_EQ(erased, 1);
}

}  // namespace
