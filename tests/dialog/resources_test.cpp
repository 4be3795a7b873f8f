// The program's resources: what the window, the icon, the strings and the version block say.
#include <cstdio>
#include <cstring>

#include "dialog_fixture.h"
#include "res/embedded_icon.h"
#include "tarvelo_config.h"

namespace {

TEST(ResourcesTest, CaptionAndFooterNameTheLocationThatIsCalled) {
  const AFX_DIALOG_TEMPLATE& dialog = TestDialogTemplate();
  const std::string location = TARVELO_SERVICE_HOST "/Service.asmx";
  EXPECT_EQ(std::string(dialog.pszCaption), "Tarvelo - " + location);
  const AFX_DIALOG_ITEM& footer = dialog.items.back();
  EXPECT_EQ(std::string(footer.pszText), "Web Service: " + location);
}

TEST(ResourcesTest, TheDialogIsAFixedModalWindowWithoutSystemMenu) {
  const AFX_DIALOG_TEMPLATE& dialog = TestDialogTemplate();
  EXPECT_EQ(dialog.nID, static_cast<UINT>(IDD_TEST_DIALOG));
  EXPECT_EQ(dialog.dwStyle,
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(dialog.dwExStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(dialog.cx, 492);
  EXPECT_EQ(dialog.cy, 121);
  EXPECT_STREQ(dialog.pszTypeface, "MS Sans Serif");
  EXPECT_EQ(dialog.wPointSize, 8);

  int multiLine = 0;
  for (const AFX_DIALOG_ITEM& item : dialog.items) {
    EXPECT_EQ(item.dwStyle & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE))
        << item.nID;
    EXPECT_EQ(item.dwExStyle, 0u);
    // Every control lies inside the dialog.
    EXPECT_LE(item.x + item.cx, dialog.cx) << item.nID;
    EXPECT_LE(item.y + item.cy, dialog.cy) << item.nID;
    if (std::strcmp(item.pszClass, "edit") == 0 && (item.dwStyle & ES_MULTILINE) != 0) {
      ++multiLine;
      EXPECT_NE(item.dwStyle & WS_HSCROLL, 0u) << item.nID;
      EXPECT_EQ(item.dwStyle & WS_VSCROLL, 0u) << item.nID;
      EXPECT_NE(item.dwStyle & ES_READONLY, 0u) << item.nID;
    }
  }
  EXPECT_EQ(multiLine, 2);
}

TEST(ResourcesTest, TheIconGroupHasA32AndA16PixelImageOf16Colours) {
  const std::span<const BYTE> file(kTarveloIco, kTarveloIcoSize);
  ASSERT_GE(file.size(), 6u + 2 * 16u);
  EXPECT_EQ(file[4], 2);  // two images
  for (std::size_t entry = 0; entry < 2; ++entry) {
    const BYTE* at = file.data() + 6 + entry * 16;
    EXPECT_EQ(at[0], entry == 0 ? 32 : 16);  // width
    EXPECT_EQ(at[1], entry == 0 ? 32 : 16);  // height
    EXPECT_EQ(at[2], 16);                    // colours
    EXPECT_EQ(at[4] | (at[5] << 8), 1);      // planes
    EXPECT_EQ(at[6] | (at[7] << 8), 4);      // bits per pixel
  }
  EXPECT_EQ(TarveloResourceModule().iconGroups[0].wLanguage, 1050);
}

TEST(ResourcesTest, TheVersionBlockDescribesVersion1001) {
  const AFX_VERSION_INFO& version = TarveloVersionInfo();
  EXPECT_EQ(version.fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(version.fixed.dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(version.fixed.dwProductVersionMS, version.fixed.dwFileVersionMS);
  EXPECT_EQ(version.fixed.dwProductVersionLS, version.fixed.dwFileVersionLS);
  EXPECT_EQ(version.fixed.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(version.fixed.dwFileFlags, 0u);
  EXPECT_EQ(version.fixed.dwFileOS, 4u);
  EXPECT_EQ(version.fixed.dwFileType, 1u);
  // The string table's key is the translation's language and code page.
  char key[9];
  std::snprintf(key, sizeof key, "%04X%04X", version.wTranslationLanguage,
                version.wTranslationCodePage);
  EXPECT_STREQ(version.pszStringTableKey, key);
  EXPECT_STREQ(key, "040904B0");

  AfxSetResourceModule(&TarveloResourceModule());
  const std::pair<const char*, const char*> expected[] = {
      {"CompanyName", ""},
      {"FileDescription", "Tarvelo MFC Application"},
      {"FileVersion", "1, 0, 0, 1"},
      {"InternalName", "Tarvelo"},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "Tarvelo.EXE"},
      {"ProductName", "Tarvelo Application"},
      {"ProductVersion", "1, 0, 0, 1"},
  };
  for (const auto& [name, value] : expected) {
    const char* found = AfxGetVersionString(name);
    ASSERT_NE(found, nullptr) << name;
    EXPECT_STREQ(found, value) << name;
  }
  const char* copyright = AfxGetVersionString("LegalCopyright");
  AfxSetResourceModule(nullptr);
  ASSERT_NE(copyright, nullptr);
  EXPECT_NE(std::strstr(copyright, "Tarvelo"), nullptr);
}

}  // namespace
