#pragma once

// SDL subsystems are brought up on demand; this sets the hints that must
// be in place before any of them starts (SDL must not take over SIGINT and
// SIGTERM, or the program could not be stopped).
void PrepareSdl();
