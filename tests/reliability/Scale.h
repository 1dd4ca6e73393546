#pragma once
// Large inputs are scaled down under the sanitizers, which run code many
// times slower and keep freed memory in quarantine.
#if defined(__SANITIZE_ADDRESS__)
#define KV_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_TEST_SANITIZED 1
#endif
#endif

namespace kvtest {
#ifdef KV_TEST_SANITIZED
constexpr int kScaleDown = 10;
#else
constexpr int kScaleDown = 1;
#endif
} // namespace kvtest
