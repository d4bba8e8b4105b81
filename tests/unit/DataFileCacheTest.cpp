#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "gfx/DataFileCache.h"
#include "gfx/DataFileName.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"

namespace fs = std::filesystem;
using kelvo::DataFileCache;
using kelvo::DataFileEntry;

namespace {

std::string contents(const DataFileEntry* entry) {
    return std::string(reinterpret_cast<const char*>(entry->data), entry->size);
}

class DataFileCacheTest : public ::testing::Test {
protected:
    DataFileCacheTest() {
        std::string pattern = fs::path(testing::TempDir()) / "datafiles-XXXXXX";
        root = mkdtemp(pattern.data());
        fs::create_directories(root / "data");
        os::clearQuitRequest();
    }
    ~DataFileCacheTest() override {
        fs::remove_all(root);
        os::clearQuitRequest();
    }

    void write(const std::string& relative, const std::string& bytes) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }

    fs::path root;
    os::MessageBoxCapture boxes;
};

const os::MessageBoxRecord kOpenFailure{"error", "Couldn't open file!"};

}  // namespace

TEST_F(DataFileCacheTest, DataFolderComesFirstAndTheFileIsReadOnce) {
    write("data/zoot.fxo", "from data");
    write("zoot.fxo", "from root");
    DataFileCache cache(root);
    cache.preload("zoot.fxo");
    const DataFileEntry* entry = cache.find("zoot.fxo");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, "zoot.fxo");
    EXPECT_EQ(contents(entry), "from data");

    fs::remove(root / "data/zoot.fxo");
    cache.preload("zoot.fxo");
    EXPECT_EQ(cache.find("zoot.fxo"), entry);
    EXPECT_EQ(cache.entryCount(), 1u);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DataFileCacheTest, PlainNameIsTriedWhenTheDataFolderLacksIt) {
    write("data/loading.jpg", "jpeg");
    DataFileCache cache(root);
    cache.preload("data\\loading.jpg");
    const DataFileEntry* entry = cache.find("data\\loading.jpg");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, "data\\loading.jpg");
    EXPECT_EQ(contents(entry), "jpeg");
    EXPECT_EQ(cache.find("data/loading.jpg"), nullptr);
}

TEST_F(DataFileCacheTest, NamesMatchExactlyIncludingCase) {
    write("data/Tex.png", "upper");
    write("data/tex.png", "lower");
    write("data/sub/a.bin", "nested");
    DataFileCache cache(root);
    cache.preload("Tex.png");
    cache.preload("tex.png");
    cache.preload("sub\\a.bin");
    EXPECT_EQ(contents(cache.find("Tex.png")), "upper");
    EXPECT_EQ(contents(cache.find("tex.png")), "lower");
    EXPECT_EQ(contents(cache.find("sub\\a.bin")), "nested");
    EXPECT_EQ(cache.find("TEX.PNG"), nullptr);
    EXPECT_EQ(cache.find("sub/a.bin"), nullptr);
    EXPECT_EQ(cache.find("Tex.png "), nullptr);
}

// Names in models made on Windows differ in case from the files: with no file of exactly that
// name, the one file matching it ignoring case is read, folders included, under the name asked.
TEST_F(DataFileCacheTest, FileOfAnotherLetterCaseIsFoundWhenItIsTheOnlyOne) {
    write("data/Walls/CWALL02.jpg", "wall");
    write("data/Tex.png", "upper");
    write("data/tex.png", "lower");
    DataFileCache cache(root);
    cache.preload("walls\\cwall02.JPG");
    EXPECT_EQ(contents(cache.find("walls\\cwall02.JPG")), "wall");
    EXPECT_EQ(cache.find("Walls\\CWALL02.jpg"), nullptr);
    EXPECT_TRUE(boxes.records().empty());

    // Two candidates that differ only in case: neither is picked.
    testing::internal::CaptureStderr();
    cache.preload("TEX.PNG");
    EXPECT_EQ(cache.find("TEX.PNG"), nullptr);
    EXPECT_EQ(boxes.records(), std::vector<os::MessageBoxRecord>{kOpenFailure});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("data file not found: \"TEX.PNG\""),
              std::string::npos);
}

TEST_F(DataFileCacheTest, EmptyAndBinaryFilesKeepTheirExactBytes) {
    write("data/empty.bin", "");
    write("data/zeros.bin", std::string("\0\xff\0\n\r", 5));
    DataFileCache cache(root);
    cache.preload("empty.bin");
    cache.preload("zeros.bin");
    const DataFileEntry* empty = cache.find("empty.bin");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size, 0u);
    EXPECT_NE(empty->data, nullptr);
    EXPECT_EQ(contents(cache.find("zeros.bin")), std::string("\0\xff\0\n\r", 5));
}

TEST_F(DataFileCacheTest, MissingFileShowsTheBoxPostsQuitAndAddsNothing) {
    DataFileCache cache(root);
    cache.preload("nothere.jpg");
    EXPECT_EQ(cache.find("nothere.jpg"), nullptr);
    EXPECT_EQ(cache.entryCount(), 0u);
    EXPECT_EQ(boxes.records(), std::vector<os::MessageBoxRecord>{kOpenFailure});
    EXPECT_TRUE(os::quitRequested());
    EXPECT_EQ(os::quitExitCode(), 0);
}

TEST_F(DataFileCacheTest, DirectoriesAreNotFiles) {
    fs::create_directories(root / "data/maps");
    write("maps", "the file");
    fs::create_directories(root / "data/only");
    fs::create_directories(root / "only");
    DataFileCache cache(root);
    cache.preload("maps");
    EXPECT_EQ(contents(cache.find("maps")), "the file");
    cache.preload("only");
    cache.preload("");
    EXPECT_EQ(cache.find("only"), nullptr);
    EXPECT_EQ(cache.find(""), nullptr);
    EXPECT_EQ(boxes.count(), 2u);
}

TEST_F(DataFileCacheTest, UnreadableFileFallsBackToThePlainName) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    write("data/locked.bin", "secret");
    write("locked.bin", "open");
    fs::permissions(root / "data/locked.bin", fs::perms::none);
    DataFileCache cache(root);
    cache.preload("locked.bin");
    EXPECT_EQ(contents(cache.find("locked.bin")), "open");
}

TEST_F(DataFileCacheTest, StreamWithoutAMeasurableSizeKeepsWhatWasRead) {
    // A pipe cannot be measured by seeking; the entry must hold exactly the bytes that came.
    const fs::path pipe = root / "data/stream.bin";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&pipe] { std::ofstream(pipe, std::ios::binary) << "seven b"; });
    DataFileCache cache(root);
    cache.preload("stream.bin");
    writer.join();
    const DataFileEntry* entry = cache.find("stream.bin");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->size, 7u);
    EXPECT_EQ(contents(entry), "seven b");
}

TEST_F(DataFileCacheTest, DataFileNameDeclarationPreloadsIntoTheProcessCache) {
    const fs::path unique = root.filename() / "logo.png";
    write("data" / unique, "logo");
    const fs::path previous = fs::current_path();
    fs::current_path(root);
    const kelvo::DataFileName name(unique.string());
    fs::current_path(previous);
    ASSERT_NE(name.entry(), nullptr);
    EXPECT_EQ(kelvo::findDataFile(unique.string()), name.entry());
    EXPECT_EQ(contents(name.entry()), "logo");
}

TEST_F(DataFileCacheTest, NamesFromDataFilesStayInsideTheFolders) {
    struct Case {
        std::string name;
        bool inside;
    };
    const Case cases[] = {
        {"rampa_tx.png", true},
        {"data\\x.png", true},
        {"textures/x.png", true},
        {"a..b/...png", true},  // dots that are not a parent component
        {"..png", true},
        {"/etc/passwd", false},
        {"\\\\server\\share\\x.png", false},
        {"\\x.png", false},
        {"C:\\art\\x.png", false},
        {"c:x.png", false},
        {"..", false},
        {"../x.png", false},
        {"..\\x.png", false},
        {"textures/../../x.png", false},
        {"textures\\..", false},
        {std::string("x.png\0/../y", 11), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataFileCache::staysInside(c.name), c.inside) << c.name;
    }
}

TEST_F(DataFileCacheTest, ContainedPreloadTreatsNamesReachingOutAsMissingFiles) {
    write("data/inside.png", "inside");
    write("outside.png", "outside");  // "../outside.png" from the data folder
    const std::vector<std::string> reaching = {"../outside.png", "..\\outside.png",
                                               (root / "outside.png").string()};
    DataFileCache trusted(root);
    for (const std::string& name : reaching) {
        trusted.preload(name);  // the program's own names are taken as they are
        EXPECT_EQ(contents(trusted.find(name)), "outside") << name;
    }

    DataFileCache contained(root);
    for (const std::string& name : reaching) {
        contained.preloadContained(name);
        EXPECT_EQ(contained.find(name), nullptr) << name;
    }
    EXPECT_EQ(boxes.records(), std::vector<os::MessageBoxRecord>(3, kOpenFailure));
    EXPECT_TRUE(os::quitRequested());

    contained.preloadContained("inside.png");
    EXPECT_EQ(contents(contained.find("inside.png")), "inside");
    EXPECT_EQ(boxes.count(), 3u);
}
