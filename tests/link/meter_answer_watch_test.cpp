// The watch for a node's DL/T 645 answer beside the meter rounds: which frames in received bytes
// it keeps.

#include <gtest/gtest.h>

#include "link/meter_answer_watch.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

const char* const kAnswer = "68 01 00 00 00 00 00 68 B8 01 34 BE 16";  // from 000000000001
const char* const kOther = "68 02 00 00 00 00 00 68 B8 01 34 BF 16";   // from 000000000002

TEST(MeterAnswerWatch, KeepsTheLastWholeAnswerFromItsAddressUntilTaken) {
    const struct {
        const char* name;
        std::string bytes;
        const char* kept;
    } cases[] = {
        {"alone", kAnswer, kAnswer},
        {"between other bytes", std::string("FE FE 79 00 ") + kOther + " " + kAnswer + " 00", kAnswer},
        {"another address", kOther, ""},
        {"wrong sum", "68 01 00 00 00 00 00 68 B8 01 34 BD 16", ""},
        {"no end byte", "68 01 00 00 00 00 00 68 B8 01 34 BE 17", ""},
        {"cut short", "68 01 00 00 00 00 00 68 B8 01 34 D7", ""},
        {"the last of two", std::string(kAnswer) + " 68 01 00 00 00 00 00 68 B8 00 89 16",
         "68 01 00 00 00 00 00 68 B8 00 89 16"},
    };
    MeterAnswerWatch watch;
    for (const auto& c : cases) {
        watch.Watch(true, Hex("01 00 00 00 00 00"));
        watch.Offer(Hex(c.bytes));
        EXPECT_EQ(watch.Take(), Hex(c.kept)) << c.name;
        EXPECT_EQ(watch.Take(), ByteString()) << c.name;
    }
    // Watching anew or stopping forgets what was kept; stopped, nothing is kept.
    watch.Offer(Hex(kAnswer));
    watch.Watch(true, Hex("01 00 00 00 00 00"));
    EXPECT_EQ(watch.Take(), ByteString());
    watch.Watch(false, ByteString());
    watch.Offer(Hex(kAnswer));
    EXPECT_EQ(watch.Take(), ByteString());
}

}  // namespace
