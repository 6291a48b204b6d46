#pragma once
// SIFMORA_SANITIZED is defined in a build under a sanitizer (GCC's and clang's ways of saying
// so), where address-space limits and stack depths are not those of the program as shipped.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SIFMORA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define SIFMORA_SANITIZED 1
#endif
#endif
