// The registry class and the install record, against the real HKLM of the
// test prefix.
#include <gtest/gtest.h>

#include <memory>

#include "WineFixture.h"
#include "win/Exception.h"
#include "win/Registry.h"

namespace {

const char kTestKey[] = "SOFTWARE\\QuorletRegistryTest";

class RegistryClass : public testing::Test {
 protected:
  void SetUp() override { fixture::DeleteHklmTree(kTestKey); }
  void TearDown() override { fixture::DeleteHklmTree(kTestKey); }
  win::Registry reg;
  fixture::ScopedKeys keys;
};

TEST_F(RegistryClass, LeadingBackslashStartsFromTheRootOtherwiseFromTheOpenKey) {
  keys.Create(std::string(kTestKey) + "\\Inner");
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(reg.KeyExists(kTestKey));
  EXPECT_TRUE(reg.KeyExists(std::string("\\") + kTestKey));
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kTestKey, false));
  // Relative to the open key now; from the root with the backslash.
  EXPECT_TRUE(reg.KeyExists("Inner"));
  EXPECT_FALSE(reg.KeyExists("\\Inner"));
  EXPECT_TRUE(reg.OpenKey("Inner", false));
}

TEST_F(RegistryClass, OpenKeyCreatesOnlyWhenAsked) {
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  std::string key = std::string("\\") + kTestKey + "\\New";
  EXPECT_FALSE(reg.OpenKey(key, false));
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_TRUE(reg.OpenKey(key, true));
  EXPECT_NE(reg.CurrentKey(), nullptr);
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_TRUE(reg.KeyExists(key));
}

TEST_F(RegistryClass, ReadsTextValuesAndRefusesOtherTypes) {
  keys.SetString(kTestKey, "Plain", "C:\\Apps\\FMP\\System\\");
  keys.SetString(kTestKey, "Expand", "%SystemRoot%\\FMP", REG_EXPAND_SZ);
  keys.SetDword(kTestKey, "Number", 42);
  HKEY h = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_ALL_ACCESS, &h);
  RegSetValueExA(h, "EmptyBinary", 0, REG_BINARY, nullptr, 0);
  RegSetValueExA(h, "NoTerminator", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
  RegCloseKey(h);

  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kTestKey, false));
  EXPECT_TRUE(reg.ValueExists("Plain"));
  EXPECT_FALSE(reg.ValueExists("Missing"));
  EXPECT_EQ(reg.ReadString("Plain"), "C:\\Apps\\FMP\\System\\");
  EXPECT_EQ(reg.ReadString("Expand"), "%SystemRoot%\\FMP");  // not expanded
  EXPECT_EQ(reg.ReadString("EmptyBinary"), "");              // no data, any type
  EXPECT_EQ(reg.ReadString("NoTerminator"), "abc");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  try {
    reg.ReadString("Number");
    FAIL() << "a REG_DWORD read as text must raise";
  } catch (const win::Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Number'");
  }
}

TEST_F(RegistryClass, WritesTextWithItsTerminatorAndReportsAFailedWrite) {
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kTestKey, true));
  reg.WriteString("Dir", "D:\\FMP");
  HKEY h = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_READ, &h);
  char data[32] = {};
  DWORD size = sizeof(data), type = 0;
  RegQueryValueExA(h, "Dir", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(h);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 7u);  // text plus its NUL
  EXPECT_STREQ(data, "D:\\FMP");

  // No key could be opened: the write has nowhere to go.
  win::Registry closed;
  closed.SetRootKey(HKEY_LOCAL_MACHINE);
  closed.OpenKey("\\SOFTWARE\\QuorletRegistryTest\\Missing", false);
  try {
    closed.WriteString("InstallDir", "x");
    FAIL() << "a failed write must raise";
  } catch (const win::Exception& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'InstallDir'");
  }
}

// --- The install record as the wizard reads and writes it -------------------

class InstallRecord : public testing::Test {
 protected:
  void SetUp() override {
    fixture::DeleteHklmTree(fixture::kRecordKey);
    fixture::DeleteTree("C:\\record");
    ASSERT_TRUE(fixture::MakeFolders("C:\\record\\four\\System"));
    ASSERT_TRUE(fixture::MakeFolders("C:\\record\\five"));
    frm = std::make_unique<TfrmMain>();
  }
  void TearDown() override {
    frm.reset();
    fixture::DeleteHklmTree(fixture::kRecordKey);
    fixture::DeleteTree("C:\\record");
  }
  std::unique_ptr<TfrmMain> frm;
  fixture::ScopedKeys keys;
};

TEST_F(InstallRecord, ReadingTakesRecordedFoldersThatStillExist) {
  struct Case {
    const char* value4;  // nullptr: no value
    const char* value5;
    const char* path4;
    const char* path5;
  };
  const Case cases[] = {
      {"C:\\record\\four\\System\\", "C:\\record\\five", "C:\\record\\four\\System\\",
       "C:\\record\\five"},
      {"C:\\record\\gone\\", nullptr, "", ""},
      {nullptr, "C:\\record\\five\\", "", "C:\\record\\five\\"},
      {"", "C:\\record\\four\\System\\nothing", "", ""},
  };
  for (const Case& c : cases) {
    fixture::DeleteHklmTree(fixture::kRecordKey);
    keys.Create(fixture::kRecordKey);
    if (c.value4) keys.SetString(fixture::kRecordKey, "InstallDir", c.value4);
    if (c.value5) keys.SetString(fixture::kRecordKey, "InstallDir5", c.value5);
    frm->InstallPath4.clear();
    frm->InstallPath5.clear();
    frm->ReadInstallRecord();
    EXPECT_EQ(frm->InstallPath4, c.path4) << (c.value4 ? c.value4 : "(none)");
    EXPECT_EQ(frm->InstallPath5, c.path5) << (c.value5 ? c.value5 : "(none)");
    EXPECT_EQ(frm->Reg, nullptr);
  }
  // A value naming a deleted folder stays in the registry as it was.
  EXPECT_EQ(fixture::ReadHklmString(fixture::kRecordKey, "InstallDir5"),
            "C:\\record\\four\\System\\nothing");
}

TEST_F(InstallRecord, ReadingWithoutTheKeyFindsNothingAndCreatesNothing) {
  frm->ReadInstallRecord();
  EXPECT_EQ(frm->InstallPath4, "");
  EXPECT_EQ(frm->InstallPath5, "");
  HKEY h = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, fixture::kRecordKey, 0, KEY_READ, &h), ERROR_SUCCESS);
}

TEST_F(InstallRecord, ExpandableValueIsTakenLiterally) {
  SetEnvironmentVariableA("QUORLET_RECORD", "C:\\record\\five");
  keys.SetString(fixture::kRecordKey, "InstallDir5", "%QUORLET_RECORD%", REG_EXPAND_SZ);
  frm->ReadInstallRecord();
  // Unexpanded, the text names no folder.
  EXPECT_EQ(frm->InstallPath5, "");
  fixture::MakeFolders("C:\\record\\%QUORLET_RECORD%");
  keys.SetString(fixture::kRecordKey, "InstallDir5", "C:\\record\\%QUORLET_RECORD%", REG_EXPAND_SZ);
  frm->ReadInstallRecord();
  EXPECT_EQ(frm->InstallPath5, "C:\\record\\%QUORLET_RECORD%");
}

TEST_F(InstallRecord, ANumberWhereTextBelongsRaisesAndLeavesNoRegistryObject) {
  keys.SetDword(fixture::kRecordKey, "InstallDir", 7);
  try {
    frm->ReadInstallRecord();
    FAIL() << "expected the registry error";
  } catch (const win::Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'InstallDir'");
  }
  EXPECT_EQ(frm->Reg, nullptr);
}

TEST_F(InstallRecord, WritingStoresTheCheckedVersionsFieldsUnchanged) {
  keys.SetString(fixture::kRecordKey, "InstallDir", "C:\\earlier");
  frm->chkInstall4.SetChecked(false);
  frm->chkInstall5.SetChecked(true);
  frm->edtInstall4Path.SetText("C:\\ignored");
  frm->edtInstall5Path.SetText("D:\\typed without backslash");
  frm->WriteInstallRecord();
  EXPECT_EQ(fixture::ReadHklmString(fixture::kRecordKey, "InstallDir"), "C:\\earlier");
  EXPECT_EQ(fixture::ReadHklmString(fixture::kRecordKey, "InstallDir5"),
            "D:\\typed without backslash");
  EXPECT_EQ(frm->Reg, nullptr);

  fixture::DeleteHklmTree(fixture::kRecordKey);
  frm->chkInstall4.SetChecked(true);
  frm->edtInstall4Path.SetText("C:\\record\\four\\System\\");
  frm->WriteInstallRecord();
  EXPECT_EQ(fixture::ReadHklmString(fixture::kRecordKey, "InstallDir"),
            "C:\\record\\four\\System\\");
  EXPECT_EQ(fixture::ReadHklmString(fixture::kRecordKey, "InstallDir5"),
            "D:\\typed without backslash");

  // Read back by the next run, exactly as written.
  frm->ReadInstallRecord();
  EXPECT_EQ(frm->InstallPath4, "C:\\record\\four\\System\\");
}

}  // namespace
