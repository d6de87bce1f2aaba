#pragma once

#include "ringing/MethodCatalogue.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"

#include <optional>
#include <string>

// A touch as a person gives it, in text: the command line's method options
// (--method, --place-notation, --stage, --calls, --calling, --parts,
// --observation, --bob, --single) or the application's Method dialog. Each
// field is unset when not given. A plain value.
struct TouchOptions {
    std::optional<std::string> method;  // a title, looked up in a catalogue
    std::optional<std::string> placeNotation;
    std::optional<std::string> stage;
    std::optional<std::string> calls;    // p, b, s per call position
    std::optional<std::string> calling;  // by calling positions
    std::optional<std::string> parts;
    std::optional<std::string> observation;
    std::optional<std::string> bob;
    std::optional<std::string> single;
};

// What a front end calls each field of TouchOptions, for its messages: the
// command line's option names by default; a window gives its labels. A
// field the front end does not offer may be left empty.
struct TouchOptionNames {
    std::string method = "--method";
    std::string placeNotation = "--place-notation";
    std::string stage = "--stage";
    std::string calls = "--calls";
    std::string calling = "--calling";
    std::string parts = "--parts";
    std::string observation = "--observation";
    std::string bob = "--bob";
    std::string single = "--single";
};

// Reads `options` into `request`, a title through `catalogue` (the request
// then points into it, so the catalogue must outlive it). Returns why not,
// naming the fields by `names`; nothing is proved here.
std::optional<std::string> ReadTouchOptions(const TouchOptions& options, const MethodCatalogue& catalogue,
                                            TouchRequest& request, const TouchOptionNames& names = {});

// A touch read, built and proved from its options, or why it cannot be rung.
struct ProvedTouch {
    TouchRequest request;
    Touch touch;
    TouchProof proof;
    // Empty when the touch comes round within kMaxTouchChanges; else the
    // first fault met: of the options (`usageFault` set), of the method or
    // its calls, or the proof's refusal.
    std::string fault;
    bool usageFault = false;
    std::string warning;  // a calling whose calls are not all made; the touch still rings
};

// ReadTouchOptions, BuildTouch and ProveTouch in turn. Safe from any thread
// for a catalogue no one changes meanwhile; proving allocates up to 16 bytes
// per change.
ProvedTouch ProveTouchOptions(const TouchOptions& options, const MethodCatalogue& catalogue,
                              const TouchOptionNames& names = {});
