// What the shell was asked, and how an address reaches the desktop's opener.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "Shell.h"
#include "TempFolder.h"

namespace {

int ResultOf(HINSTANCE H) { return int(reinterpret_cast<std::intptr_t>(H)); }

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { ClearShellRequests(); }
  ~ShellTest() override {
    SetShellInteractive(false);
    WaitForShellOpeners();
    ClearShellRequests();
  }

  // An opener on PATH that writes how many arguments it got, then the first one.
  void InstallFakeOpener() {
    std::string Script = Dir / "xdg-open";
    WriteWholeFile(Script,
                   "#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > \"" + (Dir / "seen") + "\"\n");
    chmod(Script.c_str(), 0755);
  }

  TTempFolder Dir;
};

TEST_F(ShellTest, EveryCallIsRecordedAndNothingOpensOutsideAnInteractiveSession) {
  TEnvVar Path("PATH", Dir.Path().c_str());
  InstallFakeOpener();
  HWND Desktop = GetDesktopWindow();
  ASSERT_NE(Desktop, nullptr);
  EXPECT_EQ(GetDesktopWindow(), Desktop);
  HINSTANCE H = ShellExecuteA(Desktop, "open", "https://example.test/", "", "", SW_SHOWNORMAL);
  EXPECT_GT(ResultOf(H), 32);
  ASSERT_EQ(ShellRequests().size(), 1u);
  const TShellRequest& R = ShellRequests()[0];
  EXPECT_EQ(R.Parent, Desktop);
  EXPECT_EQ(R.Operation, "open");
  EXPECT_EQ(R.File, "https://example.test/");
  EXPECT_EQ(R.ShowCmd, SW_SHOWNORMAL);
  EXPECT_EQ(R.Opener, 0);
  WaitForShellOpeners();
  EXPECT_FALSE(std::filesystem::exists(Dir / "seen"));
}

TEST_F(ShellTest, AHostileAddressReachesTheOpenerAsOneArgument) {
  TEnvVar Path("PATH", Dir.Path().c_str());
  InstallFakeOpener();
  SetShellInteractive(true);
  const std::string Address =
      "mailto:support@example.test?subject=Ombrix Components 3.0 (Build 3.42)\"; touch " +
      (Dir / "pwned") + "; echo '$(id)' `id` & |";
  HINSTANCE H = ShellExecuteA(GetDesktopWindow(), "open", Address.c_str(), "", "", SW_SHOWNORMAL);
  EXPECT_GT(ResultOf(H), 32);
  ASSERT_EQ(ShellRequests().size(), 1u);
  EXPECT_GT(ShellRequests()[0].Opener, 0);
  WaitForShellOpeners();
  EXPECT_EQ(ReadWholeFile(Dir / "seen"), "1\n" + Address);
  EXPECT_FALSE(std::filesystem::exists(Dir / "pwned"));
}

TEST_F(ShellTest, RequestsTheOpenerCannotServeFailWithTheShellsCodes) {
  TEnvVar Path("PATH", Dir.Path().c_str());  // no opener installed yet
  SetShellInteractive(true);
  HWND D = GetDesktopWindow();
  EXPECT_EQ(ResultOf(ShellExecuteA(D, "open", "https://example.test/", "", "", 1)), SE_ERR_NOASSOC);
  InstallFakeOpener();
  EXPECT_EQ(ResultOf(ShellExecuteA(D, "open", "", "", "", 1)), SE_ERR_FNF);
  EXPECT_EQ(ResultOf(ShellExecuteA(D, "print", "a.txt", "", "", 1)), SE_ERR_NOASSOC);
  EXPECT_EQ(ResultOf(ShellExecuteA(D, "open", "--help", "", "", 1)), SE_ERR_ACCESSDENIED);
  EXPECT_EQ(ResultOf(ShellExecuteA(D, "open", "a.txt", "", (Dir / "none").c_str(), 1)), SE_ERR_PNF);
  ASSERT_EQ(ShellRequests().size(), 5u);
  for (const TShellRequest& R : ShellRequests()) EXPECT_EQ(R.Opener, 0) << R.File;
  WaitForShellOpeners();
  EXPECT_FALSE(std::filesystem::exists(Dir / "seen"));
  // A null operation is the default verb, open.
  EXPECT_GT(ResultOf(ShellExecuteA(D, nullptr, "https://example.test/", nullptr, nullptr, 1)), 32);
  WaitForShellOpeners();
  EXPECT_EQ(ReadWholeFile(Dir / "seen"), "1\nhttps://example.test/");
}

}  // namespace
