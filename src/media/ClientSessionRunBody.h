#pragma once

#include <functional>
#include <memory>
#include <string>

#include "media/ClientPipelinePorts.h"
#include "media/SessionRunBody.h"

// What the controller's run body takes from the platform: the Windows objects behind the pipeline's ports.
class IClientPlatform {
public:
    virtual ~IClientPlatform() = default;
    virtual IClientClock& Clock() = 0;
    virtual IClientDecoderFactory& Decoders() = 0;
    virtual IClientRenderer& Renderer() = 0;
    // One per session thread. accept decides from the dotted IPv4 address of a new connection whether it
    // may feed the stream.
    virtual std::unique_ptr<IClientVideoReceiver>
    CreateVideoReceiver(std::function<bool(const std::string& ip)> accept) = 0;
};

// The controller's run body: a ClientPipeline over the platform's objects and the session's services,
// runtime state and settings. Only the active peer inside the cable's network may feed the stream. Install
// with ClientSession::Instance().SetRunBody; it must live to the end of the process.
class ClientSessionRunBody final : public ISessionRunBody {
public:
    explicit ClientSessionRunBody(IClientPlatform& platform) : m_platform(platform) {}
    SessionRunEnd Run(const SessionThreadArg& arg) override;

private:
    IClientPlatform& m_platform;
};
