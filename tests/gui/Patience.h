#pragma once

// How long a window test waits for a state before it gives up: a bound against hanging, never a
// measure of speed, so long enough for a machine many times slower than ours or busy with other
// work. A test never waits for a time, only for the state it needs.
namespace mardo::test {
constexpr int kPatienceMs = 300000;
}  // namespace mardo::test
