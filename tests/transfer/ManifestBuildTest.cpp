#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/Log.h"
#include "support/TestLog.h"
#include "transfer/ManifestBuild.h"

namespace {

// A file system of a few paths: files with sizes, directories with their items in listing order.
class FakeFileSystem final : public IManifestFileSystem {
public:
    struct Node {
        bool isDir = false;
        bool isReparsePoint = false;
        uint64_t size = 0;
        std::vector<std::u16string> children; // names, listing order
    };

    void File(const std::u16string& path, uint64_t size, bool reparse = false) {
        Add(path, Node{false, reparse, size, {}});
    }
    void Dir(const std::u16string& path, bool reparse = false) { Add(path, Node{true, reparse, 0, {}}); }

    bool Stat(const std::u16string& path, ManifestPathFacts& facts, uint32_t& error) override {
        auto it = nodes.find(path);
        if (it == nodes.end()) {
            error = 2;
            return false;
        }
        facts.isDir = it->second.isDir;
        facts.isReparsePoint = it->second.isReparsePoint;
        facts.size = it->second.size;
        facts.attributes = it->second.isDir ? 0x10 : 0x20;
        return true;
    }

    bool List(const std::u16string& directory, std::vector<ManifestDirItem>& items,
              uint32_t& error) override {
        listed.push_back(directory);
        items.clear();
        if (unlistable.count(directory) != 0) {
            error = 5;
            return false;
        }
        auto it = nodes.find(directory);
        if (it == nodes.end()) {
            error = 3;
            return false;
        }
        for (const std::u16string& name : it->second.children) {
            const bool separated = !directory.empty() && directory.back() == u'\\';
            const Node& child = nodes.at(directory + (separated ? u"" : u"\\") + name);
            items.push_back(ManifestDirItem{name, child.isDir, child.isReparsePoint, child.size});
        }
        return true;
    }

    std::map<std::u16string, Node> nodes;
    std::map<std::u16string, bool> unlistable;
    std::vector<std::u16string> listed;

private:
    void Add(const std::u16string& path, Node node) {
        nodes[path] = std::move(node);
        const size_t cut = path.rfind(u'\\');
        auto parent = cut == std::u16string::npos ? nodes.end() : nodes.find(path.substr(0, cut));
        if (parent != nodes.end())
            parent->second.children.push_back(path.substr(cut + 1));
    }
};

struct Row {
    uint32_t id;
    std::u16string absolute;
    std::string relative;
    uint64_t size;
    bool isDir;
    bool operator==(const Row& o) const {
        return id == o.id && absolute == o.absolute && relative == o.relative && size == o.size &&
               isDir == o.isDir;
    }
};

std::vector<Row> Rows(const std::vector<ManifestEntry>& entries) {
    std::vector<Row> rows;
    for (const ManifestEntry& e : entries)
        rows.push_back(Row{e.id, e.absolutePath, e.relativePath, e.size, e.isDir});
    return rows;
}

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.id << " " << row.relative << " size=" << row.size << " dir=" << row.isDir;
}

class ManifestBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }
    FakeFileSystem fs;
};

TEST_F(ManifestBuildTest, FilesAndTreesInOrderWithIds) {
    fs.File(u"C:\\a.txt", 10);
    fs.Dir(u"C:\\Tree");
    fs.File(u"C:\\Tree\\one.bin", 3);
    fs.Dir(u"C:\\Tree\\Sub");
    fs.File(u"C:\\Tree\\Sub\\deep.txt", 4);
    fs.Dir(u"C:\\Tree\\Empty");
    fs.File(u"C:\\Tree\\last.txt", 5);

    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\a.txt", u"C:\\Tree"}, fs, entries));
    const std::vector<Row> expected = {
        {1, u"C:\\a.txt", "a.txt", 10, false},
        {2, u"C:\\Tree", "Tree", 0, true},
        {3, u"C:\\Tree\\one.bin", "Tree/one.bin", 3, false},
        {4, u"C:\\Tree\\Sub", "Tree/Sub", 0, true},
        {5, u"C:\\Tree\\Sub\\deep.txt", "Tree/Sub/deep.txt", 4, false},
        {6, u"C:\\Tree\\Empty", "Tree/Empty", 0, true},
        {7, u"C:\\Tree\\last.txt", "Tree/last.txt", 5, false},
    };
    EXPECT_EQ(Rows(entries), expected);
    EXPECT_EQ(ManifestTotalBytes(entries), 22u);
}

TEST_F(ManifestBuildTest, OfferedEmptyDirectoryIsOneEntry) {
    fs.Dir(u"C:\\Empty");
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\Empty"}, fs, entries));
    EXPECT_EQ(Rows(entries), (std::vector<Row>{{1, u"C:\\Empty", "Empty", 0, true}}));
}

TEST_F(ManifestBuildTest, ReparsePointBelowOfferIsListedEmptyAndNotEntered) {
    fs.Dir(u"C:\\Tree");
    fs.Dir(u"C:\\Tree\\Loop", true); // a junction back up the tree
    fs.File(u"C:\\Tree\\Loop\\x.txt", 1);
    fs.File(u"C:\\Tree\\LinkedFile", 0, true);

    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\Tree"}, fs, entries));
    const std::vector<Row> expected = {
        {1, u"C:\\Tree", "Tree", 0, true},
        {2, u"C:\\Tree\\Loop", "Tree/Loop", 0, true},
        {3, u"C:\\Tree\\LinkedFile", "Tree/LinkedFile", 0, false},
    };
    EXPECT_EQ(Rows(entries), expected);
    EXPECT_EQ(fs.listed, std::vector<std::u16string>{u"C:\\Tree"});
    EXPECT_EQ(CountLogMessages("[HTTP][SERVER][WARN] manifest reparse point not entered rel=Tree/Loop"), 1u);
}

TEST_F(ManifestBuildTest, OfferedLinkedDirectoryIsEntered) {
    fs.Dir(u"C:\\Chosen", true);
    fs.File(u"C:\\Chosen\\a.txt", 2);
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\Chosen"}, fs, entries));
    EXPECT_EQ(entries.size(), 2u);
}

TEST_F(ManifestBuildTest, MissingPathSkippedWithLogAndNothingLeftFails) {
    fs.File(u"C:\\here.txt", 1);
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\gone.txt", u"C:\\here.txt"}, fs, entries));
    EXPECT_EQ(Rows(entries), (std::vector<Row>{{1, u"C:\\here.txt", "here.txt", 1, false}}));
    EXPECT_EQ(CountLogMessages("[HTTP][SERVER][WARN] manifest skip missing path=C:\\gone.txt gle=2"), 1u);

    EXPECT_FALSE(BuildManifestEntries({u"C:\\gone.txt"}, fs, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(BuildManifestEntries({}, fs, entries));
}

TEST_F(ManifestBuildTest, UnlistableDirectoryStaysAnEmptyEntry) {
    fs.Dir(u"C:\\Tree");
    fs.Dir(u"C:\\Tree\\Locked");
    fs.File(u"C:\\Tree\\Locked\\secret.txt", 1);
    fs.unlistable[u"C:\\Tree\\Locked"] = true;
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\Tree"}, fs, entries));
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_EQ(CountLogMessages("[HTTP][SERVER][WARN] manifest list failed gle=5 path=C:\\Tree\\Locked"), 1u);
}

TEST_F(ManifestBuildTest, TrailingSeparatorOnOfferedDirectory) {
    fs.Dir(u"C:\\Tree\\");
    fs.nodes[u"C:\\Tree\\"].children.push_back(u"a.txt");
    fs.File(u"C:\\Tree\\a.txt", 1);
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(BuildManifestEntries({u"C:\\Tree\\"}, fs, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].relativePath, "Tree");
    EXPECT_EQ(entries[1].absolutePath, u"C:\\Tree\\a.txt");
    EXPECT_EQ(entries[1].relativePath, "Tree/a.txt");
}

// 400 directories of 400 files each: more entries than an offer may hold.
class HugeFileSystem final : public IManifestFileSystem {
public:
    bool Stat(const std::u16string&, ManifestPathFacts& facts, uint32_t&) override {
        facts.isDir = true;
        return true;
    }
    bool List(const std::u16string& directory, std::vector<ManifestDirItem>& items, uint32_t&) override {
        const bool top = directory == u"C:\\Huge";
        items.assign(400, ManifestDirItem{});
        for (size_t i = 0; i < items.size(); ++i) {
            items[i].name = std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                            std::u16string(1, static_cast<char16_t>(u'A' + i / 26));
            items[i].isDir = top;
        }
        return true;
    }
};

TEST_F(ManifestBuildTest, WalkStopsAtEntryBound) {
    HugeFileSystem huge;
    std::vector<ManifestEntry> entries;
    EXPECT_FALSE(BuildManifestEntries({u"C:\\Huge"}, huge, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(CountLogMessages("[HTTP][SERVER][ERR] manifest walk stopped entries=100000 limit=100000"), 1u);
}

TEST(ManifestPathTest, LastComponent) {
    EXPECT_EQ(LastPathComponent(u"C:\\a\\b.txt"), u"b.txt");
    EXPECT_EQ(LastPathComponent(u"C:/a/dir/"), u"dir");
    EXPECT_EQ(LastPathComponent(u"plain"), u"plain");
    EXPECT_EQ(LastPathComponent(u""), u"");
}

} // namespace
