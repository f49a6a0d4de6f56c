// Every operation of every suite table passes through Slot<>::Run: the one
// place that counts the plug-in's calls, where the scenario's faults fire
// and the `call` lines are recorded, before the operation does its work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace sim {

template <std::size_t N>
struct SlotName {
  char text[N] = {};
  constexpr SlotName(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};

// Counts one call of a suite operation; the error to answer instead of the
// operation's work when a fault fires. Never throws.
std::optional<std::int32_t> CountSuiteCall(const char* suite, const char* call) noexcept;

// How a faulted operation answers: with the error, or, for an operation that
// returns a value and not a result code (a size, a window, a new handle),
// with nothing (zero or null).
enum class FaultAnswer { Error, Nothing };

template <SlotName Suite, SlotName Call, auto F, FaultAnswer Answer = FaultAnswer::Error>
struct Slot;

template <SlotName Suite, SlotName Call, class R, class... A, R (*F)(A...), FaultAnswer Answer>
struct Slot<Suite, Call, F, Answer> {
  static R Run(A... args) {
    if (const std::optional<std::int32_t> error = CountSuiteCall(Suite.text, Call.text)) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else if constexpr (Answer == FaultAnswer::Error && std::is_integral_v<R>) {
        return static_cast<R>(*error);
      } else {
        return R{};
      }
    }
    return F(args...);
  }
};

}  // namespace sim

// A table entry: the operation of that slot name, counted.
#define QB_SLOT(suite, fn) (&::sim::Slot<suite, #fn, fn>::Run)
#define QB_VALUE_SLOT(suite, fn) (&::sim::Slot<suite, #fn, fn, ::sim::FaultAnswer::Nothing>::Run)
