#pragma once

#include <span>
#include <string_view>

// Where a method's calls fall.
enum class CallPosition {
    LeadEnd,  // at the end of every lead
    SixEnd,   // at Stedman's six ends: the 3rd change of the lead as written, then every 6th
};

// One method of a list, as the method collections write it: the built-in
// list (constant data) or a method catalogue (whose views stay valid as long
// as the catalogue). `bob` and `single` are place notation on the method's
// stage; empty when the method has no conventional call of that kind.
struct MethodEntry {
    std::string_view title;
    int stage;
    std::string_view notation;
    std::string_view bob;
    std::string_view single;
    CallPosition calls;
};

// Every built-in method, in the order they are listed. Constant data; safe
// from any thread.
std::span<const MethodEntry> BuiltInMethods();

// The built-in method whose title matches `title` ignoring ASCII case, or
// nullptr.
const MethodEntry* FindBuiltInMethod(std::string_view title);
