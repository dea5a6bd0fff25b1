// Resolving declared DLL functions: the module table is replaced by one
// that records every load, lookup and release, so the search order, the
// ordinals, the cache and the two messages can be seen; under Wine a DLL of
// our own is also found, called and released for real.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/DllCommands.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qx {
namespace {

using test::Hex;
using test::kExitMinusOne;

// Libraries by the file name they load under, each with its exports; a
// module handle is the address of its entry.
struct FakeLibrary {
  std::string file;
  std::vector<std::string> exports;  // names, or "#n" for an ordinal
};
std::vector<FakeLibrary>& Present() {
  static std::vector<FakeLibrary> libraries;
  return libraries;
}
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

const ModuleOps kFakeModules = {
    [](const char* file) -> void* {
      Log().push_back(std::string("load ") + file);
      for (FakeLibrary& l : Present())
        if (l.file == file) return &l;
      return nullptr;
    },
    [](void* module, const char* name, uint16_t ordinal) -> void* {
      auto* l = static_cast<FakeLibrary*>(module);
      std::string wanted = name ? name : "#" + std::to_string(ordinal);
      Log().push_back("find " + wanted);
      for (std::string& e : l->exports)
        if (e == wanted) return &e;
      return nullptr;
    },
    [](void* module) { Log().push_back("release " + static_cast<FakeLibrary*>(module)->file); },
};

class DllCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = SetModuleOps(&kFakeModules);
    Log().clear();
    Present().clear();
    g_runtime.programFolder = "C:\\程序";
    g_runtime.moduleFolder = "C:\\模块\\";
  }
  void TearDown() override {
    ReleaseDllFunctions();
    SetModuleOps(old_);
  }
  void Declare(std::vector<const char*> files, std::vector<const char*> exports) {
    SetDeclaredDllFunctions(static_cast<uint32_t>(files.size()), files.data(), exports.data());
  }
  const ModuleOps* old_ = nullptr;
};

using Lines = std::vector<std::string>;

TEST_F(DllCommandsTest, WithoutALibraryTheSixSystemLibrariesAreSearchedAndTheOneWithItKept) {
  Present() = {{"Kernel32.dll", {}}, {"Gdi32.dll", {}}, {"User32.dll", {"MessageBeep"}},
               {"Shell32.dll", {"MessageBeep"}}};
  Declare({""}, {"MessageBeep"});
  void* address = ResolveDllCommand(0);
  EXPECT_EQ(&Present()[2].exports[0], address);
  EXPECT_EQ((Lines{"load Kernel32.dll", "find MessageBeep", "release Kernel32.dll",
                   "load Gdi32.dll", "find MessageBeep", "release Gdi32.dll", "load User32.dll",
                   "find MessageBeep"}),
            Log());
  // Found once, the address is kept; the library goes at the end.
  Log().clear();
  EXPECT_EQ(address, ResolveDllCommand(0));
  EXPECT_TRUE(Log().empty());
  ReleaseDllFunctions();
  EXPECT_EQ((Lines{"release User32.dll"}), Log());
}

TEST_F(DllCommandsTest, ALibraryIsTriedInTheExtraProgramAndModuleFoldersThenByItsBareName) {
  Present() = {{"qx.dll", {"F"}}};
  SetExtraLibraryFolder("D:\\附加");
  Declare({"qx.dll", "E:\\库\\qx.dll"}, {"F", "F"});
  ASSERT_NE(nullptr, ResolveDllCommand(0));
  EXPECT_EQ((Lines{"load D:\\附加\\qx.dll", "load C:\\程序\\qx.dll", "load C:\\模块\\qx.dll",
                   "load qx.dll", "find F"}),
            Log());
  // The first place that loads it ends the search.
  Present() = {{"C:\\程序\\qx.dll", {"F"}}};
  Declare({"qx.dll"}, {"F"});
  Log().clear();
  ASSERT_NE(nullptr, ResolveDllCommand(0));
  EXPECT_EQ((Lines{"load D:\\附加\\qx.dll", "load C:\\程序\\qx.dll", "find F"}), Log());
  // A name with a drive is loaded as it is, and only so.
  Present() = {{"E:\\库\\qx.dll", {"F"}}};
  Declare({"qx.dll", "E:\\库\\qx.dll"}, {"F", "F"});
  Log().clear();
  ASSERT_NE(nullptr, ResolveDllCommand(1));
  EXPECT_EQ((Lines{"load E:\\库\\qx.dll", "find F"}), Log());
}

TEST_F(DllCommandsTest, ANumberSignNamesAnOrdinalTakenToItsLowSixteenBits) {
  Present() = {{"C:\\程序\\qx.dll", {"#12"}}};
  Declare({"qx.dll", "qx.dll"}, {"#12", "#65548"});
  EXPECT_EQ(&Present()[0].exports[0], ResolveDllCommand(0));
  EXPECT_EQ(&Present()[0].exports[0], ResolveDllCommand(1));
  EXPECT_EQ((Lines{"load C:\\程序\\qx.dll", "find #12", "load C:\\程序\\qx.dll", "find #12"}),
            Log());
}

void ResolveWithoutTheExport() {
  Present() = {{"qx.dll", {"G"}}};
  const char* files[] = {"qx.dll"};
  const char* exports[] = {"F"};
  SetDeclaredDllFunctions(1, files, exports);
  SetRuntimeErrorHandler([](int32_t code, const char* message) {
    fprintf(stderr, "[%s]\n", Log().back().c_str());
    return test::TellingHandler(code, message);
  });
  ResolveDllCommand(0);
}

void ResolveThenTearDown() {
  g_runtime.programFolder = "C:\\prog";
  Present() = {{"C:\\prog\\a.dll", {"F"}}, {"C:\\prog\\b.dll", {"G"}}};
  const char* files[] = {"a.dll", "b.dll", "a.dll"};
  const char* exports[] = {"F", "G", "F"};
  SetDeclaredDllFunctions(3, files, exports);
  ResolveDllCommand(0);
  ResolveDllCommand(1);
  Log().clear();
  RunTeardown(0);
  for (const std::string& line : Log()) fprintf(stderr, "[%s]\n", line.c_str());
  SetRuntimeErrorHandler(test::TellingHandler);
  ResolveDllCommand(2);
}

TEST_F(DllCommandsTest, AnExportThatIsNotThereIsOneOfTwoRuntimeErrors) {
  SetRuntimeErrorHandler(test::TellingHandler);
  EXPECT_EXIT(
      {
        Declare({""}, {"NoSuchExport"});
        ResolveDllCommand(0);
      },
      ::testing::ExitedWithCode(kExitMinusOne),
      "code=0 msg=" + Hex("无法找到指定DLL库文件中的输出命令“NoSuchExport”") + "\\]");
  EXPECT_EXIT(
      {
        Declare({"missing.dll"}, {"F"});
        ResolveDllCommand(0);
      },
      ::testing::ExitedWithCode(kExitMinusOne),
      "code=0 msg=" + Hex("无法找到指定DLL库文件“missing.dll”中的输出命令“F”") + "\\]");
  // A library that loads but lacks the export is let go before the report.
  EXPECT_EXIT(ResolveWithoutTheExport(), ::testing::ExitedWithCode(kExitMinusOne),
              "\\[release qx.dll\\]\n\\[reported code=0 msg=" +
                  Hex("无法找到指定DLL库文件“qx.dll”中的输出命令“F”") + "\\]");
  SetRuntimeErrorHandler(nullptr);
}

// The teardown lets every loaded module go and forgets the functions: a
// later call would have to find them again.
TEST_F(DllCommandsTest, TheTeardownReleasesTheModulesAndClearsTheTables) {
  EXPECT_EXIT(ResolveThenTearDown(), ::testing::ExitedWithCode(kExitMinusOne),
              "^\\[release C:\\\\prog\\\\a.dll\\]\n\\[release C:\\\\prog\\\\b.dll\\]\n"
              "\\[reported code=1 ");
}

#ifdef _WIN32
// Our own DLL beside the test program: QxAnswer(n) is n + 1, exported by
// name and as ordinal 7; it says on stderr how it was detached.
std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  *strrchr(path, '\\') = 0;
  return path;
}

class RealDllTest : public ::testing::Test {
 protected:
  void SetUp() override { g_runtime.programFolder = ProgramFolder(); }
  void TearDown() override { ReleaseDllFunctions(); }
};

TEST_F(RealDllTest, OurDllIsFoundInTheProgramsFolderByNameAndOrdinalAndLetGo) {
  const char* files[] = {"qxdetach.dll", "qxdetach.dll", ""};
  const char* exports[] = {"QxAnswer", "#7", "GetSysColor"};
  SetDeclaredDllFunctions(3, files, exports);
  using Answer = int(__stdcall*)(int);
  auto byName = reinterpret_cast<Answer>(ResolveDllCommand(0));
  auto byOrdinal = reinterpret_cast<Answer>(ResolveDllCommand(1));
  ASSERT_NE(nullptr, byName);
  EXPECT_EQ(byName, byOrdinal);
  EXPECT_EQ(42, byName(41));
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetSysColor")),
            ResolveDllCommand(2));
  ReleaseDllFunctions();
  EXPECT_EQ(nullptr, GetModuleHandleA("qxdetach.dll"));
}

TEST_F(RealDllTest, TheTeardownFreesOurDllBeforeTheProcessEnds) {
  EXPECT_EXIT(
      {
        const char* files[] = {"qxdetach.dll"};
        const char* exports[] = {"QxAnswer"};
        SetDeclaredDllFunctions(1, files, exports);
        ResolveDllCommand(0);
        RunTeardown(0);
        fprintf(stderr, "[after the teardown]\n");
        fflush(stderr);
        ExitProcess(0);
      },
      ::testing::ExitedWithCode(0), "^\\[detached by release\\]\n\\[after the teardown\\]\n$");
}
#endif

}  // namespace
}  // namespace qx
