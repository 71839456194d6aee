// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include "Portable.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

class TestFolder {
public:
    TestFolder()
    {
#ifdef _WIN32
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("ark-test-" + std::to_string(seed()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                const std::u8string made = candidate.u8string();
                m_path.assign(made.begin(), made.end());
            }
        }
        if (m_path.empty())
            throw std::runtime_error("no temporary folder");
#else
        std::string tmpl = (std::filesystem::temp_directory_path() / "ark-test-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = buf.data();
#endif
    }
    ~TestFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + ARK_SEP "" + name; }

private:
    std::string m_path;
};
