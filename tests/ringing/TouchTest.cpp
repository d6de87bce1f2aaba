#include "ringing/NextRow.h"
#include "ringing/RowText.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"
#include "ringing/TouchStepper.h"
#include "tests/ringing/ReferenceRinging.h"
#include "tests/ringing/TouchRequests.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counts every allocation of the program. Kept out of line: inlined into the
// standard library's deallocation, the free() of a new'd block looks
// mismatched to the compiler.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

Touch Build(const TouchRequest& request)
{
    const TouchBuild build = BuildTouch(request);
    EXPECT_EQ(build.fault, "");
    return build.touch;
}

Touch BuiltIn(const char* title, const std::string& calling = "")
{
    const MethodEntry* method = FindBuiltInMethod(title);
    EXPECT_NE(method, nullptr) << title;
    return Build(MethodRequest(method, calling));
}

// Every row the stepper rings on `bells` bells, from rounds to rounds.
std::vector<std::string> StepperRows(const Touch& touch, int bells)
{
    TouchStepper stepper(touch);
    Row row = HomeRow();
    std::vector<std::string> rows{RowText(row, bells)};
    while (!stepper.Step(row) && rows.size() <= 100000)
        rows.push_back(RowText(row, bells));
    rows.push_back(RowText(row, bells));
    return rows;
}

// The same touch rung by the reference ringer.
std::vector<std::string> ReferenceRows(const Touch& touch, int bells)
{
    return reference::TouchRows(touch.method.notation, touch.method.stage, bells, touch.callEnds, touch.bob.notation,
                                touch.single.notation, touch.calling);
}

TEST(Touch, LeadEndBobsAndSinglesRingAsTheReferenceDoes)
{
    struct Case {
        const char* title;
        const char* calling;
        std::size_t changes;
    };
    for (const Case& c : {
             Case{"Plain Bob Minor", "b", 36},
             Case{"Plain Bob Minor", "s", 72},
             Case{"Cambridge Surprise Major", "bps", 960},
             Case{"Bristol Surprise Major", "sb", 480},
             Case{"Plain Bob Doubles", "pppb", 120},
         }) {
        SCOPED_TRACE(testing::Message() << c.title << " " << c.calling);
        const Touch touch = BuiltIn(c.title, c.calling);
        const std::vector<std::string> rows = StepperRows(touch, touch.method.stage);
        EXPECT_EQ(rows.size(), c.changes + 1);
        EXPECT_EQ(rows, ReferenceRows(touch, touch.method.stage));
    }
}

TEST(Touch, GrandsiresCallsReplaceTheLastTwoChanges)
{
    // Two bobs and a single, twice: the extent of Grandsire Doubles.
    const Touch extent = BuiltIn("Grandsire Doubles", "pbpbps");
    const std::vector<std::string> rows = StepperRows(extent, 5);
    ASSERT_EQ(rows.size(), 121u);
    EXPECT_EQ(std::set<std::string>(rows.begin(), rows.end() - 1).size(), 120u) << "every row of five bells once";
    EXPECT_EQ(ProveTouch(extent).repeats, 0);
    EXPECT_EQ(rows, ReferenceRows(extent, 5));

    for (const char* calling : {"b", "s", "pbs"}) {
        const Touch triples = BuiltIn("Grandsire Triples", calling);
        EXPECT_EQ(StepperRows(triples, 8), ReferenceRows(triples, 8)) << calling;
    }
    // The bob's first change, 3rds, comes at the handstroke before the lead end.
    const std::vector<std::string> plain = StepperRows(BuiltIn("Grandsire Triples"), 7);
    const std::vector<std::string> bobbed = StepperRows(BuiltIn("Grandsire Triples", "b"), 7);
    EXPECT_EQ(plain[12], "5172634");
    EXPECT_EQ(bobbed[12], "5172634");
    EXPECT_EQ(plain[13], "1527364");
    EXPECT_EQ(bobbed[13], "1576243");
    EXPECT_EQ(plain[14], "1253746");
    EXPECT_EQ(bobbed[14], "1752634");
}

TEST(Touch, StedmansCallsFallAtSixEnds)
{
    for (const char* calling : {"b", "s", "pbsp"}) {
        const Touch touch = BuiltIn("Stedman Triples", calling);
        EXPECT_EQ(StepperRows(touch, 8), ReferenceRows(touch, 8)) << calling;
    }
    // A bob at the first six end makes 5ths in place of 7ths at the third change.
    const std::vector<std::string> bobbed = StepperRows(BuiltIn("Stedman Triples", "b"), 7);
    EXPECT_EQ(bobbed[2], "2314567");
    EXPECT_EQ(bobbed[3], "3241576");
    const std::vector<std::string> plain = StepperRows(BuiltIn("Stedman Triples"), 7);
    EXPECT_EQ(plain[3], "3241657");

    const Touch caters = BuiltIn("Stedman Caters", "ps");
    EXPECT_EQ(StepperRows(caters, 10), ReferenceRows(caters, 10));
    // A single given by place notation for a method without calls of its own.
    const Touch doubles = Build(MethodRequest(FindBuiltInMethod("Stedman Doubles"), "ppps", std::nullopt, "345"));
    EXPECT_EQ(StepperRows(doubles, 5), ReferenceRows(doubles, 5));
}

TEST(Touch, GivenCallsReplaceTheMethodsOwn)
{
    const Touch ownBob = BuiltIn("Plain Bob Major", "b");
    const Touch fourthsAndSixths = Build(MethodRequest(FindBuiltInMethod("Plain Bob Major"), "b", "1456"));
    EXPECT_EQ(fourthsAndSixths.bob.notation, "1456");
    EXPECT_NE(StepperRows(fourthsAndSixths, 8), StepperRows(ownBob, 8));
    EXPECT_EQ(StepperRows(fourthsAndSixths, 8), ReferenceRows(fourthsAndSixths, 8));

    const Touch byNotation = Build(NotationRequest("-16-16-16,12", 6, "b", "14"));
    EXPECT_EQ(StepperRows(byNotation, 6).size(), 37u);
}

TEST(Touch, BellsBeyondTheStageCoverAndTheStylesTablesAgree)
{
    // The change tables of the styles are these methods with a cover bell.
    struct Case {
        const char* title;
        MethodStyle style;
        int bells;
    };
    for (const Case& c : {
             Case{"Grandsire Triples", StyleGrandsire, 8},
             Case{"Stedman Triples", StyleStedman, 8},
             Case{"Stedman Doubles", StyleStedman, 6},
             Case{"Grandsire Caters", StyleGrandsire, 10},
             Case{"London Surprise Minor", StyleTrebleBob, 6},
         }) {
        SCOPED_TRACE(c.title);
        const Touch touch = BuiltIn(c.title);
        TouchStepper stepper(touch);
        Row fromTouch = HomeRow();
        Row fromTable = HomeRow();
        for (std::int32_t rowIndex = 1; rowIndex < 1000; ++rowIndex) {
            stepper.Next(rowIndex, fromTouch);
            const bool home = NextRow(rowIndex, fromTable, static_cast<std::int16_t>(c.bells), c.style);
            ASSERT_EQ(RowText(fromTouch, c.bells), RowText(fromTable, c.bells)) << "row " << rowIndex;
            ASSERT_EQ(stepper.CameRound() && rowIndex == stepper.Changes() + 3, home) << "row " << rowIndex;
            if (home)
                break;
        }
        EXPECT_TRUE(stepper.CameRound());
    }

    const Touch doubles = BuiltIn("Grandsire Doubles", "pbpbps");
    for (const std::string& row : StepperRows(doubles, 8))
        EXPECT_EQ(row.substr(5), "678");
    EXPECT_EQ(StepperRows(doubles, 8), ReferenceRows(doubles, 8));
}

TEST(Touch, TheStepperOpensWithRoundsAndStaysInRoundsAfterward)
{
    const Touch touch = BuiltIn("Plain Bob Minor", "b");
    TouchStepper stepper(touch);
    Row row = HomeRow();
    for (std::int32_t rowIndex = 1; rowIndex <= 3; ++rowIndex) {
        stepper.Next(rowIndex, row);
        EXPECT_EQ(RowText(row, 6), "123456");
    }
    stepper.Next(4, row);
    EXPECT_EQ(RowText(row, 6), "214365");
    for (std::int32_t rowIndex = 5; rowIndex <= 39; ++rowIndex)
        stepper.Next(rowIndex, row);
    EXPECT_TRUE(stepper.CameRound());
    EXPECT_EQ(stepper.Changes(), 36);
    for (std::int32_t rowIndex = 40; rowIndex <= 60; ++rowIndex) {
        stepper.Next(rowIndex, row);
        EXPECT_EQ(RowText(row, 6), "123456");
    }
    EXPECT_EQ(stepper.Changes(), 36);
}

TEST(Touch, TheStepperNeverAllocates)
{
    TouchRequest byPositions = MethodRequest(FindBuiltInMethod("Cambridge Surprise Major"));
    byPositions.positions = "W sH H";
    byPositions.parts = 3;
    for (const Touch& touch : {BuiltIn("Stedman Cinques", "pbspsb"), Build(byPositions)}) {
        TouchStepper stepper(touch);
        Row row = HomeRow();
        const long before = allocations.load();
        for (std::int32_t rowIndex = 1; rowIndex <= 5000; ++rowIndex)
            stepper.Next(rowIndex, row);
        EXPECT_EQ(allocations.load(), before);
        EXPECT_GT(stepper.Changes(), 100);
    }
}

TEST(Touch, ProofFindsRepeatedRowsAndWhereTheFirstComesAgain)
{
    // 1234, 1243, 2134, 1243, then rounds.
    const Touch small = Build(NotationRequest("12.x.x", 4));
    const TouchProof proof = ProveTouch(small);
    EXPECT_TRUE(proof.comesRound);
    EXPECT_EQ(proof.changes, 4);
    EXPECT_EQ(proof.repeats, 1);
    EXPECT_EQ(RowText(proof.firstRepeat, 4), "1243");
    EXPECT_EQ(proof.firstRepeatAt, 1);
    EXPECT_EQ(proof.secondRepeatAt, 3);
    EXPECT_EQ(proof.falseness,
              "place notation 12.x.x on 4: the touch is false: 1 row comes again before rounds; the first, 1243, "
              "after changes 1 and 3");

    const Touch bobSingle = BuiltIn("Plain Bob Minor", "bs");
    const TouchProof falseTouch = ProveTouch(bobSingle);
    const std::vector<std::string> rows = ReferenceRows(bobSingle, 6);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(falseTouch.changes, static_cast<std::int64_t>(rows.size()) - 1);
    const std::set<std::string> distinct(rows.begin(), rows.end() - 1);
    EXPECT_EQ(falseTouch.repeats, static_cast<std::int64_t>(rows.size() - 1 - distinct.size()));
    EXPECT_GT(falseTouch.repeats, 0);
    EXPECT_EQ(RowText(falseTouch.firstRepeat, 6), rows[static_cast<std::size_t>(falseTouch.secondRepeatAt)]);
    EXPECT_EQ(rows[static_cast<std::size_t>(falseTouch.firstRepeatAt)],
              rows[static_cast<std::size_t>(falseTouch.secondRepeatAt)]);
    for (std::int64_t change = 1; change < falseTouch.secondRepeatAt; ++change)
        EXPECT_EQ(std::count(rows.begin(), rows.begin() + change, rows[static_cast<std::size_t>(change)]), 0)
            << "no earlier repeat, at change " << change;
}

TEST(Touch, ATouchMustComeRoundWithinTheLimit)
{
    const Touch major = BuiltIn("Plain Bob Major");
    EXPECT_TRUE(ProveTouch(major, 112).comesRound);
    const TouchProof refused = ProveTouch(major, 111);
    EXPECT_FALSE(refused.comesRound);
    EXPECT_EQ(refused.refusal, "Plain Bob Major: the touch does not come round within 111 changes");
    EXPECT_EQ(ProveTouch(major).refusal, "");

    // On sixteen bells: (12)(56)(0E), then 2k crosses, then changes that
    // complete a 4-, a 5- and a 7-cycle. No partial lead is a power of the
    // lead head, whose order is 140, so the touch comes round after exactly
    // 140 leads of 2k + 6 changes: 999,880 with k = 3568, 1,000,160 with 3569.
    auto longLead = [](std::size_t crosses) {
        return "34789TABCD" + std::string(crosses, 'x') +
               "145890ABCD.125690EBCD.12345670ETCD.1234567890ETAD.1234567890ETAB";
    };
    const TouchProof within = ProveTouch(Build(NotationRequest(longLead(7136), 16)));
    EXPECT_TRUE(within.comesRound);
    EXPECT_EQ(within.changes, 999880);
    const TouchProof beyond = ProveTouch(Build(NotationRequest(longLead(7138), 16)));
    EXPECT_FALSE(beyond.comesRound);
    EXPECT_EQ(beyond.changes, kMaxTouchChanges);
}

TEST(Touch, ALeadMayNotHoldAChangeThatMovesNoBellButACallMay)
{
    struct Case {
        const char* notation;
        int stage;
        const char* change;  // where the fault finds it; null when read
    };
    for (const Case& c : {
             Case{"-14-14,1234", 4, "change '1234' at character 8"},
             Case{"1234.-.1234", 4, "change '1234' at character 1"},
             Case{"3.12.1", 3, "change '12' at character 3"},  // place 3 implied
             Case{"-1234-", 6, nullptr},
         }) {
        EXPECT_EQ(BuildTouch(NotationRequest(c.notation, c.stage)).fault,
                  c.change == nullptr ? ""
                                      : "place notation '" + std::string(c.notation) + "': " + c.change +
                                            " makes every place and moves no bell; a method's lead may not hold "
                                            "one (a call may)");
    }
    EXPECT_EQ(BuiltIn("Plain Bob Minimus", "s").single.notation, "1234");
}

TEST(Touch, BuildRefusesCallingsItCannotRing)
{
    struct Case {
        TouchRequest request;
        const char* fault;
    };
    const MethodEntry* stedmanDoubles = FindBuiltInMethod("Stedman Doubles");
    const MethodEntry* stedmanTriples = FindBuiltInMethod("Stedman Triples");
    const MethodEntry* plainBobMinor = FindBuiltInMethod("Plain Bob Minor");
    for (const Case& c : {
             Case{MethodRequest(stedmanDoubles, "pb"),
                  "Stedman Doubles has no bob of its own; the calling needs one given by place notation"},
             Case{NotationRequest("x16", 6, "s"),
                  "place notation x16 on 6 has no single of its own; the calling needs one given by place notation"},
             Case{MethodRequest(plainBobMinor, "pbq"),
                  "the calling has 'q' at character 3; it takes p (plain), b (bob) and s (single)"},
             Case{MethodRequest(plainBobMinor,
                                "p\xC3\xA9"
                                "b"),
                  "the calling has '\xC3\xA9' at character 2; it takes p (plain), b (bob) and s (single)"},
             Case{MethodRequest(plainBobMinor, "\xE2\x82"),
                  "the calling has '\xEF\xBF\xBD' at character 1; it takes p (plain), b (bob) and s (single)"},
             Case{MethodRequest(plainBobMinor, "b", "x.x.x.x.x.x.x.x.x.x.x.x.x"),
                  "the bob has 13 changes; a call of Plain Bob Minor may have at most 12"},
             Case{MethodRequest(stedmanTriples, "s", std::nullopt, "5.7.5.7"),
                  "the single has 4 changes; a call of Stedman Triples may have at most 3"},
             Case{MethodRequest(plainBobMinor, "", "1Q"), "bob '1Q': unknown symbol 'Q' at character 2"},
             Case{MethodRequest(plainBobMinor, "", std::nullopt, "13"),
                  "single '13': places '1' and '3' at character 1 leave an odd number of bells between them"},
             Case{NotationRequest("-17-", 6),
                  "place notation '-17-': place '7' at character 3 is beyond the stage of 6"},
             Case{NotationRequest(std::string(36, 'x') + "\xC3\xA9xxx", 6),
                  "place notation 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...': unknown symbol byte 0xC3 at character 37"},
         }) {
        EXPECT_EQ(BuildTouch(c.request).fault, c.fault);
    }
    EXPECT_EQ(BuildTouch(MethodRequest(plainBobMinor, "b", "x.x.x.x.x.x.x.x.x.x.x.x")).fault, "");
}

}  // namespace
