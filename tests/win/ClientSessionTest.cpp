#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <mfapi.h>

#include "LogAssertions.h"
#include "TestClip.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "media/ClientSession.h"
#include "media/ClientSessionRunBody.h"
#include "media/RemoteViewFrame.h"
#include "media/TileJpegEncoder.h"
#include "media/VideoFrameHeader.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/TcpVideoSender.h"

namespace {

constexpr DWORD kBoundMs = 10000;

const char* LinkAddress() {
    const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
    return link != nullptr && *link != '\0' ? link : nullptr;
}

// The controlled PC as the session sees it: present, and the active peer at the link address. Counts the
// session threads that ended, so a test can wait for them before it frees what they use.
class PeerServices final : public SessionServices {
public:
    bool IsActivePeer(const std::string& ip) override { return ip == LinkAddress(); }
    bool IsDevicePresent() override { return true; }
    std::thread StartThread(SessionThreadProc entry, SessionThreadArg* arg) override {
        ++started;
        return std::thread([this, entry, arg] {
            entry(arg);
            ++finished;
        });
    }
    std::atomic<int> started{0}, finished{0};
};

// Records what reaches the renderer. A submit may be held once (armHold), which keeps the session thread
// busy the way a slow decode or present would.
class RecordingRenderer final : public IClientRenderer {
public:
    bool Start(int32_t width, int32_t height) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        starts.push_back(std::to_string(width) + "x" + std::to_string(height));
        m_running = true;
        return true;
    }
    void Stop() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }
    bool IsRunning() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_running;
    }
    bool SubmitNv12(const std::vector<uint8_t>& pixels, int32_t codedWidth, int32_t codedHeight,
                    int32_t visibleWidth, int32_t visibleHeight) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        EXPECT_EQ(pixels.size(), Nv12PictureBytes(codedWidth, codedHeight));
        sizes.push_back("nv12 " + std::to_string(codedWidth) + "x" + std::to_string(codedHeight) +
                        " visible " + std::to_string(visibleWidth) + "x" + std::to_string(visibleHeight));
        m_changed.notify_all();
        return true;
    }
    bool SubmitBgra(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t, int32_t,
                    int32_t stride) override {
        std::unique_lock<std::mutex> lock(m_mutex);
        sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
        EXPECT_EQ(pixels.size(), static_cast<size_t>(stride) * static_cast<size_t>(height));
        m_changed.notify_all();
        if (m_hold) {
            m_hold = false;
            m_held = true;
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::milliseconds(kBoundMs), [this] { return !m_held; });
        }
        return true;
    }

    void ArmHold() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = true;
    }
    bool WaitHeld() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(kBoundMs), [this] { return m_held; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_held = false;
        m_changed.notify_all();
    }
    bool WaitSubmits(size_t count) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(kBoundMs),
                                  [&] { return sizes.size() >= count; });
    }
    std::vector<std::string> Sizes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return sizes;
    }

    std::vector<std::string> starts, sizes; // under m_mutex

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_running = false, m_hold = false, m_held = false;
};

// A grey picture with a bright band, so it is not black.
std::vector<uint8_t> TileFrame(TileJpegEncoder& encoder, int32_t width, int32_t height) {
    std::vector<uint8_t> bgra(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 90);
    for (int32_t x = 0; x < width; ++x)
        bgra[(static_cast<size_t>(height / 2) * width + x) * 4 + 1] = 240;
    std::vector<uint8_t> out;
    EXPECT_TRUE(encoder.Encode(bgra.data(), width, height, out));
    return out;
}

struct World {
    World() : client(ownership), body(platform) {
        platform.SetRenderer(&renderer);
        client.SetServices(&services);
        client.SetRunBody(&body);
    }
    SessionOwnership ownership;
    PeerServices services;
    RecordingRenderer renderer;
    Win32ClientPlatform platform;
    ClientSession client;
    ClientSessionRunBody body;
};

class ClientSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        link = LinkAddress();
        if (link == nullptr)
            GTEST_SKIP() << "no link address in this namespace";
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        w = std::make_unique<World>();
        encoder = TileJpegEncoder::Create();
        ASSERT_TRUE(encoder);
    }
    void TearDown() override {
        if (!w)
            return;
        w->renderer.Release();
        w->client.Stop();
        if (!WaitProgramState([this] { return w->services.finished.load() == w->services.started.load(); })) {
            ADD_FAILURE() << "a session thread did not end; its objects are leaked";
            w.release();
        }
        Log::Close();
        WSACleanup();
    }

    static bool WaitProgramState(const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > kBoundMs)
                return false;
            Sleep(5);
        }
        return true;
    }
    // Counts since this test began.
    size_t Since(const std::string& text) { return CountOf(OwnLog(), text) - m_base[text]; }
    void Mark(const std::string& text) { m_base[text] = CountOf(OwnLog(), text); }
    bool Start() { return w->client.Start(link); }

    const char* link = nullptr;
    std::unique_ptr<World> w;
    std::unique_ptr<TileJpegEncoder> encoder;
    std::map<std::string, size_t> m_base;
};

TEST_F(ClientSessionTest, TileFramesFromThePeerReachTheRendererAcrossASizeChange) {
    for (const char* line :
         {"Client first decoded frame submitted codec=ULTRA to RemoteView 64x36 visible=64x36",
          "Client stream size changed 64x36 -> 128x72", "[QUALITY][CLIENT] codec switch NONE -> ULTRA"})
        Mark(line);
    ASSERT_TRUE(Start());
    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(link, kVideoPort));
    const std::vector<uint8_t> small = TileFrame(*encoder, 64, 36);
    const std::vector<uint8_t> large = TileFrame(*encoder, 128, 72);
    for (uint32_t id = 1; id <= 3; ++id)
        ASSERT_TRUE(sender.SendFrame(small.data(), small.size(), id, 64, 36, 64, 36, VideoCodecFlag::Tiles));
    ASSERT_TRUE(w->renderer.WaitSubmits(3));
    for (uint32_t id = 4; id <= 6; ++id)
        ASSERT_TRUE(
            sender.SendFrame(large.data(), large.size(), id, 128, 72, 256, 144, VideoCodecFlag::Tiles));
    ASSERT_TRUE(w->renderer.WaitSubmits(6));

    EXPECT_EQ(w->renderer.Sizes(),
              (std::vector<std::string>{"64x36", "64x36", "64x36", "128x72", "128x72", "128x72"}));
    EXPECT_EQ(Since("[QUALITY][CLIENT] codec switch NONE -> ULTRA"), 1u);
    EXPECT_EQ(Since("Client first decoded frame submitted codec=ULTRA to RemoteView 64x36 visible=64x36"),
              1u);
    EXPECT_EQ(Since("Client stream size changed 64x36 -> 128x72"), 1u);
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Connected));
    EXPECT_EQ(RuntimeMakeSnapshot().desktopWidth, 256u);
}

TEST_F(ClientSessionTest, AHeldVideoPortEndsTheSessionInError) {
    UniqueSocket holder(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(kVideoPort);
    ASSERT_EQ(::bind(holder.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder.Get(), 1), 0);

    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitProgramState(
        [] { return RuntimeGetProgramState() == static_cast<int32_t>(ProgramState::Error); }));
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "Client TCP video receiver init failed");
    EXPECT_FALSE(RuntimeIsClientRunning());
    EXPECT_EQ(w->client.running.load(), 0);
}

TEST_F(ClientSessionTest, StopClosesTheListenerSoTheNextSessionBindsAtOnce) {
    Mark("TCP video receiver listening 0.0.0.0:6000");
    Mark("TCP video bind port=6000 failed");
    ASSERT_TRUE(Start());
    {
        TcpVideoSender sender;
        ASSERT_TRUE(sender.Connect(link, kVideoPort));
        const std::vector<uint8_t> frame = TileFrame(*encoder, 64, 36);
        // The first session's thread is kept busy in a submit while it is stopped and replaced.
        w->renderer.ArmHold();
        ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 1, 64, 36, 64, 36, VideoCodecFlag::Tiles));
        ASSERT_TRUE(w->renderer.WaitHeld());
    }
    w->client.Stop();
    ASSERT_TRUE(Start());
    WaitForOwnLog("TCP video receiver listening 0.0.0.0:6000", kBoundMs,
                  m_base["TCP video receiver listening 0.0.0.0:6000"] + 2);
    EXPECT_EQ(Since("TCP video receiver listening 0.0.0.0:6000"), 2u) << "the second session listens";
    EXPECT_EQ(Since("TCP video bind port=6000 failed"), 0u);

    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(link, kVideoPort));
    const std::vector<uint8_t> frame = TileFrame(*encoder, 64, 36);
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 1, 64, 36, 64, 36, VideoCodecFlag::Tiles));
    w->renderer.Release();
    EXPECT_TRUE(w->renderer.WaitSubmits(2)) << "the new session shows the peer's frame";
}

// The platform's H.264 decoder (under Wine, winegstreamer's) behind the session: the clip x264 made at build
// time arrives as H.264 frames and leaves as NV12 pictures of the stream's size.
TEST_F(ClientSessionTest, H264FramesFromThePeerReachTheRendererAsNv12) {
    ASSERT_TRUE(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)));
    Mark("Client first decoded frame submitted codec=H264 to RemoteView 128x96 visible=128x96");
    const test_clip::ClipSize& clip = test_clip::kEncoderClip;
    const std::vector<test_clip::Bytes> units =
        test_clip::SplitAccessUnits(test_clip::ReadBytes(std::wstring(clip.name) + L".264"));
    ASSERT_EQ(units.size(), static_cast<size_t>(clip.frames));

    ASSERT_TRUE(Start());
    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(link, kVideoPort));
    // The clip again and again (it opens with an IDR frame), as a live stream keeps coming, until the
    // decoder's own latency is filled and pictures come out.
    uint32_t id = 0;
    for (int round = 0; round < 20 && w->renderer.Sizes().empty(); ++round) {
        for (const test_clip::Bytes& unit : units)
            ASSERT_TRUE(sender.SendFrame(unit.data(), unit.size(), ++id, clip.width, clip.height, clip.width,
                                         clip.height, VideoCodecFlag::H264));
        Sleep(50);
    }
    EXPECT_TRUE(w->renderer.WaitSubmits(1));
    const std::vector<std::string> sizes = w->renderer.Sizes();
    ASSERT_FALSE(sizes.empty());
    for (const std::string& size : sizes)
        EXPECT_EQ(size, "nv12 128x96 visible 128x96");
    EXPECT_EQ(Since("Client first decoded frame submitted codec=H264 to RemoteView 128x96 visible=128x96"),
              1u);
    // Media Foundation outlives the session thread's decoder.
    w->client.Stop();
    EXPECT_TRUE(
        WaitProgramState([this] { return w->services.finished.load() == w->services.started.load(); }));
    ::MFShutdown();
}

} // namespace
