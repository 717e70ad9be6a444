#pragma once
// The first SDL joystick, read as four direction states. Runs without an
// SDL window; a joystick plugged in while the game runs is picked up.

#include "game/Interfaces.h"

struct _SDL_Joystick;

// Axis position scaled to -1000..1000, with the dead zone (half the travel
// from centre to end, inclusive) reading 0.
int ScaleJoystickAxis(int raw);
veltrix::DirectionStates JoystickDirections(int x, int y);

class SdlJoystick {
public:
    SdlJoystick();
    ~SdlJoystick();
    SdlJoystick(const SdlJoystick&) = delete;
    SdlJoystick& operator=(const SdlJoystick&) = delete;

    // False when SDL's joystick support could not start; Read then reports
    // nothing held, quietly.
    bool Available() const { return available_; }
    // Updates the device list and axes and reads the first joystick present.
    veltrix::DirectionStates Read();

private:
    bool available_ = false;
    _SDL_Joystick* joystick_ = nullptr;
};
