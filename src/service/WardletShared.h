#pragma once

#include <cstddef>
#include <cstdint>

// What Tessaly and Wardlet share: nothing passes between the two programs except the named kernel objects
// below, the frame mapping's layout and Wardlet's exit codes. Both programs include this one header.

// Kernel-object names. The frame mapping and its ready event belong to the capture worker (Winlogon mode);
// the four events belong to the service and live while it runs.
inline constexpr char16_t kSecureFrameMappingName[] = u"Global\\MarloSecureDesktopFrameV2";
inline constexpr char16_t kSecureFrameReadyEventName[] = u"Global\\MarloSecureDesktopFrameReadyV2";
inline constexpr char16_t kRequestUserHostEventName[] = u"Global\\MarloRequestUserHost";
inline constexpr char16_t kUserHostReadyEventName[] = u"Global\\MarloUserHostReady";
inline constexpr char16_t kUserHostExitRequestedEventName[] = u"Global\\MarloUserHostExitRequested";
inline constexpr char16_t kSecureCaptureRequestEventName[] = u"Global\\MarloSecureDesktopCaptureRequestV1";

// Security of the objects. The frames show logon and elevation screens, and every intended reader is elevated
// or SYSTEM, so interactive users get no access to the mapping and its ready event. Interactive users may set
// the service's events (a program in the user's session signals them); UserHostReady also gives them
// SYNCHRONIZE (GX), since a normal, not yet elevated start waits on it.
inline constexpr char16_t kSecureFrameSddl[] = u"D:(A;;GA;;;SY)(A;;GA;;;BA)";
inline constexpr char16_t kUserSignalableEventSddl[] = u"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GRGW;;;IU)";
inline constexpr char16_t kUserHostReadyEventSddl[] = u"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GRGWGX;;;IU)";

// The frame mapping: a 128-byte header, then two 64 MiB buffers of packed top-down BGRA rows. The writer
// always fills the buffer that is not published, then exchanges the published index; readers copy a buffer
// and re-read the index and the sequence to detect a copy torn by two publishes in a row.
inline constexpr uint32_t kSecureFrameMagic = 0x32464453; // "SDF2"
inline constexpr uint32_t kSecureFrameVersion = 2;
inline constexpr uint32_t kSecureFrameHeaderSize = 128;
inline constexpr uint32_t kSecureFrameCapacity = 0x4000000;
inline constexpr uint32_t kSecureFrameNoIndex = 0xFFFFFFFF;
inline constexpr uint32_t kSecureFramePixelFormatBgra = 2;
inline constexpr uint64_t kSecureFrameMappingSize = 0x8000080;
inline constexpr uint64_t kSecureFrameBufferOffset[2] = {
    kSecureFrameHeaderSize, kSecureFrameHeaderSize + uint64_t{kSecureFrameCapacity}};

struct SecureFrameDescriptor {
    uint32_t width;
    uint32_t height;
    uint32_t stride; // the writer stores width * 4
    uint32_t size;   // width * height * 4, at most kSecureFrameCapacity
    uint32_t pixelFormat;
    uint32_t processId;
    uint32_t sessionId;
    uint32_t reserved;
    uint64_t publishTick; // GetTickCount64 of the writer
    uint64_t sequence;    // 1 for the first frame after the mapping was made
};

struct SecureFrameHeader {
    uint32_t magic;
    uint32_t version;
    uint32_t headerSize;
    uint32_t publishedIndex; // the only field written atomically
    uint32_t capacity;
    uint32_t reserved[3];
    SecureFrameDescriptor descriptors[2];
};

static_assert(sizeof(SecureFrameDescriptor) == 48);
static_assert(offsetof(SecureFrameDescriptor, stride) == 8);
static_assert(offsetof(SecureFrameDescriptor, pixelFormat) == 16);
static_assert(offsetof(SecureFrameDescriptor, sessionId) == 24);
static_assert(offsetof(SecureFrameDescriptor, publishTick) == 32);
static_assert(offsetof(SecureFrameDescriptor, sequence) == 40);
static_assert(sizeof(SecureFrameHeader) == kSecureFrameHeaderSize);
static_assert(offsetof(SecureFrameHeader, publishedIndex) == 12);
static_assert(offsetof(SecureFrameHeader, capacity) == 16);
static_assert(offsetof(SecureFrameHeader, descriptors) == 32);
static_assert(kSecureFrameBufferOffset[1] + kSecureFrameCapacity == kSecureFrameMappingSize);

// Wardlet's process exit codes besides 0 and Win32 error numbers.
inline constexpr uint32_t kWardletExitUsage = 2;
inline constexpr uint32_t kWardletExitNotElevated = 5;
inline constexpr uint32_t kWardletExitBadStopHandle = 6;
// A capture worker whose desktop is not the input desktop: it found the Winlogon desktop active (while it ran
// on Default), or the Default desktop (while it ran on Winlogon).
inline constexpr uint32_t kWardletExitWinlogonActive = 0xDDE50001;
inline constexpr uint32_t kWardletExitDefaultActive = 0xDDE50002;

// Version texts in Wardlet's log lines.
inline constexpr char kWardletProbeVersion[] = "6.23-TrayContinuousVideoLogCap";
inline constexpr char kWardletExpectedHostVersion[] = "v20260725.7_TrayContinuousVideoLogCap";
