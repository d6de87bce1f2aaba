#include "ringing/MethodCatalogue.h"
#include "ringing/RowText.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"
#include "tests/ringing/LibraryGenerator.h"
#include "tests/ringing/ReferenceRinging.h"
#include "tests/ringing/TouchRequests.h"

#include <gtest/gtest.h>

namespace {

// Every method of a generated library of 26,000 rings, from its title, the
// rows that the reference ringer rings from its notation.
TEST(LibraryRinging, EveryMethodRingsFromItsTitleAsItsNotationDoes)
{
    const GeneratedLibrary generated = GenerateLibrary(26000, 20);
    MethodLibrary library = ReadMethodLibraryText(generated.xml, "generated.xml");
    ASSERT_EQ(library.fault, "");
    ASSERT_TRUE(library.skipped.empty()) << library.skipped.front();
    EXPECT_EQ(library.methods.size(), generated.methods.size());
    EXPECT_EQ(static_cast<std::size_t>(library.aboveMaxStage), generated.aboveSixteen);
    EXPECT_GT(generated.aboveSixteen, 100u);

    MethodCatalogue catalogue;
    EXPECT_EQ(catalogue.AddLibrary(std::move(library.methods)), generated.methods.size() - 3)
        << "three built-in titles keep the built-in methods";
    std::size_t lowerCase = 0;
    for (std::size_t k = 0; k < generated.methods.size(); ++k) {
        const GeneratedMethod& method = generated.methods[k];
        SCOPED_TRACE(method.title + ": " + method.written);
        lowerCase += method.written != method.notation ? 1 : 0;
        const MethodEntry* entry = catalogue.Find(method.title);
        ASSERT_NE(entry, nullptr);
        const TouchBuild build = BuildTouch(MethodRequest(entry));
        ASSERT_EQ(build.fault, "");
        Row row = HomeRow();
        std::string expected = kBellSymbols.substr(0, static_cast<std::size_t>(method.stage)).data();
        expected.resize(static_cast<std::size_t>(method.stage));
        const std::vector<std::string> tokens = reference::LeadTokens(method.notation);
        ASSERT_EQ(build.touch.method.lead.size(), tokens.size());
        for (std::size_t change = 0; change < tokens.size(); ++change) {
            expected = reference::Ring(tokens[change], expected, method.stage);
            ApplyChange(build.touch.method.lead[change], row);
            ASSERT_EQ(RowText(row, method.stage), expected);
        }
        EXPECT_EQ(expected, method.leadHead);
        if (k % 500 == 0) {
            const TouchProof byTitle = ProveTouch(build.touch);
            const TouchProof byNotation = ProveTouch(BuildTouch(NotationRequest(method.written, method.stage)).touch);
            EXPECT_EQ(byTitle.changes, byNotation.changes);
        }
    }
    EXPECT_GT(lowerCase, 1000u) << "notation written with x and lower-case letters";
}

}  // namespace
