#include "ringing/BuiltInMethods.h"
#include "ringing/RowText.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"
#include "ringing/TouchStepper.h"
#include "tests/ringing/TouchRequests.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct PlainCourse {
    const char* title;
    int leadSize;
    int changes;           // changes of the plain course, from rounds to rounds
    const char* leadHead;  // the row after the first lead
};

// Plain courses as ringers know them: lead lengths, course lengths and first
// lead heads, worked out apart from the engine.
const PlainCourse kPlainCourses[] = {
    {"Plain Bob Minimus", 8, 24, "1342"},
    {"Plain Bob Doubles", 10, 40, "13524"},
    {"Plain Bob Minor", 12, 60, "135264"},
    {"Plain Bob Triples", 14, 84, "1352746"},
    {"Plain Bob Major", 16, 112, "13527486"},
    {"Plain Bob Caters", 18, 144, "135274968"},
    {"Plain Bob Royal", 20, 180, "1352749608"},
    {"Plain Bob Cinques", 22, 220, "13527496E80"},
    {"Plain Bob Maximus", 24, 264, "13527496E8T0"},
    {"Plain Bob Fourteen", 28, 364, "13527496E8A0BT"},
    {"Plain Bob Sixteen", 32, 480, "13527496E8A0CTDB"},
    {"Grandsire Doubles", 10, 30, "12534"},
    {"Grandsire Triples", 14, 70, "1253746"},
    {"Grandsire Caters", 18, 126, "125374968"},
    {"Grandsire Cinques", 22, 198, "12537496E80"},
    {"Stedman Doubles", 12, 60, "53412"},
    {"Stedman Triples", 12, 84, "6347251"},
    {"Stedman Caters", 12, 108, "634829175"},
    {"Stedman Cinques", 12, 132, "6348201E597"},
    {"St Simon's Bob Doubles", 10, 40, "14253"},
    {"Reverse Canterbury Pleasure Place Doubles", 10, 40, "14253"},
    {"St Clement's College Bob Minor", 12, 60, "142635"},
    {"Double Oxford Bob Minor", 12, 60, "142635"},
    {"Single Oxford Bob Minor", 12, 60, "156342"},
    {"Kent Treble Bob Minor", 24, 120, "142635"},
    {"Oxford Treble Bob Minor", 24, 120, "142635"},
    {"Cambridge Surprise Minor", 24, 120, "156342"},
    {"Primrose Surprise Minor", 24, 120, "135264"},
    {"Ipswich Surprise Minor", 24, 120, "142635"},
    {"Norwich Surprise Minor", 24, 120, "142635"},
    {"Beverley Surprise Minor", 24, 120, "156342"},
    {"Surfleet Surprise Minor", 24, 120, "156342"},
    {"London Surprise Minor", 24, 120, "142635"},
    {"Erin Triples", 6, 42, "2416375"},
    {"Little Bob Major", 8, 56, "16482735"},
    {"Double Norwich Court Bob Major", 16, 112, "18674523"},
    {"Kent Treble Bob Major", 32, 224, "14263857"},
    {"Oxford Treble Bob Major", 32, 224, "14263857"},
    {"Cambridge Surprise Major", 32, 224, "15738264"},
    {"Yorkshire Surprise Major", 32, 224, "15738264"},
    {"Lincolnshire Surprise Major", 32, 224, "15738264"},
    {"Superlative Surprise Major", 32, 224, "15738264"},
    {"Rutland Surprise Major", 32, 224, "14263857"},
    {"Pudsey Surprise Major", 32, 224, "15738264"},
    {"Bristol Surprise Major", 32, 224, "14263857"},
    {"London Surprise Major", 32, 224, "14263857"},
    {"Kent Treble Bob Royal", 40, 360, "1426385079"},
    {"Cambridge Surprise Royal", 40, 360, "1573920486"},
    {"Yorkshire Surprise Royal", 40, 360, "1573920486"},
    {"Bristol Surprise Royal", 40, 360, "1352749608"},
    {"Kent Treble Bob Maximus", 48, 528, "142638507T9E"},
    {"Cambridge Surprise Maximus", 48, 528, "157392E4T608"},
    {"Yorkshire Surprise Maximus", 48, 528, "157392E4T608"},
    {"Bristol Surprise Maximus", 48, 528, "1795E3T20486"},
    {"Cambridge Surprise Fourteen", 56, 728, "157392E4A6B8T0"},
    {"Yorkshire Surprise Fourteen", 56, 728, "157392E4A6B8T0"},
    {"Kent Treble Bob Fourteen", 56, 728, "142638507T9BEA"},
    {"Cambridge Surprise Sixteen", 64, 960, "157392E4A6C8D0BT"},
    {"Bristol Surprise Sixteen", 64, 960, "1CDABET907856342"},
};

struct Rung {
    TouchProof proof;
    std::string leadHead;
};

Rung RingPlainCourse(const TouchRequest& request)
{
    const TouchBuild build = BuildTouch(request);
    EXPECT_EQ(build.fault, "");
    Rung rung;
    rung.proof = ProveTouch(build.touch);
    TouchStepper stepper(build.touch);
    Row row = HomeRow();
    for (std::size_t change = 0; change < build.touch.method.lead.size(); ++change)
        stepper.Step(row);
    rung.leadHead = RowText(row, build.touch.method.stage);
    return rung;
}

TEST(BuiltInMethods, EveryPlainCourseHasItsKnownLengthAndLeadHeadAndIsTrue)
{
    ASSERT_EQ(BuiltInMethods().size(), std::size(kPlainCourses));
    for (std::size_t k = 0; k < std::size(kPlainCourses); ++k) {
        const PlainCourse& expected = kPlainCourses[k];
        const MethodEntry& method = BuiltInMethods()[k];
        SCOPED_TRACE(expected.title);
        ASSERT_EQ(method.title, expected.title);
        EXPECT_EQ(static_cast<int>(std::string(expected.leadHead).size()), method.stage);
        const Rung rung = RingPlainCourse(MethodRequest(&method));
        EXPECT_TRUE(rung.proof.comesRound);
        EXPECT_EQ(rung.proof.changes, expected.changes);
        EXPECT_EQ(rung.proof.repeats, 0);
        EXPECT_EQ(rung.leadHead, expected.leadHead);
        EXPECT_EQ(static_cast<int>(BuildTouch(MethodRequest(&method)).touch.method.lead.size()), expected.leadSize);
    }
}

TEST(BuiltInMethods, OtherMethodsFromPlaceNotation)
{
    // Plain hunting on n bells comes round after 2n changes, on every stage.
    for (int stage = 3; stage <= 16; ++stage) {
        const char back = kBellSymbols[static_cast<std::size_t>(stage - 1)];
        const std::string notation = stage % 2 == 0 ? std::string("-1") + back : std::string(1, back) + ".1";
        SCOPED_TRACE(notation);
        const Rung rung = RingPlainCourse(NotationRequest(notation, stage));
        EXPECT_EQ(rung.proof.changes, 2 * stage);
        EXPECT_EQ(rung.proof.repeats, 0);
    }
    // Plain Bob written out in full, without palindromes.
    EXPECT_EQ(RingPlainCourse(NotationRequest("x14x14x14x12", 4)).leadHead, "1342");
    const Rung doubles = RingPlainCourse(NotationRequest("5.1.5.1.5.1.5.1.5.125", 5));
    EXPECT_EQ(doubles.leadHead, "13524");
    EXPECT_EQ(doubles.proof.changes, 40);
    // A lead of one cross.
    EXPECT_EQ(RingPlainCourse(NotationRequest("x", 10)).proof.changes, 2);
}

TEST(BuiltInMethods, TitlesMatchIgnoringCaseAndEveryCallReads)
{
    const MethodEntry* cambridge = FindBuiltInMethod("cambridge SURPRISE major");
    ASSERT_NE(cambridge, nullptr);
    EXPECT_EQ(cambridge->title, "Cambridge Surprise Major");
    EXPECT_EQ(cambridge->stage, 8);
    EXPECT_EQ(FindBuiltInMethod("Cambridge Surprise"), nullptr);
    EXPECT_EQ(FindBuiltInMethod(""), nullptr);

    std::set<std::string_view> titles;
    for (const MethodEntry& method : BuiltInMethods()) {
        SCOPED_TRACE(method.title);
        EXPECT_TRUE(titles.insert(method.title).second) << "titles are unique";
        EXPECT_EQ(FindBuiltInMethod(method.title), &method);
        const TouchBuild build = BuildTouch(MethodRequest(&method));
        ASSERT_EQ(build.fault, "");
        EXPECT_EQ(method.bob.empty(), method.single.empty());
        const bool grandsire = method.title.starts_with("Grandsire");
        if (!method.bob.empty()) {
            EXPECT_EQ(build.touch.bob.changes.size(), grandsire ? 2u : 1u);
            EXPECT_EQ(build.touch.single.changes.size(), grandsire ? 2u : 1u);
        }
        const bool stedman = method.title.starts_with("Stedman");
        const std::vector<int> sixEnds{3, 9};
        const std::vector<int> leadEnd{static_cast<int>(build.touch.method.lead.size())};
        EXPECT_EQ(build.touch.callEnds, stedman ? sixEnds : leadEnd);
    }
}

}  // namespace
