#include "media/SdlRuntime.h"

#include <SDL.h>

void PrepareSdl() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}
