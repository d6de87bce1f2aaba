#include "tests/ringing/LibraryGenerator.h"

#include "tests/ringing/ReferenceRinging.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string_view>

namespace {

const std::string kSymbols = "1234567890ETABCDFGHJKL";  // places 1..22

const char* const kStageNames[] = {"",         "",          "",         "Singles",   "Minimus",   "Doubles",
                                   "Minor",    "Triples",   "Major",    "Caters",    "Royal",     "Cinques",
                                   "Maximus",  "Sextuples", "Fourteen", "Septuples", "Sixteen",   "Octuples",
                                   "Eighteen", "Nonuples",  "Twenty",   "Decuples",  "Twenty-two"};

const char* const kClasses[] = {"Surprise", "Delight", "Treble Bob", "Bob",          "Place",       "Alliance",
                                "Hybrid",   "",        "Little Bob", "Treble Place", "Slow Course", "Differential"};

const char* const kFronts[] = {"Ash",  "Bamp",  "Brad", "Chil", "Dun", "Elm",  "Fair", "Glen", "Hart",  "Ick",  "Kel",
                               "Lang", "Marl",  "Nor",  "Ock",  "Pen", "Quen", "Rad",  "Sel",  "Thorn", "Ul",   "Ver",
                               "Wal",  "Yar",   "Zeal", "Ab",   "Bur", "Cal",  "Dray", "Ever", "Frog",  "Gold", "Ham",
                               "Ivy",  "Kings", "Lyd",  "Mere", "New", "Old",  "Pol",  "Ros",  "Sand",  "Tad",  "Up"};
const char* const kBacks[] = {"by",   "ton",   "ford",   "ham",  "well",   "wick", "field", "stead", "worth",
                              "bury", "combe", "leigh",  "more", "thorpe", "wood", "den",   "mouth", "hill",
                              "stow", "gate",  "bridge", "dale", "holme",  "cote", "ley",   "low",   "minster"};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

class Generator {
public:
    explicit Generator(unsigned seed) : random(seed) {}

    unsigned Next(unsigned below) { return static_cast<unsigned>(random() % below); }

    // Places written for one change on `stage` bells; "-" for a cross.
    std::string Change(int stage)
    {
        for (;;) {
            std::string places;
            bool swapped = false;
            for (int q = 1; q <= stage;) {
                if (q < stage && Next(3) != 0) {
                    swapped = true;
                    q += 2;
                } else {
                    places += kSymbols[static_cast<std::size_t>(q - 1)];
                    ++q;
                }
            }
            if (!swapped)
                continue;
            if (places.empty())
                return "-";
            return Shortened(places, stage);
        }
    }

    // Leaves out an implicit first or last place, now and then, as the
    // collections sometimes do.
    std::string Shortened(std::string places, int stage)
    {
        const auto place = [](char c) { return static_cast<int>(kSymbols.find(c)) + 1; };
        if (places.size() > 1 && places.front() == '1' && (place(places[1]) - 1) % 2 == 1 && Next(4) == 0)
            places.erase(0, 1);
        if (places.size() > 1 && place(places.back()) == stage && (stage - place(places[places.size() - 2])) % 2 == 1 &&
            Next(4) == 0)
            places.pop_back();
        return places;
    }

    // A lead's notation: a half lead and a lead end, or a whole lead as rung.
    std::string Notation(int stage)
    {
        const bool symmetric = Next(10) < 7;
        const int changes = symmetric ? stage + static_cast<int>(Next(static_cast<unsigned>(stage))) / 2
                                      : 2 * stage + static_cast<int>(Next(4));
        std::vector<std::string> written;
        for (int k = 0; k < changes; ++k)
            written.push_back(stage % 2 == 0 && Next(3) == 0 ? "-" : Change(stage));
        std::string notation = Joined(written);
        if (symmetric)
            notation.append(",").append(LeadEnd(stage));
        return notation;
    }

    std::string LeadEnd(int stage)
    {
        const char back = kSymbols[static_cast<std::size_t>(stage - 1)];
        const unsigned pick = Next(10);
        if (stage % 2 == 0)
            return pick < 5 ? "12" : pick < 9 ? std::string("1") + back : Change(stage);
        // On three bells 12n makes every place: no change, which no lead holds.
        if (pick < 6 && stage > 3)
            return std::string("12") + back;
        return pick < 8 ? "1" : std::string(1, back);
    }

    static std::string Joined(const std::vector<std::string>& changes)
    {
        std::string text;
        for (std::size_t k = 0; k < changes.size(); ++k) {
            if (k > 0 && changes[k] != "-" && changes[k - 1] != "-")
                text += '.';
            text += changes[k];
        }
        return text;
    }

    // The notation as a file may write it: crosses as x, letters in lower case.
    std::string Written(const std::string& notation)
    {
        std::string written = notation;
        if (Next(4) == 0)
            std::replace(written.begin(), written.end(), '-', 'x');
        if (Next(4) == 0)
            std::transform(written.begin(), written.end(), written.begin(), Lower);
        return written;
    }

    std::string Name()
    {
        std::string name = std::string(kFronts[Next(std::size(kFronts))]) + kBacks[Next(std::size(kBacks))];
        if (Next(20) == 0)
            name = "St " + name + "'s";
        else if (Next(30) == 0)
            name = "Ch\xC3\xA9rie " + name;
        return name;
    }

    int Stage()
    {
        // Mostly 6 to 12, as in the collections; a few up to 22.
        const int weights[] = {0, 0, 0, 1, 3, 4, 20, 6, 30, 3, 12, 2, 10, 1, 3, 1, 2, 1, 1, 1, 1, 1, 1};
        int total = 0;
        for (const int weight : weights)
            total += weight;
        int pick = static_cast<int>(Next(static_cast<unsigned>(total)));
        for (int stage = 0;; ++stage) {
            pick -= weights[stage];
            if (pick < 0)
                return stage;
        }
    }

private:
    std::mt19937 random;
};

std::string LeadHeadOf(const std::string& notation, int stage)
{
    std::string row = kSymbols.substr(0, static_cast<std::size_t>(stage));
    for (const std::string& token : reference::LeadTokens(notation))
        row = reference::Ring(token, row, stage);
    return row;
}

struct Entry {
    GeneratedMethod method;
    std::string classification;
    std::size_t leadLength = 0;
};

void WriteMethod(std::string& xml, const Entry& entry, std::size_t id, Generator& generator)
{
    const GeneratedMethod& method = entry.method;
    xml += "    <method id=\"m" + std::to_string(10000 + id) + "\">\n";
    xml += "      <name>" + method.title.substr(0, method.title.find(' ')) + "</name>\n";
    xml += "      <title>" + method.title + "</title>\n";
    xml += "      <notation>" + method.written + "</notation>\n";
    if (generator.Next(2) == 0 && method.stage <= 16) {
        xml += "      <lengthOfLead>" + std::to_string(entry.leadLength) + "</lengthOfLead>\n";
        xml += "      <leadHead>" + method.leadHead + "</leadHead>\n";
    }
    xml += "      <references><rwRef>" + std::to_string(1900 + id % 120) + "/" + std::to_string(id % 700) +
           "</rwRef></references>\n";
    if (generator.Next(3) == 0)
        xml += "      <performances><firstTowerbellPeal><date>19" + std::to_string(50 + id % 50) + "-0" +
               std::to_string(1 + id % 9) + "-1" + std::to_string(id % 10) +
               "</date><location><building>St Mary</building><town>" + method.title.substr(0, 4) +
               "ton</town><county>Shire</county><country>England</country></location>"
               "</firstTowerbellPeal></performances>\n";
    xml += "    </method>\n";
}

}  // namespace

GeneratedLibrary GenerateLibrary(std::size_t count, unsigned seed)
{
    Generator generator(seed);
    std::vector<Entry> entries;
    std::set<std::string> titles;
    for (const auto& [title, stage, notation, classification] :
         {std::tuple{"Cambridge Surprise Major", 8, "-38-14-1258-36-14-58-16-78,12", "Surprise"},
          std::tuple{"Bristol Surprise Major", 8, "-58-14.58-58.36.14-14.58-14-18,18", "Surprise"},
          std::tuple{"Grandsire Triples", 7, "3,1.7.1.7.1.7.1", "Bob"}}) {
        titles.insert(Folded(title));
        const std::string head = LeadHeadOf(notation, stage);
        entries.push_back(
            {{title, stage, notation, notation, head}, classification, reference::LeadTokens(notation).size()});
    }
    while (entries.size() < count) {
        const int stage = generator.Stage();
        const std::string classification = kClasses[generator.Next(std::size(kClasses))];
        const std::string title =
            generator.Name() + (classification.empty() ? "" : " " + classification) + " " + kStageNames[stage];
        if (!titles.insert(Folded(title)).second)
            continue;
        const std::string notation = generator.Notation(stage);
        GeneratedMethod method{title, stage, generator.Written(notation), notation, ""};
        std::size_t length = 0;
        if (stage <= 16) {
            method.leadHead = LeadHeadOf(notation, stage);
            length = reference::LeadTokens(notation).size();
        }
        entries.push_back({method, classification, length});
    }

    // One method set per stage and classification, as the collections group them.
    std::map<std::pair<int, std::string>, std::vector<std::size_t>> sets;
    for (std::size_t k = 0; k < entries.size(); ++k)
        sets[{entries[k].method.stage, entries[k].classification}].push_back(k);
    GeneratedLibrary library;
    std::string& xml = library.xml;
    xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<collection xmlns=\"http://example.org/ringing/methods/2007\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" version=\"1.0\">\n"
        "  <collectionName>Generated methods</collectionName>\n"
        "  <notes>Made up for the tests; not a real collection.</notes>\n";
    std::size_t id = 0;
    for (const auto& [key, members] : sets) {
        xml += "  <methodSet>\n    <properties>\n      <stage>" + std::to_string(key.first) + "</stage>\n";
        if (!key.second.empty())
            xml += "      <classification>" + key.second + "</classification>\n";
        xml += "      <numberOfHunts>1</numberOfHunts>\n    </properties>\n";
        for (const std::size_t k : members) {
            WriteMethod(xml, entries[k], ++id, generator);
            if (entries[k].method.stage <= 16)
                library.methods.push_back(entries[k].method);
            else
                ++library.aboveSixteen;
        }
        xml += "  </methodSet>\n";
    }
    xml += "</collection>\n";
    return library;
}
