#include "ringing/CallingPositions.h"
#include "ringing/RowText.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchLeads.h"
#include "ringing/TouchProof.h"
#include "ringing/TouchStepper.h"
#include "tests/ringing/ReferenceRinging.h"
#include "tests/ringing/TouchRequests.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

TouchBuild ByPositions(const char* title, const std::string& calling, std::int64_t parts = 1, int observation = 0)
{
    TouchRequest request = MethodRequest(FindBuiltInMethod(title));
    request.positions = calling;
    request.parts = parts;
    request.observation = observation;
    return BuildTouch(request);
}

std::vector<std::string> StepperRows(const Touch& touch)
{
    TouchStepper stepper(touch);
    Row row = HomeRow();
    std::vector<std::string> rows{RowText(row, touch.method.stage)};
    while (rows.size() <= 100000 && !stepper.Step(row))
        rows.push_back(RowText(row, touch.method.stage));
    rows.push_back(RowText(row, touch.method.stage));
    return rows;
}

std::vector<std::string> ReferenceRows(const Touch& touch, const std::string& calling, int parts)
{
    return reference::PositionTouchRows(touch.method.notation, touch.method.stage, touch.bob.notation,
                                        touch.single.notation, calling, parts,
                                        kBellSymbols[static_cast<std::size_t>(touch.observation - 1)]);
}

TEST(CallingPositions, WordsAreReadWithTheirCase)
{
    const CallingPositions read = ReadCallingPositions("  sM W\t3H -S sS 12B ");
    ASSERT_EQ(read.fault, "");
    ASSERT_EQ(read.calls.size(), 6u);
    const std::string expected[] = {"s1M", "b1W", "b3H", "b1S", "s1S", "b12B"};
    for (std::size_t k = 0; k < 6; ++k) {
        const PositionCall& call = read.calls[k];
        EXPECT_EQ(call.call + std::to_string(call.courses) + call.position, expected[k]);
        EXPECT_EQ(call.word, k + 1);
    }
    EXPECT_TRUE(ReadCallingPositions("").calls.empty());

    struct Case {
        std::string text;
        std::string fault;
    };
    const std::string letters = "; positions are H W M I B O T F V X S E N, in capitals";
    for (const Case& c : {
             Case{"W h", "calling word 2, 'h': unknown position 'h'" + letters},
             Case{"0H", "calling word 1, '0H': a count of 0"},
             Case{"1000001H", "calling word 1, '1000001H': a count above 1000000"},
             Case{"W s", "calling word 2, 's': no position letter (H W M I B O T F V X S E N)"},
             Case{"WH", "calling word 1, 'WH': one position a word, as in W, sH or 3M"},
             Case{"ss", "calling word 1, 'ss': unknown position 's'" + letters},
             Case{"H " + std::string(3 << 20, 'Q'),
                  "calling word 2, '" + std::string(37, 'Q') + "...': unknown position 'Q'" + letters},
         }) {
        const CallingPositions refused = ReadCallingPositions(c.text);
        EXPECT_EQ(refused.fault, c.fault);
        EXPECT_TRUE(refused.calls.empty());
    }
    EXPECT_EQ(CallName('b', 11, 16, false), "(11)") << "a place no letter names";
}

// Touches whose length and truth ringers know: three calls at Home bring
// the three bells behind the treble round in three courses.
TEST(CallingPositions, KnownTouchesRingAsTheReferenceDoes)
{
    struct Case {
        const char* title;
        const char* calling;
        int parts;
        std::int64_t changes;
        std::int64_t repeats;
    };
    for (const Case& c : {
             Case{"Plain Bob Major", "3H", 1, 336, 0},
             Case{"Plain Bob Major", "H", 3, 336, 0},
             Case{"Cambridge Surprise Major", "H H H", 1, 672, 0},
             Case{"Yorkshire Surprise Major", "3H", 1, 672, 0},
             Case{"Plain Bob Minor", "3H", 1, 180, 0},
             Case{"Plain Bob Minor", "H sH", 2, 240, 0},
             Case{"Grandsire Triples", "3H", 1, 168, 0},
             Case{"Cambridge Surprise Major", "", 1, 224, 0},
             Case{"Cambridge Surprise Major", "W H H", 3, 1344, 12},
             Case{"London Surprise Major", "3H", 1, 672, 0},
         }) {
        SCOPED_TRACE(testing::Message() << c.title << ": " << c.calling << " x" << c.parts);
        const TouchBuild build = ByPositions(c.title, c.calling, c.parts);
        ASSERT_EQ(build.fault, "");
        EXPECT_EQ(build.warning, "");
        const TouchProof proof = ProveTouch(build.touch);
        EXPECT_EQ(proof.changes, c.changes);
        EXPECT_EQ(proof.repeats, c.repeats);
        const std::vector<std::string> rows = ReferenceRows(build.touch, c.calling, c.parts);
        EXPECT_EQ(StepperRows(build.touch), rows);
        EXPECT_EQ(static_cast<std::int64_t>(rows.size() - 1 - std::set(rows.begin(), rows.end() - 1).size()),
                  proof.repeats);
    }
}

TEST(CallingPositions, RandomCallingsRingAsTheReferenceDoes)
{
    std::mt19937 random(20);
    const char* titles[] = {"Plain Bob Major",   "Cambridge Surprise Minor", "Bristol Surprise Major",
                            "Grandsire Triples", "Plain Bob Doubles",        "Double Norwich Court Bob Major",
                            "Grandsire Caters",  "London Surprise Major"};
    int compared = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const char* title = titles[random() % std::size(titles)];
        const int stage = FindBuiltInMethod(title)->stage;
        std::string calling;
        for (std::uint32_t word = random() % 5; word > 0; --word) {
            calling += random() % 4 == 0 ? "2" : "";
            calling += random() % 3 == 0 ? "s" : "";
            const std::string letters = stage % 2 == 0 ? "HWMIBF" : "HWMBV";
            calling += letters[random() % letters.size()];
            calling += ' ';
        }
        const int parts = 1 + static_cast<int>(random() % 3);
        const int observation = random() % 4 == 0 ? stage - 1 : 0;
        SCOPED_TRACE(testing::Message() << title << ": " << calling << " x" << parts << " obs " << observation);
        const TouchBuild build = ByPositions(title, calling, parts, observation);
        ASSERT_EQ(build.fault, "");
        const std::vector<std::string> rows = ReferenceRows(build.touch, calling, parts);
        const TouchProof proof = ProveTouch(build.touch, 100000);
        EXPECT_EQ(proof.comesRound, !rows.empty());
        if (rows.empty()) {
            // Plain leads from any lead head cycle within a few thousand changes.
            ASSERT_GT(proof.cycleChanges, 0) << "seen never to come round, not given up on";
            const std::vector<std::string> rung = StepperRows(build.touch);
            ASSERT_GT(rung.size(), static_cast<std::size_t>(proof.changes));
            EXPECT_EQ(rung[static_cast<std::size_t>(proof.changes)],
                      rung[static_cast<std::size_t>(proof.changes - proof.cycleChanges)]);
            continue;
        }
        ++compared;
        EXPECT_EQ(StepperRows(build.touch), rows);
        EXPECT_EQ(static_cast<std::int64_t>(rows.size() - 1 - std::set(rows.begin(), rows.end() - 1).size()),
                  proof.repeats);
    }
    EXPECT_GT(compared, 200);
}

TEST(CallingPositions, CallingsThatEndEarlyOrCannotBeMadeAreWarnedOf)
{
    struct Case {
        const char* title;
        const char* calling;
        int parts;
        const char* warning;
    };
    for (const Case& c : {
             Case{"Plain Bob Major", "3H", 2,
                  "Plain Bob Major: the touch comes round after 336 changes, with 3 of "
                  "the calling's 6 calls made"},
             Case{"Plain Bob Minor", "H", 1,
                  "Plain Bob Minor: the touch comes round after 60 changes, with 0 of "
                  "the calling's 1 calls made"},
         }) {
        // The treble (bell 1) never leaves the lead at a lead head.
        const TouchBuild build = ByPositions(c.title, c.calling, c.parts, c.parts == 1 ? 1 : 0);
        EXPECT_EQ(build.warning, c.warning);
        EXPECT_TRUE(ProveTouch(build.touch).comesRound) << "rung as far as it goes";
    }
    // No plain lead of Grandsire Triples after a bob at Home brings the 7th to 4ths.
    EXPECT_EQ(ByPositions("Grandsire Triples", "H F").warning,
              "Grandsire Triples: call 2 of the calling (word 2) can never be made: plain leads do not bring the "
              "observation bell to its position; 1 of 2 calls are made");

    struct Refusal {
        TouchBuild build;
        const char* fault;
    };
    for (const Refusal& r : {
             Refusal{ByPositions("Erin Triples", "H"),
                     "Erin Triples is called at six ends: give its calls one by one (p, b, s), not by calling "
                     "positions"},
             Refusal{ByPositions("Plain Bob Minor", "E"),
                     "calling word 1: position E is place 8, beyond the stage of 6"},
             Refusal{ByPositions("Plain Bob Minor", "H", 1, 7), "the observation bell must be from 1 to 6"},
             Refusal{ByPositions("Kent Treble Bob Major", "H"),
                     "Kent Treble Bob Major has no bob of its own; the calling needs one given by place notation"},
         }) {
        EXPECT_EQ(r.build.fault, r.fault);
    }
}

TEST(CallingPositions, LeadHeadsAndCourseEndsNameTheCallsMade)
{
    const Touch touch = ByPositions("Plain Bob Major", "3H").touch;
    const TouchLeads leads = RecordLeads(touch, 336);
    EXPECT_EQ(leads.calls, "H H H");
    ASSERT_EQ(leads.leads.size(), 21u);
    EXPECT_EQ(RowText(leads.leads[0].head, 8), "13527486");
    EXPECT_EQ(leads.leads[6].calls, "H");
    const std::vector<LeadRecord> ends = CourseEnds(touch, leads);
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(RowText(ends[0].head, 8), "14235678");
    EXPECT_EQ(ends[2].changes, 336);

    // Calls given by letters are named by position too, so that the names
    // called again ring the same touch.
    for (const auto& [title, letters] : {std::pair{"Grandsire Doubles", "pbpbps"}, std::pair{"Plain Bob Minor", "bs"},
                                         std::pair{"Bristol Surprise Major", "pbspppb"}}) {
        const Touch byLetters = BuildTouch(MethodRequest(FindBuiltInMethod(title), letters)).touch;
        const std::string named = RecordLeads(byLetters, ProveTouch(byLetters).changes).calls;
        EXPECT_EQ(StepperRows(ByPositions(title, named).touch), StepperRows(byLetters)) << title << ": " << named;
    }

    // Rounds come at the first change of the eighth call (the 13th of a
    // lead): that call is named, and the course ends end with rounds and it.
    const Touch cut = ByPositions("Grandsire Triples", "sM W sH", 3, 4).touch;
    const TouchLeads cutLeads = RecordLeads(cut, ProveTouch(cut).changes);
    EXPECT_EQ(cutLeads.calls, "sM W sH sM W sH sM W");
    EXPECT_EQ(cutLeads.leads.back().calls, "W");
    const std::vector<LeadRecord> cutEnds = CourseEnds(cut, cutLeads);
    EXPECT_EQ(RowText(cutEnds.back().head, 7), "1234567");
    EXPECT_EQ(cutEnds.back().calls, "sM W");
    EXPECT_EQ(StepperRows(ByPositions("Grandsire Triples", cutLeads.calls, 1, 4).touch), StepperRows(cut));
}

}  // namespace
