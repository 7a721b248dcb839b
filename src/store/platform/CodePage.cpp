// The process-wide choice of code page; the conversions are the platform's.
#include "store/platform/CodePage.h"

namespace CodePage {

namespace {
unsigned g_selected = 0;  // 0: the system's
}

unsigned Active() {
    return g_selected ? g_selected : SystemDefault();
}

bool Select(unsigned codePage) {
    Info info;
    if (codePage != 0 && !Describe(codePage, info))
        return false;
    g_selected = codePage;
    return true;
}

}  // namespace CodePage
