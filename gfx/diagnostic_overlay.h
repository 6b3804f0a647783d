// The diagnostic overlay (toggled with Alt+F1): the engine version and the frame rate in red
// on a black strip at the top left of every frame, drawn by the renderer at the end of the
// frame while the overlay is on.
#pragma once

#include <string>

class TRenderer;

// The overlay's text for a frame rate.
std::string DiagnosticOverlayText(float frameRate);
// Draws the overlay inside its own 2D batch; does nothing while the renderer is already in
// a 2D or 3D batch.
void DrawDiagnosticOverlay(TRenderer& renderer, float frameRate);
