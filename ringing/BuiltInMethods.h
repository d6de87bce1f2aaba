#pragma once

#include <span>
#include <string_view>

// Where a method's calls fall.
enum class CallPosition {
    LeadEnd,  // at the end of every lead
    SixEnd,   // at Stedman's six ends: the 3rd change of the lead as written, then every 6th
};

// One method of the built-in list, as the method collections write it.
// `bob` and `single` are place notation on the method's stage; empty when
// the method has no conventional call of that kind.
struct BuiltInMethod {
    std::string_view title;
    int stage;
    std::string_view notation;
    std::string_view bob;
    std::string_view single;
    CallPosition calls;
};

// Every built-in method, in the order they are listed. Constant data; safe
// from any thread.
std::span<const BuiltInMethod> BuiltInMethods();

// The built-in method whose title matches `title` ignoring ASCII case, or
// nullptr.
const BuiltInMethod* FindBuiltInMethod(std::string_view title);
