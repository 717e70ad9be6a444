#include "media/SdlJoystick.h"

#include <SDL.h>
#include <cstdlib>

#include "media/SdlRuntime.h"

namespace {
constexpr int AxisRange = 1000;
constexpr int DeadZone = AxisRange / 2;
}

int ScaleJoystickAxis(int raw) {
    const int scaled = raw >= 0 ? raw * AxisRange / SDL_JOYSTICK_AXIS_MAX
                                : raw * AxisRange / -SDL_JOYSTICK_AXIS_MIN;
    if (std::abs(scaled) <= DeadZone) return 0;
    return scaled < -AxisRange ? -AxisRange : scaled > AxisRange ? AxisRange : scaled;
}

veltrix::DirectionStates JoystickDirections(int x, int y) {
    veltrix::DirectionStates states;
    states.Left = x < 0;
    states.Right = x > 0;
    states.Up = y < 0;
    states.Down = y > 0;
    return states;
}

SdlJoystick::SdlJoystick() {
    PrepareSdl();
    available_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    // Nobody drains SDL's event queue; the axes are read directly after an update.
    if (available_) SDL_JoystickEventState(SDL_IGNORE);
}

SdlJoystick::~SdlJoystick() {
    if (!available_) return;
    if (joystick_) SDL_JoystickClose(joystick_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

veltrix::DirectionStates SdlJoystick::Read() {
    if (!available_) return {};
    // Also looks for devices plugged in or pulled out since the last read.
    SDL_JoystickUpdate();
    if (joystick_ && !SDL_JoystickGetAttached(joystick_)) {
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }
    if (!joystick_ && SDL_NumJoysticks() > 0) joystick_ = SDL_JoystickOpen(0);
    if (!joystick_) return {};
    if (SDL_JoystickNumAxes(joystick_) < 2) return {};
    return JoystickDirections(ScaleJoystickAxis(SDL_JoystickGetAxis(joystick_, 0)),
                             ScaleJoystickAxis(SDL_JoystickGetAxis(joystick_, 1)));
}
