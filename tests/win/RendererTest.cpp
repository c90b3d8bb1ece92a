#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "media/Nv12Frame.h"
#include "media/Nv12ShaderMath.h"
#include "media/RemoteViewCover.h"
#include "media/RemoteViewFrame.h"
#include "media/win/RemoteViewRenderer.h"
#include "media/win/Renderer.h"

#include "LogAssertions.h"
#include "RenderTestWindow.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kWindowX = 40;
constexpr int kWindowY = 40;

struct Bgr {
    uint8_t b, g, r;
};

// A BGRA picture of 8 x 8 blocks in distinct colours: every block differs from its neighbours in all three
// channels, so a shifted, flipped or mis-scaled draw cannot match.
Bytes Blocks(int width, int height) {
    Bytes pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int bx = x / 8, by = y / 8;
            uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
            p[0] = static_cast<uint8_t>(40 + (bx * 53 + by * 17) % 180);
            p[1] = static_cast<uint8_t>(30 + (bx * 29 + by * 71) % 200);
            p[2] = static_cast<uint8_t>(20 + (bx * 97 + by * 43) % 210);
            p[3] = 255;
        }
    }
    return pixels;
}

Bytes Solid(int width, int height, Bgr colour) {
    Bytes pixels;
    pixels.reserve(static_cast<size_t>(width) * height * 4);
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {colour.b, colour.g, colour.r, 255});
    return pixels;
}

std::function<bool(const Bytes&)> AllNear(Bgr colour, int tolerance) {
    return [colour, tolerance](const Bytes& pixels) {
        for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
            if (std::abs(pixels[i] - colour.b) > tolerance ||
                std::abs(pixels[i + 1] - colour.g) > tolerance ||
                std::abs(pixels[i + 2] - colour.r) > tolerance)
                return false;
        }
        return !pixels.empty();
    };
}

// Pixels of an 8 x 8 block grid away from block edges, where linear filtering of the half-size chroma
// plane blends neighbouring blocks.
bool Interior(int x, int y) {
    return x % 8 != 0 && x % 8 != 7 && y % 8 != 0 && y % 8 != 7;
}

class RendererWine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
    void TearDown() override { Log::Close(); }
};

TEST_F(RendererWine, Nv12VisiblePartIsDrawnWithTheShaderColoursAndNoPadding) {
    // Coded 104 x 72 with a visible 96 x 64: 8 padding columns and rows of a loud colour.
    const int codedW = 104, codedH = 72, visibleW = 96, visibleH = 64;
    Bytes bgra = Solid(codedW, codedH, Bgr{255, 0, 255});
    const Bytes picture = Blocks(visibleW, visibleH);
    for (int y = 0; y < visibleH; ++y)
        std::memcpy(bgra.data() + static_cast<size_t>(y) * codedW * 4,
                    picture.data() + static_cast<size_t>(y) * visibleW * 4,
                    static_cast<size_t>(visibleW) * 4);
    Bytes nv12;
    ASSERT_TRUE(ConvertBGRAtoNV12(bgra.data(), codedW, codedH, nv12));
    ASSERT_EQ(nv12.size(), Nv12PictureBytes(codedW, codedH));
    const Bytes expected = Nv12ShaderReference(nv12.data(), codedW, codedH, visibleW, visibleH);

    RenderTestWindow window(kWindowX, kWindowY, visibleW, visibleH);
    ASSERT_NE(window.Handle(), nullptr);
    Renderer renderer;
    ASSERT_TRUE(renderer.Init(window.Handle(), visibleW, visibleH));
    ASSERT_TRUE(renderer.RenderNv12(nv12.data(), nv12.size(), codedW, codedH, visibleW, visibleH, 0, 0));
    EXPECT_FALSE(renderer.ResizePending());

    const Bytes shown = window.WaitForScreen(
        [&](const Bytes& pixels) { return MaxColourDifference(pixels, expected, visibleW, Interior) <= 2; },
        3000);
    EXPECT_LE(MaxColourDifference(shown, expected, visibleW, Interior), 2);
    // And against the source picture itself: the encoder's conversion and the shader agree.
    EXPECT_LE(MaxColourDifference(shown, picture, visibleW, Interior), 3);
}

TEST_F(RendererWine, BgraWithAWideStrideIsDrawnExactly) {
    const int width = 96, height = 64, stride = width * 4 + 64;
    const Bytes picture = Blocks(width, height);
    Bytes strided(static_cast<size_t>(stride) * height, 0x7F);
    for (int y = 0; y < height; ++y)
        std::memcpy(strided.data() + static_cast<size_t>(y) * stride,
                    picture.data() + static_cast<size_t>(y) * width * 4, static_cast<size_t>(width) * 4);

    RenderTestWindow window(kWindowX, kWindowY, width, height);
    ASSERT_NE(window.Handle(), nullptr);
    Renderer renderer;
    ASSERT_TRUE(renderer.Init(window.Handle(), width, height));
    ASSERT_TRUE(renderer.RenderBgra(strided.data(), strided.size(), width, height, width, height, stride));
    auto everywhere = [](int, int) { return true; };
    const Bytes shown = window.WaitForScreen(
        [&](const Bytes& pixels) { return MaxColourDifference(pixels, picture, width, everywhere) <= 1; },
        3000);
    EXPECT_LE(MaxColourDifference(shown, picture, width, everywhere), 1);

    // A buffer too short for its declared rows is refused instead of read past its end; the last row needs
    // no padding after it.
    const size_t needed = static_cast<size_t>(height - 1) * stride + static_cast<size_t>(width) * 4;
    EXPECT_FALSE(renderer.RenderBgra(strided.data(), needed - 1, width, height, width, height, stride));
    EXPECT_TRUE(renderer.RenderBgra(strided.data(), needed, width, height, width, height, stride));
}

TEST_F(RendererWine, BlackClearsThePicture) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    Renderer renderer;
    ASSERT_TRUE(renderer.Init(window.Handle(), 64, 48));
    const Bytes white = Solid(64, 48, Bgr{255, 255, 255});
    ASSERT_TRUE(renderer.RenderBgra(white.data(), white.size(), 64, 48, 64, 48, 0));
    EXPECT_TRUE(AllNear(Bgr{255, 255, 255}, 1)(window.WaitForScreen(AllNear(Bgr{255, 255, 255}, 1), 3000)));
    ASSERT_TRUE(renderer.RenderBlack());
    EXPECT_TRUE(AllNear(Bgr{0, 0, 0}, 1)(window.WaitForScreen(AllNear(Bgr{0, 0, 0}, 1), 3000)));
}

TEST_F(RendererWine, ANewClientSizeIsTakenOnceItHeldStill) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    Renderer renderer;
    ASSERT_TRUE(renderer.Init(window.Handle(), 64, 48));
    const Bytes red = Solid(32, 24, Bgr{0, 0, 255});
    ASSERT_TRUE(renderer.RenderBgra(red.data(), red.size(), 32, 24, 32, 24, 0));
    EXPECT_FALSE(renderer.ResizePending());

    ASSERT_TRUE(
        ::SetWindowPos(window.Handle(), nullptr, 0, 0, 97, 73, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(renderer.RenderBgra(red.data(), red.size(), 32, 24, 32, 24, 0));
    EXPECT_TRUE(renderer.ResizePending()) << "the first frame at a new size only starts the wait";
    EXPECT_EQ(renderer.Width(), 64);
    const DWORD start = ::GetTickCount();
    while (renderer.ResizePending() && ::GetTickCount() - start < 3000) {
        ::Sleep(20);
        ASSERT_TRUE(renderer.RenderBgra(red.data(), red.size(), 32, 24, 32, 24, 0));
    }
    EXPECT_GE(::GetTickCount() - start, 300u);
    EXPECT_FALSE(renderer.ResizePending());
    EXPECT_EQ(renderer.Width(), 96); // the client size made even
    EXPECT_EQ(renderer.Height(), 72);
}

// A cover that only records what was asked of it.
class RecordingCover : public IRemoteViewCover {
public:
    void Show(bool show) override {
        m_shown = show;
        ++m_showCalls;
    }
    void PaintBlack() override {
        m_shown = true;
        ++m_paints;
    }
    bool IsShown() const override { return m_shown; }

    std::atomic<bool> m_shown{false};
    std::atomic<int> m_showCalls{0};
    std::atomic<int> m_paints{0};
};

RecordingCover& Cover() {
    static RecordingCover* cover = new RecordingCover();
    return *cover;
}

// The render thread's tests: a live controller session with the test window as RemoteView.
class RenderThreadWine : public RendererWine {
protected:
    void SetUp() override {
        RendererWine::SetUp();
        SetRemoteViewCover(&Cover());
        RuntimeSetAppRunning(true);
        RuntimeSetClientRunning(true);
        RuntimeSetRole(RuntimeRole::Controller);
    }
    void TearDown() override {
        RemoteViewStopRenderer();
        RuntimeSetRemoteViewWindow(0);
        RuntimeSetRole(RuntimeRole::None);
        RuntimeSetClientRunning(false);
        RendererWine::TearDown();
    }
    static void UseWindow(const RenderTestWindow& window) {
        RuntimeSetRemoteViewWindow(reinterpret_cast<RuntimeWindow>(window.Handle()));
    }
    static bool SubmitSolid(int width, int height, Bgr colour) {
        const Bytes pixels = Solid(width, height, colour);
        return RemoteViewSubmitBgraFrame(pixels.data(), width, height, width, height, 0);
    }
};

TEST_F(RenderThreadWine, StartStopCyclesOnOneWindowEachDrawAndTheOldThreadLeavesFirst) {
    RenderTestWindow window(kWindowX, kWindowY, 80, 60);
    ASSERT_NE(window.Handle(), nullptr);
    UseWindow(window);
    const Bgr colours[] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
    for (const Bgr& colour : colours) {
        ASSERT_TRUE(RemoteViewStartRenderer(80, 60));
        EXPECT_TRUE(RemoteViewIsRendererReady());
        ASSERT_TRUE(SubmitSolid(80, 60, colour));
        EXPECT_TRUE(AllNear(colour, 1)(window.WaitForScreen(AllNear(colour, 1), 3000)));
        RemoteViewStopRenderer(); // signals only: the next start must wait for this thread
        EXPECT_FALSE(RemoteViewIsRendererRunning());
    }
    const std::string log = WaitForOwnLog("RemoteView render thread exit gen=", 3000, 3);
    // Every thread's renderer is gone before the next thread makes its swap chain.
    std::vector<std::string> order;
    for (int i = 0; i < 3; ++i) {
        order.push_back("RemoteView render thread init gen=");
        order.push_back("RemoteView render thread exit gen=");
    }
    EXPECT_TRUE(InOrder(log, order));
    EXPECT_EQ(CountOf(log, "CreateSwapChainForHwnd flip failed"), CountOf(log, "Renderer using legacy DXGI"))
        << "a swap chain failed for another reason than a missing flip model";
    EXPECT_EQ(CountOf(log, "Renderer legacy CreateSwapChain failed"), 0u) << log;
}

TEST_F(RenderThreadWine, BlackRequestIsPresentedWithinItsWaitAndStopLeavesBlack) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    UseWindow(window);
    ASSERT_TRUE(RemoteViewStartRenderer(64, 48));
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{255, 255, 255}));
    EXPECT_FALSE(Cover().IsShown()) << "the first picture hides the cover";
    ASSERT_TRUE(AllNear(Bgr{255, 255, 255}, 1)(window.WaitForScreen(AllNear(Bgr{255, 255, 255}, 1), 3000)));

    EXPECT_TRUE(RemoteViewPresentBlackAndWait());
    EXPECT_TRUE(AllNear(Bgr{0, 0, 0}, 1)(window.WaitForScreen(AllNear(Bgr{0, 0, 0}, 1), 3000)));

    const int paints = Cover().m_paints.load();
    RemoteViewStopRenderer();
    EXPECT_TRUE(Cover().IsShown());
    EXPECT_EQ(Cover().m_paints.load(), paints) << "the black frame was presented, no GDI paint needed";
    EXPECT_NE(OwnLog().find("RemoteViewStopRenderer blackPresented=1 signal done"), std::string::npos);
    EXPECT_FALSE(RemoteViewPresentBlackAndWait()) << "no renderer to present it";
}

TEST_F(RenderThreadWine, SubmitIsRefusedWhileStoppedOrWithoutALiveSession) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    UseWindow(window);
    const Bytes nv12(Nv12PictureBytes(64, 48), 128);
    EXPECT_FALSE(RemoteViewSubmitNv12Frame(nv12.data(), 64, 48, 64, 48));
    EXPECT_FALSE(SubmitSolid(64, 48, Bgr{1, 2, 3}));

    ASSERT_TRUE(RemoteViewStartRenderer(64, 48));
    EXPECT_TRUE(RemoteViewSubmitNv12Frame(nv12.data(), 64, 48, 64, 48));
    EXPECT_FALSE(RemoteViewSubmitNv12Frame(nv12.data(), 64, 0, 64, 48));
    EXPECT_FALSE(RemoteViewSubmitBgraFrame(nv12.data(), 64, 48, 64, 48, 64 * 4 - 1)) << "stride below a row";
    RuntimeSetRole(RuntimeRole::Controlled);
    EXPECT_FALSE(RemoteViewSubmitNv12Frame(nv12.data(), 64, 48, 64, 48));
    RuntimeSetRole(RuntimeRole::Controller);
    RemoteViewStopRenderer();
    EXPECT_FALSE(RemoteViewSubmitNv12Frame(nv12.data(), 64, 48, 64, 48));
}

TEST_F(RenderThreadWine, NothingIsDrawnDuringTheMoveSizeLoopAndItsCooldown) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    UseWindow(window);
    ASSERT_TRUE(RemoteViewStartRenderer(64, 48));
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{255, 255, 255}));
    ASSERT_TRUE(AllNear(Bgr{255, 255, 255}, 1)(window.WaitForScreen(AllNear(Bgr{255, 255, 255}, 1), 3000)));

    RemoteViewSetSizeMoveActive(true);
    EXPECT_TRUE(RemoteViewIsSizeMoveActive());
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{0, 0, 255}));
    const Bytes during = window.WaitForScreen(AllNear(Bgr{0, 0, 255}, 1), 800);
    EXPECT_TRUE(AllNear(Bgr{255, 255, 255}, 1)(during)) << "the last picture stays during the loop";
    RemoteViewSetSizeMoveActive(false);
    EXPECT_FALSE(RemoteViewIsSizeMoveActive());
    ::Sleep(300); // past the cool-down
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{0, 0, 255}));
    EXPECT_TRUE(AllNear(Bgr{0, 0, 255}, 1)(window.WaitForScreen(AllNear(Bgr{0, 0, 255}, 1), 3000)));
}

TEST_F(RenderThreadWine, TwoSubmitsWhileTheThreadIsBusyDrawOnlyTheSecond) {
    RenderTestWindow window(kWindowX, kWindowY, 64, 48);
    ASSERT_NE(window.Handle(), nullptr);
    UseWindow(window);
    ASSERT_TRUE(RemoteViewStartRenderer(64, 48));
    // A large picture keeps the thread in its upload and draw while the two small ones arrive.
    const int bigW = 4096, bigH = 4096;
    ASSERT_TRUE(SubmitSolid(bigW, bigH, Bgr{200, 200, 200}));
    ::Sleep(10);
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{0, 0, 255}));
    ASSERT_TRUE(SubmitSolid(64, 48, Bgr{0, 255, 0}));
    // Under Wine's software renderer the large present takes seconds. Had the first small picture been
    // drawn, it would stay on screen for a present and the 22 ms pacing gap at least, where the polling
    // sees it (or the second would be paced away and never come).
    bool firstSeen = false;
    const Bytes shown = window.WaitForScreen(
        [&](const Bytes& pixels) {
            firstSeen = firstSeen || AllNear(Bgr{0, 0, 255}, 1)(pixels);
            return AllNear(Bgr{0, 255, 0}, 1)(pixels);
        },
        15000);
    EXPECT_TRUE(AllNear(Bgr{0, 255, 0}, 1)(shown));
    EXPECT_FALSE(firstSeen);
}

} // namespace
