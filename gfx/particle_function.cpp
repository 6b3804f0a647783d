#include "gfx/particle_function.h"

void RunParticleInstructions(const TParticleInstructionList& list, TParticleView& view,
                             TParticleStack& stack,
                             const std::vector<TParticleFunction*>& functionMembers) {
  stack.Clear();
  TParticleCallFrame frame;
  frame.functionMembers = &functionMembers;
  frame.stack = &stack;
  for (const TParticleInstruction& instruction : list) {
    const int depth = stack.Depth();
    // Compiled lists always have their arguments on the stack; a list that does not is
    // skipped rather than read below the stack.
    if (depth < instruction.argCount) return;
    frame.first = depth - instruction.argCount;
    frame.count = instruction.argCount;
    if (!instruction.function->Evaluate(view, frame)) return;
    stack.SetDepth(frame.first);
  }
}
