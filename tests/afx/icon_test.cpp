// Icons: reading .ico files, loading icon groups from the resources, and painting them.
#include <gtest/gtest.h>

#include "icon_decoder.h"
#include "sample_dialog.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kClear = 0;

TEST(IconDecoderTest, ImagesComeOutTopDownWithTheirPaletteColoursAndMask) {
  // 4 bits: row 0 holds red at x 0 and a transparent pixel at x 31; the last row is black.
  SampleIconImage large{32, 4, std::vector<int>(32 * 32, 15)};
  large.indexes[0] = 9;
  large.indexes[31] = -1;
  for (int x = 0; x < 32; ++x) large.indexes[static_cast<std::size_t>(31 * 32 + x)] = 0;
  // 1 bit: a diagonal of white on black, one transparent corner.
  SampleIconImage small{16, 1, std::vector<int>(16 * 16, 0)};
  for (int i = 0; i < 16; ++i) small.indexes[static_cast<std::size_t>(i * 16 + i)] = 1;
  small.indexes[15] = -1;

  const std::vector<BYTE> file = BuildIconFile({large, small});
  const std::optional<afx::Icon> icon = afx::DecodeIconFile(file);
  ASSERT_TRUE(icon.has_value());
  ASSERT_EQ(icon->images.size(), 2u);

  const afx::IconImage& big = icon->images[0];
  ASSERT_EQ(big.width, 32);
  ASSERT_EQ(big.height, 32);
  EXPECT_EQ(big.pixels[0], kRed);
  EXPECT_EQ(big.pixels[1], kWhite);
  EXPECT_EQ(big.pixels[31], kClear);
  EXPECT_EQ(big.pixels[31 * 32 + 5], kBlack);

  const afx::IconImage& little = icon->images[1];
  EXPECT_EQ(little.pixels[0], kWhite);
  EXPECT_EQ(little.pixels[1], kBlack);
  EXPECT_EQ(little.pixels[5 * 16 + 5], kWhite);
  EXPECT_EQ(little.pixels[15], kClear);
}

TEST(IconDecoderTest, BrokenFilesAndUnreadableImagesAreRefused) {
  SampleIconImage image{16, 4, std::vector<int>(256, 3)};
  const std::vector<BYTE> good = BuildIconFile({image});
  ASSERT_TRUE(afx::DecodeIconFile(good).has_value());

  std::vector<BYTE> cut(good.begin(), good.end() - 10);
  EXPECT_FALSE(afx::DecodeIconFile(cut).has_value());

  std::vector<BYTE> notAnIcon = good;
  notAnIcon[2] = 2;  // a cursor file
  EXPECT_FALSE(afx::DecodeIconFile(notAnIcon).has_value());

  std::vector<BYTE> manyEntries = good;
  manyEntries[4] = 200;  // more entries than the file holds
  EXPECT_FALSE(afx::DecodeIconFile(manyEntries).has_value());

  std::vector<BYTE> packed = good;
  const std::size_t imageAt = 6 + 16;
  packed[imageAt] = 0x89;  // a PNG signature where the bitmap header was
  EXPECT_FALSE(afx::DecodeIconFile(packed).has_value());

  std::vector<BYTE> badDepth = good;
  badDepth[imageAt + 14] = 3;  // 3 bits per pixel
  EXPECT_FALSE(afx::DecodeIconFile(badDepth).has_value());
}

TEST(IconDecoderTest, TheImageForASizeIsExactElseTheNextLargerElseTheLargest) {
  afx::Icon icon;
  for (int size : {16, 48, 32}) icon.images.push_back(afx::IconImage{size, size, {}});
  EXPECT_EQ(icon.ImageForSize(32)->width, 32);
  EXPECT_EQ(icon.ImageForSize(20)->width, 32);
  EXPECT_EQ(icon.ImageForSize(8)->width, 16);
  EXPECT_EQ(icon.ImageForSize(64)->width, 48);
  EXPECT_EQ(afx::Icon{}.ImageForSize(32), nullptr);
}

class IconResourceTest : public FrameworkTest {};

TEST_F(IconResourceTest, IconsLoadOnceFromTheModuleAndNotFromElsewhere) {
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDI_SAMPLE), RT_GROUP_ICON);
  ASSERT_NE(module, nullptr);
  const HICON first = ::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE)), first);
  const afx::Icon* icon = afx::IconFromHandle(first);
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->images.size(), 1u);
  EXPECT_EQ(icon->images[0].pixels[5 * 16 + 5], kRed);
  EXPECT_EQ(icon->images[0].pixels[0], kClear);

  EXPECT_EQ(::LoadIconA(module, MAKEINTRESOURCE(IDI_SAMPLE + 1)), nullptr);
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
