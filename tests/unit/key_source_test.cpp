#include <gtest/gtest.h>

#include "app/keys/key_source.h"

namespace morvane::keys {
namespace {

TEST(KeySource, XInput2OnlyOnXInAnXSessionUnlessThePortalIsChosen)
{
    const struct {
        const char *platform, *session;
        bool portal_chosen;
        KeySource source;
    } cases[] = {
        {"xcb", "x11", false, KeySource::XInput2}, {"xcb", "", false, KeySource::XInput2},
        {"xcb", "wayland", false, KeySource::Portal},  // XWayland sees only X programs' keys
        {"wayland", "wayland", false, KeySource::Portal}, {"xcb", "x11", true, KeySource::Portal},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseKeySource(c.platform, c.session, c.portal_chosen), c.source) << c.platform << " " << c.session;
}

} // namespace
} // namespace morvane::keys
