#pragma once

#include <windows.h>
#include <mftransform.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// One decoded picture as the decoder hands it out: tightly packed NV12 of exactly
// Nv12PictureBytes(width, height) bytes. got says whether the call produced a picture at all.
struct H264DecodedPicture {
    std::vector<uint8_t> bytes;
    int32_t width = 0;
    int32_t height = 0;
    GUID subtype = GUID_NULL;
    bool got = false;
};

// Turns the controller's received H.264 frames (Annex B, one frame per call) into NV12 pictures through a
// Media Foundation decoder transform, set up for low latency with NV12 output only. Every call drains all
// pictures the transform has ready and hands out only the newest, so a burst costs one hand-off.
//
// Owned and used by one thread (the client session's); COM and Media Foundation must be started on it. A
// failure is logged and reported as false or 0; the object stays usable, and the caller decides when to
// Release and Init again.
class H264DecoderMF {
public:
    // Makes the decoder transform, logging what it tried; false when there is none. The default is
    // FindSystemDecoder; tests hand in their own.
    using TransformFactory = std::function<bool(Microsoft::WRL::ComPtr<IMFTransform>& transform)>;

    H264DecoderMF();
    explicit H264DecoderMF(TransformFactory factory);
    ~H264DecoderMF();
    H264DecoderMF(const H264DecoderMF&) = delete;
    H264DecoderMF& operator=(const H264DecoderMF&) = delete;

    // Releases any transform, makes a new one and configures it for H.264 in, NV12 out. The hints (the
    // stream size; 0 when unknown) go into the media types until the transform reports its frame size.
    // False leaves no transform behind.
    bool Init(int32_t widthHint, int32_t heightHint);

    // Decodes one encoded frame. false on failure; picture.got says whether a picture came out (the newest
    // one of this call, which may come with a failure when a drain before the failed step produced it).
    bool Decode(const uint8_t* data, size_t size, H264DecodedPicture& picture);

    // Takes every picture the transform has ready and hands out the newest: 1 on success (with or without a
    // picture), 0 on failure.
    int DrainOutput(H264DecodedPicture& picture);

    // Ends the stream, flushes and releases the transform; safe to call without one.
    void Release();

    bool HasTransform() const { return static_cast<bool>(m_transform); }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    const GUID& OutputSubtype() const { return m_outputSubtype; }

    // An asynchronous transform (MF_TRANSFORM_ASYNC set): it must be unlocked and driven by its events,
    // which this decoder does not do, so every call would fail.
    static bool IsAsyncTransform(IMFTransform* transform);
    // One MFTEnumEx search for an H.264 video decoder with the given flags; activates the first match and
    // refuses it when it is asynchronous (hardware decoders usually are), so the search goes on.
    static bool TryEnumDecoder(uint32_t flags, const char* label, Microsoft::WRL::ComPtr<IMFTransform>& out);
    // Hardware first, then software/local, then any; failing all, lists the decoders for the log and creates
    // the system decoder by class id.
    static bool FindSystemDecoder(Microsoft::WRL::ComPtr<IMFTransform>& out);

private:
    bool Configure();
    bool SetInputType();
    bool SetInitialOutputType();
    bool SelectStreamChangeOutputType();
    bool TakePicture(IMFSample* sample);
    void DropTransform();

    TransformFactory m_factory;
    Microsoft::WRL::ComPtr<IMFTransform> m_transform;
    DWORD m_inputStreamId = 0;
    DWORD m_outputStreamId = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    GUID m_outputSubtype = GUID_NULL;
    // The newest picture of the drain in progress; its storage is swapped with the caller's to avoid a new
    // allocation per frame.
    std::vector<uint8_t> m_newest;
    int32_t m_newestWidth = 0;
    int32_t m_newestHeight = 0;
    GUID m_newestSubtype = GUID_NULL;
};
