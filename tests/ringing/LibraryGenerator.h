#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A method library file as the collections write it, made up for tests and
// benchmarks: real-looking titles and notation, method sets with properties,
// a namespace, a byte-order mark, references and first performances, and
// methods on 3 to 22 bells. Lead heads and lengths come from the reference
// ringer, not from the engine.
struct GeneratedMethod {
    std::string title;
    int stage = 0;
    std::string written;   // the notation as the file writes it (crosses as - or x, letters in either case)
    std::string notation;  // the same in upper case, for the reference ringer
    std::string leadHead;  // the row after one lead, from the reference ringer
};

struct GeneratedLibrary {
    std::string xml;
    std::vector<GeneratedMethod> methods;  // those on 3 to 16 bells, in file order
    std::size_t aboveSixteen = 0;          // methods on 17 to 22 bells, also in the file
};

// `count` methods in all (including those above sixteen bells), the same
// for the same count and seed. Titles are unique in any case, and none is a
// built-in title but Cambridge Surprise Major, Bristol Surprise Major and
// Grandsire Triples, which are written with the built-in notation.
GeneratedLibrary GenerateLibrary(std::size_t count, unsigned seed);
