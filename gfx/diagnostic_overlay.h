// The diagnostic overlay (toggled with Alt+F1): the engine version and the frame rate in red
// on a black strip at the top left of every frame, drawn at the end of the frame while the
// renderer's overlay switch is on.
#pragma once

#include <string>

class TRenderer;

// The overlay's text for a frame rate.
std::string DiagnosticOverlayText(float frameRate);
// Draws the overlay inside its own 2D batch; does nothing while the renderer is already in
// a 2D or 3D batch.
void DrawDiagnosticOverlay(TRenderer& renderer, float frameRate);
// Has the renderer draw the overlay at the end of each frame while its switch is on.
void AttachDiagnosticOverlay(TRenderer& renderer);
