#pragma once
/// Switches of the engine read from the environment. They exist for measurements
/// (bench/compose); the program sets none, and without them the engine composes as
/// docs/engine.md describes.

namespace zori {

struct EngineSwitches {
    /// RELAYDESK_ENGINE_SPREADS_IN_FLIGHT (1-8): how many spreads are composed at once.
    /// Default: one per processor, at most kDefaultMostSpreadsInFlight.
    int spreadsInFlight = 1;
    /// RELAYDESK_ENGINE_COLOUR_MANAGEMENT=0: the pictures' profiles are ignored, every
    /// picture is taken as untagged.
    bool colourManagement = true;
};

/// Each spread in flight holds its pictures' visible parts: this bounds the memory.
inline constexpr int kDefaultMostSpreadsInFlight = 4;

EngineSwitches ReadEngineSwitches();

} // namespace zori
