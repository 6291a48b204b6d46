#include "common/digitclasses.h"

namespace common {

int Class1234(int d) {
    switch (d) {
    case 1: case 3: return 1;
    case 0: case 2: case 4: return 2;
    case 5: case 7: case 9: return 3;
    default: return 4;  // 6, 8
    }
}

const char16_t* FiveElement(int d) {
    switch (d % 5) {
    case 1: return u"水";
    case 2: return u"火";
    case 3: return u"木";
    case 4: return u"金";
    default: return u"土";
    }
}

}  // namespace common
