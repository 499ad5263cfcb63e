#pragma once

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

// Points TAVRISK_HOME at a fresh folder for the life of the object, so that a
// test never sees a user's files or another test's.
class TempHome {
public:
    TempHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavrisk-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        setenv("TAVRISK_HOME", m_path.c_str(), 1);
    }
    ~TempHome() {
        unsetenv("TAVRISK_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A TempHome for a whole test program, for suites whose code writes its
// files (pages, settings) as a side effect.
class TempHomeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_home = std::make_unique<TempHome>(); }
    void TearDown() override { m_home.reset(); }

private:
    std::unique_ptr<TempHome> m_home;
};
