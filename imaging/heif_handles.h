#pragma once
// Owners of libheif's handles, so that every way out of a function frees
// them, and the one way to a fresh context, which starts the library first.

#include <libheif/heif.h>

#include <memory>

namespace galmora::imaging {

template <auto Free>
struct HeifRelease {
    template <typename T>
    void operator()(T* handle) const {
        Free(handle);
    }
};

using HeifContextPtr = std::unique_ptr<heif_context, HeifRelease<heif_context_free>>;
using HeifHandlePtr = std::unique_ptr<heif_image_handle, HeifRelease<heif_image_handle_release>>;
using HeifImagePtr = std::unique_ptr<heif_image, HeifRelease<heif_image_release>>;
using HeifNclxPtr =
    std::unique_ptr<heif_color_profile_nclx, HeifRelease<heif_nclx_color_profile_free>>;
using HeifDecodingOptionsPtr =
    std::unique_ptr<heif_decoding_options, HeifRelease<heif_decoding_options_free>>;
using HeifEncodingOptionsPtr =
    std::unique_ptr<heif_encoding_options, HeifRelease<heif_encoding_options_free>>;
using HeifEncoderPtr = std::unique_ptr<heif_encoder, HeifRelease<heif_encoder_release>>;

inline bool heif_ok(heif_error error) {
    return error.code == heif_error_Ok;
}

// libheif registers its codecs and colour conversions when it starts. It is
// started once for the process and never stopped, before the first context,
// so that threads decoding at once never race to that registration.
inline HeifContextPtr new_heif_context() {
    static const bool started = heif_ok(heif_init(nullptr));
    (void)started;
    return HeifContextPtr(heif_context_alloc());
}

}  // namespace galmora::imaging
