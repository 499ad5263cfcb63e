// The tavrisk program's registration options, run as a person runs them.

#include "support/TempHome.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "support/Files.h"
using testfiles::readFile;

namespace {

struct ProgramRun {
    int status;
    std::string output;
};

ProgramRun tavrisk(const std::string& arguments) {
    std::string command = std::string(TAVRISK_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ProgramRun run{-1, {}};
    if (!pipe)
        return run;
    std::array<char, 512> buffer;
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kModule = std::filesystem::canonical(TAVRISK_MODULE_PATH).string();

} // namespace

TEST(TavriskProgram, RegisterListAndUnregisterTheBar) {
    TempHome home;
    ProgramRun registered = tavrisk("--register " + kModule);
    EXPECT_EQ(registered.status, 0) << registered.output;
    EXPECT_EQ(registered.output, "DllRegisterServer: 0x00000000 (S_OK)\n");

    ProgramRun listed = tavrisk("--list-bars");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.output, "{E279D4B4-5FAF-483C-AB32-ECE43ABF9F7F}\t&Tavrisk\t" + kModule + "\n");

    const auto registryFile = home.path() / "config" / "registry.reg";
    std::string once = readFile(registryFile);
    EXPECT_EQ(tavrisk("--register " + kModule).status, 0);
    EXPECT_EQ(readFile(registryFile), once);

    ProgramRun unregistered = tavrisk("--unregister " + kModule);
    EXPECT_EQ(unregistered.status, 0) << unregistered.output;
    EXPECT_EQ(unregistered.output, "DllUnregisterServer: 0x00000000 (S_OK)\n");
    EXPECT_EQ(tavrisk("--list-bars").output, "");
    EXPECT_EQ(readFile(registryFile).find("E279D4B4"), std::string::npos);
}

TEST(TavriskProgram, ReportsBadInputClearly) {
    TempHome home;
    std::filesystem::create_directories(home.path() / "config");
    const auto registryFile = home.path() / "config" / "registry.reg";
    { std::ofstream(registryFile) << "[HKEY_CLASSES_ROOT\\CLSID\n"; }
    ProgramRun damaged = tavrisk("--register " + kModule);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.output.find(registryFile.string()), std::string::npos) << damaged.output;
    EXPECT_EQ(readFile(registryFile), "[HKEY_CLASSES_ROOT\\CLSID\n");

    std::filesystem::remove(registryFile);
    ProgramRun missing = tavrisk("--register /nonexistent/module.so");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("/nonexistent/module.so"), std::string::npos);

    // A mistyped file name is no web address; the program says so and ends
    // without opening a window.
    ProgramRun missingPage = tavrisk("missing-page.htm");
    EXPECT_EQ(missingPage.status, 1);
    EXPECT_NE(missingPage.output.find("missing-page.htm: there is no such file"), std::string::npos)
        << missingPage.output;

    ProgramRun unknown = tavrisk("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("Usage"), std::string::npos);
}
