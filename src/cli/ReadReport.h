// Turns what the mapping-file reader tells its observer into FILE:LINE:
// messages: the lines it skips, the keys whose earlier value a repeated key
// replaces, and, when asked to (check), the keys that differ only in letter
// case and every rule of what AutoCAD and MicroStation take that a pair
// breaks, named after the rule ("... [name-character]").
#pragma once

#include "framework/CString.h"
#include "pages/MappingRules.h"
#include "store/file/MappingFile.h"

#include <array>
#include <functional>
#include <unordered_map>

class ReadReport : public MappingReadObserver {
public:
    enum class Scope {
        Losses,    // what a save would not keep
        Everything // also case variants and the rules of what AutoCAD and MicroStation take
    };
    // Gets each report as "FILE:LINE: message", with its line.
    using Emit = std::function<void(int line, const CString& report)>;

    ReadReport(const CString& path, Scope scope, Emit emit);

    void LineSkipped(int line, Skip reason) override;
    void PairRead(int line, MappingKind kind, const CString& key, const CString& value, bool repeated) override;

private:
    void Report(int line, const CString& message);
    void Report(int line, const MappingRules::Finding& finding, const CString& more = CString());
    void CheckCase(int line, MappingKind kind, const CString& key);
    void CheckPair(int line, MappingKind kind, const CString& key, const CString& value);

    CString m_path;
    Scope m_scope;
    Emit m_emit;
    struct FirstKey {
        CString key;
        int line;
    };
    // Per table: each key folded to lower case, with its first spelling; and
    // the same for the AutoCAD names.
    std::array<std::unordered_map<CString, FirstKey>, MappingKindCount> m_folded;
    std::array<std::unordered_map<CString, FirstKey>, MappingKindCount> m_foldedValues;
};
