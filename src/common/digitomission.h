#pragma once
// DigitOmissionTable: for each digit, how many draws ago it last came at any position and at
// each position, counted over a whole draw history. The number preview, the omission picker
// and the workbench's omission filter all count it this way, so the values one offers are the
// values another compares.
#include "common/drawhistory.h"

#include <QString>

#include <array>

namespace common {

struct DigitOmissionTable {
    std::array<int, 10> any{};       // draws since the digit came at any position
    std::array<int, 10> hundreds{};  // ... at 百位
    std::array<int, 10> tens{};      // ... at 十位
    std::array<int, 10> units{};     // ... at 个位

    // Oldest draw first: every counter grows by one, then the counters of the draw's digits
    // drop to 0. A digit that never came holds the number of draws.
    static DigitOmissionTable Count(const DrawHistory& history);

    // 单选 omission of a number: 百位 counter of a + 十位 of b + 个位 of c.
    int straightSum(const QString& number) const;
    int straightSum(int a, int b, int c) const;
    // 组选 omission of a number: the any-position counters of its three digits.
    int groupSum(const QString& number) const;
    int groupSum(int a, int b, int c) const;
    // A digit outside 0..9 (a damaged entry) adds nothing to a sum.
};

}  // namespace common
