#pragma once

#include <mftransform.h>

#include <string>

// The short name a fake transform records for a ProcessMessage call ("Message FLUSH").
inline std::string TransformMessageName(MFT_MESSAGE_TYPE message) {
    switch (message) {
    case MFT_MESSAGE_COMMAND_FLUSH:
        return "FLUSH";
    case MFT_MESSAGE_COMMAND_DRAIN:
        return "DRAIN";
    case MFT_MESSAGE_NOTIFY_BEGIN_STREAMING:
        return "BEGIN_STREAMING";
    case MFT_MESSAGE_NOTIFY_END_STREAMING:
        return "END_STREAMING";
    case MFT_MESSAGE_NOTIFY_START_OF_STREAM:
        return "START_OF_STREAM";
    case MFT_MESSAGE_NOTIFY_END_OF_STREAM:
        return "END_OF_STREAM";
    default:
        return "OTHER";
    }
}
