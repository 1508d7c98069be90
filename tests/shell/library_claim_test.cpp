#include "shell/library_claim.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_desktop.h"

namespace galmora {
namespace {

using Outcome = FolderLock::Outcome;

TEST(ClaimLibrary, OnlyAHeldLibraryAsksTheHolderAndANoticeOnlyWhenItIsSilent) {
    struct Case {
        Outcome lock;
        bool holder_answers;
        LibraryClaim claim;
        bool asked;
        bool notice;
    };
    const Case cases[] = {
        {Outcome::Taken, true, LibraryClaim::Open, false, false},
        {Outcome::NotAvailable, true, LibraryClaim::Open, false, false},
        {Outcome::HeldByAnother, true, LibraryClaim::RaisedTheOther, true, false},
        {Outcome::HeldByAnother, false, LibraryClaim::Refused, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.lock) * 2 + c.holder_answers);
        testing::ScriptedDesktop desktop;
        bool asked = false;
        const auto ask = [&] {
            asked = true;
            return c.holder_answers;
        };
        EXPECT_EQ(claim_library(c.lock, ask, desktop), c.claim);
        EXPECT_EQ(asked, c.asked);
        ASSERT_EQ(desktop.message_boxes.size(), c.notice ? 1u : 0u);
        if (!c.notice) continue;
        EXPECT_TRUE(desktop.message_boxes[0].is_notice());
        EXPECT_EQ(desktop.message_boxes[0].message, library_in_use_notice());
    }
}

}  // namespace
}  // namespace galmora
