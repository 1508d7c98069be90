#pragma once
// Update settings aimed at servers the test itself runs on 127.0.0.1, with
// short limits, so that a silent server costs a test half a second.

#include <chrono>

#include "tests/update/local_http_server.h"
#include "update/update_checker.h"

namespace galmora::testing {

inline UpdateSettings local_update_settings(const LocalHttpServer& maker,
                                            const LocalHttpServer& probe, bool online = true) {
    using namespace std::chrono_literals;
    UpdateSettings settings;
    settings.server = maker.url("/");
    settings.network.probe_url = probe.url();
    settings.network.system_online = [online] { return online; };
    settings.network.limits = {500ms, 1000ms, kMaxBodyBytes};
    return settings;
}

}  // namespace galmora::testing
