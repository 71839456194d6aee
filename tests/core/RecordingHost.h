// A dialog host that records what the command logic asks of the dialog, and
// small folder helpers for tests that write model files.
#pragma once

#include "Portable.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/DialogHost.h"
#include "app/ModelList.h"
#include "samplegen/SampleFiles.h"

struct RecordedBox {
    std::u16string text;
    std::u16string caption;
    MessageKind kind;
};

class RecordingHost : public IDialogHost {
public:
    void BeginWaitCursor() override
    {
        ++waitDepth;
        ++waitBegins;
        events.push_back("wait+");
    }
    void EndWaitCursor() override
    {
        --waitDepth;
        events.push_back("wait-");
    }
    void FocusControl(FocusTarget target, bool selectAll) override
    {
        focus.push_back({target, selectAll});
        events.push_back("focus " + std::to_string(static_cast<int>(target)) + (selectAll ? " all" : ""));
    }
    void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) override
    {
        boxes.push_back({text, caption, kind});
        events.push_back("box " + std::to_string(static_cast<int>(kind)));
    }
    void ShowModelList(ListSide side, const ModelListing& listing) override
    {
        lists.push_back({side, listing});
        events.push_back("list " + std::to_string(static_cast<int>(side)));
    }

    void Clear()
    {
        *this = RecordingHost();
    }

    int waitDepth = 0;
    int waitBegins = 0;
    std::vector<std::pair<FocusTarget, bool>> focus;
    std::vector<RecordedBox> boxes;
    std::vector<std::pair<ListSide, ModelListing>> lists;
    std::vector<std::string> events;
};

// A fresh folder below the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder()
    {
#ifdef _WIN32
        // The user's temporary folder, as UTF-8 with backslashes.
        const std::u8string base = std::filesystem::temp_directory_path().u8string();
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, "arkleton-test-%08x", static_cast<unsigned>(seed()));
            const std::filesystem::path candidate = std::filesystem::path(base) / name;
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                const std::u8string made = candidate.u8string();
                m_path.assign(made.begin(), made.end());
            }
        }
#else
        char pattern[] = "/tmp/arkleton-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        m_path = made ? made : "";
#endif
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }
    std::string Sub(const std::string& name) const
    {
        const std::string p = m_path + kSeparator + name;
        std::filesystem::create_directories(std::filesystem::u8path(p));
        return p;
    }

#ifdef _WIN32
    static constexpr char kSeparator = '\\';
#else
    static constexpr char kSeparator = '/';
#endif

private:
    std::string m_path;
};

// Every entry of a folder (hidden ones included) with its bytes.
inline std::map<std::string, std::vector<uint8_t>> FolderSnapshot(const std::string& folder)
{
    std::map<std::string, std::vector<uint8_t>> snapshot;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        snapshot[name] = entry.is_regular_file() ? ReadSampleFile(entry.path().string()) : std::vector<uint8_t>();
    }
    return snapshot;
}
