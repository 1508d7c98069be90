#include "imaging/heif_colour.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <optional>

#include "imaging/heif_handles.h"

namespace galmora::imaging {

namespace {

struct Chromaticities {
    QPointF white, red, green, blue;
};

constexpr QPointF kD65(0.3127, 0.3290);
constexpr QPointF kIlluminantC(0.310, 0.316);

// The primaries of H.273 that Qt has no name for.
std::optional<Chromaticities> unnamed_primaries(int code) {
    switch (code) {
        case heif_color_primaries_ITU_R_BT_470_6_System_M:
            return Chromaticities{kIlluminantC, {0.67, 0.33}, {0.21, 0.71}, {0.14, 0.08}};
        case heif_color_primaries_ITU_R_BT_470_6_System_B_G:
            return Chromaticities{kD65, {0.64, 0.33}, {0.29, 0.60}, {0.15, 0.06}};
        case heif_color_primaries_ITU_R_BT_601_6:
        case heif_color_primaries_SMPTE_240M:
            return Chromaticities{kD65, {0.630, 0.340}, {0.310, 0.595}, {0.155, 0.070}};
        case heif_color_primaries_generic_film:
            return Chromaticities{kIlluminantC, {0.681, 0.319}, {0.243, 0.692}, {0.145, 0.049}};
        case heif_color_primaries_ITU_R_BT_2020_2_and_2100_0:
            return Chromaticities{kD65, {0.708, 0.292}, {0.170, 0.797}, {0.131, 0.046}};
        case heif_color_primaries_SMPTE_RP_431_2:  // DCI-P3, the cinema's white
            return Chromaticities{{0.314, 0.351}, {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}};
        case heif_color_primaries_EBU_Tech_3213_E:
            return Chromaticities{kD65, {0.630, 0.340}, {0.295, 0.605}, {0.155, 0.077}};
        default:
            return std::nullopt;
    }
}

// BT.709's (1) and unspecified (2) primaries are sRGB's, which the space
// starts with.
void set_primaries(QColorSpace& space, int code) {
    if (code == heif_color_primaries_SMPTE_EG_432_1) {  // Display P3
        space.setPrimaries(QColorSpace::Primaries::DciP3D65);
    } else if (const std::optional<Chromaticities> p = unnamed_primaries(code)) {
        space.setPrimaries(p->white, p->red, p->green, p->blue);
    }
}

// SMPTE ST 2084: the code's light relative to the reference white.
double pq_light(double code) {
    constexpr double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128;
    constexpr double c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32, c3 = 2392.0 / 4096 * 32;
    constexpr double kPeak = 10000, kReferenceWhite = 203;
    const double p = std::pow(code, 1 / m2);
    return kPeak * std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1 / m1) / kReferenceWhite;
}

double hlg_scene_light(double code) {
    constexpr double a = 0.17883277, b = 0.28466892, c = 0.55991073;
    return code <= 0.5 ? code * code / 3 : (std::exp((code - c) / a) + b) / 12;
}

// ARIB STD-B67 (HLG): the code's scene light relative to the 75 % code's.
double hlg_light(double code) {
    return hlg_scene_light(code) / hlg_scene_light(0.75);
}

double rolled_off(double light) {
    constexpr double kKnee = 0.75;
    if (light <= kKnee) return light;
    return kKnee + (1 - kKnee) * (1 - std::exp(-(light - kKnee) / (1 - kKnee)));
}

QList<uint16_t> hdr_table(double (*light)(double code)) {
    constexpr int kEntries = 1024;
    QList<uint16_t> table(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        const double linear = rolled_off(light(double(i) / (kEntries - 1)));
        table[i] = static_cast<uint16_t>(std::lround(65535 * std::clamp(linear, 0.0, 1.0)));
    }
    return table;
}

// Every other curve (BT.709's, BT.601's, unspecified) as sRGB's, which the
// space starts with.
void set_transfer(QColorSpace& space, int code) {
    using Transfer = QColorSpace::TransferFunction;
    switch (code) {
        case heif_transfer_characteristic_linear:
            return space.setTransferFunction(Transfer::Linear);
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
            return space.setTransferFunction(Transfer::Gamma, 2.2f);
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
            return space.setTransferFunction(Transfer::Gamma, 2.8f);
        case heif_transfer_characteristic_ITU_R_BT_2100_0_PQ:
            return space.setTransferFunction(hdr_table(pq_light));
        case heif_transfer_characteristic_ITU_R_BT_2100_0_HLG:
            return space.setTransferFunction(hdr_table(hlg_light));
        default:
            return;
    }
}

QColorSpace icc_colour_space(const heif_image_handle* handle) {
    QByteArray icc(static_cast<qsizetype>(heif_image_handle_get_raw_color_profile_size(handle)),
                   Qt::Uninitialized);
    if (icc.isEmpty() || !heif_ok(heif_image_handle_get_raw_color_profile(handle, icc.data())))
        return {};
    return QColorSpace::fromIccProfile(icc);
}

}  // namespace

QColorSpace nclx_colour_space(const heif_color_profile_nclx& nclx) {
    QColorSpace space(QColorSpace::SRgb);
    set_primaries(space, nclx.color_primaries);
    set_transfer(space, nclx.transfer_characteristics);
    return space.isValid() ? space : QColorSpace(QColorSpace::SRgb);
}

QColorSpace heif_colour_space(const heif_image_handle* handle) {
    if (QColorSpace icc = icc_colour_space(handle); icc.isValid()) return icc;
    heif_color_profile_nclx* nclx = nullptr;
    if (!heif_ok(heif_image_handle_get_nclx_color_profile(handle, &nclx)) || !nclx)
        return QColorSpace::SRgb;
    const HeifNclxPtr owned(nclx);
    return nclx_colour_space(*owned);
}

}  // namespace galmora::imaging
