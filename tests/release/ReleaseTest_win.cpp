// The release as a user meets it: the portable folder run where it was
// unpacked, the installer run silently, the installed program used, the
// uninstaller run, and the version resources read back.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ConverterWindow_win.h"
#include "Driver.h"
#include "OleSession_win.h"
#include "TempFolders_win.h"
#include "TreePaths_win.h"
#include "WholeFile.h"

namespace qx {
namespace {

using namespace driver;
using namespace test;
using namespace test::converter;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillox";

const std::string kUnpacked = test::WinePath(QX_UNPACKED);
const std::string kSetup = test::WinePath(QX_SETUP);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Folder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

// Runs a program to its end; its exit code, or -2 when it hangs.
long RunToEnd(const std::string& commandLine) {
  HANDLE p = Launch(commandLine);
  if (!p) return -3;
  long code = WaitForExit(p, 60000);
  CloseHandle(p);
  return code;
}

// What the program in `folder` saves after converting its own sample, as a
// user would do it, and what its headless converter writes for the same
// file: the two must be the same document.
void ExpectWindowAndHeadlessAgree(const std::string& folder) {
  std::string sample = folder + "\\题库示例.xlsx";
  std::string out = NewTempFolder("qx-release-");
  std::string viaCli = out + "\\cli";
  CreateDirectoryA(viaCli.c_str(), nullptr);
  ASSERT_EQ(0, RunToEnd("\"" + folder + "\\quillox-cli.exe\" -o \"" + viaCli + "\" \"" + sample + "\""));
  std::string expected = ReadWholeFile(viaCli + "\\题库示例.doc");
  ASSERT_NE("", expected);

  HANDLE process = Launch("\"" + folder + "\\quillox.exe\"");
  ASSERT_NE(nullptr, process);
  HWND window = WaitForWindow(kTitle, 30000);
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(ChooseInOpenDialog(Child(window, kBrowse), sample));
  Click(Child(window, kConvert));
  SetText(Child(window, kFolder), out.c_str());
  Click(Child(window, kSave));
  EXPECT_EQ(expected, ReadWholeFile(out + "\\题库示例.doc"));
  Close(window);
  EXPECT_EQ(0, WaitForExit(process, 20000));
  CloseHandle(process);
  DeleteFileA((out + "\\题库示例.doc").c_str());
  DeleteFileA((viaCli + "\\题库示例.doc").c_str());
  RemoveDirectoryA(viaCli.c_str());
  RemoveDirectoryA(out.c_str());
}

TEST(PortableFolder, RunsWhereItWasUnpackedWithChineseAndASpaceInThePath) {
  ASSERT_TRUE(Exists(kUnpacked + "\\quillox.exe")) << kUnpacked;
  ExpectWindowAndHeadlessAgree(kUnpacked);

  // The read-me opens in Notepad on a Chinese system: GBK, CR LF only.
  std::string readme = ReadWholeFile(kUnpacked + "\\使用说明.txt");
  ASSERT_NE("", readme);
  EXPECT_NE(0, MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, readme.data(),
                                   static_cast<int>(readme.size()), nullptr, 0));
  for (size_t i = readme.find('\n'); i != std::string::npos; i = readme.find('\n', i + 1))
    ASSERT_TRUE(i > 0 && readme[i - 1] == '\r') << "a bare line feed at " << i;
}

std::string RegText(HKEY root, const char* key, const char* value) {
  char data[1024] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(root, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return "<none>";
  return data;
}
bool KeyExists(HKEY root, const char* key) {
  HKEY h;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}
void ExpectNoSpreadsheetClassWritten() {
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Excel.Application"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\Excel.Application"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Excel.Application"));
}

std::string ShortcutTarget(const std::string& link) {
  std::string target;
  test::OleSession ole;
  IShellLinkA* shell = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell))) &&
      SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    char path[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
  }
  if (file) file->Release();
  if (shell) shell->Release();
  return target;
}

TEST(Installer, InstallsForTheUserRunsAndUninstallsLeavingOnlyTheUsersOwnFiles) {
  const std::string dir = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Quillox";
  const std::string menu = Folder(CSIDL_PROGRAMS) + "\\Quillox";
  ASSERT_TRUE(Exists(kSetup)) << kSetup;
  if (Exists(dir + "\\uninstall.exe")) {  // an earlier run that stopped half-way
    RunToEnd("\"" + dir + "\\uninstall.exe\" /S");
    for (int i = 0; i < 300 && Exists(dir + "\\uninstall.exe"); ++i) Sleep(100);
  }

  ASSERT_EQ(0, RunToEnd("\"" + kSetup + "\" /S"));
  for (const char* f : {"quillox.exe", "qxsheets.dll", "quillox-cli.exe", "题库示例.xlsx",
                        "使用说明.txt", "uninstall.exe"})
    EXPECT_TRUE(Exists(dir + "\\" + f)) << f;
  EXPECT_EQ(dir + "\\quillox.exe", ShortcutTarget(menu + "\\Quillox.lnk"));
  EXPECT_EQ("\"" + dir + "\\uninstall.exe\"", RegText(HKEY_CURRENT_USER, kUninstallKey, "UninstallString"));
  EXPECT_EQ("1.0.", RegText(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion").substr(0, 4));
  EXPECT_EQ("Quillox 题库转换", RegText(HKEY_CURRENT_USER, kUninstallKey, "DisplayName"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "per user only";
  ExpectNoSpreadsheetClassWritten();

  ExpectWindowAndHeadlessAgree(dir);

  // A document the user saved into the program's folder is theirs.
  std::string mine = dir + "\\我的题库.doc";
  { std::ofstream(mine, std::ios::binary) << "mine"; }
  // The uninstaller runs on from a copy of itself in the temporary folder
  // and removes its own file last.
  ASSERT_EQ(0, RunToEnd("\"" + dir + "\\uninstall.exe\" /S"));
  for (int i = 0; i < 300 && Exists(dir + "\\uninstall.exe"); ++i) Sleep(100);
  for (const char* f : {"quillox.exe", "qxsheets.dll", "quillox-cli.exe", "题库示例.xlsx",
                        "使用说明.txt", "uninstall.exe"})
    EXPECT_FALSE(Exists(dir + "\\" + f)) << f;
  EXPECT_EQ("mine", ReadWholeFile(mine));
  EXPECT_FALSE(Exists(menu));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
  ExpectNoSpreadsheetClassWritten();
  DeleteFileA(mine.c_str());
  RemoveDirectoryA(dir.c_str());
}

struct Version {
  DWORD major = 0, minor = 0;
  std::string product, description;
};
Version ReadVersion(const std::string& file) {
  Version v;
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  std::vector<char> block(size);
  if (!size || !GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return v;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    v.major = HIWORD(fixed->dwFileVersionMS);
    v.minor = LOWORD(fixed->dwFileVersionMS);
  }
  char* text = nullptr;
  if (VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\ProductName", reinterpret_cast<void**>(&text), &length))
    v.product = text;
  if (VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\FileDescription", reinterpret_cast<void**>(&text), &length))
    v.description = text;
  return v;
}

TEST(VersionResource, EveryShippedProgramNamesTheProductItsVersionAndItself) {
  for (const std::string& f : {kUnpacked + "\\quillox.exe", kUnpacked + "\\quillox-cli.exe",
                               kUnpacked + "\\qxsheets.dll", kSetup}) {
    SCOPED_TRACE(f);
    Version v = ReadVersion(f);
    EXPECT_EQ(1u, v.major);
    EXPECT_EQ(0u, v.minor);
    EXPECT_EQ("Quillox", v.product);
    EXPECT_EQ(0u, v.description.find("Quillox 题库转换")) << v.description;
  }
  EXPECT_EQ("Quillox 题库转换", ReadVersion(kUnpacked + "\\quillox.exe").description);
  for (const std::string& f : {kUnpacked + "\\quillox.exe", kSetup})
    EXPECT_LE(1u, ExtractIconExA(f.c_str(), -1, nullptr, nullptr, 0)) << f << " has an icon";
  // The window takes the icon group of this name. (Wine answers WM_GETICON
  // from another process with nothing, so the window itself cannot be asked.)
  HMODULE program = LoadLibraryExA((kUnpacked + "\\quillox.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  EXPECT_NE(nullptr, LoadIconA(program, "DEFAULT_ICON"));
  FreeLibrary(program);
}

}  // namespace
}  // namespace qx
