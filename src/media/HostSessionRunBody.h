#pragma once

#include <memory>

#include "media/HostPipelinePorts.h"
#include "media/SessionRunBody.h"

// What the host's run body takes from the platform: the Windows objects behind the pipeline's ports.
class IHostPlatform {
public:
    virtual ~IHostPlatform() = default;
    virtual IHostClock& Clock() = 0;
    virtual IHostPipelineFactory& Factory() = 0;
    // One per session thread.
    virtual std::unique_ptr<IHostVideoSender> CreateVideoSender() = 0;
    virtual std::unique_ptr<IHostSecureDesktop> CreateSecureDesktop() = 0;
    virtual std::unique_ptr<IHostDisplayProbe> CreateDisplayProbe() = 0;
    // Logs "%s desktop DPI=%dx%d scale=%.3f virtual_screen=%d,%d %dx%d" for "Host".
    virtual void LogDesktopMetrics() = 0;
};

// The controlled side's run body: a HostPipeline over the platform's objects and the session's services,
// runtime state and settings. Install with Session::SetRunBody; it must live to the end of the process.
class HostSessionRunBody final : public ISessionRunBody {
public:
    explicit HostSessionRunBody(IHostPlatform& platform) : m_platform(platform) {}
    SessionRunEnd Run(const SessionThreadArg& arg) override;

private:
    IHostPlatform& m_platform;
};
