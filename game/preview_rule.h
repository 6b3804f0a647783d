// Whether a hovered tile is shown in the game window's preview: only when enough of it can
// be seen. A tile on the top layer always is; a tile whose lower or left neighbour is gone
// shows its side; a tile covered straight from above, or from both sides above, is hidden;
// a tile on the grid's border shows past its cover; and a tile under four diagonal
// neighbours is hidden.
#pragma once

#include "game/board.h"

bool IsPreviewable(const TBoard& board, const TBoardTile& tile);
