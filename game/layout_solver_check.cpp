#include "game/layout_solver_check.h"

#include "game/board_solver.h"
#include "game/deal.h"

TLayoutSolverCheck::~TLayoutSolverCheck() {
  Stop();
}

void TLayoutSolverCheck::Stop() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
  std::lock_guard<std::mutex> lock(mMutex);
  mProgress.running = false;
}

unsigned TLayoutSolverCheck::Start(const TLevelLayout& layout, int deals, const TBoardSetup& setup,
                                   uint32_t seed) {
  Stop();
  mStop = false;
  unsigned generation;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    generation = mProgress.generation + 1;
    mProgress = TProgress{generation, deals, 0, 0, deals > 0};
  }
  if (deals > 0) mThread = std::thread(&TLayoutSolverCheck::Run, this, layout, deals, setup, seed);
  return generation;
}

TLayoutSolverCheck::TProgress TLayoutSolverCheck::Progress() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mProgress;
}

void TLayoutSolverCheck::Run(TLevelLayout layout, int deals, TBoardSetup setup, uint32_t seed) {
  setup.campaignMode = false;
  TDealRequest request;
  request.bag.gameMode = 0;
  TBoardSolver::TOptions options;
  options.goal = TBoardSolver::TGoal::kClearBoard;
  options.greedy = true;
  for (int d = 0; d < deals && !mStop; ++d) {
    TBoard board(setup);
    const uint32_t dealSeed = seed + static_cast<uint32_t>(d) * 7919u;
    const bool cleared =
        Deal(board, layout, request, dealSeed) > 0 && TBoardSolver(board).Solve(options).solved;
    std::lock_guard<std::mutex> lock(mMutex);
    ++mProgress.dealsDone;
    mProgress.dealsCleared += cleared;
  }
  std::lock_guard<std::mutex> lock(mMutex);
  mProgress.running = false;
}
