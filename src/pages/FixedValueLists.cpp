#include "pages/FixedValueLists.h"

#include <initializer_list>

namespace FixedValueLists {

namespace {

CString Number(int n) {
    CString text;
    text.Format(u"%d", n);
    return text;
}

std::vector<CString> Make(std::initializer_list<const char16_t*> head, int from, int to,
                          std::initializer_list<const char16_t*> tail = {}) {
    std::vector<CString> values;
    for (const char16_t* text : head)
        values.emplace_back(text);
    for (int n = from; n <= to; ++n)
        values.push_back(Number(n));
    for (const char16_t* text : tail)
        values.emplace_back(text);
    return values;
}

}  // namespace

const std::vector<CString>& MicroStationColors() {
    static const std::vector<CString> values = Make({u"ByLevel", u"ByCell"}, 0, 254, {u"BG"});
    return values;
}

const std::vector<CString>& AutoCadColors() {
    static const std::vector<CString> values = Make({u"ByLayer", u"ByBlock"}, 0, 255);
    return values;
}

const std::vector<CString>& MicroStationWeights() {
    static const std::vector<CString> values = Make({u"ByLevel", u"ByCell"}, 0, 31);
    return values;
}

const std::vector<CString>& AutoCadWeights() {
    static const std::vector<CString> values = [] {
        std::vector<CString> list{CString(u"ByLayer"), CString(u"ByBlock")};
        for (int weight : {0, 5, 9, 13, 15, 18, 20, 25, 30, 35, 40, 50, 53, 60, 70, 80, 90, 100, 106, 120, 140, 158,
                           200, 211})
            list.push_back(Number(weight));
        list.emplace_back(u"Default");
        return list;
    }();
    return values;
}

}  // namespace FixedValueLists
