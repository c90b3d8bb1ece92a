#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "ClipboardPeer.h"
#include "LogAssertions.h"
#include "TestWait.h"
#include "core/CommandBus.h"
#include "core/ConfigService.h"
#include "core/win/Handles.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardMessageFramer.h"
#include "transfer/FileTransferText.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/ClipboardChannel.h"

// The clipboard channel over loopback, one process: the channel runs as host and the test plays the
// controller with a raw socket, or it runs as client against a raw test listener.
namespace {

using namespace clipboard_peer;

class ClipboardChannelTest : public ClipboardPeerTest {};

TEST_F(ClipboardChannelTest, HostSaysHelloAndReadsThePeersHello) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    EXPECT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    EXPECT_EQ(channel.PeerAddress(), kLoopback);
    EXPECT_EQ(channel.GetLocalAddress(), kLoopback);
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_HELLO, 0, 0, ""));
    EXPECT_TRUE(WaitLog("Clipboard HELLO received gen="));
}

// Received text lands on the clipboard terminated, whatever the peer sent: with its NUL, without one, or
// with half a character at the end.
TEST_F(ClipboardChannelTest, ReceivedTextIsPlacedOnTheClipboardWithATerminator) {
    struct Case {
        const char* name;
        std::string payload;
        std::u16string expected;
    } cases[] = {
        {"with its NUL", Utf16Bytes(u"Grüße 你好") + std::string(2, '\0'), u"Grüße 你好"},
        {"without a NUL", Utf16Bytes(u"plain"), u"plain"},
        {"odd length", Utf16Bytes(u"ab") + "c", std::u16string(u"ab") + u'c'},
    };
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    size_t received = 0;
    for (const Case& c : cases) {
        EmptyTheClipboard();
        ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_TEXT, 1, 0, c.payload)) << c.name;
        ASSERT_TRUE(WaitLog("Clipboard received text bytes=", ++received)) << c.name;
        const std::string block = ClipboardBytes(CF_UNICODETEXT);
        ASSERT_GE(block.size(), c.expected.size() * 2 + 2) << c.name;
        std::u16string text(reinterpret_cast<const char16_t*>(block.data()), block.size() / 2);
        const size_t nul = text.find(u'\0');
        ASSERT_NE(nul, std::u16string::npos) << c.name;
        EXPECT_EQ(text.substr(0, nul), c.expected) << c.name;
    }
    EXPECT_TRUE(WaitLog("Clipboard progress: Clipboard text received"));
}

TEST_F(ClipboardChannelTest, ReceivedDibIsPlacedAsCfDib) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = -2;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = 16;
    std::string dib(reinterpret_cast<const char*>(&info), sizeof info);
    dib += std::string("\x10\x20\x30\x00\x40\x50\x60\x00\x70\x80\x90\x00\xA0\xB0\xC0\x00", 16);
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_IMAGE, 2,
                     static_cast<uint32_t>(ClipboardImageFormat::Dib), dib));
    ASSERT_TRUE(WaitLog("[CLIP][IMAGE][RECV] type=CF_DIB bytes=56"));
    const std::string placed = ClipboardBytes(CF_DIB);
    ASSERT_GE(placed.size(), dib.size());
    EXPECT_EQ(placed.substr(0, dib.size()), dib);
}

TEST_F(ClipboardChannelTest, HttpBeginIsPublishedOnTheBusUnlessTooLarge) {
    std::mutex mutex;
    std::vector<std::string> published;
    CommandBus& bus = CommandBus::Instance();
    bus.Drain();
    const uint64_t sub = bus.Subscribe(kCommandFileHttpBegin, [&](const CommandMessage& m) {
        std::lock_guard<std::mutex> lock(mutex);
        published.push_back(m.name + "|" + m.PayloadText());
    });
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    const std::string begin =
        "mode=http_manifest\ntransferId=2600001\nmanifestUrl=http://127.0.0.1:1/manifest?id=2600001";
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_HTTP_BEGIN, 2600001, 0, std::string(65537, 'x')));
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_HTTP_BEGIN, 2600001, 0, begin));
    ASSERT_TRUE(WaitLog("HTTP file begin command received payload="));
    EXPECT_TRUE(InOrder(LogSince(), {"HTTP file begin dropped id=2600001 payload=65537 max=65536",
                                     "HTTP file begin command received payload="}));
    bus.Drain();
    bus.Unsubscribe(sub);
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(published.size(), 1u);
    EXPECT_EQ(published[0], "file.http.begin|" + begin);
}

TEST_F(ClipboardChannelTest, HostRefusesAPeerTheFilterRejectsAndKeepsListening) {
    std::atomic<bool> refuse{true};
    channel.SetPeerFilter([&refuse](const std::string& ip) { return !(refuse.load() && ip == kLoopback); });
    const uint16_t port = StartHost();
    UniqueSocket refused = ConnectLoopback(port);
    ASSERT_TRUE(refused.Valid());
    ClipboardMessage message;
    EXPECT_EQ(Receive(refused.Get(), message), Got::Closed) << "a refused peer gets no HELLO";
    EXPECT_TRUE(WaitLog("Clipboard host refused peer=127.0.0.1 gen="));
    EXPECT_FALSE(channel.IsConnected());
    refuse = false;
    EXPECT_TRUE(Connected(port).Valid()) << "the host still listens";
}

TEST_F(ClipboardChannelTest, OversizedHeaderEndsTheConnectionAndTheHostListensAgain) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(SendRaw(s.Get(), Type(ClipboardMessageType::CB_IMAGE), 3, 0, "", kClipboardMaxPayload + 1));
    ClipboardMessage message;
    EXPECT_EQ(Receive(s.Get(), message), Got::Closed);
    EXPECT_TRUE(WaitLog("Clipboard invalid header gen="));
    EXPECT_TRUE(LogSince().find("payload=16777217") != std::string::npos);
    EXPECT_TRUE(WaitLog("[CLIP][SOCKET][LISTEN] gen=", 2));
    EXPECT_TRUE(Connected(port).Valid());
}

TEST_F(ClipboardChannelTest, UnknownTypesAreLoggedAndTheLoopGoesOn) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(SendRaw(s.Get(), 0, 0, 0, "", 0));
    ASSERT_TRUE(SendRaw(s.Get(), 16, 0, 0, "abc", 3));
    ASSERT_TRUE(SendRaw(s.Get(), 0xFFFFFFFFu, 0, 0, "", 0));
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_HELLO, 0, 0, ""));
    ASSERT_TRUE(WaitLog("Clipboard HELLO received gen="));
    EXPECT_TRUE(InOrder(LogSince(), {"Clipboard unknown msg type=0", "Clipboard unknown msg type=16",
                                     "Clipboard unknown msg type=4294967295", "Clipboard HELLO received"}));
}

TEST_F(ClipboardChannelTest, WritersRefuseAPayloadOverTheLimit) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    const char small[1] = {0};
    EXPECT_FALSE(channel.SendMessage(Type(ClipboardMessageType::CB_IMAGE), 1, 0, 0, 0, small,
                                     kClipboardMaxPayload + 1));
    EXPECT_TRUE(WaitLog("Clipboard send refused type=3 bytes=16777217 max=16777216"));
    EXPECT_TRUE(channel.IsConnected()) << "nothing was written, so the stream is still in step";
    const std::string text = Utf16Bytes(u"ok") + std::string(2, '\0');
    ASSERT_TRUE(channel.SendMessage(Type(ClipboardMessageType::CB_TEXT), 5, text.size(), 0, 0, text.data(),
                                    static_cast<uint32_t>(text.size())));
    ClipboardMessage message;
    ASSERT_EQ(Receive(s.Get(), message), Got::Message);
    EXPECT_EQ(message.header.type, Type(ClipboardMessageType::CB_TEXT));
    EXPECT_EQ(std::string(message.payload.begin(), message.payload.end()), text);
}

// The file.* reports of a download on this PC reach the peer as CB_TRANSFER_STATUS.
TEST_F(ClipboardChannelTest, TransferReportsAreRelayedToThePeer) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    CommandBus& bus = CommandBus::Instance();
    CommandMessage cancel;
    cancel.type = kCommandFileCancel;
    cancel.name = "file.cancel";
    cancel.SetPayloadText("transferId=2600009\nreason=stopped\\nby user\n");
    bus.Publish(cancel);
    bus.Drain();
    ClipboardMessage message;
    ASSERT_EQ(Receive(s.Get(), message), Got::Message);
    EXPECT_EQ(message.header.type, Type(ClipboardMessageType::CB_TRANSFER_STATUS));
    EXPECT_EQ(message.header.id, 2600009u);
    EXPECT_EQ(message.header.c, static_cast<uint32_t>(TransferStatusFlags::Cancel));
    EXPECT_EQ(std::string(message.payload.begin(), message.payload.end()), "stopped\\nby user");
}

TEST_F(ClipboardChannelTest, PeerCloseDuringATransferFailsIt) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    FileTransferUi::Instance().Start(FileTransferPhase::Sending, 2600003, u"a.txt", 100);
    s.Reset();
    ASSERT_TRUE(WaitLog("Clipboard recv header break gen="));
    FileTransferSnapshot snapshot;
    ASSERT_TRUE(WaitTransferPhase(FileTransferPhase::Error, snapshot));
    EXPECT_EQ(snapshot.transferId, 2600003u);
    EXPECT_EQ(snapshot.message,
              TransferFailureText(u"对端断线，传输中断", ConfigService::Instance().IsUiLanguageEnglish()));
}

TEST_F(ClipboardChannelTest, ClearRequestEmptiesTheClipboard) {
    {
        ScopedClipboard clipboard(nullptr);
        ASSERT_TRUE(clipboard.IsOpen());
        ::EmptyClipboard();
        UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
        ASSERT_TRUE(::SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr);
        memory.Release();
    }
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_CLEAR_CLIPBOARD, 0, 0,
                     std::string(kClipboardClearRequestReason)));
    ASSERT_TRUE(WaitLog("[CLIP][CLEAR_RECV] ok=1 gle=0 reason=peer-local-clipboard-is-file-list"));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

// The cached offer follows what the peer sends: an offer is kept, the clear token and an offer without id
// clear it, and an oversized one is dropped without touching it.
TEST_F(ClipboardChannelTest, FileOffersAreCachedAndCleared) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    const std::string offer = "mode=http_manifest\ntransferId=2600005\nitemCount=3\nmanifestUrl=x";
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_FILE_OFFER, 2600005, 0, offer));
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_FILE_OFFER, 2600006, 0, std::string(65537, 'x')));
    ASSERT_TRUE(
        Send(s.Get(), ClipboardMessageType::CB_FILE_OFFER, 0, 0, std::string(kClipboardOfferClearToken)));
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_FILE_OFFER, 2600007, 0, offer));
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_FILE_OFFER, 0, 0, offer));
    ASSERT_TRUE(WaitLog("[CLIPFILE][REMOTE_OFFER] empty/invalid payload id=0"));
    EXPECT_TRUE(InOrder(
        LogSince(),
        {"[CLIPFILE][REMOTE_OFFER] cached id=2600005 count=3",
         "[CLIPFILE][REMOTE_OFFER] dropped id=2600006 payload=65537 max=65536",
         "[CLIPFILE][REMOTE_OFFER][CLEAR] oldId=2600005 oldCount=3 reason=peer Ctrl+C cleared stale file "
         "offer",
         "[CLIPFILE][REMOTE_OFFER] cached id=2600007 count=3",
         "[CLIPFILE][REMOTE_OFFER][CLEAR] oldId=2600007 oldCount=3 reason=peer sent empty file offer"}));
}

// The peer's reports of a transfer this PC serves end it in the progress model with the peer's text (as the
// model words it for the user). A completed transfer leaves the model at once, so its end is read from the
// model's log line.
TEST_F(ClipboardChannelTest, TransferStatusEndsTheTransferInTheModel) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    const bool english = ConfigService::Instance().IsUiLanguageEnglish();

    FileTransferUi::Instance().Start(FileTransferPhase::Sending, 2600011, u"a.txt", 100);
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_TRANSFER_STATUS, 2600011,
                     static_cast<uint32_t>(TransferStatusFlags::Done), "downloadDir=C:\\\\in"));
    ASSERT_TRUE(WaitLog("[TRANSFER][COMPLETE] id=2600011 text="));
    const std::string shown = english ? "Remote downloaded to: C:\\in" : "远端已下载到：C:\\in";
    EXPECT_TRUE(LogSince().find("Clipboard transfer ack received id=2600011 text=" + shown + " flags=2") !=
                std::string::npos)
        << LogSince();

    struct Case {
        const char* name;
        uint64_t id;
        TransferStatusFlags flags;
        std::string payload;
        FileTransferPhase phase;
        std::u16string reason;
    } cases[] = {
        {"error", 2600012, TransferStatusFlags::Error, "peer says no", FileTransferPhase::Error,
         u"peer says no"},
        {"error without text", 2600013, TransferStatusFlags::Error, "", FileTransferPhase::Error,
         u"HTTP file transfer failed"},
        {"cancel", 2600014, TransferStatusFlags::Cancel, "", FileTransferPhase::Canceled, u"远端取消传输"},
    };
    for (const Case& c : cases) {
        FileTransferUi::Instance().Start(FileTransferPhase::Sending, c.id, u"a.txt", 100);
        ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_TRANSFER_STATUS, c.id,
                         static_cast<uint32_t>(c.flags), c.payload))
            << c.name;
        FileTransferSnapshot snapshot;
        EXPECT_TRUE(WaitTransferPhase(c.phase, snapshot)) << c.name;
        EXPECT_EQ(snapshot.transferId, c.id) << c.name;
        EXPECT_EQ(snapshot.message, TransferFailureText(c.reason, english)) << c.name;
    }
    EXPECT_TRUE(channel.IsConnected()) << "reports never end the connection";
}

TEST_F(ClipboardChannelTest, PeerCancelEndsTheTransferAndTheConnection) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    FileTransferUi::Instance().Start(FileTransferPhase::Sending, 2600020, u"a.txt", 100);
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_CANCEL, 2600020, 0, ""));
    ClipboardMessage message;
    EXPECT_EQ(Receive(s.Get(), message), Got::Closed);
    EXPECT_TRUE(WaitLog("Clipboard transfer canceled by peer id=2600020"));
    FileTransferSnapshot snapshot;
    FileTransferUi::Instance().Snapshot(snapshot);
    EXPECT_EQ(snapshot.phase, FileTransferPhase::Canceled);
    EXPECT_EQ(snapshot.message,
              TransferFailureText(u"远端取消传输", ConfigService::Instance().IsUiLanguageEnglish()));
    EXPECT_TRUE(WaitLog("[CLIP][SOCKET][LISTEN] gen=", 2)) << "the host waits for the peer again";
}

// The user's cancel takes effect at the next message of that transfer: the peer is told and the connection
// ends, so the peer's download stops.
TEST_F(ClipboardChannelTest, UserCancelIsSentAfterTheNextMessageOfTheTransfer) {
    const uint16_t port = StartHost();
    UniqueSocket s = Connected(port);
    ASSERT_TRUE(s.Valid());
    FileTransferUi::Instance().Start(FileTransferPhase::Sending, 2600030, u"a.txt", 100);
    ASSERT_TRUE(FileTransferUi::Instance().PressCancelButton());
    ASSERT_TRUE(Send(s.Get(), ClipboardMessageType::CB_TRANSFER_STATUS, 2600030,
                     static_cast<uint32_t>(TransferStatusFlags::Progress), "currentPath=a.txt\n"));
    ClipboardMessage message;
    ASSERT_EQ(Receive(s.Get(), message), Got::Message);
    EXPECT_EQ(message.header.type, Type(ClipboardMessageType::CB_CANCEL));
    EXPECT_EQ(message.header.id, 2600030u);
    EXPECT_EQ(Receive(s.Get(), message), Got::Closed);
    FileTransferSnapshot snapshot;
    FileTransferUi::Instance().Snapshot(snapshot);
    EXPECT_EQ(snapshot.phase, FileTransferPhase::Canceled);
    EXPECT_EQ(snapshot.message,
              TransferFailureText(u"用户取消传输", ConfigService::Instance().IsUiLanguageEnglish()));
}

TEST_F(ClipboardChannelTest, StopWhileListeningClosesTheListenerAndEndsTheThread) {
    const uint16_t port = StartHost();
    channel.Stop();
    EXPECT_TRUE(WaitLog("[CLIP][GEN][STALE_EXIT] role=host"));
    EXPECT_TRUE(WaitLog("reason=thread-exit"));
    EXPECT_FALSE(channel.IsRunning());
    EXPECT_FALSE(ConnectLoopback(port).Valid()) << "nobody listens on the port any more";
}

// A test host whose accept queue is full: the channel's connect stays pending until Stop.
TEST_F(ClipboardChannelTest, StopDuringAConnectEndsTheClientThread) {
    SilentListener silent;
    const uint16_t port = silent.Port();
    ASSERT_NE(port, 0);
    ASSERT_TRUE(channel.StartClient(kLoopback, port));
    ASSERT_TRUE(WaitLog("[CLIP][CONNECT] begin gen="));
    channel.Stop();
    EXPECT_TRUE(WaitLog("[CLIP][GEN][STALE_EXIT] role=client gen="));
    EXPECT_TRUE(WaitLog("reason=thread-exit"));
    EXPECT_TRUE(InOrder(LogSince(), {"reason=connect-ownership-lost", "reason=thread-exit"}))
        << "the connect itself was cut short, not a connection after it";
    EXPECT_FALSE(channel.IsConnected());
}

// The client says HELLO on every connection; a host that closes without a word is not asked again at once.
TEST_F(ClipboardChannelTest, ClientSaysHelloAndPausesBeforeRetryingAHostThatSaidNothing) {
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const uint16_t port = ListenLoopback(listener.Get(), 4);
    ASSERT_NE(port, 0);
    ASSERT_TRUE(channel.StartClient(kLoopback, port));
    UniqueSocket first = AcceptWithin(listener.Get(), 5000);
    ASSERT_TRUE(first.Valid());
    ClipboardMessage hello;
    ASSERT_EQ(Receive(first.Get(), hello), Got::Message);
    EXPECT_EQ(hello.header.type, Type(ClipboardMessageType::CB_HELLO));
    EXPECT_EQ(channel.PeerAddress(), kLoopback);
    first.Reset();
    const DWORD closed = GetTickCount();
    UniqueSocket second = AcceptWithin(listener.Get(), 5000);
    ASSERT_TRUE(second.Valid());
    EXPECT_GE(GetTickCount() - closed, 400u) << "reconnected without a pause";
    ASSERT_EQ(Receive(second.Get(), hello), Got::Message);
    EXPECT_EQ(hello.header.type, Type(ClipboardMessageType::CB_HELLO));
    ASSERT_TRUE(Send(second.Get(), ClipboardMessageType::CB_HELLO, 0, 0, ""));
    EXPECT_TRUE(WaitLog("Clipboard HELLO received gen="));
}

TEST_F(ClipboardChannelTest, ClientRefusesAHostName) {
    ASSERT_TRUE(channel.StartClient("peer.example", 5002));
    EXPECT_TRUE(WaitLog("Clipboard invalid peer IP: peer.example"));
    Sleep(300); // a client that went on would try to connect at once
    EXPECT_EQ(CountOf(LogSince(), "[CLIP][CONNECT] begin"), 0u);
}

} // namespace
