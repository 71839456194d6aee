// Folder entries that are no regular files (named pipes, sockets, devices,
// links to them, link loops, dangling links, folders) next to ordinary models:
// no caller may wait on them, list them or read them as models.
#ifndef _WIN32
#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/inotify.h>
#endif
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "RecordingHost.h"
#include "Watchdog.h"
#include "app/ConvertCommand.h"
#include "app/Settings.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"
#include "storage/ImageFile.h"
#include "storage/ModelDataFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> PX400File(const std::u16string& name)
{
    samples::PX400Builder b;
    b.SetModelName(name);
    return b.Image();
}

// A socket bound at path; closed again (the entry stays).
bool MakeSocket(const std::string& path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return false;
    path.copy(addr.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Every kind of entry that is no regular file, by its name in the folder.
std::vector<std::string> MakeSpecialEntries(const std::string& dir)
{
    std::vector<std::string> made;
    auto keep = [&](bool ok, const char* name) {
        EXPECT_TRUE(ok) << name;
        if (ok)
            made.push_back(name);
    };
    keep(::mkfifo((dir + "/PIPE.MDL").c_str(), 0644) == 0, "PIPE.MDL");
    keep(::symlink("/dev/zero", (dir + "/ZERO.MDL").c_str()) == 0, "ZERO.MDL");
    keep(::symlink("/dev/null", (dir + "/null.mdl").c_str()) == 0, "null.mdl");
    keep(::symlink("LOOP.MDL", (dir + "/LOOP.MDL").c_str()) == 0, "LOOP.MDL");
    keep(::symlink("nowhere", (dir + "/DANGLING.MDL").c_str()) == 0, "DANGLING.MDL");
    keep(fs::create_directory(dir + "/DIR.MDL"), "DIR.MDL");
    keep(MakeSocket(dir + "/SOCK.MDL"), "SOCK.MDL");
    return made;
}

class SpecialEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLanguage(Language::English);
        dir = temp.Sub("models");
        WriteSampleFile(dir + "/A.MDL", PX400File(u"ALPHA"));
        WriteSampleFile(dir + "/Z.MDL", PX400File(u"ZULU"));
        specials = MakeSpecialEntries(dir);
    }
    TempFolder temp;
    RecordingHost host;
    std::string dir;
    std::vector<std::string> specials;
};

}  // namespace

TEST_F(SpecialEntriesTest, ListingOpenAndSettingsNeverWaitAndSkipEveryEntryThatIsNoFile)
{
    Watchdog watchdog("listing a folder of special entries");

    const ModelListing listing = FillModelList(host, dir);
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.rows[0].key, dir + "/A.MDL");
    EXPECT_EQ(listing.rows[0].columns[1], u"ALPHA");
    EXPECT_EQ(listing.rows[1].key, dir + "/Z.MDL");
    EXPECT_TRUE(host.boxes.empty());

    for (const std::string& name : specials) {
        SCOPED_TRACE(name);
        CModelDataFile file(dir);
        const FileResult error = file.Open(dir + "/" + name, CFile::typeBinary | CFile::modeRead);
        EXPECT_FALSE(error.ok);
        EXPECT_NE(error.code, 0);
        EXPECT_FALSE(file.IsOpen());
        std::string text = "left over";
        EXPECT_FALSE(ReadSmallFile(dir + "/" + name, 64, text));
        EXPECT_TRUE(text.empty());
        // A settings file of this kind reads as no settings at all.
        EXPECT_EQ(ReadStoredLanguageIndex(dir + "/" + name), 0);
    }

    // A TINYFS.IMG that is a pipe or a device leaves the location a plain folder.
    for (const char* target : {"pipe", "/dev/zero"}) {
        SCOPED_TRACE(target);
        const std::string imageDir = temp.Sub(std::string("image-") + (target[0] == '/' ? "dev" : "pipe"));
        WriteSampleFile(imageDir + "/M.MDL", PX400File(u"M"));
        if (target[0] == '/')
            ASSERT_EQ(::symlink(target, (imageDir + "/TINYFS.IMG").c_str()), 0);
        else
            ASSERT_EQ(::mkfifo((imageDir + "/TINYFS.IMG").c_str(), 0644), 0);
        const ModelListing plain = FillModelList(host, imageDir);
        EXPECT_FALSE(plain.isVolume);
        ASSERT_EQ(plain.rows.size(), 1u);
        EXPECT_EQ(plain.rows[0].columns[1], u"M");
    }
}

TEST_F(SpecialEntriesTest, ASourceSwappedForASpecialEntryIsRefusedWithoutWaiting)
{
    Watchdog watchdog("converting from a special entry");
    const std::string target = temp.Sub("to");
    for (const std::string& name : specials) {
        SCOPED_TRACE(name);
        const std::string key = dir + "/" + name;
        // The list showed an ordinary model under this name; then the entry
        // became what it is now.
        MainDialogState state;
        state.sourceTransmitter = TX_PX400;
        state.targetTransmitter = TX_PX600;
        state.m_sourceLocation = state.sourceLocationText = dir;
        state.m_targetLocation = state.targetLocationText = target;
        state.modelNameText = state.m_modelName = u"NEW";
        ModelListRow row;
        row.transmitter = TX_PX400;
        row.key = key;
        state.sourceList.rows.push_back(row);
        state.selectedSourceRow = 0;
        host.Clear();
        CConvertHW hw;
        EXPECT_FALSE(OnConvert(state, host, hw));
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, FormatString(106, {Utf8ToUtf16(key)}));
        EXPECT_TRUE(FolderSnapshot(target).empty());
    }
}
#ifdef __linux__
// A named pipe is never opened, neither as a model nor as an image: opening
// alone can act on a device. The system reports every open of a watched entry.
TEST_F(SpecialEntriesTest, PipesAreLookedAtButNeverOpened)
{
    Watchdog watchdog("looking at named pipes");
    const std::string model = dir + "/PIPE.MDL";
    const std::string image = temp.Sub("image") + "/TINYFS.IMG";
    ASSERT_EQ(::mkfifo(image.c_str(), 0644), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0)
        GTEST_SKIP() << "no inotify";
    for (const std::string& path : {model, image})
        ASSERT_GE(::inotify_add_watch(watch, path.c_str(), IN_OPEN), 0) << path;

    EXPECT_EQ(FillModelList(host, dir).rows.size(), 2u);
    EXPECT_FALSE(FillModelList(host, temp.Path() + "/image").isVolume);
    for (const std::string& path : {model, image}) {
        SCOPED_TRACE(path);
        for (unsigned mode : {unsigned(CFile::modeRead), CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate}) {
            CFile file;
            const FileResult error = file.Open(path, CFile::typeBinary | mode);
            EXPECT_FALSE(error.ok);
            EXPECT_EQ(error.code, EACCES);
        }
        EXPECT_EQ(ImageFileOpen(path), EACCES);
    }

    char events[4096];
    EXPECT_EQ(::read(watch, events, sizeof events), -1) << "a pipe was opened";
    ::close(watch);
}
#endif
#endif
