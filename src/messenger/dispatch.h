#pragma once
// The messenger service's dispatch server: the factory setting and the hint texts of every language.

// A macro so that the text sets can join it to their string literals at compile time.
#define CORVAN_DISPATCH_HOST "messenger.hotmail.com"

namespace messenger {

inline constexpr char kDispatchHost[] = CORVAN_DISPATCH_HOST;
inline constexpr char kClientPort[] = "1863";

}  // namespace messenger
