// What only the Windows build does: the image held with a share mode of none,
// the read-only attribute, the system's paths and error numbers, device names,
// the registry language and the store that never replaces a file.
#ifdef _WIN32
// The Win32 names of the clock record and call are the program's own here.
#define WIN32_LEAN_AND_MEAN
#define SYSTEMTIME Win32SystemTime
#define GetLocalTime Win32GetLocalTime
#include <windows.h>
#undef SYSTEMTIME
#undef GetLocalTime
#undef MessageBox
#undef LoadString
#undef FindNextFile

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RecordingHost.h"
#include "app/ModelList.h"
#include "platform/AtomicFile.h"
#include "app/Settings.h"
#include "platform/Text.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/ImageFile.h"
#include "storage/ModelDataFile.h"
#include "storage/TinyImage.h"


namespace {

std::wstring Wide(const std::string& utf8)
{
    const std::u16string w = Utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

std::vector<uint8_t> PX400File(const std::u16string& name)
{
    samples::PX400Builder b;
    b.SetModelName(name);
    return b.Image();
}

std::string MakeImage(const std::string& folder)
{
    TinyVolumeBuilder builder(8, 16, 8);
    builder.AddFile(6, std::vector<uint8_t>(200, 6));
    const std::string path = folder + "\\TINYFS.IMG";
    EXPECT_TRUE(builder.WriteFile(path));
    return path;
}

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TinyStartup()); }
    void TearDown() override { TinyShutdown(); }
    TempFolder temp;
    RecordingHost host;
};

}  // namespace

TEST_F(WindowsTest, MountedImageIsSharedWithNobody)
{
    const std::string dir = temp.Sub("image");
    const std::string image = MakeImage(dir);
    {
        CModelDataFile mounted(dir);
        ASSERT_EQ(mounted.m_isVolume, 1);
        // A second open of the image, by anyone, fails with error 32.
        HANDLE h = ::CreateFileW(Wide(image).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    // Held by another program: the location is a plain folder and the reason
    // names the other mount.
    HANDLE other = ::CreateFileW(Wide(image).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    CModelDataFile refused(dir);
    EXPECT_EQ(refused.m_isVolume, 0);
    EXPECT_EQ(refused.m_volume.m_errorText,
              "The mount file " + image + " can not be opened.\r\nThere is possibility that other VOLMOUNT mounts.");
    ::CloseHandle(other);
}

TEST_F(WindowsTest, ReadOnlyAttributeMakesAPlainFolder)
{
    const std::string dir = temp.Sub("ro");
    const std::string image = MakeImage(dir);
    ASSERT_TRUE(::SetFileAttributesW(Wide(image).c_str(), FILE_ATTRIBUTE_READONLY));
    {
        CModelDataFile file(dir);
        EXPECT_EQ(file.m_isVolume, 0);
        EXPECT_EQ(file.m_volume.m_errorText, "The mount file " + image + " It is read only.");
    }
    ASSERT_TRUE(::SetFileAttributesW(Wide(image).c_str(), FILE_ATTRIBUTE_NORMAL));
    CModelDataFile writable(dir);
    EXPECT_EQ(writable.m_isVolume, 1);
}

TEST_F(WindowsTest, PathsOfEverySpellingListTheSameModels)
{
    const std::string dir = temp.Sub("models");
    WriteSampleFile(dir + "\\A.MDL", PX400File(u"ALPHA"));
    WriteSampleFile(dir + "\\b.mdl", PX400File(u"BRAVO"));
    // A name outside every ANSI code page survives the round trip.
    const std::string greek = "\xCE\xA9\xCE\xBC\xE6\x97\xA5.MDL";  // Greek omega, mu, CJK sun
    {
        const std::vector<uint8_t> bytes = PX400File(u"GREEK");
        std::ofstream(std::filesystem::u8path(dir + "\\" + greek), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string forward = dir;
    for (char& c : forward)
        if (c == '\\')
            c = '/';
    ASSERT_GE(dir.size(), 3u);
    ASSERT_EQ(dir[1], ':');
    const struct {
        std::string location;
        std::string keyFolder;
    } cases[] = {
        {dir, dir},
        {dir + "\\", dir},  // the trailing separator stays in the key
        {forward, forward},
        {"\\\\?\\" + dir, "\\\\?\\" + dir},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location);
        const ModelListing listing = FillModelList(host, c.location);
        ASSERT_EQ(listing.rows.size(), 3u);
        EXPECT_EQ(listing.rows[0].columns[1], u"ALPHA");
        EXPECT_EQ(listing.rows[1].columns[1], u"BRAVO");
        EXPECT_EQ(listing.rows[2].columns[1], u"GREEK");
        EXPECT_EQ(listing.rows[2].key.substr(listing.rows[2].key.size() - greek.size()), greek);
        if (c.location.back() != '\\') {
            EXPECT_EQ(listing.rows[0].key, c.keyFolder + "\\A.MDL");
        }
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WindowsTest, DevicesAndErrorNumbersOfTheSystem)
{
    const std::string dir = temp.Sub("dev");
    for (const char* device : {"NUL", "nul.mdl", "CON", "COM1.MDL"}) {
        SCOPED_TRACE(device);
        CFile file;
        EXPECT_FALSE(file.Open(dir + "\\" + device, CFile::typeBinary | CFile::modeRead).ok);
        EXPECT_FALSE(file.IsOpen());
    }
    const struct {
        long error;
        FileResult::Cause cause;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, FileResult::fileNotFound}, {ERROR_PATH_NOT_FOUND, FileResult::badPath},
        {ERROR_ACCESS_DENIED, FileResult::accessDenied},  {ERROR_SHARING_VIOLATION, FileResult::sharingViolation},
        {ERROR_LOCK_VIOLATION, FileResult::lockViolation}, {ERROR_DISK_FULL, FileResult::diskFull},
        {ERROR_HANDLE_EOF, FileResult::endOfFile},         {ERROR_TOO_MANY_OPEN_FILES, FileResult::tooManyOpenFiles},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileResult::OsErrorToCause(c.error), c.cause) << c.error;
    CFile file;
    const FileResult missing = file.Open(dir + "\\none.MDL", CFile::typeBinary | CFile::modeRead);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.code, ERROR_FILE_NOT_FOUND);
}

// A named pipe of a model's or an image's name is never opened: its server
// would see a client. It is still waiting for its first one afterwards.
TEST_F(WindowsTest, PipesAreNeverOpened)
{
    for (const char* name : {"X.MDL", "TINYFS.IMG"}) {
        SCOPED_TRACE(name);
        const std::string path = "\\\\.\\pipe\\arkleton-" + std::to_string(::GetCurrentProcessId()) + "-" + name;
        HANDLE server = ::CreateNamedPipeW(Wide(path).c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1,
                                           512, 512, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
        CFile file;
        const FileResult error = file.Open(path, CFile::typeBinary | CFile::modeRead);
        EXPECT_FALSE(error.ok);
        EXPECT_EQ(error.code, ERROR_ACCESS_DENIED);
        EXPECT_EQ(ImageFileOpen(path), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(::ConnectNamedPipe(server, nullptr));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));
        ::CloseHandle(server);
    }
}

TEST(WindowsSettings, LanguageComesFromTheRegistry)
{
    const wchar_t* key = L"Software\\Varkel Corp.\\arkleton\\system";
    HKEY h = nullptr;
    // Keep whatever a real installation stored.
    DWORD keptType = 0, keptSize = 0;
    BYTE kept[64] = {};
    bool hadValue = false;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &h) == ERROR_SUCCESS) {
        keptSize = sizeof kept;
        hadValue = ::RegQueryValueExW(h, L"Language", nullptr, &keptType, kept, &keptSize) == ERROR_SUCCESS;
        ::RegCloseKey(h);
    }
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    const DWORD german = 3;
    ASSERT_EQ(::RegSetValueExW(h, L"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&german), sizeof german),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStoredLanguageIndex(), 3);
    const wchar_t french[] = L"4";
    ASSERT_EQ(::RegSetValueExW(h, L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(french), sizeof french),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStoredLanguageIndex(), 4);
    const wchar_t junk[] = L"four";
    ::RegSetValueExW(h, L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(junk), sizeof junk);
    EXPECT_EQ(ReadStoredLanguageIndex(), 0);
    ::RegDeleteValueW(h, L"Language");
    EXPECT_EQ(ReadStoredLanguageIndex(), 0);
    if (hadValue)
        ::RegSetValueExW(h, L"Language", 0, keptType, kept, keptSize);
    ::RegCloseKey(h);
}

TEST(WindowsStore, NeverReplacesAFileThatAppearedBeforeTheMove)
{
    TempFolder temp;
    const std::string path = temp.Path() + "\\model.mdl";
    const std::vector<uint8_t> bytes(100, 0xAB);
    {
        CAtomicFile out;
        ASSERT_TRUE(out.Create(path).ok);
        const DWORD attributes = ::GetFileAttributesW(Wide(out.TemporaryPath()).c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
        EXPECT_TRUE(out.Write(bytes.data(), bytes.size()).ok);
        WriteSampleFile(path, {1, 2, 3});  // someone else's file appears
        CAtomicFile::Publish published = CAtomicFile::Publish::Stored;
        EXPECT_TRUE(out.Commit(published).ok);
        EXPECT_EQ(published, CAtomicFile::Publish::Exists);
        EXPECT_EQ(ReadSampleFile(path), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(FolderSnapshot(temp.Path()).size(), 1u);
    }
    std::filesystem::remove(std::filesystem::u8path(path));
    CAtomicFile out;
    ASSERT_TRUE(out.Create(path).ok);
    EXPECT_TRUE(out.Write(bytes.data(), bytes.size()).ok);
    CAtomicFile::Publish published = CAtomicFile::Publish::Exists;
    EXPECT_TRUE(out.Commit(published).ok);
    EXPECT_EQ(published, CAtomicFile::Publish::Stored);
    EXPECT_EQ(ReadSampleFile(path), bytes);
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FolderSnapshot(temp.Path()).size(), 1u);
}
#endif
