#pragma once
// Classes of a single digit 0..9.

namespace common {

inline bool IsBig(int d) { return d >= 5; }               // big 5-9 / small 0-4
inline int BigMiddleSmall(int d) { return d >= 7 ? 2 : (d >= 3 ? 1 : 0); }  // 2 big 7-9, 1 middle 3-6, 0 small 0-2
inline bool IsPrime(int d) { return d == 1 || d == 2 || d == 3 || d == 5 || d == 7; }
inline bool IsComposite(int d) { return !IsPrime(d); }   // 0, 4, 6, 8, 9
inline bool IsOdd(int d) { return d % 2 != 0; }
inline int Route(int d) { return d % 3; }
// The 1234 classes: 1 = {1,3}, 2 = {0,2,4}, 3 = {5,7,9}, 4 = {6,8}.
int Class1234(int d);
// 五行: 1,6 水; 2,7 火; 3,8 木; 4,9 金; 0,5 土.
const char16_t* FiveElement(int d);

// Pattern codes per position: odd/even 1 = odd, big/small 1 = big, prime/composite 1 = composite.
inline int OddEvenCode(int d) { return IsOdd(d) ? 1 : 0; }
inline int BigSmallCode(int d) { return IsBig(d) ? 1 : 0; }
inline int PrimeCompositeCode(int d) { return IsComposite(d) ? 1 : 0; }

}  // namespace common
