#include "pages/MappingRules.h"

#include "pages/FixedValueLists.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace MappingRules {

namespace {

constexpr size_t kLongestName = 255;
constexpr std::u16string_view kRefusedInNames = u"<>/\\\":;?,*|='`";
constexpr int kLastMicroStationColor = 255;
constexpr int kLastMicroStationWeight = 31;

// The blanks AutoCAD trims from a name: the C locale's white space, the
// no-break space and the ideographic space.
bool IsBlank(char16_t ch) { return IsCWhiteSpace(ch) || ch == u'\u00A0' || ch == u'\u3000'; }

// Every refused character is ASCII: one look-up in a table made by the
// compiler (an import asks for every character of every name).
constexpr auto kRefusedAscii = [] {
    std::array<bool, 128> refused{};
    for (char16_t ch : kRefusedInNames)
        refused[ch] = true;
    return refused;
}();

bool IsRefusedInNames(char16_t ch) { return (ch < 128) & kRefusedAscii[ch & 127]; }

// Membership of a page's fixed list, made once: its numbers (written
// without leading zeros) as bits, its few named entries as texts. An import
// asks it for every pair it reads.
class ValueSet {
public:
    explicit ValueSet(const std::vector<CString>& list) {
        for (const CString& value : list) {
            const int number = ListedNumber(value.View());
            if (number >= 0)
                m_numbers.set(size_t(number));
            else
                m_names.push_back(value.Str());
        }
    }
    bool Holds(std::u16string_view text) const {
        const int number = ListedNumber(text);
        if (number >= 0)
            return m_numbers.test(size_t(number));
        return std::find(m_names.begin(), m_names.end(), text) != m_names.end();
    }

private:
    static constexpr int kNumbers = 1000;
    // A number below kNumbers as the lists write it ("7", not "07"); -1
    // for any other text.
    static int ListedNumber(std::u16string_view text) {
        const int number = DecimalNumber(text);
        return number >= 0 && number < kNumbers && (text.size() == 1 || text[0] != u'0') ? number : -1;
    }
    std::bitset<kNumbers> m_numbers;
    std::vector<std::u16string> m_names;
};

bool InAutoCadColors(std::u16string_view text) {
    static const ValueSet values(FixedValueLists::AutoCadColors());
    return values.Holds(text);
}
bool InAutoCadWeights(std::u16string_view text) {
    static const ValueSet values(FixedValueLists::AutoCadWeights());
    return values.Holds(text);
}
bool InMicroStationColors(std::u16string_view text) {
    static const ValueSet values(FixedValueLists::MicroStationColors());
    return values.Holds(text) || (DecimalNumber(text) >= 0 && DecimalNumber(text) <= kLastMicroStationColor);
}
bool InMicroStationWeights(std::u16string_view text) {
    static const ValueSet values(FixedValueLists::MicroStationWeights());
    return values.Holds(text) || (DecimalNumber(text) >= 0 && DecimalNumber(text) <= kLastMicroStationWeight);
}

// Calls broken(rule) for each rule the text breaks, in the order of Rule,
// until it returns false.
template <typename Broken>
void ForEachBroken(MappingKind kind, Side side, std::u16string_view text, Broken broken) {
    if (HasNames(kind) && side == kAutoCad) {
        if (text.size() > kLongestName && !broken(Rule::NameLength))
            return;
        bool bRefused = false;  // without a branch a character: most names hold none
        for (char16_t ch : text)
            bRefused |= IsRefusedInNames(ch);
        if (bRefused && !broken(Rule::NameCharacter))
            return;
        if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back())) && !broken(Rule::NameBlank))
            return;
        if (text.empty())
            broken(Rule::NameEmpty);
    } else if (kind == KindColors) {
        if (side == kAutoCad ? !InAutoCadColors(text) : !InMicroStationColors(text))
            broken(side == kAutoCad ? Rule::AutoCadColor : Rule::MicroStationColor);
    } else if (kind == KindWeights) {
        if (side == kAutoCad ? !InAutoCadWeights(text) : !InMicroStationWeights(text))
            broken(side == kAutoCad ? Rule::AutoCadWeight : Rule::MicroStationWeight);
    }
}

// A text in double quotes for a reason; a very long one is cut short.
CString Quoted(std::u16string_view text) {
    constexpr size_t kLongestQuote = 64;
    if (text == u"\"")
        return u"'\"'";
    if (text.size() > kLongestQuote)
        return u"\"" + CString(text.substr(0, kLongestQuote)) + u"...\"";
    return u"\"" + CString(text) + u"\"";
}

// "layer", "linetype" or "block".
CString NameNoun(MappingKind kind) {
    switch (kind) {
    case KindLevels: return u"layer";
    case KindLineStyles: return u"linetype";
    case KindCells: return u"block";
    default: return u"name";
    }
}

// "\"/\" is", "\"/\" and \":\" are", "\"/\", \":\" and \"?\" are": the
// refused characters of a name, each once, in the order they come.
CString RefusedCharacters(std::u16string_view text) {
    std::u16string seen;
    for (char16_t ch : text)
        if (IsRefusedInNames(ch) && seen.find(ch) == std::u16string::npos)
            seen += ch;
    CString list;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (i > 0)
            list += i + 1 == seen.size() ? u" and " : u", ";
        list += Quoted(std::u16string_view(&seen[i], 1));
    }
    return list + (seen.size() == 1 ? u" is" : u" are");
}

CString Reason(Rule rule, MappingKind kind, std::u16string_view text) {
    const CString name = u"an AutoCAD " + NameNoun(kind) + u" name";
    CString reason;
    switch (rule) {
    case Rule::NameLength:
        reason.Format(u"%s has at most %d characters; this one has %d", name, int(kLongestName), int(text.size()));
        return reason;
    case Rule::NameCharacter: return RefusedCharacters(text) + u" not allowed in " + name;
    case Rule::NameBlank: {
        const bool bFirst = IsBlank(text.front()), bLast = IsBlank(text.back());
        return name + u" cannot " + (bFirst && bLast ? u"begin or end" : bFirst ? u"begin" : u"end") +
               u" with a blank";
    }
    case Rule::NameEmpty: return name + u" cannot be empty";
    case Rule::NameCase: break;  // told by CaseVariant, which knows the other spelling
    case Rule::AutoCadColor: return Quoted(text) + u" is not an AutoCAD color (ByLayer, ByBlock or 0 to 255)";
    case Rule::AutoCadWeight: return Quoted(text) + u" is not one of AutoCAD's line weights (the Line Weights list)";
    case Rule::MicroStationColor:
        return Quoted(text) + u" is not a MicroStation color (ByLevel, ByCell, BG or 0 to 255)";
    case Rule::MicroStationWeight:
        return Quoted(text) + u" is not a MicroStation line weight (ByLevel, ByCell or 0 to 31)";
    }
    return CString();
}

}  // namespace

int DecimalNumber(std::u16string_view text) {
    if (text.empty() || text.size() > 9)
        return -1;
    int value = 0;
    for (char16_t ch : text) {
        if (ch < u'0' || ch > u'9')
            return -1;
        value = value * 10 + (ch - u'0');
    }
    return value;
}

bool HasNames(MappingKind kind) { return kind == KindLevels || kind == KindLineStyles || kind == KindCells; }

bool HasRules(MappingKind kind, Side side) {
    return HasNames(kind) ? side == kAutoCad : kind == KindColors || kind == KindWeights;
}

bool Takes(MappingKind kind, Side side, std::u16string_view text) {
    bool bTakes = true;
    ForEachBroken(kind, side, text, [&bTakes](Rule) { return bTakes = false; });
    return bTakes;
}

std::vector<Finding> Check(MappingKind kind, Side side, std::u16string_view text) {
    std::vector<Finding> findings;
    ForEachBroken(kind, side, text, [&](Rule rule) {
        findings.push_back({rule, side, Reason(rule, kind, text)});
        return true;
    });
    return findings;
}

std::vector<Finding> CheckPair(MappingKind kind, std::u16string_view key, std::u16string_view value) {
    std::vector<Finding> findings = Check(kind, kMicroStation, key);
    for (Finding& finding : Check(kind, kAutoCad, value))
        findings.push_back(std::move(finding));
    return findings;
}

bool AreCaseVariants(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size() || a == b)
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

Finding CaseVariant(MappingKind kind, std::u16string_view name, std::u16string_view other) {
    return {Rule::NameCase, kAutoCad,
            Quoted(name) + u" and " + Quoted(other) + u" differ only in letter case: AutoCAD takes them as one " +
                NameNoun(kind)};
}

CString RuleName(Rule rule) {
    switch (rule) {
    case Rule::NameLength: return u"name-length";
    case Rule::NameCharacter: return u"name-character";
    case Rule::NameBlank: return u"name-blank";
    case Rule::NameEmpty: return u"name-empty";
    case Rule::NameCase: return u"name-case";
    case Rule::AutoCadColor: return u"autocad-color";
    case Rule::AutoCadWeight: return u"autocad-weight";
    case Rule::MicroStationColor: return u"microstation-color";
    case Rule::MicroStationWeight: return u"microstation-weight";
    }
    return CString();
}

std::vector<RuleText> ListRules() {
    return {
        {Rule::NameLength, u"AutoCAD names (Levels, Line Styles, Cells values) have at most 255 characters "
                           u"(UTF-16 units)"},
        {Rule::NameCharacter, u"AutoCAD names hold none of < > / \\ \" : ; ? , * | = ' `"},
        {Rule::NameBlank, u"AutoCAD names neither begin nor end with a blank"},
        {Rule::NameEmpty, u"AutoCAD names are not empty"},
        {Rule::NameCase, u"AutoCAD names that differ only in letter case are one name (allowed, shown)"},
        {Rule::AutoCadColor, u"AutoCAD colors are ByLayer, ByBlock or 0 to 255 (the Colors list)"},
        {Rule::AutoCadWeight, u"AutoCAD line weights are ByLayer, ByBlock, Default or one of the Line Weights "
                              u"list's (0 to 211 hundredths of a millimetre)"},
        {Rule::MicroStationColor, u"MicroStation colors are ByLevel, ByCell, BG or 0 to 255"},
        {Rule::MicroStationWeight, u"MicroStation line weights are ByLevel, ByCell or 0 to 31"},
    };
}

}  // namespace MappingRules
