// Plain-folder file access: the folder search, CModelDataFile's listing and
// open/read behaviour, and file error messages.
#include <gtest/gtest.h>

#include "Portable.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

#include "app/ModelList.h"
#include "app/Strings.h"
#include "platform/File.h"
#include "storage/ModelDataFile.h"
#include "TestFolder.h"

namespace {

void Touch(const std::string& path, size_t size = 10)
{
    std::ofstream out(path, std::ios::binary);
    out << std::string(size, 'x');
}

std::vector<std::string> ListAll(CModelDataFile& file)
{
    std::vector<std::string> names;
    bool found = file.FindFirst(file.ListPattern());
    while (found) {
        found = file.FindNext();
        names.push_back(file.GetCurrentName());
    }
    return names;
}

} // namespace

TEST(Wildcards, MatchStarAndQuestionMarkIgnoringCase)
{
    EXPECT_TRUE(WildcardMatch("*.MDL", "glider.mdl"));
    EXPECT_TRUE(WildcardMatch("*.MDL", "GLIDER.MDL"));
    EXPECT_TRUE(WildcardMatch("*.MDL", ".mdl"));
    EXPECT_FALSE(WildcardMatch("*.MDL", "glider.mdl.bak"));
    EXPECT_FALSE(WildcardMatch("*.MDL", "glider.md"));
    EXPECT_TRUE(WildcardMatch("a?c*.mdl", "ABCDEF.MDL"));
    EXPECT_FALSE(WildcardMatch("a?c", "ac"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("**a**", "bab"));
    EXPECT_TRUE(WildcardMatch("Extra 330.mdl", "EXTRA 330.MDL"));
    // Long runs of stars do not blow up.
    EXPECT_FALSE(WildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a')));
}

TEST(FolderListing, ListsModelFilesOfEitherCaseByFullPath)
{
    TestFolder dir;
    Touch(dir.File("B.MDL"));
    Touch(dir.File("a.mdl"));
    Touch(dir.File("c.Mdl"));
    Touch(dir.File("notes.txt"));
    Touch(dir.File("TINYFS.IMG.MDL.bak"));
    std::filesystem::create_directory(dir.File("folder.mdl"));

    CModelDataFile file(dir.Path());
    EXPECT_EQ(file.m_isVolume, 0);
    EXPECT_EQ(file.GetFileCount(), 3);
    const std::vector<std::string> names = ListAll(file);
    const std::set<std::string> got(names.begin(), names.end());
    const std::set<std::string> expected = {dir.File("B.MDL"), dir.File("a.mdl"), dir.File("c.Mdl")};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(names.size(), 3u);
}

TEST(FolderListing, EmptyOrMissingFolderFindsNothing)
{
    TestFolder dir;
    CModelDataFile empty(dir.Path());
    EXPECT_EQ(empty.GetFileCount(), 0);
    EXPECT_FALSE(empty.FindFirst(empty.ListPattern()));
    EXPECT_FALSE(empty.FindNext());
    EXPECT_EQ(empty.GetCurrentName(), "");

    CModelDataFile missing(dir.File("nowhere"));
    EXPECT_EQ(missing.GetFileCount(), 0);
    EXPECT_FALSE(missing.FindFirst(missing.ListPattern()));
}

TEST(FolderListing, TrailingSeparatorStillListsTheFolder)
{
    TestFolder dir;
    Touch(dir.File("one.MDL"));
    CModelDataFile file(dir.Path() + ARK_SEP "");
    EXPECT_EQ(file.GetFileCount(), 1);
    const auto names = ListAll(file);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].substr(names[0].size() - 7), "one.MDL");
}

TEST(FolderListing, ExistenceTestOnAFullPath)
{
    TestFolder dir;
    Touch(dir.File("Extra.mdl"));
    CModelDataFile file(dir.Path());
    EXPECT_TRUE(file.FindFirst(dir.File("Extra.mdl")));
    EXPECT_TRUE(file.FindFirst(dir.File("EXTRA.MDL")));  // a file of another case counts as there
    EXPECT_FALSE(file.FindFirst(dir.File("Other.mdl")));
    EXPECT_TRUE(file.FindFirst(dir.File("*.mdl")));
    EXPECT_FALSE(file.FindFirst(dir.File("sub/x.mdl")));
}

TEST(ModelDataFileIo, OpenMissingFileFailsWithItsCause)
{
    TestFolder dir;
    CModelDataFile file(dir.Path());
    const FileResult missing = file.Open(dir.File("missing.MDL"), CFile::typeBinary | CFile::modeRead);
    EXPECT_EQ(std::tie(missing.ok, missing.cause, missing.inImage, missing.fileName),
              std::make_tuple(false, FileResult::fileNotFound, false, dir.File("missing.MDL")));
    EXPECT_EQ(file.m_currentName, dir.File("missing.MDL"));

    EXPECT_FALSE(file.Open(dir.Path(), CFile::typeBinary).ok);  // a folder is no model file
}

TEST(ModelDataFileIo, ReadsWhatTheFileHoldsAndWritesNewFiles)
{
    TestFolder dir;
    Touch(dir.File("short.MDL"), 100);
    CModelDataFile file(dir.Path());
    ASSERT_TRUE(file.Open(dir.File("short.MDL"), CFile::typeBinary | CFile::modeRead).ok);
    std::vector<uint8_t> buf(500, 0);
    unsigned got = 1;
    for (const auto& [count, expected] : {std::pair{500u, 100u}, {500u, 0u}, {0u, 0u}}) {
        EXPECT_TRUE(file.Read(buf.data(), count, got).ok);
        EXPECT_EQ(got, expected);
    }
    EXPECT_TRUE(file.Close().ok);
    const FileResult closed = file.Read(buf.data(), 1, got);
    EXPECT_EQ(std::tie(closed.ok, closed.cause), std::make_tuple(false, FileResult::invalidFile));

    ASSERT_TRUE(file.Open(dir.File("new.mdl"), CFile::typeBinary | CFile::modeCreate | CFile::modeWrite).ok);
    std::vector<uint8_t> data(32768, 0x5A);
    EXPECT_TRUE(file.Write(data.data(), static_cast<unsigned>(data.size())).ok);
    EXPECT_TRUE(file.Close().ok);
    struct stat st{};
    ASSERT_EQ(::stat(dir.File("new.mdl").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 32768);
    EXPECT_EQ(file.GetNewFileNumber(), 2);
}

TEST(FileErrors, MessagesNameTheFileInEveryLanguage)
{
    const Language before = CurrentLanguage();
    for (Language lang : {Language::English, Language::German, Language::French, Language::Japanese}) {
        SetLanguage(lang);
        for (int cause = FileResult::none; cause <= FileResult::endOfFile; ++cause) {
            const FileResult e = FileResult::Failure(static_cast<FileResult::Cause>(cause), 5, "/models/Extra.MDL");
            const std::u16string text = FileErrorText(e);
            EXPECT_NE(text.find(u"/models/Extra.MDL"), std::u16string::npos) << int(lang) << "/" << cause;
        }
    }
    SetLanguage(before);
    EXPECT_EQ(FileErrorText(FileResult::Failure(FileResult::endOfFile, 0, std::string(2000, 'n'))).size(), 510u);
#ifndef _WIN32  // the system's error numbers
    EXPECT_EQ(FileResult::OsErrorToCause(ENOENT), FileResult::fileNotFound);
    EXPECT_EQ(FileResult::OsErrorToCause(ENOSPC), FileResult::diskFull);
    EXPECT_EQ(FileResult::OsErrorToCause(EACCES), FileResult::accessDenied);
#endif
}
