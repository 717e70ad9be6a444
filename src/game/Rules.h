#pragma once
// The game's rules: new game, one tick, game over. Free functions over the
// plain state, talking to the machine only through GamePorts.

#include "game/GameState.h"
#include "game/Interfaces.h"

namespace veltrix {

constexpr std::int32_t PointsPerFood = 10;
constexpr std::int32_t LevelThreshold = 300;
constexpr std::uint32_t StartInterval = 100;
constexpr std::uint32_t IntervalStep = 10;
constexpr TSegment StartFood{250, 350};

const char* SoundEffectPath(SoundEffect effect);

// Plays the effect only while sound effects are switched on.
void PlayEffect(const GameState& state, SoundInterface& sound, SoundEffect effect);

// Puts the five-segment serpent at its start place, heading up.
void PlaceAtStart(TSerpent& serpent);

void NewGame(GameState& state, const GamePorts& ports);

// One tick: input, frame, movement, collisions, eating, presentation.
void Tick(GameState& state, const GamePorts& ports);

void GameOver(GameState& state, const GamePorts& ports);

} // namespace veltrix
