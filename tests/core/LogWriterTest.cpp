#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/LogWriter.h"
#include "support/TestLog.h"
#include "support/Utf8Checks.h"

namespace {

// Without a format attribute, so that a null format can be passed.
void Write(LogWriter& writer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    writer.WriteV(format, args);
    va_end(args);
}

std::vector<std::string> SplitLines(const std::string& file) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(file.substr(start));
            break;
        }
        lines.push_back(file.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

bool IsWellFormedLine(const std::string& line) {
    static const std::regex kLine(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} tid=\d+ .*\S.*\r\n$)");
    return line.size() <= 4095 && std::regex_match(line, kLine);
}

// The message part of a line: after "tid=N ", without "\r\n".
std::string MessageOf(const std::string& line) {
    size_t tid = line.find(" tid=");
    size_t start = line.find(' ', tid + 1) + 1;
    return line.substr(start, line.size() - 2 - start);
}

// The error-text sink is a plain function, so it reports to the fixture through these.
std::mutex g_sinkMutex;
std::vector<std::string> g_sinkLines;
std::vector<std::string> g_fileAtSink;
LogWriter* g_sinkWriter = nullptr;
MemoryLogPlatform* g_sinkPlatform = nullptr;

void RecordingSink(const char* line) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_sinkLines.emplace_back(line);
}

// Checks the order and the locking: the file already holds the line, and the writer's lock is free
// (Flush takes it; it would deadlock if the sink ran under it).
void OrderCheckingSink(const char* line) {
    g_fileAtSink.push_back(g_sinkPlatform->file);
    g_sinkWriter->Flush();
    RecordingSink(line);
}

class LogWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        g_sinkLines.clear();
        g_fileAtSink.clear();
    }

    std::vector<std::string> SinkLines() {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        return g_sinkLines;
    }

    // Prefix of the default fake clock and thread id.
    static constexpr const char* kPrefix = "2026-08-27 09:05:07.042 tid=1234 ";
    static constexpr size_t kRoom = 4093 - 33; // message bytes that fit after kPrefix

    MemoryLogPlatform m_platform;
    LogWriter m_writer{m_platform};
};

TEST_F(LogWriterTest, LineIsPrefixMessageAndCrLf) {
    struct Case {
        LocalTimeStamp time;
        uint32_t threadId;
        const char* expected;
    };
    const Case cases[] = {
        {{2026, 8, 27, 9, 5, 7, 42}, 1234, "2026-08-27 09:05:07.042 tid=1234 hello 7\r\n"},
        {{1601, 1, 1, 0, 0, 0, 0}, 0, "1601-01-01 00:00:00.000 tid=0 hello 7\r\n"},
        {{2099, 12, 31, 23, 59, 59, 999}, 4294967295u, "2099-12-31 23:59:59.999 tid=4294967295 hello 7\r\n"},
    };
    for (const Case& c : cases) {
        MemoryLogPlatform platform;
        platform.time = c.time;
        platform.threadId = c.threadId;
        LogWriter writer(platform);
        ASSERT_TRUE(writer.Open());
        platform.file.clear();
        Write(writer, "hello %d", 7);
        EXPECT_EQ(platform.file, c.expected);
        EXPECT_TRUE(IsWellFormedLine(platform.file));
    }
}

TEST_F(LogWriterTest, LongMessageIsCutToLineLimit) {
    ASSERT_TRUE(m_writer.Open());
    m_platform.file.clear();
    std::string text(5000, 'a');
    Write(m_writer, "%s", text.c_str());
    ASSERT_EQ(m_platform.file.size(), 4095u);
    EXPECT_EQ(m_platform.file, kPrefix + std::string(kRoom, 'a') + "\r\n");
    EXPECT_TRUE(IsWellFormedLine(m_platform.file));

    // Exactly filling the room is not a cut.
    m_platform.file.clear();
    text.assign(kRoom - 1, 'b');
    text += 'z';
    Write(m_writer, "%s", text.c_str());
    EXPECT_EQ(MessageOf(m_platform.file), text);
}

TEST_F(LogWriterTest, CutNeverSplitsUtf8Character) {
    ASSERT_TRUE(m_writer.Open());
    for (std::string character : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        // Place the character at every offset around the end of the room.
        for (size_t lead = kRoom - 4; lead <= kRoom; ++lead) {
            std::string text(lead, 'a');
            for (int i = 0; i < 4; ++i)
                text += character;
            m_platform.file.clear();
            Write(m_writer, "%s", text.c_str());
            SCOPED_TRACE(testing::Message() << "char bytes=" << character.size() << " lead=" << lead);
            ASSERT_TRUE(IsWellFormedLine(m_platform.file));
            std::string message = MessageOf(m_platform.file);
            EXPECT_TRUE(IsCompleteUtf8(message));
            EXPECT_EQ(text.compare(0, message.size(), message), 0) << "message is not a start of the text";
            EXPECT_GT(message.size() + character.size(), kRoom) << "cut shorter than needed";
        }
    }
}

TEST_F(LogWriterTest, CutNeverSplitsEscape) {
    ASSERT_TRUE(m_writer.Open());
    struct Case {
        char control;
        const char* escaped;
    };
    for (Case c : {Case{'\n', "\\n"}, Case{'\r', "\\r"}, Case{'\x01', "\\x01"}}) {
        for (size_t lead = kRoom - 4; lead <= kRoom; ++lead) {
            std::string text(lead, 'a');
            text += c.control;
            text += "tail";
            m_platform.file.clear();
            Write(m_writer, "%s", text.c_str());
            SCOPED_TRACE(testing::Message() << "escape=" << c.escaped << " lead=" << lead);
            ASSERT_TRUE(IsWellFormedLine(m_platform.file));
            std::string message = MessageOf(m_platform.file);
            std::string full = std::string(lead, 'a') + c.escaped + "tail";
            EXPECT_EQ(full.compare(0, message.size(), message), 0);
            // Either the whole escape fits or none of it.
            EXPECT_TRUE(message.size() <= lead || message.size() >= lead + std::strlen(c.escaped))
                << message.size();
        }
    }
}

TEST_F(LogWriterTest, MultiByteCharacterAfterEscapesAtCut) {
    ASSERT_TRUE(m_writer.Open());
    // Escapes quadruple the length, so the cut falls inside the escaped text, not the formatted one.
    for (size_t shift = 0; shift < 4; ++shift) {
        std::string text(shift, 'a');
        std::string escaped = text;
        while (text.size() < 3000) {
            text += "\x02\xE2\x82\xAC";
            escaped += "\\x02\xE2\x82\xAC";
        }
        m_platform.file.clear();
        Write(m_writer, "%s", text.c_str());
        SCOPED_TRACE(shift);
        ASSERT_TRUE(IsWellFormedLine(m_platform.file));
        std::string message = MessageOf(m_platform.file);
        EXPECT_TRUE(IsCompleteUtf8(message));
        EXPECT_EQ(escaped.compare(0, message.size(), message), 0);
        EXPECT_TRUE(message.ends_with("\xE2\x82\xAC") || message.ends_with("\\x02") ||
                    message.ends_with("a"));
        EXPECT_GT(message.size() + 4, kRoom);
    }
}

TEST_F(LogWriterTest, ControlCharactersAreEscaped) {
    ASSERT_TRUE(m_writer.Open());
    for (int c = 1; c < 0x20; ++c) {
        std::string text = std::string("a") + static_cast<char>(c) + "b";
        m_platform.file.clear();
        Write(m_writer, "%s", text.c_str());
        std::string message = MessageOf(m_platform.file);
        std::transform(message.begin(), message.end(), message.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        std::string expected = c == '\t'   ? "a\tb"
                               : c == '\r' ? "a\\rb"
                               : c == '\n' ? "a\\nb"
                                           : std::string("a") + hex + "b";
        EXPECT_EQ(message, expected) << "byte " << c;
        EXPECT_TRUE(IsWellFormedLine(m_platform.file)) << "byte " << c;
    }
}

TEST_F(LogWriterTest, PeerTextCannotForgeALine) {
    ASSERT_TRUE(m_writer.Open());
    m_platform.file.clear();
    const char* peer = "name\r\n2026-01-01 00:00:00.000 tid=1 [ERR] forged\nmore\r";
    Write(m_writer, "peer says %s", peer);
    ASSERT_EQ(SplitLines(m_platform.file).size(), 1u);
    EXPECT_EQ(MessageOf(m_platform.file),
              "peer says name\\r\\n2026-01-01 00:00:00.000 tid=1 [ERR] forged\\nmore\\r");
}

TEST_F(LogWriterTest, BlankMessagesWriteNothing) {
    m_platform.environment["MARLO_ENABLE_OUTPUT_DEBUG_STRING"] = "1";
    m_writer.SetErrorTextSink(RecordingSink);
    ASSERT_TRUE(m_writer.Open());
    const std::string before = m_platform.file;
    Write(m_writer, nullptr);
    Write(m_writer, "");
    Write(m_writer, " \t\r\n");
    Write(m_writer, "%s", "\r\n");
    Write(m_writer, "%s%s", "  ", "\t");
    // Cut to blanks by the line limit.
    Write(m_writer, "%s", (std::string(kRoom, '\t') + "[ERR] failed").c_str());
    // Cut to the blanks in front of an escape that does not fit.
    Write(m_writer,
          "%s\x01"
          "x failed",
          std::string(kRoom - 3, ' ').c_str());
    Write(m_writer,
          "%s\x1b"
          "x",
          std::string(kRoom - 2, '\t').c_str());
    EXPECT_EQ(m_platform.file, before);
    EXPECT_TRUE(m_platform.debugOutput.empty());
    EXPECT_TRUE(SinkLines().empty());
}

TEST_F(LogWriterTest, ErrorTextSinkGetsWholeLineAfterFileWrite) {
    g_sinkWriter = &m_writer;
    g_sinkPlatform = &m_platform;
    m_writer.SetErrorTextSink(OrderCheckingSink);
    ASSERT_TRUE(m_writer.Open());
    const int flushesBefore = m_platform.flushes;

    Write(m_writer, "bind failed code=%d", 10048);
    const std::string line = std::string(kPrefix) + "bind failed code=10048\r\n";
    EXPECT_THAT(SinkLines(), testing::ElementsAre(line));
    ASSERT_EQ(g_fileAtSink.size(), 1u);
    EXPECT_TRUE(g_fileAtSink[0].ends_with(line));
    EXPECT_EQ(m_platform.flushes, flushesBefore + 1);

    // Not error text: nothing more reaches the sink.
    Write(m_writer, "[DIAG] bind failed");
    Write(m_writer, "send failed lastError=5");
    Write(m_writer, "Connected");
    EXPECT_EQ(SinkLines().size(), 1u);
}

TEST_F(LogWriterTest, SuppressedLineStillSetsErrorText) {
    m_platform.environment["MARLO_ENABLE_OUTPUT_DEBUG_STRING"] = "1";
    m_writer.SetErrorTextSink(RecordingSink);
    ASSERT_TRUE(m_writer.Open());
    const std::string before = m_platform.file;
    Write(m_writer, "[FW] rule add Failed code=%d", 5);
    EXPECT_EQ(m_platform.file, before);
    EXPECT_TRUE(m_platform.debugOutput.empty());
    EXPECT_THAT(SinkLines(), testing::ElementsAre(std::string(kPrefix) + "[FW] rule add Failed code=5\r\n"));
}

TEST_F(LogWriterTest, CategoryEnvironmentIsReadPerWriter) {
    m_platform.environment["MARLO_DEBUG_STARTUP_LOG"] = "yes";
    ASSERT_TRUE(m_writer.Open());
    m_platform.Clear();
    Write(m_writer, "[FW] rule add");
    Write(m_writer, "[KEY][HOOK] vk=65");
    Write(m_writer, "[THREAD][START] name=net");
    EXPECT_THAT(m_platform.Messages(), testing::ElementsAre("[FW] rule add"));

    EXPECT_TRUE(m_writer.IsDebugCategoryEnabled("startup"));
    EXPECT_FALSE(m_writer.IsDebugCategoryEnabled("input"));
    EXPECT_FALSE(m_writer.IsDebugCategoryEnabled(nullptr));
    EXPECT_FALSE(m_writer.IsDebugCategoryEnabled(""));
    EXPECT_FALSE(m_writer.IsDebugCategoryEnabled("unknown"));

    // Read once: a later change of the environment does not count.
    m_platform.environment["MARLO_DEBUG_INPUT_LOG"] = "1";
    EXPECT_FALSE(m_writer.IsDebugCategoryEnabled("input"));
    EXPECT_TRUE(m_writer.ShouldSuppress("[KEY][HOOK] vk=65"));
}

TEST_F(LogWriterTest, AllFlagEnablesEveryNameAndUnknownNames) {
    m_platform.environment["MARLO_DEBUG_ALL_LOG"] = "1";
    for (const char* name : {"input", "media", "transfer", "", "unknown"})
        EXPECT_TRUE(m_writer.IsDebugCategoryEnabled(name)) << name;
    EXPECT_TRUE(m_writer.IsDebugCategoryEnabled(nullptr));
}

TEST_F(LogWriterTest, DebugOutputSwitch) {
    struct Case {
        const char* value; // null: unset
        bool on;
    };
    for (Case c : {Case{nullptr, false}, Case{"1", true}, Case{"1x", true}, Case{"0", false},
                   Case{"yes", false}, Case{"", false}}) {
        MemoryLogPlatform platform;
        if (c.value)
            platform.environment["MARLO_ENABLE_OUTPUT_DEBUG_STRING"] = c.value;
        LogWriter writer(platform);
        ASSERT_TRUE(writer.Open());
        Write(writer, "Connected");
        Write(writer, "[THREAD][START] name=net"); // suppressed: never to the debugger either
        SCOPED_TRACE(c.value ? c.value : "unset");
        if (c.on)
            EXPECT_THAT(platform.debugOutput, testing::ElementsAre(std::string(kPrefix) + "Connected\r\n"));
        else
            EXPECT_TRUE(platform.debugOutput.empty());
    }
}

TEST_F(LogWriterTest, OpenWritesProfileLineOnce) {
    m_platform.environment["MARLO_DEBUG_MEDIA_LOG"] = "1";
    m_platform.environment["MARLO_DEBUG_STATE_LOG"] = "Yes";
    m_platform.environment["MARLO_DEBUG_INPUT_LOG"] = "on";
    ASSERT_TRUE(m_writer.Open());
    const std::string profile =
        std::string(kPrefix) +
        "[LOG][PROFILE] runtime-slim all=0 input=0 hid=0 drag=0 resize=0 ui=0 timeline=0 "
        "media=1 visibility=0 state=1 startup=0 transfer=0\r\n";
    EXPECT_EQ(m_platform.file, profile);
    EXPECT_EQ(m_platform.opens, 1);

    EXPECT_TRUE(m_writer.Open());
    EXPECT_EQ(m_platform.opens, 1);
    EXPECT_EQ(m_platform.file, profile);
}

TEST_F(LogWriterTest, ProfileLineWithAllFlag) {
    m_platform.environment["MARLO_DEBUG_ALL_LOG"] = "true";
    ASSERT_TRUE(m_writer.Open());
    EXPECT_EQ(m_platform.file,
              std::string(kPrefix) +
                  "[LOG][PROFILE] runtime-slim all=1 input=1 hid=1 drag=1 resize=1 ui=1 timeline=1 "
                  "media=1 visibility=1 state=1 startup=1 transfer=1\r\n");
}

TEST_F(LogWriterTest, WriteWhenNotOpenReachesOnlySinkAndDebugger) {
    m_platform.environment["MARLO_ENABLE_OUTPUT_DEBUG_STRING"] = "1";
    m_writer.SetErrorTextSink(RecordingSink);
    Write(m_writer, "early step failed");
    EXPECT_TRUE(m_platform.file.empty());
    EXPECT_EQ(m_platform.debugOutput.size(), 1u);
    EXPECT_EQ(SinkLines().size(), 1u);

    ASSERT_TRUE(m_writer.Open());
    Write(m_writer, "running");
    m_writer.Close();
    const std::string closedFile = m_platform.file;
    Write(m_writer, "late step failed");
    EXPECT_EQ(m_platform.file, closedFile);
    EXPECT_THAT(m_platform.Messages(),
                testing::ElementsAre(testing::StartsWith("[LOG][PROFILE]"), "running"));
    EXPECT_EQ(m_platform.debugOutput.size(), 3u);
    EXPECT_EQ(SinkLines().size(), 2u);
}

TEST_F(LogWriterTest, FailedOpenWritesNothingAndCanBeRetried) {
    m_platform.canOpen = false;
    EXPECT_FALSE(m_writer.Open());
    Write(m_writer, "lost");
    m_writer.Flush();
    m_writer.Close();
    EXPECT_TRUE(m_platform.file.empty());
    EXPECT_EQ(m_platform.flushes, 0);

    m_platform.canOpen = true;
    EXPECT_TRUE(m_writer.Open());
    EXPECT_EQ(m_platform.opens, 2);
    Write(m_writer, "kept");
    EXPECT_THAT(m_platform.Messages(), testing::ElementsAre(testing::StartsWith("[LOG][PROFILE]"), "kept"));
}

TEST_F(LogWriterTest, FlushAndCloseOnlyWhileOpen) {
    m_writer.Flush();
    m_writer.Close();
    EXPECT_EQ(m_platform.flushes, 0);

    ASSERT_TRUE(m_writer.Open());
    m_writer.Flush();
    EXPECT_EQ(m_platform.flushes, 1);
    m_writer.Close();
    EXPECT_EQ(m_platform.flushes, 2); // Close flushes
    EXPECT_FALSE(m_platform.open);
    m_writer.Close();
    m_writer.Flush();
    EXPECT_EQ(m_platform.flushes, 2);

    // Reopening starts a new file with its own profile line.
    ASSERT_TRUE(m_writer.Open());
    EXPECT_EQ(m_platform.opens, 2);
    EXPECT_EQ(SplitLines(m_platform.file).size(), 1u);
    EXPECT_NE(m_platform.file.find("[LOG][PROFILE]"), std::string::npos);
}

TEST_F(LogWriterTest, ConcurrentWritersKeepEachLineIntact) {
    m_writer.SetErrorTextSink(RecordingSink);
    ASSERT_TRUE(m_writer.Open());
    m_platform.file.clear();
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            // Long lines make a torn write likely to show.
            std::string filler(300 + t * 50, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) {
                Write(m_writer, "writer=%d line=%d %s%s", t, i, filler.c_str(), i % 10 == 0 ? " failed" : "");
                if (i % 50 == 0)
                    m_writer.Flush();
            }
        });
    }
    for (std::thread& t : threads)
        t.join();

    std::vector<std::string> lines = SplitLines(m_platform.file);
    ASSERT_EQ(lines.size(), size_t(kThreads * kLines));
    std::set<std::string> seen;
    for (const std::string& line : lines) {
        ASSERT_TRUE(IsWellFormedLine(line)) << line;
        std::string message = MessageOf(line);
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(message.c_str(), "writer=%d line=%d", &t, &i), 2) << message;
        std::string expected = "writer=" + std::to_string(t) + " line=" + std::to_string(i) + " " +
                               std::string(300 + t * 50, static_cast<char>('a' + t)) +
                               (i % 10 == 0 ? " failed" : "");
        EXPECT_EQ(message, expected);
        seen.insert(message);
    }
    EXPECT_EQ(seen.size(), size_t(kThreads * kLines));
    EXPECT_EQ(SinkLines().size(), size_t(kThreads * kLines / 10));
}

} // namespace
