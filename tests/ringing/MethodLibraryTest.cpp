#include "ringing/MethodLibrary.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/PlaceNotation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A collection as the collections' files write it: a byte-order mark, a
// namespace, sets whose properties give the stage, a method that overrides
// its set's, and methods above sixteen bells.
const std::string kCollection =
    "\xEF\xBB\xBF"
    R"(<?xml version="1.0" encoding="UTF-8"?>
<c:collection xmlns:c="http://example.org/methods">
  <c:collectionName>Test</c:collectionName>
  <c:methodSet>
    <c:properties><c:stage>8</c:stage><c:classification>Surprise</c:classification>
      <c:lengthOfLead>32</c:lengthOfLead></c:properties>
    <c:method id="m1"><c:name>Ashby</c:name><c:title>Ashby Surprise Major</c:title>
      <c:notation>x38x14x1258x36x14x58x16x78,12</c:notation><c:leadHead>15738264</c:leadHead></c:method>
    <c:method id="m2"><c:title>Ashby Surprise Royal</c:title><c:stage>10</c:stage><c:lengthOfLead>40</c:lengthOfLead>
      <c:notation>-30-14-1250-36-1470-58-16-70-18-90,12</c:notation></c:method>
  </c:methodSet>
  <c:methodSet>
    <c:properties><c:stage>12</c:stage></c:properties>
    <c:method><c:title>Bampton Surprise Maximus</c:title><c:notation>-5t-14.5t-5t.36.14-7t.58.16-9t.70.18-18.9t-18-1t,1t</c:notation></c:method>
  </c:methodSet>
  <c:methodSet><c:properties><c:stage>18</c:stage></c:properties>
    <c:method><c:title>Far Bob Eighteen</c:title><c:notation>x1F,12</c:notation></c:method>
    <c:method><c:title>Farther Bob Eighteen</c:title><c:notation>x1F,12</c:notation></c:method>
  </c:methodSet>
</c:collection>
)";

TEST(MethodLibrary, ReadsSetsPropertiesOverridesNamespacesAndSkipsAboveSixteen)
{
    const MethodLibrary library = ReadMethodLibraryText(kCollection, "test.xml");
    ASSERT_EQ(library.fault, "");
    EXPECT_TRUE(library.skipped.empty()) << library.skipped.front();
    ASSERT_EQ(library.methods.size(), 3u);
    EXPECT_EQ(library.methods[0].title, "Ashby Surprise Major");
    EXPECT_EQ(library.methods[0].stage, 8);
    EXPECT_EQ(library.methods[1].stage, 10) << "the method's stage overrides its set's";
    EXPECT_EQ(library.methods[2].notation, "-5t-14.5t-5t.36.14-7t.58.16-9t.70.18-18.9t-18-1t,1t");
    EXPECT_EQ(library.methods[2].leadEndPlaces, 1u | 1u << 11) << "a 1T lead end";
    EXPECT_EQ(library.aboveMaxStage, 2);
}

TEST(MethodLibrary, BadMethodsAreSkippedByTitleAndTheRestRead)
{
    const std::string set =
        "<collection><methodSet><properties><stage>6</stage><lengthOfLead>24</lengthOfLead>"
        "<leadHead>156342</leadHead></properties>";
    const std::string good =
        "<method><title>Good Surprise Minor</title><notation>-36-14-12-36-14-56,12</notation></method>";
    struct Case {
        std::string method;
        std::string skipped;
    };
    for (const Case& c : {
             Case{"<method><title>Bad</title><notation>-36-1Q,12</notation></method>",
                  "line 1: 'Bad': place notation '-36-1Q,12': unknown symbol 'Q' at character 6"},
             Case{"<method><title>Still</title><lengthOfLead>28</lengthOfLead>"
                  "<notation>-36-14-12-36-14-123456-56,12</notation></method>",
                  "line 1: 'Still': place notation '-36-14-12-36-14-123456-56,12': change '123456' at character 17 "
                  "makes every place and moves no bell; a method's lead may not hold one (a call may)"},
             Case{"<method><notation>-36-14-12-36-14-56,12</notation></method>", "line 1: a method without a title"},
             Case{"<method><title>Short</title><notation>-36-14-12,12</notation></method>",
                  "line 1: 'Short': its notation gives 12 changes a lead, not the file's 24"},
             Case{"<method><title>Other Head</title><notation>-36-14-12-36-14-16,12</notation></method>",
                  "line 1: 'Other Head': its notation leads to 142635, not the file's lead head 156342"},
             Case{"<method><title>Two</title><stage>2</stage><notation>x</notation></method>",
                  "line 1: 'Two': stage '2' is not a number of bells from 3"},
             Case{"<method><title>Long</title><notation>" + std::string(5000, '-') + "</notation></method>",
                  "line 1: 'Long': its title or notation is longer than 4096 bytes"},
         }) {
        const MethodLibrary library = ReadMethodLibraryText(set + c.method + good + "</methodSet></collection>", "f");
        EXPECT_EQ(library.fault, "");
        ASSERT_EQ(library.skipped.size(), 1u) << c.skipped;
        EXPECT_EQ(library.skipped[0], c.skipped);
        ASSERT_EQ(library.methods.size(), 1u);
        EXPECT_EQ(library.methods[0].title, "Good Surprise Minor");
    }
}

TEST(MethodLibrary, BrokenFilesAreRefusedWithTheirNameAndLine)
{
    struct Case {
        std::string text;
        std::string fault;
    };
    std::string deep = "<collection>";
    for (int k = 0; k < 300; ++k)
        deep += "<a>";
    for (const Case& c : {
             Case{"", "method library f.xml: line 1: no element found"},
             Case{"<collection>\n<methodSet>\n</collection>", "method library f.xml: line 3: mismatched tag"},
             Case{"<html></html>",
                  "method library f.xml: line 1: not a method collection: its root element is 'html', not "
                  "'collection'"},
             Case{"<!DOCTYPE c [\n<!ENTITY a \"aaaa\">\n]><collection>&a;</collection>",
                  "method library f.xml: line 2: entity declarations are not accepted"},
             Case{deep, "method library f.xml: line 1: elements are nested more than 256 deep"},
             Case{"<collection>&nothing;</collection>", "method library f.xml: line 1: undefined entity"},
         }) {
        const MethodLibrary library = ReadMethodLibraryText(c.text, "f.xml");
        EXPECT_EQ(library.fault, c.fault);
        EXPECT_TRUE(library.methods.empty());
    }
    EXPECT_EQ(ReadMethodLibraryFile("/nonexistent/methods.xml").fault,
              "method library /nonexistent/methods.xml: No such file or directory");
    EXPECT_EQ(ReadMethodLibraryFile("/tmp").fault, "method library /tmp: a folder, not a file");
    // A file of 300 MB, sparse so that it takes no room on the disk, is refused unread.
    char path[] = "/tmp/carillix-library-XXXXXX";
    const int file = mkstemp(path);
    ASSERT_GE(file, 0);
    ASSERT_EQ(ftruncate(file, std::int64_t{300} << 20), 0);
    close(file);
    EXPECT_EQ(ReadMethodLibraryFile(path).fault,
              std::string("method library ") + path + ": 300.0 MB is more than a method library may be (256.0 MB)");
    std::remove(path);
}

TEST(MethodLibrary, TheDefaultPlaceFollowsXdgDataHome)
{
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const std::string saved = savedData != nullptr ? savedData : "";
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(DefaultMethodLibraryPath(), "/data/carillix/methods.xml");
    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", "/home/ringer", 1);
    EXPECT_EQ(DefaultMethodLibraryPath(), "/home/ringer/.local/share/carillix/methods.xml");
    if (savedData != nullptr)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(MethodCatalogue, LooksUpSuggestsAndSearchesBuiltInAndLibraryTogether)
{
    MethodCatalogue catalogue;
    MethodLibrary library = ReadMethodLibraryText(kCollection, "test.xml");
    library.methods.push_back({"cambridge surprise major", 8, "x", 0});
    EXPECT_EQ(catalogue.AddLibrary(library.methods), 3u) << "a built-in title keeps the built-in method";
    EXPECT_EQ(catalogue.Find("CAMBRIDGE Surprise Major")->notation, "-38-14-1258-36-14-58-16-78,12");
    EXPECT_EQ(catalogue.Find("ashby surprise ROYAL")->stage, 10);
    EXPECT_EQ(catalogue.Find("Ashby Surprise"), nullptr);

    struct Case {
        const char* typed;
        const char* fault;
    };
    for (const Case& c : {
             Case{"Cambridge Major", "no method is titled 'Cambridge Major'; did you mean 'Cambridge Surprise Major'?"},
             Case{"surprise royal",
                  "no method is titled 'surprise royal'; did you mean 'Ashby Surprise Royal', 'Bristol Surprise "
                  "Royal', 'Cambridge Surprise Royal' or 'Yorkshire Surprise Royal'?"},
         }) {
        EXPECT_EQ(catalogue.Lookup(c.typed).fault, c.fault);
    }
    const TitleLookup typo = catalogue.Lookup("Plain Bob Minr");
    ASSERT_EQ(typo.suggestions.size(), 5u) << "the nearest by edit distance";
    EXPECT_EQ(typo.suggestions[0], "Plain Bob Minor");
    EXPECT_EQ(typo.suggestions[1], "Plain Bob Major");
    const TitleLookup huge = catalogue.Lookup(std::string(3 << 20, 'x'));
    EXPECT_EQ(huge.fault, "no method is titled '" + std::string(57, 'x') + "...'");

    EXPECT_EQ(catalogue.Search("ASHBY").size(), 2u);
    EXPECT_EQ(catalogue.Search("surprise", 12).size(), 4u);
    EXPECT_EQ(catalogue.Search("").size(), catalogue.Methods().size());
    EXPECT_EQ(catalogue.Search("\xC3\x89glise"), std::vector<const MethodEntry*>{});
    EXPECT_EQ(FoldedTitle("\xC3\x89GLISE \xC3\x97"), "\xC3\xA9glise \xC3\x97") << "É folds, × does not";
}

TEST(MethodCatalogue, ConventionalCallsAreTheBuiltInListsOwn)
{
    // Every built-in method called at its lead ends on an even stage has the
    // calls its lead end gives.
    for (const MethodEntry& method : BuiltInMethods()) {
        if (method.stage % 2 != 0 || method.bob.empty())
            continue;
        const Change leadEnd = ReadPlaceNotation(method.notation, method.stage).changes.back();
        std::uint32_t places = 0;
        for (int q = 0; q < method.stage; ++q)
            places |= leadEnd[q] == q ? 1u << q : 0u;
        const LeadEndCalls calls = ConventionalCalls(places, method.stage);
        EXPECT_EQ(calls.bob, method.bob) << method.title;
        EXPECT_EQ(calls.single, method.single) << method.title;
    }
    EXPECT_EQ(ConventionalCalls(0b11, 7).bob, "") << "odd stages have none";
    EXPECT_EQ(ConventionalCalls(0b1001, 6).bob, "") << "a 14 lead end has none";
    EXPECT_EQ(ConventionalCalls(1u | 1u << 15, 16).single, "1BCD");
}

}  // namespace
