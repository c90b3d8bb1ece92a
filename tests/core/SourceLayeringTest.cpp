// The include graph between the source areas (src/<area>/, its win/ folder included): core/ reaches no
// other area, and no two areas include each other, so one of them can always inject the other. app/ and the
// main window in ui/ are the top of the program together (the window starts and stops the lifecycle that
// app/ owns, start-up creates the window) and are the one pair allowed to meet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Area -> included area -> the first file that makes the edge.
using IncludeGraph = std::map<std::string, std::map<std::string, std::string>>;

IncludeGraph ReadIncludeGraph(const fs::path& src) {
    IncludeGraph graph;
    const std::regex include(R"(^\s*#\s*include\s*"([a-z]+)/)");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string area = fs::relative(entry.path(), src).begin()->string();
        std::ifstream file(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(file, line))
            if (std::regex_search(line, match, include) && match[1] != area &&
                fs::is_directory(src / match[1].str()))
                graph[area].emplace(match[1], fs::relative(entry.path(), src).string());
    }
    return graph;
}

TEST(SourceLayering, CoreReachesNoOtherAreaAndNoTwoAreasIncludeEachOther) {
    const fs::path src = TSLY_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(src / "core")) << src;
    const IncludeGraph graph = ReadIncludeGraph(src);
    ASSERT_TRUE(graph.count("app")) << "the scan found no include between areas at all";

    if (auto core = graph.find("core"); core != graph.end())
        for (const auto& [to, file] : core->second)
            ADD_FAILURE() << file << " includes " << to << "/";
    for (const auto& [from, targets] : graph)
        for (const auto& [to, file] : targets) {
            auto back = graph.find(to);
            const bool top = from == "app" && to == "ui";
            if (from < to && !top && back != graph.end() && back->second.count(from))
                ADD_FAILURE() << from << "/ and " << to << "/ include each other: " << file << " and "
                              << back->second.at(from);
        }
}

} // namespace
