// What AutoCAD and MicroStation take in a mapping, as one set of rules. The
// dialog marks the cells that break one, varnel check reports them, and an
// import can count them: all through the functions below. Portable.
//
// AutoCAD names (the Levels page's layers, the Line Styles page's linetypes,
// the Cells page's blocks): at most 255 UTF-16 units, none of
// < > / \ " : ; ? , * | = ' and the backquote, no blank at either end, not
// empty; names that differ only in letter case are one name to AutoCAD
// (allowed, but shown). Colors and line weights: the values of the pages'
// fixed lists on the AutoCAD side; MicroStation colors 0 to 255 and weights
// 0 to 31 beside the lists' named entries.
#pragma once

#include "framework/CString.h"
#include "store/file/MappingFile.h"

#include <string_view>
#include <vector>

namespace MappingRules {

// The two sides of a pair, as the list's columns show them.
enum Side { kMicroStation = 0, kAutoCad = 1 };

enum class Rule {
    NameLength,
    NameCharacter,
    NameBlank,
    NameEmpty,
    NameCase,
    AutoCadColor,
    AutoCadWeight,
    MicroStationColor,
    MicroStationWeight,
};

// A broken rule: the side whose text breaks it and a short reason naming the
// character or the limit, such as "\"/\" is not allowed in an AutoCAD layer
// name".
struct Finding {
    Rule rule;
    Side side;
    CString reason;
};

// Whether one side's text of a pair of kind breaks no rule; case variants
// aside, which need the whole table. Allocates nothing: the list asks it for
// every cell it draws.
bool Takes(MappingKind kind, Side side, std::u16string_view text);

// The rules one side's text breaks, in the order of Rule.
std::vector<Finding> Check(MappingKind kind, Side side, std::u16string_view text);

// Both sides of a pair, the MicroStation side first; empty when AutoCAD and
// MicroStation take it. Case variants aside.
std::vector<Finding> CheckPair(MappingKind kind, std::u16string_view key, std::u16string_view value);

// The number that decimal digits alone spell (at most 9 of them, leading
// zeros allowed), or -1 for any other text: how a MicroStation color or
// weight reads.
int DecimalNumber(std::u16string_view text);

// Whether the AutoCAD values of kind are names that AutoCAD compares
// ignoring letter case (layers, linetypes, blocks).
bool HasNames(MappingKind kind);
// Two names that AutoCAD takes as one: equal ignoring ASCII letter case, as
// the list compares keys, yet spelt differently.
bool AreCaseVariants(std::u16string_view a, std::u16string_view b);
// The finding for an AutoCAD name of kind that another pair spells as
// other, differing only in letter case.
Finding CaseVariant(MappingKind kind, std::u16string_view name, std::u16string_view other);

// A rule's short name, as varnel check prints it ("name-character").
CString RuleName(Rule rule);
// Every rule with what it asks, in the order of Rule, for varnel check --rules.
struct RuleText {
    Rule rule;
    CString text;
};
std::vector<RuleText> ListRules();

}  // namespace MappingRules
